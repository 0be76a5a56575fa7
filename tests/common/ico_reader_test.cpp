#include "common/picture/ico_reader.h"

#include <gtest/gtest.h>

#include "picture_samples.h"

namespace pivolane::picture {
namespace {

using namespace picture_samples;

Pixels DecodedPixels(const Bytes& file) {
  const std::optional<IcoPicture> picture = ReadIco(file);
  EXPECT_TRUE(picture.has_value());
  EXPECT_TRUE(picture && std::holds_alternative<Pixels>(*picture));
  return picture && std::holds_alternative<Pixels>(*picture) ? std::get<Pixels>(*picture)
                                                             : Pixels{};
}

Bytes Rgba(const Pixels& p, int x, int y) {
  const auto at = static_cast<std::size_t>((y * p.width + x) * 4);
  return Bytes(p.bytes.begin() + static_cast<std::ptrdiff_t>(at),
               p.bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

TEST(IcoReader, ThirtyTwoBitEntriesKeepTheirAlphaAndRowsComeTopFirst) {
  Bytes entry;
  InfoHeader(entry, 2, 4, 32);
  // Stored bottom row first, BGRA.
  entry.insert(entry.end(), {1, 2, 3, 255, 4, 5, 6, 128});
  entry.insert(entry.end(), {7, 8, 9, 0, 10, 11, 12, 64});
  entry.insert(entry.end(), 8, 0xFF);  // mask rows: ignored when colours carry alpha
  const Pixels p = DecodedPixels(Ico({{2, 2, 32, entry}}));
  ASSERT_EQ(p.width, 2);
  ASSERT_EQ(p.height, 2);
  EXPECT_EQ(p.channels, 4);
  EXPECT_EQ(Rgba(p, 0, 0), (Bytes{9, 8, 7, 0}));
  EXPECT_EQ(Rgba(p, 1, 0), (Bytes{12, 11, 10, 64}));
  EXPECT_EQ(Rgba(p, 0, 1), (Bytes{3, 2, 1, 255}));
  EXPECT_EQ(Rgba(p, 1, 1), (Bytes{6, 5, 4, 128}));
}

TEST(IcoReader, TheMaskMakesPixelsTransparent) {
  Bytes entry;
  InfoHeader(entry, 2, 4, 24);
  entry.insert(entry.end(), {10, 20, 30, 40, 50, 60, 0, 0});  // bottom row, padded to 8
  entry.insert(entry.end(), {70, 80, 90, 1, 2, 3, 0, 0});     // top row
  entry.insert(entry.end(), {0x40, 0, 0, 0});                 // bottom: right pixel masked
  entry.insert(entry.end(), {0x80, 0, 0, 0});                 // top: left pixel masked
  const Pixels p = DecodedPixels(Ico({{2, 2, 24, entry}}));
  EXPECT_EQ(Rgba(p, 0, 0), (Bytes{90, 80, 70, 0}));
  EXPECT_EQ(Rgba(p, 1, 0), (Bytes{3, 2, 1, 255}));
  EXPECT_EQ(Rgba(p, 0, 1), (Bytes{30, 20, 10, 255}));
  EXPECT_EQ(Rgba(p, 1, 1), (Bytes{60, 50, 40, 0}));

  // A 32-bit entry whose alpha is zero everywhere was made for the mask.
  Bytes old;
  InfoHeader(old, 1, 2, 32);
  old.insert(old.end(), {5, 6, 7, 0});
  old.insert(old.end(), {0x00, 0, 0, 0});
  EXPECT_EQ(Rgba(DecodedPixels(Ico({{1, 1, 32, old}})), 0, 0), (Bytes{7, 6, 5, 255}));
}

TEST(IcoReader, PaletteEntriesOfOneFourAndEightBits) {
  const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};  // black, white, red

  Bytes mono;
  InfoHeader(mono, 10, 2, 1, 0, 2);
  mono.insert(mono.end(), palette.begin(), palette.begin() + 8);
  mono.insert(mono.end(), {0b10100000, 0b01000000, 0, 0});  // pixels 0, 2 and 9 white
  mono.insert(mono.end(), 4, 0);
  const Pixels m = DecodedPixels(Ico({{10, 1, 1, mono}}));
  ASSERT_EQ(m.width, 10);
  for (int x = 0; x < 10; ++x) {
    const bool white = x == 0 || x == 2 || x == 9;
    EXPECT_EQ(Rgba(m, x, 0)[0], white ? 255 : 0) << x;
  }

  Bytes four;
  InfoHeader(four, 3, 2, 4, 0, 3);
  four.insert(four.end(), palette.begin(), palette.end());
  four.insert(four.end(), {0x21, 0x00, 0, 0});  // red, white, black
  four.insert(four.end(), 4, 0);
  const Pixels f = DecodedPixels(Ico({{3, 1, 4, four}}));
  EXPECT_EQ(Rgba(f, 0, 0), (Bytes{255, 0, 0, 255}));
  EXPECT_EQ(Rgba(f, 1, 0), (Bytes{255, 255, 255, 255}));
  EXPECT_EQ(Rgba(f, 2, 0), (Bytes{0, 0, 0, 255}));

  Bytes eight;
  InfoHeader(eight, 2, 2, 8);  // colours used 0: the full 256-colour table
  for (int i = 0; i < 256; ++i) eight.insert(eight.end(), {0, 0, static_cast<std::uint8_t>(i), 0});
  eight.insert(eight.end(), {200, 7, 0, 0});
  eight.insert(eight.end(), 4, 0);
  const Pixels e = DecodedPixels(Ico({{2, 1, 8, eight}}));
  EXPECT_EQ(Rgba(e, 0, 0)[0], 200);
  EXPECT_EQ(Rgba(e, 1, 0)[0], 7);
}

TEST(IcoReader, TheLargestEntryIsChosenAndPngEntriesAreHandedBack) {
  const Pixels deeper = DecodedPixels(Ico({{16, 16, 24, SolidBmpEntry(16, 24)},
                                           {32, 32, 24, SolidBmpEntry(32, 24)},
                                           {32, 32, 32, SolidBmpEntry(32, 32)}}));
  EXPECT_EQ(deeper.width, 32);
  EXPECT_EQ(Rgba(deeper, 0, 0)[3], 0x40);  // the 32-bit entry, with its own alpha

  const Bytes png = PngHead(256, 256);
  const Bytes file = Ico({{48, 48, 32, SolidBmpEntry(48, 32)}, {256, 256, 32, png}});
  const std::optional<IcoPicture> picture = ReadIco(file);
  ASSERT_TRUE(picture && std::holds_alternative<EmbeddedPng>(*picture));
  const std::span<const std::uint8_t> stream = std::get<EmbeddedPng>(*picture).bytes;
  EXPECT_EQ(Bytes(stream.begin(), stream.end()), png);
  EXPECT_EQ(stream.data(), file.data() + file.size() - png.size());  // inside the file
}

TEST(IcoReader, DamagedFilesAreRefused) {
  const Bytes good = Ico({{4, 4, 24, SolidBmpEntry(4, 24)}});
  ASSERT_TRUE(ReadIco(good).has_value());

  const auto refused = [](Bytes file, const char* what) {
    EXPECT_FALSE(ReadIco(file).has_value()) << what;
  };
  refused({}, "empty");
  refused(Bytes(good.begin(), good.begin() + 5), "header cut");
  refused(Bytes(good.begin(), good.begin() + 20), "directory cut");
  refused(Bytes(good.begin(), good.end() - 1), "entry cut");
  Bytes cursor = good;
  cursor[2] = 2;
  refused(cursor, "a cursor file");
  Bytes none = good;
  none[4] = 0;
  refused(none, "no entries");
  Bytes farOffset = good;
  farOffset[18] = 0xFF;
  farOffset[19] = 0xFF;
  farOffset[20] = 0xFF;
  farOffset[21] = 0xFF;
  refused(farOffset, "an offset past the end");
  Bytes hugeSize = good;
  hugeSize[14] = 0xFF;
  hugeSize[15] = 0xFF;
  hugeSize[16] = 0xFF;
  hugeSize[17] = 0xFF;
  refused(hugeSize, "a size that wraps around");
  Bytes emptyEntry = Ico({{4, 4, 24, {}}});
  refused(emptyEntry, "an empty entry");

  const auto entryWith = [](std::int32_t width, std::int32_t height, unsigned bits,
                            std::uint32_t compression, std::uint32_t colours) {
    Bytes entry;
    InfoHeader(entry, width, height, bits, compression, colours);
    entry.insert(entry.end(), 4096, 0);
    return Ico({{4, 4, bits, entry}});
  };
  ASSERT_TRUE(ReadIco(entryWith(4, 8, 24, 0, 0)).has_value());
  refused(entryWith(300, 8, 24, 0, 0), "wider than an icon can be");
  refused(entryWith(-4, 8, 24, 0, 0), "a negative width");
  refused(entryWith(4, -8, 24, 0, 0), "a negative height");
  refused(entryWith(4, 1, 24, 0, 0), "no room for a mask row");
  refused(entryWith(4, 8, 16, 0, 0), "16-bit colours");
  refused(entryWith(4, 8, 24, 1, 0), "compressed rows");
  refused(entryWith(4, 8, 4, 0, 17), "a palette larger than 4 bits address");

  Bytes badIndex;
  InfoHeader(badIndex, 1, 2, 8, 0, 2);
  badIndex.insert(badIndex.end(), 8, 0);          // two colours
  badIndex.insert(badIndex.end(), {5, 0, 0, 0});  // colour 5
  badIndex.insert(badIndex.end(), {0, 0, 0, 0});
  refused(Ico({{1, 1, 8, badIndex}}), "a colour outside the palette");

  Bytes noMask;
  InfoHeader(noMask, 32, 64, 32);
  noMask.insert(noMask.end(), 32 * 32 * 4, 0x10);
  refused(Ico({{32, 32, 32, noMask}}), "mask rows missing");
}

}  // namespace
}  // namespace pivolane::picture
