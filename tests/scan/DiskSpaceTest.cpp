#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "scan/store/DiskSpace.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

dev_t DeviceOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_dev;
}

TEST(CheckFreeDiskSpace, NeedsOneHundredMebibytes) {
  const struct {
    std::uint64_t freeBytes;
    bool enough;
  } cases[] = {{0, false},
               {kRequiredFreeBytes - 1, false},
               {kRequiredFreeBytes, true},
               {kRequiredFreeBytes * 1000, true}};
  for (const auto& c : cases) {
    testing::RecordingMessageSink messages;
    EXPECT_EQ(CheckFreeDiskSpace(VolumeSpace{"/srv/photos", c.freeBytes}, messages), c.enough)
        << c.freeBytes;
    EXPECT_EQ(messages.requests.size(), c.enough ? 0U : 1U) << c.freeBytes;
  }
}

TEST(CheckFreeDiskSpace, MessageNamesTheMountPoint) {
  testing::RecordingMessageSink messages;
  ASSERT_FALSE(CheckFreeDiskSpace(VolumeSpace{"/media/usb", 5}, messages));
  ASSERT_EQ(messages.requests.size(), 1U);
  const MessageRequest& shown = messages.requests[0];
  EXPECT_EQ(shown.text,
            "There's not enough disk space available on Drive (/media/usb) to continue.\n\n"
            "Trawlix() PRO requires around 100MB of Free Disk Space to download and process "
            "photos.");
  EXPECT_EQ(shown.caption, "Trawlix() PRO");
  EXPECT_EQ(shown.icon, MessageIcon::Information);
  EXPECT_EQ(shown.buttons, MessageButtons::Ok);
}

TEST(QueryVolumeSpace, MissingFolderIsMeasuredOnItsNearestParent) {
  testing::TempDir dir;
  const VolumeSpace existing = QueryVolumeSpace(dir.str());
  const VolumeSpace missing = QueryVolumeSpace((dir / "not" / "yet" / "made").string());
  EXPECT_EQ(missing.mountPoint, existing.mountPoint);
  EXPECT_GT(existing.freeBytes, 0U);
  EXPECT_GT(missing.freeBytes, 0U);
  EXPECT_EQ(QueryVolumeSpace("").mountPoint, QueryVolumeSpace(fs::current_path()).mountPoint);
}

TEST(QueryVolumeSpace, MountPointIsTheTopOfTheFolderFileSystem) {
  EXPECT_EQ(QueryVolumeSpace("/").mountPoint, "/");
  EXPECT_EQ(QueryVolumeSpace("/no-such-folder/below").mountPoint, "/");

  testing::TempDir dir;
  const fs::path mount = QueryVolumeSpace(dir.str()).mountPoint;
  const fs::path folder = fs::canonical(dir.path());
  EXPECT_EQ(folder.string().rfind(mount.string(), 0), 0U) << folder << " on " << mount;
  EXPECT_EQ(DeviceOf(mount), DeviceOf(folder));
  if (mount != mount.root_path()) {
    EXPECT_NE(DeviceOf(mount.parent_path()), DeviceOf(mount));
  }
}

}  // namespace
}  // namespace trawlix
