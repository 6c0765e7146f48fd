#include "storage/ProjectValidation.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Text.h"
#include "storage/RecordColumns.h"

namespace trawlix {

namespace {

// Paths arrive decoded once; decoding them again would change the folder they name.
std::string FolderPath(std::string_view path) {
  return Trim(path);
}

bool FolderExists(std::string_view path) {
  const std::string folder = FolderPath(path);
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(folder, error);
}

// Empty when the folder is there or was made; otherwise the system's reason.
std::string CreateFolder(std::string_view path) {
  const std::string folder = FolderPath(path);
  if (folder.empty()) return std::make_error_code(std::errc::no_such_file_or_directory).message();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return error.message();
  if (!std::filesystem::is_directory(folder, error))
    return std::make_error_code(std::errc::not_a_directory).message();
  return {};
}

// A folder that exists or can be made; otherwise the message, with the folder and the reason
// when the system gave one.
std::optional<ProjectProblem> MakeFolder(std::string_view path, ProjectField field,
                                         const char* message) {
  if (FolderExists(path)) return std::nullopt;
  const std::string reason = CreateFolder(path);
  if (reason.empty()) return std::nullopt;
  if (Trim(path).empty()) return ProjectProblem{field, message};
  return ProjectProblem{
      field, "The folder " + FolderPath(path) + " cannot be made: " + reason + ".\n\n" + message};
}

// A folder check: fine when the folder exists or may be created (and is not empty).
bool FolderAcceptable(std::string_view path, bool createMissing) {
  return FolderExists(path) || (createMissing && !Trim(path).empty());
}

std::optional<ProjectProblem> Problem(ProjectField field, const char* message) {
  return ProjectProblem{field, message};
}

struct ValueRule {
  std::vector<std::string_view> columns;
  int min;
  int max;
  const char* meaning;
};

const std::vector<ValueRule>& ValueRules() {
  static const std::vector<ValueRule> rules = {
      {{"ConvertToFormat", "ThumbnailFormat", "MobileFormat"},
       -1,
       4,
       "a format code: 0 JPEG, 1 BMP, 2 PNG, 3 TIFF, 4 GIF (-1 none)"},
      {{"Orientation"}, 0, 2, "an orientation code: 0 any, 1 portrait, 2 landscape"},
      {{"ThumbnailOrientation", "MobileOrientation"},
       -1,
       2,
       "an orientation code: 0 any, 1 portrait, 2 landscape (-1 none)"},
      {{"ThumbnailsSaveToLocation", "MobileSaveToLocation"},
       0,
       1,
       "a location code: 0 sub-folder, 1 external folder"},
      {{"MinimumSize"}, 0, 100000, "a size in pixels from 0 to 100000"},
      {{"ResizeBoundingBox", "ThumbnailBoundingBox", "MobileBoundingBox"},
       1,
       100000,
       "a size in pixels from 1 to 100000"},
      {{"Padding"}, 1, 10, "a number of digits from 1 to 10"},
  };
  return rules;
}

}  // namespace

bool IsStartAddress(std::string_view url) {
  const std::string trimmed = Trim(url);
  for (std::string_view scheme : {"http://", "https://"}) {
    if (trimmed.size() > scheme.size() &&
        EqualsNoCase(std::string_view(trimmed).substr(0, scheme.size()), scheme)) {
      return true;
    }
  }
  return false;
}

std::optional<ProjectProblem> CheckGeneralPage(const ProjectsRecord& record,
                                               const ProjectCheckOptions& options) {
  const auto& ids = options.categoryIds;
  if (std::find(ids.begin(), ids.end(), record.catId) == ids.end()) {
    return Problem(ProjectField::Category, kNoCategoryMessage);
  }
  if (Trim(record.title).empty()) return Problem(ProjectField::Title, kNoNameMessage);
  if (!IsStartAddress(record.url)) return Problem(ProjectField::URL, kBadURLMessage);
  if (!FolderAcceptable(record.saveTo, options.createMissingFolders)) {
    return Problem(ProjectField::SaveTo, kNoSaveToMessage);
  }
  const bool anyFormat = record.jpeg || record.png || record.gif || record.bmp || record.tif;
  if (!anyFormat) return Problem(ProjectField::Formats, kNoFormatMessage);
  return std::nullopt;
}

std::optional<ProjectProblem> CheckRenamePage(const ProjectsRecord& record) {
  if (record.autoRename && record.namePrefix.empty()) {
    return Problem(ProjectField::NamePrefix, kNoPrefixMessage);
  }
  return std::nullopt;
}

std::optional<ProjectProblem> CheckThumbnailsPage(const ProjectsRecord& record,
                                                  const ProjectCheckOptions& options) {
  if (record.autoCreateThumbnails &&
      !FolderAcceptable(record.thumbnailSaveTo, options.createMissingFolders)) {
    return Problem(ProjectField::ThumbnailSaveTo, kNoThumbnailFolderMessage);
  }
  if (record.autoCreateMobile &&
      !FolderAcceptable(record.mobileSaveTo, options.createMissingFolders)) {
    return Problem(ProjectField::MobileSaveTo, kNoMobileFolderMessage);
  }
  return std::nullopt;
}

std::optional<ProjectProblem> CheckProject(const ProjectsRecord& record,
                                           const ProjectCheckOptions& options) {
  if (auto problem = CheckGeneralPage(record, options)) return problem;
  if (auto problem = CheckRenamePage(record)) return problem;
  return CheckThumbnailsPage(record, options);
}

std::optional<ProjectProblem> CreateProjectFolders(const ProjectsRecord& record) {
  if (auto problem = MakeFolder(record.saveTo, ProjectField::SaveTo, kNoSaveToMessage))
    return problem;
  if (record.autoCreateThumbnails) {
    if (auto problem = MakeFolder(record.thumbnailSaveTo, ProjectField::ThumbnailSaveTo,
                                  kNoThumbnailFolderMessage))
      return problem;
  }
  if (record.autoCreateMobile) {
    return MakeFolder(record.mobileSaveTo, ProjectField::MobileSaveTo, kNoMobileFolderMessage);
  }
  return std::nullopt;
}

std::optional<std::string> CheckColumnValue(std::string_view column, int value) {
  if (const auto* flag = FindColumn<ProjectsRecord>(column);
      flag != nullptr && flag->kind == ColumnKind::Flag) {
    if (value == 0 || value == 1) return std::nullopt;
    return FlagRangeProblem(flag->name, value);
  }
  for (const auto& rule : ValueRules()) {
    const auto name = std::find_if(rule.columns.begin(), rule.columns.end(),
                                   [&](std::string_view n) { return EqualsNoCase(n, column); });
    if (name == rule.columns.end()) continue;
    if (value >= rule.min && value <= rule.max) return std::nullopt;
    return std::string(*name) + " must be " + rule.meaning + ", not " + std::to_string(value) + ".";
  }
  return std::nullopt;
}

std::optional<std::string> CheckColumnText(std::string_view column, std::string_view text) {
  const bool shortColumn = EqualsNoCase(column, "Title") || EqualsNoCase(column, "NamePrefix");
  const std::size_t limit = shortColumn ? 200 : 1024;
  if (text.size() > limit) {
    return std::string(column) + " may hold at most " + std::to_string(limit) +
           " characters, not " + std::to_string(text.size()) + ".";
  }
  const bool control = std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (control) return std::string(column) + " may not contain line breaks or control characters.";
  return std::nullopt;
}

}  // namespace trawlix
