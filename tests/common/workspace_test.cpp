#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/workspace/end_cleanup.h"
#include "common/workspace/workspace.h"
#include "tests/common/test_support.h"

namespace pivolane::workspace {
namespace {

using testing::ReadBytes;

// A running copy of a program: its file cannot be opened for writing
// ("Text file busy"), which stands in for a locked file even for root.
class BusyProgram {
 public:
  explicit BusyProgram(const fs::path& copy) {
    fs::copy_file("/bin/sleep", copy, fs::copy_options::overwrite_existing);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl(copy.c_str(), "sleep", "60", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Wait until the program has replaced the child.
    for (int i = 0; i < 200; ++i) {
      try {
        io::File probe(copy, io::OpenMode::kReadWrite);
      } catch (const Failure&) {
        return;
      }
      ::usleep(10000);
    }
  }
  ~BusyProgram() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

TEST(WipeAndDeleteFile, OverwritesTheWholeContentBeforeDeleting) {
  testing::ScratchFolder dir;
  testing::WriteBytes(dir / "PivolaneImg1.tmp", testing::PatternBytes(3 * io::kChunkSize + 7, 1));
  // A second name for the same file shows what the wipe left in it.
  fs::create_hard_link(dir / "PivolaneImg1.tmp", dir / "witness");
  WipeAndDeleteFile(dir / "PivolaneImg1.tmp");
  EXPECT_FALSE(fs::exists(dir / "PivolaneImg1.tmp"));
  EXPECT_EQ(ReadBytes(dir / "witness"), testing::Bytes(3 * io::kChunkSize + 7, '0'));
}

TEST(WipeAndDeleteFile, EmptyFileIsDeletedAndFailuresCarryTheirNumber) {
  testing::ScratchFolder dir;
  testing::WriteBytes(dir / "empty", {});
  WipeAndDeleteFile(dir / "empty");
  EXPECT_FALSE(fs::exists(dir / "empty"));
  try {
    WipeAndDeleteFile(dir / "missing");
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 53);
    EXPECT_EQ(f.description(), "No such file or directory");
  }
  BusyProgram busy(dir / "busy");
  try {
    WipeAndDeleteFile(dir / "busy");
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 70);
    EXPECT_EQ(f.description(), "Text file busy");
  }
}

TEST(WipeAndDeleteFile, ASymbolicLinkIsRemovedWithoutWipingItsTarget) {
  testing::ScratchFolder dir;
  testing::WriteText(dir / "precious", "keep");
  fs::create_symlink(dir / "precious", dir / "PivolaneImg1.tmp");
  WipeAndDeleteFile(dir / "PivolaneImg1.tmp");
  EXPECT_EQ(ReadBytes(dir / "precious"), testing::Bytes({'k', 'e', 'e', 'p'}));
}

TEST(CleanWorkFolder, WipesOnlyWorkingFilesAndResetsTheCounter) {
  testing::ScratchFolder dir;
  for (const char* name :
       {"PivolaneImg1.tmp", "PivolaneImg2.bmp", "PivolaneTmp.tmp", "PivolaneTmp"}) {
    testing::WriteText(dir / name, "slide data");
  }
  testing::WriteText(dir / "other.jpg", "not ours");
  int counter = 12;
  EXPECT_TRUE(CleanWorkFolder(dir.path(), counter).empty());
  EXPECT_EQ(counter, 0);
  std::vector<fs::path> left;
  for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename());
  EXPECT_EQ(left, std::vector<fs::path>{"other.jpg"});
}

TEST(CleanWorkFolder, AFileThatCannotBeRemovedIsReportedOnceAndSkipped) {
  testing::ScratchFolder dir;
  testing::WriteText(dir / "PivolaneImg1.tmp", "a");
  testing::WriteText(dir / "PivolaneImg3.tmp", "b");
  BusyProgram busy(dir / "PivolaneImg2.tmp");
  int counter = 3;
  const std::vector<CleanFailure> failures = CleanWorkFolder(dir.path(), counter);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, dir / "PivolaneImg2.tmp");
  EXPECT_EQ(failures[0].number, 70);
  EXPECT_FALSE(fs::exists(dir / "PivolaneImg1.tmp"));
  EXPECT_FALSE(fs::exists(dir / "PivolaneImg3.tmp"));
  EXPECT_EQ(counter, 0);
}

