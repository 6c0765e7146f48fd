#pragma once

#include <string>

namespace trawlix {

enum class MoveResult { Moved, NameTaken, Failed };

// Moves a finished file of ours to `to`. Without `replace`, a file or link that is already
// at `to` (one that appeared since the name was chosen) is never replaced: NameTaken. With
// `replace`, the file's bytes reach the disk before it takes the old one's place, so a power
// cut cannot leave an empty file where a good photo was. Across file systems the file is
// copied under a new hidden name beside `to` first; `from` is gone afterwards unless Failed.
MoveResult MoveFileInto(const std::string& from, const std::string& to, bool replace);

// Removes a file of ours when it is there; one that cannot be removed stays, quietly.
void RemoveFile(const std::string& path);

}  // namespace trawlix
