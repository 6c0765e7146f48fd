#pragma once

#include <string>

namespace trawlix {

// Creates the folder when missing and makes and removes a small file in it. Empty when that
// worked; otherwise the system's reason ("Read-only file system", "Not a directory", ...).
// Permission bits alone do not tell: the superuser writes through them, a read-only mount
// stops everyone.
std::string FolderWriteProblem(const std::string& folder);

}  // namespace trawlix
