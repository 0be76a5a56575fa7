#include "launcher/installation_journal.h"

#include <algorithm>
#include <sstream>

#include "common/io/file.h"
#include "launcher/freedesktop/key_file.h"

namespace pivolane::launcher {

namespace fs = std::filesystem;

namespace {

// One name a line; the file is always written whole, so every line is too.
std::vector<std::string> NamesOf(const std::string& text) {
  std::vector<std::string> names;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) names.push_back(line);
  }
  return names;
}

}  // namespace

InstallationJournal::InstallationJournal(fs::path updateFolder)
    : folder_(std::move(updateFolder)) {}

fs::path InstallationJournal::InstallingPath() const {
  return folder_ / "installation";
}

fs::path InstallationJournal::CancelledPath() const {
  return folder_ / "installation.cancelled";
}

void InstallationJournal::Read() {
  for (const auto& [path, state] :
       {std::pair{CancelledPath(), State::kCancelled}, {InstallingPath(), State::kInstalling}}) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) continue;
    // The launcher writes only plain files: anything else (a link planted
    // there) is removed, never followed when the record is written.
    if (!fs::is_regular_file(status)) {
      io::Remove(path);
      continue;
    }
    names_ = NamesOf(freedesktop::ReadTextFile(path));
    state_ = state;
    stored_ = true;
    return;
  }
}

bool InstallationJournal::Lists(const std::string& name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

void InstallationJournal::Write() const {
  std::string text;
  for (const std::string& name : names_) text += name + "\n";
  freedesktop::WriteTextFile(InstallingPath(), text);
}

void InstallationJournal::Begin(std::vector<std::string> names) {
  names_ = std::move(names);
  Write();
  state_ = State::kInstalling;
  stored_ = true;
}

void InstallationJournal::Add(const std::string& name) {
  names_.push_back(name);
  try {
    Write();
  } catch (...) {
    names_.pop_back();  // its backup is not made either
    throw;
  }
}

void InstallationJournal::Cancel() {
  if (stored_ && !cancelled()) io::Rename(InstallingPath(), CancelledPath());
  state_ = State::kCancelled;
}

void InstallationJournal::Finish() {
  for (const fs::path& path : {CancelledPath(), InstallingPath()}) {
    if (io::Exists(path)) io::Remove(path);
  }
  state_ = State::kNone;
  stored_ = false;
  names_.clear();
}

}  // namespace pivolane::launcher
