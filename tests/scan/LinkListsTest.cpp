#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ScanScopeFixture.h"
#include "scan/engine/LinkFilter.h"
#include "scan/engine/LinkLists.h"
#include "scan/markup/Keywords.h"
#include "support/TempDir.h"

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

// An address from a small alphabet that folds and sorts in every way that matters: letters
// of both cases, the signs between 'Z' and 'a', and bytes above 0x7F (unsigned).
std::string RandomAddress(std::mt19937& random) {
  static const std::string alphabet = "aAbBzZ_[`^~0/.\x80\xC3\xFF";
  std::string url = "http://h/";
  const std::size_t length = 1 + random() % 6;
  for (std::size_t i = 0; i < length; ++i) url += alphabet[random() % alphabet.size()];
  return url;
}

// With a memory bound of 16 the lists move most addresses to disk and back; whatever the
// order they arrive in, they hand out exactly what one sorted in-memory set would, and
// refuse exactly what it would, letter case included.
TEST(LinkLists, SpilledPagesKeepTheOrderAndUniquenessOfOneSortedSet) {
  testing::TempDir dir;
  const std::string spillPath = (dir / "Resume" / "project-7.links").string();
  std::mt19937 random(20261210);
  for (int round = 0; round < 2; ++round) {
    std::filesystem::create_directories(dir / "Resume");
    std::FILE* leftover = std::fopen(spillPath.c_str(), "w");  // a killed run's file
    std::fputs("not a database", leftover);
    std::fclose(leftover);
    LinkLists lists(spillPath, 16);
    std::set<std::string, LessNoCase> pending;
    std::set<std::string, LessNoCase> scanned;
    std::size_t taken = 0;
    for (int step = 0; step < 6000; ++step) {
      // Mostly filing, some taking, as a scan files a page's links and takes the next page.
      if (random() % 4 != 0) {
        const std::string url = RandomAddress(random);
        const bool fresh = !scanned.contains(url) && pending.insert(url).second;
        ASSERT_EQ(lists.AddPageLink(url), fresh) << url << " at step " << step;
      } else {
        const std::optional<std::string> page = lists.TakeNextPage();
        ASSERT_EQ(page.has_value(), !pending.empty()) << "at step " << step;
        if (!page) continue;
        ASSERT_EQ(*page, *pending.begin()) << "at step " << step;
        scanned.insert(pending.extract(pending.begin()));
        ++taken;
      }
      ASSERT_EQ(lists.PageCount(), pending.size() + scanned.size());
      ASSERT_EQ(lists.PendingPages().empty(), pending.empty());
    }
    EXPECT_GT(lists.PageCount(), 1000u) << "enough addresses to spill many times";
    EXPECT_TRUE(std::filesystem::exists(spillPath)) << "addresses wait on disk";
    while (const std::optional<std::string> page = lists.TakeNextPage()) {
      ASSERT_EQ(*page, *pending.begin());
      scanned.insert(pending.extract(pending.begin()));
      ++taken;
    }
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(lists.ScannedPages(), taken);
    for (const std::string& url : scanned) EXPECT_FALSE(lists.AddPageLink(url)) << url;
  }
  EXPECT_FALSE(std::filesystem::exists(spillPath)) << "the scratch file goes with the lists";
}

// Photo addresses move to disk in batches; one filed before, in any letter case, is refused
// wherever it now is, and the queue keeps its page-by-page order.
TEST(LinkLists, SpilledPhotosAreFiledOnceInAnyLetterCase) {
  testing::TempDir dir;
  LinkLists lists((dir / "project-1.links").string(), 16);
  std::vector<std::string> expected;
  for (int page = 0; page < 50; ++page) {
    for (int i = 19; i >= 0; --i) {
      const std::string url =
          "http://h/p" + std::to_string(page) + "/" + std::to_string(i) + ".jpg";
      ASSERT_TRUE(lists.AddPhotoLink({url, "", "http://h/" + std::to_string(page)}));
      EXPECT_FALSE(lists.AddPhotoLink({url, "", ""})) << "filed on this page already";
    }
    std::set<std::string, LessNoCase> sorted;
    for (int i = 0; i < 20; ++i)
      sorted.insert("http://h/p" + std::to_string(page) + "/" + std::to_string(i) + ".jpg");
    expected.insert(expected.end(), sorted.begin(), sorted.end());
    lists.EndPage();
  }
  for (const std::string& url : expected) {
    std::string upper = url;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(lists.AddPhotoLink({upper, "", ""})) << upper;
  }
  EXPECT_EQ(lists.PhotoCount(), 1000u);
  std::vector<std::string> order;
  while (auto photo = lists.TakeNextPhoto()) order.push_back(photo->url);
  EXPECT_EQ(order, expected);
}

TEST(LessNoCase, OrdersByFoldedBytesThenLength) {
  const LessNoCase less;
  struct Case {
    std::string_view a, b;
    bool aFirst, bFirst;
  } cases[] = {
      {"http://h/a", "http://h/B", true, false},     // folded 'a' < 'b'
      {"http://h/Z", "http://h/a", false, true},     // 'z' > 'a', not 'Z' < 'a'
      {"http://h/A", "http://h/a", false, false},    // one URL
      {"http://h/a", "http://h/ab", true, false},    // a prefix first
      {"http://h/_", "http://h/a", true, false},     // '_' (0x5F) < 'a', though > 'A'
      {"http://h/\xE9", "http://h/z", false, true},  // bytes above ASCII last
      {"HTTP://H/a", "http://h/a", false, false},    // case differs inside a block of eight
      {"http://host/aaaaaaaaZ", "http://host/aaaaaaaab", false, true},  // after two blocks
      {"", "", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(less(c.a, c.b), c.aFirst) << c.a << " / " << c.b;
    EXPECT_EQ(less(c.b, c.a), c.bFirst) << c.b << " / " << c.a;
  }
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
