// Writes the fuzz targets' seed inputs with the program's own writers, so the seeds follow
// every change of the formats: exchange files made by the exporter (one project, several,
// with links, with and without sample photo and description) and their binary project
// members alone, settings files with different values, and stored project texts.
// Usage: make_fuzz_seeds CORPUS_DIR (fuzz/corpus); writes CORPUS_DIR/{exchange,settings,records}
// with names starting "seed-".
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "exchange/ExchangeArchive.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ProjectExporter.h"
#include "imaging/codec/PhotoCodec.h"
#include "settings/Settings.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace {

namespace fs = std::filesystem;
using namespace trawlix;
using namespace trawlix::exchange;

class PrintingSink : public MessageSink {
 public:
  MessageReply Show(const MessageRequest& request) override {
    std::cerr << "make_fuzz_seeds: " << request.text << '\n';
    return {};
  }
};

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A 4 x 3 pixel, 24-bit bottom-up BMP: the smallest picture the exporter turns into a
// sample photo.
std::string TinyBmp() {
  const std::uint32_t width = 4, height = 3, row = 12, pixels = row * height;
  std::string bmp;
  const auto u16 = [&](std::uint32_t v) {
    for (int i = 0; i < 2; ++i) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bmp += "BM";
  u32(54 + pixels);
  u32(0);
  u32(54);
  u32(40);
  u32(width);
  u32(height);
  u16(1);
  u16(24);
  u32(0);
  u32(pixels);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (std::uint32_t i = 0; i < pixels; ++i) bmp += static_cast<char>((i * 37) & 0xFF);
  return bmp;
}

struct SeedDatabase {
  explicit SeedDatabase(const fs::path& folder) : path((folder / "Projects.txdb").string()) {}

  int Category(const std::string& name) {
    CategoriesTable table(path, messages);
    if (!table.OpenTable()) std::exit(1);
    const int id = table.CategoryIdByName(name);
    if (id != -1) return id;
    table.InsertCategory(name);
    return table.CategoryIdByName(name);
  }

  int Project(const std::string& title, const std::string& category, const std::string& url,
              int flags) {
    ProjectsTable table(path, messages);
    if (!table.OpenTable()) std::exit(1);
    ProjectsRecord r;
    r.catId = Category(category);
    r.title = title;
    r.url = url;
    r.saveTo = "/home/user/Pictures/" + title;
    r.keywords = flags % 2 ? "beach, sunset, sea" : "";
    r.namePrefix = flags % 3 ? title.substr(0, 6) + "_" : "";
    r.jpeg = 1;
    r.png = flags & 1;
    r.gif = (flags >> 1) & 1;
    r.bmp = (flags >> 2) & 1;
    r.tif = (flags >> 3) & 1;
    r.createFolders = 1;
    r.searchSubFolders = flags & 1;
    r.filterMinimumSize = 1;
    r.minimumSize = 100 * flags;
    r.autoRename = (flags >> 1) & 1;
    r.orientation = flags % 3;
    r.padNumbers = 1;
    r.padding = 1 + flags % 5;
    table.InsertProject(r);
    return table.ExecuteScalar("SELECT MAX(Id) FROM Projects;");
  }

  void Link(int projectId, const std::string& url, const std::string& keywords) {
    ProjectLinksRecord l;
    l.projectId = projectId;
    l.date = "12/09/2026";
    l.searchSubFolders = 1;
    l.title = "";
    l.url = url;
    l.keywordMustExist = keywords.empty() ? 0 : 1;
    l.keywords = keywords;
    l.guid = "5F1C2B9E-0000-4000-8000-00000000000" + std::to_string(projectId % 10);
    l.photos = 0;
    AddProjectLink(path, messages, l);
  }

  void Scan(int projectId, int saved) {
    ScanHistoryRecord h;
    h.projectId = projectId;
    h.savedImages = saved;
    h.totalBytes = 2'650'000'000;
    AddScanHistory(path, messages, h, false);
  }

  std::string path;
  PrintingSink messages;
};

void WriteExchangeSeeds(const fs::path& out, const fs::path& work) {
  SeedDatabase db(work);
  const int beach = db.Project("Beach Photos", "Travel", "https://photos.example/beach/", 3);
  db.Link(beach, "https://photos.example/beach/2026/", "sand");
  db.Link(beach, "https://photos.example/beach/page2.html", "");
  db.Scan(beach, 42);
  const int cats =
      db.Project("Cats & Dogs (v1.0)", "Pets", "http://pets.example/gallery.php?id=7", 6);
  const int empty =
      db.Project("Tom's \"quoted\" <b>title</b>", "Travel", "https://a.example/x-y/(1),2:3", 9);
  for (int i = 0; i < 4; ++i) {
    db.Link(cats, "http://pets.example/gallery.php?id=" + std::to_string(8 + i), "cat, dog");
  }
  const fs::path photo = work / "sample.bmp";
  Write(photo, TinyBmp());

  struct Seed {
    const char* name;
    std::vector<int> ids;
    bool description;
    bool photo;
    bool myInfo;
  };
  const Seed seeds[] = {
      {"one-project", {empty}, false, false, false},
      {"one-project-links", {beach}, true, false, true},
      {"several-projects", {beach, cats, empty}, true, false, false},
      {"with-photo", {cats}, true, true, true},
      {"several-with-photo", {empty, beach}, false, true, false},
  };
  ProjectExporter exporter(db.path, (work / "Temp").string(), db.messages);
  for (const Seed& seed : seeds) {
    ExportRequest request;
    request.projectIds = seed.ids;
    request.target = (work / (std::string(seed.name) + ".txexport")).string();
    if (seed.description) request.description = "Sunsets & beaches, <b>2026</b>";
    request.includeMyInfo = seed.myInfo;
    request.name = "Ann O'Neil";
    request.emailAddress = "ann@example.org";
    request.website = "https://ann.example.org/";
    if (seed.photo) request.photoPath = photo.string();
    if (!exporter.Export(request).ok) std::exit(1);
    const std::string file = Read(request.target);
    Write(out / "exchange" / ("seed-" + std::string(seed.name) + ".txexport"), file);
    const ArchiveReadResult members = ReadArchiveBytes(file, 1);
    if (!members.opened || members.members[0].state != MemberState::Present) std::exit(1);
    Write(out / "exchange" / ("seed-" + std::string(seed.name) + ".txExport-member"),
          members.members[0].bytes);
  }
}

void WriteSettingsSeeds(const fs::path& out) {
  SettingsValues defaults;
  Write(out / "settings" / "seed-defaults.txdat", EncodeSettings(defaults));
  SettingsValues changed;
  changed.defaultSaveTo = "/home/user/Pictures/Trawlix";
  changed.useProjectNameForSaveTo = 0;
  changed.importCategory = "Friends' Projects";
  changed.thumbnailsFolderName = "Small & Quick";
  changed.newAutoCreateThumbnails = 1;
  changed.newAutoCreateMobile = 1;
  changed.newThumbnailsSaveToLocation = 1;
  changed.newThumbnailsExternalSaveTo = "/media/photos/thumbs";
  Write(out / "settings" / "seed-changed.txdat", EncodeSettings(changed));
  SettingsValues empty = changed;
  empty.defaultSaveTo.clear();
  empty.importCategory.clear();
  empty.thumbnailsFolderName = std::string(300, 'x');
  Write(out / "settings" / "seed-long-and-empty.txdat", EncodeSettings(empty));
}

// Texts for the eleven text columns between zero bytes, then a 64-bit byte count.
void WriteRecordsSeeds(const fs::path& out) {
  const std::vector<std::vector<std::string>> rows = {
      {"Beach Photos", "https://photos.example/beach/", "/home/user/Pictures/Beach Photos",
       "sand, sea", "Beach_"},
      {"Beach&#47&#46&#46&#47&#46&#46&#47tmp", "http://a.example/x-y/(1),2:3?a=1&b='2'",
       "/home/user/Pictures/Beach&#47&#46&#46", "&#38#39, &amp;", "&#39_"},
      {"Tom's \"best\" (v1.0)", "https://b.example/", "/tmp/x", "", "", "/tmp/x/Thumbs",
       "/tmp/x/Mobile", "Thumbs", "/ext", "Mobile", "/ext2"},
  };
  const std::int64_t sizes[] = {0, 2'650'000'000, -1};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string input;
    for (const std::string& text : rows[i]) input += text + '\0';
    std::int64_t bytes = sizes[i];
    input.append(reinterpret_cast<const char*>(&bytes), sizeof bytes);
    Write(out / "records" / ("seed-row-" + std::to_string(i + 1)), input);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds CORPUS_DIR\n";
    return 2;
  }
  InitImaging();
  const fs::path out = argv[1];
  const fs::path work = fs::temp_directory_path() / ("make_fuzz_seeds." + std::to_string(getpid()));
  fs::remove_all(work);
  fs::create_directories(work);
  WriteExchangeSeeds(out, work);
  WriteSettingsSeeds(out);
  WriteRecordsSeeds(out);
  fs::remove_all(work);
  return 0;
}
