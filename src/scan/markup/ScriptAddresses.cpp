#include "scan/markup/ScriptAddresses.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <set>

#include "base/Text.h"
#include "scan/markup/LinkExtractor.h"

namespace trawlix {

namespace {

// A longer literal is neither an address nor JSON worth reading.
constexpr std::size_t kMaxLiteral = std::size_t{1} << 20;
// Real data nests a few levels; deeper is a page wasting the scan's time, and ends the read.
constexpr std::size_t kMaxJsonDepth = 256;
// "&#x10FFFF;" and "&quot;" fit.
constexpr std::size_t kLongestReference = 11;

// The number of `digits` in `base`, or nothing.
std::optional<std::uint32_t> ParseCode(std::string_view digits, int base) {
  std::uint32_t code = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
      code > 0x10FFFF)
    return std::nullopt;
  return code;
}

// Undoes the character references of an attribute value: the five named ones and numeric
// ones; any other "&" stays as written.
std::string UnescapeEntities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"lt", '<'}, {"gt", '>'}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Looked for nearby only: a value of many "&" and no ";" must not cost its length squared.
    const std::size_t near =
        text[i] == '&' ? text.substr(i, kLongestReference).find(';') : std::string_view::npos;
    const std::size_t semicolon = near == std::string_view::npos ? near : i + near;
    if (semicolon == std::string_view::npos) {
      out += text[i];
      continue;
    }
    const std::string_view name = text.substr(i + 1, semicolon - i - 1);
    std::optional<std::uint32_t> code;
    if (name.size() > 1 && name[0] == '#') {
      code = name[1] == 'x' || name[1] == 'X' ? ParseCode(name.substr(2), 16)
                                              : ParseCode(name.substr(1), 10);
    }
    for (const auto& [entity, c] : kNamed) {
      if (name == entity) code = static_cast<unsigned char>(c);
    }
    if (!code) {
      out += text[i];
      continue;
    }
    AppendUtf8(out, *code);
    i = semicolon;
  }
  return out;
}

// Gathers the wanted photo addresses, each once, up to the page's bound.
class AddressList {
 public:
  explicit AddressList(const PhotoFormats& formats) : formats_(formats) {}

  // False once the list is full.
  bool Offer(std::string_view text) {
    if (Full()) return false;
    const std::string address = Trim(text);
    if (IsAddress(address) && seen_.insert(address).second) addresses_.push_back(address);
    return !Full();
  }
  bool Full() const { return addresses_.size() >= kMaxScriptAddressesPerPage; }
  std::vector<std::string> Take() { return std::move(addresses_); }

 private:
  // An http(s) address, or one relative to the page, naming a wanted photo; not script code
  // nor prose that happens to end in ".jpg".
  bool IsAddress(std::string_view text) const {
    if (text.empty() || text.size() > LinkMessage::kMaxText) return false;
    const bool controlOrBlank = std::any_of(text.begin(), text.end(), [](char c) {
      const auto byte = static_cast<unsigned char>(c);
      return byte <= 0x20 || byte == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' ||
             c == '\\';
    });
    if (controlOrBlank) return false;
    const std::size_t colon = text.find(':');
    const std::size_t slash = text.find('/');
    if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash)) {
      const std::string scheme = ToLowerAscii(text.substr(0, colon));
      if (scheme != "http" && scheme != "https") return false;
    }
    return IsPhotoLink(formats_, text);
  }

  const PhotoFormats& formats_;
  std::vector<std::string> addresses_;
  std::set<std::string> seen_;
};

// The strings of a JSON text, through the parser's event interface so that no document is
// built. JSON-LD keeps only the strings under the keys that name an image's address.
class JsonStrings : public nlohmann::json_sax<nlohmann::json> {
 public:
  JsonStrings(AddressList& addresses, bool linkedData)
      : addresses_(addresses), linkedData_(linkedData) {}

