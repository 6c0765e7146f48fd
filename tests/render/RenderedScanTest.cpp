#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "frontend/QtUiThread.h"
#include "frontend/Rendering.h"
#include "scan/PipelineFixture.h"
#include "scan/PipelineTestSite.h"
#include "scan/engine/ScanController.h"
#include "storage/ProjectRendering.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::testing {
namespace {

using namespace std::chrono_literals;

// A scan on Qt's event loop with the page renderer, as the front ends run it: the rendering
// library is loaded when the first page needs it.
class RenderedScanTest : public ::testing::Test {
 protected:
  RenderedScanTest() {
    project.id = 3;
    project.title = "Rendered";
    project.url = site.URL("/gallery/index.html");
    project.saveTo = (dir.path() / "Photos").string();
    project.jpeg = 1;
    project.searchSubFolders = 1;
    project.filterMinimumSize = 1;
    project.minimumSize = 100;
    project.padding = 3;
    options.tempFolder = (dir.path() / "Temp").string();
    options.databasePath = (dir.path() / "Projects.txdb").string();
    options.setResolution = false;
    options.skipRemembered = false;
    controller.SetRenderer(renderer.get());
  }

  bool RunScan() {
    if (!controller.StartScan(project, options)) return false;
    return RunEventsUntil([&] { return observer.ended > 0; }, 120s);
  }
  void AddPhotos(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
      site.Add(path, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300));
  }
  std::vector<std::string> SavedNames() const {
    std::vector<std::string> names;
    for (const std::string& path : observer.saved)
      names.push_back(std::filesystem::path(path).filename().string());
    return names;
  }

  TempDir dir;
  TestSite site;
  QtUiThread ui;
  RecordingMessageSink messages;
  RecordingObserver observer;
  std::unique_ptr<PageRenderer> renderer = MakePageRenderer();
  ScanController controller{ui, messages, observer};
  ProjectsRecord project;
  ScanOptions options;
};

// A gallery a script builds from data it fetches, loading the next photos each time it is
// scrolled to its end: every batch is found, the photos are downloaded by the scan itself in
// the order of the document, and the status and results say a page was rendered.
TEST_F(RenderedScanTest, FindsThePhotosAScrolledGalleryLoads) {
  site.AddPage("/gallery/index.html", R"(<html><head><style>
    .tile { height: 700px; }
  </style></head><body><div id="grid"></div><script>
    let next = 1, loading = false;
    function more() {
      if (loading || next > 3) return;
      loading = true;
      fetch('batch' + next + '.json').then(r => r.json()).then(names => {
        for (const name of names) {
          const tile = document.createElement('div');
          tile.className = 'tile';
          tile.innerHTML = '<img src="photos/' + name + '">';
          grid.appendChild(tile);
        }
        ++next;
        loading = false;
      });
    }
    window.addEventListener('scroll', () => {
      if (window.innerHeight + window.scrollY >= document.body.scrollHeight - 50) more();
    });
    more();
  </script></body></html>)");
  site.Add("/gallery/batch1.json", "application/json", R"(["b1.jpg", "a1.jpg"])");
  site.Add("/gallery/batch2.json", "application/json", R"(["b2.jpg", "a2.jpg"])");
  site.Add("/gallery/batch3.json", "application/json", R"(["b3.jpg", "a3.jpg"])");
  AddPhotos({"/gallery/photos/a1.jpg", "/gallery/photos/b1.jpg", "/gallery/photos/a2.jpg",
             "/gallery/photos/b2.jpg", "/gallery/photos/a3.jpg", "/gallery/photos/b3.jpg"});

  ASSERT_TRUE(RunScan());
  // One page's photos are stored in address order, as for markup.
  EXPECT_EQ(SavedNames(),
            (std::vector<std::string>{"a1.jpg", "a2.jpg", "a3.jpg", "b1.jpg", "b2.jpg", "b3.jpg"}));
  EXPECT_EQ(controller.Counters().pagesRendered, 1);
  EXPECT_EQ(controller.Counters().photosSaved, 6);
  EXPECT_TRUE(std::any_of(observer.pageLines.begin(), observer.pageLines.end(),
                          [](const std::string& line) { return line.ends_with("(1 rendered)"); }));
  EXPECT_NE(observer.results.find("1 page was rendered"), std::string::npos) << observer.results;
  EXPECT_TRUE(observer.failures.empty());
}

// Automatically, only a page whose markup has scripts and no wanted photo is rendered; always,
// every page; never, none. Either way the photos come in the order of the pages.
TEST_F(RenderedScanTest, RendersOnlyThePagesTheModeAsksFor) {
  site.AddPage("/gallery/index.html", R"(<html><body>
    <img src="static.jpg"><script>console.log('analytics');</script>
    <a href="built.html">built</a> <a href="plain.html">plain</a>
  </body></html>)");
  // The address is put together by the script, so that no literal in the markup names it.
  site.AddPage("/gallery/built.html", R"(<html><body><script>
    const img = document.createElement('img');
    img.src = ['scripted', 'jpg'].join('.');
    document.body.appendChild(img);
  </script></body></html>)");
  site.AddPage("/gallery/plain.html", "<html><body><p>No photos here.</p></body></html>");
  AddPhotos({"/gallery/static.jpg", "/gallery/scripted.jpg"});

  struct Case {
    RenderMode mode;
    bool fromProject;  // the project's choice, else the scan's
    std::int64_t rendered;
    std::vector<std::string> saved;
  };
  for (const Case& c : std::vector<Case>{
           {RenderMode::Automatic, true, 1, {"static.jpg", "scripted.jpg"}},
           {RenderMode::Always, false, 3, {"static.jpg", "scripted.jpg"}},
           {RenderMode::Never, true, 0, {"static.jpg"}},
       }) {
    SCOPED_TRACE(std::string(RenderModeName(c.mode)));
    std::filesystem::remove_all(project.saveTo);
    observer = RecordingObserver();
    options.render.reset();
    if (c.fromProject) {
      ASSERT_TRUE(SaveRenderMode(options.databasePath, project.id, c.mode));
    } else {
      options.render = c.mode;
    }
    ASSERT_TRUE(RunScan());
    EXPECT_EQ(controller.Counters().pagesRendered, c.rendered);
    EXPECT_EQ(controller.Counters().pagesScanned, 3);
    EXPECT_EQ(SavedNames(), c.saved);
  }
}

}  // namespace
}  // namespace trawlix::testing
