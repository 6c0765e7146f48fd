#include "cli/JsonWriter.h"

#include <cstdio>

namespace trawlix::cli {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char min2 = 0x80;
  unsigned char max2 = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min2 = 0xA0;  // overlong
    if (lead == 0xED) max2 = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min2 = 0x90;  // overlong
    if (lead == 0xF4) max2 = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < min2 || byte(i + 1) > max2) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

void AppendEscapedAscii(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) < 0x20) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
    out += buffer;
  } else {
    out += c;
  }
}

void WriteScalar(std::ostream& out, const JsonScalar& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) {
    out << *number;
  } else {
    out << JsonQuote(std::get<std::string>(value));
  }
}

}  // namespace

std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      AppendEscapedAscii(out, text[i]);
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += "\\ufffd";
      ++i;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  out += '"';
  return out;
}

namespace {

void WriteObjectBody(std::ostream& out, const JsonObject& object) {
  out << '{';
  for (std::size_t i = 0; i < object.size(); ++i) {
    if (i > 0) out << ", ";
    out << JsonQuote(object[i].first) << ": ";
    WriteScalar(out, object[i].second);
  }
  out << '}';
}

}  // namespace

void WriteJsonObject(std::ostream& out, const JsonObject& object) {
  WriteObjectBody(out, object);
  out << '\n';
}

void WriteJsonArray(std::ostream& out, const std::vector<JsonObject>& objects) {
  out << '[';
  for (std::size_t i = 0; i < objects.size(); ++i) {
    out << (i == 0 ? "\n  " : ",\n  ");
    WriteObjectBody(out, objects[i]);
  }
  out << (objects.empty() ? "]\n" : "\n]\n");
}

}  // namespace trawlix::cli
