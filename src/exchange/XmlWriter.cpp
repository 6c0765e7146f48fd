#include "exchange/XmlWriter.h"

#include "exchange/ExchangeText.h"

namespace trawlix::exchange {

std::string EscapeXmlText(std::string_view text) {
  // A document with a byte that is not UTF-8 is one no XML reader accepts.
  const std::string utf8 = AsUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '\r':
        // A reader would turn a bare CR into a line feed.
        out += "&#13;";
        break;
      default:
        // XML 1.0 has no other C0 control characters, not even as references.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
        break;
    }
  }
  return out;
}

XmlWriter::XmlWriter() : out_("<?xml version=\"1.0\"?>") {}

void XmlWriter::NewLine(std::size_t depth) {
  out_ += "\r\n";
  out_.append(depth, '\t');
}

void XmlWriter::FlushStartTag() {
  if (!startTagPending_) return;
  for (auto it = pendingAttributes_.rbegin(); it != pendingAttributes_.rend(); ++it) {
    out_ += ' ' + it->first + "=\"" + EscapeXmlText(it->second) + '"';
  }
  out_ += '>';
  pendingAttributes_.clear();
  startTagPending_ = false;
}

void XmlWriter::StartElement(std::string_view name) {
  FlushStartTag();
  NewLine(open_.size());
  out_ += '<';
  out_ += name;
  open_.emplace_back(name);
  startTagPending_ = true;
}

void XmlWriter::AddAttribute(std::string_view name, std::string_view value) {
  if (startTagPending_) pendingAttributes_.emplace_back(name, value);
}

void XmlWriter::WriteText(std::string_view name, std::string_view value) {
  FlushStartTag();
  NewLine(open_.size());
  out_ += '<';
  out_ += name;
  out_ += '>';
  out_ += EscapeXmlText(value);
  out_ += "</";
  out_ += name;
  out_ += '>';
}

void XmlWriter::WriteNumber(std::string_view name, std::int64_t value) {
  WriteText(name, std::to_string(value));
}

void XmlWriter::EndElement() {
  if (open_.empty()) return;
  FlushStartTag();
  const std::string name = std::move(open_.back());
  open_.pop_back();
  NewLine(open_.size());
  out_ += "</" + name + '>';
}

void XmlWriter::EndAll() {
  while (!open_.empty()) EndElement();
}

}  // namespace trawlix::exchange
