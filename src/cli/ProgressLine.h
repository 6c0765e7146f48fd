#pragma once

#include <chrono>
#include <ostream>
#include <string>

namespace trawlix::cli {

class CliContext;

// The status of long work on the error stream: on a terminal one line rewritten in place,
// otherwise plain lines. A text is shown only when it differs from the one shown last.
class ProgressLine {
 public:
  // At most one text per `onTerminal` on a terminal and per `inLog` elsewhere (zero: every
  // text); the first text after Finish is shown at once.
  ProgressLine(CliContext& context, std::chrono::milliseconds onTerminal,
               std::chrono::milliseconds inLog);
  ~ProgressLine() { Finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // `force` shows the text however soon it comes.
  void Show(const std::string& text, bool force = false);
  // A line of its own above the status line.
  void Say(const std::string& text);
  // Ends the line rewritten in place, so that what follows starts a line of its own.
  void Finish();

 private:
  const bool terminal_;
  std::ostream& err_;
  const std::chrono::milliseconds interval_;
  std::string shown_;  // since the last Finish
  std::chrono::steady_clock::time_point last_{};
  bool open_ = false;  // a line rewritten in place is on the screen
};

}  // namespace trawlix::cli
