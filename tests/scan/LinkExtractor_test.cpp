#include "scan/LinkExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trawlix {
namespace {

// Records every delivery as "page:<text>", "photo:<text>" or "base:<href>".
class Recorder : public LinkReceiver {
 public:
  void OnPageLink(const LinkMessage& link) override { Record(link, "page:"); }
  void OnPhotoLink(const LinkMessage& link) override { Record(link, "photo:"); }
  void OnBaseHref(std::string_view href) override { seen.push_back("base:" + std::string(href)); }

  std::vector<std::string> seen;
  std::vector<std::string> pageURLs;
  std::atomic<int>* stopAfterFirst = nullptr;

 private:
  void Record(const LinkMessage& link, const char* kind) {
    EXPECT_EQ(link.photo, std::string(kind) == "photo:");
    seen.push_back(kind + std::string(link.linkText));
    pageURLs.emplace_back(link.pageURL);
    if (stopAfterFirst) *stopAfterFirst = 1;
  }
};

constexpr PhotoFormats kJpegOnly{true, false, false, false, false};

std::vector<std::string> Extract(std::string page, PhotoFormats formats = kJpegOnly) {
  PreparePage(page);
  Recorder recorder;
  std::atomic<int> stop{0};
  ExtractLinks(page, "http://h.test/dir/page.html", formats, recorder, stop);
  return recorder.seen;
}

using V = std::vector<std::string>;

struct Case {
  const char* name;
  const char* page;
  V links;
};

std::string CaseName(const testing::TestParamInfo<Case>& test) {
  return test.param.name;
}

class ExtractorCases : public testing::TestWithParam<Case> {};

TEST_P(ExtractorCases, Deliver) {
  EXPECT_EQ(Extract(GetParam().page), GetParam().links);
}

INSTANTIATE_TEST_SUITE_P(
    TagTable, ExtractorCases,
    testing::Values(Case{"ImgIsAlwaysAPhoto", "<img src=\"thumb.php?id=3\">",
                         V{"photo:thumb.php?id=3"}},
                    Case{"AnchorByPhotoTest", "<a href=\"a.jpg\">x</a><a href=\"b.html\">",
                         V{"photo:a.jpg", "page:b.html"}},
                    Case{"AnchorWithQueryIsAPage", "<a href=\"a.jpg?w=2\">", V{"page:a.jpg?w=2"}},
                    Case{"FrameAndArea", "<frame src=\"f.jpg\"><area href=\"m.html\">",
                         V{"photo:f.jpg", "page:m.html"}},
                    Case{"CapitalsFound", "<A HREF=\"PHOTO.JPG\">", V{"photo:PHOTO.JPG"}},
                    Case{"OtherTagsIgnored", "<link href=\"s.css\"><script src=\"x.js\">", V{}},
                    Case{"BaseIsStoredNotSentAndNotTrimmed", "<base href=\" http://b.test/ \">",
                         V{"base: http://b.test/ "}},
                    Case{"PngDisabledMakesAPage", "<a href=\"p.png\">", V{"page:p.png"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    AttributeWalk, ExtractorCases,
    testing::Values(
        Case{"FirstSentAttributeEndsTheWalk", "<img src=\"a.jpg\" src=\"b.jpg\">",
             V{"photo:a.jpg"}},
        Case{"ScriptVoidHrefThenOnclick", "<a href=\"javascript:;\" onclick=\"show('big.jpg')\">",
             V{"photo:onclick=show('big.jpg')"}},
        Case{"OnclickThenHref", "<a onclick=\"go('x.jpg')\" href=\"p.html\">",
             V{"photo:onclick=go('x.jpg')", "page:p.html"}},
        Case{"HrefEndsWalkBeforeOnclick", "<a href=\"p.html\" onclick=\"go('x.jpg')\">",
             V{"page:p.html"}},
        Case{"AltOnlyImageThenNextImage", "<img alt=\"x\"><img src=\"b.jpg\">", V{"photo:b.jpg"}},
        Case{"TagRightAfterAttributes", "<img src=a.jpg><a href=b.html>",
             V{"photo:a.jpg", "page:b.html"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Cleaning, ExtractorCases,
    testing::Values(Case{"AmpersandEntity", "<img src=\"p.php?a=1&amp;b=2\">",
                         V{"photo:p.php?a=1&b=2"}},
                    Case{"OtherEntitiesStay", "<img src=\"a&quot;.jpg\">", V{"photo:a&quot;.jpg"}},
                    Case{"Trimmed", "<img src=\"  a.jpg \n\">", V{"photo:a.jpg"}},
                    Case{"AffiliateJunkRemoved", "<a href=\"a.html?nats=<?=$_REQUEST['nats']?>\">",
                         V{"page:a.html"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Preparation, ExtractorCases,
    testing::Values(
        Case{"LinkInsideComment", "<!-- <img src=\"hidden.jpg\"> -->", V{"photo:hidden.jpg"}},
        Case{"LinkInsideNoscript", "<noscript><img src=\"n.jpg\"></noscript>", V{"photo:n.jpg"}},
        Case{"AmpersandInTextKeepsNextTag", "Tom & Jerry<img src=\"t.jpg\">", V{"photo:t.jpg"}}),
    CaseName);

TEST(LinkExtractor, PreparationRemovesTheFourMarkersOnly) {
  std::string page = "<!--a--><noscript>b</noscript><NOSCRIPT>";
  PreparePage(page);
  EXPECT_EQ(page, "ab<NOSCRIPT>");
}

TEST(LinkExtractor, LongValuesAreCutAtTheScannerAndMessageLimits) {
  const std::string longName(1500, 'a');
  auto links = Extract("<img src=\"" + longName + ".jpg\">");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0], "photo:" + std::string(1023, 'a'));

  Recorder recorder;
  std::atomic<int> stop{0};
  const std::string longPage = "http://h.test/" + std::string(3000, 'p');
  ExtractLinks("<img src=\"a.jpg\">", longPage, kJpegOnly, recorder, stop);
  ASSERT_EQ(recorder.pageURLs.size(), 1u);
  EXPECT_EQ(recorder.pageURLs[0], longPage.substr(0, LinkMessage::kMaxText));
}

TEST(LinkExtractor, StopsOnceTheStopFlagIsSet) {
  Recorder recorder;
  std::atomic<int> stop{0};
  recorder.stopAfterFirst = &stop;
  ExtractLinks("<img src=a.jpg><img src=b.jpg><img src=c.jpg>", "http://h.test/", kJpegOnly,
               recorder, stop);
  EXPECT_EQ(recorder.seen, V{"photo:a.jpg"});
}

}  // namespace
}  // namespace trawlix
