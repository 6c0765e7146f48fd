#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trawlix::exchange {

// Record and field sizes of the binary project file. Files travel between installations,
// so these never change.
inline constexpr std::size_t kHeaderRecordSize = 3384;
inline constexpr std::size_t kProjectRecordSize = 3988;
inline constexpr std::size_t kLinkRecordSize = 3084;

inline constexpr std::int32_t kHeaderVersion = 1;
inline constexpr std::int32_t kHeaderPlatform = 0;

// The file's header: who exported what and when.
struct ExchangeHeader {
  std::int32_t version = kHeaderVersion;
  std::int32_t platform = kHeaderPlatform;
  std::int32_t projects = 0;
  std::string description;
  std::string name;
  std::string emailAddress;
  std::string website;
  std::string date;
};

// One link record: an extra start page of a project.
struct ImportedLink {
  std::int32_t projectId = 0;
  bool searchSubFolders = false;
  bool keywordMustExist = false;
  std::string url;
  std::string keywords;

  bool operator==(const ImportedLink&) const = default;
};

// One project record with its links. The export builds these from database rows; the
// import reads them back.
struct ImportedProject {
  std::int32_t projectId = 0;
  std::int32_t numLinks = 0;
  std::int32_t numPhotos = 0;
  std::string category;
  std::string title;
  std::string url;
  bool jpeg = false;
  bool png = false;
  bool gif = false;
  bool bmp = false;
  bool tif = false;
  bool createFolders = false;
  bool searchSubFolders = false;
  bool keywordMustExist = false;
  std::string keywords;
  bool filterMinSize = false;
  std::int32_t minimumSize = 0;
  bool autoRename = false;
  std::int32_t orientation = 0;
  bool padNumbers = false;
  std::int32_t padding = 0;
  std::string namePrefix;
  std::vector<ImportedLink> links;

  bool operator==(const ImportedProject&) const = default;
};

}  // namespace trawlix::exchange
