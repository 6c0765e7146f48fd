#include "scan/markup/LinkExtractor.h"

#include <optional>

#include "base/Text.h"
#include "scan/markup/CssUrls.h"
#include "scan/markup/LazyAttributes.h"
#include "scan/markup/MarkupScanner.h"
#include "scan/markup/ResponsiveImages.h"
#include "scan/markup/ScriptAddresses.h"
#include "scan/markup/URLResolver.h"

namespace trawlix {

namespace {

enum class LinkTag { Other, Base, Frame, Img, Area, A, Source, Picture, Style, Meta, Link };

LinkTag TagOf(std::string_view name) {
  static constexpr std::pair<std::string_view, LinkTag> kTags[] = {
      {"base", LinkTag::Base},       {"frame", LinkTag::Frame}, {"img", LinkTag::Img},
      {"area", LinkTag::Area},       {"a", LinkTag::A},         {"source", LinkTag::Source},
      {"picture", LinkTag::Picture}, {"style", LinkTag::Style}, {"meta", LinkTag::Meta},
      {"link", LinkTag::Link},
  };
  for (const auto& [tagName, tag] : kTags) {
    if (EqualsNoCase(name, tagName)) return tag;
  }
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

bool IsInline(std::string_view url) {
  return EqualsNoCase(url.substr(0, 5), "data:");
}

// A version of a photo that needs no conversion wins a tie.
bool IsNativeFormat(std::string_view url) {
  const std::string lower = ToLowerAscii(url.substr(0, url.find('?')));
  return !lower.ends_with(".webp") && !lower.ends_with(".avif");
}

// One version of a photo offered by an image's attributes or a picture's sources.
struct Choice {
  ImageCandidate size;
  bool large = false;  // named as the large version
  bool lazy = false;   // what a lazy loader shows, rather than the placeholder in "src"

  bool Beats(const Choice& other) const {
    if (large != other.large) return large;
    if (IsLarger(size, other.size)) return true;
    if (IsLarger(other.size, size)) return false;
    if (lazy != other.lazy) return lazy;
    return IsNativeFormat(size.url) && !IsNativeFormat(other.size.url);
  }
};

// The best of the versions seen so far.
class ChoicePool {
 public:
  void Offer(Choice choice) {
    if (choice.size.url.empty() || IsInline(choice.size.url)) return;
    if (!best_ || choice.Beats(*best_)) best_ = std::move(choice);
  }
  const std::optional<Choice>& Best() const { return best_; }
  void Clear() { best_.reset(); }

 private:
  std::optional<Choice> best_;
};

bool IsOpenGraphImage(std::string_view property) {
  return EqualsNoCase(property, "og:image") || EqualsNoCase(property, "og:image:url") ||
         EqualsNoCase(property, "og:image:secure_url");
}

// Whether the whitespace-separated list `rel` holds `relation`, in any letter case.
bool HasRelation(std::string_view rel, std::string_view relation) {
  const auto isSpace = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
  };
  std::size_t start = 0;
  while (start < rel.size()) {
    while (start < rel.size() && isSpace(rel[start])) ++start;
    std::size_t end = start;
    while (end < rel.size() && !isSpace(rel[end])) ++end;
    if (end > start && EqualsNoCase(rel.substr(start, end - start), relation)) return true;
    start = end;
  }
  return false;
}

class Extractor {
 public:
  Extractor(std::string_view pageURL, const PhotoFormats& formats, LinkReceiver& receiver)
      : pageURL_(pageURL.substr(0, LinkMessage::kMaxText)),
        formats_(formats),
        receiver_(receiver) {}

  void StartTag(LinkTag tag);
  // Handles one attribute of a tag; true when the tag's walk ends with it.
  bool OnAttribute(LinkTag tag, std::string_view name, std::u16string_view value);
  // After the tag's last attribute.
  void FinishTag(LinkTag tag);
  void EndTag(std::string_view name);
  void OnStyleSheet(std::string_view css);
  void OnScriptPhoto(std::string_view url) { Send(true, url); }

