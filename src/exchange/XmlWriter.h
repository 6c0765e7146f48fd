#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trawlix::exchange {

// A small streaming XML writer with a fixed layout: the declaration without a line end,
// every element on a new line (CR LF) indented by one tab per level, leaf elements on one
// line. Texts and attribute values are escaped (see EscapeXmlText), so no value can
// close or open an element.
class XmlWriter {
 public:
  XmlWriter();

  void StartElement(std::string_view name);
  // Belongs to the element started last; must come before its first child. Attributes
  // are written in the reverse order of their addition.
  void AddAttribute(std::string_view name, std::string_view value);
  void WriteText(std::string_view name, std::string_view value);
  void WriteNumber(std::string_view name, std::int64_t value);
  void EndElement();
  void EndAll();

  const std::string& str() const { return out_; }

 private:
  void FlushStartTag();
  void NewLine(std::size_t depth);

  std::string out_;
  std::vector<std::string> open_;
  bool startTagPending_ = false;
  std::vector<std::pair<std::string, std::string>> pendingAttributes_;
};

// "&", "<", ">", "\"" and "'" as their entity references and CR as "&#13;", so any XML
// reader gets the text back; other C0 control characters, which XML 1.0 cannot carry at
// all, are left out, and text that is not UTF-8 is read as Windows-1252.
std::string EscapeXmlText(std::string_view text);

}  // namespace trawlix::exchange
