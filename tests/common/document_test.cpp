#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/payload_layout.h"
#include "common/io/file.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

using testing::Bytes;
using testing::FailureNumber;
using testing::ReadBytes;

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(work()); }

  fs::path work() const { return dir_ / "work"; }
  fs::path doc() const { return dir_ / "show.pvl"; }

  fs::path Picture(const std::string& name, std::size_t size, unsigned tag) {
    const fs::path path = dir_ / name;
    testing::WriteBytes(path, testing::PatternBytes(size, tag));
    return path;
  }

  void Save(const std::vector<SlideSource>& slides, const ShowOptions& options = {},
            const cipher::CryptageXor& cipherState = {"", 42}) {
    SaveDocumentFile(doc(), slides, options, cipherState, 69632);
  }

  DocumentReadResult Read(std::optional<std::string> password = std::nullopt) {
    return ReadDocument(doc(), work(), slideCounter_, [&](std::int16_t) { return password; });
  }

  testing::ScratchFolder dir_;
  int slideCounter_ = 0;
};

TEST_F(DocumentTest, OneSlideWithoutPasswordHasTheExactLayout) {
  Save({{"plage.jpg", Picture("p.jpg", 1000, 1)}});
  const Bytes bytes = ReadBytes(doc());
  ASSERT_EQ(bytes.size(), 1292u);
  const SlideEntry entry = SlideEntry::Parse(std::span<const std::uint8_t, 136>(bytes.data(), 136));
  EXPECT_EQ(entry.PictureSize, 1000);
  EXPECT_EQ(entry.PictureOffset, 136);
  EXPECT_EQ(entry.TrimmedTitle(), "plage.jpg");
  EXPECT_TRUE(
      std::equal(bytes.begin() + 136, bytes.begin() + 1136, ReadBytes(dir_ / "p.jpg").begin()));
  const ShowHeader header =
      ShowHeader::Parse(std::span<const std::uint8_t, 155>(bytes.data() + 1136, 155));
  EXPECT_EQ(std::string(header.VersionTag.begin(), header.VersionTag.end()), "pvl100");
  EXPECT_EQ(header.SlideCount, 1);
  EXPECT_EQ(header.DelaySeconds, 3);
  EXPECT_EQ(header.keyStart, 42);  // written with or without a password
  EXPECT_EQ(header.PlayerSize, 69632);
  EXPECT_EQ(header.CipherVersion, 0);
  EXPECT_FALSE(header.HasPassword());  // 128 zero bytes, not spaces
  EXPECT_EQ(bytes.back(), 0);
}

TEST_F(DocumentTest, TwoSlidesOf10And20BytesSitAt272And282) {
  Save({{"a", Picture("a", 10, 1)}, {"b", Picture("b", 20, 2)}});
  const Bytes bytes = ReadBytes(doc());
  const auto entry = [&](int k) {
    return SlideEntry::Parse(std::span<const std::uint8_t, 136>(bytes.data() + 136 * k, 136));
  };
  EXPECT_EQ(entry(0).PictureOffset, 272);
  EXPECT_EQ(entry(1).PictureOffset, 282);
  EXPECT_EQ(bytes.size(), 272u + 30u + 156u);
}

TEST_F(DocumentTest, WithPasswordThePayloadIsEncipheredAndTheTrailerPlain) {
  ShowOptions options;
  options.usePassword = true;
  const cipher::CryptageXor state{"secret", 200};
  Save({{"a", Picture("a", 500, 1)}}, options, state);
  Bytes bytes = ReadBytes(doc());
  const ShowHeader header =
      ShowHeader::Parse(std::span<const std::uint8_t, 155>(bytes.data() + bytes.size() - 156, 155));
  EXPECT_EQ(header.CipherVersion, 1);
  EXPECT_EQ(header.PasswordCheck, cipher::PasswordCheckValue("secret", 200));
  Bytes payload(bytes.begin(), bytes.end() - 156);
  cipher::ApplyKeyStream(cipher::BuildKeyStream("secret"), 200, payload);
  EXPECT_EQ(Bytes(payload.begin() + 136, payload.end()), ReadBytes(dir_ / "a"));
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 1), "a");
}

