#include "common/picture/orientation.h"

#include <gtest/gtest.h>

#include "common/picture/slide_picture.h"
#include "tests/common/picture_samples.h"
#include "tests/common/sample_pictures.h"

namespace pivolane::picture {
namespace {

using test_pictures::Bytes;

// The quarters of QuartersJpeg, as the corners of the picture shown.
enum Quarter : char { R = 'R', G = 'G', B = 'B', W = 'W' };
struct Corners {
  Quarter topLeft, topRight, bottomLeft, bottomRight;
};

Quarter QuarterAt(const Pixels& pixels, int x, int y) {
  const std::uint8_t* p =
      pixels.bytes.data() + (static_cast<std::size_t>(y) * pixels.width + x) * pixels.channels;
  const bool red = p[0] > 128, green = p[1] > 128, blue = p[2] > 128;
  if (red && green && blue) return W;
  return red ? R : green ? G : B;
}

std::string CornersOf(const Pixels& pixels) {
  const int w = pixels.width, h = pixels.height;
  return {QuarterAt(pixels, w / 4, h / 4), QuarterAt(pixels, 3 * w / 4, h / 4),
          QuarterAt(pixels, w / 4, 3 * h / 4), QuarterAt(pixels, 3 * w / 4, 3 * h / 4)};
}

struct Turn {
  unsigned value;
  Corners shown;
};

class EveryOrientation : public ::testing::TestWithParam<Turn> {};

// A 64 x 32 photograph in each orientation: fitted by the size it is shown
// at, never enlarged, and shown the right way up, at its natural size and
// reduced.
TEST_P(EveryOrientation, IsShownTurnedUpright) {
  const Turn turn = GetParam();
  const Bytes jpeg =
      test_pictures::WithExifOrientation(test_pictures::QuartersJpeg(64, 32), turn.value);
  EXPECT_EQ(JpegOrientation(jpeg), static_cast<Orientation>(turn.value));
  const bool swapped = turn.value >= 5;
  const std::string expected = {turn.shown.topLeft, turn.shown.topRight, turn.shown.bottomLeft,
                                turn.shown.bottomRight};
  for (const playback::Size frame : {playback::Size{1280, 800}, playback::Size{16, 16}}) {
    const std::optional<FittedPicture> fitted = DecodeFitted(jpeg, frame);
    ASSERT_TRUE(fitted);
    const int longSide = frame.width > 64 ? 64 : 16;
    EXPECT_EQ(fitted->pixels.width, swapped ? longSide / 2 : longSide);
    EXPECT_EQ(fitted->pixels.height, swapped ? longSide : longSide / 2);
    EXPECT_EQ(fitted->placement.width, fitted->pixels.width);
    EXPECT_EQ(fitted->placement.height, fitted->pixels.height);
    EXPECT_EQ(CornersOf(fitted->pixels), expected) << frame.width;
  }
}

INSTANTIATE_TEST_SUITE_P(Orientation, EveryOrientation,
                         ::testing::Values(Turn{1, {R, G, B, W}}, Turn{2, {G, R, W, B}},
                                           Turn{3, {W, B, G, R}}, Turn{4, {B, W, R, G}},
                                           Turn{5, {R, B, G, W}}, Turn{6, {B, R, W, G}},
                                           Turn{7, {W, G, B, R}}, Turn{8, {G, W, R, B}}),
                         [](const ::testing::TestParamInfo<Turn>& info) {
                           return "Value" + std::to_string(info.param.value);
                         });

// Whatever the EXIF data holds, the tag is read inside the buffer only
// (the sanitizer build checks), and anything doubtful leaves the picture
// as it is stored.
TEST(Orientation, OnlyASoundTagTurnsThePicture) {
  const Bytes jpeg = test_pictures::SampleJpeg(16, 8, {1, 2, 3});
  const Bytes turned = test_pictures::WithExifOrientation(jpeg, 6);
  const auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> with) {
    Bytes bytes = turned;
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
  };
  // After SOI and the APP1 marker and length: "Exif\0\0", then the TIFF block.
  constexpr std::size_t kTiff = 2 + 4 + 6;
  Bytes xmpFirst(jpeg.begin(), jpeg.begin() + 2);
  xmpFirst.insert(xmpFirst.end(), {0xFF, 0xE1, 0x00, 0x0A, 'h', 't', 't', 'p', ':', '/', '/', '/'});
  xmpFirst.insert(xmpFirst.end(), turned.begin() + 2, turned.end());
  const std::vector<std::tuple<const char*, Bytes, Orientation>> cases = {
      {"big-endian", test_pictures::WithExifOrientation(jpeg, 8, true), Orientation::kTurnedLeft},
      {"another APP1 segment first", xmpFirst, Orientation::kTurnedRight},
      {"more entries counted than held", patched(kTiff + 8, {0xFF, 0xFF}),
       Orientation::kTurnedRight},
      {"no EXIF", jpeg, Orientation::kUpright},
      {"a PNG", test_pictures::SamplePng(16, 8, {1, 2, 3}), Orientation::kUpright},
      {"value 0", test_pictures::WithExifOrientation(jpeg, 0), Orientation::kUpright},
      {"value 9", test_pictures::WithExifOrientation(jpeg, 9), Orientation::kUpright},
      {"a LONG value", test_pictures::WithExifOrientation(jpeg, 6, false, 4),
       Orientation::kUpright},
      {"no byte order", patched(kTiff, {'X', 'X'}), Orientation::kUpright},
      {"not TIFF", patched(kTiff + 2, {43, 0}), Orientation::kUpright},
      {"IFD past the segment", patched(kTiff + 4, {0xF0, 0xFF, 0xFF, 0xFF}), Orientation::kUpright},
      {"cut in the entries", Bytes(turned.begin(), turned.begin() + kTiff + 20),
       Orientation::kUpright},
  };
  for (const auto& [name, bytes, orientation] : cases) {
    EXPECT_EQ(JpegOrientation(bytes), orientation) << name;
  }
  // Every cut of the segment, for the sanitizers.
  for (std::size_t keep = 0; keep < kTiff + 40; ++keep) {
    JpegOrientation(Bytes(turned.begin(), turned.begin() + static_cast<std::ptrdiff_t>(keep)));
  }
}

}  // namespace
}  // namespace pivolane::picture
