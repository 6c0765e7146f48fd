#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "storage/CategoriesRecord.h"
#include "storage/ProjectLinksRecord.h"
#include "storage/ProjectsRecord.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// BigInteger columns hold 64-bit values (byte counts); SQLite's INTEGER stores either.
// Flag columns store 0 or 1 and are a bool in the record.
enum class ColumnKind { Integer, BigInteger, Flag, Text };

// One database column of a record: its name as the table declares it, its kind and the
// member that holds it. Exactly one of the four member pointers is set.
template <class Record>
struct RecordColumn {
  std::string_view name;
  ColumnKind kind;
  int Record::*integer = nullptr;
  std::string Record::*text = nullptr;
  std::int64_t Record::*bigInteger = nullptr;
  bool Record::*flag = nullptr;
};

template <class Record>
constexpr RecordColumn<Record> IntColumn(std::string_view name, int Record::*member) {
  return {name, ColumnKind::Integer, member, nullptr, nullptr, nullptr};
}

template <class Record>
constexpr RecordColumn<Record> BigIntColumn(std::string_view name, std::int64_t Record::*member) {
  return {name, ColumnKind::BigInteger, nullptr, nullptr, member, nullptr};
}

template <class Record>
constexpr RecordColumn<Record> FlagColumn(std::string_view name, bool Record::*member) {
  return {name, ColumnKind::Flag, nullptr, nullptr, nullptr, member};
}

template <class Record>
constexpr RecordColumn<Record> TextColumn(std::string_view name, std::string Record::*member) {
  return {name, ColumnKind::Text, nullptr, member, nullptr, nullptr};
}

// A stored flag is on when it is not 0; it is stored back as 0 or 1.
constexpr bool FlagFromStored(std::int64_t stored) {
  return stored != 0;
}
constexpr int StoredFlag(bool flag) {
  return flag ? 1 : 0;
}

