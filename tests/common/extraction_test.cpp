#include <gtest/gtest.h>

#include "common/format/document.h"
#include "common/format/extraction.h"
#include "common/format/self_running.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

TEST(SafeFileNameForTitle, TitlesNeverBecomePaths) {
  EXPECT_EQ(SafeFileNameForTitle("plage.jpg", 1), "plage.jpg");
  EXPECT_EQ(SafeFileNameForTitle("../../etc/passwd", 2), ".._.._etc_passwd");
  EXPECT_EQ(SafeFileNameForTitle("/abs", 3), "_abs");
  EXPECT_EQ(SafeFileNameForTitle(std::string("a\0b", 3), 4), "a_b");
  EXPECT_EQ(SafeFileNameForTitle("", 5), "slide5");
  EXPECT_EQ(SafeFileNameForTitle(".", 6), "slide6");
  EXPECT_EQ(SafeFileNameForTitle("..", 7), "slide7");
  EXPECT_EQ(SafeFileNameForTitle("...", 8), "...");
}

class ExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_ / "out"); }
  fs::path Picture(const std::string& name, std::size_t size, unsigned tag) {
    testing::WriteBytes(dir_ / name, testing::PatternBytes(size, tag));
    return dir_ / name;
  }
  testing::ScratchFolder dir_;
};

TEST_F(ExtractionTest, HostileTitlesStayInsideTheChosenFolder) {
  SaveDocumentFile(
      dir_ / "s.pvl",
      {{"../escape", Picture("1", 5, 1)}, {"", Picture("2", 6, 2)}, {"..", Picture("3", 7, 3)}}, {},
      {"", 1}, 0);
  ShowFile show = ShowFile::Open(dir_ / "s.pvl");
  const ExtractionResult result = ExtractPictures(
      show, dir_ / "out", [](const std::string&) { return OverwriteAnswer::kStop; });
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.written, 3);
  EXPECT_EQ(testing::ReadBytes(dir_ / "out" / ".._escape"), testing::ReadBytes(dir_ / "1"));
  EXPECT_EQ(testing::ReadBytes(dir_ / "out" / "slide2"), testing::ReadBytes(dir_ / "2"));
  EXPECT_EQ(testing::ReadBytes(dir_ / "out" / "slide3"), testing::ReadBytes(dir_ / "3"));
  EXPECT_FALSE(fs::exists(dir_ / "escape"));
}

TEST_F(ExtractionTest, DuplicateTitlesAskAndTheAnswerDecides) {
  cipher::CryptageXor state{"pw", 9};
  ShowOptions options;
  options.usePassword = true;
  SaveDocumentFile(
      dir_ / "s.pvl",
      {{"same", Picture("1", 5, 1)}, {"same", Picture("2", 6, 2)}, {"other", Picture("3", 7, 3)}},
      options, state, 0);
  for (const OverwriteAnswer answer :
       {OverwriteAnswer::kSkip, OverwriteAnswer::kReplace, OverwriteAnswer::kStop}) {
    fs::remove_all(dir_ / "out");
    fs::create_directories(dir_ / "out");
    ShowFile show = ShowFile::Open(dir_ / "s.pvl");
    ASSERT_TRUE(show.Unlock("pw"));
    std::vector<std::string> asked;
    const ExtractionResult result =
        ExtractPictures(show, dir_ / "out", [&](const std::string& name) {
          asked.push_back(name);
          return answer;
        });
    EXPECT_EQ(asked, std::vector<std::string>{"same"});
    const unsigned expectedTag = answer == OverwriteAnswer::kReplace ? 2 : 1;
    EXPECT_EQ(testing::ReadBytes(dir_ / "out" / "same"),
              testing::ReadBytes(dir_ / std::to_string(expectedTag)));
    EXPECT_EQ(result.completed, answer != OverwriteAnswer::kStop);
    EXPECT_EQ(fs::exists(dir_ / "out" / "other"), answer != OverwriteAnswer::kStop);
  }
}

// The three writers of user files, each replacing target.
struct Writer {
  const char* name;
  void (*write)(const fs::path& target, const std::vector<SlideSource>& slides);
};

void PrintTo(const Writer& w, std::ostream* out) {
  *out << w.name;
}

class ReplacingWriterTest : public ExtractionTest, public ::testing::WithParamInterface<Writer> {};

TEST_P(ReplacingWriterTest, AnotherNameOfTheReplacedFileKeepsItsBytes) {
  testing::WriteText(dir_ / "out" / "target", "precious backup");
  fs::create_hard_link(dir_ / "out" / "target", dir_ / "backup");
  GetParam().write(dir_ / "out" / "target", {{"target", Picture("1", 50, 1)}});
  EXPECT_EQ(
      testing::ReadBytes(dir_ / "backup"),
      testing::Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's', ' ', 'b', 'a', 'c', 'k', 'u', 'p'}));
  EXPECT_NE(testing::ReadBytes(dir_ / "out" / "target"), testing::ReadBytes(dir_ / "backup"));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ReplacingWriterTest,
    ::testing::Values(
        Writer{"Save",
               [](const fs::path& target, const std::vector<SlideSource>& slides) {
                 SaveDocumentFile(target, slides, {}, {"", 1}, 0);
               }},
        Writer{"Build",
               [](const fs::path& target, const std::vector<SlideSource>& slides) {
                 BuildSelfRunningShowFile(target, slides, {}, {"", 1}, testing::Bytes(64, 1));
               }},
        Writer{"Extract",
               [](const fs::path& target, const std::vector<SlideSource>& slides) {
                 const fs::path show = target.parent_path().parent_path() / "s.pvl";
                 SaveDocumentFile(show, slides, {}, {"", 1}, 0);
                 ShowFile opened = ShowFile::Open(show);
                 ExtractPictures(opened, target.parent_path(),
                                 [](const std::string&) { return OverwriteAnswer::kReplace; });
               }}),
    [](const ::testing::TestParamInfo<Writer>& info) { return info.param.name; });

}  // namespace
}  // namespace pivolane::format
