// Helpers of the launcher's tests: a scratch home for the XDG folders, a
// stand-in editor that records its arguments, programs run to their end, and
// boxes answered by the test.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "launcher/launcher_prompts.h"
#include "tests/common/test_support.h"

namespace pivolane::launcher::testing {

namespace fs = std::filesystem;

// HOME and the XDG folders point into a fresh scratch folder for as long as the
// object lives, for this process and the programs it starts. The system data
// folders are a scratch one, then /usr/share. PATH and the display variables
// are put back afterwards.
class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  fs::path operator/(const std::string& name) const { return folder_ / name; }
  fs::path data() const { return folder_ / "data"; }
  fs::path config() const { return folder_ / "config"; }
  fs::path systemData() const { return folder_ / "system-data"; }

 private:
  pivolane::testing::ScratchFolder folder_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Writes folder/pivedit, a stand-in editor that writes "count|arg|arg|..." to
// record once it has started.
void WriteStandInEditor(const fs::path& folder, const fs::path& record);

// The whole text of path.
std::string ReadText(const fs::path& path);

// The text of path once it exists; empty after 10 s without it.
std::string WaitForText(const fs::path& path);

struct CommandResult {
  int status = -1;
  std::string output;  // standard output and standard error
};
// Runs words (no shell) to its end.
CommandResult RunCommand(const std::vector<std::string>& words);

// Starts program with args in the background; its process id.
pid_t StartProgram(const fs::path& program, const std::vector<std::string>& args);
// Waits for pid to end, at most 20 s; false (after ending it) when it did not.
bool WaitForExit(pid_t pid);

// The names in folders of what an update installation leaves until it has
// finished: pending files, backups and its record.
std::vector<std::string> InstallationLeftovers(const std::vector<fs::path>& folders);

// Boxes answered by the test: every Retry/Cancel box is recorded and answered
// by answer (Cancel unless told otherwise).
class ScriptedPrompts : public LauncherPrompts {
 public:
  Answer RetryOrCancel(const std::string& title, const std::string& text) override;
  void ShowError(const std::string& title, const std::string& text) override;

  std::function<Answer()> answer = [] { return Answer::kCancel; };
  std::vector<std::string> titles;
  std::vector<std::string> texts;
  std::vector<std::string> errors;  // title, line break, text
};

}  // namespace pivolane::launcher::testing
