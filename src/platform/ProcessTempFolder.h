#pragma once

#include <string>

namespace trawlix {

// This process's own temporary folder inside the data folder's shared one: "pid-" and the
// process id. Making it empties it and removes the folders of processes that are gone, so
// that two programs on one data folder never touch each other's downloads. Empty when the
// folder cannot be made.
std::string MakeProcessTempFolder(const std::string& sharedTempFolder);

}  // namespace trawlix