TEST_F(DocumentTest, RoundTripKeepsTitlesOrderOptionsAndPictures) {
  ShowOptions options;
  options.delaySeconds = 7;
  options.loop = true;
  options.titles = true;
  options.usePassword = true;
  options.language = 0;
  const std::string longTitle(130, 'L');
  Save({{"Plage d'\xC3\xA9t\xC3\xA9.jpg", Picture("1", 3000, 1)},
        {longTitle, Picture("2", 1, 2)},
        {"spaces   ", Picture("3", 0, 3)}},
       options, {"mot de passe", 17});

  const DocumentReadResult read = Read("mot de passe");
  ASSERT_EQ(read.outcome, DocumentReadResult::Outcome::kOpened);
  EXPECT_TRUE(read.passwordEntered);
  EXPECT_EQ(read.options.delaySeconds, 7);
  EXPECT_TRUE(read.options.loop);
  EXPECT_FALSE(read.options.random);
  EXPECT_TRUE(read.options.titles);
  EXPECT_TRUE(read.options.usePassword);
  EXPECT_EQ(read.options.language, 0);
  EXPECT_EQ(read.header.keyStart, 17);
  ASSERT_EQ(read.slides.size(), 3u);
  EXPECT_EQ(read.slides[0].title, "Plage d'\xC3\xA9t\xC3\xA9.jpg");
  EXPECT_EQ(read.slides[1].title, std::string(128, 'L'));
  EXPECT_EQ(read.slides[2].title, "spaces");
  EXPECT_EQ(read.slides[0].workingFile, work() / "PivolaneImg1.tmp");
  EXPECT_EQ(ReadBytes(read.slides[0].workingFile), ReadBytes(dir_ / "1"));
  EXPECT_EQ(ReadBytes(read.slides[1].workingFile), ReadBytes(dir_ / "2"));
  EXPECT_TRUE(ReadBytes(read.slides[2].workingFile).empty());
  EXPECT_EQ(fs::status(read.slides[0].workingFile).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(slideCounter_, 3);
}

TEST_F(DocumentTest, TitlesWithoutACodePageCodeAreStoredWithQuestionMarks) {
  Save({{"\xE6\x97\xA5 photo", Picture("1", 5, 1)}});
  EXPECT_EQ(Read().slides[0].title, "? photo");
}

TEST_F(DocumentTest, WrongMissingOrOverlongPasswordsAreAnOutcomeNotAFailure) {
  ShowOptions options;
  options.usePassword = true;
  Save({{"a", Picture("a", 10, 1)}}, options, {"right", 5});
  for (const std::optional<std::string>& typed :
       {std::optional<std::string>("wrong"), std::optional<std::string>(""),
        std::optional<std::string>(std::nullopt),
        std::optional<std::string>(std::string(129, 'r'))}) {
    const DocumentReadResult read = Read(typed);
    EXPECT_EQ(read.outcome, DocumentReadResult::Outcome::kWrongPassword);
    EXPECT_TRUE(read.slides.empty());
  }
  EXPECT_FALSE(fs::exists(work() / "PivolaneImg1.tmp"));
  EXPECT_EQ(slideCounter_, 0);
}

TEST_F(DocumentTest, AnotherVersionTagIsReadNormally) {
  Save({{"a", Picture("a", 10, 1)}});
  io::File file(doc(), io::OpenMode::kReadWrite);
  const std::uint8_t newer[] = {'p', 'v', 'l', '9', '9', '9'};
  file.WriteAt(file.Size() - 156, newer);
  file.Close();
  EXPECT_EQ(Read().slides.size(), 1u);
}

TEST_F(DocumentTest, UnknownCipherVersionIsRefusedWith102BeforeAnyPrompt) {
  ShowOptions options;
  options.usePassword = true;
  Save({{"a", Picture("a", 10, 1)}}, options, {"pw", 5});
  io::File file(doc(), io::OpenMode::kReadWrite);
  const std::uint8_t three[] = {3, 0};
  file.WriteAt(file.Size() - 156 + 153, three);
  file.Close();
  bool asked = false;
  try {
    ReadDocument(doc(), work(), slideCounter_, [&](std::int16_t) {
      asked = true;
      return std::optional<std::string>("pw");
    });
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 102);
  }
  EXPECT_FALSE(asked);
}

