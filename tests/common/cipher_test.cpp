#include <gtest/gtest.h>

#include "common/cipher/cryptage_xor.h"
#include "common/cipher/password.h"
#include "common/errors.h"
#include "common/io/file.h"
#include "tests/common/test_support.h"

namespace pivolane::cipher {
namespace {

using testing::Bytes;

// The algorithm written out position by position, 1-based, as a reference.
Bytes ReferenceCipher(const Bytes& data, const std::string& password, int start) {
  std::array<std::uint8_t, 2563> keyStream{};
  const int length = static_cast<int>(password.size());
  for (int i = 1; i <= 2562; ++i) {
    keyStream[i] = masterKey[i - 1] ^ static_cast<std::uint8_t>(password[(i % length) + 1 - 1]);
  }
  Bytes out = data;
  int j = start;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (j == 2563) j = 1;
    out[i] = keyStream[j] ^ out[i];
    ++j;
  }
  return out;
}

TEST(KeyStream, UsesThePasswordFromItsSecondCharacterCycled) {
  const KeyStream stream = BuildKeyStream("abcd");
  // Position i uses password character (i mod 4) + 1: 2, 3, 4, 1, 2...
  EXPECT_EQ(stream[0], masterKey[0] ^ 'b');
  EXPECT_EQ(stream[1], masterKey[1] ^ 'c');
  EXPECT_EQ(stream[2], masterKey[2] ^ 'd');
  EXPECT_EQ(stream[3], masterKey[3] ^ 'a');
  EXPECT_EQ(stream[4], masterKey[4] ^ 'b');
  const KeyStream single = BuildKeyStream("z");
  EXPECT_EQ(single[2561], masterKey[2561] ^ 'z');
}

TEST(KeyStream, EmptyPasswordIsRefused) {
  EXPECT_THROW(BuildKeyStream(""), Failure);
}

TEST(ApplyKeyStream, MatchesTheReferenceAndWrapsToPositionOne) {
  const Bytes data = testing::PatternBytes(3000, 1);
  for (const int start : {1, 200, 255}) {
    Bytes ours = data;
    ApplyKeyStream(BuildKeyStream("s3cret"), static_cast<std::uint8_t>(start), ours);
    EXPECT_EQ(ours, ReferenceCipher(data, "s3cret", start)) << "start " << start;
  }
  // From start 200: byte 2363 uses position 2562, byte 2364 position 1.
  Bytes zeros(3000, 0);
  const KeyStream stream = BuildKeyStream("pw");
  ApplyKeyStream(stream, 200, zeros);
  EXPECT_EQ(zeros[0], stream[199]);
  EXPECT_EQ(zeros[2362], stream[2561]);
  EXPECT_EQ(zeros[2363], stream[0]);
  EXPECT_EQ(zeros[2999], stream[636]);
}

TEST(ApplyKeyStream, PiecesAtTheirPositionsEqualOnePass) {
  const Bytes data = testing::PatternBytes(9000, 2);
  const KeyStream stream = BuildKeyStream("pieces");
  Bytes whole = data;
  ApplyKeyStream(stream, 77, whole);
  Bytes pieces = data;
  const std::vector<std::size_t> cuts = {0, 1, 2561, 2562, 5000, 8999, 9000};
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    ApplyKeyStream(stream, 77, std::span(pieces).subspan(cuts[i - 1], cuts[i] - cuts[i - 1]),
                   cuts[i - 1]);
  }
  EXPECT_EQ(pieces, whole);
}

TEST(PasswordCheckValue, DependsOnStartAndEveryCharacter) {
  const CheckValue a = PasswordCheckValue("secret", 10);
  EXPECT_NE(a, PasswordCheckValue("secret", 11));
  EXPECT_NE(a, PasswordCheckValue("secret ", 10));
  EXPECT_EQ(a, PasswordCheckValue("secret", 10));
  // The password padded with spaces, enciphered.
  Bytes padded(128, ' ');
  std::copy_n("secret", 6, padded.begin());
  const Bytes expected = ReferenceCipher(padded, "secret", 10);
  EXPECT_TRUE(std::equal(a.begin(), a.end(), expected.begin()));
}

TEST(PasswordCheckValue, LengthLimits) {
  const std::string full(128, 'x');
  Bytes exact(full.begin(), full.end());
  const CheckValue value = PasswordCheckValue(full, 5);
  const Bytes expected = ReferenceCipher(exact, full, 5);
  EXPECT_TRUE(std::equal(value.begin(), value.end(), expected.begin()));
  EXPECT_THROW(PasswordCheckValue(std::string(129, 'x'), 5), Failure);
  EXPECT_THROW(PasswordCheckValue("", 5), Failure);
}

TEST(CipherFileInPlace, LargeFileInChunksEqualsTheWholeAndTwiceRestores) {
  testing::ScratchFolder dir;
  // Larger than two chunks, with an odd tail.
  const Bytes data = testing::PatternBytes(2 * io::kChunkSize + 12345, 3);
  testing::WriteBytes(dir / "f", data);
  CipherFileInPlace(dir / "f", "chunky", 200);
  Bytes expected = data;
  ApplyKeyStream(BuildKeyStream("chunky"), 200, expected);
  EXPECT_EQ(testing::ReadBytes(dir / "f"), expected);
  CipherFileInPlace(dir / "f", "chunky", 200);
  EXPECT_EQ(testing::ReadBytes(dir / "f"), data);
}

TEST(CipherFileInPlace, MissingFileIsReportedAsFileNotFound) {
  testing::ScratchFolder dir;
  try {
    CipherFileInPlace(dir / "missing", "pw", 1);
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 53);
  }
}

TEST(KeyStart, DrawnFromOneTo255) {
  EXPECT_EQ(KeyStartFromUnit(0.0), 1);
  EXPECT_EQ(KeyStartFromUnit(0.5), 128);
  EXPECT_EQ(KeyStartFromUnit(0.99999), 255);
}

TEST(Passwords, NewPasswordsAreCodePageTextOfOneTo128Characters) {
  EXPECT_EQ(EncodeNewPassword("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(EncodeNewPassword("\xE2\x82\xAC"), "\x80");  // the euro sign has a code
  EXPECT_THROW(EncodeNewPassword(""), Failure);
  EXPECT_THROW(EncodeNewPassword("\xE6\x97\xA5"), Failure);                // no code page 1252 code
  EXPECT_NO_THROW(EncodeNewPassword(std::string(127, 'a') + "\xC3\xA9"));  // 128 code page bytes
  EXPECT_THROW(EncodeNewPassword(std::string(128, 'a') + "\xC3\xA9"), Failure);
}

TEST(Passwords, TypedPasswordsThatCannotMatchAreSimplyWrong) {
  EXPECT_EQ(EncodeTypedPassword("abc"), "abc");
  EXPECT_FALSE(EncodeTypedPassword(""));
  EXPECT_FALSE(EncodeTypedPassword(std::string(129, 'a')));
  EXPECT_FALSE(EncodeTypedPassword("\xE6\x97\xA5"));
}

TEST(CryptageXor, DiscardPasswordLeavesItEmpty) {
  CryptageXor state{"secret", 9};
  state.DiscardPassword();
  EXPECT_TRUE(state.currentPassword.empty());
  EXPECT_EQ(state.keyStart, 9);
}

}  // namespace
}  // namespace pivolane::cipher