 private:
  void Send(bool photo, std::string_view text, bool image = false);
  void SendClassified(std::string_view text) { Send(IsPhotoLink(formats_, text), text); }
  void SendPhoto(std::string_view text);
  bool OnAnchorHref(std::string_view text);
  void OnImageAttribute(std::string_view name, std::u16string_view value, bool sourceTag);

  std::string_view pageURL_;
  const PhotoFormats& formats_;
  LinkReceiver& receiver_;

  ChoicePool image_;  // the versions offered by the current img tag
  bool inPicture_ = false;
  ChoicePool picture_;          // every version offered inside the current picture
  bool inPhotoAnchor_ = false;  // inside an anchor whose href was sent as a photo
  bool openGraph_ = false;
  bool imageRelation_ = false;
  std::string content_;  // "content" of a meta tag, "href" of a link tag
};

void Extractor::StartTag(LinkTag tag) {
  image_.Clear();
  openGraph_ = imageRelation_ = false;
  content_.clear();
  if (tag == LinkTag::A) inPhotoAnchor_ = false;
  if (tag == LinkTag::Picture) {
    inPicture_ = true;
    picture_.Clear();
  }
}

bool Extractor::OnAttribute(LinkTag tag, std::string_view name, std::u16string_view value) {
  switch (tag) {
    case LinkTag::Base:
      if (!EqualsNoCase(name, "href")) return false;
      receiver_.OnBaseHref(ResolveBaseHref(pageURL_, CleanValue(value, Trimming::Keep)));
      return true;
    case LinkTag::Img:
      OnImageAttribute(name, value, false);
      return false;
    case LinkTag::Source:
      if (inPicture_) OnImageAttribute(name, value, true);
      return false;
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
    case LinkTag::Meta:
      if (EqualsNoCase(name, "property") || EqualsNoCase(name, "name")) {
        openGraph_ = openGraph_ || IsOpenGraphImage(CleanValue(value, Trimming::Trim));
      } else if (EqualsNoCase(name, "content")) {
        content_ = CleanValue(value, Trimming::Trim);
      }
      return false;
    case LinkTag::Link:
      if (EqualsNoCase(name, "rel")) {
        imageRelation_ = HasRelation(CleanValue(value, Trimming::Trim), "image_src");
      } else if (EqualsNoCase(name, "href")) {
        content_ = CleanValue(value, Trimming::Trim);
      }
      return false;
    case LinkTag::Picture:
    case LinkTag::Style:
    case LinkTag::Other:
      break;
  }
  return false;
}

void Extractor::OnImageAttribute(std::string_view name, std::u16string_view value, bool sourceTag) {
  ChoicePool& pool = inPicture_ ? picture_ : image_;
  const ImageAttribute kind = ImageAttributeOf(name);
  // A "src" of a picture's source belongs to audio or video, not to a photo.
  if (kind == ImageAttribute::None || (sourceTag && kind == ImageAttribute::Source)) return;
  const std::string text = CleanValue(value, Trimming::Trim);
  if (kind == ImageAttribute::Srcset) {
    // A set cut at the value limit may end in a piece of an address.
    const bool truncated = value.size() >= markup::scanner::kMaxValue;
    if (std::optional<ImageCandidate> largest = LargestCandidate(text, truncated))
      pool.Offer(Choice{std::move(*largest), false, !EqualsNoCase(name, "srcset")});
    return;
  }
  Choice choice;
  choice.size.url = text;
  choice.large = kind == ImageAttribute::LargeSource;
  choice.lazy = kind == ImageAttribute::LazySource;
  pool.Offer(std::move(choice));
}

void Extractor::FinishTag(LinkTag tag) {
  switch (tag) {
    case LinkTag::Img:
      if (inPicture_) {
        // The picture's image ends it, closed or not: the picture is one photo, sent here.
        if (picture_.Best()) SendPhoto(picture_.Best()->size.url);
        inPicture_ = false;
        picture_.Clear();
      } else if (image_.Best()) {
        SendPhoto(image_.Best()->size.url);
      }
      break;
    case LinkTag::Meta:
      if (openGraph_ && !content_.empty()) Send(true, content_);
      break;
    case LinkTag::Link:
      if (imageRelation_ && !content_.empty()) Send(true, content_);
      break;
    default:
      break;
  }
}

void Extractor::EndTag(std::string_view name) {
  const LinkTag tag = TagOf(name);
  if (tag == LinkTag::A) inPhotoAnchor_ = false;
  if (tag != LinkTag::Picture || !inPicture_) return;
  if (picture_.Best()) SendPhoto(picture_.Best()->size.url);
  inPicture_ = false;
  picture_.Clear();
}

void Extractor::OnStyleSheet(std::string_view css) {
  for (const std::string& url : CssUrls(css)) {
    if (IsPhotoLink(formats_, url)) Send(true, url);
  }
}

// An image's photo; skipped as the thumbnail of the photo its anchor links to when only
// large photos are wanted.
void Extractor::SendPhoto(std::string_view text) {
  if (formats_.largeOnly && inPhotoAnchor_) return;
  Send(true, text, true);
}

bool Extractor::OnAnchorHref(std::string_view text) {
  if (EqualsNoCase(text, "javascript:;")) return false;  // look on for an onclick
  const bool photo = IsPhotoAnchor(formats_, text);
  inPhotoAnchor_ = photo;
  Send(photo, text);
  return true;
}

void Extractor::Send(bool photo, std::string_view text, bool image) {
  LinkMessage message;
  message.photo = photo;
  message.image = image;
  message.pageURL = pageURL_;
  message.linkText = text.substr(0, LinkMessage::kMaxText);
  if (photo) {
    receiver_.OnPhotoLink(message);
  } else {
    receiver_.OnPageLink(message);
  }
}

}  // namespace

bool IsPhotoAnchor(const PhotoFormats& formats, std::string_view href) {
  const std::size_t query = href.find('?');
  const bool queried = query != std::string_view::npos && query > 0;
  return IsPhotoLink(formats, href) && !queried;
}

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
  const auto stopped = [&stop] { return stop.load(std::memory_order_relaxed) != 0; };

