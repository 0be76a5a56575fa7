#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "common/format/show_file.h"
#include "player/carried/carried_player.h"
#include "tests/common/test_support.h"
#include "tools/pivtool/commands.h"
#include "webshow/carried/carried_web_page.h"

namespace pivolane::pivtool {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

class PivtoolTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& words, const std::string& input = "") {
    std::istringstream in(input);
    out_.str("");
    err_.str("");
    return RunPivtool(words, {in, out_, err_});
  }
  fs::path Picture(const std::string& name, std::size_t size, unsigned tag) {
    testing::WriteBytes(dir_ / name, testing::PatternBytes(size, tag));
    return dir_ / name;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  testing::ScratchFolder dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(PivtoolTest, CreateInfoExtractGiveThePicturesBackByteForByte) {
  Picture("plage.jpg", 4000, 1);
  Picture("montagne.gif", 35, 2);
  ASSERT_EQ(Run({"create", Path("show.pvl"), "--delay", "5", "--loop", "--titles", "--key-start",
                 "200", "--language", "fr", "--cipher", "1", "--password-stdin", Path("plage.jpg"),
                 Path("montagne.gif")},
                "s\xC3\xA9same\n"),
            0)
      << err_.str();

  ASSERT_EQ(Run({"info", Path("show.pvl")}), 0) << err_.str();
  const std::string info = out_.str();
  for (const char* line :
       {"kind: document\n", "version tag: pvl100\n", "delay: 5\n", "slides: 2\n",
        "key start: 200\n", "loop: yes\n", "random: no\n", "titles: yes\n", "password: yes\n",
        "language: fr\n", "cipher version: 1\n", "slide list: enciphered"}) {
    EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
  }
  ASSERT_EQ(Run({"info", Path("show.pvl"), "--password-stdin"}, "s\xC3\xA9same\r\n"), 0);
  EXPECT_NE(out_.str().find("slide 1: size 4000, offset 272, title plage.jpg\n"),
            std::string::npos);
  EXPECT_NE(out_.str().find("slide 2: size 35, offset 4272, title montagne.gif\n"),
            std::string::npos);

  fs::create_directories(dir_ / "out");
  ASSERT_EQ(
      Run({"extract", Path("show.pvl"), "--to", Path("out"), "--password-stdin"}, "s\xC3\xA9same"),
      0)
      << err_.str();
  EXPECT_EQ(ReadBytes(dir_ / "out" / "plage.jpg"), ReadBytes(dir_ / "plage.jpg"));
  EXPECT_EQ(ReadBytes(dir_ / "out" / "montagne.gif"), ReadBytes(dir_ / "montagne.gif"));
  EXPECT_EQ(out_.str(), "2 picture(s) extracted from show.pvl into " + Path("out") + "\n");
}

TEST_F(PivtoolTest, WrongOrMissingPasswordsAndBadFilesGiveTheirStatus) {
  Picture("a.jpg", 10, 1);
  ASSERT_EQ(Run({"create", Path("show.pvl"), "--cipher", "1", "--password-stdin", Path("a.jpg")},
                "right\n"),
            0);
  EXPECT_EQ(Run({"extract", Path("show.pvl"), "--password-stdin"}, "wrong\n"), 4);
  EXPECT_EQ(err_.str(), "pivtool: " + Path("show.pvl") + ": wrong password\n");
  EXPECT_EQ(Run({"info", Path("show.pvl"), "--password-stdin"}, "\n"), 4);
  EXPECT_EQ(Run({"extract", Path("show.pvl")}), 2);
  EXPECT_EQ(Run({"info", Path("a.jpg")}), 3);
  EXPECT_EQ(err_.str(), "pivtool: error 136: Invalid file !\n");
  EXPECT_EQ(Run({"info", Path("missing.pvl")}), 5);
  EXPECT_EQ(err_.str(),
            "pivtool: " + Path("missing.pvl") + ": error 53: No such file or directory\n");
  EXPECT_FALSE(fs::exists(dir_ / "a.jpg.extracted"));
}

TEST_F(PivtoolTest, UsageErrors) {
  Picture("a.jpg", 10, 1);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"frobnicate"}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--delay", "256", Path("a.jpg")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--delay", "-1", Path("a.jpg")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--key-start", "0", Path("a.jpg")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--language", "de", Path("a.jpg")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--colour", Path("a.jpg")}), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--cipher", "3", "--password-stdin", Path("a.jpg")}, "p"),
            2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--cipher", "2", Path("a.jpg")}), 2);
  // The cost goes with the strong cipher only, and takes what readers accept.
  for (const char* cost : {"--kdf-passes", "--kdf-memory"}) {
    EXPECT_EQ(Run({"create", Path("x.pvl"), "--cipher", "1", cost, "16", "--password-stdin",
                   Path("a.jpg")},
                  "p"),
              2);
    EXPECT_EQ(Run({"create", Path("x.pvl"), cost, "16", Path("a.jpg")}), 2);
  }
  for (const char* memory : {"4", "1000", "2097152"}) {
    EXPECT_EQ(
        Run({"create", Path("x.pvl"), "--kdf-memory", memory, "--password-stdin", Path("a.jpg")},
            "p"),
        2)
        << memory;
  }
  // Empty, too long or not storable passwords are refused before writing.
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--password-stdin", Path("a.jpg")}, "\n"), 2);
  EXPECT_EQ(
      Run({"create", Path("x.pvl"), "--password-stdin", Path("a.jpg")}, std::string(129, 'p')), 2);
  EXPECT_EQ(Run({"create", Path("x.pvl"), "--password-stdin", Path("a.jpg")}, "\xE6\x97\xA5\n"), 2);
  EXPECT_FALSE(fs::exists(dir_ / "x.pvl"));
  EXPECT_EQ(Run({"--help"}), 0);
}

