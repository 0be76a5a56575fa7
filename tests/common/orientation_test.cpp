#include "common/picture/orientation.h"

#include <gtest/gtest.h>

#include "common/picture/slide_picture.h"
#include "tests/common/sample_pictures.h"

namespace pivolane::picture {
namespace {

using test_pictures::Bytes;

// The colours of the quarters of QuartersJpeg as shown: top left, top right,
// bottom left, bottom right.
std::string QuartersOf(const Pixels& pixels) {
  std::string quarters;
  for (const auto& [qx, qy] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}}) {
    const std::uint8_t* p =
        pixels.bytes.data() +
        (static_cast<std::size_t>(qy * pixels.height / 4) * pixels.width + qx * pixels.width / 4) *
            3;
    const bool r = p[0] > 128, g = p[1] > 128, b = p[2] > 128;
    quarters += r && g && b ? 'W' : r ? 'R' : g ? 'G' : 'B';
  }
  return quarters;
}

struct Turn {
  unsigned value;
  const char* shown;
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
  for (const int longSide : {64, 16}) {
    const std::optional<FittedPicture> fitted = DecodeFitted(jpeg, {longSide, longSide});
    ASSERT_TRUE(fitted);
    const bool swapped = turn.value >= 5;
    EXPECT_EQ(fitted->pixels.width, swapped ? longSide / 2 : longSide);
    EXPECT_EQ(fitted->pixels.height, swapped ? longSide : longSide / 2);
    EXPECT_EQ(fitted->placement.height, fitted->pixels.height);
    EXPECT_EQ(QuartersOf(fitted->pixels), turn.shown) << longSide;
  }
}

INSTANTIATE_TEST_SUITE_P(Orientation, EveryOrientation,
                         ::testing::Values(Turn{1, "RGBW"}, Turn{2, "GRWB"}, Turn{3, "WBGR"},
                                           Turn{4, "BWRG"}, Turn{5, "RBGW"}, Turn{6, "BRWG"},
                                           Turn{7, "WGBR"}, Turn{8, "GWRB"}),
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
