#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix::exchange {

// The ZIP container of an exchange file: deflated members under bare names, read back
// by position.
inline constexpr std::uint64_t kMaxMemberBytes = 64ull * 1024 * 1024;

struct ArchiveMember {
  std::string name;
  std::string bytes;
};

// Writes the members in order. An existing file at `path` is replaced only when the whole
// archive was written. On failure `error` says why.
bool WriteArchive(const std::filesystem::path& path, const std::vector<ArchiveMember>& members,
                  std::string& error);

enum class MemberState { Present, Absent, TooLarge, Unreadable };

struct ArchiveEntry {
  MemberState state = MemberState::Absent;
  std::string bytes;
};

struct ArchiveReadResult {
  bool opened = false;                // false: not a readable ZIP archive
  std::vector<ArchiveEntry> members;  // always `count` entries
};

// Reads the first `count` members by position. Members above kMaxMemberBytes are not
// extracted.
ArchiveReadResult ReadArchiveFile(const std::filesystem::path& path, std::size_t count);
ArchiveReadResult ReadArchiveBytes(std::string_view bytes, std::size_t count);

}  // namespace trawlix::exchange
