#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// The one social-network site whose photo albums a scan can walk.
inline constexpr std::string_view kSocialDomain = "friendnook.example";
inline constexpr std::string_view kSocialHome = "http://www.friendnook.example/";

// What a scan has learnt about the social-network site; cleared at every scan start.
struct SocialState {
  bool active = false;  // the start URL is on the site
  bool album = false;   // the start URL names an album
  std::string albumId;
  bool ownerFound = false;
  std::string ownerId;  // the profile whose photos the scan may walk
};

// At scan start: switches social mode on for a start URL on the site and takes the album and
// owner ids from an album address ("...?aid=A&id=O").
void DetectSocialScan(std::string_view startURL, SocialState& state);

// Whether a URL is on the site; learns the owner id from "?id=O#!/" while none is known.
bool IsSocialURL(std::string_view url, SocialState& state);

// Turns the site's hash-bang addresses into the pages they show; other links stay as they are.
std::string RewriteSocialLink(std::string_view link);

// Links on the site are followed only to the owner's photo, album and photo-list pages.
bool AcceptSocialLink(std::string_view resolvedURL, const SocialState& state);

}  // namespace trawlix
