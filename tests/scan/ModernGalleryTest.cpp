#include <fstream>
#include <iterator>

#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

// A photo of the gallery: where the site serves it and what it is.
struct GalleryPhoto {
  std::string path;
  TestPhotoKind kind;
  int width;
  int height;
};

std::string FileHead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(4, '\0');
  in.read(head.data(), 4);
  return head;
}

class ModernGalleryTest : public PipelineTest {
 protected:
  void AddPhotos(const std::vector<GalleryPhoto>& photos) {
    for (const GalleryPhoto& photo : photos) {
      const std::string type = photo.kind == TestPhotoKind::WebP   ? "image/webp"
                               : photo.kind == TestPhotoKind::Avif ? "image/avif"
                                                                   : "image/jpeg";
      site.Add(photo.path, type, MakeTestPhoto(photo.kind, photo.width, photo.height));
    }
  }
};

constexpr const char* kPlaceholder =
    "data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7";

// Every way a modern gallery shows its photos, each photo offered in several versions: the
// largest version of each is saved once, as JPEG, and no smaller version is fetched.
TEST_F(ModernGalleryTest, SavesTheLargestVersionOfEachPhotoOnce) {
  using K = TestPhotoKind;
  AddPhotos({
      {"/gallery/img/w-300.jpg", K::Jpeg, 300, 220},
      {"/gallery/img/w-600.jpg", K::Jpeg, 600, 440},
      {"/gallery/img/w-1200.jpg", K::Jpeg, 1200, 880},
      {"/gallery/img/x1.jpg", K::Jpeg, 300, 220},
      {"/gallery/img/x2.jpg", K::Jpeg, 600, 440},
      {"/gallery/img/pic-small.jpg", K::Jpeg, 320, 240},
      {"/gallery/img/pic.webp", K::WebP, 900, 600},
      {"/gallery/img/pic.jpg", K::Jpeg, 900, 600},
      {"/gallery/img/hero.avif", K::Avif, 1600, 900},
      {"/gallery/img/hero-800.jpg", K::Jpeg, 800, 450},
      {"/gallery/img/ls-400.jpg", K::Jpeg, 400, 300},
      {"/gallery/img/ls-900.jpg", K::Jpeg, 900, 600},
      {"/gallery/img/four-250.jpg", K::Jpeg, 250, 250},
      {"/gallery/img/four-500.jpg", K::Jpeg, 500, 500},
      {"/gallery/img/four-1000.jpg", K::Jpeg, 1000, 1000},
      {"/gallery/img/four-2000.jpg", K::Jpeg, 2000, 2000},
      {"/gallery/img/thumb.jpg", K::Jpeg, 150, 150},
      {"/gallery/css/inline.jpg", K::Jpeg, 640, 400},
      {"/gallery/css/block.jpg", K::Jpeg, 640, 400},
      {"/gallery/css/bullet.jpg", K::Jpeg, 640, 400},
      {"/gallery/og.jpg", K::Jpeg, 1200, 630},
      {"/gallery/image-src.jpg", K::Jpeg, 500, 500},
      {"/gallery/leaf.webp", K::WebP, 400, 300},
      {"/gallery/stone.avif", K::Avif, 300, 400},
      {"/gallery/disguised.jpg", K::WebP, 500, 400},
      {"/gallery/jpeg-inside.webp", K::Jpeg, 500, 400},
  });
  // Each lazy loader's attribute, with a placeholder (or a thumbnail) in "src".
  const std::vector<std::string> lazy = {"data-src",  "data-original", "data-lazy-src",
                                         "data-full", "data-large",    "data-hi-res"};
  std::string lazyImages;
  for (const std::string& attribute : lazy) {
    AddPhotos({{"/gallery/lazy/" + attribute + ".jpg", K::Jpeg, 500, 350}});
    lazyImages += "<img src=\"" + std::string(kPlaceholder) + "\" " + attribute + "=\"lazy/" +
                  attribute + ".jpg\">\n";
  }
  // Cut short: never a photo, and never replaced by half of one.
  std::string broken = MakeTestPhoto(K::WebP, 800, 600);
  broken.resize(broken.size() / 2);
  site.Add("/gallery/broken.webp", "image/webp", broken);

  site.AddPage("/gallery/index.html",
               "<html><head>\n"
               "<meta content=\"" +
                   site.URL("/gallery/og.jpg") +
                   "\" property=\"og:image\">\n"
                   "<link rel=\"image_src\" href=\"image-src.jpg\">\n"
                   "<style>\n"
                   "  .hero { background: #000 url(css/block.jpg) no-repeat; }\n"
                   "  ul { list-style-image: url(\"css/bullet.jpg\"); }\n"
                   "  @font-face { src: url(fonts/a.woff2); }\n"
                   "</style></head><body>\n"
                   "<img src=\"img/w-300.jpg\" srcset=\"img/w-300.jpg 300w, img/w-1200.jpg 1200w, "
                   "img/w-600.jpg 600w\" sizes=\"100vw\">\n"
                   "<img src=\"img/x1.jpg\" srcset=\"img/x1.jpg 1x, img/x2.jpg 2x\">\n"
                   "<picture>\n"
                   "  <source type=\"image/webp\" srcset=\"img/pic.webp 900w\">\n"
                   "  <source type=\"image/jpeg\" srcset=\"img/pic.jpg 900w\">\n"
                   "  <img src=\"img/pic-small.jpg\" alt=\"Pic\">\n"
                   "</picture>\n"
                   "<picture>\n"
                   "  <source type=\"image/avif\" srcset=\"img/hero.avif 1600w\">\n"
                   "  <source srcset=\"img/hero-800.jpg 800w\">\n"
                   "  <img src=\"img/hero-800.jpg\">\n"
                   "</picture>\n"
                   "<img src=\"" +
                   kPlaceholder + "\" data-srcset=\"img/ls-400.jpg 400w, img/ls-900.jpg 900w\">\n" +
                   lazyImages +
                   "<img src=\"img/four-250.jpg\" srcset=\"img/four-500.jpg 500w, "
                   "img/four-1000.jpg 1000w\" data-zoom-image=\"img/four-2000.jpg\">\n"
                   "<a href=\"img/four-2000.jpg\"><img src=\"img/thumb.jpg\"></a>\n"
                   "<div class=\"hero\" style=\"background-image: url('css/inline.jpg')\"></div>\n"
                   "<img src=\"leaf.webp\"><img src=\"stone.avif\"><img src=\"disguised.jpg\">"
                   "<a href=\"jpeg-inside.webp\">JPEG</a>\n"
                   "<img src=\"broken.webp\">\n"
                   "</body></html>\n");

  ASSERT_TRUE(RunScan());

  std::set<std::string> expected = {"w-1200.jpg", "x2.jpg",        "pic.jpg",       "hero.jpg",
                                    "ls-900.jpg", "four-2000.jpg", "inline.jpg",    "block.jpg",
                                    "bullet.jpg", "og.jpg",        "image-src.jpg", "leaf.jpg",
                                    "stone.jpg",  "disguised.jpg"};
  for (const std::string& attribute : lazy) expected.insert(attribute + ".jpg");
  expected.insert("jpeg-inside.jpg");  // a JPEG that came under a WebP name
  EXPECT_EQ(FilesIn(SaveTo()), expected);
  for (const std::string& name : expected) {
    EXPECT_EQ(FileHead(InSaveTo(name)).substr(0, 3), "\xFF\xD8\xFF") << name << " is no JPEG";
  }
  // The smaller versions are never fetched.
  for (const std::string_view smaller :
       {"/gallery/img/w-300.jpg", "/gallery/img/w-600.jpg", "/gallery/img/x1.jpg",
        "/gallery/img/pic-small.jpg", "/gallery/img/pic.webp", "/gallery/img/hero-800.jpg",
        "/gallery/img/ls-400.jpg", "/gallery/img/four-250.jpg", "/gallery/img/four-500.jpg",
        "/gallery/img/four-1000.jpg"}) {
    EXPECT_EQ(site.Requests(std::string(smaller)), 0) << smaller;
  }
  EXPECT_EQ(site.Requests("/gallery/img/four-2000.jpg"), 1);
  EXPECT_EQ(observer.saved.size(), expected.size());
}

