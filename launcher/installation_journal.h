// The record of the update installation in progress, kept in the update
// folder: the program files whose backups (name + ".old") this installation
// made or took over, so that a backup left by anything else is never put back.
//
// A name is recorded before its backup is made, the record is marked
// cancelled (by a rename, which needs no room on a full disk) before the first
// backup is put back, and it is removed once nothing is left to put back. A
// launcher killed at any point thus finds at its next start whether to go on
// installing or go on rolling back, and which backups are its own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pivolane::launcher {

class InstallationJournal {
 public:
  explicit InstallationJournal(std::filesystem::path updateFolder);

  // Reads the record that a former start left, if any.
  void Read();

  bool started() const { return state_ != State::kNone; }
  bool cancelled() const { return state_ == State::kCancelled; }
  const std::vector<std::string>& names() const { return names_; }
  bool Lists(const std::string& name) const;

  // Starts a record that holds names. The names are kept even when the record
  // cannot be written, so that a rollback still puts their backups back.
  void Begin(std::vector<std::string> names);
  // Records name, before its backup is made.
  void Add(const std::string& name);
  // Marks the installation cancelled: from now on it is rolled back.
  void Cancel();
  // Removes the record: the installation has finished either way.
  void Finish();

 private:
  enum class State { kNone, kInstalling, kCancelled };

  std::filesystem::path InstallingPath() const;
  std::filesystem::path CancelledPath() const;
  void Write() const;

  std::filesystem::path folder_;
  State state_ = State::kNone;
  bool stored_ = false;  // the record exists on disk
  std::vector<std::string> names_;
};

}  // namespace pivolane::launcher
