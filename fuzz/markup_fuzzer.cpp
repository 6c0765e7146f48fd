// Any bytes as a downloaded page: preparation, tokenizing and link extraction must neither
// crash nor hand out a text beyond the message limits.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scan/markup/CssUrls.h"
#include "scan/markup/LinkExtractor.h"
#include "scan/markup/ResponsiveImages.h"
#include "scan/markup/URLResolver.h"

namespace {

class CheckingReceiver : public trawlix::LinkReceiver {
 public:
  void OnPageLink(const trawlix::LinkMessage& link) override { Check(link); }
  void OnPhotoLink(const trawlix::LinkMessage& link) override { Check(link); }
  // A relative base is taken against the page: the page's folder plus one attribute value.
  void OnBaseHref(std::string_view href) override {
    if (href.size() > trawlix::LinkMessage::kMaxText + 1 + 1023) std::abort();
  }

 private:
  static void Check(const trawlix::LinkMessage& link) {
    if (link.linkText.size() > trawlix::LinkMessage::kMaxText) std::abort();
    if (link.pageURL.size() > trawlix::LinkMessage::kMaxText) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string page(reinterpret_cast<const char*>(data), size);
  trawlix::PreparePage(page);
  CheckingReceiver receiver;
  const std::atomic<int> stop{0};
  trawlix::PhotoFormats all{true, true, true, true, true};
  trawlix::ExtractLinks(page, "http://fuzz.test/dir/page.html", all, receiver, stop);
  all.largeOnly = true;
  trawlix::ExtractLinks(page, "http://fuzz.test/dir/page.html", all, receiver, stop);

  // The attribute and style-sheet parsers on their own, beyond the tokenizer's value limit.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const trawlix::ImageCandidate& candidate : trawlix::ParseSrcset(text, size % 2 == 0)) {
    if (candidate.url.empty() || candidate.url.size() > size || !(candidate.density > 0) ||
        candidate.width < 0)
      std::abort();
  }
  for (const std::string& url : trawlix::CssUrls(text)) {
    if (url.empty() || url.size() > size) std::abort();
  }
  (void)trawlix::ResolveBaseHref("http://fuzz.test/dir/page.html", text.substr(0, 1023));
  return 0;
}
