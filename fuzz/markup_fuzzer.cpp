// Any bytes as a downloaded page: preparation, tokenizing and link extraction must neither
// crash nor hand out a text beyond the message limits.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scan/LinkExtractor.h"

namespace {

class CheckingReceiver : public trawlix::LinkReceiver {
 public:
  void OnPageLink(const trawlix::LinkMessage& link) override { Check(link); }
  void OnPhotoLink(const trawlix::LinkMessage& link) override { Check(link); }
  void OnBaseHref(std::string_view href) override {
    if (href.size() > 1023) std::abort();
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
  const trawlix::PhotoFormats all{true, true, true, true, true};
  trawlix::ExtractLinks(page, "http://fuzz.test/dir/page.html", all, receiver, stop);
  return 0;
}
