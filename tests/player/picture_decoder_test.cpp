#include "player/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/common/picture_samples.h"
#include "tests/common/test_support.h"
#include "tests/player/sample_pictures.h"

namespace pivolane::player {
namespace {

using test_pictures::Bytes;
using test_pictures::Rgb;

class PictureDecoderTest : public ::testing::Test {
 protected:
  std::unique_ptr<Fl_RGB_Image> Decode(const Bytes& bytes) {
    return DecodePicture(bytes, scratch_);
  }

  // The pixel in the middle of the picture is colour, give or take what
  // JPEG compression changes.
  static void ExpectColour(const std::unique_ptr<Fl_RGB_Image>& image, int width, int height,
                           Rgb colour) {
    ASSERT_TRUE(image);
    EXPECT_EQ(image->w(), width);
    EXPECT_EQ(image->h(), height);
    ASSERT_GE(image->d(), 3);
    const int stride = image->ld() != 0 ? image->ld() : image->w() * image->d();
    const auto* pixel = reinterpret_cast<const std::uint8_t*>(image->data()[0]) +
                        (height / 2) * stride + (width / 2) * image->d();
    EXPECT_NEAR(pixel[0], colour.r, 4);
    EXPECT_NEAR(pixel[1], colour.g, 4);
    EXPECT_NEAR(pixel[2], colour.b, 4);
  }

  testing::ScratchFolder folder_;
  std::filesystem::path scratch_ = folder_ / "PivolaneImg.tmp";
};

TEST_F(PictureDecoderTest, EveryFormatOfAShowDecodes) {
  const Rgb orange{240, 130, 20};
  ExpectColour(Decode(test_pictures::SampleJpeg(64, 48, orange)), 64, 48, orange);
  ExpectColour(Decode(test_pictures::SamplePng(30, 20, orange)), 30, 20, orange);
  ExpectColour(Decode(test_pictures::SampleBmp(33, 17, orange)), 33, 17, orange);
  ExpectColour(Decode(test_pictures::SampleGif(21, 13, orange)), 21, 13, orange);
  ExpectColour(Decode(test_pictures::SampleIco(32, orange)), 32, 32, orange);
  const Bytes pngIcon =
      picture_samples::Ico({{64, 64, 32, test_pictures::SamplePng(64, 64, orange)}});
  ExpectColour(Decode(pngIcon), 64, 64, orange);
  // GIF and BMP go through the scratch file, which is gone afterwards.
  EXPECT_FALSE(std::filesystem::exists(scratch_));
}

TEST_F(PictureDecoderTest, DamagedPicturesGiveNoImageAndNoCrash) {
  EXPECT_FALSE(Decode({}));
  EXPECT_FALSE(Decode(Bytes(1000, 0x55)));
  EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF}));
  EXPECT_FALSE(Decode(picture_samples::PngHead(10, 10)));  // no image data
  for (const Bytes& whole :
       {test_pictures::SampleJpeg(64, 48, {1, 2, 3}), test_pictures::SamplePng(64, 48, {1, 2, 3}),
        test_pictures::SampleGif(64, 48, {1, 2, 3}), test_pictures::SampleBmp(64, 48, {1, 2, 3}),
        test_pictures::SampleIco(48, {1, 2, 3})}) {
    for (const std::size_t keep :
         {std::size_t{0}, std::size_t{10}, whole.size() / 2, whole.size() - 1}) {
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
      const std::unique_ptr<Fl_RGB_Image> image = Decode(cut);
      if (image) {  // a cut-short stream may still give its first rows
        EXPECT_EQ(image->w(), 64);
      }
    }
    Bytes flipped = whole;
    for (std::size_t i = whole.size() / 3; i < whole.size(); i += 7) flipped[i] ^= 0x5A;
    Decode(flipped);  // whatever comes out, it must not crash
  }
  EXPECT_FALSE(std::filesystem::exists(scratch_));
}

TEST_F(PictureDecoderTest, PicturesTooLargeToDecodeSafelyAreRefused) {
  Bytes jpeg = test_pictures::SampleJpeg(16, 16, {1, 2, 3});
  // The start-of-frame segment holds the height and then the width.
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = 0xEA;  // 60000 x 60000
      jpeg[i + 6] = 0x60;
      jpeg[i + 7] = 0xEA;
      jpeg[i + 8] = 0x60;
      break;
    }
  }
  EXPECT_FALSE(Decode(jpeg));

  Bytes png = test_pictures::SamplePng(16, 16, {1, 2, 3});
  png[16] = 0x00;  // width 40000 (the CRC no longer matches either)
  png[17] = 0x00;
  png[18] = 0x9C;
  png[19] = 0x40;
  EXPECT_FALSE(Decode(png));

  Bytes bmp = test_pictures::SampleBmp(16, 16, {1, 2, 3});
  bmp[18] = 0x30;  // 30000 x 30000
  bmp[19] = 0x75;
  bmp[22] = 0x30;
  bmp[23] = 0x75;
  EXPECT_FALSE(Decode(bmp));

  Bytes gif = test_pictures::SampleGif(16, 16, {1, 2, 3});
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // a 65535 x 65535 screen
  EXPECT_FALSE(Decode(gif));
  EXPECT_FALSE(std::filesystem::exists(scratch_));
}

TEST_F(PictureDecoderTest, AScratchFileThatCannotBeWrittenLeavesThePictureEmpty) {
  EXPECT_FALSE(DecodePicture(test_pictures::SampleGif(4, 4, {1, 2, 3}),
                             folder_ / "missing" / "PivolaneImg.tmp"));
}

}  // namespace
}  // namespace pivolane::player