// Column tables in the order of each table's CREATE statement.
inline constexpr RecordColumn<ProjectsRecord> kProjectsColumns[] = {
    IntColumn("Id", &ProjectsRecord::id),
    IntColumn("CatId", &ProjectsRecord::catId),
    TextColumn("Title", &ProjectsRecord::title),
    TextColumn("URL", &ProjectsRecord::url),
    TextColumn("SaveTo", &ProjectsRecord::saveTo),
    FlagColumn("JPEG", &ProjectsRecord::jpeg),
    FlagColumn("PNG", &ProjectsRecord::png),
    FlagColumn("GIF", &ProjectsRecord::gif),
    FlagColumn("BMP", &ProjectsRecord::bmp),
    FlagColumn("ICO", &ProjectsRecord::ico),
    FlagColumn("CreateFolders", &ProjectsRecord::createFolders),
    FlagColumn("SearchSubFolders", &ProjectsRecord::searchSubFolders),
    TextColumn("Keywords", &ProjectsRecord::keywords),
    FlagColumn("FilterMinimumSize", &ProjectsRecord::filterMinimumSize),
    IntColumn("MinimumSize", &ProjectsRecord::minimumSize),
    FlagColumn("AutoRename", &ProjectsRecord::autoRename),
    FlagColumn("IncludePhotoSize", &ProjectsRecord::includePhotoSize),
    FlagColumn("ReplaceSpaces", &ProjectsRecord::replaceSpaces),
    FlagColumn("PadNumbers", &ProjectsRecord::padNumbers),
    IntColumn("Padding", &ProjectsRecord::padding),
    TextColumn("NamePrefix", &ProjectsRecord::namePrefix),
    FlagColumn("AutoResize", &ProjectsRecord::autoResize),
    IntColumn("ResizeBoundingBox", &ProjectsRecord::resizeBoundingBox),
    FlagColumn("AutoConvert", &ProjectsRecord::autoConvert),
    IntColumn("ConvertToFormat", &ProjectsRecord::convertToFormat),
    FlagColumn("AutoCreateThumbnails", &ProjectsRecord::autoCreateThumbnails),
    IntColumn("ThumbnailBoundingBox", &ProjectsRecord::thumbnailBoundingBox),
    IntColumn("ThumbnailFormat", &ProjectsRecord::thumbnailFormat),
    TextColumn("ThumbnailSaveTo", &ProjectsRecord::thumbnailSaveTo),
    FlagColumn("ExcludeThumbnailFolder", &ProjectsRecord::excludeThumbnailFolder),
    FlagColumn("AutoCreateMobile", &ProjectsRecord::autoCreateMobile),
    IntColumn("MobileBoundingBox", &ProjectsRecord::mobileBoundingBox),
    IntColumn("MobileFormat", &ProjectsRecord::mobileFormat),
    TextColumn("MobileSaveTo", &ProjectsRecord::mobileSaveTo),
    FlagColumn("ExcludeMobileFolder", &ProjectsRecord::excludeMobileFolder),
    FlagColumn("KeywordMustExist", &ProjectsRecord::keywordMustExist),
    IntColumn("ThumbnailOrientation", &ProjectsRecord::thumbnailOrientation),
    IntColumn("MobileOrientation", &ProjectsRecord::mobileOrientation),
    FlagColumn("TIF", &ProjectsRecord::tif),
    IntColumn("Orientation", &ProjectsRecord::orientation),
    IntColumn("ThumbnailsSaveToLocation", &ProjectsRecord::thumbnailsSaveToLocation),
    TextColumn("ThumbnailsLocalSaveTo", &ProjectsRecord::thumbnailsLocalSaveTo),
    TextColumn("ThumbnailsExternalSaveTo", &ProjectsRecord::thumbnailsExternalSaveTo),
    FlagColumn("ThumbnailsExternalIncludeTitle", &ProjectsRecord::thumbnailsExternalIncludeTitle),
    IntColumn("MobileSaveToLocation", &ProjectsRecord::mobileSaveToLocation),
    TextColumn("MobileLocalSaveTo", &ProjectsRecord::mobileLocalSaveTo),
    TextColumn("MobileExternalSaveTo", &ProjectsRecord::mobileExternalSaveTo),
    FlagColumn("MobileExternalIncludeTitle", &ProjectsRecord::mobileExternalIncludeTitle),
};

inline constexpr RecordColumn<ProjectLinksRecord> kProjectLinksColumns[] = {
    IntColumn("Id", &ProjectLinksRecord::id),
    IntColumn("ProjectId", &ProjectLinksRecord::projectId),
    TextColumn("dtDate", &ProjectLinksRecord::date),
    FlagColumn("SearchSubFolders", &ProjectLinksRecord::searchSubFolders),
    TextColumn("Title", &ProjectLinksRecord::title),
    TextColumn("URL", &ProjectLinksRecord::url),
    FlagColumn("KeywordMustExist", &ProjectLinksRecord::keywordMustExist),
    TextColumn("Keywords", &ProjectLinksRecord::keywords),
    TextColumn("GUID", &ProjectLinksRecord::guid),
    IntColumn("Photos", &ProjectLinksRecord::photos),
};

inline constexpr RecordColumn<ScanHistoryRecord> kScanHistoryColumns[] = {
    IntColumn("Id", &ScanHistoryRecord::id),
    IntColumn("ProjectId", &ScanHistoryRecord::projectId),
    TextColumn("ScanDate", &ScanHistoryRecord::scanDate),
    TextColumn("TotalTime", &ScanHistoryRecord::totalTime),
    TextColumn("URL", &ScanHistoryRecord::url),
    IntColumn("Pages", &ScanHistoryRecord::pages),
    IntColumn("TotalImages", &ScanHistoryRecord::totalImages),
    IntColumn("SavedImages", &ScanHistoryRecord::savedImages),
    IntColumn("SkippedImages", &ScanHistoryRecord::skippedImages),
    IntColumn("Status", &ScanHistoryRecord::status),
    IntColumn("Type", &ScanHistoryRecord::type),
    FlagColumn("SearchSubFolders", &ScanHistoryRecord::searchSubFolders),
    IntColumn("TotalTimeInSeconds", &ScanHistoryRecord::totalTimeInSeconds),
    IntColumn("TransferTimeInSeconds", &ScanHistoryRecord::transferTimeInSeconds),
    BigIntColumn("TotalBytes", &ScanHistoryRecord::totalBytes),
    TextColumn("GUID", &ScanHistoryRecord::guid),
};

