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
  void Flag(std::size_t offset, bool flag) { Int(offset, flag ? 1 : 0); }
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
  // Any value but 0 reads as on.
  bool Flag(std::size_t offset) const { return Int(offset) != 0; }
  std::string Text(std::size_t offset, std::size_t size) const {
    return TextFromField(bytes_.substr(offset, size));
  }

 private:
  std::string_view bytes_;
};

std::string EncodeHeader(const ExchangeHeader& h, std::int32_t projects) {
  RecordWriter w(kHeaderRecordSize);
  w.Int(header::kVersion, h.version);
  w.Int(header::kPlatform, h.platform);
  w.Int(header::kProjects, projects);
  w.Text(header::kDescription, header::kDescriptionSize, h.description);
  w.Text(header::kName, header::kNameSize, h.name);
  w.Text(header::kEmail, header::kEmailSize, h.emailAddress);
  w.Text(header::kWebsite, header::kWebsiteSize, h.website);
  w.Text(header::kDate, header::kDateSize, h.date);
  return w.bytes();
}

std::string EncodeProject(const ImportedProject& p) {
  using namespace project;
  RecordWriter w(kProjectRecordSize);
  w.Int(kProjectId, p.projectId);
  w.Int(kNumLinks, static_cast<std::int32_t>(p.links.size()));
  w.Int(kNumPhotos, p.numPhotos);
  w.Text(kCategory, kCategorySize, p.category);
  w.Text(kTitle, kTitleSize, p.title);
  w.Text(kURL, kURLSize, p.url);
  w.Flag(kJPEG, p.jpeg);
  w.Flag(kPNG, p.png);
  w.Flag(kGIF, p.gif);
  w.Flag(kBMP, p.bmp);
  w.Flag(kTIF, p.tif);
  w.Flag(kCreateFolders, p.createFolders);
  w.Flag(kSearchSubFolders, p.searchSubFolders);
  w.Flag(kKeywordMustExist, p.keywordMustExist);
  w.Text(kKeywords, kKeywordsSize, p.keywords);
  w.Flag(kFilterMinSize, p.filterMinSize);
  w.Int(kMinimumSize, p.minimumSize);
  w.Flag(kAutoRename, p.autoRename);
  w.Int(kOrientation, p.orientation);
  w.Flag(kPadNumbers, p.padNumbers);
  w.Int(kPadding, p.padding);
  // The prefix always keeps its terminating zero.
  w.Text(kNamePrefix, kNamePrefixSize - 1, p.namePrefix);
  return w.bytes();
}

std::string EncodeLink(const ImportedLink& l) {
  RecordWriter w(kLinkRecordSize);
  w.Int(link::kProjectId, l.projectId);
  w.Flag(link::kSearchSubFolders, l.searchSubFolders);
  w.Flag(link::kKeywordMustExist, l.keywordMustExist);
  w.Text(link::kURL, link::kURLSize, l.url);
  w.Text(link::kKeywords, link::kKeywordsSize, l.keywords);
  return w.bytes();
}

ExchangeHeader DecodeHeader(std::string_view bytes) {
  const RecordReader r(bytes);
  ExchangeHeader h;
  h.version = r.Int(header::kVersion);
  h.platform = r.Int(header::kPlatform);
  h.projects = r.Int(header::kProjects);
  h.description = r.Text(header::kDescription, header::kDescriptionSize);
  h.name = r.Text(header::kName, header::kNameSize);
  h.emailAddress = r.Text(header::kEmail, header::kEmailSize);
  h.website = r.Text(header::kWebsite, header::kWebsiteSize);
  h.date = r.Text(header::kDate, header::kDateSize);
  return h;
}

