#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsValues.h"
#include "storage/CategoriesRecord.h"
#include "storage/ProjectsRecord.h"

namespace trawlix {

// A new project as the New-project command opens it: URL "http://", every option from the
// settings' new-project defaults, and the settings' category for new projects (any letter
// case), else the first of `categories` (A to Z), else none (-1). Title and folders are left
// empty; the eight location columns hold 0 and empty texts.
ProjectsRecord NewProjectRecord(const SettingsValues& settings,
                                const std::vector<CategoriesRecord>& categories);

// The save-to folder offered for a new project: the default location, followed by the
// title as a sub-folder when the settings ask for it.
std::string DefaultSaveTo(const SettingsValues& settings, std::string_view title);

// The title with every space replaced by "_", and one "_" appended.
std::string DefaultNamePrefix(std::string_view title);

// What confirming a new project fills in: an empty thumbnails or mobile-photo folder becomes
// its default location, an empty name prefix the title's.
void CompleteNewProject(ProjectsRecord& record, const SettingsValues& settings);

}  // namespace trawlix
