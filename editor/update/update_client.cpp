#include "editor/update/update_client.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QScrollBar>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/update/downloaded_file.h"
#include "common/update/ftp_listing.h"
#include "common/update/refusal.h"
#include "common/update/update_files.h"
#include "common/update/update_log.h"
#include "common/update/version_digits.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

namespace {

// On the server, relative to the account's start folder.
const QString kServerFolder = "quenbrook/pivolane/update/";
const QString kServerLogFolder = kServerFolder + "log/";

// The message that a state of the transfer component puts in the journal.
int StateMessage(int state) {
  switch (state) {
    case Inet::kResolving:
      return 550;
    case Inet::kResolved:
      return 551;
    case Inet::kConnecting:
      return 552;
    case Inet::kConnected:
      return 553;
    case Inet::kDisconnecting:
      return 554;
    case Inet::kDisconnected:
      return 555;
    default:
      return 0;
  }
}

QString Version(const std::string& digits) {
  return QString::fromStdString(update::FormatVersion(update::WholeNumber(digits)));
}

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

std::tm LocalTimeNow() {
  const QDateTime now = QDateTime::currentDateTime();
  std::tm time{};
  time.tm_year = now.date().year() - 1900;
  time.tm_mon = now.date().month() - 1;
  time.tm_mday = now.date().day();
  time.tm_hour = now.time().hour();
  time.tm_min = now.time().minute();
  time.tm_sec = now.time().second();
  return time;
}

// Lets the window handle what is waiting, once.
void HandleEvents() {
  QCoreApplication::processEvents();
}

}  // namespace

UpdateClient::UpdateClient(Inet& inet, QPlainTextEdit& journal, QLabel& status,
                           const Strings& strings, Prompts& prompts, UpdateSetup setup,
                           QObject* parent)
    : QObject(parent),
      inet_(inet),
      journal_(journal),
      status_(status),
      strings_(strings),
      prompts_(prompts),
      setup_(std::move(setup)) {
  connect(&inet_, &Inet::StateChanged, this, &UpdateClient::OnStateChanged);
}

void UpdateClient::RunUpdate() {
  running_ = true;
  journal_.clear();
  abortReason_.clear();
  cancelRequested_ = false;
  dialled_ = false;
  stepCount_ = 0;
  try {
    connected_ = IsConnected();
    if (!connected_) {
      connected_ = platform::AutoDial();
      dialled_ = true;
    }
    if (!connected_) {
      Append(Message(544));
      running_ = false;
      return;
    }
    updateFolder_ = setup_.updateFolder();
    inet_.SetURL(setup_.serverUrl);
    Execute("DIR " + kServerFolder + QString::fromStdString(std::string(update::kLauncherName)) +
            ".*");
    if (Wait(true)) {
      ReportAbort();
    } else {
      RunWithVersionFile();
    }
  } catch (const update::Refusal&) {
    ReportAbort();
  } catch (const Failure& failure) {
    ReportAbort(failure.number(), failure.description());
  } catch (const std::exception& error) {
    ReportAbort(error_number::kInvalidArgument, error.what());
  }
  running_ = false;
}

