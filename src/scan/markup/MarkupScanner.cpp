#include "scan/markup/MarkupScanner.h"

namespace trawlix::markup {

namespace {

constexpr std::size_t kMaxEntityName = 31;

bool IsBlank(char16_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsEntityNameChar(char16_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
}

// "#65" or "#x41": the code it names, or 0 when the text is not such a reference.
char16_t NumericReference(std::string_view name) {
  if (name.size() < 2 || name[0] != '#') return 0;
  std::string_view digits = name.substr(1);
  unsigned base = 10;
  if (digits[0] == 'x' || digits[0] == 'X') {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty()) return 0;
  unsigned long code = 0;
  for (char d : digits) {
    unsigned value = 0;
    if (d >= '0' && d <= '9') {
      value = static_cast<unsigned>(d - '0');
    } else if (base == 16 && d >= 'a' && d <= 'f') {
      value = static_cast<unsigned>(d - 'a' + 10);
    } else if (base == 16 && d >= 'A' && d <= 'F') {
      value = static_cast<unsigned>(d - 'A' + 10);
    } else {
      return 0;
    }
    code = code * base + value;
    if (code > 0xFFFF) return 0;  // beyond one 16-bit unit: kept as text
  }
  return static_cast<char16_t>(code);
}

}  // namespace

Token scanner::GetToken() {
  switch (state_) {
    case State::Body:
      return ScanBody();
    case State::TagHead:
      return ScanTagHead();
    case State::Comment:
      return ScanMarked("-->", TokenCommentEnd);
    case State::CData:
      return ScanMarked("]]>", TokenCDataEnd);
    case State::ProcessingInstruction:
      return ScanMarked("?>", TokenPIEnd);
    case State::Doctype:
      return ScanDoctype();
  }
  return TokenError;
}

char16_t scanner::Next() {
  if (pushedBack_ != 0) {
    const char16_t c = pushedBack_;
    pushedBack_ = 0;
    return c;
  }
  return input_.GetChar();
}

char16_t scanner::SkipBlanks(char16_t c) {
  while (IsBlank(c)) c = Next();
  return c;
}

Token scanner::ScanBody() {
  value_.Clear();
  char16_t c = Next();
  if (c == 0) return TokenEnd;
  if (c == '<') return ScanTag();
  if (c == '&') {
    c = ReadEntity();
    if (c == 0) return CollectRun(false);  // the entity text is already in the value
  }
  value_.Append(c);
  return CollectRun(IsBlank(c));
}

// Extends the value with a run of units of one class (blank or not).
Token scanner::CollectRun(bool blank) {
  for (;;) {
    const char16_t c = Next();
    if (c == 0 || c == '<' || c == '&' || IsBlank(c) != blank) {
      PushBack(c);
      break;
    }
    value_.Append(c);
  }
  return blank ? TokenSpace : TokenText;
}

// After "&": returns the decoded unit, or puts the text read into the value as it stands and
// returns ';' when the name ended with one, else 0. The name stops at the first unit that
// cannot belong to it, so an ampersand in running text never swallows the markup after it.
char16_t scanner::ReadEntity() {
  FixedText<char, kMaxEntityName> name;
  char16_t c = Next();
  while (c != ';' && !name.Full() && IsEntityNameChar(c)) {
    name.Append(static_cast<char>(c));
    c = Next();
  }
  const bool terminated = c == ';';
  if (terminated) {
    if (const char16_t decoded = DecodeEntity(name.View())) return decoded;
  } else {
    PushBack(c);
  }
  value_.Append('&');
  for (char n : name.View()) value_.Append(static_cast<unsigned char>(n));
  return terminated ? u';' : 0;
}

char16_t scanner::DecodeEntity(std::string_view name) {
  if (name == "gt") return '>';
  if (name == "lt") return '<';
  if (name == "amp") return '&';
  if (name == "apos") return '\'';
  if (name == "quot") return '"';
  if (const char16_t code = NumericReference(name)) return code;
  return ResolveEntity(name);
}

// After "<": a start or end tag, or the opener of a comment, CDATA section, processing
// instruction or DOCTYPE declaration.
Token scanner::ScanTag() {
  tagName_.Clear();
  attrName_.Clear();
  char16_t c = Next();
  const bool endTag = c == '/';
  if (endTag) {
    c = Next();
  } else if (c == '?') {
    return EnterData(State::ProcessingInstruction, TokenPIStart);
  }
  for (;;) {
    if (c == 0) return TokenError;
    if (IsBlank(c) || c == '/' || c == '>') break;
    tagName_.Append(static_cast<char>(c));
    if (const std::optional<Token> special = EnterSpecialState()) return *special;
    c = Next();
  }
  c = SkipBlanks(c);
  if (endTag) {
    if (c == '>') return TokenTagEnd;
    PushBack(c);
    return TokenError;
  }
  PushBack(c);
  state_ = State::TagHead;
  return TokenTagStart;
}

std::optional<Token> scanner::EnterSpecialState() {
  const std::string_view name = tagName_.View();
  if (name == "!--") return EnterData(State::Comment, TokenCommentStart);
  if (name == "![CDATA[") return EnterData(State::CData, TokenCDataStart);
  if (name == "!DOCTYPE") {
    inQuotes_ = false;
    depth_ = 0;
    return EnterData(State::Doctype, TokenDoctypeStart);
  }
  return std::nullopt;
}

Token scanner::EnterData(State state, Token startToken) {
  state_ = state;
  tailSeen_ = false;
  recent_ = {};
  return startToken;
}

// Inside a start tag, after its name: the next attribute, or the end of the tag.
Token scanner::ScanTagHead() {
  value_.Clear();
  attrName_.Clear();
  char16_t c = SkipBlanks(Next());
  if (c == '>') {
    state_ = State::Body;
    return ScanBody();
  }
  if (c == '/') {
    c = Next();
    if (c == '>') {
      state_ = State::Body;
      return TokenTagEnd;
    }
    PushBack(c);
    return TokenError;
  }
  return ScanAttribute(c);
}

Token scanner::ScanAttribute(char16_t c) {
  for (;;) {
    if (c == 0) return TokenEnd;
    if (c == '<') return TokenError;
    if (c == '=') break;
    if (c == '>') {
      PushBack(c);
      return TokenAttribute;
    }
    if (IsBlank(c)) {
      c = SkipBlanks(c);
      if (c == '=') break;
      PushBack(c);
      return TokenAttribute;
    }
    attrName_.Append(static_cast<char>(c));
    c = Next();
  }
  return ScanAttributeValue();
}

// After "=". Entities stay undecoded in attribute values.
Token scanner::ScanAttributeValue() {
  char16_t c = SkipBlanks(Next());
  if (c == '"' || c == '\'') {
    const char16_t quote = c;
    for (c = Next(); c != quote; c = Next()) {
      if (c == 0) return TokenError;
      value_.Append(c);
    }
    return TokenAttribute;
  }
  for (; !IsBlank(c); c = Next()) {
    if (c == 0) return TokenError;
    if (c == '>') {
      PushBack(c);
      break;
    }
    value_.Append(c);
  }
  return TokenAttribute;
}

// Content of a comment, CDATA section or processing instruction, up to its end marker.
Token scanner::ScanMarked(std::string_view marker, Token endToken) {
  if (tailSeen_) {
    tailSeen_ = false;
    state_ = State::Body;
    return endToken;
  }
  value_.Clear();
  const std::size_t last = marker.size() - 1;
  for (;;) {
    const char16_t c = Next();
    if (c == 0) return TokenEnd;
    const bool ends = c == static_cast<unsigned char>(marker[last]) &&
                      recent_[1] == static_cast<unsigned char>(marker[last - 1]) &&
                      (last < 2 || recent_[0] == static_cast<unsigned char>(marker[0]));
    recent_ = {recent_[1], c};
    if (ends) {
      value_.DropLast(last);
      tailSeen_ = true;
      return TokenData;
    }
    value_.Append(c);
    if (value_.Full()) return TokenData;
  }
}

// DOCTYPE content ends at the first ">" outside double quotes and outside nested "<" ... ">".
Token scanner::ScanDoctype() {
  if (tailSeen_) {
    tailSeen_ = false;
    state_ = State::Body;
    return TokenDoctypeEnd;
  }
  value_.Clear();
  for (;;) {
    const char16_t c = Next();
    if (c == 0) return TokenEnd;
    if (c == '"') {
      inQuotes_ = !inQuotes_;
    } else if (!inQuotes_ && c == '<') {
      ++depth_;
    } else if (!inQuotes_ && c == '>') {
      if (depth_ == 0) {
        tailSeen_ = true;
        return TokenData;
      }
      --depth_;
    }
    value_.Append(c);
    if (value_.Full()) return TokenData;
  }
}

}  // namespace trawlix::markup
