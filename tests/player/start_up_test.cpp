#include "player/start_up.h"

#include <gtest/gtest.h>

#include <utility>

#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/io/file.h"
#include "tests/common/sample_pictures.h"
#include "tests/common/test_support.h"
#include "tests/player/show_builder.h"

namespace pivolane::player {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class ScriptedPrompts : public StartUpPrompts {
 public:
  explicit ScriptedPrompts(std::optional<std::string> answer = std::nullopt)
      : answer_(std::move(answer)) {}
  std::optional<std::string> AskPassword(std::uint8_t language) override {
    ++asked;
    askedLanguage = language;
    return answer_;
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    messages.emplace_back(text, icon);
  }
  void RunShowingWork(const std::function<void()>& work, std::uint8_t) override {
    ++working;
    work();
  }

  int asked = 0;
  int working = 0;
  std::uint8_t askedLanguage = 0xFF;
  std::vector<std::pair<std::string, MessageIcon>> messages;

 private:
  std::optional<std::string> answer_;
};

const Bytes kPlayer(4096, 0x7F);  // stands for the player program

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() {
    WriteBytes(folder_ / "one.jpg", test_pictures::SampleJpeg(40, 30, {200, 10, 10}));
    WriteBytes(folder_ / "two.gif", test_pictures::SampleGif(8, 8, {0, 0, 255}));
  }

  std::filesystem::path Show(std::optional<std::string> password = std::nullopt,
                             std::uint8_t language = 1,
                             std::vector<format::SlideSource> slides = {}) {
    test_shows::ShowContents contents;
    contents.slides = slides.empty()
                          ? std::vector<format::SlideSource>{{"Un", folder_ / "one.jpg"},
                                                             {"Deux", folder_ / "two.gif"}}
                          : std::move(slides);
    contents.options.delaySeconds = 5;
    contents.options.loop = true;
    contents.options.titles = true;
    contents.options.language = language;
    contents.options.cipherVersion = cipherVersion_;
    contents.options.kdfLimits = cipher::kMinimumKdfLimits;
    contents.password = std::move(password);
    const std::filesystem::path path = folder_ / "show.exe";
    test_shows::BuildShow(path, kPlayer, contents);
    return path;
  }

  // Overwrites bytes of the file at offset (from the end when negative).
  static void Patch(const std::filesystem::path& path, std::int64_t offset, const Bytes& bytes) {
    io::File file(path, io::OpenMode::kReadWrite);
    const std::uint64_t at = offset < 0 ? file.Size() - static_cast<std::uint64_t>(-offset)
                                        : static_cast<std::uint64_t>(offset);
    file.WriteAt(at, bytes);
  }
  static constexpr std::int64_t kHeaderAt = -156;  // the record, then one 0x00

  void ExpectInvalid(const std::filesystem::path& path,
                     std::optional<std::string> password = std::nullopt) {
    PlayerState state;
    ScriptedPrompts prompts(std::move(password));
    EXPECT_EQ(PrepareShow(state, path, prompts), StartOutcome::kInvalidFile);
    EXPECT_EQ(prompts.asked, 0);  // refused before any password is asked
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].first, "Invalid file !");
    EXPECT_EQ(prompts.messages[0].second, MessageIcon::kNone);
  }

  ScratchFolder folder_;
  std::int16_t cipherVersion_ = format::kXorCipherVersion;
};

// The password gate is the same for both ciphers; only the strong one's key
// derivation runs while the player shows that it is working.
class PasswordGateTest : public StartUpTest, public ::testing::WithParamInterface<std::int16_t> {
 protected:
  PasswordGateTest() { cipherVersion_ = GetParam(); }
  int ExpectedWorking() const { return GetParam() == format::kSealedCipherVersion ? 1 : 0; }
};

TEST_F(StartUpTest, AShowWithoutPasswordStartsWithItsSettings) {
  PlayerState state;
  ScriptedPrompts prompts;
  ASSERT_EQ(PrepareShow(state, Show(std::nullopt, 0), prompts), StartOutcome::kPlay);
  EXPECT_EQ(prompts.asked, 0);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(state.SlideCount, 2);
  EXPECT_TRUE(state.LoopOn);
  EXPECT_TRUE(state.TitlesOn);
  EXPECT_FALSE(state.RandomOn);
  EXPECT_FALSE(state.HasPassword);
  EXPECT_EQ(state.Language, 0);
  EXPECT_EQ(state.timerIntervalMs, 5000);

  const SlideData two = ExtractSlide(*state.show, 2);
  EXPECT_EQ(two.picture, ReadBytes(folder_ / "two.gif"));
  EXPECT_EQ(two.entry.TrimmedTitle(), "Deux");
  const SlideData one = ExtractSlide(*state.show, 1);
  EXPECT_EQ(one.picture, ReadBytes(folder_ / "one.jpg"));
  EXPECT_EQ(one.entry.TrimmedTitle(), "Un");
}