void UpdateClient::RunWithVersionFile() {
  const std::string versionName = update::FirstListingLine(responseText_.toStdString());
  internetVersion_ = update::VersionOfFileName(versionName);
  const std::string local = update::LocalVersionDigits();
  Append("\n" + Message(546) + Version(local) + Message(547) + Version(internetVersion_) + "\n\n");
  if (update::WholeNumber(internetVersion_) <= update::WholeNumber(local)) {
    Append(Message(545) + "\n");
    ScrollJournal();
    UploadLog(false);
    status_.setText(Message(543));
    return;
  }
  const std::optional<update::Manifest> manifest = FetchManifest();
  if (!manifest) return ReportAbort();
  DeleteDownloads();
  Execute("DIR " + kServerFolder + "*.*");
  if (Wait(true)) return ReportAbort();
  std::vector<std::string> downloaded;
  for (const std::string& line : update::ListingLines(responseText_.toStdString())) {
    if (!line.empty() && line.find('/') == std::string::npos) {
      if (const update::ManifestEntry* signedFile = manifest->Find(line)) {
        DownloadFile(line, *signedFile);
        downloaded.push_back(line);
      } else if (!update::IsManifestFile(line)) {
        Append(QString::fromStdString(line) + Message(578) + "\n");
      }
    }
    if (cancelRequested_) {
      inet_.Cancel();
      DeleteDownloads();
      return;
    }
  }
  Wait(false);
  if (IsCancelled()) return ReportAbort();
  for (const update::ManifestEntry& signedFile : manifest->files) {
    if (std::find(downloaded.begin(), downloaded.end(), signedFile.name) == downloaded.end()) {
      Refuse(577, signedFile.name + " is not on the server");
    }
  }
  // The launcher's new file is the version file, under its whole name: the
  // version has as many digits as the publisher gave it. It takes the
  // launcher's place straight from its hidden download, before the other
  // files are left for the launcher to install: a run ended in between
  // leaves no file that the launcher would install as a program of its own.
  const std::filesystem::path newLauncher = update::StagedFile(updateFolder_, versionName);
  update::ReplaceLauncher(setup_.programFolder, newLauncher);
  io::Remove(newLauncher);
  std::erase(downloaded, versionName);
  update::PublishDownloads(updateFolder_, downloaded);
  Append(Message(542) + "\n");
  ScrollJournal();
  UploadLog(true);
  const QString shown = Version(internetVersion_);
  Append("\n" + Message(549) + "\n");
  Append(Message(541) + shown + "\n");
  ScrollJournal();
  prompts_.Ask({BoxTitle(), Message(549) + "\n" + Message(541) + shown, PromptMessage::Buttons::kOk,
                PromptMessage::Icon::kInformation});
}

std::optional<update::Manifest> UpdateClient::FetchManifest() {
  if (setup_.publicKey.trimmed().isEmpty()) {
    abortReason_ = Message(575);
    throw update::Refusal("no public key");
  }
  const std::optional<std::string> manifest = FetchSmallFile(update::kManifestName);
  if (!manifest) return std::nullopt;
  const std::optional<std::string> signature = FetchSmallFile(update::kManifestSignatureName);
  if (!signature) return std::nullopt;
  try {
    return update::VerifyManifest(
        std::span(reinterpret_cast<const std::uint8_t*>(manifest->data()), manifest->size()),
        *signature, setup_.publicKey.toStdString(), internetVersion_);
  } catch (const update::Refusal& refusal) {
    Refuse(576, refusal.what());
  }
}

std::optional<std::string> UpdateClient::FetchSmallFile(std::string_view name) {
  const std::filesystem::path staged = update::StagedFile(updateFolder_, name);
  inet_.SetDownloadLimit(update::kManifestSizeLimit);
  Execute("GET " + kServerFolder + QString::fromUtf8(name.data(), name.size()) + " " +
          PathText(staged));
  if (Wait(true)) return std::nullopt;
  if (inet_.ResponseCode() != 0) {
    Refuse(576, std::string(name) + ": " + std::to_string(inet_.ResponseCode()) + " " +
                    inet_.ResponseInfo().toStdString());
  }
  const io::File file(staged, io::OpenMode::kRead);
  std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
  file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  io::Remove(staged);
  return bytes;
}

void UpdateClient::DownloadFile(const std::string& name, const update::ManifestEntry& signedFile) {
  const QString kept = responseText_;
  const QString serverPath = kServerFolder + QString::fromStdString(name);
  Execute("SIZE " + serverPath);
  Wait(false);
  if (!IsCancelled()) {
    const std::uint64_t announced = update::WholeNumber(responseText_.toStdString());
    Append(QString::fromStdString(name) + ": " + responseText_ + Message(127) + "\n");
    Append(Message(548) + "\n");
    ScrollJournal();
    const std::filesystem::path staged = update::StagedFile(updateFolder_, name);
    inet_.SetDownloadLimit(signedFile.size);
    Execute("GET " + serverPath + " " + PathText(staged));
    if (!Wait(true)) {
      try {
        update::CheckDownloadedFile(staged, signedFile, announced);
      } catch (const update::Refusal& refusal) {
        // A transfer error already told is the cause.
        if (!abortReason_.isEmpty()) throw;
        Refuse(577, refusal.what());
      }
    }
  }
  responseText_ = kept;
}

