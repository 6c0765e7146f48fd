#pragma once

#include <string>

namespace trawlix {

// The name a download is stored under, with the extension of the format its bytes are in:
// an address without an extension, or one whose query asked for another format, says
// nothing reliable about what arrived. A photo extension that names another format is
// replaced, any other extension kept before the new one; a name already right, or a file of
// no format this program reads, keeps its name.
std::string NameForReceivedFormat(const std::string& path, const std::string& name);

}  // namespace trawlix
