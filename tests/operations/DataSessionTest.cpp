#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "operations/DataSession.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

// A new settings file takes the screen's resolution where there is a screen; the command
// line has none and keeps 96. A file already there keeps what it holds.
TEST(DataSessionTest, NewSettingsTakeTheScreensResolution) {
  testing::TempDir dir;
  testing::HomeOverride home(dir.str());
  testing::RecordingMessageSink messages;
  const struct {
    const char* folder;
    std::optional<int> screen;
    int dpi;
  } cases[] = {{"screen", 144, 144}, {"none", std::nullopt, 96}};
  for (const auto& c : cases) {
    std::string error;
    const std::string data = (dir / c.folder).string();
    auto session = DataSession::Open(data, messages, error, c.screen);
    ASSERT_TRUE(session) << error;
    EXPECT_EQ(session->settings().Values().photoDpi, c.dpi) << c.folder;
    session.reset();
    session = DataSession::Open(data, messages, error, 72);
    ASSERT_TRUE(session) << error;
    EXPECT_EQ(session->settings().Values().photoDpi, c.dpi) << "kept: " << c.folder;
  }
}

}  // namespace
}  // namespace trawlix
