// Exchange files come from other people. Any bytes, as a whole .txexport archive (when they
// start with a ZIP signature) or as its binary project member alone, must neither crash the
// reader nor make it allocate without bound; what it accepts must write and read back
// unchanged, describe itself in well-formed XML, and import with every folder of every new
// project inside the user's pictures folder.
#include <QByteArray>
#include <QXmlStreamReader>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageBox.h"
#include "exchange/ExchangeDescription.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ProjectFile.h"
#include "exchange/ProjectImporter.h"
#include "storage/CategoriesTable.h"
#include "storage/Database.h"
#include "storage/ProjectFolderCheck.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"

namespace {

using namespace trawlix;
using namespace trawlix::exchange;

// Imports stay small so the fuzzer keeps its pace; what matters is every path, not volume.
constexpr std::size_t kMaxProjects = 6;
constexpr std::size_t kMaxLinks = 6;

class SilentSink : public MessageSink {
 public:
  MessageReply Show(const MessageRequest&) override { return {}; }
};

// A database and a pictures folder of this process, on a memory file system when there
// is one.
struct ImportPlace {
  ImportPlace() {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = (base / "exchange_fuzzer.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    database = folder + "/Projects.txdb";
    settings.defaultSaveTo = folder + "/Pictures";
    settings.newAutoCreateThumbnails = true;
    settings.newAutoCreateMobile = true;
    connection.Open(database);
  }
  ~ImportPlace() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  void Empty() {
    for (const char* table : {"Projects", "ProjectLinks", "Categories"}) {
      try {
        connection.ExecuteUpdate(std::string("DELETE FROM ") + table + ";");
      } catch (const std::exception&) {
        // Not made yet.
      }
    }
  }

  std::string folder;
  std::string database;
  SettingsValues settings;
  SilentSink messages;
  Database connection;
};

ImportPlace& Place() {
  static ImportPlace place;
  return place;
}

// What was read once must survive writing and reading again unchanged.
void CheckStableRoundTrip(const ExchangeHeader& header,
                          const std::vector<ImportedProject>& projects) {
  const ProjectFileReadResult second = ReadProjectFile(WriteProjectFile(header, projects));
  if (!second.ok) std::abort();
  const ProjectFileReadResult third =
      ReadProjectFile(WriteProjectFile(second.content.header, second.content.projects));
  if (!third.ok || third.content.projects != second.content.projects) std::abort();
}

bool Inside(const std::string& path, const std::string& root) {
  return path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 &&
         path[root.size()] == '/';
}

// Imports with options taken from the header's platform field (a second time, when everything
// is a duplicate, if it asks), and checks where the new projects' folders lie.
void CheckImport(const ExchangeHeader& header, const std::vector<ImportedProject>& read) {
  ImportPlace& place = Place();
  place.Empty();
  std::vector<ImportedProject> projects;
  for (std::size_t i = 0; i < read.size() && i < kMaxProjects; ++i) {
    ImportedProject& p = projects.emplace_back(read[i]);
    if (p.links.size() > kMaxLinks) p.links.resize(kMaxLinks);
  }
  const auto bits = static_cast<unsigned>(header.platform);
  ImportOptions options;
  options.target = (bits & 1) != 0 ? ImportTarget::FileCategory : ImportTarget::SelectedCategory;
  options.duplicates =
      (bits & 2) != 0 ? DuplicateHandling::MergeLinks : DuplicateHandling::DontImport;
  options.categoryName = (bits & 4) != 0 ? "Imported Projects" : "Chosen";
  {
    CategoriesTable categories(place.database, place.messages);
    if (categories.OpenTable() && (bits & 8) != 0) categories.InsertCategory("Imported Projects");
  }
  ProjectImporter importer(place.database, place.settings, place.messages);
  (void)importer.Import(projects, options);
  if ((bits & 16) != 0) (void)importer.Import(projects, options);

  ProjectsTable table(place.database, place.messages);
  if (!table.OpenTable() || !table.LoadAllProjects()) return;
  const std::string& pictures = place.settings.defaultSaveTo;
  for (const ProjectsRecord& project : table.Records()) {
    if (ProjectFoldersProblem(project)) std::abort();
    if (!Inside(project.saveTo, pictures) || !Inside(project.thumbnailSaveTo, pictures) ||
        !Inside(project.mobileSaveTo, pictures)) {
      std::abort();
    }
  }
}

// Whatever the texts hold, the description is a well-formed document with one Project
// element per project.
void CheckDescription(const ExchangeHeader& header, const std::vector<ImportedProject>& projects) {
  QXmlStreamReader reader(
      QByteArray::fromStdString(WriteExchangeDescription(header, projects, kPhotoMemberName)));
  std::size_t count = 0;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement &&
        reader.name() == QStringLiteral("Project")) {
      ++count;
    }
  }
  if (reader.hasError() || count != projects.size()) std::abort();
}

void CheckAccepted(const ExchangeHeader& header, const std::vector<ImportedProject>& projects) {
  CheckStableRoundTrip(header, projects);
  CheckDescription(header, projects);
  CheckImport(header, projects);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.starts_with("PK")) {
    const ExchangeReadResult read = ReadExchangeBytes(bytes);
    if (read.ok) {
      CheckAccepted(read.file.header, read.file.projects);
    } else if (!read.file.projects.empty()) {
      std::abort();
    }
  } else {
    const ProjectFileReadResult read = ReadProjectFile(bytes);
    if (read.ok) CheckAccepted(read.content.header, read.content.projects);
  }
  return 0;
}
