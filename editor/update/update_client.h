// The update run of frmUpdate: it asks the server for its version and, when
// that is newer, fetches the publisher's signed manifest, downloads the files
// that it names into the update folder, checks each, replaces the launcher
// and logs the run on the server. Its journal and status line are the
// window's; it waits for the transfer component in loops that keep handling
// the window's events.
#pragma once

#include <string>
#include <vector>

#include <QLabel>
#include <QObject>
#include <QPlainTextEdit>

#include "common/update/manifest.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"
#include "editor/update/inet.h"
#include "editor/update/update_setup.h"

namespace pivolane::editor {

class UpdateClient : public QObject {
  Q_OBJECT

 public:
  UpdateClient(Inet& inet, QPlainTextEdit& journal, QLabel& status, const Strings& strings,
               Prompts& prompts, UpdateSetup setup, QObject* parent = nullptr);

  // One whole run; it returns when the run has ended, whatever its outcome.
  void RunUpdate();
  bool running() const { return running_; }
  // The user confirmed the cancel of the run in progress.
  void RequestCancel() { cancelRequested_ = true; }
  // Closes the dial-up connection that the run opened, if the user agrees.
  void HangUpIfDialled();
  // Adds text at the end of the journal.
  void Append(const QString& text);

 private:
  // The steps after the version file's listing.
  void RunWithVersionFile();
  void OnStateChanged(int state);
  void Execute(const QString& command);
  // Lets the window handle its events until the component is idle and, with
  // cancelCheck, until the user has cancelled; true when cancelled.
  bool Wait(bool cancelCheck);
  bool IsCancelled();
  bool IsConnected() const;
  // The manifest and its signature from the server, proved to come from the
  // publisher for the version offered; nullopt when the user cancelled.
  std::optional<update::Manifest> FetchManifest();
  std::optional<std::string> FetchSmallFile(std::string_view name);
  void DownloadFile(const std::string& name, const update::ManifestEntry& signedFile);
  void DeleteDownloads();
  void ReportAbort(int number = 0, const std::string& description = {});
  // Ends the run through ReportAbort with a reason of the signed update's
  // own messages; throws.
  [[noreturn]] void Refuse(int message, const std::string& why);
  void UploadLog(bool succeeded);

  void ScrollJournal();
  QString Message(int number) const { return strings_.LoadMessage(number); }

  Inet& inet_;
  QPlainTextEdit& journal_;
  QLabel& status_;
  const Strings& strings_;
  Prompts& prompts_;
  const UpdateSetup setup_;
  std::filesystem::path updateFolder_;
  bool running_ = false;

  int stepCount_ = 0;
  std::string internetVersion_;
  bool connected_ = false;
  bool dialled_ = false;
  QString abortReason_;
  bool cancelRequested_ = false;
  QString responseText_;
};

}  // namespace pivolane::editor
