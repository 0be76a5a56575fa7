#include "player/dialog_scale.h"

#include <gtest/gtest.h>

namespace pivolane::player {
namespace {

// A 4K screen shows the dialogs as a 1080p one does; smaller screens as designed.
TEST(DialogScale, FollowsTheScreenHeightNeverSmaller) {
  const std::pair<int, double> cases[] = {
      {600, 1}, {800, 1}, {1080, 1}, {1440, 4.0 / 3}, {2160, 2}};
  for (const auto& [height, scale] : cases) EXPECT_DOUBLE_EQ(DialogScale(height), scale) << height;
  EXPECT_EQ(Scaled(14, DialogScale(2160)), 28);
  EXPECT_EQ(Scaled(360, DialogScale(1440)), 480);
}

}  // namespace
}  // namespace pivolane::player
