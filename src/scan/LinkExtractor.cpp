#include "scan/LinkExtractor.h"

#include "base/Text.h"
#include "scan/MarkupScanner.h"

namespace trawlix {

namespace {

enum class LinkTag { Other, Base, Frame, Img, Area, A };

LinkTag TagOf(std::string_view name) {
  if (EqualsNoCase(name, "base")) return LinkTag::Base;
  if (EqualsNoCase(name, "frame")) return LinkTag::Frame;
  if (EqualsNoCase(name, "img")) return LinkTag::Img;
  if (EqualsNoCase(name, "area")) return LinkTag::Area;
  if (EqualsNoCase(name, "a")) return LinkTag::A;
  return LinkTag::Other;
}

enum class Trimming { Trim, Keep };

// Attribute values hold only widened bytes (entities stay undecoded there), so narrowing each
// unit gives back the page's own bytes.
std::string CleanValue(std::u16string_view value, Trimming trimming) {
  std::string text(value.size(), '\0');
  for (std::size_t i = 0; i < value.size(); ++i) text[i] = static_cast<char>(value[i]);
  ReplaceAll(text, "&amp;", "&");
  ReplaceAll(text, "?nats=<?=$_REQUEST['nats']?>", "");
  return trimming == Trimming::Trim ? Trim(text) : text;
}

class Extractor {
 public:
  Extractor(std::string_view pageURL, const PhotoFormats& formats, LinkReceiver& receiver)
      : pageURL_(pageURL.substr(0, LinkMessage::kMaxText)),
        formats_(formats),
        receiver_(receiver) {}

  // Handles one attribute of a tag; true when the tag's walk ends with it.
  bool OnAttribute(LinkTag tag, std::string_view name, std::u16string_view value);

 private:
  void Send(bool photo, std::string_view text);
  void SendClassified(std::string_view text) { Send(IsPhotoLink(formats_, text), text); }
  bool OnAnchorHref(std::string_view text);

  std::string_view pageURL_;
  const PhotoFormats& formats_;
  LinkReceiver& receiver_;
};

bool Extractor::OnAttribute(LinkTag tag, std::string_view name, std::u16string_view value) {
  switch (tag) {
    case LinkTag::Base:
      if (!EqualsNoCase(name, "href")) return false;
      receiver_.OnBaseHref(CleanValue(value, Trimming::Keep));
      return true;
    case LinkTag::Img:
      if (!EqualsNoCase(name, "src")) return false;
      Send(true, CleanValue(value, Trimming::Trim));
      return true;
    case LinkTag::Frame:
    case LinkTag::Area:
      if (!EqualsNoCase(name, tag == LinkTag::Frame ? "src" : "href")) return false;
      SendClassified(CleanValue(value, Trimming::Trim));
      return true;
    case LinkTag::A:
      if (EqualsNoCase(name, "onclick")) {
        // Sent, and the walk goes on: the same anchor may still have its href.
        SendClassified(Trim("onclick=" + CleanValue(value, Trimming::Trim)));
        return false;
      }
      return EqualsNoCase(name, "href") && OnAnchorHref(CleanValue(value, Trimming::Trim));
    case LinkTag::Other:
      break;
  }
  return false;
}

bool Extractor::OnAnchorHref(std::string_view text) {
  if (EqualsNoCase(text, "javascript:;")) return false;  // look on for an onclick
  // A photo name with a query after it is a page that shows the photo.
  const std::size_t query = text.find('?');
  const bool queried = query != std::string_view::npos && query > 0;
  Send(IsPhotoLink(formats_, text) && !queried, text);
  return true;
}

void Extractor::Send(bool photo, std::string_view text) {
  LinkMessage message;
  message.photo = photo;
  message.pageURL = pageURL_;
  message.linkText = text.substr(0, LinkMessage::kMaxText);
  if (photo) {
    receiver_.OnPhotoLink(message);
  } else {
    receiver_.OnPageLink(message);
  }
}

}  // namespace

void PreparePage(std::string& page) {
  for (std::string_view marker : {"<!--", "-->", "<noscript>", "</noscript>"}) {
    ReplaceAll(page, marker, "");
  }
}

void ExtractLinks(std::string_view page, std::string_view pageURL, const PhotoFormats& formats,
                  LinkReceiver& receiver, const std::atomic<int>& stop) {
  markup::TextInputStream input(page);
  markup::scanner scanner(input);
  Extractor extractor(pageURL, formats, receiver);

  markup::Token token = scanner.GetToken();
  while (token != markup::TokenEnd && stop.load(std::memory_order_relaxed) == 0) {
    if (token != markup::TokenTagStart) {
      token = scanner.GetToken();
      continue;
    }
    const LinkTag tag = TagOf(scanner.GetTagName());
    bool walkEnded = tag == LinkTag::Other;
    // The token that ends the attributes is examined next, so a tag right after is not lost.
    for (token = scanner.GetToken(); token == markup::TokenAttribute; token = scanner.GetToken()) {
      if (stop.load(std::memory_order_relaxed) != 0) return;
      if (!walkEnded)
        walkEnded = extractor.OnAttribute(tag, scanner.GetAttrName(), scanner.GetValue());
    }
  }
}

}  // namespace trawlix
