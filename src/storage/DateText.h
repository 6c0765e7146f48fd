#pragma once

#include <ctime>
#include <string>

namespace trawlix {

// A local date as "%m/%d/%Y", the form stored with links and scans.
std::string DateText(std::time_t when);
std::string TodayDateText();

}  // namespace trawlix
