#include "avatar_image.h"

#include "gtest/gtest.h"
#include "png_check.h"

namespace songservice {
namespace {

TEST(AvatarPng, IsAPngThatLibpngDecodes) {
  for (const char* account : {"20200720", "20200721", "1", "99999999999999999999"}) {
    const auto image = testing::decodePng(avatarPng(account));
    ASSERT_TRUE(image) << account;
    EXPECT_EQ(image->width, static_cast<unsigned>(kAvatarSize));
    EXPECT_EQ(image->height, static_cast<unsigned>(kAvatarSize));
  }
}

TEST(AvatarPng, DiffersPerAccountAndStaysTheSameForOne) {
  const char* accounts[] = {"20200720", "20200721", "1", "2", "10", "12345"};
  for (const char* a : accounts) {
    EXPECT_EQ(avatarPng(a), avatarPng(a)) << a;
    for (const char* b : accounts) {
      if (std::string_view(a) == b) continue;
      EXPECT_NE(testing::decodePng(avatarPng(a))->rgba, testing::decodePng(avatarPng(b))->rgba)
          << a << " and " << b;
    }
  }
}

}  // namespace
}  // namespace songservice
