// Any texts as a project's stored texts, and any number as a scan's byte count: storing
// and loading must give back exactly what was stored, decoded once on every way out (the
// cache, the current record, a look-up by id), and no stored statement may carry a quote.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageBox.h"
#include "base/Text.h"
#include "storage/Database.h"
#include "storage/DbTextEncoding.h"
#include "storage/ProjectsTable.h"
#include "storage/RecordColumns.h"
#include "storage/ScanHistoryTable.h"

namespace {

using namespace trawlix;

class SilentSink : public MessageSink {
 public:
  MessageReply Show(const MessageRequest&) override { return {}; }
};

struct Database {
  Database() {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = (base / "records_fuzzer.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    path = folder + "/Projects.txdb";
    if (!projects.OpenTable() || !history.OpenTable()) std::abort();
  }
  ~Database() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string folder;
  std::string path;
  SilentSink messages;
  ProjectsTable projects{path, messages};
  ScanHistoryTable history{path, messages};
};

Database& Db() {
  static Database db;
  return db;
}

// The input's parts between zero bytes, one per text column; the last eight bytes of a
// long enough input are the byte count.
ProjectsRecord ProjectFrom(std::string_view input) {
  ProjectsRecord record;
  int n = 0;
  for (const auto& column : ColumnsOf<ProjectsRecord>()) {
    if (column.kind == ColumnKind::Integer) record.*column.integer = n++;
  }
  record.id = -1;
  for (const auto& column : ColumnsOf<ProjectsRecord>()) {
    if (column.kind != ColumnKind::Text) continue;
    const std::size_t end = input.find('\0');
    record.*column.text = std::string(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  return record;
}

// What a stored text reads back as: itself, but for a reference typed for one of the reserved
// characters, which reads as the character (older rows hold the same bytes).
std::string ReadBack(std::string_view text) {
  return DecodeDbText(EncodeDbText(text));
}

void CheckTexts(std::string_view text) {
  const std::string encoded = EncodeDbText(text);
  if (encoded.find('\'') != std::string::npos) std::abort();
  const std::string once = DecodeDbText(encoded);
  // Without a reference in it a text comes back as it was; with one, storing what came back
  // changes nothing more (nothing is decoded twice).
  if (text.find("&#") == std::string_view::npos && once != text) std::abort();
  if (ReadBack(once) != once) std::abort();
}

void CheckProject(const ProjectsRecord& record) {
  Database& db = Db();
  if (!db.projects.InsertProject(record)) std::abort();
  const int id = db.projects.ExecuteScalar("SELECT MAX(Id) FROM Projects;");
  if (!db.projects.LoadProjectById(id) || db.projects.Records().size() != 1) std::abort();
  ProjectsRecord expected = record;
  expected.id = id;
  for (const auto& column : ColumnsOf<ProjectsRecord>()) {
    if (column.kind == ColumnKind::Text) expected.*column.text = ReadBack(record.*column.text);
  }
  ProjectsRecord current;
  ProjectsRecord byId;
  if (!db.projects.GetCurrent(current) || !db.projects.GetById(id, byId)) std::abort();
  if (db.projects.Records()[0] != expected || current != expected || byId != expected) {
    std::abort();
  }
  // A look-up by the trimmed title finds the project again.
  if (!db.projects.LoadByTitle(record.title)) std::abort();
  const bool trimmed = Trim(record.title) == record.title;
  if (trimmed && db.projects.FindIndexById(id) < 0) std::abort();
  (void)db.projects.FindProjectsByName(record.title, ProjectNameMatch::Contains);
  if (!db.projects.DeleteProject(id)) std::abort();
}

void CheckBytes(std::int64_t bytes) {
  Database& db = Db();
  ScanHistoryRecord scan;
  scan.projectId = 1;
  scan.totalBytes = bytes;
  if (!db.history.InsertScanHistory(scan)) std::abort();
  if (!db.history.LoadProjectHistory(1) || db.history.Records().size() != 1) std::abort();
  if (db.history.Records()[0].totalBytes != bytes) std::abort();
  db.history.ExecuteUpdate("DELETE FROM ScanHistory;");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckTexts(input);
  const ProjectsRecord record = ProjectFrom(input);
  for (const auto& column : ColumnsOf<ProjectsRecord>()) {
    if (column.kind == ColumnKind::Text) CheckTexts(record.*column.text);
  }
  CheckProject(record);
  if (size >= sizeof(std::int64_t)) {
    std::int64_t bytes = 0;
    std::memcpy(&bytes, data + size - sizeof bytes, sizeof bytes);
    CheckBytes(bytes);
  }
  return 0;
}
