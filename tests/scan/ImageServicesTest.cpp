#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

// One image address of the page and what the site answers there.
struct Served {
  std::string markup;       // the element, as the page holds it
  std::string path;         // on the site; empty: nothing is served (404)
  std::string contentType;  // of the answer
  std::string body;
};

class ImageServicesTest : public PipelineTest {};

std::string Jpeg(int width, int height) {
  return MakeTestPhoto(TestPhotoKind::Jpeg, width, height);
}

// A large answer that is no photo, so what its refusal cost shows in the bytes served.
std::string LargePage() {
  return "<html><body>" + std::string(512 * 1024, 'x') + "</body></html>";
}

TEST_F(ImageServicesTest, ImageAddressesAreJudgedByTheirAnswer) {
  const std::string red = Jpeg(420, 300);
  const std::vector<Served> cases = {
      {"<img src=\"/cdn/img/a8f3c\">", "/cdn/img/a8f3c", "image/jpeg", Jpeg(400, 300)},
      // The query asks for the size the page shows; without it the photo is too small.
      {"<img src=\"/photos/blue.jpg?w=1600&amp;fm=jpg\">", "/photos/blue.jpg?w=1600&fm=jpg",
       "image/jpeg", Jpeg(640, 480)},
      {"", "/photos/blue.jpg", "image/jpeg", Jpeg(100, 80)},
      // Named by what arrived: a PNG under a JPEG name, a photo with no extension at all.
      {"<img data-src=\"/cdn/png/77\" src=\"/spacer.gif\">", "/cdn/png/77", "image/png",
       MakeTestPhoto(TestPhotoKind::Png, 300, 400)},
      {"<picture><source srcset=\"/cdn/pic/k9 2x\"><img src=\"/cdn/pic/k9s\"></picture>",
       "/cdn/pic/k9", "", MakeTestPhoto(TestPhotoKind::Gif, 300, 300)},
      // The same photo through a second address is saved once.
      {"<img src=\"/mirror/red\">", "/mirror/red", "image/jpeg", red},
      {"<img src=\"/cdn/red?v=2\">", "/cdn/red", "image/jpeg", red},
      // An optimizer's address: its original is fetched, and the optimizer only when that fails.
      {"<img src=\"/_next/image?url=%2Fphotos%2Fgreen.jpg&amp;w=1920&amp;q=75\">",
       "/photos/green.jpg", "image/jpeg", Jpeg(800, 600)},
      {"<img src=\"/_next/image?url=%2Fgone%2Fyellow.jpg&amp;w=640\">",
       "/_next/image?url=%2Fgone%2Fyellow.jpg&w=640", "image/jpeg", Jpeg(660, 480)},
      // No photo: an HTML answer, bytes that are no photo, a missing one, a link to a page.
      {"<img src=\"/cdn/page/1\">", "/cdn/page/1", "text/html", LargePage()},
      {"<img src=\"/cdn/bytes/3\">", "/cdn/bytes/3", "application/octet-stream", LargePage()},
      {"<img src=\"/cdn/missing/2\">", "", "", ""},
      // Followed as a page, never saved as a photo.
      {"<a href=\"/cdn/img/linked\">photo</a>", "/cdn/img/linked", "image/jpeg", Jpeg(400, 300)},
  };
  std::string page = "<html><body>";
  for (const Served& served : cases) {
    page += served.markup + "\n";
    if (served.path.empty()) continue;
    if (served.body.size() > 100'000)
      site.AddMetered(served.path, served.contentType, served.body);
    else
      site.Add(served.path, served.contentType, served.body);
  }
  site.AddPage("/index.html", page + "</body></html>");
  project.url = site.URL("/index.html");
  project.gif = 1;
  options.skipRemembered = true;

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"a8f3c.jpg", "blue.jpg", "77.png", "k9.gif",
                                                      "red.jpg", "green.jpg", "yellow.jpg"}));
  EXPECT_EQ(site.Requests("/_next/image"), 1);
  EXPECT_EQ(site.Requests("/gone/yellow.jpg"), 1);
  EXPECT_EQ(site.Requests("/cdn/pic/k9s"), 0);
  // A refused answer costs its first bytes, not its body.
  for (const std::string path : {"/cdn/page/1", "/cdn/bytes/3"}) {
    EXPECT_EQ(site.Requests(path), 1) << path;
    EXPECT_LT(site.BytesServed(path), 128u * 1024) << path;
  }
  ASSERT_FALSE(observer.rows.empty());
  const ScanHistoryRecord& row = observer.rows.back();
  EXPECT_EQ(row.totalImages, 11);
  EXPECT_EQ(row.savedImages, 7);
  // The second address of the same photo, the two answers that were no photo, the missing one.
  EXPECT_EQ(row.skippedImages, 4);
}

}  // namespace
}  // namespace trawlix::testing
