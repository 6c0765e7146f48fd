#include "exchange/ProjectImporter.h"

#include <algorithm>

#include "base/Guid.h"
#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"
#include "storage/CategoriesTable.h"
#include "storage/DateText.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectFolderCheck.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/SQL3Exception.h"

namespace trawlix::exchange {
namespace {

std::string LinkWord(int count) {
  return count == 1 ? "link" : "links";
}

// Groups link inserts as one transaction; a failed commit is reported like any other
// database error.
class Transaction {
 public:
  Transaction(CSQL3DB& db, MessageSink& messages) : db_(db), messages_(messages) {
    begun_ = Run("BEGIN TRANSACTION;");
  }
  ~Transaction() {
    if (begun_) Run("COMMIT;");
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

 private:
  bool Run(const char* sql) {
    try {
      db_.ExecuteUpdate(sql);
      return true;
    } catch (const CSQL3Exception& e) {
      messages_.Show({Format("Code (%d): %s", e.Code(), e.Message())});
      return false;
    }
  }

  CSQL3DB& db_;
  MessageSink& messages_;
  bool begun_ = false;
};

int LastInsertedId(CSQL3DB& db) {
  try {
    return db.ExecuteScalar("SELECT last_insert_rowid();");
  } catch (const CSQL3Exception&) {
    return -1;
  }
}

CProjectsRecord NewRow(const CImportedProject& p, const SettingsValues& settings, int categoryId) {
  CProjectsRecord r = NewProjectRecord(settings, {});
  r.m_nCatId = categoryId;
  const std::string title = Trim(p.m_lpszTitle);
  // Titles and prefixes from a file become folder and file names: each must stay one plain
  // name inside the folder it is joined to.
  const std::string folderName = SafeFolderName(title);
  r.m_lpszTitle = folderName;  // for the folders and the prefix worked out below
  r.m_lpszURL = p.m_lpszURL;
  r.m_lpszKeywords = p.m_lpszKeywords;
  r.m_nJPEG = p.m_nJPEG;
  r.m_nPNG = p.m_nPNG;
  r.m_nGIF = p.m_nGIF;
  r.m_nBMP = p.m_nBMP;
  r.m_nTIF = p.m_nTIF;
  r.m_nCreateFolders = p.m_nCreateFolders;
  r.m_nSearchSubFolders = p.m_nSearchSubFolders;
  r.m_nFilterMinimumSize = p.m_nFilterMinSize;
  r.m_nMinimumSize = p.m_nMinimumSize;
  r.m_nOrientation = p.m_nOrientation;
  r.m_nAutoRename = p.m_nAutoRename;
  r.m_nPadNumbers = p.m_nPadNumbers;
  r.m_nPadding = p.m_nPadding;
  r.m_lpszNamePrefix = Trim(p.m_lpszNamePrefix).empty() ? "" : SafeFolderName(p.m_lpszNamePrefix);
  r.m_lpszSaveTo = NormalizeFolderPath(settings.defaultSaveTo, TrailingSlash::Add) + folderName;
  CompleteNewProject(r, settings);
  r.m_lpszTitle = title;
  return r;
}

}  // namespace

ImportOptions ImportOptionsFromSettings(const SettingsValues& settings) {
  ImportOptions options;
  options.target = settings.importUseProjectCategory == 1 ? ImportTarget::FileCategory
                                                          : ImportTarget::SelectedCategory;
  options.categoryName = settings.importCategory;
  options.duplicates = settings.importDuplicateAction == 2 ? DuplicateHandling::MergeLinks
                                                           : DuplicateHandling::DontImport;
  return options;
}

const char* CImportAction::Name() const {
  switch (m_nCode) {
    case kImportIntoSelectedCategory:
      return "Import Into Selected Category";
    case kImportIntoSuggestedCategory:
      return "Import Into Suggested Category";
    case kDuplicateImportIntoSelectedCategory:
      return "Duplicate: Import Into Selected Category";
    case kDuplicateMergeLinks:
      return "Duplicate: Merge Project's Links (Unique)";
    case kDuplicateDontImport:
      return "Duplicate: Don't Import Project";
    case kUnknown:
      break;
  }
  return "Unknown!!!!!!!!";
}

const char* ImportResultKindName(ImportResultKind kind) {
  switch (kind) {
    case ImportResultKind::Imported:
      return "Imported";
    case ImportResultKind::Merged:
      return "Merged";
    case ImportResultKind::Skipped:
      return "Skipped";
    case ImportResultKind::Failed:
      break;
  }
  return "Failed";
}

std::optional<CExchangeFile> OpenImportFile(const std::string& path, MessageSink& messages) {
  ExchangeReadResult read = ReadExchangeFile(path);
  if (!read.ok) {
    messages.Show({read.error});
    return std::nullopt;
  }
  return std::move(read.file);
}

CProjectImporter::CProjectImporter(std::string databasePath, SettingsValues settings,
                                   MessageSink& messages)
    : databasePath_(std::move(databasePath)), settings_(std::move(settings)), messages_(messages) {}

ImportSummary CProjectImporter::Import(std::span<const CImportedProject> projects,
                                       const ImportOptions& options) {
  ImportSummary summary;
  today_ = TodayDateText();
  existing_.clear();
  CProjectsTable table(databasePath_, messages_);
  if (table.OpenTable() && table.LoadAllProjects()) {
    for (std::size_t i = 0; i < table.Records().size(); ++i) {
      CProjectsRecord row;
      table.SetCurrentIndex(static_cast<int>(i));
      if (table.GetCurrent(row)) existing_.push_back({row.m_nId, row.m_nCatId, row.m_lpszTitle});
    }
  }

  const bool selected = options.target == ImportTarget::SelectedCategory;
  std::optional<Target> chosen;
  if (selected) chosen = ResolveCategory(options.categoryName, summary);
  CCategoriesTable categories(databasePath_, messages_);
  const int importedProjectsId =
      categories.OpenTable() ? categories.CategoryIdByName(kImportedProjectsCategory) : -1;
  // Into "Imported Projects" every project comes in as a new one, duplicates included.
  const bool allAsNew =
      chosen && importedProjectsId != -1 && chosen->categoryId == importedProjectsId;

  for (const CImportedProject& project : projects) {
    const Existing* duplicate = FindDuplicate(project.m_lpszTitle);
    if (duplicate != nullptr && !allAsNew) {
      summary.rows.push_back(options.duplicates == DuplicateHandling::MergeLinks
                                 ? MergeLinks(project, *duplicate)
                                 : Skip(project, *duplicate));
      continue;
    }
    CImportAction action{selected ? CImportAction::kImportIntoSelectedCategory
                                  : CImportAction::kImportIntoSuggestedCategory};
    if (duplicate != nullptr) action.m_nCode = CImportAction::kDuplicateImportIntoSelectedCategory;
    std::optional<Target> target = chosen;
    if (!selected) {
      // A project without a usable category of its own goes to the chosen one.
      std::string name = Trim(project.m_lpszCategory);
      if (name.empty() || EqualsNoCase(name, kAllCategoriesName)) name = options.categoryName;
      target = ResolveCategory(name, summary);
    }
    if (!target) {
      summary.rows.push_back({project.m_lpszTitle, action, ImportResultKind::Failed,
                              Format("Project %s was not imported: its category could not be made",
                                     project.m_lpszTitle.c_str())});
      continue;
    }
    summary.rows.push_back(ImportAsNew(project, *target, action));
  }
  return summary;
}

std::optional<CProjectImporter::Target> CProjectImporter::ResolveCategory(const std::string& name,
                                                                          ImportSummary& summary) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty()) return std::nullopt;
  CCategoriesTable table(databasePath_, messages_);
  if (!table.OpenTable()) return std::nullopt;
  int id = table.CategoryIdByName(trimmed);
  if (id == -1 && table.InsertCategory(trimmed)) {
    summary.categoriesCreated = true;
    id = table.CategoryIdByName(trimmed);
  }
  if (id == -1) return std::nullopt;
  return Target{id, trimmed};
}