  markup::Token token = scanner.GetToken();
  while (token != markup::TokenEnd && !stopped()) {
    if (token == markup::TokenTagEnd) extractor.EndTag(scanner.GetTagName());
    if (token != markup::TokenTagStart) {
      token = scanner.GetToken();
      continue;
    }
    const LinkTag tag = TagOf(scanner.GetTagName());
    extractor.StartTag(tag);
    bool walkEnded = tag == LinkTag::Other;
    // The token that ends the attributes is examined next, so a tag right after is not lost.
    for (token = scanner.GetToken(); token == markup::TokenAttribute; token = scanner.GetToken()) {
      if (stopped()) return;
      const std::string_view name = scanner.GetAttrName();
      // Any element may show a photo as its CSS background.
      if (EqualsNoCase(name, "style")) {
        extractor.OnStyleSheet(CleanValue(scanner.GetValue(), Trimming::Keep));
      } else if (!walkEnded) {
        walkEnded = extractor.OnAttribute(tag, name, scanner.GetValue());
      }
    }
    if (stopped()) return;
    extractor.FinishTag(tag);
    if (tag == LinkTag::Style) {
      std::string css;
      for (; token == markup::TokenText || token == markup::TokenSpace; token = scanner.GetToken())
        css += CleanValue(scanner.GetValue(), Trimming::Keep);
      extractor.OnStyleSheet(css);
    }
  }
  if (stopped()) return;
  for (const std::string& url : ScriptPhotoAddresses(page, formats)) extractor.OnScriptPhoto(url);
}

}  // namespace trawlix
