#include <gtest/gtest.h>

#include "ScanScopeFixture.h"
#include "scan/engine/LinkFilter.h"
#include "scan/markup/SocialNetwork.h"
#include "scan/markup/URLResolver.h"

namespace trawlix {
namespace {

using testing_scope::MakeScope;

const std::string kHome(kSocialHome);
const std::string kAlbumStart = kHome + "album.php?aid=55&id=777";

TEST(SocialNetwork, StartURLSetsModeAlbumAndOwner) {
  SocialState state;
  DetectSocialScan(kAlbumStart, state);
  EXPECT_TRUE(state.active);
  EXPECT_TRUE(state.album);
  EXPECT_EQ(state.albumId, "55");
  EXPECT_TRUE(state.ownerFound);
  EXPECT_EQ(state.ownerId, "777");

  SocialState other;
  DetectSocialScan("http://h.test/album.php?aid=5&id=7", other);
  EXPECT_FALSE(other.active);
}

TEST(SocialNetwork, OwnerIsLearntFromAHashBangProfileAddress) {
  SocialState state;
  EXPECT_TRUE(IsSocialURL(kHome + "profile.php?id=42#!/photos", state));
  EXPECT_EQ(state.ownerId, "42");
  EXPECT_TRUE(IsSocialURL(kHome + "profile.php?id=43#!/photos", state));
  EXPECT_EQ(state.ownerId, "42") << "the first owner found stays";
  EXPECT_FALSE(IsSocialURL("http://h.test/?id=1#!/x", state));
}

struct RewriteCase {
  std::string link;
  std::string rewritten;
};

TEST(SocialNetwork, HashBangAddressesAreRewritten) {
  const RewriteCase cases[] = {
      {kHome + "home.php?id=7#!/profile.php?id=7", kHome + "home.php?id=7"},
      {kHome + "profile.php?id=7#!/profile.php?id=7", kHome + "photos.php?id=7"},
      {kHome + "#!/album.php?aid=9&id=7", kHome + "album.php?aid=9&id=7"},
      {"/x#!/photo.php?pid=3&id=7", kHome + "photo.php?pid=3&id=7"},
      {kHome + "photo.php?pid=3", kHome + "photo.php?pid=3"},
      {"#!/profile.php?id=7", "#!/profile.php?id=7"},
  };
  for (const RewriteCase& c : cases) EXPECT_EQ(RewriteSocialLink(c.link), c.rewritten) << c.link;
}

TEST(SocialNetwork, OnlyTheOwnersPhotoPagesAreFollowed) {
  SocialState state;
  DetectSocialScan(kAlbumStart, state);
  EXPECT_TRUE(AcceptSocialLink(kHome + "album.php?aid=9&id=777", state));
  EXPECT_TRUE(AcceptSocialLink(kHome + "photos.php?id=777", state));
  EXPECT_TRUE(AcceptSocialLink(kHome + "photo.php?pid=1&id=777", state));
  EXPECT_FALSE(AcceptSocialLink(kHome + "album.php?aid=9&id=123", state));
  EXPECT_FALSE(AcceptSocialLink(kHome + "profile.php?id=777", state));
  EXPECT_TRUE(AcceptSocialLink("http://photos.cdn.test/x.jpg", state)) << "other hosts unaffected";

  SocialState ownerless;
  ownerless.active = true;
  EXPECT_FALSE(AcceptSocialLink(kHome + "photos.php?id=777", ownerless));
}

TEST(SocialNetwork, HashBangLinksFollowTheirRewriteThroughResolution) {
  ScanScope scope = MakeScope(kAlbumStart);
  ASSERT_TRUE(scope.social.active);
  const auto page =
      AcceptPageLink(kAlbumStart, kHome + "#!/album.php?aid=9&id=777", LinkKind::Page, scope);
  EXPECT_EQ(page, kHome + "album.php?aid=9&id=777");
  EXPECT_FALSE(
      AcceptPageLink(kAlbumStart, kHome + "#!/album.php?aid=9&id=1", LinkKind::Page, scope));
  const auto photo = AcceptPhotoLink("http://photos.cdn.test/x.jpg", kAlbumStart, scope);
  ASSERT_TRUE(photo);
  EXPECT_EQ(photo->url, "http://photos.cdn.test/x.jpg");
}

}  // namespace
}  // namespace trawlix