TEST(NextWorkingFileName, SkipsNumbersWhoseFileExists) {
  testing::ScratchFolder dir;
  testing::WriteText(dir / "PivolaneImg1.tmp", "1");
  testing::WriteText(dir / "PivolaneImg2.tmp", "2");
  int counter = 0;
  EXPECT_EQ(NextWorkingFileName(dir.path(), counter), dir / "PivolaneImg3.tmp");
  EXPECT_EQ(counter, 3);
  EXPECT_EQ(NextWorkingFileName(dir.path(), counter), dir / "PivolaneImg4.tmp");
}

// Keeps an environment variable's value, to give it back at the end.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~SavedVariable() {
    if (value_) {
      ::setenv(name_, value_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

// The root in the temporary folder: no runtime folder.
class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TMPDIR", dir_.path().c_str(), 1);
    ::unsetenv("XDG_RUNTIME_DIR");
  }
  fs::path Root() const { return dir_ / ("pivolane-" + std::to_string(::getuid())); }

  testing::ScratchFolder dir_;
  SavedVariable tmpdir_{"TMPDIR"};
  SavedVariable runtime_{"XDG_RUNTIME_DIR"};
};

TEST_F(WorkFolderTest, TheRootIsPrivateToItsUser) {
  const fs::path root = platform::PrivateWorkRoot();
  EXPECT_EQ(root, Root());
  struct stat st {};
  ASSERT_EQ(::stat(root.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(WorkFolderTest, TheRootLivesInTheRuntimeFolderOnlyWhenThatIsPrivate) {
  const fs::path runtime = dir_ / "runtime";
  const struct {
    const char* why;
    std::function<std::string()> prepare;  // gives XDG_RUNTIME_DIR
    bool inRuntime;
  } cases[] = {
      {"private", [&] { return runtime.string(); }, true},
      {"open to others",
       [&] {
         fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
         return runtime.string();
       },
       false},
      {"a link",
       [&] {
         fs::create_directory_symlink(runtime, dir_ / "link");
         return (dir_ / "link").string();
       },
       false},
      {"relative", [] { return std::string("runtime"); }, false},
      {"missing", [&] { return (dir_ / "none").string(); }, false},
  };
  for (const auto& c : cases) {
    fs::remove_all(runtime);
    fs::remove(dir_ / "link");
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", c.prepare().c_str(), 1);
    EXPECT_EQ(platform::PrivateWorkRoot(), c.inRuntime ? runtime / "pivolane" : Root()) << c.why;
  }
}

TEST_F(WorkFolderTest, ARootThatIsALinkOrOpenToOthersIsRefused) {
  fs::create_directories(dir_ / "elsewhere");
  fs::create_directory_symlink(dir_ / "elsewhere", Root());
  EXPECT_THROW(platform::PrivateWorkRoot(), Failure);
  fs::remove(Root());
  fs::create_directory(Root());
  fs::permissions(Root(), fs::perms::all);
  EXPECT_THROW(platform::PrivateWorkRoot(), Failure);
}

TEST(UpdateFolder, LivesInTheUserCacheAndIsPrivateToItsUser) {
  testing::ScratchFolder dir;
  const char* saved = std::getenv("XDG_CACHE_HOME");
  const std::string before = saved != nullptr ? saved : "";
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  const fs::path folder = platform::UpdateFolder();
  EXPECT_EQ(folder, dir / "cache" / "pivolane" / "update");
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  fs::remove(folder);
  fs::create_directories(dir / "elsewhere");
  fs::create_directory_symlink(dir / "elsewhere", folder);
  EXPECT_THROW(platform::UpdateFolder(), Failure);
  ::setenv("XDG_CACHE_HOME", before.c_str(), 1);
}

TEST(StartDetached, AProgramThatEndsLeavesNoZombieBehind) {
  testing::ScratchFolder dir;
  const fs::path pidFile = dir / "pid";
  ASSERT_TRUE(platform::StartDetached("/bin/sh", {"-c", "echo $$ > '" + pidFile.string() + "'"}));
  std::string pid;
  for (int i = 0; i < 500 && pid.empty(); ++i) {
    ::usleep(10000);
    std::ifstream(pidFile) >> pid;
  }
  ASSERT_FALSE(pid.empty());
  // A zombie keeps its /proc entry until its parent reaps it.
  bool gone = false;
  for (int i = 0; i < 500 && !gone; ++i) {
    gone = !fs::exists("/proc/" + pid);
    if (!gone) ::usleep(10000);
  }
  EXPECT_TRUE(gone);
}

TEST_F(WorkFolderTest, ASecondProgramNeverTouchesTheFirstOnesFiles) {
  Workspace first = Workspace::Open("editor");
  testing::WriteText(first.File("PivolaneImg1.tmp"), "first");
  Workspace second = Workspace::Open("editor");
  EXPECT_NE(first.folder(), second.folder());
  EXPECT_EQ(first.folder().parent_path(), Root());
  EXPECT_TRUE(fs::exists(first.File("PivolaneImg1.tmp")));
  int counter = 0;
  CleanWorkFolder(second.folder(), counter);
  EXPECT_TRUE(fs::exists(first.File("PivolaneImg1.tmp")));
}

TEST_F(WorkFolderTest, FoldersOfProgramsThatEndedAreWipedAtStart) {
  fs::path left;
  {
    const pid_t child = ::fork();
    if (child == 0) {
      // A program that dies without cleaning up.
      Workspace w = Workspace::Open("editor");
      testing::WriteText(w.File("PivolaneImg1.tmp"), "orphan");
      std::ofstream(Root() / "left-path") << w.folder().string();
      ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    std::ifstream(Root() / "left-path") >> left;
  }
  ASSERT_TRUE(fs::exists(left / "PivolaneImg1.tmp"));
  const Workspace next = Workspace::Open("player");
  EXPECT_FALSE(fs::exists(left));
}

TEST_F(WorkFolderTest, ClosingWipesTheFolderAway) {
  fs::path folder;
  {
    const Workspace w = Workspace::Open("pivtool");
    folder = w.folder();
    testing::WriteText(w.File("PivolaneTmp.tmp"), "payload");
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST(FileErrors, SystemErrorsBecomeClassicNumbers) {
  testing::ScratchFolder dir;
  EXPECT_EQ(io::ClassicErrorNumber(ENOENT, dir / "missing"), 53);
  EXPECT_EQ(io::ClassicErrorNumber(ENOENT, dir / "no-folder" / "missing"), 76);
  EXPECT_EQ(io::ClassicErrorNumber(EACCES, dir / "x"), 70);
  EXPECT_EQ(io::ClassicErrorNumber(ETXTBSY, dir / "x"), 70);
  EXPECT_EQ(io::ClassicErrorNumber(ENOSPC, dir / "x"), 61);
  EXPECT_EQ(io::ClassicErrorNumber(EIO, dir / "x"), 75);

  testing::WriteText(dir / "f", "x");
  io::testing::SetWriteBudget(0);
  try {
    io::File f(dir / "f", io::OpenMode::kReadWrite);
    f.Append(std::vector<std::uint8_t>{1});
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 61);
  }
  io::testing::SetWriteBudget(std::nullopt);
}

// Replacing, with unnamed files (GetParam) or on a file system without them.
class ReplacingTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { io::testing::SetUnnamedFilesAvailable(GetParam()); }
  void TearDown() override { io::testing::SetUnnamedFilesAvailable(true); }
  static void WriteText(const fs::path& target, const std::string& text) {
    WriteFileReplacing(target, [&](io::File& out) {
      out.Append(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    });
  }
  std::vector<fs::path> Names() const {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir_.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  testing::ScratchFolder dir_;
};

TEST_P(ReplacingTest, FormerBytesAreWipedOnlyWhenNoOtherNameLinksToThem) {
  testing::WriteText(dir_ / "doc.pvl", "old secret");
  fs::create_hard_link(dir_ / "doc.pvl", dir_ / "backup.pvl");
  WriteText(dir_ / "doc.pvl", "new");
  EXPECT_EQ(ReadBytes(dir_ / "doc.pvl"), testing::Bytes({'n', 'e', 'w'}));
  EXPECT_EQ(ReadBytes(dir_ / "backup.pvl"),
            testing::Bytes({'o', 'l', 'd', ' ', 's', 'e', 'c', 'r', 'e', 't'}));
  // Without another name, what still reaches the former bytes sees them wiped.
  const io::File reader(dir_ / "backup.pvl", io::OpenMode::kRead);
  WriteText(dir_ / "backup.pvl", "newer");
  testing::Bytes former(10);
  reader.ReadAt(0, former);
  EXPECT_EQ(former, testing::Bytes(10, '0'));
  EXPECT_EQ(Names(), (std::vector<fs::path>{"backup.pvl", "doc.pvl"}));
}

TEST_P(ReplacingTest, SymbolicLinksAreKeptAndTheFileTheyReachIsWritten) {
  fs::create_directory(dir_ / "real");
  testing::WriteText(dir_ / "real" / "doc.pvl", "old");
  fs::create_symlink("real/doc.pvl", dir_ / "link.pvl");
  fs::create_symlink(dir_ / "link.pvl", dir_ / "chain.pvl");
  fs::create_symlink("real/new.pvl", dir_ / "dangling.pvl");
  WriteText(dir_ / "chain.pvl", "new");
  WriteText(dir_ / "dangling.pvl", "made");
  EXPECT_TRUE(fs::is_symlink(dir_ / "chain.pvl"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.pvl"));
  EXPECT_EQ(ReadBytes(dir_ / "real" / "doc.pvl"), testing::Bytes({'n', 'e', 'w'}));
  EXPECT_EQ(ReadBytes(dir_ / "real" / "new.pvl"), testing::Bytes({'m', 'a', 'd', 'e'}));
  EXPECT_EQ(Names(), (std::vector<fs::path>{"chain.pvl", "dangling.pvl", "link.pvl", "real"}));
}

TEST_P(ReplacingTest, PermissionsOfTheReplacedFileAreKeptUnlessTheWriterSetsItsOwn) {
  const auto modeOf = [](const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  };
  WriteText(dir_ / "new.pvl", "new");
  EXPECT_EQ(modeOf(dir_ / "new.pvl"), 0666u & ~platform::CurrentUmask());
  testing::WriteText(dir_ / "doc.pvl", "old");
  ::chmod((dir_ / "doc.pvl").c_str(), 0640);
  WriteText(dir_ / "doc.pvl", "new");
  EXPECT_EQ(modeOf(dir_ / "doc.pvl"), 0640u);
  WriteFileReplacing(dir_ / "doc.pvl", [](io::File& out) { out.SetMode(0751); });
  EXPECT_EQ(modeOf(dir_ / "doc.pvl"), 0751u);
}

TEST_P(ReplacingTest, NamesAtTheLimitAndFailuresLeaveNothingBesideTheTarget) {
  const std::string longest(255, 'n');
  WriteText(dir_ / longest, "x");
  testing::WriteText(dir_ / "doc.pvl", "old");
  EXPECT_THROW(WriteFileReplacing(dir_ / "doc.pvl",
                                  [](io::File&) { throw Failure(61, "No space left on device"); }),
               Failure);
  EXPECT_EQ(ReadBytes(dir_ / "doc.pvl"), testing::Bytes({'o', 'l', 'd'}));
  EXPECT_EQ(Names(), (std::vector<fs::path>{"doc.pvl", longest}));
}

INSTANTIATE_TEST_SUITE_P(Files, ReplacingTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Unnamed" : "HiddenName";
                         });

// How a program ends while it holds a work folder and writes a file: by a
// signal (0: exit() from inside, as Qt does when the display is gone).
struct EndCase {
  const char* name;
  int signal;
  bool unnamedFiles;
};

void PrintTo(const EndCase& c, std::ostream* out) {
  *out << c.name;
}

class EndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndTest, NothingIsLeftOfTheWorkFolderOrThePartialFile) {
  const EndCase& c = GetParam();
  testing::ScratchFolder dir;
  if (c.unnamedFiles && !io::File::CreateUnnamedBeside(dir / "probe")) {
    GTEST_SKIP() << "no unnamed files on this file system";
  }
  fs::create_directory(dir / "root");
  fs::permissions(dir / "root", fs::perms::owner_all);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    try {
      CleanUpAtAnyEnd();
      io::testing::SetUnnamedFilesAvailable(c.unnamedFiles);
      const Workspace work = Workspace::OpenIn(dir / "root", "editor");
      testing::WriteText(work.File("PivolaneImg1.tmp"), "deciphered");
      WriteFileReplacing(dir / "show.exe", [&](io::File& out) {
        out.Append(std::vector<std::uint8_t>(1000, 7));
        if (::write(ready[1], "r", 1) != 1 || c.signal == 0) std::exit(1);
        for (;;) ::pause();
      });
    } catch (...) {
    }
    ::_exit(3);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  if (c.signal != 0) ::kill(child, c.signal);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::close(ready[0]);
  ::close(ready[1]);
  if (c.signal != 0) {
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), c.signal);
  } else {
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
  }
  std::vector<fs::path> left;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) left.push_back(e.path());
  // Nothing catches SIGKILL: its work folder waits for the next start.
  if (c.signal == SIGKILL) {
    std::erase_if(left, [&](const fs::path& p) { return p.parent_path() != dir.path(); });
  }
  EXPECT_EQ(left, std::vector<fs::path>{dir / "root"});
}

INSTANTIATE_TEST_SUITE_P(Ends, EndTest,
                         ::testing::Values(EndCase{"Term", SIGTERM, false},
                                           EndCase{"Int", SIGINT, true},
                                           EndCase{"Hup", SIGHUP, false}, EndCase{"Exit", 0, false},
                                           EndCase{"Kill", SIGKILL, true}),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                           return info.param.name;
                         });

// Kills at random points of a program that replaces one file again and
// again, by SIGKILL or SIGTERM, with unnamed files or hidden names beside the
// target: the target is always a whole file, and the next replacement of it
// leaves nothing else in its folder.
struct KillCase {
  const char* name;
  int signal;
  bool unnamedFiles;
};

void PrintTo(const KillCase& c, std::ostream* out) {
  *out << c.name;
}

// One byte from one process to another; a process that goes closes its ends,
// so that a reader never waits for a writer that is gone.
class Pipe {
 public:
  Pipe() { EXPECT_EQ(::pipe(fds_), 0); }
  ~Pipe() {
    for (const int fd : fds_) ::close(fd);
  }
  void CloseWriteEnd() {
    ::close(fds_[1]);
    fds_[1] = -1;
  }
  bool Send() { return ::write(fds_[1], "s", 1) == 1; }
  bool Receive() {
    char byte = 0;
    return ::read(fds_[0], &byte, 1) == 1;
  }

 private:
  int fds_[2] = {-1, -1};
};

class KillLoopTest : public ::testing::TestWithParam<KillCase> {
 protected:
  void TearDown() override { io::testing::SetUnnamedFilesAvailable(true); }
  std::vector<fs::path> Left() const {
    std::vector<fs::path> left;
    for (const auto& e : fs::directory_iterator(dir_.path())) left.push_back(e.path().filename());
    return left;
  }
  testing::ScratchFolder dir_;
};

TEST_P(KillLoopTest, TheTargetStaysWholeAndTheNextReplacementLeavesNothingElse) {
  const KillCase& c = GetParam();
  if (c.unnamedFiles && !io::File::CreateUnnamedBeside(dir_ / "probe")) {
    GTEST_SKIP() << "no unnamed files on this file system";
  }
  io::testing::SetUnnamedFilesAvailable(c.unnamedFiles);
  const fs::path target = dir_ / "show.exe";
  constexpr std::size_t kSize = 96 << 10;
  std::mt19937 random(7);
  for (int round = 0; round < 25; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      CleanUpAtAnyEnd();
      for (std::uint8_t version = 1;; ++version) {
        WriteFileReplacing(target, [&](io::File& out) {
          for (std::size_t at = 0; at < kSize; at += 4096) {
            out.WriteAt(at, std::vector<std::uint8_t>(4096, version));
          }
        });
      }
    }
    ::usleep(std::uniform_int_distribution<unsigned>(0, 40000)(random));
    ::kill(child, c.signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (fs::exists(target)) {
      const testing::Bytes bytes = ReadBytes(target);
      ASSERT_EQ(bytes.size(), kSize) << "round " << round;
      EXPECT_EQ(std::count(bytes.begin(), bytes.end(), bytes.front()),
                static_cast<std::ptrdiff_t>(kSize));
    }
  }
  WriteFileReplacing(target, [](io::File& out) { out.Append(std::vector<std::uint8_t>{1}); });
  EXPECT_EQ(Left(), std::vector<fs::path>{"show.exe"});
}

INSTANTIATE_TEST_SUITE_P(Kills, KillLoopTest,
                         ::testing::Values(KillCase{"KillUnnamed", SIGKILL, true},
                                           KillCase{"KillHidden", SIGKILL, false},
                                           KillCase{"TermUnnamed", SIGTERM, true},
                                           KillCase{"TermHidden", SIGTERM, false}),
                         [](const ::testing::TestParamInfo<KillCase>& info) {
                           return info.param.name;
                         });

// A part file that a running program still writes is never taken for one
// that a killed run left, nor is a part file of another target.
TEST_F(KillLoopTest, PartFilesStillWrittenAndThoseOfOtherFilesAreLeftAlone) {
  io::testing::SetUnnamedFilesAvailable(false);
  const fs::path target = dir_ / "doc.pvl";
  testing::WriteText(dir_ / ".doc.pvl.12.part", "left by a killed run");
  testing::WriteText(dir_ / ".other.pvl.34.part", "another file's");
  Pipe ready;
  Pipe go;
  const pid_t writer = ::fork();
  if (writer == 0) {
    go.CloseWriteEnd();
    WriteFileReplacing(target, [&](io::File& out) {
      out.Append(std::vector<std::uint8_t>{'w'});
      if (!ready.Send() || !go.Receive()) ::_exit(2);
    });
    ::_exit(0);
  }
  ASSERT_TRUE(ready.Receive());
  WriteFileReplacing(target, [](io::File& out) { out.Append(std::vector<std::uint8_t>{'m'}); });
  std::vector<fs::path> left = Left();
  std::sort(left.begin(), left.end());
  ASSERT_EQ(left.size(), 3u);
  EXPECT_TRUE(left[0].string().starts_with(".doc.pvl.")) << left[0];
  EXPECT_NE(left[0], ".doc.pvl.12.part");
  EXPECT_EQ(left[1], ".other.pvl.34.part");
  EXPECT_EQ(left[2], "doc.pvl");
  ASSERT_TRUE(go.Send());
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadBytes(target), testing::Bytes{'w'});
}

}  // namespace
}  // namespace pivolane::workspace
