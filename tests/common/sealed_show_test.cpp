// Shows sealed with cipher version 2: stored as the format says, read back as
// written, and refused, whole or one picture at a time, once any byte of
// them changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/extraction.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/format/self_running.h"
#include "common/format/show_file.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

using testing::Bytes;
using testing::FailureNumber;
using testing::ReadBytes;

constexpr const char* kPassword = "open sesame";
// Three slides: two pictures of two chunks each (65536 + 4464 bytes), then an
// empty one, which is one empty chunk.
constexpr std::size_t kPictureSize = 70000;
constexpr std::size_t kTableEnd = 3 * 136 + 16;
constexpr std::size_t kStoredPicture = kPictureSize + 2 * 16;
constexpr std::size_t kSecondAt = kTableEnd + kStoredPicture;
constexpr std::size_t kThirdAt = kSecondAt + kStoredPicture;
constexpr std::size_t kPayloadSize = kThirdAt + 16;
constexpr std::size_t kHeaderAt = kPayloadSize;  // in a document

class SealedShowTest : public ::testing::Test {
 protected:
  SealedShowTest() {
    fs::create_directories(work());
    slides_ = {{"a", Picture("a", kPictureSize, 1)},
               {"b", Picture("b", kPictureSize, 2)},
               {"c", Picture("c", 0, 3)}};
  }

  fs::path work() const { return dir_ / "work"; }
  fs::path doc() const { return dir_ / "show.pvl"; }
  fs::path Picture(const std::string& name, std::size_t size, unsigned tag) {
    testing::WriteBytes(dir_ / name, testing::PatternBytes(size, tag));
    return dir_ / name;
  }

  void Save() {
    ShowOptions options;
    options.usePassword = true;
    options.cipherVersion = kSealedCipherVersion;
    options.kdfLimits = cipher::kMinimumKdfLimits;
    options.delaySeconds = 7;
    SaveDocumentFile(doc(), slides_, options, {kPassword, 42}, 69632);
  }

  DocumentReadResult Read(std::string password = kPassword) {
    return ReadDocument(doc(), work(), counter_, [&](std::int16_t cipherVersion) {
      EXPECT_EQ(cipherVersion, kSealedCipherVersion);
      return std::optional(password);
    });
  }

  testing::ScratchFolder dir_;
  std::vector<SlideSource> slides_;
  int counter_ = 0;
};

ShowHeader HeaderAt(const Bytes& bytes, std::size_t at) {
  return ShowHeader::Parse(std::span<const std::uint8_t, kHeaderSize>(bytes.data() + at, 155));
}

TEST_F(SealedShowTest, EachPartIsSealedWhereItsEntrySaysAndReadsBack) {
  Save();
  const Bytes first = ReadBytes(doc());
  ASSERT_EQ(first.size(), kPayloadSize + 156);
  const ShowHeader header = HeaderAt(first, kHeaderAt);
  EXPECT_EQ(header.CipherVersion, 2);
  EXPECT_EQ(header.keyStart, 42);
  const SealedParameters parameters = SealedParameters::Parse(header.PasswordCheck);
  EXPECT_EQ(parameters.limits, cipher::kMinimumKdfLimits);
  EXPECT_TRUE(std::all_of(header.PasswordCheck.begin() + 44, header.PasswordCheck.end(),
                          [](std::uint8_t b) { return b == 0; }));
  // Nothing of the pictures or titles is stored in the clear.
  const Bytes picture = ReadBytes(dir_ / "a");
  EXPECT_EQ(std::search(first.begin(), first.end(), picture.begin(), picture.begin() + 32),
            first.end());

  ShowFile show = ShowFile::Open(doc());
  ASSERT_TRUE(show.Unlock(kPassword));
  const std::vector<SlideEntry>& entries = show.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].PictureSize, 70000);
  EXPECT_EQ(entries[0].PictureOffset, static_cast<std::int32_t>(kTableEnd));
  EXPECT_EQ(entries[1].PictureOffset, static_cast<std::int32_t>(kSecondAt));
  EXPECT_EQ(entries[2].PictureSize, 0);
  EXPECT_EQ(entries[2].PictureOffset, static_cast<std::int32_t>(kThirdAt));
  const DocumentReadResult read = Read();
  EXPECT_EQ(read.options.cipherVersion, kSealedCipherVersion);
  EXPECT_EQ(read.options.kdfLimits, cipher::kMinimumKdfLimits);
  EXPECT_EQ(read.options.delaySeconds, 7);
  ASSERT_EQ(read.slides.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(ReadBytes(read.slides[k].workingFile), ReadBytes(slides_[k].file));
  }

  // Every write draws a new salt and file id, so no nonce is used twice.
  Save();
  const SealedParameters again =
      SealedParameters::Parse(HeaderAt(ReadBytes(doc()), kHeaderAt).PasswordCheck);
  EXPECT_NE(again.salt, parameters.salt);
  EXPECT_NE(again.fileId, parameters.fileId);
}