  bool string(string_t& value) override {
    if (linkedData_ && !IsImageKey(CurrentKey())) return true;
    return addresses_.Offer(value);
  }
  bool key(string_t& name) override {
    key_ = name;
    return true;
  }
  bool start_object(std::size_t) override { return Open(false); }
  bool start_array(std::size_t) override { return Open(true); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

 private:
  static bool IsImageKey(std::string_view key) {
    return key == "image" || key == "contentUrl" || key == "url" || key == "thumbnailUrl";
  }
  // The key a value belongs to: its own in an object; in an array, the array's.
  const std::string& CurrentKey() const {
    return !containers_.empty() && containers_.back().array ? containers_.back().key : key_;
  }
  bool Open(bool array) {
    if (containers_.size() >= kMaxJsonDepth) return false;
    containers_.push_back({array, CurrentKey()});
    key_.clear();
    return true;
  }
  bool Close() {
    if (!containers_.empty()) containers_.pop_back();
    key_.clear();
    return true;
  }

  struct Container {
    bool array = false;
    std::string key;
  };
  AddressList& addresses_;
  const bool linkedData_;
  std::string key_;
  std::vector<Container> containers_;
};

void ReadJson(std::string_view text, bool linkedData, AddressList& addresses) {
  JsonStrings strings(addresses, linkedData);
  // Not strict: what follows the first value (a script's own code) is no error.
  nlohmann::json::sax_parse(text.begin(), text.end(), &strings,
                            nlohmann::json::input_format_t::json, false);
}

bool LooksLikeJson(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

// Undoes one escape of a script literal at `text[i]` (after the backslash); returns the
// position after it.
std::size_t Unescape(std::string_view text, std::size_t i, std::string& out) {
  const char c = text[i];
  const auto hex = [&](std::size_t digits) -> std::size_t {
    const std::optional<std::uint32_t> code = ParseCode(text.substr(i + 1, digits), 16);
    if (!code || i + 1 + digits > text.size()) {
      out += c;
      return i + 1;
    }
    AppendUtf8(out, *code);
    return i + 1 + digits;
  };
  switch (c) {
    case 'u':
      return hex(4);
    case 'x':
      return hex(2);
    case 'n':
      out += '\n';
      return i + 1;
    case 't':
      out += '\t';
      return i + 1;
    default:
      out += c;  // \/ \" \' \\ and the rest stand for themselves
      return i + 1;
  }
}

// The string literals of a script, each offered as an address, or read as JSON when it holds
// some. Comments are skipped, so that an apostrophe in one opens no literal.
void ReadScript(std::string_view script, AddressList& addresses) {
  std::string literal;
  std::size_t i = 0;
  while (i < script.size() && !addresses.Full()) {
    const char c = script[i];
    if (c == '/' && i + 1 < script.size() && (script[i + 1] == '/' || script[i + 1] == '*')) {
      const bool line = script[i + 1] == '/';
      const std::size_t end = script.find(line ? "\n" : "*/", i + 2);
      i = end == std::string_view::npos ? script.size() : end + (line ? 1 : 2);
      continue;
    }
    if (c != '"' && c != '\'' && c != '`') {
      ++i;
      continue;
    }
    literal.clear();
    bool closed = false;
    for (++i; i < script.size();) {
      const char d = script[i];
      if (d == c) {
        closed = true;
        ++i;
        break;
      }
      if (d == '\n' && c != '`') break;  // an unclosed quote ends with its line
      if (d == '\\' && i + 1 < script.size()) {
        i = Unescape(script, i + 1, literal);
      } else {
        literal += d;
        ++i;
      }
      if (literal.size() > kMaxLiteral) literal.clear();
    }
    if (!closed || literal.empty()) continue;
    if (LooksLikeJson(literal)) {
      ReadJson(literal, false, addresses);
    } else {
      addresses.Offer(literal);
    }
  }
}

enum class ScriptKind { Code, LinkedData, Json, Other };

ScriptKind KindOf(std::string_view type) {
  const std::string lower = ToLowerAscii(Trim(type.substr(0, type.find(';'))));
  if (lower.empty() || lower == "module" || lower == "text/javascript" ||
      lower == "application/javascript" || lower == "text/ecmascript" ||
      lower == "application/ecmascript")
    return ScriptKind::Code;
  if (lower == "application/ld+json") return ScriptKind::LinkedData;
  if (lower == "application/json" || lower.ends_with("+json")) return ScriptKind::Json;
  return ScriptKind::Other;
}

bool IsNameChar(char c) {
  return !IsBlank(c) && c != '=' && c != '>' && c != '/' && c != '\0';
}

// One tag's name and attributes, read from the page's bytes as a browser reads them.
struct RawTag {
  std::string_view name;
  std::vector<std::pair<std::string_view, std::string_view>> attributes;
  std::size_t end = 0;  // after its ">", or the page's end
};

// Fills `tag` (its attribute list reused, as pages have many tags).
void ReadTag(std::string_view page, std::size_t lt, RawTag& tag) {
  tag.attributes.clear();
  std::size_t i = lt + 1;
  while (i < page.size() && IsNameChar(page[i])) ++i;
  tag.name = page.substr(lt + 1, i - lt - 1);
  while (i < page.size() && page[i] != '>') {
    if (IsBlank(page[i]) || page[i] == '/') {
      ++i;
      continue;
    }
    const std::size_t nameStart = i;
    while (i < page.size() && IsNameChar(page[i])) ++i;
    if (i == nameStart) {
      ++i;  // a stray "=" or NUL
      continue;
    }
    const std::string_view name = page.substr(nameStart, i - nameStart);
    while (i < page.size() && IsBlank(page[i])) ++i;
    std::string_view value;
    if (i < page.size() && page[i] == '=') {
      ++i;
      while (i < page.size() && IsBlank(page[i])) ++i;
      if (i < page.size() && (page[i] == '"' || page[i] == '\'')) {
        const std::size_t close = page.find(page[i], i + 1);
        const std::size_t end = close == std::string_view::npos ? page.size() : close;
        value = page.substr(i + 1, end - i - 1);
        i = std::min(page.size(), end + 1);
      } else {
        const std::size_t start = i;
        while (i < page.size() && !IsBlank(page[i]) && page[i] != '>') ++i;
        value = page.substr(start, i - start);
      }
    }
    tag.attributes.emplace_back(name, value);
  }
  tag.end = std::min(page.size(), i + 1);
}

// Where the "</script" that ends a script starting at `from` begins.
std::size_t ScriptEnd(std::string_view page, std::size_t from) {
  const std::size_t end = FindNoCase(page, "</script", from);
  return end == std::string::npos ? page.size() : end;
}

class PageWalk {
 public:
  PageWalk(std::string_view page, const PhotoFormats& formats) : page_(page), addresses_(formats) {}

  std::vector<std::string> Run() {
    for (std::size_t lt = page_.find('<'); lt != std::string_view::npos && !Done();
         lt = page_.find('<', lt)) {
      if (lt + 1 >= page_.size() || !IsLetter(page_[lt + 1])) {
        ++lt;
        continue;
      }
      ReadTag(page_, lt, tag_);
      const bool script = EqualsNoCase(tag_.name, "script");
      ReadDataAttributes(tag_, script);
      lt = tag_.end;
      if (!script) continue;
      const std::size_t end = ScriptEnd(page_, tag_.end);
      ReadScriptBody(tag_, page_.substr(tag_.end, end - tag_.end));
      lt = end;
    }
    return addresses_.Take();
  }

 private:
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  bool Done() const { return budget_ == 0 || addresses_.Full(); }

  // Takes up to the rest of the budget from `text`.
  std::string_view Spend(std::string_view text) {
    text = text.substr(0, budget_);
    budget_ -= text.size();
    return text;
  }

  // An image element's plain data-* addresses are its lazy loader's, already judged with the
  // image; JSON in any element's data-* attributes is read here.
  void ReadDataAttributes(const RawTag& tag, bool script) {
    const bool image = EqualsNoCase(tag.name, "img") || EqualsNoCase(tag.name, "source");
    for (const auto& [name, raw] : tag.attributes) {
      if (raw.empty() || Done() || name.size() < 6 || !EqualsNoCase(name.substr(0, 5), "data-"))
        continue;
      const std::string value = UnescapeEntities(Spend(raw));
      if (LooksLikeJson(value)) {
        ReadJson(value, false, addresses_);
      } else if (!image && !script) {
        addresses_.Offer(value);
      }
    }
  }

  void ReadScriptBody(const RawTag& tag, std::string_view body) {
    std::string_view type;
    for (const auto& [name, value] : tag.attributes) {
      if (EqualsNoCase(name, "type")) type = value;
    }
    switch (KindOf(type)) {
      case ScriptKind::Code:
        ReadScript(Spend(body), addresses_);
        break;
      case ScriptKind::LinkedData:
        ReadJson(Spend(body), true, addresses_);
        break;
      case ScriptKind::Json:
        ReadJson(Spend(body), false, addresses_);
        break;
      case ScriptKind::Other:
        break;
    }
  }

  std::string_view page_;
  RawTag tag_;
  AddressList addresses_;
  std::size_t budget_ = kMaxScriptBytesPerPage;
};

}  // namespace

std::vector<std::string> ScriptPhotoAddresses(std::string_view page, const PhotoFormats& formats) {
  return PageWalk(page, formats).Run();
}

}  // namespace trawlix
