#include "cli/TerminalTextFilter.h"

namespace trawlix::cli {

namespace {

constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kBell = 0x07;

// Bytes that follow a lead byte of that value; 0 for bytes that cannot start a character.
std::size_t ContinuationCount(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

// The second byte's range narrows after some lead bytes (no overlong forms, no surrogates).
bool SecondByteFits(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return second >= 0x80 && second <= 0xBF;
}

}  // namespace

void TerminalTextFilter::Feed(char ch, std::string& out) {
  const auto c = static_cast<unsigned char>(ch);
  switch (state_) {
    case State::Text:
      FeedText(c, out);
      return;
    case State::Escape:
      if (c == '[') {
        state_ = State::ControlSequence;
      } else if (c == ']' || c == 'P' || c == '_' || c == '^' || c == 'X') {
        state_ = State::ControlString;
      } else {
        state_ = State::Text;
        // A two-byte escape ends with a printable byte; anything else is text again.
        if (c < 0x20 || c > 0x7E) FeedText(c, out);
      }
      return;
    case State::ControlSequence:
      if (c >= 0x40 && c <= 0x7E) {
        state_ = State::Text;
      } else if (c < 0x20 || c > 0x3F) {
        state_ = State::Text;
        FeedText(c, out);
      }
      return;
    case State::ControlString:
    case State::ControlStringEscape:
      // A string that never ends would swallow the rest of the output: the line ends it.
      if (c == kBell || (state_ == State::ControlStringEscape && c == '\\')) {
        state_ = State::Text;
      } else if (c == '\n') {
        state_ = State::Text;
        out += '\n';
      } else {
        state_ = c == kEscape ? State::ControlStringEscape : State::ControlString;
      }
      return;
  }
}

void TerminalTextFilter::FeedText(unsigned char c, std::string& out) {
  if (pendingNeed_ > 0) {
    const bool fits = pendingSize_ == 1 ? SecondByteFits(static_cast<unsigned char>(pending_[0]), c)
                                        : c >= 0x80 && c <= 0xBF;
    if (fits) {
      pending_[pendingSize_++] = static_cast<char>(c);
      if (--pendingNeed_ == 0) {
        // U+0080..U+009F are the C1 controls.
        const bool c1 = pendingSize_ == 2 && static_cast<unsigned char>(pending_[0]) == 0xC2 &&
                        static_cast<unsigned char>(pending_[1]) <= 0x9F;
        if (!c1) out.append(pending_.data(), pendingSize_);
        pendingSize_ = 0;
      }
      return;
    }
    // An incomplete character is dropped; this byte starts afresh.
    pendingSize_ = 0;
    pendingNeed_ = 0;
  }
  if (c == kEscape) {
    state_ = State::Escape;
  } else if (c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F)) {
    out += static_cast<char>(c);
  } else if (const std::size_t need = ContinuationCount(c); need > 0) {
    pending_[0] = static_cast<char>(c);
    pendingSize_ = 1;
    pendingNeed_ = need;
  }
  // Everything else (other C0 controls, DEL, raw C1 and stray bytes) is dropped.
}

std::string TerminalTextFilter::Clean(std::string_view text) {
  TerminalTextFilter filter;
  std::string out;
  out.reserve(text.size());
  for (char c : text) filter.Feed(c, out);
  return out;
}

}  // namespace trawlix::cli
