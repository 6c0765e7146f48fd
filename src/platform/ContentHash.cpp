#include "platform/ContentHash.h"

#include <openssl/evp.h>

namespace trawlix {

struct ContentHash::Context {
  struct Free {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
  };
  std::unique_ptr<EVP_MD_CTX, Free> digest{EVP_MD_CTX_new()};
};

ContentHash::ContentHash() : context_(std::make_unique<Context>()) {
  failed_ =
      !context_->digest || EVP_DigestInit_ex(context_->digest.get(), EVP_sha256(), nullptr) != 1;
}

ContentHash::~ContentHash() = default;

void ContentHash::Add(std::string_view bytes) {
  if (!failed_ && !bytes.empty())
    failed_ = EVP_DigestUpdate(context_->digest.get(), bytes.data(), bytes.size()) != 1;
}

std::string ContentHash::Hex() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (failed_ || EVP_DigestFinal_ex(context_->digest.get(), digest, &size) != 1) return {};
  failed_ = true;  // finished: a second call gives nothing
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

}  // namespace trawlix
