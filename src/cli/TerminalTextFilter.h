#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace trawlix::cli {

// Keeps texts from files and the database from driving the terminal: an escape sequence in
// a title could redraw the screen, retitle the window or set the clipboard. Drops C0
// controls except tab and line feed, DEL, C1 controls (raw and UTF-8 encoded), whole escape
// sequences (CSI, and OSC/DCS strings up to their end or the line's) and bytes that are
// not valid UTF-8. Fed byte by byte, so sequences split across writes are caught too.
class TerminalTextFilter {
 public:
  // Appends what remains of `c` to `out`.
  void Feed(char c, std::string& out);
  // A whole text at once.
  static std::string Clean(std::string_view text);

 private:
  enum class State { Text, Escape, ControlSequence, ControlString, ControlStringEscape };

  void FeedText(unsigned char c, std::string& out);

  State state_ = State::Text;
  std::array<char, 4> pending_{};  // a UTF-8 character still incomplete
  std::size_t pendingSize_ = 0;
  std::size_t pendingNeed_ = 0;
};

}  // namespace trawlix::cli
