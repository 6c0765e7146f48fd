#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlix {

enum class ReadStatus { Ok, Missing, TooLarge, Failed };

// Reads a whole file of at most maxBytes into `bytes`.
ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// The first bytes of a file, at most maxBytes; empty when it cannot be read.
std::string ReadFileHead(const std::string& path, std::size_t maxBytes);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so that a crash leaves either the old or the new file, never a half-written one.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Copies a file, replacing the target.
bool CopyFileReplacing(const std::string& from, const std::string& to);

}  // namespace trawlix