TEST_F(PivtoolTest, CreateWritesDefaultsAndTitlesFromFileNames) {
  Picture("b.bmp", 3, 1);
  ASSERT_EQ(Run({"create", Path("d.pvl"), Path("b.bmp")}), 0);
  format::ShowFile show = format::ShowFile::Open(dir_ / "d.pvl");
  EXPECT_EQ(show.header().DelaySeconds, 3);
  EXPECT_EQ(show.header().Language, 1);
  EXPECT_GE(show.header().keyStart, 1);
  EXPECT_FALSE(show.HasPassword());
  EXPECT_EQ(show.Entries()[0].TrimmedTitle(), "b.bmp");
  // A password gives the strong cipher unless told otherwise.
  ASSERT_EQ(Run({"create", Path("p.pvl"), "--password-stdin", "--kdf-passes", "1", "--kdf-memory",
                 "8", Path("b.bmp")},
                "pw\n"),
            0)
      << err_.str();
  EXPECT_EQ(format::ShowFile::Open(dir_ / "p.pvl").header().CipherVersion, 2);
}

TEST_F(PivtoolTest, ExtractNeverReplacesFilesUnlessAskedNorEverTheShowItself) {
  Picture("a.jpg", 10, 1);
  Picture("b.jpg", 20, 2);
  ASSERT_EQ(Run({"create", Path("s.pvl"), Path("a.jpg"), Path("b.jpg")}), 0);
  fs::create_directories(dir_ / "out");
  testing::WriteText(dir_ / "out" / "b.jpg", "mine");
  EXPECT_EQ(Run({"extract", Path("s.pvl"), "--to", Path("out")}), 5);
  EXPECT_EQ(err_.str(), "pivtool: extracting would replace " + Path("out/b.jpg") +
                            "; give --overwrite to replace it\n");
  EXPECT_FALSE(fs::exists(dir_ / "out" / "a.jpg"));  // nothing written at all
  EXPECT_EQ(Run({"extract", Path("s.pvl"), "--to", Path("out"), "--overwrite"}), 0);
  EXPECT_EQ(ReadBytes(dir_ / "out" / "b.jpg"), ReadBytes(dir_ / "b.jpg"));
  // The default folder is the show's own.
  fs::remove(dir_ / "a.jpg");
  EXPECT_EQ(Run({"extract", Path("s.pvl")}), 5);  // b.jpg is there
  fs::remove(dir_ / "b.jpg");
  EXPECT_EQ(Run({"extract", Path("s.pvl")}), 0);
  EXPECT_TRUE(fs::exists(dir_ / "a.jpg"));

  // A show whose first title is its own file name, in both forms.
  fs::create_directories(dir_ / "pictures");
  for (const std::string name : {"x.exe", "x.html"}) {
    testing::WriteText(dir_ / "pictures" / name, "picture");
    ASSERT_EQ(Run({"build", Path(name), Path("pictures/" + name)}), 0);
    const testing::Bytes show = ReadBytes(dir_ / name);
    EXPECT_EQ(Run({"extract", Path(name), "--overwrite"}), 5);
    EXPECT_NE(err_.str().find("error 55: "), std::string::npos) << err_.str();
    EXPECT_EQ(ReadBytes(dir_ / name), show);
  }
}

