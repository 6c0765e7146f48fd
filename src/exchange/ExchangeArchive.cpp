#include "exchange/ExchangeArchive.h"

#include <zip.h>

#include <array>
#include <memory>

namespace trawlix::exchange {
namespace {

struct ArchiveDiscard {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveDiscard>;

struct FileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using FilePtr = std::unique_ptr<zip_file_t, FileClose>;

// Opening takes over the source; on failure it is still ours to free.
ArchivePtr OpenFromSource(zip_source_t* source) {
  if (source == nullptr) return nullptr;
  zip_error_t error;
  zip_error_init(&error);
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (archive == nullptr) zip_source_free(source);
  return ArchivePtr(archive);
}

ArchiveEntry ReadMember(zip_t* archive, zip_uint64_t index) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
    return {MemberState::Unreadable, {}};
  }
  if (stat.size > kMaxMemberBytes) return {MemberState::TooLarge, {}};
  FilePtr file(zip_fopen_index(archive, index, 0));
  if (!file) return {MemberState::Unreadable, {}};

  // Grow with the data that really arrives rather than trusting the declared size.
  ArchiveEntry entry{MemberState::Present, {}};
  std::array<char, 65536> chunk;
  while (true) {
    const zip_int64_t got = zip_fread(file.get(), chunk.data(), chunk.size());
    if (got < 0) return {MemberState::Unreadable, {}};
    if (got == 0) break;
    entry.bytes.append(chunk.data(), static_cast<std::size_t>(got));
    if (entry.bytes.size() > stat.size) return {MemberState::Unreadable, {}};
  }
  if (entry.bytes.size() != stat.size) return {MemberState::Unreadable, {}};
  return entry;
}

ArchiveReadResult ReadMembers(ArchivePtr archive, std::size_t count) {
  ArchiveReadResult result;
  result.members.resize(count);
  if (!archive) return result;
  result.opened = true;
  const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
  for (std::size_t i = 0; i < count && static_cast<zip_int64_t>(i) < entries; ++i) {
    result.members[i] = ReadMember(archive.get(), i);
  }
  return result;
}

bool AddMember(zip_t* archive, const ArchiveMember& member) {
  zip_source_t* source = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
  if (source == nullptr) return false;
  const zip_int64_t index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_GUESS);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  return zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) ==
         0;
}

}  // namespace

bool WriteArchive(const std::filesystem::path& path, const std::vector<ArchiveMember>& members,
                  std::string& error) {
  int code = 0;
  // libzip writes to a temporary file and renames it over `path` on close.
  ArchivePtr archive(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!archive) {
    zip_error_t zipError;
    zip_error_init_with_code(&zipError, code);
    error = zip_error_strerror(&zipError);
    zip_error_fini(&zipError);
    return false;
  }
  for (const ArchiveMember& member : members) {
    if (!AddMember(archive.get(), member)) {
      error = zip_strerror(archive.get());
      return false;
    }
  }
  if (zip_close(archive.get()) != 0) {
    error = zip_strerror(archive.get());
    return false;
  }
  archive.release();  // closed
  return true;
}

ArchiveReadResult ReadArchiveFile(const std::filesystem::path& path, std::size_t count) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_file_create(path.c_str(), 0, -1, &error);
  zip_error_fini(&error);
  return ReadMembers(OpenFromSource(source), count);
}

ArchiveReadResult ReadArchiveBytes(std::string_view bytes, std::size_t count) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_error_fini(&error);
  return ReadMembers(OpenFromSource(source), count);
}

}  // namespace trawlix::exchange
