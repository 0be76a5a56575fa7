#include "common/picture/slide_picture.h"

#include <gtest/gtest.h>

#include "common/picture/dib_reader.h"
#include "common/picture/jpeg_decoder.h"
#include "common/picture/pixel_scaling.h"
#include "tests/common/picture_samples.h"
#include "tests/common/sample_pictures.h"

namespace pivolane::picture {
namespace {

using test_pictures::Bytes;
using test_pictures::Rgb;
namespace ps = picture_samples;

constexpr Rgb kOrange{240, 130, 20};
constexpr playback::Size kLargeFrame{1280, 800};

// The pixel in the middle is colour, give or take what compression changes.
void ExpectColour(const Pixels& pixels, Rgb colour, int tolerance = 4) {
  ASSERT_FALSE(pixels.bytes.empty());
  const std::size_t at =
      (static_cast<std::size_t>(pixels.height / 2) * pixels.width + pixels.width / 2) *
      pixels.channels;
  EXPECT_NEAR(pixels.bytes[at], colour.r, tolerance);
  EXPECT_NEAR(pixels.bytes[at + 1], colour.g, tolerance);
  EXPECT_NEAR(pixels.bytes[at + 2], colour.b, tolerance);
}

std::optional<FittedPicture> Fit(const Bytes& bytes, playback::Size frame = kLargeFrame) {
  return DecodeFitted(bytes, frame);
}

// A bitmap of 4 x 3 pixels of one colour, stored in each of the ways a BMP file may use.
Bytes Bitmap(const std::string& kind, Rgb c) {
  const int w = 4, h = 3;
  Bytes dib;  // header, palette or masks, rows
  std::uint32_t compression = 0;
  unsigned bits = 24;
  Bytes palette = {c.b, c.g, c.r, 0};
  Bytes rows;
  if (kind == "24-bit" || kind == "top-down") {
    for (int i = 0; i < h; ++i) {
      for (int x = 0; x < w; ++x) rows.insert(rows.end(), {c.b, c.g, c.r});
    }
  } else if (kind == "1-bit" || kind == "8-bit") {
    bits = kind == "1-bit" ? 1 : 8;
    rows.assign(4 * h, 0);  // index 0 everywhere, rows of 4 bytes either way
  } else if (kind == "rle8") {
    bits = 8;
    compression = 1;
    for (int i = 0; i < h; ++i) rows.insert(rows.end(), {4, 0, 0, 0});  // a run, end of row
    rows.insert(rows.end(), {0, 1});
  } else if (kind == "rle4") {
    bits = 4;
    compression = 2;
    rows.insert(rows.end(), {0, 4, 0x00, 0x00, 0, 0});  // literal indices, end of row
    rows.insert(rows.end(), {4, 0x00, 0, 0, 4, 0x00, 0, 1});
  } else if (kind == "16-bit fields") {
    bits = 16;
    compression = 3;
    palette.clear();
    ps::Le32(palette, 0xF800);
    ps::Le32(palette, 0x07E0);
    ps::Le32(palette, 0x001F);
    const unsigned v = (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
    for (int i = 0; i < h * w; ++i) ps::Le16(rows, v);
  } else if (kind == "32-bit alpha") {
    bits = 32;
    compression = 6;
    palette.clear();
    for (const std::uint32_t mask : {0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u})
      ps::Le32(palette, mask);
    for (int i = 0; i < h * w; ++i) rows.insert(rows.end(), {c.b, c.g, c.r, 255});
  }
  if (kind == "core") {
    ps::Le32(dib, 12);
    ps::Le16(dib, w);
    ps::Le16(dib, h);
    ps::Le16(dib, 1);
    ps::Le16(dib, 24);
    for (int i = 0; i < h; ++i) {
      for (int x = 0; x < w; ++x) rows.insert(rows.end(), {c.b, c.g, c.r});
    }
    palette.clear();
  } else {
    ps::InfoHeader(dib, w, kind == "top-down" ? -h : h, bits, compression, bits <= 8 ? 1 : 0);
    if (bits > 8 && compression == 0) palette.clear();
  }
  Bytes file;
  ps::Text(file, "BM");
  const auto offset = static_cast<std::uint32_t>(14 + dib.size() + palette.size());
  ps::Le32(file, static_cast<std::uint32_t>(offset + rows.size()));
  ps::Le32(file, 0);
  ps::Le32(file, offset);
  file.insert(file.end(), dib.begin(), dib.end());
  file.insert(file.end(), palette.begin(), palette.end());
  file.insert(file.end(), rows.begin(), rows.end());
  return file;
}

class EveryBitmapKind : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryBitmapKind, DecodesToItsColour) {
  const std::optional<Pixels> pixels = DecodeBmp(Bitmap(GetParam(), kOrange));
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->width, 4);
  EXPECT_EQ(pixels->height, 3);
  EXPECT_EQ(pixels->bytes[3], 255);   // opaque
  ExpectColour(*pixels, kOrange, 8);  // 16 bits keep 5 of red's
}

INSTANTIATE_TEST_SUITE_P(SlidePicture, EveryBitmapKind,
                         ::testing::Values("24-bit", "top-down", "1-bit", "8-bit", "rle8", "rle4",
                                           "16-bit fields", "32-bit alpha", "core"));

TEST(SlidePicture, EveryFormatDecodesFittedIntoTheFrame) {
  const Bytes pngIcon = ps::Ico({{64, 64, 32, test_pictures::SamplePng(64, 64, kOrange)}});
  const std::vector<std::pair<const char*, Bytes>> samples = {
      {"jpeg", test_pictures::SampleJpeg(640, 480, kOrange)},
      {"png", test_pictures::SamplePng(640, 480, kOrange)},
      {"gif", test_pictures::SampleGif(640, 480, kOrange)},
      {"bmp", test_pictures::SampleBmp(640, 480, kOrange)},
      {"ico", test_pictures::SampleIco(64, kOrange)},
      {"png icon", pngIcon},
  };
  for (const auto& [name, bytes] : samples) {
    SCOPED_TRACE(name);
    const bool icon = bytes.size() > 2 && bytes[0] == 0 && bytes[2] == 1;
    // At its natural size in a large frame, centred.
    const std::optional<FittedPicture> natural = Fit(bytes);
    ASSERT_TRUE(natural);
    EXPECT_FALSE(natural->placement.stretched);
    EXPECT_EQ(natural->pixels.width, icon ? 64 : 640);
    EXPECT_EQ(natural->placement.left, (1280 - natural->pixels.width) / 2);
    EXPECT_EQ(natural->pixels.channels, 3);
    ExpectColour(natural->pixels, kOrange);
    // Reduced, keeping its proportions, in a small one.
    const std::optional<FittedPicture> reduced = Fit(bytes, {40, 40});
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->pixels.width, 40);
    EXPECT_EQ(reduced->pixels.height, icon ? 40 : 30);
    EXPECT_EQ(reduced->placement.top, icon ? 0 : 5);
    ExpectColour(reduced->pixels, kOrange);
  }
}

