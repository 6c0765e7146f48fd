#include "exchange/ProjectFile.h"

#include <cstdint>

#include "exchange/ExchangeText.h"

namespace trawlix::exchange {
namespace {

// Field offsets and sizes of the three records.
namespace header {
constexpr std::size_t kVersion = 0, kPlatform = 4, kProjects = 8;
constexpr std::size_t kDescription = 12, kDescriptionSize = 1024;
constexpr std::size_t kName = 1036, kNameSize = 100;
constexpr std::size_t kEmail = 1136, kEmailSize = 100;
constexpr std::size_t kWebsite = 1236, kWebsiteSize = 2048;
constexpr std::size_t kDate = 3284, kDateSize = 100;
}  // namespace header

namespace project {
constexpr std::size_t kProjectId = 0, kNumLinks = 4, kNumPhotos = 8;
constexpr std::size_t kCategory = 12, kCategorySize = 80;
constexpr std::size_t kTitle = 92, kTitleSize = 512;
constexpr std::size_t kURL = 604, kURLSize = 2048;
constexpr std::size_t kJPEG = 2652, kPNG = 2656, kGIF = 2660, kBMP = 2664, kTIF = 2668;
constexpr std::size_t kCreateFolders = 2672, kSearchSubFolders = 2676, kKeywordMustExist = 2680;
constexpr std::size_t kKeywords = 2684, kKeywordsSize = 1024;
constexpr std::size_t kFilterMinSize = 3708, kMinimumSize = 3712, kAutoRename = 3716;
constexpr std::size_t kOrientation = 3720, kPadNumbers = 3724, kPadding = 3728;
constexpr std::size_t kNamePrefix = 3732, kNamePrefixSize = 256;
}  // namespace project

namespace link {
constexpr std::size_t kProjectId = 0, kSearchSubFolders = 4, kKeywordMustExist = 8;
constexpr std::size_t kURL = 12, kURLSize = 2048;
constexpr std::size_t kKeywords = 2060, kKeywordsSize = 1024;
}  // namespace link

// A zeroed record that fields are written into.
class RecordWriter {
 public:
  explicit RecordWriter(std::size_t size) : bytes_(size, '\0') {}