// A relative base address is taken against the page that holds it, and steers the photos of
// that page after it.
TEST_F(ModernGalleryTest, RelativeBaseHrefResolvesAgainstItsPage) {
  AddPhotos({{"/shared/photos/based.jpg", TestPhotoKind::Jpeg, 400, 300},
             {"/gallery/before.jpg", TestPhotoKind::Jpeg, 400, 300}});
  site.AddPage("/gallery/index.html",
               "<img src=\"before.jpg\"><base href=\"../shared/photos/\"><img src=\"based.jpg\">");

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"based.jpg", "before.jpg"}));
  EXPECT_EQ(site.Requests("/shared/photos/based.jpg"), 1);
}

// WebP and AVIF photos are photos only for a project that wants JPEG, in which they are stored.
TEST_F(ModernGalleryTest, WebPhotosNeedJpegWanted) {
  AddPhotos({{"/gallery/leaf.webp", TestPhotoKind::WebP, 400, 300},
             {"/gallery/stone.avif", TestPhotoKind::Avif, 400, 300},
             {"/gallery/plain.png", TestPhotoKind::Png, 400, 300}});
  site.Add("/gallery/webp-as.png", "image/png", MakeTestPhoto(TestPhotoKind::WebP, 400, 300));
  site.AddPage("/gallery/index.html",
               "<img src=leaf.webp><img src=stone.avif><img src=plain.png><img src=webp-as.png>");
  project.jpeg = false;

  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"plain.png"}));
  EXPECT_EQ(site.Requests("/gallery/leaf.webp"), 0);
  EXPECT_EQ(site.Requests("/gallery/stone.avif"), 0);
}

}  // namespace
}  // namespace trawlix::testing
