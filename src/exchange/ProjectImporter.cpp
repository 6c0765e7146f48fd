#include "exchange/ProjectImporter.h"

#include <algorithm>

#include "base/Guid.h"
#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"
#include "storage/CategoriesTable.h"
#include "storage/DatabaseError.h"
#include "storage/DateText.h"
#include "storage/DbTextEncoding.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectFolderCheck.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectValidation.h"
#include "storage/ProjectsTable.h"

namespace trawlix::exchange {
namespace {

std::string LinkWord(int count) {
  return count == 1 ? "link" : "links";
}

// Groups link inserts as one transaction; a failed commit is reported like any other
// database error.
class Transaction {
 public:
  Transaction(Database& db, MessageSink& messages) : db_(db), messages_(messages) {
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
    } catch (const DatabaseError& e) {
      messages_.Show({Format("Code (%d): %s", e.Code(), e.Message())});
      return false;
    }
  }

  Database& db_;
  MessageSink& messages_;
  bool begun_ = false;
};

// A file may name any scheme; only web addresses are taken, since every address is handed
// to the network or to the desktop's opener later.
std::vector<ImportedLink> WebLinks(const std::vector<ImportedLink>& links,
                                   std::vector<std::string>& refused) {
  std::vector<ImportedLink> web;
  for (const ImportedLink& link : links) {
    if (IsStartAddress(link.url))
      web.push_back(link);
    else
      refused.push_back(link.url);
  }
  return web;
}

// "; refused 2 links that are not web addresses: file:///etc/passwd, smb://h/s", the first
// few of them, each cut short.
std::string RefusedNote(const std::vector<std::string>& refused) {
  constexpr std::size_t kShown = 5;
  constexpr std::size_t kLongest = 80;
  if (refused.empty()) return {};
  std::string note = Format("; refused %s %s that %s not web addresses:",
                            FormatThousands(static_cast<std::int64_t>(refused.size())).c_str(),
                            LinkWord(static_cast<int>(refused.size())).c_str(),
                            refused.size() == 1 ? "is" : "are");
  for (std::size_t i = 0; i < std::min(refused.size(), kShown); ++i)
    note += (i == 0 ? " " : ", ") + refused[i].substr(0, kLongest);
  if (refused.size() > kShown) note += ", ...";
  return note;
}

int LastInsertedId(Database& db) {
  try {
    return db.ExecuteScalar("SELECT last_insert_rowid();");
  } catch (const DatabaseError&) {
    return -1;
  }
}

ProjectsRecord NewRow(const ImportedProject& p, const SettingsValues& settings, int categoryId) {
  ProjectsRecord r = NewProjectRecord(settings, {});
  r.catId = categoryId;
  const std::string title = Trim(p.title);
  // Titles and prefixes from a file become folder and file names: each must stay one plain
  // name inside the folder it is joined to.
  const std::string folderName = SafeFolderName(title);
  r.title = folderName;  // for the folders and the prefix worked out below
  r.url = p.url;
  r.keywords = p.keywords;
  r.jpeg = p.jpeg;
  r.png = p.png;
  r.gif = p.gif;
  r.bmp = p.bmp;
  r.tif = p.tif;
  r.createFolders = p.createFolders;
  r.searchSubFolders = p.searchSubFolders;
  r.filterMinimumSize = p.filterMinSize;
  r.minimumSize = p.minimumSize;
  r.orientation = p.orientation;
  r.autoRename = p.autoRename;
  r.padNumbers = p.padNumbers;
  r.padding = p.padding;
  // Cleaned as the database will give it back: a typed "&#47" comes back as "/".
  r.namePrefix =
      Trim(p.namePrefix).empty() ? "" : SafeFolderName(DecodeDbText(EncodeDbText(p.namePrefix)));
  r.saveTo = NormalizeFolderPath(settings.defaultSaveTo, TrailingSlash::Add) + folderName;
  CompleteNewProject(r, settings);
  r.title = title;
  return r;
}

}  // namespace

