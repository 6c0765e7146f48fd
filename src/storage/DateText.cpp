#include "storage/DateText.h"

namespace trawlix {

std::string DateText(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return {};
  char buffer[32];
  const std::size_t length = std::strftime(buffer, sizeof buffer, "%m/%d/%Y", &local);
  return std::string(buffer, length);
}

std::string TodayDateText() {
  return DateText(std::time(nullptr));
}

}  // namespace trawlix
