#include "editor/selfrun/picture_extraction.h"

#include <filesystem>

#include <QFileInfo>

#include "common/cipher/password.h"
#include "common/cipher/strong_cipher.h"
#include "common/format/extraction.h"
#include "editor/document/document_messages.h"
#include "editor/selfrun/selfrun_messages.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

namespace {

// Wipes a password when it goes out of scope, however that happens.
class ForgetOnExit {
 public:
  explicit ForgetOnExit(std::string& password) : password_(password) {}
  ~ForgetOnExit() { cipher::Wipe(password_); }
  ForgetOnExit(const ForgetOnExit&) = delete;
  ForgetOnExit& operator=(const ForgetOnExit&) = delete;

 private:
  std::string& password_;
};

}  // namespace

void PictureExtraction::mnuExtraireImagesExe_Click() {
  const QString sourcePath = dialogs_.ChooseSelfRunningShow();
  if (sourcePath.isEmpty()) return;
  std::optional<format::ShowFile> show = OpenReadable(sourcePath);
  if (!show) return;

  const QString sourceName = QFileInfo(sourcePath).fileName();
  const QString targetFolder = sourcePath.left(sourcePath.size() - sourceName.size());
  const std::filesystem::path folder(targetFolder.toStdString());
  if (const std::optional<std::string> name = format::NameReplacingTheShow(*show, folder)) {
    prompts_.Ask(ReplacesShowMessage(strings_, QString::fromStdString(*name)));
    return;
  }
  const auto askOverwrite = [this](const std::string& name) {
    const PromptMessage question =
        OverwriteQuestion(strings_, QString::fromStdString(name), NameQuotes::kQuoted);
    return prompts_.Ask(question) == PromptAnswer::kOk ? format::OverwriteAnswer::kReplace
                                                       : format::OverwriteAnswer::kStop;
  };
  BusyScope busy(window_);
  format::ExtractionResult result;
  try {
    result = format::ExtractPictures(*show, folder, askOverwrite);
  } catch (const Failure& failure) {
    // A sealed picture that does not pass its check: the show is damaged.
    if (failure.number() == error_number::kPastEndOfFile)
      return ShowReadFailure(failure, sourcePath);
    prompts_.Ask(DiskFailureMessage(strings_, " (Proc 106)", folder, failure.number(),
                                    failure.description()));
    return;
  }
  if (!result.completed) return;
  prompts_.Ask(ExtractionSummary(strings_, show->header().SlideCount, sourceName, targetFolder));
}

std::optional<format::ShowFile> PictureExtraction::OpenReadable(const QString& sourcePath) {
  try {
    format::ShowFile show = format::ShowFile::Open(sourcePath.toStdString());
    // A document ends with the same trailer, but has no player at its head.
    if (show.kind() == format::ShowFileKind::kDocument) ThrowInvalidFile();
    if (!Unlock(show)) return std::nullopt;
    show.Entries();
    return show;
  } catch (const Failure& failure) {
    ShowReadFailure(failure, sourcePath);
    return std::nullopt;
  }
}

bool PictureExtraction::Unlock(format::ShowFile& show) {
  if (!show.HasPassword()) return true;
  const std::optional<QString> typed = prompts_.ReadPassword(strings_, show.header().CipherVersion);
  // Cancel, or OK with nothing typed: the user gave up.
  if (!typed || typed->isEmpty()) return false;
  std::optional<std::string> password = cipher::EncodeTypedPassword(typed->toStdString());
  if (password) {
    const ForgetOnExit forget(*password);
    // A strong show's key derivation takes a moment.
    const BusyScope busy(window_);
    if (show.Unlock(*password)) return true;
  }
  prompts_.Ask(WrongPasswordMessage(strings_));
  return false;
}

void PictureExtraction::ShowReadFailure(const Failure& failure, const QString& sourcePath) {
  switch (failure.number()) {
    case error_number::kInvalidFile:
      prompts_.Ask(InvalidShowMessage(strings_));
      return;
    case error_number::kUnsupportedCipher:
      prompts_.Ask(UnsupportedCipherMessage(strings_, " (Proc 106)", sourcePath));
      return;
    default:
      prompts_.Ask(OpenFailure(strings_, " (Proc 106)", sourcePath, failure.number(),
                               failure.description()));
  }
}

}  // namespace pivolane::editor
