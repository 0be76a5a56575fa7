#include "launcher/launch_editor.h"

#include "tests/launcher/launcher_test_support.h"

namespace pivolane::launcher {
namespace {

namespace fs = std::filesystem;

struct HandOff {
  const char* name;
  std::vector<std::string> arguments;  // the launcher's
  std::string record;                  // what the editor was given
};

// Test names and messages show the case by its name.
void PrintTo(const HandOff& value, std::ostream* out) {
  *out << value.name;
}

class LaunchEditorTest : public ::testing::TestWithParam<HandOff> {};

TEST_P(LaunchEditorTest, StartsTheEditorBesideTheLauncherWithTheDocumentAsOneArgument) {
  pivolane::testing::ScratchFolder dir;
  testing::WriteStandInEditor(dir.path(), dir / "arguments");
  EXPECT_EQ(EditorProgram(dir.path()), dir / "pivedit");
  testing::ScriptedPrompts prompts;
  LaunchEditor(CommandLineText(GetParam().arguments), dir.path(), prompts);
  EXPECT_EQ(testing::WaitForText(dir / "arguments"), GetParam().record);
  EXPECT_TRUE(prompts.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(CommandLines, LaunchEditorTest,
                         ::testing::Values(
                             // The association's quoted form, and the desktop's bare path.
                             HandOff{"Quoted",
                                     {"\"/home/me/Mes diaporamas/vacances.pvl\""},
                                     "1|/home/me/Mes diaporamas/vacances.pvl|"},
                             HandOff{"Bare",
                                     {"/home/me/Mes diaporamas/vacances.pvl"},
                                     "1|/home/me/Mes diaporamas/vacances.pvl|"},
                             // Nothing is dropped from a text that is not quoted.
                             HandOff{"ByHand", {"abc"}, "1|abc|"},
                             HandOff{"LoneQuote", {"\""}, "1|\"|"},
                             HandOff{"SeveralWords", {"a", "b"}, "1|a b|"},
                             HandOff{"None", {}, "0|"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LaunchEditor, AnEditorThatCannotBeStartedIsReportedInABox) {
  pivolane::testing::ScratchFolder dir;
  testing::ScriptedPrompts prompts;
  LaunchEditor("", dir.path(), prompts);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0],
            "Pivolane\nERROR 53: No such file or directory\n" + (dir / "pivedit").string());
}

}  // namespace
}  // namespace pivolane::launcher