TEST_F(PivtoolTest, InfoEscapesTheControlCharactersOfTitles) {
  const std::string hostile = "a\x1B[2Jb\nc\\d.jpg";
  Picture(hostile, 10, 1);
  ASSERT_EQ(Run({"create", Path("s.pvl"), Path(hostile)}), 0);
  ASSERT_EQ(Run({"info", Path("s.pvl")}), 0);
  EXPECT_NE(out_.str().find("title a\\x1B[2Jb\\x0Ac\\\\d.jpg\n"), std::string::npos) << out_.str();
  EXPECT_EQ(out_.str().find('\x1B'), std::string::npos);
}

TEST_F(PivtoolTest, BuildCarriesThePlayerAndExtractTakesThePicturesBackOut) {
  Picture("a.jpg", 1000, 1);
  Picture("b.bmp", 2000, 2);
  ASSERT_EQ(Run({"build", Path("show.exe"), "--titles", "--cipher", "1", "--password-stdin",
                 Path("a.jpg"), Path("b.bmp")},
                "pw\n"),
            0)
      << err_.str();
  const testing::Bytes bytes = ReadBytes(dir_ / "show.exe");
  const std::span<const std::uint8_t> player = CarriedPlayer();
  ASSERT_GT(player.size(), 0u);
  EXPECT_TRUE(std::equal(player.begin(), player.end(), bytes.begin()));
  EXPECT_EQ(fs::status(dir_ / "show.exe").permissions() & fs::perms::owner_exec,
            fs::perms::owner_exec);

  ASSERT_EQ(Run({"info", Path("show.exe")}), 0);
  EXPECT_NE(out_.str().find("kind: self-running\n"), std::string::npos);
  EXPECT_NE(out_.str().find("player size: " + std::to_string(player.size()) + "\n"),
            std::string::npos);

  fs::create_directories(dir_ / "out");
  ASSERT_EQ(Run({"extract", Path("show.exe"), "--to", Path("out"), "--password-stdin"}, "pw\n"), 0);
  EXPECT_EQ(ReadBytes(dir_ / "out" / "a.jpg"), ReadBytes(dir_ / "a.jpg"));
  EXPECT_EQ(ReadBytes(dir_ / "out" / "b.bmp"), ReadBytes(dir_ / "b.bmp"));
  EXPECT_EQ(
      Run({"extract", Path("show.exe"), "--to", Path("out"), "--password-stdin", "--overwrite"},
          "no\n"),
      4);
}