TEST_P(PasswordGateTest, OnePasswordAttemptOpensOrEndsTheShow) {
  {
    PlayerState state;
    ScriptedPrompts prompts("Sésame");
    ASSERT_EQ(PrepareShow(state, Show("Sésame", 0), prompts), StartOutcome::kPlay);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(prompts.askedLanguage, 0);
    EXPECT_EQ(prompts.working, ExpectedWorking());
    EXPECT_TRUE(state.HasPassword);
    EXPECT_EQ(ExtractSlide(*state.show, 1).picture, ReadBytes(folder_ / "one.jpg"));  // deciphered
    EXPECT_EQ(ExtractSlide(*state.show, 2).picture, ReadBytes(folder_ / "two.gif"));
  }
  for (const auto& [language, text] :
       {std::pair<std::uint8_t, const char*>{0, "Mauvais mot de passe !"},
        {1, "Wrong password !"}}) {
    for (const char* typed : {"sésame", "Sesame", "密码"}) {
      PlayerState state;
      ScriptedPrompts prompts(typed);
      EXPECT_EQ(PrepareShow(state, Show("Sésame", language), prompts),
                StartOutcome::kWrongPassword);
      ASSERT_EQ(prompts.messages.size(), 1u);
      EXPECT_EQ(prompts.messages[0].first, text);
      EXPECT_EQ(prompts.messages[0].second, MessageIcon::kCritical);
    }
  }
  PlayerState state;
  ScriptedPrompts cancelled;
  EXPECT_EQ(PrepareShow(state, Show("Sésame"), cancelled), StartOutcome::kCancelled);
  EXPECT_TRUE(cancelled.messages.empty());
  EXPECT_EQ(cancelled.working, 0);
}

INSTANTIATE_TEST_SUITE_P(Ciphers, PasswordGateTest,
                         ::testing::Values(format::kXorCipherVersion,
                                           format::kSealedCipherVersion));

TEST_F(StartUpTest, AStrongPictureThatFailsItsCheckIsNeverHandedOut) {
  cipherVersion_ = format::kSealedCipherVersion;
  const std::filesystem::path show = Show("Sésame");
  // The last byte of the second picture's tag, just before the 0x00 and the
  // trailer.
  const Bytes stored = ReadBytes(show);
  Patch(show, -158, {static_cast<std::uint8_t>(stored[stored.size() - 158] ^ 1)});
  PlayerState state;
  ScriptedPrompts prompts("Sésame");
  ASSERT_EQ(PrepareShow(state, show, prompts), StartOutcome::kPlay);
  EXPECT_EQ(ExtractSlide(*state.show, 1).picture, ReadBytes(folder_ / "one.jpg"));
  const SlideData damaged = ExtractSlide(*state.show, 2);
  EXPECT_TRUE(damaged.picture.empty());
  EXPECT_EQ(damaged.entry.TrimmedTitle(), "Deux");  // the bad picture's caption keeps it
}

TEST_F(StartUpTest, AShowWithoutSlidesStartsWithNothingToShow) {
  PlayerState state;
  ScriptedPrompts prompts;
  test_shows::BuildShow(folder_ / "empty.exe", kPlayer, {});
  ASSERT_EQ(PrepareShow(state, folder_ / "empty.exe", prompts), StartOutcome::kPlay);
  EXPECT_EQ(state.SlideCount, 0);
}

TEST_F(StartUpTest, FilesThatAreNoShowAreInvalid) {
  ExpectInvalid(folder_ / "missing.exe");
  WriteBytes(folder_ / "player-alone", kPlayer);
  ExpectInvalid(folder_ / "player-alone");
  WriteBytes(folder_ / "short", Bytes(10, 0));
  ExpectInvalid(folder_ / "short");
  const std::filesystem::path tag = Show();
  Patch(tag, kHeaderAt, {'p', 'v', 'k'});
  ExpectInvalid(tag);
}

TEST_F(StartUpTest, DamagedOrHostileShowsAreInvalidAndNeverReadOutsideTheFile) {
  const auto le32 = [](std::uint32_t v) {
    return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                 static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  };
  const std::filesystem::path playerPastEnd = Show();
  Patch(playerPastEnd, kHeaderAt + 148, le32(0x7FFFFFF0));
  ExpectInvalid(playerPastEnd);

  const std::filesystem::path negativePlayer = Show();
  Patch(negativePlayer, kHeaderAt + 148, le32(0xFFFFFFF0));
  ExpectInvalid(negativePlayer);

  const std::filesystem::path manySlides = Show();
  Patch(manySlides, kHeaderAt + 10, {0xE8, 0x03});  // 1000 slides, two entries
  ExpectInvalid(manySlides);

  const std::filesystem::path negativeSlides = Show();
  Patch(negativeSlides, kHeaderAt + 10, {0xFF, 0xFF});
  ExpectInvalid(negativeSlides);

  const std::int64_t secondEntry = static_cast<std::int64_t>(kPlayer.size()) + 136;
  const std::filesystem::path pictureOutside = Show();
  Patch(pictureOutside, secondEntry + 132, le32(0x7FFFFF00));
  ExpectInvalid(pictureOutside);

  const std::filesystem::path pictureTooLong = Show();
  Patch(pictureTooLong, secondEntry + 128, le32(0x00100000));
  ExpectInvalid(pictureTooLong);

  const std::filesystem::path pictureInTable = Show();
  Patch(pictureInTable, secondEntry + 132, le32(0));
  ExpectInvalid(pictureInTable);

  // A newer cipher scheme cannot be read: the password is not even asked.
  const std::filesystem::path newerCipher = Show("Sésame");
  Patch(newerCipher, kHeaderAt + 153, {3, 0});
  ExpectInvalid(newerCipher, "Sésame");
}

}  // namespace
}  // namespace pivolane::player
