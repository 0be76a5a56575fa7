#include "tests/launcher/launcher_test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <QSettings>

namespace pivolane::launcher::testing {

namespace {

using namespace std::chrono_literals;

// argv for posix_spawn: the words, then a null pointer.
std::vector<char*> ArgumentVector(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Qt reads the user's settings folder once per process: tell it again.
void PointSettingsAtConfigHome() {
  const auto config = Environment("XDG_CONFIG_HOME");
  if (config) QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config->c_str());
}

}  // namespace

ScratchHome::ScratchHome() {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"HOME", folder_.path().string()},
      {"XDG_DATA_HOME", data().string()},
      {"XDG_CONFIG_HOME", config().string()},
      {"XDG_CACHE_HOME", (folder_ / "cache").string()},
      {"XDG_DATA_DIRS", systemData().string() + ":/usr/share"}};
  // PATH and the display too, which tests may change.
  for (const char* name : {"PATH", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    saved_.emplace_back(name, Environment(name));
  }
  for (const auto& [name, value] : values) {
    saved_.emplace_back(name, Environment(name.c_str()));
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  PointSettingsAtConfigHome();
}

ScratchHome::~ScratchHome() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  PointSettingsAtConfigHome();
}

void WriteStandInEditor(const fs::path& folder, const fs::path& record) {
  fs::create_directories(folder);
  const fs::path editor = folder / "pivedit";
  std::ofstream(editor) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"$0.part\"\n"
                        << "mv \"$0.part\" '" << record.string() << "'\n";
  fs::permissions(editor, fs::perms::owner_all);
}

std::string ReadText(const fs::path& path) {
  const auto bytes = pivolane::testing::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

std::string WaitForText(const fs::path& path) {
  for (auto waited = 0ms; waited < 10s && !fs::exists(path); waited += 10ms) {
    std::this_thread::sleep_for(10ms);
  }
  return fs::exists(path) ? ReadText(path) : std::string();
}

CommandResult RunCommand(const std::vector<std::string>& words) {
  int pipe[2];
  if (::pipe(pipe) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  std::vector<std::string> copy = words;
  std::vector<char*> argv = ArgumentVector(copy);
  pid_t pid = 0;
  const int started = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  CommandResult result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    result.output.append(buffer, n);
  ::close(pipe[0]);
  int status = 0;
  if (started == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.status = WEXITSTATUS(status);
  }
  return result;
}

pid_t StartProgram(const fs::path& program, const std::vector<std::string>& args) {
  std::vector<std::string> words = {program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(words);
  pid_t pid = 0;
  return ::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

bool WaitForExit(pid_t pid) {
  for (auto waited = 0ms; waited < 20s; waited += 10ms) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(10ms);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return false;
}

std::vector<std::string> InstallationLeftovers(const std::vector<fs::path>& folders) {
  std::vector<std::string> names;
  for (const fs::path& folder : folders) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("MAJPivolane") || name.ends_with(".old") ||
          name.starts_with("installation")) {
        names.push_back(name);
      }
    }
  }
  return names;
}

LauncherPrompts::Answer ScriptedPrompts::RetryOrCancel(const std::string& title,
                                                       const std::string& text) {
  titles.push_back(title);
  texts.push_back(text);
  return answer();
}

void ScriptedPrompts::ShowError(const std::string& title, const std::string& text) {
  errors.push_back(title + "\n" + text);
}

}  // namespace pivolane::launcher::testing