TEST_F(PivtoolTest, BuildFromADocumentKeepsItsSlidesOptionsAndPassword) {
  Picture("a.jpg", 100, 1);
  ASSERT_EQ(Run({"create", Path("d.pvl"), "--delay", "9", "--random", "--key-start", "77",
                 "--cipher", "1", "--password-stdin", Path("a.jpg")},
                "pw\n"),
            0);
  EXPECT_EQ(Run({"build", Path("d.exe"), "--from", Path("d.pvl")}), 2);
  EXPECT_EQ(Run({"build", Path("d.exe"), "--from", Path("d.pvl"), "--password-stdin"}, "bad\n"), 4);
  EXPECT_FALSE(fs::exists(dir_ / "d.exe"));
  ASSERT_EQ(Run({"build", Path("d.exe"), "--from", Path("d.pvl"), "--password-stdin"}, "pw\n"), 0)
      << err_.str();
  format::ShowFile show = format::ShowFile::Open(dir_ / "d.exe");
  EXPECT_EQ(show.kind(), format::ShowFileKind::kSelfRunning);
  EXPECT_EQ(show.header().DelaySeconds, 9);
  EXPECT_NE(show.header().RandomFlag, 0);
  EXPECT_EQ(show.header().keyStart, 77);
  ASSERT_TRUE(show.Unlock("pw"));
  const std::vector<std::uint8_t> picture = show.ReadPicture(0);
  EXPECT_EQ(testing::Bytes(picture.begin(), picture.end()), ReadBytes(dir_ / "a.jpg"));
  EXPECT_EQ(show.Entries()[0].TrimmedTitle(), "a.jpg");
}

// Both ciphers through every command: create, info, extract, build and build
// --from, with the right and a wrong password. Version 2 at its least cost.
class PivtoolCipherTest : public PivtoolTest, public ::testing::WithParamInterface<std::string> {
 protected:
  std::vector<std::string> CipherOptions() const {
    if (GetParam() == "1") return {"--cipher", "1"};
    return {"--cipher", "2", "--kdf-passes", "1", "--kdf-memory", "8"};
  }
  std::vector<std::string> With(std::vector<std::string> words) const {
    const std::vector<std::string> cipher = CipherOptions();
    words.insert(words.begin() + 2, cipher.begin(), cipher.end());
    return words;
  }
};

TEST_P(PivtoolCipherTest, EveryCommandReadsWhatCreateAndBuildWrite) {
  Picture("a.jpg", 1200000, 1);  // more than one piece of 1 MiB
  Picture("b.gif", 35, 2);
  ASSERT_EQ(Run(With({"create", Path("s.pvl"), "--password-stdin", Path("a.jpg"), Path("b.gif")}),
                "Sésame\n"),
            0)
      << err_.str();
  ASSERT_EQ(Run({"info", Path("s.pvl")}), 0);
  EXPECT_NE(out_.str().find("cipher version: " + GetParam() + "\n"), std::string::npos);
  EXPECT_EQ(out_.str().find("key derivation: Argon2id, 1 passes, 8 KiB\n") != std::string::npos,
            GetParam() == "2")
      << out_.str();
  EXPECT_EQ(Run({"info", Path("s.pvl"), "--password-stdin"}, "Sésame\n"), 0) << err_.str();
  EXPECT_NE(out_.str().find("slide 2: size 35, "), std::string::npos);
  EXPECT_EQ(Run({"info", Path("s.pvl"), "--password-stdin"}, "sésame\n"), 4);

  ASSERT_EQ(Run({"build", Path("s.exe"), "--from", Path("s.pvl"), "--password-stdin"}, "Sésame\n"),
            0)
      << err_.str();
  ASSERT_EQ(Run(With({"build", Path("t.exe"), "--password-stdin", Path("a.jpg")}), "Sésame\n"), 0);
  for (const char* show : {"s.pvl", "s.exe", "t.exe"}) {
    const fs::path out = dir_ / (std::string(show) + ".out");
    // The folder is made by the extraction, and not before the password opened the show.
    EXPECT_EQ(Run({"extract", Path(show), "--to", out.string(), "--password-stdin"}, "wrong\n"), 4);
    EXPECT_FALSE(fs::exists(out)) << show;
    ASSERT_EQ(Run({"extract", Path(show), "--to", out.string(), "--password-stdin"}, "Sésame\n"), 0)
        << show << ": " << err_.str();
    EXPECT_EQ(ReadBytes(out / "a.jpg"), ReadBytes(dir_ / "a.jpg")) << show;
    EXPECT_EQ(format::ShowFile::Open(dir_ / show).header().CipherVersion, std::stoi(GetParam()));
  }
  EXPECT_EQ(ReadBytes(dir_ / "s.pvl.out" / "b.gif"), ReadBytes(dir_ / "b.gif"));
}

