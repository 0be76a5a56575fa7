#include <QFile>

#include "editor/shell/settings.h"
#include "launcher/freedesktop/desktop_entry.h"
#include "launcher/freedesktop/mimeapps_list.h"
#include "launcher/mod_asso_extension.h"
#include "tests/launcher/launcher_test_support.h"

namespace pivolane::launcher {
namespace {

namespace fs = std::filesystem;
using pivolane::testing::WriteText;

class AssociationTest : public ::testing::Test {
 protected:
  // A launcher in a folder whose name needs every kind of quoting.
  fs::path Launcher(const std::string& folder = "my \"slide\" $shows `x` \\y's") {
    const fs::path launcher = home_ / folder / "Pivolane";
    fs::create_directories(launcher.parent_path());
    WriteText(launcher, "#!/bin/sh\n");
    fs::permissions(launcher, fs::perms::owner_all);
    return launcher;
  }
  fs::path Entry() const { return home_.data() / "applications" / "pivolane.desktop"; }
  fs::path MimeApps() const { return home_.config() / "mimeapps.list"; }
  std::optional<QString> RecordedLauncher() const {
    return editor::EditorSettings(editor::EditorSettings::UserStorePath())
        .Value("Settings", "Launcher");
  }

  testing::ScratchHome home_;
};

TEST_F(AssociationTest, TheFirstStartRegistersTheTypeAndASecondWritesNothing) {
  const fs::path launcher = Launcher();
  EXPECT_FALSE(IsAssociated(launcher));
  RegisterAssociation(launcher);
  EXPECT_TRUE(IsAssociated(launcher));

  const fs::path document = home_ / "Vacances d'été.pvl";
  WriteText(document, std::string("\x01\x02 slides \xff", 11));
  const auto type = testing::RunCommand(
      {"env", "XDG_CURRENT_DESKTOP=GNOME", "xdg-mime", "query", "filetype", document.string()});
  EXPECT_EQ(type.output, "application/x-pivolane\n");
  EXPECT_EQ(testing::RunCommand({"xdg-mime", "query", "default", "application/x-pivolane"}).output,
            "pivolane.desktop\n");
  const auto valid = testing::RunCommand({"desktop-file-validate", Entry().string()});
  EXPECT_EQ(valid.status, 0) << valid.output;
  EXPECT_EQ(valid.output, "");
  EXPECT_TRUE(fs::exists(home_.data() / "icons/hicolor/scalable/apps/pivolane.svg"));
  EXPECT_TRUE(
      fs::exists(home_.data() / "icons/hicolor/scalable/mimetypes/application-x-pivolane.svg"));
  EXPECT_EQ(RecordedLauncher(), QFile::decodeName(launcher.c_str()));

  // Hand edits stay as they are.
  WriteText(Entry(), testing::ReadText(Entry()) + "# mine\n");
  WriteText(MimeApps(), "[Default Applications]\napplication/x-pivolane=mine.desktop\n");
  const std::string entry = testing::ReadText(Entry());
  RegisterAssociation(launcher);
  EXPECT_EQ(testing::ReadText(Entry()), entry);
  EXPECT_EQ(testing::ReadText(MimeApps()),
            "[Default Applications]\napplication/x-pivolane=mine.desktop\n");
}

TEST_F(AssociationTest, ARegistrationWhoseDatabaseUpdateFailedIsTriedAgainAtTheNextStart) {
  const fs::path launcher = Launcher();
  const std::string path = std::getenv("PATH");
  fs::create_directories(home_ / "bin");
  WriteText(home_ / "bin" / "update-mime-database", "#!/bin/sh\nexit 1\n");
  fs::permissions(home_ / "bin" / "update-mime-database", fs::perms::owner_all);
  ::setenv("PATH", ((home_ / "bin").string() + ":" + path).c_str(), 1);
  RegisterAssociation(launcher);
  EXPECT_FALSE(IsAssociated(launcher));
  EXPECT_EQ(RecordedLauncher(), std::nullopt);

  ::setenv("PATH", path.c_str(), 1);
  RegisterAssociation(launcher);
  EXPECT_TRUE(IsAssociated(launcher));
  EXPECT_EQ(RecordedLauncher(), QFile::decodeName(launcher.c_str()));
}

// Moved after the launcher registered the type (and recorded itself), or
// after an installation wrote the association without running it.
class MovedLauncherTest : public AssociationTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MovedLauncherTest, RegistersAgainForItsNewPlace) {
  const bool recorded = GetParam();
  const fs::path before = Launcher("before");
  RegisterAssociation(before);
  if (!recorded) {
    editor::EditorSettings(editor::EditorSettings::UserStorePath())
        .SetValue("Settings", "Launcher", "");
  }
  fs::remove_all(before.parent_path());
  const fs::path after = Launcher("after");
  RegisterAssociation(after);
  EXPECT_NE(testing::ReadText(Entry()).find("\nExec=" + freedesktop::ExecValue(after) + "\n"),
            std::string::npos);
  EXPECT_EQ(RecordedLauncher(), QFile::decodeName(after.c_str()));
}

INSTANTIATE_TEST_SUITE_P(RecordedOrInstalled, MovedLauncherTest, ::testing::Bool());

// Where the type may already be known, and whether that counts as associated.
struct KnownType {
  const char* name;
  std::function<void(const testing::ScratchHome&, const fs::path& launcher)> arrange;
  bool associated;
};

// Test names and messages show the case by its name.
void PrintTo(const KnownType& value, std::ostream* out) {
  *out << value.name;
}

void SystemPackage(const testing::ScratchHome& home) {
  fs::create_directories(home.systemData() / "mime/packages");
  WriteText(home.systemData() / "mime/packages/pivolane.xml", "<mime-info/>\n");
}

// The user's MIME package, and the type that update-mime-database made of it.
void UserPackage(const testing::ScratchHome& home) {
  fs::create_directories(home.data() / "mime/packages");
  WriteText(home.data() / "mime/packages/pivolane.xml", "<mime-info/>\n");
  fs::create_directories(home.data() / "mime/application");
  WriteText(home.data() / "mime/application/x-pivolane.xml", "<mime-type/>\n");
}

void SystemEntry(const testing::ScratchHome& home, const std::string& exec) {
  fs::create_directories(home.systemData() / "applications");
  WriteText(home.systemData() / "applications/pivolane.desktop",
            "[Desktop Entry]\nType=Application\nName=Pivolane\nExec=" + exec + "\n");
}

class IsAssociatedTest : public AssociationTest, public ::testing::WithParamInterface<KnownType> {};

TEST_P(IsAssociatedTest, TellsWhetherTheTypeAlreadyOpensWithThisLauncher) {
  const fs::path launcher = Launcher();
  GetParam().arrange(home_, launcher);
  EXPECT_EQ(IsAssociated(launcher), GetParam().associated);
}

INSTANTIATE_TEST_SUITE_P(
    Places, IsAssociatedTest,
    ::testing::Values(KnownType{"Nowhere", [](const auto&, const auto&) {}, false},
                      KnownType{"UserPackage",
                                [](const testing::ScratchHome& home, const fs::path&) {
                                  UserPackage(home);
                                },
                                true},
                      KnownType{"SystemPackageAndEntry",
                                [](const testing::ScratchHome& home, const fs::path& launcher) {
                                  SystemPackage(home);
                                  SystemEntry(home, freedesktop::ExecValue(launcher));
                                },
                                true},
                      KnownType{"SystemEntryThroughALinkInThePath",
                                [](const testing::ScratchHome& home, const fs::path& launcher) {
                                  SystemPackage(home);
                                  fs::create_directories(home / "bin");
                                  fs::create_symlink(launcher, home / "bin" / "Pivolane");
                                  ::setenv("PATH",
                                           ((home / "bin").string() + ":/usr/bin:/bin").c_str(), 1);
                                  SystemEntry(home, "Pivolane %f");
                                },
                                true},
                      KnownType{"SystemEntryOfAnotherLauncher",
                                [](const testing::ScratchHome& home, const fs::path&) {
                                  SystemPackage(home);
                                  SystemEntry(home, "/opt/elsewhere/Pivolane %f");
                                },
                                false},
                      KnownType{"SystemEntryWithoutPackage",
                                [](const testing::ScratchHome& home, const fs::path& launcher) {
                                  SystemEntry(home, freedesktop::ExecValue(launcher));
                                },
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

struct DefaultChange {
  const char* name;
  std::string before;
  std::optional<std::string> after;  // nullopt: the file stays as it is
};

// Test names and messages show the case by its name.
void PrintTo(const DefaultChange& value, std::ostream* out) {
  *out << value.name;
}

class DefaultApplicationTest : public ::testing::TestWithParam<DefaultChange> {};

TEST_P(DefaultApplicationTest, AddsTheDefaultOnlyWhenNoneExistsChangingNoOtherLine) {
  EXPECT_EQ(freedesktop::WithDefaultApplication(GetParam().before, "application/x-pivolane",
                                                "pivolane.desktop"),
            GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DefaultApplicationTest,
    ::testing::Values(
        DefaultChange{"Empty", "",
                      "[Default Applications]\napplication/x-pivolane=pivolane.desktop\n"},
        DefaultChange{"WithoutTheGroup", "[Added Associations]\nimage/png=a.desktop;\n",
                      "[Added Associations]\nimage/png=a.desktop;\n\n[Default Applications]\n"
                      "application/x-pivolane=pivolane.desktop\n"},
        DefaultChange{"WithTheGroup",
                      "# mine\n[Default Applications]\ntext/plain=b.desktop\n\n[Added "
                      "Associations]\nx/y=c.desktop;\n",
                      "# mine\n[Default Applications]\ntext/plain=b.desktop\n"
                      "application/x-pivolane=pivolane.desktop\n\n[Added "
                      "Associations]\nx/y=c.desktop;\n"},
        DefaultChange{"LastLineWithoutEnding", "[Default Applications]\r\ntext/plain=b.desktop",
                      "[Default Applications]\r\ntext/plain=b.desktop\n"
                      "application/x-pivolane=pivolane.desktop\n"},
        DefaultChange{"LaterGroupWithoutEnding",
                      "[Default Applications]\ntext/plain=b.desktop\n[Added Associations]\nx/y=c;",
                      "[Default Applications]\ntext/plain=b.desktop\n"
                      "application/x-pivolane=pivolane.desktop\n[Added Associations]\nx/y=c;\n"},
        DefaultChange{"DefaultOfItsOwn",
                      "[Default Applications]\napplication/x-pivolane = o.desktop\n", std::nullopt},
        DefaultChange{"OnlyAnAddedAssociation",
                      "[Added Associations]\napplication/x-pivolane=o.desktop;\n",
                      "[Added Associations]\napplication/x-pivolane=o.desktop;\n\n"
                      "[Default Applications]\napplication/x-pivolane=pivolane.desktop\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pivolane::launcher
