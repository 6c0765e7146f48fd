#pragma once

#include <string>
#include <vector>

namespace trawlix {

// The folder below `saveTo` that mirrors a page's folder on the web site: the page's folder
// path with the start page's folder path replaced by "/", "%20", "+", "%2B" and "_" read as
// blanks. Empty, "." and ".." segments are dropped, so whatever a site serves, the result
// lies inside `saveTo`. Returned without a trailing '/'.
//
// A site folder that would be one of `copyFolders` (the thumbnails and mobile folders) is
// named "<name> (site)" instead: originals and their copies never share a folder, where a
// copy would take an original's place.
std::string MirroredFolder(const std::string& saveTo, const std::string& pageFolderPath,
                           const std::string& startFolderPath,
                           const std::vector<std::string>& copyFolders = {});

}  // namespace trawlix