ImportedProject DecodeProject(std::string_view bytes) {
  using namespace project;
  const RecordReader r(bytes);
  ImportedProject p;
  p.projectId = r.Int(kProjectId);
  p.numLinks = r.Int(kNumLinks);
  p.numPhotos = r.Int(kNumPhotos);
  p.category = r.Text(kCategory, kCategorySize);
  p.title = r.Text(kTitle, kTitleSize);
  p.url = r.Text(kURL, kURLSize);
  p.jpeg = r.Flag(kJPEG);
  p.png = r.Flag(kPNG);
  p.gif = r.Flag(kGIF);
  p.bmp = r.Flag(kBMP);
  p.tif = r.Flag(kTIF);
  p.createFolders = r.Flag(kCreateFolders);
  p.searchSubFolders = r.Flag(kSearchSubFolders);
  p.keywordMustExist = r.Flag(kKeywordMustExist);
  p.keywords = r.Text(kKeywords, kKeywordsSize);
  p.filterMinSize = r.Flag(kFilterMinSize);
  p.minimumSize = r.Int(kMinimumSize);
  p.autoRename = r.Flag(kAutoRename);
  p.orientation = r.Int(kOrientation);
  p.padNumbers = r.Flag(kPadNumbers);
  p.padding = r.Int(kPadding);
  p.namePrefix = r.Text(kNamePrefix, kNamePrefixSize);
  return p;
}

ImportedLink DecodeLink(std::string_view bytes) {
  const RecordReader r(bytes);
  ImportedLink l;
  l.projectId = r.Int(link::kProjectId);
  l.searchSubFolders = r.Flag(link::kSearchSubFolders);
  l.keywordMustExist = r.Flag(link::kKeywordMustExist);
  l.url = r.Text(link::kURL, link::kURLSize);
  l.keywords = r.Text(link::kKeywords, link::kKeywordsSize);
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

void FitToFields(ExchangeHeader& h) {
  h.description = CutToBytes(h.description, header::kDescriptionSize);
  h.name = CutToBytes(h.name, header::kNameSize);
  h.emailAddress = CutToBytes(h.emailAddress, header::kEmailSize);
  h.website = CutToBytes(h.website, header::kWebsiteSize);
  h.date = CutToBytes(h.date, header::kDateSize);
}

void FitToFields(ImportedProject& p) {
  p.category = CutToBytes(p.category, project::kCategorySize);
  p.title = CutToBytes(p.title, project::kTitleSize);
  p.url = CutToBytes(p.url, project::kURLSize);
  p.keywords = CutToBytes(p.keywords, project::kKeywordsSize);
  p.namePrefix = CutToBytes(p.namePrefix, project::kNamePrefixSize - 1);
  for (ImportedLink& l : p.links) {
    l.url = CutToBytes(l.url, link::kURLSize);
    l.keywords = CutToBytes(l.keywords, link::kKeywordsSize);
  }
}

std::string WriteProjectFile(const ExchangeHeader& header,
                             const std::vector<ImportedProject>& projects) {
  std::string out = EncodeHeader(header, static_cast<std::int32_t>(projects.size()));
  for (const ImportedProject& p : projects) {
    out += EncodeProject(p);
    for (const ImportedLink& l : p.links) out += EncodeLink(l);
  }
  return out;
}

ProjectFileReadResult ReadProjectFile(std::string_view bytes) {
  Cursor cursor(bytes);
  if (!cursor.Holds(1, kHeaderRecordSize)) return Damaged("the header is incomplete.");
  ProjectFileReadResult result;
  result.content.header = DecodeHeader(cursor.Take(kHeaderRecordSize));
  const std::int32_t count = result.content.header.projects;
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
    ImportedProject p = DecodeProject(cursor.Take(kProjectRecordSize));
    if (p.numLinks < 0) {
      return Damaged("the number of links of project \"" + p.title + "\" is negative.");
    }
    if (!cursor.Holds(p.numLinks, kLinkRecordSize)) {
      return Damaged("the links of project \"" + p.title + "\" are incomplete.");
    }
    p.links.reserve(static_cast<std::size_t>(p.numLinks));
    for (std::int32_t k = 0; k < p.numLinks; ++k) {
      p.links.push_back(DecodeLink(cursor.Take(kLinkRecordSize)));
    }
    projects.push_back(std::move(p));
  }
  result.ok = true;
  return result;
}

}  // namespace trawlix::exchange