  void Int(std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>(bits >> (8 * i));
  }
  void Text(std::size_t offset, std::size_t maxBytes, const std::string& value) {
    const std::string cut = CutToBytes(value, maxBytes);
    bytes_.replace(offset, cut.size(), cut);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

  std::int32_t Int(std::size_t offset) const {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      bits |= std::uint32_t{static_cast<unsigned char>(bytes_[offset + i])} << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
  }
  std::string Text(std::size_t offset, std::size_t size) const {
    return TextFromField(bytes_.substr(offset, size));
  }

 private:
  std::string_view bytes_;
};

std::string EncodeHeader(const CExchangeHeader& h, std::int32_t projects) {
  RecordWriter w(kHeaderRecordSize);
  w.Int(header::kVersion, h.m_nVersion);
  w.Int(header::kPlatform, h.m_nPlatform);
  w.Int(header::kProjects, projects);
  w.Text(header::kDescription, header::kDescriptionSize, h.m_lpszDescription);
  w.Text(header::kName, header::kNameSize, h.m_lpszName);
  w.Text(header::kEmail, header::kEmailSize, h.m_lpszEmailAddress);
  w.Text(header::kWebsite, header::kWebsiteSize, h.m_lpszWebsite);
  w.Text(header::kDate, header::kDateSize, h.m_lpszDate);
  return w.bytes();
}

std::string EncodeProject(const CImportedProject& p) {
  using namespace project;
  RecordWriter w(kProjectRecordSize);
  w.Int(kProjectId, p.m_nProjectId);
  w.Int(kNumLinks, static_cast<std::int32_t>(p.m_arLinks.size()));
  w.Int(kNumPhotos, p.m_nNumPhotos);
  w.Text(kCategory, kCategorySize, p.m_lpszCategory);
  w.Text(kTitle, kTitleSize, p.m_lpszTitle);
  w.Text(kURL, kURLSize, p.m_lpszURL);
  w.Int(kJPEG, p.m_nJPEG);
  w.Int(kPNG, p.m_nPNG);
  w.Int(kGIF, p.m_nGIF);
  w.Int(kBMP, p.m_nBMP);
  w.Int(kTIF, p.m_nTIF);
  w.Int(kCreateFolders, p.m_nCreateFolders);
  w.Int(kSearchSubFolders, p.m_nSearchSubFolders);
  w.Int(kKeywordMustExist, p.m_nKeywordMustExist);
  w.Text(kKeywords, kKeywordsSize, p.m_lpszKeywords);
  w.Int(kFilterMinSize, p.m_nFilterMinSize);
  w.Int(kMinimumSize, p.m_nMinimumSize);
  w.Int(kAutoRename, p.m_nAutoRename);
  w.Int(kOrientation, p.m_nOrientation);
  w.Int(kPadNumbers, p.m_nPadNumbers);
  w.Int(kPadding, p.m_nPadding);
  // The prefix always keeps its terminating zero.
  w.Text(kNamePrefix, kNamePrefixSize - 1, p.m_lpszNamePrefix);
  return w.bytes();
}

std::string EncodeLink(const CImportedLink& l) {
  RecordWriter w(kLinkRecordSize);
  w.Int(link::kProjectId, l.m_nProjectId);
  w.Int(link::kSearchSubFolders, l.m_nSearchSubFolders);
  w.Int(link::kKeywordMustExist, l.m_nKeywordMustExist);
  w.Text(link::kURL, link::kURLSize, l.m_lpszURL);
  w.Text(link::kKeywords, link::kKeywordsSize, l.m_lpszKeywords);
  return w.bytes();
}

CExchangeHeader DecodeHeader(std::string_view bytes) {
  const RecordReader r(bytes);
  CExchangeHeader h;
  h.m_nVersion = r.Int(header::kVersion);
  h.m_nPlatform = r.Int(header::kPlatform);
  h.m_nProjects = r.Int(header::kProjects);
  h.m_lpszDescription = r.Text(header::kDescription, header::kDescriptionSize);
  h.m_lpszName = r.Text(header::kName, header::kNameSize);
  h.m_lpszEmailAddress = r.Text(header::kEmail, header::kEmailSize);
  h.m_lpszWebsite = r.Text(header::kWebsite, header::kWebsiteSize);
  h.m_lpszDate = r.Text(header::kDate, header::kDateSize);
  return h;
}

CImportedProject DecodeProject(std::string_view bytes) {
  using namespace project;
  const RecordReader r(bytes);
  CImportedProject p;
  p.m_nProjectId = r.Int(kProjectId);
  p.m_nNumLinks = r.Int(kNumLinks);
  p.m_nNumPhotos = r.Int(kNumPhotos);
  p.m_lpszCategory = r.Text(kCategory, kCategorySize);
  p.m_lpszTitle = r.Text(kTitle, kTitleSize);
  p.m_lpszURL = r.Text(kURL, kURLSize);
  p.m_nJPEG = r.Int(kJPEG);
  p.m_nPNG = r.Int(kPNG);
  p.m_nGIF = r.Int(kGIF);
  p.m_nBMP = r.Int(kBMP);
  p.m_nTIF = r.Int(kTIF);
  p.m_nCreateFolders = r.Int(kCreateFolders);
  p.m_nSearchSubFolders = r.Int(kSearchSubFolders);
  p.m_nKeywordMustExist = r.Int(kKeywordMustExist);
  p.m_lpszKeywords = r.Text(kKeywords, kKeywordsSize);
  p.m_nFilterMinSize = r.Int(kFilterMinSize);
  p.m_nMinimumSize = r.Int(kMinimumSize);
  p.m_nAutoRename = r.Int(kAutoRename);
  p.m_nOrientation = r.Int(kOrientation);
  p.m_nPadNumbers = r.Int(kPadNumbers);
  p.m_nPadding = r.Int(kPadding);
  p.m_lpszNamePrefix = r.Text(kNamePrefix, kNamePrefixSize);
  return p;
}

CImportedLink DecodeLink(std::string_view bytes) {
  const RecordReader r(bytes);
  CImportedLink l;
  l.m_nProjectId = r.Int(link::kProjectId);
  l.m_nSearchSubFolders = r.Int(link::kSearchSubFolders);
  l.m_nKeywordMustExist = r.Int(link::kKeywordMustExist);
  l.m_lpszURL = r.Text(link::kURL, link::kURLSize);
  l.m_lpszKeywords = r.Text(link::kKeywords, link::kKeywordsSize);
  return l;
}

ProjectFileReadResult Damaged(const std::string& what) {
  ProjectFileReadResult result;
  result.error = "The file is damaged: " + what;
  return result;
}

// Reads records front to back and knows how many bytes are left.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - pos_; }
  bool Holds(std::int32_t count, std::size_t size) const {
    return static_cast<std::size_t>(count) <= Remaining() / size;
  }
  std::string_view Take(std::size_t size) {
    const std::string_view record = bytes_.substr(pos_, size);
    pos_ += size;
    return record;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

void FitToFields(CExchangeHeader& h) {
  h.m_lpszDescription = CutToBytes(h.m_lpszDescription, header::kDescriptionSize);
  h.m_lpszName = CutToBytes(h.m_lpszName, header::kNameSize);
  h.m_lpszEmailAddress = CutToBytes(h.m_lpszEmailAddress, header::kEmailSize);
  h.m_lpszWebsite = CutToBytes(h.m_lpszWebsite, header::kWebsiteSize);
  h.m_lpszDate = CutToBytes(h.m_lpszDate, header::kDateSize);
}

void FitToFields(CImportedProject& p) {
  p.m_lpszCategory = CutToBytes(p.m_lpszCategory, project::kCategorySize);
  p.m_lpszTitle = CutToBytes(p.m_lpszTitle, project::kTitleSize);
  p.m_lpszURL = CutToBytes(p.m_lpszURL, project::kURLSize);
  p.m_lpszKeywords = CutToBytes(p.m_lpszKeywords, project::kKeywordsSize);
  p.m_lpszNamePrefix = CutToBytes(p.m_lpszNamePrefix, project::kNamePrefixSize - 1);
  for (CImportedLink& l : p.m_arLinks) {
    l.m_lpszURL = CutToBytes(l.m_lpszURL, link::kURLSize);
    l.m_lpszKeywords = CutToBytes(l.m_lpszKeywords, link::kKeywordsSize);
  }
}

std::string WriteProjectFile(const CExchangeHeader& header,
                             const std::vector<CImportedProject>& projects) {
  std::string out = EncodeHeader(header, static_cast<std::int32_t>(projects.size()));
  for (const CImportedProject& p : projects) {
    out += EncodeProject(p);
    for (const CImportedLink& l : p.m_arLinks) out += EncodeLink(l);
  }
  return out;
}

ProjectFileReadResult ReadProjectFile(std::string_view bytes) {
  Cursor cursor(bytes);
  if (!cursor.Holds(1, kHeaderRecordSize)) return Damaged("the header is incomplete.");
  ProjectFileReadResult result;
  result.content.header = DecodeHeader(cursor.Take(kHeaderRecordSize));
  const std::int32_t count = result.content.header.m_nProjects;
  if (count < 0) return Damaged("the number of projects is negative.");
  if (!cursor.Holds(count, kProjectRecordSize)) {
    return Damaged("it lists " + std::to_string(count) + " projects but holds fewer.");
  }
  auto& projects = result.content.projects;
  projects.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    if (!cursor.Holds(1, kProjectRecordSize)) {
      return Damaged("project " + std::to_string(i + 1) + " of " + std::to_string(count) +
                     " is incomplete.");
    }
    CImportedProject p = DecodeProject(cursor.Take(kProjectRecordSize));
    if (p.m_nNumLinks < 0) {
      return Damaged("the number of links of project \"" + p.m_lpszTitle + "\" is negative.");
    }
    if (!cursor.Holds(p.m_nNumLinks, kLinkRecordSize)) {
      return Damaged("the links of project \"" + p.m_lpszTitle + "\" are incomplete.");
    }
    p.m_arLinks.reserve(static_cast<std::size_t>(p.m_nNumLinks));
    for (std::int32_t k = 0; k < p.m_nNumLinks; ++k) {
      p.m_arLinks.push_back(DecodeLink(cursor.Take(kLinkRecordSize)));
    }
    projects.push_back(std::move(p));
  }
  result.ok = true;
  return result;
}

}  // namespace trawlix::exchange
