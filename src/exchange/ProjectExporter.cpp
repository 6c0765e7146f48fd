#include "exchange/ProjectExporter.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/Number.h"
#include "base/Text.h"
#include "exchange/ExchangeFile.h"
#include "imaging/PhotoCodec.h"
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

CImportedProject FromRow(const CProjectsRecord& row, std::string category) {
  CImportedProject p;
  p.m_nProjectId = row.m_nId;
  p.m_lpszCategory = std::move(category);
  p.m_lpszTitle = row.m_lpszTitle;
  p.m_lpszURL = row.m_lpszURL;
  p.m_nJPEG = row.m_nJPEG;
  p.m_nPNG = row.m_nPNG;
  p.m_nGIF = row.m_nGIF;
  p.m_nBMP = row.m_nBMP;
  p.m_nTIF = row.m_nTIF;
  p.m_nCreateFolders = row.m_nCreateFolders;
  p.m_nSearchSubFolders = row.m_nSearchSubFolders;
  p.m_nKeywordMustExist = 0;  // the record has the slot; exports never fill it
  p.m_lpszKeywords = row.m_lpszKeywords;
  p.m_nFilterMinSize = row.m_nFilterMinimumSize;
  p.m_nMinimumSize = row.m_nMinimumSize;
  p.m_nAutoRename = row.m_nAutoRename;
  p.m_nOrientation = row.m_nOrientation;
  p.m_nPadNumbers = row.m_nPadNumbers;
  p.m_nPadding = row.m_nPadding;
  p.m_lpszNamePrefix = row.m_lpszNamePrefix;
  return p;
}

CImportedLink FromRow(const CProjectLinksRecord& row) {
  return {row.m_nProjectId, row.m_nSearchSubFolders, row.m_nKeywordMustExist, row.m_lpszURL,
          row.m_lpszKeywords};
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

ExportRequest ExportRequestFromSettings(const CXSettings& settings) {
  const SettingsValues& v = settings.Values();
  ExportRequest request;
  request.includeMyInfo = v.exportIncludeInfo != 0;
  request.name = v.exporterName;
  request.emailAddress = v.exporterEmail;
  request.website = v.exporterWebsite;
  std::error_code error;
  const std::string& logo = settings.Paths().defaultLogoPath;
  if (v.exportUseLogo != 0 && std::filesystem::is_regular_file(logo, error)) {
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

CProjectExporter::CProjectExporter(std::string databasePath, std::string tempFolder,
                                   MessageSink& messages)
    : databasePath_(std::move(databasePath)),
      tempFolder_(std::move(tempFolder)),
      messages_(messages) {}

std::optional<CImportedProject> CProjectExporter::LoadProject(int projectId) {
  CProjectsTable projects(databasePath_, messages_);
  CProjectsRecord row;
  if (!projects.OpenTable() || !projects.LoadProjectById(projectId) || !projects.GetCurrent(row)) {
    return std::nullopt;
  }
  CCategoriesTable categories(databasePath_, messages_);
  // A project whose category is gone keeps no name rather than "All".
  std::string category;
  if (row.m_nCatId != kAllCategoriesId && categories.OpenTable()) {
    category = categories.CategoryNameById(row.m_nCatId);
  }
  CImportedProject project = FromRow(row, std::move(category));

  CProjectLinksTable links(databasePath_, messages_);
  if (!links.OpenTable() || !links.LoadLinksOfProject(projectId)) return std::nullopt;
  for (std::size_t i = 0; i < links.Records().size(); ++i) {
    CProjectLinksRecord link;
    links.SetCurrentIndex(static_cast<int>(i));
    if (links.GetCurrent(link)) project.m_arLinks.push_back(FromRow(link));
  }
  project.m_nNumLinks = static_cast<std::int32_t>(project.m_arLinks.size());

  CScanHistoryTable history(databasePath_, messages_);
  project.m_nNumPhotos = history.OpenTable() ? history.PhotosSavedByProject(projectId) : 0;
  return project;
}

std::string CProjectExporter::MakeSamplePhoto(const std::string& photoPath) {
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

ExportResult CProjectExporter::Export(const ExportRequest& request,
                                      const ExportProgress& progress) {
  if (request.projectIds.empty()) return Failed("Choose Projects to Export...");

  CExchangeHeader header;
  header.m_lpszDescription = request.description;
  if (request.includeMyInfo) {
    header.m_lpszName = request.name;
    header.m_lpszEmailAddress = request.emailAddress;
    header.m_lpszWebsite = request.website;
  }
  header.m_lpszDate = ExportDateText(std::time(nullptr));

  std::vector<CImportedProject> projects;
  for (std::size_t i = 0; i < request.projectIds.size(); ++i) {
    const int id = request.projectIds[i];
    std::optional<CImportedProject> project = LoadProject(id);
    if (!project) {
      return Failed(Format("The project with Id %d could not be read; nothing was exported.", id));
    }
    if (progress) progress(i, project->m_lpszTitle);
    projects.push_back(std::move(*project));
  }

  std::string error;
  if (!WriteExchangeFile(request.target, header, projects, MakeSamplePhoto(request.photoPath),
                         error)) {
    return Failed(
        Format("Unable to export to File:\n   %s\n%s", request.target.c_str(), error.c_str()));
  }
  if (projects.size() == 1) {
    const CImportedProject& p = projects.front();
    return Succeeded(Format("Successfully Exported Project:\n   %s (%s %s)\nto File:\n   %s",
                            p.m_lpszTitle.c_str(),
                            FormatThousands(static_cast<std::int64_t>(p.m_arLinks.size())).c_str(),
                            LinkWord(p.m_arLinks.size()).c_str(), request.target.c_str()));
  }
  return Succeeded(Format("Successfully Exported %s projects to:\n%s.",
                          FormatThousands(static_cast<std::int64_t>(projects.size())).c_str(),
                          request.target.c_str()));
}

}  // namespace trawlix::exchange
