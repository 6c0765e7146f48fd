#include "scan/markup/SocialNetwork.h"

#include <array>

#include "base/Text.h"

namespace trawlix {

namespace {

constexpr auto npos = std::string::npos;

// The text between `open` and the next `close` (or the end), found in lower case and cut from
// the original; empty when `open` is missing.
std::string Between(std::string_view text, std::string_view open, std::string_view close) {
  const std::string lower = ToLowerAscii(text);
  const std::size_t start = lower.find(open);
  if (start == npos) return {};
  const std::size_t from = start + open.size();
  const std::size_t end = lower.find(close, from);
  return std::string(text.substr(from, end == npos ? npos : end - from));
}

}  // namespace

void DetectSocialScan(std::string_view startURL, SocialState& state) {
  const std::string lower = ToLowerAscii(startURL);
  if (lower.find(kSocialDomain) == npos) return;
  state.active = true;
  if (lower.find("?aid") == npos) return;
  state.album = true;
  state.albumId = Between(startURL, "?aid=", "&id");
  const std::size_t owner = lower.find("&id=");
  if (owner == npos) return;
  state.ownerId = std::string(startURL.substr(owner + 4));
  state.ownerFound = !state.ownerId.empty();
}

bool IsSocialURL(std::string_view url, SocialState& state) {
  if (ToLowerAscii(url).find(kSocialHome) == npos) return false;
  if (!state.ownerFound) {
    const std::string lower = ToLowerAscii(url);
    const std::size_t id = lower.find("?id=");
    if (id != npos && lower.find("#!/", id) != npos) {
      state.ownerId = Between(url, "?id=", "#!/");
      state.ownerFound = !state.ownerId.empty();
    }
  }
  return true;
}

std::string RewriteSocialLink(std::string_view link) {
  const std::string lower = ToLowerAscii(link);
  const std::size_t bang = lower.find("#!/");
  if (bang == npos) return std::string(link);
  const std::size_t profile = lower.find("#!/profile.php?");
  if (profile != npos && profile > 0) {
    std::string before(link.substr(0, profile));
    const std::size_t at = FindNoCase(before, "profile.php?");
    if (at != npos) before.replace(at, 12, "photos.php?");
    return before;
  }
  if (lower.find("#!/album.php?") != npos || lower.find("#!/photo.php?") != npos) {
    return std::string(kSocialHome) + std::string(link.substr(bang + 3));
  }
  return std::string(link);
}

bool AcceptSocialLink(std::string_view resolvedURL, const SocialState& state) {
  const std::string lower = ToLowerAscii(resolvedURL);
  if (lower.find(kSocialHome) == npos) return true;
  if (!state.ownerFound || lower.find(ToLowerAscii(state.ownerId)) == npos) return false;
  constexpr std::array<std::string_view, 3> kPhotoPages = {
      "photos.php?id=", "album.php?aid=", "photo.php?pid="};
  for (std::string_view page : kPhotoPages) {
    if (lower.find(std::string(kSocialHome) + std::string(page)) != npos) return true;
  }
  return false;
}

}  // namespace trawlix
