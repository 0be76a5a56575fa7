#include <gtest/gtest.h>

#include "common/format/records.h"
#include "common/text/cp1252.h"

namespace pivolane {
namespace {

TEST(Cp1252, ConvertsBothWaysAndKeepsEveryByte) {
  EXPECT_EQ(text::ToCp1252("D\xC3\xA9lai \xE2\x82\xAC \xC5\x93"), "D\xE9lai \x80 \x9C");
  EXPECT_EQ(text::FromCp1252("D\xE9lai \x80 \x9C"), "D\xC3\xA9lai \xE2\x82\xAC \xC5\x93");
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(text::ToCp1252(text::FromCp1252(all)), all);
}

TEST(Cp1252, CharactersWithoutACodeAreRefusedOrReplaced) {
  EXPECT_FALSE(text::ToCp1252("\xE6\x97\xA5\xE6\x9C\xAC"));
  EXPECT_EQ(text::ToCp1252Lossy("a\xE6\x97\xA5z"), "a?z");
  EXPECT_EQ(text::ToCp1252Lossy("bad \xFF utf8"), "bad ? utf8");
  EXPECT_EQ(text::ToCp1252Lossy("\xF0\x9F\x98\x80"), "?");  // outside the basic plane
}

TEST(Cp1252, TrailingBlanksAreTrimmed) {
  EXPECT_EQ(text::TrimTrailingBlanks("title   "), "title");
  EXPECT_EQ(text::TrimTrailingBlanks(std::string_view("t\0\0", 3)), "t");
  EXPECT_EQ(text::TrimTrailingBlanks("   "), "");
  EXPECT_EQ(text::TrimTrailingBlanks(" a b "), " a b");
}

TEST(ShowHeader, IsSerialisedFieldByFieldLittleEndian) {
  format::ShowHeader h;
  h.VersionTag = format::VersionTagFor("100");
  h.DelaySeconds = 0x01020304;
  h.SlideCount = 0x0506;
  h.keyStart = 0x07;
  h.LoopFlag = format::kTrue;
  h.RandomFlag = format::kFalse;
  h.TitlesFlag = format::kTrue;
  h.PasswordCheck.fill(0xAB);
  h.PlayerSize = 69632;
  h.Language = 1;
  h.CipherVersion = 1;
  const format::ShowHeader::Bytes b = h.Serialize();
  ASSERT_EQ(b.size(), 155u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "pvl100");
  EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 6, b.begin() + 10)),
            (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(b[10], 0x06);
  EXPECT_EQ(b[11], 0x05);
  EXPECT_EQ(b[12], 0x07);
  EXPECT_EQ(b[13], 0xFF);
  EXPECT_EQ(b[14], 0xFF);
  EXPECT_EQ(b[15], 0x00);
  EXPECT_EQ(b[17], 0xFF);
  EXPECT_EQ(b[19], 0x00);
  EXPECT_EQ(b[20], 0xAB);
  EXPECT_EQ(b[147], 0xAB);
  EXPECT_EQ(b[148], 0x00);  // 69632 = 0x00011000
  EXPECT_EQ(b[149], 0x10);
  EXPECT_EQ(b[150], 0x01);
  EXPECT_EQ(b[152], 1);
  EXPECT_EQ(b[153], 1);
  EXPECT_EQ(b[154], 0);

  const format::ShowHeader back = format::ShowHeader::Parse(b);
  EXPECT_EQ(back.Serialize(), b);
  EXPECT_TRUE(back.HasShowTag());
  EXPECT_TRUE(back.HasPassword());
}

TEST(ShowHeader, PasswordIsToldByAnyNonNulCheckByte) {
  format::ShowHeader h;
  EXPECT_FALSE(h.HasPassword());
  h.PasswordCheck[127] = ' ';
  EXPECT_TRUE(h.HasPassword());
}

TEST(SlideEntry, Is136BytesWithTitleSizeAndOffset) {
  format::SlideEntry e;
  e.Title = format::TitleField("plage.jpg");
  e.PictureSize = 1000;
  e.PictureOffset = -2;
  const format::SlideEntry::Bytes b = e.Serialize();
  ASSERT_EQ(b.size(), 136u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 9), "plage.jpg");
  EXPECT_EQ(b[9], ' ');
  EXPECT_EQ(b[127], ' ');
  EXPECT_EQ(b[128], 0xE8);  // 1000
  EXPECT_EQ(b[129], 0x03);
  EXPECT_EQ(b[132], 0xFE);  // -2, two's complement
  EXPECT_EQ(b[135], 0xFF);
  const format::SlideEntry back = format::SlideEntry::Parse(b);
  EXPECT_EQ(back.TrimmedTitle(), "plage.jpg");
  EXPECT_EQ(back.PictureOffset, -2);
}

TEST(Fields, VersionTagAndTitleAreCutOrPadded) {
  const auto tag = format::VersionTagFor("1234");
  EXPECT_EQ(std::string(tag.begin(), tag.end()), "pvl123");
  const auto shortTag = format::VersionTagFor("1");
  EXPECT_EQ(std::string(shortTag.begin(), shortTag.end()), "pvl1  ");
  const auto title = format::TitleField(std::string(130, 't'));
  EXPECT_EQ(std::string(title.begin(), title.end()), std::string(128, 't'));
}

}  // namespace
}  // namespace pivolane
