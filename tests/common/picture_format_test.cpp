#include "common/picture/picture_format.h"

#include <gtest/gtest.h>

#include "picture_samples.h"

namespace pivolane::picture {
namespace {

using namespace picture_samples;

// SOI, an APP0 segment, optionally a start-of-frame segment, then a scan.
Bytes JpegHead(bool withFrame, unsigned width = 640, unsigned height = 480) {
  Bytes out = {0xFF, 0xD8, 0xFF, 0xE0};
  Be16(out, 16);
  Text(out, "JFIF");
  out.insert(out.end(), 10, 0);
  out.insert(out.end(), {0xFF, 0xFF});  // fill byte before the next marker
  if (withFrame) {
    out.insert(out.end(), {0xFF, 0xC2});  // progressive
    Be16(out, 17);
    out.push_back(8);
    Be16(out, height);
    Be16(out, width);
    out.insert(out.end(), 10, 1);
  }
  out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x08});
  return out;
}

Bytes Gif(bool withExtension) {
  Bytes out;
  Text(out, "GIF89a");
  Le16(out, 100);
  Le16(out, 50);
  out.insert(out.end(), {0x81, 0, 0});  // a global colour table of 4 colours
  out.insert(out.end(), 12, 0);
  if (withExtension) out.insert(out.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});
  out.push_back(0x2C);
  Le16(out, 0);
  Le16(out, 0);
  Le16(out, 120);  // a frame wider than the screen
  Le16(out, 40);
  out.push_back(0);
  return out;
}

Bytes Bmp(std::int32_t width, std::int32_t height) {
  Bytes out;
  Text(out, "BM");
  Le32(out, 0);
  Le32(out, 0);
  Le32(out, 54);
  InfoHeader(out, width, height, 24);
  return out;
}

void ExpectDimensions(const Bytes& bytes, int width, int height) {
  const std::optional<Dimensions> d = DeclaredDimensions(bytes);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->width, width);
  EXPECT_EQ(d->height, height);
}

TEST(PictureFormat, DetectedFromTheFirstBytes) {
  EXPECT_EQ(DetectPictureFormat(JpegHead(true)), PictureFormat::kJpeg);
  EXPECT_EQ(DetectPictureFormat(PngHead(1, 1)), PictureFormat::kPng);
  EXPECT_EQ(DetectPictureFormat(Gif(false)), PictureFormat::kGif);
  Bytes gif87 = Gif(false);
  gif87[4] = '7';
  EXPECT_EQ(DetectPictureFormat(gif87), PictureFormat::kGif);
  EXPECT_EQ(DetectPictureFormat(Bmp(1, 1)), PictureFormat::kBmp);
  EXPECT_EQ(DetectPictureFormat(Ico({{1, 1, 32, Bytes(48, 0)}})), PictureFormat::kIco);
  EXPECT_EQ(DetectPictureFormat(Bytes{}), PictureFormat::kUnknown);
  EXPECT_EQ(DetectPictureFormat(Bytes{0xFF, 0xD8}), PictureFormat::kUnknown);
  EXPECT_EQ(DetectPictureFormat(Bytes{'G', 'I', 'F', '8', '8', 'a'}), PictureFormat::kUnknown);
}

TEST(PictureFormat, DeclaredDimensionsOfEachFormat) {
  ExpectDimensions(JpegHead(true), 640, 480);
  ExpectDimensions(PngHead(300, 200), 300, 200);
  ExpectDimensions(Gif(false), 120, 50);
  ExpectDimensions(Gif(true), 120, 50);
  ExpectDimensions(Bmp(30, 20), 30, 20);
  ExpectDimensions(Bmp(30, -20), 30, 20);  // rows stored top to bottom
  Bytes core;
  Text(core, "BM");
  core.insert(core.end(), 12, 0);
  Le32(core, 12);
  Le16(core, 7);
  Le16(core, 9);
  ExpectDimensions(core, 7, 9);
  // Sides beyond what a decoder may allocate all read as one past the limit.
  ExpectDimensions(PngHead(0xFFFFFFFF, 10), kMaxSide + 1, 10);
  ExpectDimensions(Bmp(0x7FFFFFFF, 10), kMaxSide + 1, 10);
}

TEST(PictureFormat, UnreadableHeadersDeclareNothing) {
  EXPECT_FALSE(DeclaredDimensions(JpegHead(false)));  // scan before any frame
  const Bytes jpeg = JpegHead(true);
  EXPECT_FALSE(DeclaredDimensions(Bytes(jpeg.begin(), jpeg.begin() + 30)));
  Bytes badLength = jpeg;
  badLength[4] = 0;
  badLength[5] = 1;  // a segment shorter than its own length field
  EXPECT_FALSE(DeclaredDimensions(badLength));
  const Bytes gif = Gif(true);
  EXPECT_FALSE(DeclaredDimensions(Bytes(gif.begin(), gif.end() - 5)));
  Bytes png = PngHead(1, 1);
  png[12] = 'X';
  EXPECT_FALSE(DeclaredDimensions(png));
  EXPECT_FALSE(DeclaredDimensions(Bmp(-1, 10)));
  EXPECT_FALSE(DeclaredDimensions(Bytes{'B', 'M', 0}));
  EXPECT_FALSE(DeclaredDimensions(Ico({{1, 1, 32, Bytes(48, 0)}})));
}

TEST(PictureFormat, DecodeLimits) {
  EXPECT_TRUE(WithinDecodeLimits({1, 1}));
  EXPECT_TRUE(WithinDecodeLimits({kMaxSide, 4096}));
  EXPECT_TRUE(WithinDecodeLimits({8192, 16384}));
  EXPECT_FALSE(WithinDecodeLimits({16384, 16384}));
  EXPECT_FALSE(WithinDecodeLimits({kMaxSide + 1, 1}));
  EXPECT_FALSE(WithinDecodeLimits({1, kMaxSide + 1}));
  EXPECT_FALSE(WithinDecodeLimits({0, 10}));
  EXPECT_FALSE(WithinDecodeLimits({10, 0}));
}

}  // namespace
}  // namespace pivolane::picture
