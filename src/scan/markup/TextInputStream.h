#pragma once

#include <string_view>

namespace trawlix::markup {

// Page bytes read as 16-bit units. A byte is sign-extended (0x80..0xFF become 0xFF80..0xFFFF),
// so narrowing a unit back to 8 bits gives the original byte.
class TextInputStream {
 public:
  explicit TextInputStream(std::string_view text)
      : pos_(text.data()), end_(text.data() + text.size()) {}

  // The next unit, or 0 at the end. A NUL byte ends the input for good: nothing after it is read.
  char16_t GetChar() {
    if (pos_ == end_) return 0;
    const auto byte = static_cast<signed char>(*pos_);
    if (byte == 0) {
      pos_ = end_;
      return 0;
    }
    ++pos_;
    return static_cast<char16_t>(byte);
  }

 private:
  const char* pos_;
  const char* end_;
};

}  // namespace trawlix::markup
