#include "exchange/ProjectExporter.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/Number.h"
#include "base/Text.h"
#include "exchange/ExchangeFile.h"
#include "imaging/codec/PhotoCodec.h"
#include "settings/Settings.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix::exchange {
namespace {

constexpr int kSamplePhotoBox = 256;
constexpr int kSamplePhotoQuality = 90;
constexpr int kSamplePhotoDpi = 96;

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ImportedProject FromRow(const ProjectsRecord& row, std::string category) {
  ImportedProject p;
  p.projectId = row.id;
  p.category = std::move(category);
  p.title = row.title;
  p.url = row.url;
  p.jpeg = row.jpeg;
  p.png = row.png;
  p.gif = row.gif;
  p.bmp = row.bmp;
  p.tif = row.tif;
  p.createFolders = row.createFolders;
  p.searchSubFolders = row.searchSubFolders;
  p.keywordMustExist = false;  // the record has the slot; exports never fill it
  p.keywords = row.keywords;
  p.filterMinSize = row.filterMinimumSize;
  p.minimumSize = row.minimumSize;
  p.autoRename = row.autoRename;
  p.orientation = row.orientation;
  p.padNumbers = row.padNumbers;
  p.padding = row.padding;
  p.namePrefix = row.namePrefix;
  return p;
}

ImportedLink FromRow(const ProjectLinksRecord& row) {
  return {row.projectId, row.searchSubFolders, row.keywordMustExist, row.url, row.keywords};
}

std::string LinkWord(std::size_t count) {
  return count == 1 ? "link" : "links";
}

ExportResult Failed(std::string message) {
  return {false, std::move(message)};
}
ExportResult Succeeded(std::string message) {
  return {true, std::move(message)};
}

}  // namespace

ExportRequest ExportRequestFromSettings(const Settings& settings) {
  const SettingsValues& v = settings.Values();
  ExportRequest request;
  request.includeMyInfo = v.exportIncludeInfo;
  request.includeCategory = v.exportIncludeCategory;
  request.name = v.exporterName;
  request.emailAddress = v.exporterEmail;
  request.website = v.exporterWebsite;
  std::error_code error;
  const std::string& logo = settings.Paths().defaultLogoPath;
  if (v.exportUseLogo && std::filesystem::is_regular_file(logo, error)) {
    request.photoPath = logo;
  }
  return request;
}

std::string ExportDateText(std::time_t when) {
  static constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
  static constexpr std::array<const char*, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return {};
  return Format("%s, %s %02d, %d", kDays.at(static_cast<std::size_t>(local.tm_wday)),
                kMonths.at(static_cast<std::size_t>(local.tm_mon)), local.tm_mday,
                local.tm_year + 1900);
}

ProjectExporter::ProjectExporter(std::string databasePath, std::string tempFolder,
                                 MessageSink& messages)
    : databasePath_(std::move(databasePath)),
      tempFolder_(std::move(tempFolder)),
      messages_(messages) {}

std::optional<ImportedProject> ProjectExporter::LoadProject(int projectId, bool withCategory) {
  ProjectsTable projects(databasePath_, messages_);
  ProjectsRecord row;
  if (!projects.OpenTable() || !projects.LoadProjectById(projectId) || !projects.GetCurrent(row)) {
    return std::nullopt;
  }
  CategoriesTable categories(databasePath_, messages_);
  // A project whose category is gone keeps no name rather than "All".
  std::string category;
  if (withCategory && row.catId != kAllCategoriesId && categories.OpenTable()) {
    category = categories.CategoryNameById(row.catId);
  }
  ImportedProject project = FromRow(row, std::move(category));

  ProjectLinksTable links(databasePath_, messages_);
  if (!links.OpenTable() || !links.LoadLinksOfProject(projectId)) return std::nullopt;
  for (std::size_t i = 0; i < links.Records().size(); ++i) {
    ProjectLinksRecord link;
    links.SetCurrentIndex(static_cast<int>(i));
    if (links.GetCurrent(link)) project.links.push_back(FromRow(link));
  }
  project.numLinks = static_cast<std::int32_t>(project.links.size());

  ScanHistoryTable history(databasePath_, messages_);
  project.numPhotos = history.OpenTable() ? history.PhotosSavedByProject(projectId) : 0;
  return project;
}

std::string ProjectExporter::MakeSamplePhoto(const std::string& photoPath) {
  if (photoPath.empty()) return {};
  std::error_code error;
  std::filesystem::create_directories(tempFolder_, error);
  const std::filesystem::path temp = std::filesystem::path(tempFolder_) / kPhotoMemberName;
  std::filesystem::remove(temp, error);
  PhotoEncoding encoding;
  encoding.format = PhotoFormat::Jpeg;
  encoding.jpegQuality = kSamplePhotoQuality;
  encoding.dpi = kSamplePhotoDpi;
  const SavedPhoto saved =
      SaveResizedCopy(tempFolder_, kPhotoMemberName, photoPath, kSamplePhotoBox, encoding);
  if (!saved.written) return {};  // the file then simply has no sample photo
  std::string bytes = ReadFileBytes(saved.path);
  std::filesystem::remove(saved.path, error);
  return bytes;
}

MessageRequest ExportResult::Box() const {
  MessageRequest request{message};
  if (!ok) request.icon = MessageIcon::Warning;
  return request;
}

ExportResult ProjectExporter::Export(const ExportRequest& request, const ExportProgress& progress) {
  if (request.projectIds.empty()) return Failed("Choose Projects to Export...");

  ExchangeHeader header;
  header.description = request.description;
  if (request.includeMyInfo) {
    header.name = request.name;
    header.emailAddress = request.emailAddress;
    header.website = request.website;
  }
  header.date = ExportDateText(std::time(nullptr));

  std::vector<ImportedProject> projects;
  for (std::size_t i = 0; i < request.projectIds.size(); ++i) {
    const int id = request.projectIds[i];
    std::optional<ImportedProject> project = LoadProject(id, request.includeCategory);
    if (!project) {
      return Failed(Format("The project with Id %d could not be read; nothing was exported.", id));
    }
    if (progress) progress(i, project->title);
    projects.push_back(std::move(*project));
  }

  std::string error;
  if (!WriteExchangeFile(request.target, header, projects, MakeSamplePhoto(request.photoPath),
                         error)) {
    return Failed(
        Format("Unable to export to File:\n   %s\n%s", request.target.c_str(), error.c_str()));
  }
  if (projects.size() == 1) {
    const ImportedProject& p = projects.front();
    return Succeeded(Format("Successfully Exported Project:\n   %s (%s %s)\nto File:\n   %s",
                            p.title.c_str(),
                            FormatThousands(static_cast<std::int64_t>(p.links.size())).c_str(),
                            LinkWord(p.links.size()).c_str(), request.target.c_str()));
  }
  return Succeeded(Format("Successfully Exported %s projects to:\n%s.",
                          FormatThousands(static_cast<std::int64_t>(projects.size())).c_str(),
                          request.target.c_str()));
}

}  // namespace trawlix::exchange
