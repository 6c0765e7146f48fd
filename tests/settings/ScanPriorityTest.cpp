#include <gtest/gtest.h>

#include "settings/ScanPriorityLevels.h"

namespace trawlix {
namespace {

TEST(ScanPriorityTest, SliderPositionsAndNames) {
  struct Row {
    int value;
    int position;
  };
  const Row rows[] = {{-2, 0}, {-1, 1}, {0, 2},  {1, 3}, {2, 4},
                      {15, 5}, {-3, 0}, {16, 0}, {3, 0}, {14, 0}};
  for (const Row& row : rows) EXPECT_EQ(ScanPrioritySliderPosition(row.value), row.position);
  EXPECT_STREQ(ScanPriorityLevels()[5].name, "Time Critical");
  EXPECT_STREQ(ScanPriorityLevels()[1].name, "Below Normal");
}

}  // namespace
}  // namespace trawlix
