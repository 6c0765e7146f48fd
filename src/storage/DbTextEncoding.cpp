#include "storage/DbTextEncoding.h"

#include "base/Text.h"

namespace trawlix {

namespace {

struct Reference {
  std::string_view plain;
  std::string_view encoded;
};

// Encoding order; the ampersand must go first so later references are not re-encoded.
constexpr Reference kReferences[] = {
    {"&", "&#38"}, {"'", "&#39"}, {".", "&#46"}, {"/", "&#47"}, {"(", "&#40"},
    {")", "&#41"}, {",", "&#44"}, {":", "&#58"}, {"-", "&#45"},
};

}  // namespace

std::string EncodeDbText(std::string_view text) {
  std::string result(text);
  for (const auto& reference : kReferences) {
    ReplaceAll(result, reference.plain, reference.encoded);
  }
  return result;
}

std::string DecodeDbText(std::string_view text) {
  std::string result(text);
  // Every reference but the ampersand's, then the ampersand last.
  for (std::size_t i = 1; i < std::size(kReferences); ++i) {
    ReplaceAll(result, kReferences[i].encoded, kReferences[i].plain);
  }
  return ReplacedAll(result, kReferences[0].encoded, kReferences[0].plain);
}

std::string EncodeLookupText(std::string_view text) {
  return EncodeDbText(Trim(text));
}

}  // namespace trawlix