const CProjectImporter::Existing* CProjectImporter::FindDuplicate(const std::string& title) const {
  const std::string trimmed = Trim(title);
  const Existing* found = nullptr;
  for (const Existing& e : existing_) {
    if (EqualsNoCase(Trim(e.title), trimmed) && (found == nullptr || e.id < found->id)) found = &e;
  }
  return found;
}

std::string CProjectImporter::CategoryName(int categoryId) {
  CCategoriesTable table(databasePath_, messages_);
  return table.OpenTable() ? table.CategoryNameById(categoryId) : std::string();
}

int CProjectImporter::InsertLinks(int projectId, const std::vector<CImportedLink>& links,
                                  std::vector<std::string>* knownURLs) {
  CProjectLinksTable table(databasePath_, messages_);
  if (!table.OpenTable()) return 0;
  int added = 0;
  Transaction transaction(table, messages_);
  for (const CImportedLink& link : links) {
    if (knownURLs != nullptr) {
      if (std::find(knownURLs->begin(), knownURLs->end(), link.m_lpszURL) != knownURLs->end()) {
        continue;
      }
      knownURLs->push_back(link.m_lpszURL);
    }
    CProjectLinksRecord row;
    row.m_nProjectId = projectId;
    row.m_lpszdtDate = today_;
    row.m_nSearchSubFolders = link.m_nSearchSubFolders;
    row.m_lpszURL = link.m_lpszURL;
    row.m_nKeywordMustExist = link.m_nKeywordMustExist;
    row.m_lpszKeywords = link.m_lpszKeywords;
    row.m_nPhotos = 0;
    NewGUIDString(row.m_lpszGUID);
    if (table.InsertProjectLink(row)) ++added;
  }
  return added;
}

