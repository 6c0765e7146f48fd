#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanScopeFixture.h"
#include "scan/engine/LinkFilter.h"
#include "scan/engine/LinkLists.h"
#include "scan/markup/Keywords.h"

namespace trawlix {
namespace {

using testing_scope::MakeScope;

std::vector<std::string> TakeAllPages(LinkLists& lists) {
  std::vector<std::string> urls;
  while (auto page = lists.TakeNextPage()) urls.push_back(*page);
  return urls;
}

TEST(LinkLists, PagesAreHandedOutInCaseInsensitiveURLOrder) {
  LinkLists lists;
  for (const char* url : {"http://h/c", "http://h/B", "http://h/a", "http://h/b2"}) {
    EXPECT_TRUE(lists.AddPageLink(url));
  }
  EXPECT_EQ(TakeAllPages(lists),
            (std::vector<std::string>{"http://h/a", "http://h/B", "http://h/b2", "http://h/c"}));
  EXPECT_TRUE(lists.PendingPages().empty());
  EXPECT_EQ(lists.ScannedPages(), 4u);
  EXPECT_EQ(lists.PageCount(), 4u);
}

TEST(LinkLists, ALinkDifferingOnlyInCaseIsFiledOnce) {
  LinkLists lists;
  EXPECT_TRUE(lists.AddPageLink("http://h/Page.html"));
  EXPECT_FALSE(lists.AddPageLink("HTTP://H/page.HTML"));
  ASSERT_TRUE(lists.TakeNextPage());
  EXPECT_FALSE(lists.AddPageLink("http://h/page.html")) << "already scanned";
  EXPECT_EQ(lists.PageCount(), 1u);

  EXPECT_TRUE(lists.AddPhotoLink({"http://h/A.jpg", "A.jpg", "http://h/1.html"}));
  EXPECT_FALSE(lists.AddPhotoLink({"http://h/a.JPG", "a.JPG", "http://h/2.html"}));
  lists.EndPage();
  const auto photo = lists.TakeNextPhoto();
  ASSERT_TRUE(photo);
  EXPECT_EQ(photo->url, "http://h/A.jpg");
  EXPECT_EQ(photo->pageURL, "http://h/1.html");
  EXPECT_FALSE(lists.AddPhotoLink({"http://h/a.jpg", "a.jpg", "http://h/3.html"}));
  EXPECT_FALSE(lists.HasPendingPhoto());
  EXPECT_EQ(lists.PhotoCount(), 1u);
}

TEST(LinkLists, BlanksAreRemovedAndOverlongURLsRefused) {
  LinkLists lists;
  EXPECT_TRUE(lists.AddPageLink(" http://h/a b\r\n.html "));
  EXPECT_FALSE(lists.AddPageLink("http://h/ab.html"));
  EXPECT_FALSE(lists.AddPageLink(" \t "));
  const std::string fits = "http://h/" + std::string(LinkLists::kMaxURL - 10, 'x');
  EXPECT_TRUE(lists.AddPageLink(fits));
  EXPECT_FALSE(lists.AddPageLink(fits + "yy"));
  EXPECT_FALSE(lists.AddPhotoLink({fits + "yy.jpg", "", ""}));
  lists.Clear();
  EXPECT_EQ(lists.PageCount(), 0u);
  EXPECT_FALSE(lists.TakeNextPage());
}

TEST(LinkLists, ManyLinksKeepOrderAndUniqueness) {
  LinkLists lists;
  for (int i = 0; i < 20000; ++i) lists.AddPageLink("http://h/" + std::to_string(i * 7919 % 10000));
  EXPECT_EQ(lists.PendingPages().size(), 10000u);
  std::string previous;
  while (auto page = lists.TakeNextPage()) {
    EXPECT_LT(previous, *page);
    previous = *page;
  }
}

// Photos leave page by page as the pages were scanned, each page's in URL order, however the
// links were found: the order the photos are stored and numbered in.
TEST(LinkLists, PhotosLeavePageByPageEachPageSorted) {
  LinkLists lists;
  for (const char* url : {"http://h/z.jpg", "http://h/B.jpg", "http://h/a.jpg"})
    lists.AddPhotoLink({url, "", "http://h/1.html"});
  lists.EndPage();
  for (const char* url : {"http://h/c.jpg", "http://h/A.JPG", "http://h/0.jpg"})
    lists.AddPhotoLink({url, "", "http://h/2.html"});
  EXPECT_EQ(lists.PendingPhotos(), 3u) << "the second page's photos wait for its end";
  lists.EndPage();
  std::vector<std::string> order;
  while (auto photo = lists.TakeNextPhoto()) order.push_back(photo->url);
  EXPECT_EQ(order, (std::vector<std::string>{"http://h/a.jpg", "http://h/B.jpg", "http://h/z.jpg",
                                             "http://h/0.jpg", "http://h/c.jpg"}));
  EXPECT_EQ(lists.PhotoCount(), 5u);
}

// One document, one fetch: links that differ only by a fragment are one page.
TEST(LinkLists, FragmentsNeverMakeAnotherPage) {
  const std::string start = "http://h.test/gallery/index.html";
  ScanScope scope = MakeScope(start);
  LinkLists lists;
  ASSERT_TRUE(lists.AddPageLink(ResolveURL("", start, scope)));
  ASSERT_EQ(lists.TakeNextPage(), start);

  int filed = 0;
  for (const char* link : {"p.html", "p.html#a", "P.html#b", "#", "#top", "index.html#x"}) {
    if (const auto url = AcceptPageLink(start, link, LinkKind::Page, scope)) {
      filed += lists.AddPageLink(*url) ? 1 : 0;
    }
  }
  EXPECT_EQ(filed, 1);
  EXPECT_EQ(TakeAllPages(lists), std::vector<std::string>{"http://h.test/gallery/p.html"});
  EXPECT_EQ(lists.PageCount(), 2u);
}

struct CommaCase {
  const char* text;
  std::vector<std::string> entries;
};

TEST(ParseCommaList, Entries) {
  const CommaCase cases[] = {
      {"beach, sun", {"beach", "sun"}},
      {"beach,,sun", {"beachsun"}},
      {" a , b ,", {"a", "b"}},
      {",,,", {}},
      {"", {}},
      {"bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg",
       {"bnsftr.jpg", "mag_thumb.jpg", "_mag_cover.jpg"}},
  };
  for (const CommaCase& c : cases) {
    std::vector<std::string> list;
    ParseCommaList(c.text, list);
    EXPECT_EQ(list, c.entries) << c.text;
  }
  std::vector<std::string> list{"kept"};
  ParseCommaList("x", list);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "x"})) << "entries are appended";
}

TEST(KeywordLists, MatchIgnoringCase) {
  const std::vector<std::string> keywords{"Beach", "SUN"};
  EXPECT_TRUE(ContainsAnyKeyword("http://h/BEACH/a.html", keywords));
  EXPECT_TRUE(ContainsAnyKeyword("http://h/sunset.html", keywords));
  EXPECT_FALSE(ContainsAnyKeyword("http://h/x.html", keywords));
  EXPECT_FALSE(ContainsAnyKeyword("http://h/x.html", {}));
  EXPECT_TRUE(IsSkippedFile("img/MAG_THUMB.jpg", {"mag_thumb.jpg"}));
  EXPECT_FALSE(IsSkippedFile("img/a.jpg", {}));
}

}  // namespace
}  // namespace trawlix
