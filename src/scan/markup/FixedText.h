#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace trawlix::markup {

// A text of at most Capacity units in a fixed buffer, always NUL-terminated. Units appended to
// a full text are dropped, so outside input can never make it grow.
template <typename Char, std::size_t Capacity>
class FixedText {
 public:
  void Clear() {
    size_ = 0;
    data_[0] = 0;
  }
  void Append(Char c) {
    if (size_ == Capacity) return;
    data_[size_++] = c;
    data_[size_] = 0;
  }
  // Drops the last `count` units (all of them when there are fewer).
  void DropLast(std::size_t count) {
    size_ = count < size_ ? size_ - count : 0;
    data_[size_] = 0;
  }
  bool Full() const { return size_ == Capacity; }
  bool Empty() const { return size_ == 0; }
  std::basic_string_view<Char> View() const { return {data_.data(), size_}; }

 private:
  std::array<Char, Capacity + 1> data_{};
  std::size_t size_ = 0;
};

}  // namespace trawlix::markup