INSTANTIATE_TEST_SUITE_P(Ciphers, PivtoolCipherTest, ::testing::Values("1", "2"));

// Web shows, built from pictures and from a document, through info and
// extract: plain, and both ciphers at their least cost.
class PivtoolWebShowTest : public PivtoolTest,
                           public ::testing::WithParamInterface<std::vector<std::string>> {
 protected:
  std::vector<std::string> With(std::vector<std::string> words) const {
    words.insert(words.begin() + 2, GetParam().begin(), GetParam().end());
    return words;
  }
  std::vector<std::string> WithPassword(std::vector<std::string> words) const {
    if (!GetParam().empty()) words.push_back("--password-stdin");
    return words;
  }
};

TEST_P(PivtoolWebShowTest, BuildInfoAndExtractGiveThePicturesBackByteForByte) {
  Picture("a.jpg", 1200000, 1);
  Picture("b.gif", 35, 2);
  ASSERT_EQ(Run(With({"build", Path("web.html"), Path("a.jpg"), Path("b.gif")}), "Sésame\n"), 0)
      << err_.str();
  ASSERT_EQ(Run(With({"create", Path("s.pvl"), Path("a.jpg")}), "Sésame\n"), 0);
  ASSERT_EQ(Run(WithPassword({"build", Path("Copy.HTM"), "--from", Path("s.pvl")}), "Sésame\n"), 0)
      << err_.str();

  const std::span<const std::uint8_t> page = CarriedWebPage();
  for (const char* name : {"web.html", "Copy.HTM"}) {
    // The carried page's start, then the document.
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 15, ReadBytes(dir_ / name).begin()));
    EXPECT_EQ(fs::status(dir_ / name).permissions() & fs::perms::owner_exec, fs::perms::none);
    ASSERT_EQ(Run({"info", Path(name)}), 0);
    EXPECT_NE(out_.str().find("kind: web show\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("player size: " + std::to_string(CarriedPlayer().size()) + "\n"),
              std::string::npos);

    const fs::path out = dir_ / (std::string(name) + ".out");
    fs::create_directories(out);
    if (!GetParam().empty()) {
      EXPECT_EQ(Run({"extract", Path(name), "--to", out.string(), "--password-stdin"}, "wrong\n"),
                4);
    }
    ASSERT_EQ(Run(WithPassword({"extract", Path(name), "--to", out.string()}), "Sésame\n"), 0)
        << name << ": " << err_.str();
    EXPECT_EQ(ReadBytes(out / "a.jpg"), ReadBytes(dir_ / "a.jpg")) << name;
  }
  EXPECT_EQ(ReadBytes(dir_ / "web.html.out" / "b.gif"), ReadBytes(dir_ / "b.gif"));
}

INSTANTIATE_TEST_SUITE_P(
    Ciphers, PivtoolWebShowTest,
    ::testing::Values(std::vector<std::string>{},
                      std::vector<std::string>{"--password-stdin", "--cipher", "1"},
                      std::vector<std::string>{"--password-stdin", "--cipher", "2", "--kdf-passes",
                                               "1", "--kdf-memory", "8"}));

TEST_F(PivtoolTest, TheProgramReadsThePasswordFromStandardInputAndExitsWithTheStatus) {
  Picture("a.jpg", 10, 1);
  const std::string tool = PIVTOOL_PROGRAM;
  const auto status = [&](const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status("printf 'pw\\n' | " + tool + " create " + Path("p.pvl") +
                   " --cipher 1 --password-stdin " + Path("a.jpg") + " >/dev/null"),
            0);
  EXPECT_EQ(status("printf 'nope\\n' | " + tool + " extract " + Path("p.pvl") +
                   " --password-stdin --to " + dir_.path().string() + " 2>/dev/null"),
            4);
  EXPECT_EQ(status(tool + " 2>/dev/null"), 2);
}

}  // namespace
}  // namespace pivolane::pivtool