ImportOptions ImportOptionsFromSettings(const SettingsValues& settings) {
  ImportOptions options;
  options.target = settings.importUseProjectCategory ? ImportTarget::FileCategory
                                                     : ImportTarget::SelectedCategory;
  options.categoryName = settings.importCategory;
  options.duplicates = settings.importDuplicateAction == 2 ? DuplicateHandling::MergeLinks
                                                           : DuplicateHandling::DontImport;
  return options;
}

const char* ImportAction::Name() const {
  switch (code) {
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

std::optional<ExchangeFile> OpenImportFile(const std::string& path, MessageSink& messages) {
  ExchangeReadResult read = ReadExchangeFile(path);
  if (!read.ok) {
    messages.Show({read.error});
    return std::nullopt;
  }
  return std::move(read.file);
}

ProjectImporter::ProjectImporter(std::string databasePath, SettingsValues settings,
                                 MessageSink& messages)
    : databasePath_(std::move(databasePath)), settings_(std::move(settings)), messages_(messages) {}

ImportSummary ProjectImporter::Import(std::span<const ImportedProject> projects,
                                      const ImportOptions& options) {
  ImportSummary summary;
  today_ = TodayDateText();
  existing_.clear();
  ProjectsTable table(databasePath_, messages_);
  if (table.OpenTable() && table.LoadAllProjects()) {
    for (std::size_t i = 0; i < table.Records().size(); ++i) {
      ProjectsRecord row;
      table.SetCurrentIndex(static_cast<int>(i));
      if (table.GetCurrent(row)) existing_.push_back({row.id, row.catId, row.title});
    }
  }

  const bool selected = options.target == ImportTarget::SelectedCategory;
  std::optional<Target> chosen;
  if (selected) chosen = ResolveCategory(options.categoryName, summary);
  CategoriesTable categories(databasePath_, messages_);
  const int importedProjectsId =
      categories.OpenTable() ? categories.CategoryIdByName(kImportedProjectsCategory) : -1;
  // Into "Imported Projects" every project comes in as a new one, duplicates included.
  const bool allAsNew =
      chosen && importedProjectsId != -1 && chosen->categoryId == importedProjectsId;

  for (const ImportedProject& project : projects) {
    const Existing* duplicate = FindDuplicate(project.title);
    if (duplicate != nullptr && !allAsNew) {
      summary.rows.push_back(options.duplicates == DuplicateHandling::MergeLinks
                                 ? MergeLinks(project, *duplicate)
                                 : Skip(project, *duplicate));
      continue;
    }
    ImportAction action{selected ? ImportAction::kImportIntoSelectedCategory
                                 : ImportAction::kImportIntoSuggestedCategory};
    if (duplicate != nullptr) action.code = ImportAction::kDuplicateImportIntoSelectedCategory;
    std::optional<Target> target = chosen;
    if (!selected) {
      // A project without a usable category of its own goes to the chosen one.
      std::string name = Trim(project.category);
      if (name.empty() || EqualsNoCase(name, kAllCategoriesName)) name = options.categoryName;
      target = ResolveCategory(name, summary);
    }
    if (!target) {
      summary.rows.push_back({project.title, action, ImportResultKind::Failed,
                              Format("Project %s was not imported: its category could not be made",
                                     project.title.c_str())});
      continue;
    }
    summary.rows.push_back(ImportAsNew(project, *target, action));
  }
  return summary;
}

std::optional<ProjectImporter::Target> ProjectImporter::ResolveCategory(const std::string& name,
                                                                        ImportSummary& summary) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty()) return std::nullopt;
  CategoriesTable table(databasePath_, messages_);
  if (!table.OpenTable()) return std::nullopt;
  int id = table.CategoryIdByName(trimmed);
  if (id == -1 && table.InsertCategory(trimmed)) {
    summary.categoriesCreated = true;
    id = table.CategoryIdByName(trimmed);
  }
  if (id == -1) return std::nullopt;
  return Target{id, trimmed};
}

const ProjectImporter::Existing* ProjectImporter::FindDuplicate(const std::string& title) const {
  const std::string trimmed = Trim(title);
  const Existing* found = nullptr;
  for (const Existing& e : existing_) {
    if (EqualsNoCase(Trim(e.title), trimmed) && (found == nullptr || e.id < found->id)) found = &e;
  }
  return found;
}

