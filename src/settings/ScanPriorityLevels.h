#pragma once

#include <span>

namespace trawlix {

// The scanning thread priorities the options offer, in slider order.
struct ScanPriorityLevel {
  int value;
  const char* name;
};

std::span<const ScanPriorityLevel> ScanPriorityLevels();

// Slider position (0 to 5) of a stored priority; 0 for a value not offered.
int ScanPrioritySliderPosition(int value);

}  // namespace trawlix
