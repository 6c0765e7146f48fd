#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace trawlix {

// SHA-256 of bytes that arrive in pieces, written as 64 lower-case hex digits.
class ContentHash {
 public:
  ContentHash();
  ~ContentHash();
  ContentHash(const ContentHash&) = delete;
  ContentHash& operator=(const ContentHash&) = delete;

  void Add(std::string_view bytes);
  // Ends the hash; an empty text when the library failed.
  std::string Hex();

 private:
  struct Context;
  std::unique_ptr<Context> context_;
  bool failed_ = false;
};

}  // namespace trawlix
