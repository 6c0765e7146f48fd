#include "storage/DbTextEncoding.h"

#include <span>

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

namespace {

// The reference that starts at `at`, if any.
const Reference* ReferenceAt(std::string_view text, std::size_t at) {
  for (const Reference& reference : kReferences) {
    if (text.substr(at, reference.encoded.size()) == reference.encoded) return &reference;
  }
  return nullptr;
}

}  // namespace

// One left-to-right pass: what it puts out is never read again, so no text is decoded twice.
// "&#38#39" is the older form of "'" (its ampersand encoded after it) and reads as "'", as do
// the older forms of the other seven; the ampersand's own reference never nests.
std::string DecodeDbText(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const Reference* reference = text[at] == '&' ? ReferenceAt(text, at) : nullptr;
    if (reference == nullptr) {
      result += text[at++];
      continue;
    }
    at += reference->encoded.size();
    if (reference == &kReferences[0] && at < text.size() && text[at] == '#') {
      // The rest of an older reference: "#39" after "&#38".
      for (const Reference& older : std::span(kReferences).subspan(1)) {
        if (text.substr(at, older.encoded.size() - 1) == older.encoded.substr(1)) {
          reference = &older;
          at += older.encoded.size() - 1;
          break;
        }
      }
    }
    result += reference->plain;
  }
  return result;
}

std::string EncodeLookupText(std::string_view text) {
  return EncodeDbText(Trim(text));
}

}  // namespace trawlix
