// Throughput of tokenizing and link extraction over large pages, and the cost of filing and
// handing out links as a crawl grows (expected n log n).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/engine/LinkLists.h"
#include "scan/markup/LinkExtractor.h"

namespace {

class CountingReceiver : public trawlix::LinkReceiver {
 public:
  void OnPageLink(const trawlix::LinkMessage&) override { ++links; }
  void OnPhotoLink(const trawlix::LinkMessage&) override { ++links; }
  void OnBaseHref(std::string_view) override {}
  std::int64_t links = 0;
};

// A gallery-like page of about `bytes` bytes: paragraphs, thumbnails, anchors, scripts.
std::string MakePage(std::size_t bytes) {
  std::string page =
      "<!DOCTYPE html><html><head><title>Gallery</title>"
      "<!-- generated --><script>var a = 1 < 2 && b;</script></head><body>";
  for (int i = 0; page.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    page += "<div class=\"item\" id=\"i" + n + "\"><p>Photo number " + n +
            " of the summer album &amp; friends</p><a href=\"photos/large/img" + n +
            ".jpg\" title=\"Open\"><img src=\"photos/thumbs/img" + n +
            ".jpg\" alt=\"thumb\" width=\"120\" height=\"90\"></a> <a href=\"page" + n +
            ".html?sort=date&amp;dir=asc\">next</a></div>\n";
  }
  return page + "</body></html>";
}

void BM_ExtractLinks(benchmark::State& state) {
  std::string page = MakePage(static_cast<std::size_t>(state.range(0)));
  trawlix::PreparePage(page);
  const std::atomic<int> stop{0};
  const trawlix::PhotoFormats formats{true, true, true, false, false};
  std::int64_t links = 0;
  for (auto _ : state) {
    CountingReceiver receiver;
    trawlix::ExtractLinks(page, "http://bench.test/gallery/index.html", formats, receiver, stop);
    links += receiver.links;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
  state.counters["links"] =
      benchmark::Counter(static_cast<double>(links), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExtractLinks)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

// URLs in a scrambled order, as a crawl finds them.
std::vector<std::string> MakeURLs(std::int64_t count) {
  std::vector<std::string> urls;
  urls.reserve(static_cast<std::size_t>(count));
  std::uint64_t x = 88172645463325252ull;
  for (std::int64_t i = 0; i < count; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    urls.push_back("http://bench.test/gallery/album" + std::to_string(x % 1000) + "/Page" +
                   std::to_string(x) + ".html");
  }
  return urls;
}

void BM_FileAndHandOutPages(benchmark::State& state) {
  const std::vector<std::string> urls = MakeURLs(state.range(0));
  for (auto _ : state) {
    trawlix::LinkLists lists;
    for (const std::string& url : urls) lists.AddPageLink(url);
    for (const std::string& url : urls) lists.AddPageLink(url);  // every one a duplicate now
    while (lists.TakeNextPage()) {
    }
    benchmark::DoNotOptimize(lists.ScannedPages());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FileAndHandOutPages)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace

BENCHMARK_MAIN();