void UpdateClient::DeleteDownloads() {
  update::DeleteDownloads(updateFolder_);
}

void UpdateClient::Refuse(int message, const std::string& why) {
  abortReason_ = Message(message) + "\n" + QString::fromStdString(why);
  throw update::Refusal(why);
}

void UpdateClient::ReportAbort(int number, const std::string& description) {
  if (abortReason_.isEmpty()) {
    Append("\n" + Message(510) + "\n" + ErrorLine(strings_, number, description) + "\n");
  } else {
    Append("\n" + abortReason_ + "\n");
  }
  ScrollJournal();
  // Nothing may be written once the downloads are gone.
  inet_.Cancel();
  if (!updateFolder_.empty()) {
    try {
      DeleteDownloads();
    } catch (const Failure& failure) {
      Append(ErrorLine(strings_, failure.number(), failure.description()) + "\n");
    }
  }
}

bool UpdateClient::IsCancelled() {
  if (cancelRequested_) {
    abortReason_ = Message(544);
    status_.setText(Message(543));
  }
  return cancelRequested_;
}

bool UpdateClient::IsConnected() const {
  return platform::IsConnected();
}

void UpdateClient::HangUpIfDialled() {
  if (!connected_ || !dialled_) return;
  const PromptAnswer answer = prompts_.Ask(
      {BoxTitle(), Message(532), PromptMessage::Buttons::kYesNo, PromptMessage::Icon::kQuestion});
  if (answer != PromptAnswer::kYes) return;
  status_.setText(Message(533));
  platform::HangUpAutoDial();
  status_.setText(Message(534));
}

void UpdateClient::UploadLog(bool succeeded) {
  try {
    const std::string name = update::LogFileName(LocalTimeNow());
    const std::filesystem::path local = setup_.workFolder / name;
    const std::string content =
        update::LogContent(setup_.installationId.toStdString(), update::LocalVersionDigits(),
                           succeeded, internetVersion_);
    {
      io::File file = update::CreateNewFile(local);
      file.Append(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
      file.Close();
    }
    Wait(false);
    Execute("PUT " + PathText(local) + " " + kServerLogFolder + QString::fromStdString(name));
    Wait(false);
    Append(Message(538) + "\n");
    ScrollJournal();
    Wait(false);
    io::Remove(local);
  } catch (const Failure& failure) {
    Append(QString::number(failure.number()) + ": " +
           QString::fromStdString(failure.description()) + "\n");
    ScrollJournal();
  }
}

void UpdateClient::OnStateChanged(int state) {
  ++stepCount_;
  const int message = StateMessage(state);
  if (state == Inet::kError) {
    abortReason_ = Message(570) + "\n" + Message(119) + QString::number(inet_.ResponseCode()) +
                   " : " + inet_.ResponseInfo();
  }
  if (state == Inet::kResponseCompleted) {
    responseText_.clear();
    for (QString chunk; !(chunk = inet_.GetChunk(1024)).isEmpty();) {
      responseText_ += chunk;
      HandleEvents();
    }
  }
  status_.setText(Message(572) + QString::number(stepCount_) + Message(573) +
                  QString::number(state) + ": " + (message != 0 ? Message(message) : QString()));
  if (message != 0) {
    Append(Message(message) + "\n");
    journal_.setFocus();
    ScrollJournal();
  }
}

void UpdateClient::Execute(const QString& command) {
  // A command that fails leaves no reply of an earlier one behind.
  responseText_.clear();
  inet_.Execute(command);
}

bool UpdateClient::Wait(bool cancelCheck) {
  while (inet_.StillExecuting() && !(cancelCheck && IsCancelled())) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return cancelCheck && IsCancelled();
}

void UpdateClient::Append(const QString& text) {
  QTextCursor end = journal_.textCursor();
  end.movePosition(QTextCursor::End);
  end.insertText(text);
}

void UpdateClient::ScrollJournal() {
  journal_.moveCursor(QTextCursor::End);
  journal_.ensureCursorVisible();
}

}  // namespace pivolane::editor