TEST_F(DocumentTest, ShortOrUntaggedFilesAreInvalid) {
  testing::WriteBytes(doc(), testing::PatternBytes(100, 9));
  EXPECT_EQ(FailureNumber([&] { Read(); }), 136);
  testing::WriteBytes(doc(), Bytes(400, 'x'));
  EXPECT_EQ(FailureNumber([&] { Read(); }), 136);
  EXPECT_EQ(FailureNumber([&] { ReadDocument(dir_ / "none.pvl", work(), slideCounter_, {}); }), 53);
}

TEST_F(DocumentTest, ExistingWorkingFileNumbersAreSkipped) {
  Save({{"a", Picture("a", 10, 1)}});
  testing::WriteText(work() / "PivolaneImg1.tmp", "busy");
  testing::WriteText(work() / "PivolaneImg2.tmp", "busy");
  EXPECT_EQ(Read().slides[0].workingFile, work() / "PivolaneImg3.tmp");
  EXPECT_EQ(slideCounter_, 3);
}

TEST_F(DocumentTest, ResavingReplacesTheDocumentAndWipesNothingElse) {
  Save({{"a", Picture("a", 10, 1)}});
  Save({{"b", Picture("b", 20, 2)}, {"c", Picture("c", 30, 3)}});
  EXPECT_EQ(Read().slides.size(), 2u);
  // Nothing but the document is left beside it.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir_.path())) names.push_back(e.path().filename());
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.ends_with(".part"); }),
            0);
}

TEST_F(DocumentTest, ASaveThatFailsHalfWayLeavesTheOldDocumentUntouched) {
  Save({{"a", Picture("a", 10, 1)}});
  const Bytes before = ReadBytes(doc());
  const fs::path big = Picture("big", 3 * io::kChunkSize, 4);
  // Plain, and sealed, whose pieces are written on another thread.
  ShowOptions sealed;
  sealed.usePassword = true;
  sealed.cipherVersion = kSealedCipherVersion;
  sealed.kdfLimits = cipher::kMinimumKdfLimits;
  for (const ShowOptions& options : {ShowOptions{}, sealed}) {
    // Failing in the entries, in a picture, and at the trailer (sealed: in
    // the last piece).
    for (const std::uint64_t budget :
         std::vector<std::uint64_t>{0, 100, io::kChunkSize + 500, 3 * io::kChunkSize + 136 + 10}) {
      io::testing::SetWriteBudget(budget);
      EXPECT_EQ(FailureNumber([&] { Save({{"big", big}}, options, {"secret", 9}); }), 61) << budget;
      io::testing::SetWriteBudget(std::nullopt);
      EXPECT_EQ(ReadBytes(doc()), before) << budget;
      for (const auto& e : fs::directory_iterator(dir_.path())) {
        EXPECT_FALSE(e.path().filename().string().ends_with(".part")) << e.path();
      }
    }
  }
}

TEST_F(DocumentTest, AMissingFolderIsReportedAsPathNotFound) {
  EXPECT_EQ(
      FailureNumber([&] {
        SaveDocumentFile(dir_ / "gone" / "x.pvl", {{"a", Picture("a", 1, 1)}}, {}, {"", 1}, 0);
      }),
      76);
}

TEST_F(DocumentTest, ShowsTooLargeForTheFormatAreRefusedBeforeWriting) {
  const fs::path tiny = Picture("t", 1, 1);
  const std::vector<SlideSource> many(32768, SlideSource{"t", tiny});
  EXPECT_EQ(FailureNumber([&] { Save(many); }), 6);
  EXPECT_FALSE(fs::exists(doc()));
  // 32767 slides still fit.
  EXPECT_EQ(CheckPayloadFits(std::span(many).first(32767)), 32767u * 137u);

  // A payload past the 32-bit offsets (a sparse file keeps this cheap).
  const fs::path huge = dir_ / "huge";
  testing::WriteBytes(huge, {});
  fs::resize_file(huge, std::uint64_t{1} << 31);
  EXPECT_EQ(FailureNumber([&] { Save({{"huge", huge}}); }), 6);
  EXPECT_FALSE(fs::exists(doc()));
}

TEST_F(DocumentTest, PasswordOptionWithoutPasswordFailsBeforeWriting) {
  ShowOptions options;
  options.usePassword = true;
  EXPECT_EQ(FailureNumber([&] { Save({{"a", Picture("a", 1, 1)}}, options, {"", 3}); }), 5);
  EXPECT_FALSE(fs::exists(doc()));
}

}  // namespace
}  // namespace pivolane::format
