#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/WritableFolder.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

// Root writes through permission bits, so the folders that cannot be written here are ones
// no user can write: below a regular file, and in /proc.
TEST(WritableFolderTest, GivesTheSystemsReasonAndLeavesNoProbeBehind) {
  testing::TempDir dir;
  std::ofstream(dir / "file") << "x";
  struct Case {
    std::string folder;
    std::string problem;  // empty: writable
  };
  const Case cases[] = {
      {dir.str(), ""},
      {(dir / "new" / "deeper").string(), ""},
      {(dir / "file" / "photos").string(), std::strerror(ENOTDIR)},
      {(dir / "file").string(), std::strerror(ENOTDIR)},
      {"", std::strerror(ENOENT)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderWriteProblem(c.folder), c.problem) << c.folder;
  }
  EXPECT_TRUE(fs::is_directory(dir / "new" / "deeper"));
  EXPECT_TRUE(fs::is_empty(dir / "new" / "deeper"));
  EXPECT_FALSE(FolderWriteProblem("/proc/trawlix-photos").empty());
  EXPECT_FALSE(FolderWriteProblem("/proc/self").empty());
}

}  // namespace
}  // namespace trawlix
