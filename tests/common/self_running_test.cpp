#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/self_running.h"
#include "common/format/show_file.h"
#include "common/platform/platform.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

using testing::Bytes;
using testing::ReadBytes;

TEST(WithExeExtension, AppendsUnlessTheNameEndsInExeInAnyCase) {
  EXPECT_EQ(WithExeExtension("Pivolane1"), "Pivolane1.exe");
  EXPECT_EQ(WithExeExtension("show.exe"), "show.exe");
  EXPECT_EQ(WithExeExtension("SHOW.ExE"), "SHOW.ExE");
  EXPECT_EQ(WithExeExtension("a.ex"), "a.ex.exe");
  EXPECT_EQ(WithExeExtension("exe"), "exe.exe");
  EXPECT_EQ(WithExeExtension(".exe"), ".exe");
}

class SelfRunningTest : public ::testing::Test {
 protected:
  SelfRunningTest() : player_(testing::PatternBytes(5000, 7)) {
    player_[0] = 0x7F;
    player_[1] = 'E';
    player_[2] = 'L';
    player_[3] = 'F';
    testing::WriteBytes(dir_ / "a.jpg", testing::PatternBytes(300, 1));
    testing::WriteBytes(dir_ / "b.gif", testing::PatternBytes(40, 2));
    slides_ = {{"a.jpg", dir_ / "a.jpg"}, {"b.gif", dir_ / "b.gif"}};
  }
  fs::path Show() const { return dir_ / "show.exe"; }

  testing::ScratchFolder dir_;
  Bytes player_;
  std::vector<SlideSource> slides_;
};

TEST_F(SelfRunningTest, PlayerPayloadZeroByteAndTrailerInThatOrder) {
  BuildSelfRunningShowFile(Show(), slides_, {}, {"", 33}, player_);
  const Bytes bytes = ReadBytes(Show());
  const std::size_t payload = 2 * 136 + 300 + 40;
  ASSERT_EQ(bytes.size(), player_.size() + payload + 157);
  EXPECT_TRUE(std::equal(player_.begin(), player_.end(), bytes.begin()));
  EXPECT_EQ(bytes[player_.size() + payload], 0);
  EXPECT_EQ(bytes.back(), 0);
  const ShowHeader header =
      ShowHeader::Parse(std::span<const std::uint8_t, 155>(bytes.data() + bytes.size() - 156, 155));
  EXPECT_EQ(header.PlayerSize, 5000);
  EXPECT_EQ(header.CipherVersion, 0);
  EXPECT_FALSE(header.HasPassword());
  // The payload is the one a document holds.
  const SlideEntry first =
      SlideEntry::Parse(std::span<const std::uint8_t, 136>(bytes.data() + 5000, 136));
  EXPECT_EQ(first.PictureOffset, 272);
  EXPECT_EQ(first.TrimmedTitle(), "a.jpg");

  struct stat st {};
  ASSERT_EQ(::stat(Show().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0111, 0111u & ~platform::CurrentUmask());
  EXPECT_NE(st.st_mode & 0100, 0u);
}

TEST_F(SelfRunningTest, WithAPasswordOnlyThePayloadIsEnciphered) {
  ShowOptions options;
  options.usePassword = true;
  BuildSelfRunningShowFile(Show(), slides_, options, {"secret", 250}, player_);
  const Bytes bytes = ReadBytes(Show());
  EXPECT_TRUE(std::equal(player_.begin(), player_.end(), bytes.begin()));
  const std::size_t payloadEnd = bytes.size() - 157;
  Bytes payload(bytes.begin() + 5000, bytes.begin() + static_cast<std::ptrdiff_t>(payloadEnd));
  EXPECT_NE(std::string(payload.begin(), payload.begin() + 5), "a.jpg");
  cipher::ApplyKeyStream(cipher::BuildKeyStream("secret"), 250, payload);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 5), "a.jpg");
  EXPECT_EQ(bytes[payloadEnd], 0);
  const ShowHeader header =
      ShowHeader::Parse(std::span<const std::uint8_t, 155>(bytes.data() + bytes.size() - 156, 155));
  EXPECT_EQ(header.CipherVersion, 1);
  EXPECT_EQ(header.PasswordCheck, cipher::PasswordCheckValue("secret", 250));

  ShowFile show = ShowFile::Open(Show());
  EXPECT_EQ(show.kind(), ShowFileKind::kSelfRunning);
  EXPECT_FALSE(show.Unlock("Secret"));
  ASSERT_TRUE(show.Unlock("secret"));
  const std::vector<std::uint8_t> second = show.ReadPicture(1);
  EXPECT_EQ(Bytes(second.begin(), second.end()), ReadBytes(dir_ / "b.gif"));
}

TEST_F(SelfRunningTest, ADocumentThatBeginsAsAProgramIsReadAsADocument) {
  // Its first title begins with the ELF bytes, the player size it stores fits
  // inside it and its last byte is the 0x00 that follows a program's payload:
  // only the slide entries tell the layouts apart.
  Bytes picture = testing::PatternBytes(300, 3);
  picture.back() = 0;
  testing::WriteBytes(dir_ / "c.jpg", picture);
  SaveDocumentFile(dir_ / "doc.pvl",
                   {{"\x7F"
                     "ELF title",
                     dir_ / "c.jpg"}},
                   {}, {"", 1}, 10);
  ShowFile document = ShowFile::Open(dir_ / "doc.pvl");
  EXPECT_EQ(document.kind(), ShowFileKind::kDocument);
  const std::vector<std::uint8_t> read = document.ReadPicture(0);
  EXPECT_EQ(Bytes(read.begin(), read.end()), picture);
  BuildSelfRunningShowFile(Show(), slides_, {}, {"", 3}, player_);
  EXPECT_EQ(ShowFile::Open(Show()).kind(), ShowFileKind::kSelfRunning);
}

TEST_F(SelfRunningTest, AFailedBuildLeavesTheFormerShowAndNoScratchFile) {
  BuildSelfRunningShowFile(Show(), slides_, {}, {"", 3}, player_);
  const Bytes before = ReadBytes(Show());
  io::testing::SetWriteBudget(5100);  // runs out inside the payload
  EXPECT_THROW(BuildSelfRunningShowFile(Show(), {{"b", dir_ / "b.gif"}}, {}, {"", 3}, player_),
               Failure);
  io::testing::SetWriteBudget(std::nullopt);
  EXPECT_EQ(ReadBytes(Show()), before);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 3u);  // the two pictures and the show
}

}  // namespace
}  // namespace pivolane::format