TEST(SlidePicture, JpegsDecodeAtTheSmallestDctScaleThatCoversTheShownSize) {
  struct Case {
    Dimensions natural, wanted;
    int eighths;
  };
  for (const Case& c :
       {Case{{4000, 3000}, {1067, 800}, 3}, Case{{4000, 3000}, {4000, 3000}, 8},
        Case{{4000, 3000}, {500, 375}, 1}, Case{{4000, 3000}, {501, 375}, 2},
        Case{{640, 480}, {640, 480}, 8}, Case{{17, 9}, {3, 2}, 1}, Case{{17, 9}, {4, 2}, 2}}) {
    EXPECT_EQ(JpegScaleFor(c.natural, c.wanted), c.eighths)
        << c.natural.width << "x" << c.natural.height << " for " << c.wanted.width;
  }
  const std::optional<Pixels> scaled =
      DecodeJpeg(test_pictures::SampleJpeg(800, 600, kOrange), {}, Dimensions{210, 150});
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->width, 300);  // 3/8: 2/8 would give 200 x 150
  EXPECT_EQ(scaled->height, 225);
  ExpectColour(*scaled, kOrange);
}

TEST(SlidePicture, ReducingAveragesTheAreaEachPixelCovers) {
  // Black and white columns average to grey; transparency shows black.
  Pixels stripes{4, 2, 4, {}};
  for (int i = 0; i < 8; ++i) stripes.bytes.insert(stripes.bytes.end(), {255, 255, 255, 255});
  for (int i = 0; i < 8; i += 2) std::fill_n(stripes.bytes.begin() + i * 4, 3, 0);
  stripes.bytes[5 * 4 + 3] = 0;  // a transparent white pixel counts as black
  FlattenOverBlack(stripes);
  ASSERT_EQ(stripes.channels, 3);
  const Pixels half = *ScaleSmoothly(stripes, 2, 1);
  ASSERT_EQ(half.bytes.size(), 6u);
  EXPECT_NEAR(half.bytes[0], 64, 1);   // one white pixel of four
  EXPECT_NEAR(half.bytes[3], 128, 1);  // two of four
  EXPECT_EQ(ScaleSmoothly(stripes, 3, 2)->width, 3);
  EXPECT_EQ(ScaleSmoothly(stripes, 4, 2)->bytes, stripes.bytes);
}

