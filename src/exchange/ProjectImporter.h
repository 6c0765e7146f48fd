#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeRecords.h"
#include "settings/SettingsValues.h"

namespace trawlix::exchange {

enum class ImportTarget {
  SelectedCategory = 0,  // every project into the chosen category
  FileCategory = 1,      // each project into the category named in the file, made when missing
};

// Codes as the settings store them.
enum class DuplicateHandling { MergeLinks = 2, DontImport = 3 };

struct ImportOptions {
  ImportTarget target = ImportTarget::SelectedCategory;
  std::string categoryName = "Imported Projects";  // the chosen category
  DuplicateHandling duplicates = DuplicateHandling::DontImport;
};

// The import dialog's starting options.
ImportOptions ImportOptionsFromSettings(const SettingsValues& settings);

// The planned handling of one project.
struct ImportAction {
  enum Code {
    kImportIntoSelectedCategory = 0,
    kImportIntoSuggestedCategory = 1,
    kDuplicateImportIntoSelectedCategory = 2,
    kDuplicateMergeLinks = 3,
    kDuplicateDontImport = 4,
    kUnknown = 5,
  };
  Code code = kUnknown;

  const char* Name() const;
  bool operator==(const ImportAction&) const = default;
};

enum class ImportResultKind { Imported = 0, Merged = 1, Skipped = 2, Failed = 3 };
const char* ImportResultKindName(ImportResultKind kind);

struct ImportResultRow {
  std::string title;
  ImportAction action;
  ImportResultKind kind = ImportResultKind::Skipped;
  std::string message;
};

struct ImportSummary {
  std::vector<ImportResultRow> rows;  // one per project, in the order given
  bool categoriesCreated = false;     // the caller refills its category lists
};

// Reads an exchange file for import. A file that cannot be read is reported in a message
// box and yields nothing, so nothing can be imported from it.
std::optional<ExchangeFile> OpenImportFile(const std::string& path, MessageSink& messages);

// Adds projects of an exchange file to the project database.
class ProjectImporter {
 public:
  ProjectImporter(std::string databasePath, SettingsValues settings, MessageSink& messages);

  // Imports the given projects (the checked ones, in list order).
  ImportSummary Import(std::span<const ImportedProject> projects, const ImportOptions& options);

 private:
  struct Existing {
    int id;
    int categoryId;
    std::string title;
  };
  struct Target {
    int categoryId = -1;
    std::string categoryName;
  };

  std::optional<Target> ResolveCategory(const std::string& name, ImportSummary& summary);
  const Existing* FindDuplicate(const std::string& title) const;
  ImportResultRow ImportAsNew(const ImportedProject& project, const Target& target,
                              ImportAction action);
  ImportResultRow MergeLinks(const ImportedProject& project, const Existing& existing);
  ImportResultRow Skip(const ImportedProject& project, const Existing& existing);
  std::string CategoryName(int categoryId);
  // With `knownURLs`, only links whose address is not among them (and not added before).
  int InsertLinks(int projectId, const std::vector<ImportedLink>& links,
                  std::vector<std::string>* knownURLs);

  std::string databasePath_;
  SettingsValues settings_;
  MessageSink& messages_;
  std::string today_;
  std::vector<Existing> existing_;
};

}  // namespace trawlix::exchange