// What a changed file gives: the entry table does not open (as with a wrong
// password), one picture does not pass its check, or the file is damaged
// before any key is derived.
enum class Outcome { kTableDoesNotOpen, kPictureDamaged, kFileDamaged };

struct Tampering {
  const char* name;
  std::function<void(Bytes&)> change;
  Outcome outcome;
  std::size_t damagedSlide = 0;  // 0-based, for kPictureDamaged
  friend void PrintTo(const Tampering& t, std::ostream* os) { *os << t.name; }
};

std::function<void(Bytes&)> Flip(std::size_t at) {
  return [at](Bytes& bytes) { bytes[at] ^= 0x01; };
}

// Removes length bytes at offset, keeping the trailer.
std::function<void(Bytes&)> Cut(std::size_t at, std::size_t length) {
  return [=](Bytes& bytes) { bytes.erase(bytes.begin() + at, bytes.begin() + at + length); };
}

class SealedShowTampering : public SealedShowTest,
                            public ::testing::WithParamInterface<Tampering> {};

TEST_P(SealedShowTampering, IsRefusedAndNothingDecipheredIsLeft) {
  Save();
  Bytes bytes = ReadBytes(doc());
  GetParam().change(bytes);
  testing::WriteBytes(doc(), bytes);

  ShowFile show = ShowFile::Open(doc());
  switch (GetParam().outcome) {
    case Outcome::kTableDoesNotOpen:
      EXPECT_FALSE(show.Unlock(kPassword));
      EXPECT_EQ(Read().outcome, DocumentReadResult::Outcome::kWrongPassword);
      break;
    case Outcome::kFileDamaged:
      EXPECT_EQ(FailureNumber([&] {
                  if (show.Unlock(kPassword)) show.Entries();
                }),
                62);
      EXPECT_EQ(FailureNumber([&] { Read(); }), 62);
      break;
    case Outcome::kPictureDamaged: {
      ASSERT_TRUE(show.Unlock(kPassword));
      const std::size_t slide = GetParam().damagedSlide;
      EXPECT_EQ(FailureNumber([&] { show.ReadPicture(slide); }), 62);
      EXPECT_EQ(FailureNumber([&] { Read(); }), 62);
      // An extraction stops at the damaged picture and leaves no part of it.
      fs::create_directories(dir_ / "out");
      EXPECT_EQ(FailureNumber([&] {
                  ExtractPictures(show, dir_ / "out",
                                  [](const std::string&) { return OverwriteAnswer::kReplace; });
                }),
                62);
      for (const fs::directory_entry& file : fs::directory_iterator(dir_ / "out")) {
        EXPECT_EQ(ReadBytes(file.path()), ReadBytes(dir_ / file.path().filename())) << file.path();
      }
      EXPECT_FALSE(fs::exists(dir_ / "out" / slides_[slide].title));
      // Nor does a show built from it come to be.
      EXPECT_EQ(FailureNumber([&] {
                  BuildSelfRunningShowFile(dir_ / "built.exe", SlideSourcesOf(show),
                                           OptionsFromHeader(show.header()), {kPassword, 42}, {});
                }),
                62);
      EXPECT_FALSE(fs::exists(dir_ / "built.exe"));
      break;
    }
  }
  EXPECT_TRUE(fs::is_empty(work()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SealedShowTampering,
    ::testing::Values(
        Tampering{"EntryTable", Flip(10), Outcome::kTableDoesNotOpen},
        Tampering{"Delay", Flip(kHeaderAt + 6), Outcome::kTableDoesNotOpen},
        Tampering{"FileId", Flip(kHeaderAt + 20 + 28), Outcome::kTableDoesNotOpen},
        Tampering{"FirstChunk", Flip(kTableEnd + 5), Outcome::kPictureDamaged, 0},
        Tampering{"SecondPicture", Flip(kSecondAt + 65552 + 3), Outcome::kPictureDamaged, 1},
        Tampering{"EmptyPictureTag", Flip(kThirdAt), Outcome::kPictureDamaged, 2},
        Tampering{"PicturesSwapped",
                  [](Bytes& bytes) {
                    std::swap_ranges(bytes.begin() + kTableEnd, bytes.begin() + kSecondAt,
                                     bytes.begin() + kSecondAt);
                  },
                  Outcome::kPictureDamaged, 0},
        Tampering{"LastPictureCut", Cut(kThirdAt, 16), Outcome::kFileDamaged},
        Tampering{"CutInTheEntryTable", Cut(100, kPayloadSize - 100), Outcome::kFileDamaged}),
    [](const ::testing::TestParamInfo<Tampering>& info) { return info.param.name; });

// A picture of several pieces is sealed and opened on all the machine's
// cores: the file still holds its chunks in order, each sealed on its own as
// the format says, and one chunk that does not open, early, in the middle or
// at the very end, fails the whole picture and leaves nothing.
class LargeSealedPicture : public SealedShowTest,
                           public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LargeSealedPicture, IsItsChunksInOrderAndFailsWhole) {
  constexpr std::size_t kLarge = 2 * kPayloadPieceSize + 3 * kSealedChunkSize + 5;
  slides_ = {{"large", Picture("large", kLarge, 4)}, {"small", Picture("small", 10, 5)}};
  Save();
  Bytes bytes = ReadBytes(doc());
  const Bytes plain = ReadBytes(dir_ / "large");
  ShowFile show = ShowFile::Open(doc());
  ASSERT_TRUE(show.Unlock(kPassword));
  EXPECT_EQ(show.ReadPicture(0), plain);

  const PayloadSeal seal(show.header(), kPassword);
  const auto chunks = static_cast<std::uint32_t>(SealedChunkCount(kLarge));
  std::size_t at = kEntrySize * 2 + cipher::kTagLength;
  std::size_t damagedAt = 0;
  for (std::uint32_t c = 0; c < chunks; ++c) {
    const std::size_t n = std::min(kLarge - c * kSealedChunkSize, kSealedChunkSize);
    Bytes expected(n + cipher::kTagLength);
    seal.Seal({1, c, c + 1 == chunks}, std::span(plain).subspan(c * kSealedChunkSize, n), expected);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + at)) << c;
    if (c == GetParam()) damagedAt = at + n / 2;
    at += expected.size();
  }

  bytes[damagedAt] ^= 0x01;
  testing::WriteBytes(doc(), bytes);
  ShowFile damaged = ShowFile::Open(doc());
  ASSERT_TRUE(damaged.Unlock(kPassword));
  EXPECT_EQ(FailureNumber([&] { damaged.ReadPicture(0); }), 62);
  EXPECT_EQ(damaged.ReadPicture(1), ReadBytes(dir_ / "small"));
  EXPECT_EQ(FailureNumber([&] { Read(); }), 62);
  EXPECT_TRUE(fs::is_empty(work()));
}

