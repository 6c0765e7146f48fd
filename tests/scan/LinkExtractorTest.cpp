#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/markup/LinkExtractor.h"

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

INSTANTIATE_TEST_SUITE_P(
    ResponsiveImages, ExtractorCases,
    testing::Values(
        Case{"LargestWidthOnce",
             "<img src=\"s.jpg\" srcset=\"m.jpg 600w, l.jpg 1200w, s.jpg 300w\">",
             V{"photo:l.jpg"}},
        Case{"LargestDensity", "<img srcset=\"a.jpg, b.jpg 2x, c.jpg 1.5X\" src=\"a.jpg\">",
             V{"photo:b.jpg"}},
        Case{"CommaInsideAddress", "<img srcset=\"i.php?w=1,2 1x, big,1.jpg 3x, c.jpg 2x\">",
             V{"photo:big,1.jpg"}},
        Case{"WidthBeatsBareDensity", "<img srcset=\"a.jpg 4x, b.jpg 100w\">", V{"photo:b.jpg"}},
        Case{"PictureIsOnePhotoPreferringNoConversion",
             "<picture><source type=\"image/webp\" srcset=\"p.webp 800w\">"
             "<source srcset=\"p.jpg 800w\"><img src=\"p-s.jpg\"></picture><img src=\"n.jpg\">",
             V{"photo:p.jpg", "photo:n.jpg"}},
        Case{"PictureLargerAvif",
             "<picture><source srcset=\"p.avif 1600w\"><img src=p.jpg></picture>",
             V{"photo:p.avif"}},
        Case{"UnclosedPictureEndsAtItsImage",
             "<picture><source srcset=\"a.jpg 2x\"><img src=b.jpg><img src=c.jpg></picture>",
             V{"photo:a.jpg", "photo:c.jpg"}},
        Case{"PictureWithoutImg", "<picture><source srcset=\"a.jpg 2x\"></picture>",
             V{"photo:a.jpg"}},
        Case{"MediaSourcesIgnored", "<video><source src=\"v.jpg\" srcset=\"w.jpg\"></video>", V{}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    LazyImages, ExtractorCases,
    testing::Values(
        Case{"LazySourceOverPlaceholder", "<img src=\"blank.gif\" data-src=\"real.jpg\">",
             V{"photo:real.jpg"}},
        Case{"AttributeNamesAnyCase", "<img DATA-LAZY-SRC=\"a.jpg\" src=\"b.gif\">",
             V{"photo:a.jpg"}},
        Case{"InlinePlaceholderNeverSent", "<img src=\"data:image/gif;base64,R0lG\">", V{}},
        Case{"LazySrcsetLargest", "<img src=x.gif data-srcset=\"a.jpg 400w, b.jpg 900w\">",
             V{"photo:b.jpg"}},
        Case{"LargeVersionBeatsAnySrcset",
             "<img srcset=\"a.jpg 4000w\" data-hi-res=\"full.jpg\" data-original=\"o.jpg\">",
             V{"photo:full.jpg"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    StylesAndMeta, ExtractorCases,
    testing::Values(
        Case{"StyleAttribute", "<div style=\"background:#fff url( 'bg.jpg' ) no-repeat\">",
             V{"photo:bg.jpg"}},
        Case{"StyleUrlsThatAreNoPhotosDropped",
             "<span style=\"src:url(f.woff); mask:url(data:image/png;base64,x.jpg)\">", V{}},
        Case{"StyleDoesNotEndTheWalk", "<a style=\"background:url(b.jpg)\" href=\"p.html\">",
             V{"photo:b.jpg", "page:p.html"}},
        Case{"StyleBlock",
             "<style>.a{background:URL(\"x.jpg\")} /* url(c.jpg) */ .b{x:myurl(d.jpg)}</style>"
             "<img src=y.jpg>",
             V{"photo:x.jpg", "photo:y.jpg"}},
        Case{"OpenGraphImageEitherOrder",
             "<meta content=\"og.jpg\" property=\"og:image\">"
             "<meta property=\"og:title\" content=\"t.jpg\">",
             V{"photo:og.jpg"}},
        Case{"ImageSrcRelation",
             "<link rel=\"image_src\" href=\"i.jpg\"><link rel=\"stylesheet\" href=\"s.jpg\">",
             V{"photo:i.jpg"}},
        Case{"ImageSrcAmongOtherRelationsWholeWordsOnly",
             "<link rel=\"icon\tIMAGE_SRC\nx\" href=\"a.jpg\"><link rel=\"image_src2\" "
             "href=\"b.jpg\"><link rel=\"my-image_src\" href=\"c.jpg\"><link rel=\"\" "
             "href=\"d.jpg\">",
             V{"photo:a.jpg"}},
        Case{"RelativeBaseTakenAgainstThePage", "<base href=\"../img/\">",
             V{"base:http://h.test/img/"}},
        Case{"RootBase", "<base href=\"/x/\">", V{"base:http://h.test/x/"}},
        Case{"DotsInBase", "<base href=\"./a/../b/\">", V{"base:http://h.test/dir/b/"}},
        Case{"SchemeRelativeBase", "<base href=\"//cdn.test/p/\">", V{"base:http://cdn.test/p/"}},
        Case{"BaseWithOtherSchemeKept", "<base href=\"mailto:a@b.test\">",
             V{"base:mailto:a@b.test"}}),
    CaseName);

// Only where small photos are filtered out is the image inside a photo link skipped.
TEST(LinkExtractor, ThumbnailOfALinkedPhotoSkippedWhenOnlyLargePhotosAreWanted) {
  const std::string page =
      "<a href=\"big.jpg\"><img src=\"t.jpg\"></a><img src=\"other.jpg\">"
      "<a href=\"p.html\"><img src=\"u.jpg\"></a>";
  PhotoFormats largeOnly = kJpegOnly;
  largeOnly.largeOnly = true;
  EXPECT_EQ(Extract(page, largeOnly),
            (V{"photo:big.jpg", "photo:other.jpg", "page:p.html", "photo:u.jpg"}));
  EXPECT_EQ(Extract(page),
            (V{"photo:big.jpg", "photo:t.jpg", "photo:other.jpg", "page:p.html", "photo:u.jpg"}));
}

// A set longer than an attribute value is cut; its cut-off last candidate is never sent.
TEST(LinkExtractor, SrcsetCutAtTheValueLimitKeepsWholeCandidates) {
  std::string srcset;
  for (int width = 100; srcset.size() < 1100; width += 100)
    srcset += "img/photo-with-a-long-name-" + std::to_string(width) + ".jpg " +
              std::to_string(width) + "w, ";
  const auto links = Extract("<img srcset=\"" + srcset + "\">");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_TRUE(links[0].ends_with("00.jpg")) << links[0];
  EXPECT_NE(srcset.find(links[0].substr(6) + " "), std::string::npos) << links[0];
  EXPECT_LT(srcset.find(links[0].substr(6)), 1023u - links[0].size());
}

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
