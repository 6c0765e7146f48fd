#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "storage/ProjectsRecord.h"

namespace trawlix {

// Whether the project's folders are ones a scan may write to: Save To, and the thumbnails
// and mobile-photo folders while their creation is on, must each be an absolute path
// without ".", ".." or empty components and without control characters, so that they name
// exactly the folder the user chose. Returns the message to show when one is not.
std::optional<std::string> ProjectFoldersProblem(const ProjectsRecord& project);

// The same test for one folder path; nullopt when the path is sound.
std::optional<std::string> FolderPathProblem(std::string_view path);

// A text from elsewhere (an imported title, a name prefix) made into one plain folder or
// file name: no "/", no control characters, not "." or "..", no blanks at either end and
// at most `maxBytes` bytes without splitting a UTF-8 character. Never empty ("_" instead).
std::string SafeFolderName(std::string_view text, std::size_t maxBytes = 200);

}  // namespace trawlix
