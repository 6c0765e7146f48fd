#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// A path taken apart the way the C runtime's path splitter does it, with '/' as separator.
struct PathParts {
  std::string drive;      // always empty: native paths have no drive
  std::string folder;     // drive and directory, with the trailing '/' (empty when none)
  std::string title;      // file name without its extension
  std::string extension;  // from the last '.' of the file name, dot included (may be empty)

  std::string FileName() const { return title + extension; }
};

PathParts SplitPath(std::string_view path);

// folder + "/" + name, with no second '/' when the folder already ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

enum class TrailingSlash { Add, Remove };
enum class LetterCase { Keep, Lower };

// Trims blanks, optionally lower-cases, then adds a missing trailing '/' or removes one.
// An empty path stays empty and the root "/" keeps its slash, so the result never names
// a different folder than the one given.
std::string NormalizeFolderPath(std::string_view path, TrailingSlash slash,
                                LetterCase letterCase = LetterCase::Keep);

}  // namespace trawlix
