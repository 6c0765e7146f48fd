#include "platform/ContentHash.h"

#include <xxhash.h>

namespace trawlix {

struct ContentHash::State {
  struct Free {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
  };
  std::unique_ptr<XXH3_state_t, Free> xxh{XXH3_createState()};
};

ContentHash::ContentHash() : state_(std::make_unique<State>()) {
  failed_ = !state_->xxh || XXH3_128bits_reset(state_->xxh.get()) != XXH_OK;
}

ContentHash::~ContentHash() = default;

void ContentHash::Add(std::string_view bytes) {
  if (!failed_ && !bytes.empty())
    failed_ = XXH3_128bits_update(state_->xxh.get(), bytes.data(), bytes.size()) != XXH_OK;
}

std::string ContentHash::Hex() const {
  if (failed_) return {};
  XXH128_canonical_t canonical;
  XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_->xxh.get()));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(sizeof(canonical.digest) * 2);
  for (const unsigned char byte : canonical.digest) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 0x0F];
  }
  return hex;
}

}  // namespace trawlix