inline constexpr RecordColumn<CategoriesRecord> kCategoriesColumns[] = {
    IntColumn("Id", &CategoriesRecord::id),
    TextColumn("Name", &CategoriesRecord::name),
};

// ColumnsOf<Record>(): the column table of a record type, for generic callers.
template <class Record>
std::span<const RecordColumn<Record>> ColumnsOf();
template <>
inline std::span<const RecordColumn<ProjectsRecord>> ColumnsOf() {
  return kProjectsColumns;
}
template <>
inline std::span<const RecordColumn<ProjectLinksRecord>> ColumnsOf() {
  return kProjectLinksColumns;
}
template <>
inline std::span<const RecordColumn<ScanHistoryRecord>> ColumnsOf() {
  return kScanHistoryColumns;
}
template <>
inline std::span<const RecordColumn<CategoriesRecord>> ColumnsOf() {
  return kCategoriesColumns;
}

// Parses a whole decimal integer ("-12", "+3", "40"); false for anything else, including
// surrounding blanks and values outside the type's range.
bool ParseWholeInt(std::string_view text, int& value);
bool ParseWholeInt(std::string_view text, std::int64_t& value);

// "JPEG must be 0 (off) or 1 (on), not 2.": why a flag column refuses a number.
std::string FlagRangeProblem(std::string_view column, int value);

// A number column's value, whichever its width; 0 for a text column.
template <class Record>
std::int64_t IntegerValue(const Record& record, const RecordColumn<Record>& column) {
  if (column.kind == ColumnKind::Integer) return record.*column.integer;
  if (column.kind == ColumnKind::BigInteger) return record.*column.bigInteger;
  if (column.kind == ColumnKind::Flag) return StoredFlag(record.*column.flag);
  return 0;
}

// The column of that name (ASCII case-insensitive), or nullptr.
template <class Record>
const RecordColumn<Record>* FindColumn(std::string_view name) {
  for (const auto& column : ColumnsOf<Record>()) {
    if (EqualsNoCase(column.name, name)) return &column;
  }
  return nullptr;
}

// The column's value as text: a decimal number or the text as the record holds it.
template <class Record>
std::string ColumnValueText(const Record& record, const RecordColumn<Record>& column) {
  if (column.kind == ColumnKind::Text) return record.*column.text;
  return std::to_string(IntegerValue(record, column));
}

// Sets the named column from text. Unknown columns, integer columns given anything but a
// whole number and flag columns given anything but 0 or 1 are refused with a message in
// `error`; the record is then unchanged.
template <class Record>
bool SetColumnFromText(Record& record, std::string_view name, std::string_view value,
                       std::string& error) {
  const RecordColumn<Record>* column = FindColumn<Record>(name);
  if (column == nullptr) {
    error = "Unknown column \"" + std::string(name) + "\".";
    return false;
  }
  if (column->kind == ColumnKind::Text) {
    record.*column->text = std::string(value);
    return true;
  }
  const auto refuse = [&] {
    error = "The column " + std::string(column->name) + " takes a whole number, not \"" +
            std::string(value) + "\".";
    return false;
  };
  if (column->kind == ColumnKind::BigInteger) {
    std::int64_t number = 0;
    if (!ParseWholeInt(value, number)) return refuse();
    record.*column->bigInteger = number;
    return true;
  }
  int number = 0;
  if (!ParseWholeInt(value, number)) return refuse();
  if (column->kind == ColumnKind::Flag) {
    if (number != 0 && number != 1) {
      error = FlagRangeProblem(column->name, number);
      return false;
    }
    record.*column->flag = number == 1;
    return true;
  }
  record.*column->integer = number;
  return true;
}

}  // namespace trawlix
