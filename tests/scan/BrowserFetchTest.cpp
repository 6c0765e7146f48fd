#include <fstream>
#include <iterator>

#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool AnyHolds(const std::vector<std::string>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& text) { return text.find(part) != std::string::npos; });
}

// Fetching as a browser does: cookies kept between requests and read from a cookies.txt,
// compressed answers.
class BrowserFetchTest : public PipelineTest {
 protected:
  void AddPhoto(TestSite& on, const std::string& path) {
    on.Add(path, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300));
  }
  // Writes a cookies.txt for the scan to read.
  std::string UseCookiesFile(const std::string& lines) {
    const std::string path = (dir / "cookies.txt").string();
    std::ofstream(path) << "# Netscape HTTP Cookie File\n\n" << lines;
    options.cookiesFile = path;
    return path;
  }
  // Nothing the scan shows or stores holds the text.
  void ExpectNowhere(const std::string& secret) {
    EXPECT_EQ(observer.results.find(secret), std::string::npos);
    for (const ScanFailure& failure : observer.failures)
      EXPECT_EQ(failure.reason.find(secret), std::string::npos);
    for (const std::string& line : observer.pageLines)
      EXPECT_EQ(line.find(secret), std::string::npos);
    for (const ScanHistoryRecord& row : StoredHistory())
      EXPECT_EQ(row.url.find(secret), std::string::npos);
    EXPECT_FALSE(AnyHolds(messages.Texts(), secret));
  }
};

TEST_F(BrowserFetchTest, PhotosGetTheSessionCookieTheirPageSet) {
  site.AddPage("/gallery/index.html", "<img src=\"a.jpg\"><a href=\"b.jpg\">B</a>");
  site.SetCookieOn("/gallery/index.html", "session=k3y-42; Path=/gallery; HttpOnly");
  for (const std::string name : {"/gallery/a.jpg", "/gallery/b.jpg"}) {
    AddPhoto(site, name);
    site.RequireCookie(name, "session=k3y-42");
  }

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"a.jpg", "b.jpg"}));
  ExpectNowhere("k3y-42");
}

TEST_F(BrowserFetchTest, ACookiesFileOpensAMembersPageAndIsNeverWritten) {
  site.AddPage("/gallery/index.html", "<img src=\"member.jpg\">");
  site.RequireCookie("/gallery/index.html", "member=s3cret");
  AddPhoto(site, "/gallery/member.jpg");
  site.RequireCookie("/gallery/member.jpg", "member=s3cret");
  const std::string file =
      UseCookiesFile("#HttpOnly_127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\ts3cret\n");
  const std::string before = ReadAll(file);
  // What the server sets is kept for the scan, not written to the user's file.
  site.SetCookieOn("/gallery/index.html", "seen=1; Path=/");

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), std::set<std::string>{"member.jpg"});
  EXPECT_EQ(ReadAll(file), before);
  ExpectNowhere("s3cret");
}

TEST_F(BrowserFetchTest, ACookieGoesOnlyToTheHostItBelongsTo) {
  TestSite other("127.0.0.2");
  AddPhoto(site, "/gallery/here.jpg");
  AddPhoto(other, "/far.jpg");
  site.AddPage("/gallery/index.html",
               "<img src=\"here.jpg\"><img src=\"" + other.URL("/far.jpg") + "\">");
  // A page may not set a cookie for another host.
  site.SetCookieOn("/gallery/index.html", "planted=1; Domain=127.0.0.2; Path=/");
  UseCookiesFile(
      "127.0.0.1\tFALSE\t/\tFALSE\t0\tnear\tfor-one\n"
      "127.0.0.2\tFALSE\t/\tFALSE\t0\tfar\tfor-two\n");

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"here.jpg", "far.jpg"}));
  const std::vector<std::string> near = site.CookiesReceived("/gallery/here.jpg");
  const std::vector<std::string> far = other.CookiesReceived("/far.jpg");
  ASSERT_FALSE(near.empty());
  ASSERT_FALSE(far.empty());
  EXPECT_TRUE(AnyHolds(near, "near=for-one"));
  EXPECT_TRUE(AnyHolds(far, "far=for-two"));
  for (const std::string_view part : {"far=", "planted"})
    EXPECT_FALSE(AnyHolds(near, std::string(part))) << part;
  for (const std::string_view part : {"near=", "planted"})
    EXPECT_FALSE(AnyHolds(far, std::string(part))) << part;
}

// A scan told to send cookies it cannot read does not start, and says why.
TEST_F(BrowserFetchTest, ACookiesFileThatCannotBeReadStopsTheScanBeforeItStarts) {
  struct Case {
    const char* name;
    std::string content;  // none: the file is missing
    const char* says;
  };
  const std::vector<Case> cases = {
      {"missing", {}, "No such file"},
      {"not cookies", "<html>a saved page</html>\n", "holds no cookie"},
  };
  site.AddPage("/gallery/index.html", "<img src=\"a.jpg\">");
  for (const Case& c : cases) {
    const std::string path = (dir / (std::string(c.name) + ".txt")).string();
    if (!c.content.empty()) std::ofstream(path) << c.content;
    options.cookiesFile = path;
    messages.requests.clear();
    EXPECT_FALSE(controller.StartScan(project, options)) << c.name;
    const std::vector<std::string> texts = messages.Texts();
    ASSERT_EQ(texts.size(), 1U) << c.name;
    EXPECT_NE(texts[0].find(path), std::string::npos) << c.name;
    EXPECT_NE(texts[0].find(c.says), std::string::npos) << texts[0];
  }
  EXPECT_EQ(site.TotalRequests(), 0);
}

// Compressed pages and photos are read decoded; the size limits count decoded bytes, so a
// bomb stops at them and says why.
TEST_F(BrowserFetchTest, CompressedAnswersAreDecodedAndABombStopsAtTheLimit) {
  options.web.maxPageBytes = 1024 * 1024;
  options.web.maxPhotoBytes = 1024 * 1024;
  const std::string photo = MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300);
  site.AddGzipped("/gallery/index.html", "text/html",
                  Gzip("<img src=\"packed.jpg\"><img src=\"bomb.jpg\">"
                       "<a href=\"huge.html\">more</a>"));
  site.AddGzipped("/gallery/packed.jpg", "image/jpeg", Gzip(photo));
  site.AddGzipped("/gallery/bomb.jpg", "image/jpeg", Gzip(photo + std::string(8 << 20, '\0')));
  // A page that names its photo, then grows without end.
  site.AddGzipped(
      "/gallery/huge.html", "text/html",
      Gzip("<img src=\"early.jpg\">" + std::string(8 << 20, ' ') + "<img src=\"late.jpg\">"));
  AddPhoto(site, "/gallery/early.jpg");
  AddPhoto(site, "/gallery/late.jpg");

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"packed.jpg", "early.jpg"}));
  EXPECT_EQ(ReadAll(InSaveTo("packed.jpg")), photo);
  EXPECT_EQ(site.Requests("/gallery/late.jpg"), 0);
  ASSERT_EQ(observer.failures.size(), 1U);
  EXPECT_EQ(observer.failures[0].url, site.URL("/gallery/bomb.jpg"));
  EXPECT_EQ(observer.failures[0].reason, "larger than 1 MB");
  EXPECT_NE(observer.results.find("Pages larger than 1 MB were read only that far."),
            std::string::npos)
      << observer.results;
}

}  // namespace
}  // namespace trawlix::testing
