#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "operations/GrayscaleRun.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

// Both front ends start the run through this plan, so they agree on where the copies go.
TEST(GrayscaleRun, CopiesIntoTheProjectsOwnFolderRunInPlaceAndCopiesAreNotConvertedAgain) {
  testing::TempDir dir;
  const std::string project = (dir / "photos").string();
  const std::string copies = project + "/Gray";
  const std::vector<std::string> photos = {project + "/a.jpg", copies + "/a.jpg",
                                           project + "/grayish.jpg"};
  std::ofstream(dir / "file") << "x";
  struct Case {
    bool replace;
    std::string folder;
    bool planned, inPlace;
    std::size_t photos;
  };
  const Case cases[] = {
      {true, "", true, true, 3},
      {false, copies, true, false, 2},
      {false, " " + copies + "/ ", true, false, 2},
      {false, project + "/", true, true, 3},
      {false, "", false, false, 0},
      {false, (dir / "file" / "sub").string(), false, false, 0},
  };
  for (const Case& c : cases) {
    const auto run = PlanGrayscaleRun(project, photos, c.replace, c.folder);
    ASSERT_EQ(run.has_value(), c.planned) << c.folder;
    if (!run) continue;
    EXPECT_EQ(run->options.replace, c.inPlace) << c.folder;
    EXPECT_EQ(run->photos.size(), c.photos) << c.folder;
    EXPECT_EQ(std::filesystem::is_directory(run->options.folder), !c.inPlace) << c.folder;
  }
}

}  // namespace
}  // namespace trawlix
