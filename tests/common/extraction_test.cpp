#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/extraction.h"
#include "common/format/self_running.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

TEST(SafeFileNameForTitle, TitlesNeverBecomePathsHiddenFilesOrOverlongNames) {
  EXPECT_EQ(SafeFileNameForTitle("plage.jpg", 1), "plage.jpg");
  EXPECT_EQ(SafeFileNameForTitle("../../etc/passwd", 2), "_._.._etc_passwd");
  EXPECT_EQ(SafeFileNameForTitle("/abs", 3), "_abs");
  EXPECT_EQ(SafeFileNameForTitle(std::string("a\0b", 3), 4), "a_b");
  EXPECT_EQ(SafeFileNameForTitle("two\nlines\t\x1B[2J\x7F\xC2\x9B\xC3\xA9", 4),
            "two_lines__[2J__\xC3\xA9");
  EXPECT_EQ(SafeFileNameForTitle("", 5), "slide5");
  EXPECT_EQ(SafeFileNameForTitle(".", 6), "slide6");
  EXPECT_EQ(SafeFileNameForTitle("..", 7), "slide7");
  EXPECT_EQ(SafeFileNameForTitle("...", 8), "_..");
  EXPECT_EQ(SafeFileNameForTitle(".bashrc", 9), "_bashrc");
  // 128 characters of two and three bytes: cut to 255 bytes, never inside one.
  std::string e;
  std::string euro;
  for (int i = 0; i < 128; ++i) {
    e += "\xC3\xA9";
    euro += "\xE2\x82\xAC";
  }
  EXPECT_EQ(SafeFileNameForTitle(e, 10), e.substr(0, 254));
  EXPECT_EQ(SafeFileNameForTitle(euro, 11), euro.substr(0, 255));
  EXPECT_EQ(SafeFileNameForTitle("a" + euro, 12), "a" + euro.substr(0, 252));
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
  std::string longest;  // 128 characters, 256 bytes in UTF-8
  for (int i = 0; i < 128; ++i) longest += "\xC3\xA9";
  SaveDocumentFile(dir_ / "s.pvl",
                   {{"../escape", Picture("1", 5, 1)},
                    {"", Picture("2", 6, 2)},
                    {"..", Picture("3", 7, 3)},
                    {longest, Picture("4", 8, 4)}},
                   {}, {"", 1}, 0);
  ShowFile show = ShowFile::Open(dir_ / "s.pvl");
  const ExtractionResult result = ExtractPictures(
      show, dir_ / "out", [](const std::string&) { return OverwriteAnswer::kStop; });
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.written, 4);
  EXPECT_EQ(testing::ReadBytes(dir_ / "out" / longest.substr(0, 254)),
            testing::ReadBytes(dir_ / "4"));
  EXPECT_EQ(testing::ReadBytes(dir_ / "out" / "_._escape"), testing::ReadBytes(dir_ / "1"));
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

TEST_F(ExtractionTest, APictureThatWouldReplaceTheShowItselfIsRefusedBeforeAnything) {
  fs::create_symlink("s.pvl", dir_ / "link.pvl");
  for (const char* name : {"s.pvl", "link.pvl", "hard.pvl"}) {
    fs::remove(dir_ / "hard.pvl");
    SaveDocumentFile(dir_ / "s.pvl", {{"first", Picture("1", 5, 1)}, {name, Picture("2", 6, 2)}},
                     {}, {"", 1}, 0);
    fs::create_hard_link(dir_ / "s.pvl", dir_ / "hard.pvl");
    const testing::Bytes before = testing::ReadBytes(dir_ / "s.pvl");
    ShowFile show = ShowFile::Open(dir_ / "s.pvl");
    EXPECT_EQ(NameReplacingTheShow(show, dir_.path()), name);
    try {
      ExtractPictures(show, dir_.path(),
                      [](const std::string&) { return OverwriteAnswer::kReplace; });
      ADD_FAILURE() << name;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), 55);
      EXPECT_NE(f.description().find(name), std::string::npos) << f.description();
    }
    EXPECT_FALSE(fs::exists(dir_ / "first")) << name;
    EXPECT_EQ(testing::ReadBytes(dir_ / "s.pvl"), before);
    EXPECT_FALSE(NameReplacingTheShow(show, dir_ / "out"));
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
