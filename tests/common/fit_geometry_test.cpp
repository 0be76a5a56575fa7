#include "common/playback/fit_geometry.h"

#include <gtest/gtest.h>

namespace pivolane::playback {
namespace {

void ExpectPlacement(const Placement& p, int left, int top, int width, int height, bool stretched) {
  EXPECT_EQ(p.left, left);
  EXPECT_EQ(p.top, top);
  EXPECT_EQ(p.width, width);
  EXPECT_EQ(p.height, height);
  EXPECT_EQ(p.stretched, stretched);
}

TEST(FitAndCentre, SmallerPicturesKeepTheirNaturalSizeCentred) {
  ExpectPlacement(FitAndCentre({400, 300}, {1280, 800}), 440, 250, 400, 300, false);
  ExpectPlacement(FitAndCentre({1280, 800}, {1280, 800}), 0, 0, 1280, 800, false);
  ExpectPlacement(FitAndCentre({3, 3}, {10, 10}), 3, 3, 3, 3, false);  // odd remainders round down
}

TEST(FitAndCentre, LargerPicturesShrinkKeepingTheirShape) {
  // Too tall only: reduced to the frame's height.
  ExpectPlacement(FitAndCentre({1000, 2000}, {1280, 800}), 440, 0, 400, 800, true);
  // Too wide only: reduced to the frame's width.
  ExpectPlacement(FitAndCentre({2000, 500}, {1000, 800}), 0, 275, 1000, 250, true);
  // Larger both ways: by height first, which is enough here...
  ExpectPlacement(FitAndCentre({3000, 2000}, {1280, 800}), 40, 0, 1200, 800, true);
  // ...and then by width when still too wide.
  ExpectPlacement(FitAndCentre({4000, 1000}, {1280, 800}), 0, 240, 1280, 320, true);
}

TEST(FitAndCentre, ExtremeShapesAndEmptyFramesStayInside) {
  ExpectPlacement(FitAndCentre({1, 100000}, {1280, 800}), 639, 0, 1, 800, true);
  ExpectPlacement(FitAndCentre({100000, 1}, {1280, 800}), 0, 399, 1280, 1, true);
  ExpectPlacement(FitAndCentre({640, 480}, {0, 0}), 0, 0, 0, 0, true);
  ExpectPlacement(FitAndCentre({640, 480}, {-5, 100}), 0, 50, 0, 0, true);
  ExpectPlacement(FitAndCentre({0, 0}, {1280, 800}), 640, 400, 0, 0, false);
}

}  // namespace
}  // namespace pivolane::playback