// Cut at every kind of place, or with flipped bytes: whatever comes out, no
// crash and no read outside the buffer (the sanitizer build checks).
TEST(SlidePicture, DamagedPicturesGiveNothingOrWhatTheyHold) {
  EXPECT_FALSE(Fit({}));
  EXPECT_FALSE(Fit(Bytes(1000, 0x55)));
  EXPECT_FALSE(Fit({0xFF, 0xD8, 0xFF}));
  EXPECT_FALSE(Fit(ps::PngHead(10, 10)));  // no image data
  for (const Bytes& whole :
       {test_pictures::SampleJpeg(64, 48, {1, 2, 3}), test_pictures::SamplePng(64, 48, {1, 2, 3}),
        test_pictures::SampleGif(64, 48, {1, 2, 3}), test_pictures::SampleBmp(64, 48, {1, 2, 3}),
        test_pictures::SampleIco(48, {1, 2, 3}), Bitmap("rle8", kOrange)}) {
    for (const std::size_t keep :
         {std::size_t{0}, std::size_t{10}, whole.size() / 2, whole.size() - 1}) {
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
      if (const std::optional<FittedPicture> fitted = Fit(cut)) {  // the first rows, say
        EXPECT_EQ(fitted->pixels.width, fitted->placement.width);
      }
    }
    Bytes flipped = whole;
    for (std::size_t i = whole.size() / 3; i < whole.size(); i += 7) flipped[i] ^= 0x5A;
    Fit(flipped);
  }
}

