#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "base/Guid.h"
#include "base/TaskTimer.h"

namespace trawlix {
namespace {

TEST(GuidTest, UniqueUpperCaseFiveGroupsWithoutBraces) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    std::string text;
    ASSERT_TRUE(NewGUIDString(text));
    ASSERT_EQ(text.size(), 36u) << text;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
      const auto c = static_cast<unsigned char>(text[pos]);
      const bool dash = pos == 8 || pos == 13 || pos == 18 || pos == 23;
      EXPECT_TRUE(dash ? c == '-' : std::isxdigit(c) && !std::islower(c)) << text;
    }
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 50u);
}

TEST(TaskTimerTest, StopKeepsItsTimeAndPauseFreezesOnlyTheShownTime) {
  std::int64_t now = 1'000'000;
  TaskTimer timer([&now] { return now; });
  timer.Resume();  // no effect while stopped
  timer.Pause();
  EXPECT_EQ(timer.GetState(), TaskTimer::Stopped);
  timer.Start();
  now += 42;
  timer.Stop();
  now += 100;
  timer.Stop();  // a second stop keeps the measured time
  EXPECT_EQ(timer.ElapsedSeconds(), 42);

  timer.Start();
  EXPECT_EQ(timer.ElapsedSeconds(), 0);
  now += 10;
  timer.Pause();
  now += 50;
  timer.Pause();
  EXPECT_EQ(timer.GetState(), TaskTimer::Paused);
  EXPECT_EQ(timer.ElapsedSeconds(), 10);
  timer.Resume();  // the clock went on counting during the pause
  EXPECT_EQ(timer.ElapsedSeconds(), 60);
  now += 3665;
  EXPECT_EQ(timer.ElapsedText(), "1:02:05");
}

TEST(TaskTimerTest, FormatsHoursMinutesSeconds) {
  EXPECT_EQ(TaskTimer::FormatSeconds(0), "0:00:00");
  EXPECT_EQ(TaskTimer::FormatSeconds(61), "0:01:01");
  EXPECT_EQ(TaskTimer::FormatSeconds(3600 * 27 + 125), "27:02:05");
  EXPECT_EQ(TaskTimer::FormatSeconds(-3), "0:00:00");  // the clock was set back
}

}  // namespace
}  // namespace trawlix