std::string ProjectImporter::CategoryName(int categoryId) {
  CategoriesTable table(databasePath_, messages_);
  return table.OpenTable() ? table.CategoryNameById(categoryId) : std::string();
}

int ProjectImporter::InsertLinks(int projectId, const std::vector<ImportedLink>& links,
                                 std::vector<std::string>* knownURLs) {
  ProjectLinksTable table(databasePath_, messages_);
  if (!table.OpenTable()) return 0;
  int added = 0;
  Transaction transaction(table, messages_);
  for (const ImportedLink& link : links) {
    if (knownURLs != nullptr) {
      if (std::find(knownURLs->begin(), knownURLs->end(), link.url) != knownURLs->end()) {
        continue;
      }
      knownURLs->push_back(link.url);
    }
    ProjectLinksRecord row;
    row.projectId = projectId;
    row.date = today_;
    row.searchSubFolders = link.searchSubFolders;
    row.url = link.url;
    row.keywordMustExist = link.keywordMustExist;
    row.keywords = link.keywords;
    row.photos = 0;
    NewGUIDString(row.guid);
    if (table.InsertProjectLink(row)) ++added;
  }
  return added;
}

ImportResultRow ProjectImporter::ImportAsNew(const ImportedProject& project, const Target& target,
                                             ImportAction action) {
  const ProjectsRecord row = NewRow(project, settings_, target.categoryId);
  if (!IsStartAddress(row.url)) {
    return {project.title, action, ImportResultKind::Failed,
            Format("Project %s was not imported: its address is no web address (http or https)",
                   project.title.c_str())};
  }
  if (const auto problem = ProjectFoldersProblem(row)) {
    return {project.title, action, ImportResultKind::Failed,
            Format("Project %s was not imported: %s", project.title.c_str(), problem->c_str())};
  }
  ProjectsTable table(databasePath_, messages_);
  const int id = table.OpenTable() && table.InsertProject(row) ? LastInsertedId(table) : -1;
  if (id <= 0) {
    return {project.title, action, ImportResultKind::Failed,
            Format("Project %s was not imported", project.title.c_str())};
  }
  existing_.push_back({id, target.categoryId, row.title});
  // Every web link of a new project is added, as the file lists them.
  std::vector<std::string> refused;
  const int added = InsertLinks(id, WebLinks(project.links, refused), nullptr);
  return {
      project.title, action, ImportResultKind::Imported,
      Format("Project %s imported (%s %s) to Category (%s)", project.title.c_str(),
             FormatThousands(added).c_str(), LinkWord(added).c_str(), target.categoryName.c_str()) +
          RefusedNote(refused)};
}

ImportResultRow ProjectImporter::MergeLinks(const ImportedProject& project,
                                            const Existing& existing) {
  const ImportAction action{ImportAction::kDuplicateMergeLinks};
  ProjectLinksTable table(databasePath_, messages_);
  if (!table.OpenTable() || !table.LoadLinksOfProject(existing.id)) {
    return {project.title, action, ImportResultKind::Failed,
            Format("The links of %s could not be merged", project.title.c_str())};
  }
  std::vector<std::string> known;
  for (std::size_t i = 0; i < table.Records().size(); ++i) {
    ProjectLinksRecord link;
    table.SetCurrentIndex(static_cast<int>(i));
    if (table.GetCurrent(link)) known.push_back(link.url);
  }
  std::vector<std::string> refused;
  const int added = InsertLinks(existing.id, WebLinks(project.links, refused), &known);
  return {project.title, action, ImportResultKind::Merged,
          Format("%s %s merged into %s project, category (%s)", FormatThousands(added).c_str(),
                 LinkWord(added).c_str(), project.title.c_str(),
                 CategoryName(existing.categoryId).c_str()) +
              RefusedNote(refused)};
}

ImportResultRow ProjectImporter::Skip(const ImportedProject& project, const Existing& existing) {
  return {project.title, ImportAction{ImportAction::kDuplicateDontImport},
          ImportResultKind::Skipped,
          Format("Project (%s) already exists in Category (%s)", project.title.c_str(),
                 CategoryName(existing.categoryId).c_str())};
}

}  // namespace trawlix::exchange