ImportResultRow CProjectImporter::ImportAsNew(const CImportedProject& project, const Target& target,
                                              CImportAction action) {
  const CProjectsRecord row = NewRow(project, settings_, target.categoryId);
  if (const auto problem = ProjectFoldersProblem(row)) {
    return {
        project.m_lpszTitle, action, ImportResultKind::Failed,
        Format("Project %s was not imported: %s", project.m_lpszTitle.c_str(), problem->c_str())};
  }
  CProjectsTable table(databasePath_, messages_);
  const int id = table.OpenTable() && table.InsertProject(row) ? LastInsertedId(table) : -1;
  if (id <= 0) {
    return {project.m_lpszTitle, action, ImportResultKind::Failed,
            Format("Project %s was not imported", project.m_lpszTitle.c_str())};
  }
  existing_.push_back({id, target.categoryId, row.m_lpszTitle});
  // Every link of a new project is added, as the file lists them.
  const int added = InsertLinks(id, project.m_arLinks, nullptr);
  return {
      project.m_lpszTitle, action, ImportResultKind::Imported,
      Format("Project %s imported (%s %s) to Category (%s)", project.m_lpszTitle.c_str(),
             FormatThousands(added).c_str(), LinkWord(added).c_str(), target.categoryName.c_str())};
}

ImportResultRow CProjectImporter::MergeLinks(const CImportedProject& project,
                                             const Existing& existing) {
  const CImportAction action{CImportAction::kDuplicateMergeLinks};
  CProjectLinksTable table(databasePath_, messages_);
  if (!table.OpenTable() || !table.LoadLinksOfProject(existing.id)) {
    return {project.m_lpszTitle, action, ImportResultKind::Failed,
            Format("The links of %s could not be merged", project.m_lpszTitle.c_str())};
  }
  std::vector<std::string> known;
  for (std::size_t i = 0; i < table.Records().size(); ++i) {
    CProjectLinksRecord link;
    table.SetCurrentIndex(static_cast<int>(i));
    if (table.GetCurrent(link)) known.push_back(link.m_lpszURL);
  }
  const int added = InsertLinks(existing.id, project.m_arLinks, &known);
  return {project.m_lpszTitle, action, ImportResultKind::Merged,
          Format("%s %s merged into %s project, category (%s)", FormatThousands(added).c_str(),
                 LinkWord(added).c_str(), project.m_lpszTitle.c_str(),
                 CategoryName(existing.categoryId).c_str())};
}

ImportResultRow CProjectImporter::Skip(const CImportedProject& project, const Existing& existing) {
  return {project.m_lpszTitle, CImportAction{CImportAction::kDuplicateDontImport},
          ImportResultKind::Skipped,
          Format("Project (%s) already exists in Category (%s)", project.m_lpszTitle.c_str(),
                 CategoryName(existing.categoryId).c_str())};
}

}  // namespace trawlix::exchange
