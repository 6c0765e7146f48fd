#include "storage/RecordTable.h"

#include <filesystem>

#include "base/Text.h"
#include "storage/DatabaseError.h"
#include "storage/DbTextEncoding.h"
#include "storage/RecordColumns.h"
#include "storage/SqlFormat.h"

namespace trawlix {

template <class Record>
RecordTable<Record>::RecordTable(std::string path, MessageSink& messages,
                                 std::string_view tableName, std::string_view createStatement)
    : path_(std::move(path)),
      messages_(messages),
      tableName_(tableName),
      createStatement_(createStatement) {}

template <class Record>
void RecordTable<Record>::Report(const DatabaseError& error) {
  messages_.Inform("Code (" + std::to_string(error.Code()) + "): " + error.Message());
}

template <class Record>
bool RecordTable<Record>::OpenTableImpl() {
  std::error_code ignored;
  const bool existed = std::filesystem::exists(path_, ignored);
  open_ = false;
  try {
    Open(path_);
  } catch (const DatabaseError& error) {
    // A connection that failed to open is reported as closed, so callers can tell.
    Report(error);
    return false;
  }
  try {
    if (!existed || !TableExists(std::string(tableName_))) {
      ExecuteUpdate(std::string(createStatement_));
    }
  } catch (const DatabaseError& error) {
    Report(error);
    return false;
  }
  open_ = true;
  return true;
}

template <class Record>
int& RecordTable<Record>::IdOf(Record& record) {
  return record.*ColumnsOf<Record>()[0].integer;
}

template <class Record>
int RecordTable<Record>::IdOf(const Record& record) {
  return record.*ColumnsOf<Record>()[0].integer;
}

template <class Record>
void RecordTable<Record>::DecodeTexts(Record& record) {
  for (const auto& column : ColumnsOf<Record>()) {
    if (column.kind == ColumnKind::Text) record.*column.text = DecodeDbText(record.*column.text);
  }
}

template <class Record>
bool RecordTable<Record>::Load(const std::string& sql) {
  if (!open_) return false;
  cache_.clear();
  currentIndex_ = -1;
  const auto columns = ColumnsOf<Record>();
  try {
    DatabaseQuery query = ExecuteQuery(sql);
    // Columns are found by name, so the order of a SELECT's columns does not matter.
    std::vector<int> positions(columns.size(), -1);
    for (int i = 0; i < query.ColumnCount(); ++i) {
      const char* name = query.ColumnName(i);
      for (std::size_t c = 0; c < columns.size(); ++c) {
        if (name != nullptr && EqualsNoCase(name, columns[c].name)) positions[c] = i;
      }
    }
    for (; !query.AtEnd(); query.NextRow()) {
      Record record;
      for (std::size_t c = 0; c < columns.size(); ++c) {
        if (positions[c] < 0) continue;
        const char* value = query.ColumnText(positions[c]);
        if (columns[c].kind == ColumnKind::Integer) {
          record.*columns[c].integer = TextToInt(value);
        } else if (columns[c].kind == ColumnKind::BigInteger) {
          record.*columns[c].bigInteger = TextToInt64(value);
        } else if (columns[c].kind == ColumnKind::Flag) {
          record.*columns[c].flag = FlagFromStored(TextToInt(value));
        } else {
          record.*columns[c].text = value ? value : "";
        }
      }
      DecodeTexts(record);
      cache_.push_back(std::move(record));
    }
  } catch (const DatabaseError& error) {
    // A half-read result is not a result: leave nothing behind that could pass for one.
    cache_.clear();
    Report(error);
    return false;
  }
  currentIndex_ = 0;
  return true;
}

template <class Record>
std::optional<int> RecordTable<Record>::Update(const std::string& sql) {
  if (!open_) return std::nullopt;
  try {
    return ExecuteUpdate(sql);
  } catch (const DatabaseError& error) {
    Report(error);
    return std::nullopt;
  }
}

template <class Record>
std::optional<int> RecordTable<Record>::Scalar(const std::string& sql) {
  if (!open_) return std::nullopt;
  try {
    return ExecuteScalar(sql);
  } catch (const DatabaseError& error) {
    Report(error);
    return std::nullopt;
  }
}

template <class Record>
std::string RecordTable<Record>::FormatWithRecord(std::string_view format, const Record& record,
                                                  std::optional<int> extra) const {
  const auto columns = ColumnsOf<Record>().subspan(1);
  std::vector<std::string> encoded;
  encoded.reserve(columns.size());
  std::vector<SqlArg> args;
  args.reserve(columns.size() + 1);
  for (const auto& column : columns) {
    if (column.kind == ColumnKind::Text) encoded.push_back(EncodeDbText(record.*column.text));
  }
  std::size_t nextText = 0;
  for (const auto& column : columns) {
    if (column.kind == ColumnKind::Integer) {
      args.emplace_back(record.*column.integer);
    } else if (column.kind == ColumnKind::BigInteger) {
      args.emplace_back(record.*column.bigInteger);
    } else if (column.kind == ColumnKind::Flag) {
      args.emplace_back(StoredFlag(record.*column.flag));
    } else {
      args.emplace_back(std::string_view(encoded[nextText++]));
    }
  }
  if (extra) args.emplace_back(*extra);
  return FormatSql(format, args.data(), args.size());
}

template <class Record>
void RecordTable<Record>::BeginTransaction() {
  Update("BEGIN TRANSACTION;");
}

template <class Record>
void RecordTable<Record>::CommitTransaction() {
  Update("COMMIT;");
}

template <class Record>
bool RecordTable<Record>::GetCurrent(Record& record) const {
  if (currentIndex_ < 0 || currentIndex_ >= static_cast<int>(cache_.size())) return false;
  // The cache is decoded already: a second decoding would turn a typed "&#47" into "/".
  record = cache_[static_cast<std::size_t>(currentIndex_)];
  return true;
}

template <class Record>
int RecordTable<Record>::FindIndexById(int id) const {
  for (std::size_t i = 0; i < cache_.size(); ++i) {
    if (IdOf(cache_[i]) == id) return static_cast<int>(i);
  }
  return -1;
}

template <class Record>
bool RecordTable<Record>::GetById(int id, Record& record) const {
  const int index = FindIndexById(id);
  if (index < 0) return false;
  record = cache_[static_cast<std::size_t>(index)];
  return true;
}

template class RecordTable<ProjectsRecord>;
template class RecordTable<ProjectLinksRecord>;
template class RecordTable<ScanHistoryRecord>;
template class RecordTable<CategoriesRecord>;

}  // namespace trawlix
