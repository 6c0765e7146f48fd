#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "scan/markup/FixedText.h"
#include "scan/markup/TextInputStream.h"

namespace trawlix::markup {

enum Token : int {
  TokenError = -1,  // malformed markup
  TokenEnd = 0,
  TokenTagStart = 1,  // tag name available
  TokenTagEnd = 2,    // "</name>" or the "/>" of an empty element
  TokenAttribute = 3,
  TokenText = 4,
  TokenSpace = 5,
  TokenData = 6,  // a piece of comment, CDATA, processing-instruction or DOCTYPE content
  TokenCommentStart = 7,
  TokenCommentEnd = 8,
  TokenCDataStart = 9,
  TokenCDataEnd = 10,
  TokenPIStart = 11,
  TokenPIEnd = 12,
  TokenDoctypeStart = 13,
  TokenDoctypeEnd = 14,
};

// A pull tokenizer over 8-bit markup: each GetToken runs the routine of the current state and
// returns one token. It works in fixed buffers and never allocates: a value keeps at most
// kMaxValue units, a tag or attribute name at most kMaxName bytes, the rest is dropped.
class scanner {
 public:
  static constexpr std::size_t kMaxValue = 1023;
  static constexpr std::size_t kMaxName = 127;

  explicit scanner(TextInputStream& input) : input_(input) {}
  virtual ~scanner() = default;
  scanner(const scanner&) = delete;
  scanner& operator=(const scanner&) = delete;

  Token GetToken();

  // Valid until the next GetToken; the viewed data is NUL-terminated.
  std::u16string_view GetValue() const { return value_.View(); }
  std::string_view GetTagName() const { return tagName_.View(); }
  std::string_view GetAttrName() const { return attrName_.View(); }

 protected:
  // Named entities beyond gt, lt, amp, apos and quot; 0 keeps the entity text as it stands.
  virtual char16_t ResolveEntity(std::string_view /*name*/) { return 0; }

 private:
  enum class State { Body, TagHead, Comment, CData, ProcessingInstruction, Doctype };

  char16_t Next();
  void PushBack(char16_t c) { pushedBack_ = c; }
  char16_t SkipBlanks(char16_t c);

  Token ScanBody();
  Token CollectRun(bool blank);
  char16_t ReadEntity();
  char16_t DecodeEntity(std::string_view name);
  Token ScanTag();
  std::optional<Token> EnterSpecialState();
  Token ScanTagHead();
  Token ScanAttribute(char16_t c);
  Token ScanAttributeValue();
  Token ScanMarked(std::string_view marker, Token endToken);
  Token ScanDoctype();
  Token EnterData(State state, Token startToken);

  TextInputStream& input_;
  State state_ = State::Body;
  FixedText<char16_t, kMaxValue> value_;
  FixedText<char, kMaxName> tagName_;
  FixedText<char, kMaxName> attrName_;
  char16_t pushedBack_ = 0;
  bool tailSeen_ = false;
  // The last two units of marked content, so an end marker split over two pieces is still seen.
  std::array<char16_t, 2> recent_{};
  // DOCTYPE content: inside double quotes, and the depth of nested "<" ... ">" pairs.
  bool inQuotes_ = false;
  std::size_t depth_ = 0;
};

}  // namespace trawlix::markup
