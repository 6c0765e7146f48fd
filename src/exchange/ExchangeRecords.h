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
struct CExchangeHeader {
  std::int32_t m_nVersion = kHeaderVersion;
  std::int32_t m_nPlatform = kHeaderPlatform;
  std::int32_t m_nProjects = 0;
  std::string m_lpszDescription;
  std::string m_lpszName;
  std::string m_lpszEmailAddress;
  std::string m_lpszWebsite;
  std::string m_lpszDate;
};

// One link record: an extra start page of a project.
struct CImportedLink {
  std::int32_t m_nProjectId = 0;
  std::int32_t m_nSearchSubFolders = 0;
  std::int32_t m_nKeywordMustExist = 0;
  std::string m_lpszURL;
  std::string m_lpszKeywords;

  bool operator==(const CImportedLink&) const = default;
};

// One project record with its links. The export builds these from database rows; the
// import reads them back.
struct CImportedProject {
  std::int32_t m_nProjectId = 0;
  std::int32_t m_nNumLinks = 0;
  std::int32_t m_nNumPhotos = 0;
  std::string m_lpszCategory;
  std::string m_lpszTitle;
  std::string m_lpszURL;
  std::int32_t m_nJPEG = 0;
  std::int32_t m_nPNG = 0;
  std::int32_t m_nGIF = 0;
  std::int32_t m_nBMP = 0;
  std::int32_t m_nTIF = 0;
  std::int32_t m_nCreateFolders = 0;
  std::int32_t m_nSearchSubFolders = 0;
  std::int32_t m_nKeywordMustExist = 0;
  std::string m_lpszKeywords;
  std::int32_t m_nFilterMinSize = 0;
  std::int32_t m_nMinimumSize = 0;
  std::int32_t m_nAutoRename = 0;
  std::int32_t m_nOrientation = 0;
  std::int32_t m_nPadNumbers = 0;
  std::int32_t m_nPadding = 0;
  std::string m_lpszNamePrefix;
  std::vector<CImportedLink> m_arLinks;

  bool operator==(const CImportedProject&) const = default;
};

}  // namespace trawlix::exchange
