#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/ProjectsRecord.h"

namespace trawlix {

// The project editor's checks, shared by every front end that creates or edits a project.

inline constexpr const char* kNoCategoryMessage =
    "Please select a category for this Trawlix() PRO project.";
inline constexpr const char* kNoNameMessage =
    "Please type in a name for this Trawlix() PRO project.";
inline constexpr const char* kBadURLMessage =
    "Please type in the website's URL for this Trawlix() PRO project, for example:\n"
    "https://www.example.com/photos/\n\n"
    "Remember to include the \"http://\" or \"https://\" prefix.";
inline constexpr const char* kNoSaveToMessage =
    "Please select the destination folder (Trawlix() PRO will save matching photos to this "
    "location).";
inline constexpr const char* kNoFormatMessage =
    "Please choose at least one photo format (JPEG|PNG|GIF|BMP|TIF) to scan for before "
    "clicking OK.";
inline constexpr const char* kNoPrefixMessage = "Please specify an auto renaming prefix.";
inline constexpr const char* kNoThumbnailFolderMessage =
    "Please select the destination folder for thumbnails.";
inline constexpr const char* kNoMobileFolderMessage =
    "Please select the destination folder for Mobile Photos.";

// The control an editor focuses for a problem.
enum class ProjectField {
  Category,
  Title,
  URL,
  SaveTo,
  Formats,
  NamePrefix,
  ThumbnailSaveTo,
  MobileSaveTo
};

struct ProjectProblem {
  ProjectField field;
  std::string message;
};

struct ProjectCheckOptions {
  std::vector<int> categoryIds;  // the categories that exist
  // The settings' option to create the save-to, thumbnails and mobile-photo folders.
  bool createMissingFolders = true;
};

// True for an address a scan can start from: "http://" or "https://" (any letter case) and
// something after it.
bool IsStartAddress(std::string_view url);

// Each page's checks in the editor's order; the first failure, or nothing. A missing folder
// is no failure while folders may be created: CreateProjectFolders makes them once every
// check has passed, so a refused project leaves nothing behind.
std::optional<ProjectProblem> CheckGeneralPage(const ProjectsRecord& record,
                                               const ProjectCheckOptions& options);
std::optional<ProjectProblem> CheckRenamePage(const ProjectsRecord& record);
std::optional<ProjectProblem> CheckThumbnailsPage(const ProjectsRecord& record,
                                                  const ProjectCheckOptions& options);

// The three pages in order, as the editor's OK runs them.
std::optional<ProjectProblem> CheckProject(const ProjectsRecord& record,
                                           const ProjectCheckOptions& options);

// Creates the save-to folder and, where their creation is on, the thumbnails and mobile-photo
// folders. Reports the first folder that could not be made.
std::optional<ProjectProblem> CreateProjectFolders(const ProjectsRecord& record);

// Whether an integer column may hold the value: flags 0 or 1, format, orientation and
// location codes in their ranges, sizes positive. Returns the reason when it may not.
// Columns without a rule (Id, CatId) and text columns pass.
std::optional<std::string> CheckColumnValue(std::string_view column, int value);

// Whether a text column may hold the text: no control characters, and no longer than the
// column's declared size. Returns the reason when it may not.
std::optional<std::string> CheckColumnText(std::string_view column, std::string_view text);

}  // namespace trawlix
