#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "base/Guid.h"
#include "base/TaskTimer.h"

namespace trawlix {
namespace {

TEST(GuidTest, UpperCaseFiveGroupsWithoutBraces) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    std::string text = "unchanged";
    ASSERT_TRUE(NewGUIDString(text));
    ASSERT_EQ(text.size(), 36u) << text;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
      const bool dash = pos == 8 || pos == 13 || pos == 18 || pos == 23;
      if (dash) {
        EXPECT_EQ(text[pos], '-') << text;
      } else {
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(text[pos])) &&
                    !std::islower(static_cast<unsigned char>(text[pos])))
            << text;
      }
    }
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 50u);
}

class TaskTimerTest : public ::testing::Test {
 protected:
  std::int64_t now = 1'000'000;
  CXTaskTimer timer{[this] { return now; }};
};

TEST_F(TaskTimerTest, StartStopMeasuresWholeSeconds) {
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Stopped);
  EXPECT_EQ(timer.ElapsedSeconds(), 0);
  timer.Start();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Running);
  EXPECT_EQ(timer.ElapsedSeconds(), 0);
  now += 42;
  EXPECT_EQ(timer.ElapsedSeconds(), 42);
  timer.Stop();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Stopped);
  now += 100;
  EXPECT_EQ(timer.ElapsedSeconds(), 42);
  timer.Stop();  // a second stop keeps the measured time
  EXPECT_EQ(timer.ElapsedSeconds(), 42);
  timer.Start();
  EXPECT_EQ(timer.ElapsedSeconds(), 0);
}

TEST_F(TaskTimerTest, PauseFreezesTheShownTimeButTheClockKeepsCounting) {
  timer.Start();
  now += 10;
  timer.Pause();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Paused);
  now += 50;
  EXPECT_EQ(timer.ElapsedSeconds(), 10);
  timer.Pause();  // no effect while paused
  timer.Resume();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Running);
  EXPECT_EQ(timer.ElapsedSeconds(), 60);
  timer.Resume();
  EXPECT_TRUE(timer.IsRunning());
  timer.Pause();
  now += 5;
  timer.Stop();
  EXPECT_EQ(timer.ElapsedSeconds(), 65);
}

TEST_F(TaskTimerTest, ResumeOrPauseOnStoppedTimerChangeNothing) {
  timer.Resume();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Stopped);
  timer.Pause();
  EXPECT_EQ(timer.GetState(), CXTaskTimer::Stopped);
}

TEST(TaskTimerTextTest, HoursMinutesSeconds) {
  EXPECT_EQ(CXTaskTimer::FormatSeconds(0), "0:00:00");
  EXPECT_EQ(CXTaskTimer::FormatSeconds(59), "0:00:59");
  EXPECT_EQ(CXTaskTimer::FormatSeconds(61), "0:01:01");
  EXPECT_EQ(CXTaskTimer::FormatSeconds(3600 * 27 + 125), "27:02:05");
  EXPECT_EQ(CXTaskTimer::FormatSeconds(-3), "0:00:00");
  std::int64_t now = 0;
  CXTaskTimer timer([&now] { return now; });
  timer.Start();
  now = 3725;
  EXPECT_EQ(timer.ElapsedText(), "1:02:05");
}

}  // namespace
}  // namespace trawlix