// Sizes and streams that would take more memory or time than a slide may
// are refused before anything is allocated for them.
TEST(SlidePicture, PicturesBeyondTheLimitsOrTheBudgetAreRefused) {
  const auto patched = [](Bytes bytes, std::size_t at, const Bytes& with) {
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
  };
  const Bytes jpeg = test_pictures::SampleJpeg(16, 16, {1, 2, 3});
  const Bytes progressive = test_pictures::SampleJpeg(16, 16, {1, 2, 3}, true);
  Bytes bmp = test_pictures::SampleBmp(16, 16, {1, 2, 3});
  // JPEGs: the next test.
  const std::vector<std::pair<const char*, Bytes>> oversized = {
      {"png 40000 wide",
       patched(test_pictures::SamplePng(16, 16, {1, 2, 3}), 16, {0, 0, 0x9C, 0x40})},
      {"png 8000 x 8000", patched(test_pictures::SamplePng(16, 16, {1, 2, 3}), 16,
                                  {0, 0, 0x1F, 0x40, 0, 0, 0x1F, 0x40})},
      {"bmp 30000 x 30000", patched(bmp, 18, {0x30, 0x75, 0, 0, 0x30, 0x75})},
      {"bmp 8000 x 8000", patched(bmp, 18, {0x40, 0x1F, 0, 0, 0x40, 0x1F})},
      {"gif screen 65535 x 65535",
       patched(test_pictures::SampleGif(16, 16, {1, 2, 3}), 6, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"gif frame 9000 x 9000",
       patched(test_pictures::SampleGif(16, 16, {1, 2, 3}), 30, {0x28, 0x23, 0x28, 0x23})},
  };
  for (const auto& [name, bytes] : oversized) EXPECT_FALSE(Fit(bytes)) << name;

  // A budget that has run out stops every decoder.
  const std::atomic<bool> calledOff{true};
  const DecodeBudget spent(DecodeBudget::Clock::now() + std::chrono::hours(1), &calledOff);
  for (const Bytes& bytes :
       {jpeg, progressive, test_pictures::SamplePng(16, 16, {1, 2, 3}),
        test_pictures::SampleGif(16, 16, {1, 2, 3}), bmp, Bitmap("rle4", kOrange)}) {
    EXPECT_FALSE(DecodeFitted(bytes, kLargeFrame, spent));
  }
  EXPECT_TRUE(DecodeFitted(jpeg, kLargeFrame, DecodeBudget::FromNow()));
}

// The check that the editor makes before its toolkit decodes a JPEG refuses
// what the decoder refuses before its first row, and no more: a scan marker
// inside another segment (a thumbnail's) is no scan.
TEST(SlidePicture, TheJpegCheckRefusesWhatTheDecoderRefuses) {
  const Bytes jpeg = test_pictures::SampleJpeg(16, 16, {1, 2, 3});
  const Bytes progressive = test_pictures::SampleJpeg(16, 16, {1, 2, 3}, true);
  Bytes thumbnail(jpeg.begin(), jpeg.begin() + 2);
  thumbnail.insert(thumbnail.end(), {0xFF, 0xE1, 0x01, 0x92});  // APP1 of 2 + 400 bytes
  for (int k = 0; k < 200; ++k) thumbnail.insert(thumbnail.end(), {0xFF, 0xDA});
  thumbnail.insert(thumbnail.end(), jpeg.begin() + 2, jpeg.end());
  const std::vector<std::tuple<const char*, Bytes, bool>> cases = {
      {"baseline", jpeg, true},
      {"progressive", progressive, true},
      {"scan markers in a segment", thumbnail, true},
      {"a png", test_pictures::SamplePng(16, 16, {1, 2, 3}), true},
      {"60000 x 60000", test_pictures::WithDeclaredJpegSize(jpeg, 60000, 60000), false},
      // 12000 x 12000 decodes at 1/8 in little memory, but a progressive
      // stream keeps every coefficient: 864 MB.
      {"progressive 12000 x 12000", test_pictures::WithDeclaredJpegSize(progressive, 12000, 12000),
       false},
      {"200 more scans", test_pictures::WithLastScanRepeated(progressive, 200), false},
      {"no frame", Bytes{0xFF, 0xD8, 0xFF, 0xD9}, false},
  };
  for (const auto& [name, bytes, within] : cases) {
    EXPECT_EQ(JpegWithinDecodeLimits(bytes), within) << name;
    EXPECT_EQ(Fit(bytes).has_value(), within) << name;
  }
}

TEST(SlidePicture, AGifShowsItsFirstFrameOverBlack) {
  // The sample's colour 1 (black in its table) made transparent, and a second
  // frame after the first that is never read.
  Bytes gif = test_pictures::SampleGif(6, 4, kOrange);
  const Bytes control = {0x21, 0xF9, 4, 0x01, 0, 0, 0, 0};  // colour 0 transparent
  gif.insert(gif.begin() + 25, control.begin(), control.end());
  gif.pop_back();  // the trailer
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0, 0x3B});
  const std::optional<FittedPicture> fitted = DecodeFitted(gif, kLargeFrame);
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->pixels.width, 6);
  ExpectColour(fitted->pixels, {0, 0, 0}, 0);
}

}  // namespace
}  // namespace pivolane::picture
