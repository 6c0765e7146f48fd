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
enum class ColumnKind { Integer, BigInteger, Text };

// One database column of a record: its name as the table declares it, its kind and the
// member that holds it. Exactly one of the three member pointers is set.
template <class Record>
struct RecordColumn {
  std::string_view name;
  ColumnKind kind;
  int Record::*integer = nullptr;
  std::string Record::*text = nullptr;
  std::int64_t Record::*bigInteger = nullptr;
};

template <class Record>
constexpr RecordColumn<Record> IntColumn(std::string_view name, int Record::*member) {
  return {name, ColumnKind::Integer, member, nullptr, nullptr};
}

template <class Record>
constexpr RecordColumn<Record> BigIntColumn(std::string_view name, std::int64_t Record::*member) {
  return {name, ColumnKind::BigInteger, nullptr, nullptr, member};
}

template <class Record>
constexpr RecordColumn<Record> TextColumn(std::string_view name, std::string Record::*member) {
  return {name, ColumnKind::Text, nullptr, member, nullptr};
}

// Column tables in the order of each table's CREATE statement.
inline constexpr RecordColumn<CProjectsRecord> kProjectsColumns[] = {
    IntColumn("Id", &CProjectsRecord::m_nId),
    IntColumn("CatId", &CProjectsRecord::m_nCatId),
    TextColumn("Title", &CProjectsRecord::m_lpszTitle),
    TextColumn("URL", &CProjectsRecord::m_lpszURL),
    TextColumn("SaveTo", &CProjectsRecord::m_lpszSaveTo),
    IntColumn("JPEG", &CProjectsRecord::m_nJPEG),
    IntColumn("PNG", &CProjectsRecord::m_nPNG),
    IntColumn("GIF", &CProjectsRecord::m_nGIF),
    IntColumn("BMP", &CProjectsRecord::m_nBMP),
    IntColumn("ICO", &CProjectsRecord::m_nICO),
    IntColumn("CreateFolders", &CProjectsRecord::m_nCreateFolders),
    IntColumn("SearchSubFolders", &CProjectsRecord::m_nSearchSubFolders),
    TextColumn("Keywords", &CProjectsRecord::m_lpszKeywords),
    IntColumn("FilterMinimumSize", &CProjectsRecord::m_nFilterMinimumSize),
    IntColumn("MinimumSize", &CProjectsRecord::m_nMinimumSize),
    IntColumn("AutoRename", &CProjectsRecord::m_nAutoRename),
    IntColumn("IncludePhotoSize", &CProjectsRecord::m_nIncludePhotoSize),
    IntColumn("ReplaceSpaces", &CProjectsRecord::m_nReplaceSpaces),
    IntColumn("PadNumbers", &CProjectsRecord::m_nPadNumbers),
    IntColumn("Padding", &CProjectsRecord::m_nPadding),
    TextColumn("NamePrefix", &CProjectsRecord::m_lpszNamePrefix),
    IntColumn("AutoResize", &CProjectsRecord::m_nAutoResize),
    IntColumn("ResizeBoundingBox", &CProjectsRecord::m_nResizeBoundingBox),
    IntColumn("AutoConvert", &CProjectsRecord::m_nAutoConvert),
    IntColumn("ConvertToFormat", &CProjectsRecord::m_nConvertToFormat),
    IntColumn("AutoCreateThumbnails", &CProjectsRecord::m_nAutoCreateThumbnails),
    IntColumn("ThumbnailBoundingBox", &CProjectsRecord::m_nThumbnailBoundingBox),
    IntColumn("ThumbnailFormat", &CProjectsRecord::m_nThumbnailFormat),
    TextColumn("ThumbnailSaveTo", &CProjectsRecord::m_lpszThumbnailSaveTo),
    IntColumn("ExcludeThumbnailFolder", &CProjectsRecord::m_nExcludeThumbnailFolder),
    IntColumn("AutoCreateMobile", &CProjectsRecord::m_nAutoCreateMobile),
    IntColumn("MobileBoundingBox", &CProjectsRecord::m_nMobileBoundingBox),
    IntColumn("MobileFormat", &CProjectsRecord::m_nMobileFormat),
    TextColumn("MobileSaveTo", &CProjectsRecord::m_lpszMobileSaveTo),
    IntColumn("ExcludeMobileFolder", &CProjectsRecord::m_nExcludeMobileFolder),
    IntColumn("KeywordMustExist", &CProjectsRecord::m_nKeywordMustExist),
    IntColumn("ThumbnailOrientation", &CProjectsRecord::m_nThumbnailOrientation),
    IntColumn("MobileOrientation", &CProjectsRecord::m_nMobileOrientation),
    IntColumn("TIF", &CProjectsRecord::m_nTIF),
    IntColumn("Orientation", &CProjectsRecord::m_nOrientation),
    IntColumn("ThumbnailsSaveToLocation", &CProjectsRecord::m_nThumbnailsSaveToLocation),
    TextColumn("ThumbnailsLocalSaveTo", &CProjectsRecord::m_lpszThumbnailsLocalSaveTo),
    TextColumn("ThumbnailsExternalSaveTo", &CProjectsRecord::m_lpszThumbnailsExternalSaveTo),
    IntColumn("ThumbnailsExternalIncludeTitle",
              &CProjectsRecord::m_nThumbnailsExternalIncludeTitle),
    IntColumn("MobileSaveToLocation", &CProjectsRecord::m_nMobileSaveToLocation),
    TextColumn("MobileLocalSaveTo", &CProjectsRecord::m_lpszMobileLocalSaveTo),
    TextColumn("MobileExternalSaveTo", &CProjectsRecord::m_lpszMobileExternalSaveTo),
    IntColumn("MobileExternalIncludeTitle", &CProjectsRecord::m_nMobileExternalIncludeTitle),
};

