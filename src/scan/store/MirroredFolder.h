#pragma once

#include <string>

namespace trawlix {

// The folder below `saveTo` that mirrors a page's folder on the web site: the page's folder
// path with the start page's folder path replaced by "/", "%20", "+", "%2B" and "_" read as
// blanks. Empty, "." and ".." segments are dropped, so whatever a site serves, the result
// lies inside `saveTo`. Returned without a trailing '/'.
std::string MirroredFolder(const std::string& saveTo, const std::string& pageFolderPath,
                           const std::string& startFolderPath);

}  // namespace trawlix
