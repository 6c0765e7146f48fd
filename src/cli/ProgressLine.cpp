#include "cli/ProgressLine.h"

#include <unistd.h>

#include "cli/CliContext.h"
#include "cli/TerminalTextFilter.h"

namespace trawlix::cli {

ProgressLine::ProgressLine(CliContext& context, std::chrono::milliseconds onTerminal,
                           std::chrono::milliseconds inLog)
    : terminal_(isatty(STDERR_FILENO) == 1),
      err_(terminal_ ? context.terminalErr() : context.err()),
      interval_(terminal_ ? onTerminal : inLog) {}

void ProgressLine::Show(const std::string& text, bool force) {
  const auto now = std::chrono::steady_clock::now();
  if (text.empty() || text == shown_) return;
  if (!force && !shown_.empty() && now - last_ < interval_) return;
  last_ = now;
  shown_ = text;
  if (!terminal_) {
    err_ << text << '\n';
    return;
  }
  // Texts name files and web addresses: only our own controls may reach the terminal.
  err_ << '\r' << TerminalTextFilter::Clean(text) << "\x1b[K" << std::flush;
  open_ = true;
}

void ProgressLine::Say(const std::string& text) {
  Finish();
  err_ << TerminalTextFilter::Clean(text) << '\n';
}

void ProgressLine::Finish() {
  if (open_) err_ << '\n';
  open_ = false;
  shown_.clear();
}

}  // namespace trawlix::cli
