#include "exchange/ExchangeText.h"

#include <array>
#include <cstdint>

#include "base/Text.h"

namespace trawlix::exchange {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length announced by a lead byte; 0 for a byte that cannot start a character.
std::size_t LeadLength(unsigned char byte) {
  if (byte < 0x80) return 1;
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  return 0;
}

// Allowed range of the byte after a lead byte (excludes overlong forms and surrogates).
bool SecondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return IsContinuation(second);
  }
}

enum class Utf8State { Valid, TruncatedAtEnd, Invalid };

Utf8State CheckUtf8(std::string_view text, std::size_t& validLength) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = LeadLength(lead);
    if (length == 0) return Utf8State::Invalid;
    for (std::size_t i = 1; i < length; ++i) {
      if (pos + i >= text.size()) {
        validLength = pos;
        return Utf8State::TruncatedAtEnd;
      }
      const auto next = static_cast<unsigned char>(text[pos + i]);
      if (!(i == 1 ? SecondByteFits(lead, next) : IsContinuation(next))) {
        return Utf8State::Invalid;
      }
    }
    pos += length;
  }
  validLength = pos;
  return Utf8State::Valid;
}

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string FromCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte);
  }
  return out;
}

}  // namespace

std::string CutToBytes(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t lead = maxBytes;
  while (lead > 0 && maxBytes - lead < 3 &&
         IsContinuation(static_cast<unsigned char>(text[lead]))) {
    --lead;
  }
  const std::size_t length = LeadLength(static_cast<unsigned char>(text[lead]));
  const bool splitsCharacter = lead < maxBytes && length > maxBytes - lead;
  return std::string(text.substr(0, splitsCharacter ? lead : maxBytes));
}

std::string TextFromField(std::string_view field) {
  const std::size_t end = field.find('\0');
  const std::string_view text = field.substr(0, end);
  std::size_t validLength = 0;
  switch (CheckUtf8(text, validLength)) {
    case Utf8State::Valid:
      return std::string(text);
    case Utf8State::TruncatedAtEnd:
      // Only a text that fills its field can have been cut short.
      if (text.size() + 1 >= field.size()) return std::string(text.substr(0, validLength));
      break;
    case Utf8State::Invalid:
      break;
  }
  return FromCp1252(text);
}

std::string AsUtf8(std::string_view text) {
  std::size_t validLength = 0;
  if (CheckUtf8(text, validLength) == Utf8State::Valid) return std::string(text);
  return FromCp1252(text);
}

}  // namespace trawlix::exchange
