#include "cli/TerminalStreamBuf.h"

namespace trawlix::cli {

TerminalStreamBuf::int_type TerminalStreamBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  kept_.clear();
  filter_.Feed(traits_type::to_char_type(c), kept_);
  if (!kept_.empty()) target_.write(kept_.data(), static_cast<std::streamsize>(kept_.size()));
  return target_ ? c : traits_type::eof();
}

std::streamsize TerminalStreamBuf::xsputn(const char* text, std::streamsize count) {
  kept_.clear();
  for (std::streamsize i = 0; i < count; ++i) filter_.Feed(text[i], kept_);
  if (!kept_.empty()) target_.write(kept_.data(), static_cast<std::streamsize>(kept_.size()));
  return target_ ? count : 0;
}

int TerminalStreamBuf::sync() {
  target_.flush();
  return target_ ? 0 : -1;
}

}  // namespace trawlix::cli
