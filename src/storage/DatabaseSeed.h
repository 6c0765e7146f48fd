#pragma once

#include <string>

#include "base/MessageBox.h"

namespace trawlix {

inline constexpr const char* kSampleProjectsCategory = "Sample Projects";

// Fills a new database with the four categories and the three sample projects (the second
// with three links). Photos of the samples go below `picturesFolder`. Database errors are
// shown through `messages`; false when any step failed.
bool SeedNewDatabase(const std::string& databasePath, MessageSink& messages,
                     const std::string& picturesFolder);

}  // namespace trawlix
