#include "settings/ScanPriorityLevels.h"

#include <array>

namespace trawlix {

std::span<const ScanPriorityLevel> ScanPriorityLevels() {
  static constexpr std::array<ScanPriorityLevel, 6> kLevels{{
      {-2, "Lowest"},
      {-1, "Below Normal"},
      {0, "Normal"},
      {1, "Above Normal"},
      {2, "Higher"},
      {15, "Time Critical"},
  }};
  return kLevels;
}

int ScanPrioritySliderPosition(int value) {
  const auto levels = ScanPriorityLevels();
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (levels[i].value == value) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace trawlix