inline constexpr RecordColumn<CProjectLinksRecord> kProjectLinksColumns[] = {
    IntColumn("Id", &CProjectLinksRecord::m_nId),
    IntColumn("ProjectId", &CProjectLinksRecord::m_nProjectId),
    TextColumn("dtDate", &CProjectLinksRecord::m_lpszdtDate),
    IntColumn("SearchSubFolders", &CProjectLinksRecord::m_nSearchSubFolders),
    TextColumn("Title", &CProjectLinksRecord::m_lpszTitle),
    TextColumn("URL", &CProjectLinksRecord::m_lpszURL),
    IntColumn("KeywordMustExist", &CProjectLinksRecord::m_nKeywordMustExist),
    TextColumn("Keywords", &CProjectLinksRecord::m_lpszKeywords),
    TextColumn("GUID", &CProjectLinksRecord::m_lpszGUID),
    IntColumn("Photos", &CProjectLinksRecord::m_nPhotos),
};

inline constexpr RecordColumn<CScanHistoryRecord> kScanHistoryColumns[] = {
    IntColumn("Id", &CScanHistoryRecord::m_nId),
    IntColumn("ProjectId", &CScanHistoryRecord::m_nProjectId),
    TextColumn("ScanDate", &CScanHistoryRecord::m_lpszScanDate),
    TextColumn("TotalTime", &CScanHistoryRecord::m_lpszTotalTime),
    TextColumn("URL", &CScanHistoryRecord::m_lpszURL),
    IntColumn("Pages", &CScanHistoryRecord::m_nPages),
    IntColumn("TotalImages", &CScanHistoryRecord::m_nTotalImages),
    IntColumn("SavedImages", &CScanHistoryRecord::m_nSavedImages),
    IntColumn("SkippedImages", &CScanHistoryRecord::m_nSkippedImages),
    IntColumn("Status", &CScanHistoryRecord::m_nStatus),
    IntColumn("Type", &CScanHistoryRecord::m_nType),
    IntColumn("SearchSubFolders", &CScanHistoryRecord::m_nSearchSubFolders),
    IntColumn("TotalTimeInSeconds", &CScanHistoryRecord::m_nTotalTimeInSeconds),
    IntColumn("TransferTimeInSeconds", &CScanHistoryRecord::m_nTransferTimeInSeconds),
    BigIntColumn("TotalBytes", &CScanHistoryRecord::m_nTotalBytes),
    TextColumn("GUID", &CScanHistoryRecord::m_lpszGUID),
};

inline constexpr RecordColumn<CCategoriesRecord> kCategoriesColumns[] = {
    IntColumn("Id", &CCategoriesRecord::m_lId),
    TextColumn("Name", &CCategoriesRecord::m_lpszName),
};

// ColumnsOf<Record>(): the column table of a record type, for generic callers.
template <class Record>
std::span<const RecordColumn<Record>> ColumnsOf();
template <>
inline std::span<const RecordColumn<CProjectsRecord>> ColumnsOf() {
  return kProjectsColumns;
}
template <>
inline std::span<const RecordColumn<CProjectLinksRecord>> ColumnsOf() {
  return kProjectLinksColumns;
}
template <>
inline std::span<const RecordColumn<CScanHistoryRecord>> ColumnsOf() {
  return kScanHistoryColumns;
}
template <>
inline std::span<const RecordColumn<CCategoriesRecord>> ColumnsOf() {
  return kCategoriesColumns;
}

// Parses a whole decimal integer ("-12", "+3", "40"); false for anything else, including
// surrounding blanks and values outside the type's range.
bool ParseWholeInt(std::string_view text, int& value);
bool ParseWholeInt(std::string_view text, std::int64_t& value);

// A number column's value, whichever its width; 0 for a text column.
template <class Record>
std::int64_t IntegerValue(const Record& record, const RecordColumn<Record>& column) {
  if (column.kind == ColumnKind::Integer) return record.*column.integer;
  if (column.kind == ColumnKind::BigInteger) return record.*column.bigInteger;
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

// Sets the named column from text. Unknown columns and integer columns given anything but
// a whole number are refused with a message in `error`; the record is then unchanged.
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
  record.*column->integer = number;
  return true;
}

}  // namespace trawlix
