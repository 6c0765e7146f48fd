#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace trawlix {

// A 128-bit hash (XXH3) of bytes that arrive in pieces, written as 32 lower-case hex digits.
// Fast enough to run on every download as it arrives; it tells equal contents apart from
// different ones, and is no defence against someone who makes two photos collide on purpose
// (all they could gain is that one of their own photos is not saved).
class ContentHash {
 public:
  ContentHash();
  ~ContentHash();
  ContentHash(const ContentHash&) = delete;
  ContentHash& operator=(const ContentHash&) = delete;

  void Add(std::string_view bytes);
  // The hash of everything added; an empty text when the library failed.
  std::string Hex() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
  bool failed_ = false;
};

}  // namespace trawlix
