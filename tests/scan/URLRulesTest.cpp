#include <gtest/gtest.h>

#include <string>

#include "ScanScopeFixture.h"
#include "scan/engine/LinkFilter.h"
#include "scan/markup/Keywords.h"
#include "scan/markup/PhotoLinkTest.h"
#include "scan/markup/URLResolver.h"
#include "scan/markup/UrlParts.h"

namespace trawlix {
namespace {

using testing_scope::kJpegAndPng;
using testing_scope::MakeScope;

struct PartsCase {
  const char* url;
  const char* scheme;
  const char* host;
  const char* path;
  const char* file;
};

class URLPartsCases : public testing::TestWithParam<PartsCase> {};

TEST_P(URLPartsCases, SplitAndRebuild) {
  const PartsCase& c = GetParam();
  const UrlParts parts(c.url);
  EXPECT_EQ(parts.scheme, c.scheme);
  EXPECT_EQ(parts.host, c.host);
  EXPECT_EQ(parts.path, c.path);
  EXPECT_EQ(parts.file, c.file);
  EXPECT_EQ(parts.full, c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, URLPartsCases,
    testing::Values(
        PartsCase{"http://h.test/dir/sub/a.jpg", "http://", "h.test", "/dir/sub/", "a.jpg"},
        PartsCase{"https://h.test", "https://", "h.test", "/", ""},
        PartsCase{"http://h.test/", "http://", "h.test", "/", ""},
        PartsCase{"http://h.test/a.php?x=1&y=2", "http://", "h.test", "/", "a.php?x=1&y=2"},
        PartsCase{"http://h.test/a??b=1", "http://", "h.test", "/", "a?b=1"},
        PartsCase{"http://h.test//a//b.jpg", "http://", "h.test", "/a/", "b.jpg"},
        PartsCase{"h.test/a/b.html", "", "h.test", "/a/", "b.html"},
        // A query whose "?" has a "/" after it stays out of the path, and keeps its slashes.
        PartsCase{"http://h.test/dir/?p=/x//y", "http://", "h.test", "/dir/", "?p=/x//y"},
        PartsCase{"http://h.test/d/go.php?to=http://x.test/a/b.html", "http://", "h.test", "/d/",
                  "go.php?to=http://x.test/a/b.html"},
        PartsCase{"http://h.test/d/go.php?to=www.x.test/a", "http://", "h.test", "/d/",
                  "go.php?to=www.x.test/a"}));

TEST(URLParts, RebuildGivesTheURLBack) {
  for (const char* url : {"http://h.test/dir/a.jpg", "https://h.test/a.php?x=/y",
                          "http://h.test/d/go.php?to=http://x.test/a/"}) {
    EXPECT_EQ(UrlParts(url).Rebuild(), url);
  }
}

struct ResolveCase {
  const char* base;
  const char* link;
  const char* expected;
};

class Resolve : public testing::TestWithParam<ResolveCase> {};

TEST_P(Resolve, Link) {
  ScanScope scope = MakeScope("http://h.test/dir/page.html");
  EXPECT_EQ(ResolveURL(GetParam().base, GetParam().link, scope), GetParam().expected)
      << GetParam().link;
}

constexpr const char* kPage = "http://h.test/dir/page.html";
constexpr const char* kDeep = "http://h.test/a/b/c/page.html";

INSTANTIATE_TEST_SUITE_P(
    Relative, Resolve,
    testing::Values(ResolveCase{kPage, "img/a.jpg", "http://h.test/dir/img/a.jpg"},
                    ResolveCase{kPage, "a.jpg", "http://h.test/dir/a.jpg"},
                    ResolveCase{kPage, "  page2.html?x=1 ", "http://h.test/dir/page2.html?x=1"},
                    ResolveCase{kPage, "", ""}, ResolveCase{kPage, "   ", ""},
                    ResolveCase{"", "img/a.jpg", ""}));

INSTANTIATE_TEST_SUITE_P(
    RootRelativeAndAbsolute, Resolve,
    testing::Values(ResolveCase{kPage, "/img/a.jpg", "http://h.test/img/a.jpg"},
                    ResolveCase{kPage, "http://o.test/x/y.jpg", "http://o.test/x/y.jpg"},
                    ResolveCase{kPage, "HTTP://O.test/X.jpg", "http://O.test/X.jpg"},
                    ResolveCase{kPage, "www.o.test/p.html", "http://www.o.test/p.html"},
                    ResolveCase{kPage, "//cdn.test/a.jpg", "http://cdn.test/a.jpg"},
                    ResolveCase{kPage, "http://localhost:8080/a.jpg",
                                "http://localhost:8080/a.jpg"},
                    ResolveCase{"", "www.o.test/gallery/", "http://www.o.test/gallery/"},
                    ResolveCase{kPage, "go.php?to=http://x.test/a/b.html",
                                "http://h.test/dir/go.php?to=http://x.test/a/b.html"}));

INSTANTIATE_TEST_SUITE_P(
    DotSegments, Resolve,
    testing::Values(ResolveCase{kPage, "../a.jpg", "http://h.test/a.jpg"},
                    ResolveCase{kPage, "./a.jpg", "http://h.test/dir/a.jpg"},
                    ResolveCase{kPage, ".//a.jpg", "http://h.test/dir/a.jpg"},
                    ResolveCase{kDeep, "../../x.jpg", "http://h.test/a/x.jpg"},
                    ResolveCase{kDeep, "../../../../x.jpg", "http://h.test/x.jpg"},
                    ResolveCase{kDeep, "../x.html", "http://h.test/a/b/x.html"},
                    ResolveCase{kDeep, "../../x.html", "http://h.test/a/x.html"},
                    ResolveCase{kDeep, "sub/../y.jpg", "http://h.test/a/b/c/y.jpg"},
                    ResolveCase{kDeep, "./../w.jpg", "http://h.test/a/b/w.jpg"},
                    ResolveCase{kDeep, "http://h.test/a/b/../z.jpg", "http://h.test/a/z.jpg"}));

INSTANTIATE_TEST_SUITE_P(Scripts, Resolve,
                         testing::Values(ResolveCase{kPage, "javascript:show(\"big/a.jpg\")",
                                                     "http://h.test/dir/big/a.jpg"},
                                         ResolveCase{kPage, "JavaScript:show(\"big/a.jpg\")",
                                                     "http://h.test/dir/big/a.jpg"},
                                         ResolveCase{kPage, "javascript:show('big/a.jpg')", ""},
                                         ResolveCase{kPage, "javascript:void(0)", ""},
                                         ResolveCase{kPage, "javascript:go(\"nothing\")", ""},
                                         ResolveCase{kPage, "onclick=window.open('big/a.jpg')",
                                                     "http://h.test/dir/big/a.jpg"},
                                         ResolveCase{kPage, "onclick=window.open(big)", ""}));

INSTANTIATE_TEST_SUITE_P(
    Fragments, Resolve,
    testing::Values(ResolveCase{kPage, "p.html#a", "http://h.test/dir/p.html"},
                    ResolveCase{kPage, "p.html#", "http://h.test/dir/p.html"},
                    ResolveCase{kPage, "#", kPage}, ResolveCase{kPage, "#top", kPage},
                    ResolveCase{"http://h.test/dir/page.html#x", "#top", kPage},
                    ResolveCase{"", "#top", ""},
                    ResolveCase{kPage, "img/a.jpg#zoom", "http://h.test/dir/img/a.jpg"},
                    ResolveCase{kPage, "http://o.test/p.html#a#b", "http://o.test/p.html"}));

TEST(ResolveURL, HttpsLinksOfAnHttpProjectAreFetchedOverHttp) {
  ScanScope plain = MakeScope("http://h.test/");
  EXPECT_EQ(ResolveURL(kPage, "https://h.test/x.jpg", plain), "http://h.test/x.jpg");
  ScanScope secure = MakeScope("https://h.test/");
  EXPECT_EQ(ResolveURL(kPage, "https://h.test/x.jpg", secure), "https://h.test/x.jpg");
}

TEST(SetScanStart, ResolvesTheStartAndKeepsItsParts) {
  ScanScope scope;
  scope.social.ownerFound = true;  // left over from an earlier scan
  EXPECT_EQ(SetScanStart(scope, "  www.h.test/gallery/index.html "),
            "http://www.h.test/gallery/index.html");
  EXPECT_EQ(scope.start.scheme, "http://");
  EXPECT_EQ(scope.start.host, "www.h.test");
  EXPECT_EQ(scope.start.path, "/gallery/");
  EXPECT_FALSE(scope.social.ownerFound);
  EXPECT_EQ(SetScanStart(scope, "gallery"), "") << "no host to fetch it from";
}

TEST(ResolveURL, OverlongBaseCannotBeResolvedAgainst) {
  ScanScope scope = MakeScope("http://h.test/");
  const std::string base = "http://h.test/" + std::string(kMaxBaseURL, 'd') + "/";
  EXPECT_EQ(ResolveURL(base, "a.jpg", scope), "");
}

struct PhotoCase {
  const char* link;
  PhotoFormats formats;
  bool photo;
};

class PhotoTest : public testing::TestWithParam<PhotoCase> {};

TEST_P(PhotoTest, Classify) {
  EXPECT_EQ(IsPhotoLink(GetParam().formats, GetParam().link), GetParam().photo) << GetParam().link;
}

constexpr PhotoFormats kNone{};
constexpr PhotoFormats kJpeg{true, false, false, false, false};
constexpr PhotoFormats kTif{false, false, false, false, true};
constexpr PhotoFormats kAll{true, true, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    ByFormatFlags, PhotoTest,
    testing::Values(PhotoCase{"a.jpg", kJpeg, true}, PhotoCase{" A.JPG ", kJpeg, true},
                    PhotoCase{"a.jpgx", kJpeg, true}, PhotoCase{"a.jpg", kTif, false},
                    PhotoCase{"a.jpeg", kJpeg, true}, PhotoCase{"a.TIFF", kTif, true},
                    PhotoCase{"a.tif", kTif, true}, PhotoCase{"a.png", kJpeg, false},
                    PhotoCase{"a.png", kAll, true}, PhotoCase{"a.gif", kAll, true},
                    PhotoCase{"a.bmp", kAll, true}, PhotoCase{"a.jpg.html", kNone, true},
                    PhotoCase{"a.html", kAll, false}, PhotoCase{"jpg", kAll, false}));

INSTANTIATE_TEST_SUITE_P(QueriesScriptsFragments, PhotoTest,
                         testing::Values(PhotoCase{"a.jpg?w=100", kJpeg, true},
                                         PhotoCase{"a.JPEG?w=1", kJpeg, true},
                                         PhotoCase{"show.php?img=a.jpg", kJpeg, true},
                                         PhotoCase{"show.php?img=a", kJpeg, false},
                                         PhotoCase{"javascript:show('a.jpg', 1)", kJpeg, true},
                                         PhotoCase{"javascript:show('a.jpg', 1)", kTif, false},
                                         PhotoCase{"onclick=show('a.jpg')", kJpeg, true},
                                         PhotoCase{"onclick=show('a.png')", kJpeg, false},
                                         PhotoCase{"a.jpg#zoom", kJpeg, true},
                                         PhotoCase{"a.html#x.jpg", kJpeg, false}));

TEST(LooksLikeFileLink, ExtensionsQueriesAndAssignments) {
  for (const char* yes : {"a.html", "x.CSS", "p?x", "a=b", "f.jhtml", "s.php3"}) {
    EXPECT_TRUE(LooksLikeFileLink(yes)) << yes;
  }
  for (const char* no : {"www.o.test", "folder", "a.txt", ""}) {
    EXPECT_FALSE(LooksLikeFileLink(no)) << no;
  }
}

// Page scope: start folder /gallery/ of h.test; links found on the start page.
struct ScopeCase {
  const char* link;
  bool subFolders;
  const char* keywords;
  bool keywordMustExist;
  bool accepted;
};

class PageScope : public testing::TestWithParam<ScopeCase> {};

TEST_P(PageScope, Decide) {
  const ScopeCase& c = GetParam();
  ScanScope scope = MakeScope("http://h.test/gallery/index.html");
  scope.searchSubFolders = c.subFolders;
  scope.keywordMustExist = c.keywordMustExist;
  ParseCommaList(c.keywords, scope.keywords);
  const auto url =
      AcceptPageLink("http://h.test/gallery/index.html", c.link, LinkKind::Page, scope);
  EXPECT_EQ(url.has_value(), c.accepted) << c.link << " -> " << url.value_or("(refused)");
}

INSTANTIATE_TEST_SUITE_P(Folder, PageScope,
                         testing::Values(ScopeCase{"page2.html", false, "", false, true},
                                         ScopeCase{"sub/page.html", false, "", false, false},
                                         ScopeCase{"sub/page.html", false, "SUB", false, true},
                                         ScopeCase{"/other/gallery/x.html", false, "", false,
                                                   false},
                                         ScopeCase{"sub/page.html", true, "", false, true},
                                         ScopeCase{"/other/Gallery/x.html", true, "", false, true},
                                         ScopeCase{"/other/x.html", true, "", false, false},
                                         ScopeCase{"../x.html", true, "", false, false}));

INSTANTIATE_TEST_SUITE_P(
    HostAndKeywords, PageScope,
    testing::Values(ScopeCase{"http://o.test/gallery/x.html", true, "", false, false},
                    ScopeCase{"http://o.test/gallery/x.html", true, "o.test", false, true},
                    ScopeCase{"page2.html", false, "beach", true, false},
                    ScopeCase{"beach2.html", false, "beach", true, true},
                    ScopeCase{"page2.html", false, "beach", false, true}));

INSTANTIATE_TEST_SUITE_P(Refused, PageScope,
                         testing::Values(ScopeCase{"it's.html", false, "", false, false},
                                         ScopeCase{"javascript:;", false, "", false, false},
                                         ScopeCase{"mailto:me@o.test", false, "", false, false}));

TEST(AcceptPageLink, FileWithHttpsIsNeverAPage) {
  ScanScope scope = MakeScope("https://h.test/gallery/");
  EXPECT_FALSE(AcceptPageLink("https://h.test/gallery/", "go.php?u=https://h.test/x",
                              LinkKind::Page, scope));
  EXPECT_TRUE(AcceptPageLink("https://h.test/gallery/", "go.php?u=h.test", LinkKind::Page, scope));
}

TEST(AcceptPageLink, PhotoKindSkipsTheScopeRules) {
  ScanScope scope = MakeScope("http://h.test/gallery/");
  EXPECT_EQ(AcceptPageLink(kPage, "http://o.test/x/y.jpg", LinkKind::Photo, scope),
            "http://o.test/x/y.jpg");
}

struct PhotoLinkCase {
  const char* base;
  const char* link;
  const char* url;  // empty: refused
  const char* fileName;
};

void ExpectPhotoDecision(const PhotoLinkCase& c, PhotoSource source) {
  ScanScope scope = MakeScope("http://h.test/gallery/", kJpegAndPng);
  ParseCommaList("bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg", scope.skipList);
  const auto photo = AcceptPhotoLink(c.link, c.base, scope, source);
  if (*c.url == '\0') {
    EXPECT_FALSE(photo) << c.link << " -> " << photo->url;
    return;
  }
  ASSERT_TRUE(photo) << c.link;
  EXPECT_EQ(photo->url, c.url);
  EXPECT_EQ(photo->fileName, c.fileName);
  // Only an address that names no photo waits for its answer to decide.
  EXPECT_EQ(photo->byAnswer, !NamesAnyPhoto(c.link)) << c.link;
}

class PhotoFilter : public testing::TestWithParam<PhotoLinkCase> {};

TEST_P(PhotoFilter, Decide) {
  ExpectPhotoDecision(GetParam(), PhotoSource::Link);
}

// An image element's address is a photo whatever it ends in, unless it names an unwanted one.
class ImageFilter : public testing::TestWithParam<PhotoLinkCase> {};

TEST_P(ImageFilter, Decide) {
  ExpectPhotoDecision(GetParam(), PhotoSource::Image);
}

constexpr const char* kGallery = "http://h.test/gallery/index.html";

INSTANTIATE_TEST_SUITE_P(
    Photos, PhotoFilter,
    testing::Values(
        // The query is the photo the page shows; the name comes without it.
        PhotoLinkCase{kGallery, "img/a.jpg?w=100", "http://h.test/gallery/img/a.jpg?w=100",
                      "a.jpg"},
        PhotoLinkCase{kGallery, "img/a.jpg#zoom", "http://h.test/gallery/img/a.jpg", "a.jpg"},
        PhotoLinkCase{kGallery, "http://o.test/x/b.PNG", "http://o.test/x/b.PNG", "b.PNG"},
        PhotoLinkCase{kGallery, "show.php?img=a.jpg", "http://h.test/gallery/show.php?img=a.jpg",
                      "show.php"},
        PhotoLinkCase{kGallery, "onclick=show('big/a.jpg')", "http://h.test/gallery/big/a.jpg",
                      "a.jpg"},
        PhotoLinkCase{kGallery, "img/BNSFTR.jpg", "", ""},
        PhotoLinkCase{kGallery, "thumb.php?id=3", "", ""}, PhotoLinkCase{kGallery, "a.gif", "", ""},
        PhotoLinkCase{kGallery, "javascript:show('a.jpg')", "", ""},
        // A base tag's address steers photo links.
        PhotoLinkCase{"http://cdn.test/base/", "a.jpg", "http://cdn.test/base/a.jpg", "a.jpg"},
        PhotoLinkCase{kGallery, "/cdn/img/8f3a9c", "", ""}));

INSTANTIATE_TEST_SUITE_P(
    Images, ImageFilter,
    testing::Values(PhotoLinkCase{kGallery, "/cdn/img/8f3a9c", "http://h.test/cdn/img/8f3a9c",
                                  "8f3a9c"},
                    PhotoLinkCase{kGallery, "thumb.php?id=3",
                                  "http://h.test/gallery/thumb.php?id=3", "thumb.php"},
                    PhotoLinkCase{kGallery, "img/b.jpg?w=1600&fm=jpg",
                                  "http://h.test/gallery/img/b.jpg?w=1600&fm=jpg", "b.jpg"},
                    PhotoLinkCase{kGallery, "a.gif", "", ""},
                    PhotoLinkCase{kGallery, "a.gif?w=9", "", ""},
                    PhotoLinkCase{kGallery, "img/BNSFTR.jpg", "", ""}));

}  // namespace
}  // namespace trawlix
