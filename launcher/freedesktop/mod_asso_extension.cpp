// The association on freedesktop desktops, for the current user: a
// shared-mime-info package, a desktop entry and icons under $XDG_DATA_HOME, and
// the default application in $XDG_CONFIG_HOME/mimeapps.list.
#include "launcher/mod_asso_extension.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

#include <QFile>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/linux/xdg_base_dirs.h"
#include "common/platform/platform.h"
#include "editor/shell/settings.h"
#include "launcher/freedesktop/association_files.h"
#include "launcher/freedesktop/association_names.h"
#include "launcher/freedesktop/desktop_entry.h"
#include "launcher/freedesktop/key_file.h"
#include "launcher/freedesktop/mimeapps_list.h"

namespace pivolane::launcher {

namespace fs = std::filesystem;
namespace xdg = platform::xdg;
using editor::EditorSettings;
using editor::SettingNames;

namespace {

// The program that command names: itself when it names a folder, else the
// first match in the search path.
std::optional<fs::path> ProgramOfCommand(const std::string& command) {
  if (command.find('/') != std::string::npos) return fs::path(command);
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const fs::path candidate = fs::path(folder.empty() ? "." : folder) / command;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// The command that the Exec line of the desktop entry at path starts; nullopt
// when there is no such entry or it cannot be read.
std::optional<std::string> EntryCommand(const fs::path& entry) {
  try {
    if (!io::Exists(entry)) return std::nullopt;
    const auto exec =
        freedesktop::KeyFileValue(freedesktop::ReadTextFile(entry), "Desktop Entry", "Exec");
    return exec ? freedesktop::ExecProgram(*exec) : std::nullopt;
  } catch (const Failure&) {
    return std::nullopt;  // an entry that cannot be read starts nothing
  }
}

// Whether the desktop entry at path starts launcher, through whatever links.
bool EntryStartsLauncher(const fs::path& entry, const fs::path& launcher) {
  const auto command = EntryCommand(entry);
  const auto program = command ? ProgramOfCommand(*command) : std::nullopt;
  std::error_code ec;
  return program && fs::equivalent(*program, launcher, ec);
}

void AddDefaultApplication(const fs::path& list) {
  // A list that is a link (kept with the user's other settings) is changed
  // where it lies.
  const bool exists = io::Exists(list);
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(list, ec);
  const fs::path file = exists && !ec ? resolved : list;
  const std::string text = exists ? freedesktop::ReadTextFile(file) : std::string();
  const auto changed = freedesktop::WithDefaultApplication(text, freedesktop::kMimeType,
                                                           freedesktop::kDesktopEntryName);
  if (!changed) return;
  if (!exists) xdg::CreateFolders(file.parent_path());
  freedesktop::WriteTextFile(file, *changed);
}

void RunDatabaseUpdate(const std::string& tool, const fs::path& folder, bool required) {
  const auto status = platform::RunAndWait(tool, {folder.string()});
  if (!status && !required) return;
  if (status != 0) {
    throw Failure(error_number::kPathFileAccess, tool + " " + folder.string() + " failed");
  }
}

void WriteAssociation(const fs::path& launcher) {
  const fs::path data = xdg::DataHome();
  AddDefaultApplication(xdg::ConfigHome() / "mimeapps.list");
  for (const auto& file : freedesktop::AssociationFiles(launcher)) {
    const fs::path path = data / file.relativePath;
    xdg::CreateFolders(path.parent_path());
    freedesktop::WriteTextFile(path, file.content);
  }
  RunDatabaseUpdate("update-desktop-database", data / "applications", false);
  RunDatabaseUpdate("update-mime-database", data / "mime", true);
}

// Whether the launcher that the association was written for is gone: the one
// recorded in the settings, or the one that the user's desktop entry starts by
// its path (an installation writes the entry without running the launcher).
bool AssociatedLauncherGone(const EditorSettings& settings) {
  const auto recorded = settings.Value(SettingNames::kReadSection, SettingNames::kLauncher);
  if (recorded && !recorded->isEmpty()) {
    return !io::Exists(QFile::encodeName(*recorded).toStdString());
  }
  const auto command = EntryCommand(freedesktop::DesktopEntryPath(xdg::DataHome()));
  return command && command->find('/') != std::string::npos && !io::Exists(*command);
}

}  // namespace

bool IsAssociated(const fs::path& launcher) {
  const fs::path data = xdg::DataHome();
  const fs::path userPackage = freedesktop::MimePackagePath(data);
  if (io::Exists(userPackage) && ::access(userPackage.c_str(), W_OK) == 0 &&
      io::Exists(freedesktop::CompiledTypePath(data))) {
    return true;
  }
  bool typeKnown = false;
  bool entryStartsLauncher = false;
  for (const fs::path& folder : xdg::DataDirs()) {
    typeKnown = typeKnown || io::Exists(freedesktop::MimePackagePath(folder));
    entryStartsLauncher =
        entryStartsLauncher || EntryStartsLauncher(freedesktop::DesktopEntryPath(folder), launcher);
  }
  return typeKnown && entryStartsLauncher;
}

void RegisterAssociation(const fs::path& launcher) {
  EditorSettings settings(EditorSettings::UserStorePath());
  if (!AssociatedLauncherGone(settings) && IsAssociated(launcher)) return;
  try {
    WriteAssociation(launcher);
    // Recorded once the registration completed: a launcher moved since the
    // last one that completed is registered again.
    settings.SetValue(SettingNames::kWriteSection, SettingNames::kLauncher,
                      QFile::decodeName(launcher.c_str()));
  } catch (const Failure& failure) {
    std::cerr << "Pivolane: the document type could not be registered: " << failure.description()
              << "\n";
  }
}

}  // namespace pivolane::launcher
