#include "exchange/ExchangeFile.h"

#include "exchange/ExchangeArchive.h"
#include "exchange/ExchangeDescription.h"
#include "exchange/ProjectFile.h"

namespace trawlix::exchange {
namespace {

constexpr std::size_t kMemberCount = 3;

ExchangeReadResult Failed(const std::string& error) {
  ExchangeReadResult result;
  result.error = error;
  return result;
}

ExchangeReadResult FromArchive(ArchiveReadResult archive) {
  if (!archive.opened) return Failed("The file is damaged: it is not a ZIP archive.");
  ArchiveEntry& binary = archive.members[0];
  switch (binary.state) {
    case MemberState::Present:
      break;
    case MemberState::Absent:
      return Failed("The file is damaged: it holds no projects.");
    case MemberState::TooLarge:
      return Failed("The file is damaged: its project data is larger than 64 MB.");
    case MemberState::Unreadable:
      return Failed("The file is damaged: its project data cannot be extracted.");
  }
  ProjectFileReadResult read = ReadProjectFile(binary.bytes);
  if (!read.ok) return Failed(read.error);

  ExchangeReadResult result;
  result.ok = true;
  result.file.header = std::move(read.content.header);
  result.file.projects = std::move(read.content.projects);
  // A photo that cannot be extracted only leaves the photo area empty.
  ArchiveEntry& photo = archive.members[2];
  if (photo.state == MemberState::Present) result.file.photo = std::move(photo.bytes);
  return result;
}

}  // namespace

bool WriteExchangeFile(const std::filesystem::path& path, ExchangeHeader header,
                       std::vector<ImportedProject> projects, const std::string& photo,
                       std::string& error) {
  FitToFields(header);
  for (ImportedProject& p : projects) FitToFields(p);
  std::vector<ArchiveMember> members;
  members.push_back({kProjectMemberName, WriteProjectFile(header, projects)});
  members.push_back({kDescriptionMemberName,
                     WriteExchangeDescription(header, projects,
                                              photo.empty() ? std::string() : kPhotoMemberName)});
  if (!photo.empty()) members.push_back({kPhotoMemberName, photo});
  return WriteArchive(path, members, error);
}

ExchangeReadResult ReadExchangeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return Failed("The file " + path.string() + " does not exist.");
  }
  return FromArchive(ReadArchiveFile(path, kMemberCount));
}

ExchangeReadResult ReadExchangeBytes(std::string_view archiveBytes) {
  return FromArchive(ReadArchiveBytes(archiveBytes, kMemberCount));
}

}  // namespace trawlix::exchange