INSTANTIATE_TEST_SUITE_P(Chunks, LargeSealedPicture, ::testing::Values(0u, 17u, 35u));

// Limits that no writer uses: refused as a damaged file before the password
// is asked and before any memory is taken for the key derivation (a
// derivation over more than 1 GiB would fail for want of memory or run for
// minutes, not give error 62).
class HostileKdfLimits : public SealedShowTest,
                         public ::testing::WithParamInterface<cipher::KdfLimits> {};

TEST_P(HostileKdfLimits, AreADamagedFile) {
  Save();
  Bytes bytes = ReadBytes(doc());
  ShowHeader header = HeaderAt(bytes, kHeaderAt);
  SealedParameters parameters = SealedParameters::Parse(header.PasswordCheck);
  parameters.limits = GetParam();
  header.PasswordCheck = parameters.Serialize();
  const ShowHeader::Bytes record = header.Serialize();
  std::copy(record.begin(), record.end(), bytes.begin() + kHeaderAt);
  testing::WriteBytes(doc(), bytes);

  bool asked = false;
  try {
    ReadDocument(doc(), work(), counter_, [&](std::int16_t) {
      asked = true;
      return std::optional<std::string>(kPassword);
    });
    ADD_FAILURE() << "read a show with hostile limits";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 62) << f.description();
  }
  EXPECT_FALSE(asked);
  try {
    ShowFile::Open(doc()).Unlock(kPassword);
    ADD_FAILURE() << "unlocked a show with hostile limits";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 62) << f.description();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileKdfLimits,
                         ::testing::Values(cipher::KdfLimits{3, std::uint64_t{768} << 20},
                                           cipher::KdfLimits{11, 8 << 10},
                                           cipher::KdfLimits{1, (std::uint64_t{1} << 30) + 1024},
                                           cipher::KdfLimits{0xFFFFFFFF, ~std::uint64_t{0}},
                                           cipher::KdfLimits{0, 8 << 10},
                                           cipher::KdfLimits{1, 1024}));

// Each single flipped bit of the key derivation's cost in a header as the
// programs write it by default (3 passes over 256 MiB): a memory cost never
// stays one that this product writes, and passes stay within what pivtool
// offers or the file is damaged, before any memory is taken.
TEST(SealedHeaderTest, OneFlippedBitOfTheDefaultCostIsRefusedOrStaysAWrittenOne) {
  ShowOptions options;
  options.usePassword = true;
  options.cipherVersion = kSealedCipherVersion;
  const ShowHeader written = FillHeaderRecord(options, {kPassword, 1}, 1, 0);
  struct Field {
    std::size_t at;
    std::size_t bytes;
    std::vector<std::uint32_t> passesAfterLowBits;  // flips that stay accepted
  };
  for (const Field& field : {Field{16, 4, {2, 1, 7}}, Field{20, 8, {}}}) {
    for (std::size_t bit = 0; bit < field.bytes * 8; ++bit) {
      ShowHeader header = written;
      header.PasswordCheck[field.at + bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
      if (bit < field.passesAfterLowBits.size()) {
        EXPECT_EQ(CheckedSealedParameters(header).limits.passes, field.passesAfterLowBits[bit]);
      } else {
        EXPECT_EQ(FailureNumber([&] { CheckedSealedParameters(header); }), 62)
            << "byte " << field.at << ", bit " << bit;
      }
    }
  }
}

}  // namespace
}  // namespace pivolane::format
