#include "editor/document/document_commands.h"

#include "common/cipher/password.h"
#include "common/io/file.h"
#include "editor/document/document_messages.h"
#include "editor/document/document_writer.h"
#include "editor/document/new_password.h"
#include "editor/document/show_options.h"
#include "editor/document/show_reader.h"
#include "editor/document/slide_sources.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/frm_main.h"

namespace pivolane::editor {

DocumentCommands::DocumentCommands(FrmMain& window, cipher::CryptageXor& cipher, Prompts& prompts)
    : window_(window), cipher_(cipher), prompts_(prompts), dialogs_(window.dialogs()) {}

void DocumentCommands::New() {
  if (!OfferToSaveChanges()) return;
  ClearShow();
}

void DocumentCommands::EmptySlideList() {
  // The steps of the show replaced cannot come back: the files only they
  // kept go with them.
  window_.history().Clear();
  window_.display().ClearSlideView();
  window_.slideView().errorLabel().hide();
  window_.slideList().RemoveAllSlides();
}

void DocumentCommands::ClearShow() {
  BusyScope busy(window_);
  EmptySlideList();
  ApplyShowOptions(NewShowOptions(window_.settings()), window_.menu(), window_.delay());
  DocumentState& document = window_.document();
  document.passwordEntered = false;
  document.documentModified = false;
  document.docUntitled = true;
  window_.rules().ApplyCountRules();
  window_.display().ShowSlideStatus();
  window_.CleanWorkFolder();
}

void DocumentCommands::OpenDocument(const QString& path) {
  if (!OfferToSaveChanges()) return;
  {
    BusyScope busy(window_);
    EmptySlideList();
    // The show on view was saved or its changes declined: an empty list left
    // by a cancelled dialog is no change, and closing must not take it for
    // an emptied show whose document is to be removed.
    window_.document().documentModified = false;
    window_.CleanWorkFolder();
    // The commands follow the emptied list, also when no document comes.
    window_.rules().ApplyCountRules();
    window_.rules().ApplySelectionRules();
    window_.display().ShowSlideStatus();
  }
  const QString target = path.isEmpty() ? dialogs_.ChooseDocumentToOpen() : path;
  if (target.isEmpty()) return;

  if (!ReadDocument(target)) return ClearShow();

  DocumentState& document = window_.document();
  document.documentModified = false;
  document.docUntitled = false;
  window_.UpdateWindowTitle();
  document.exeFileName = document.docFileName.left(document.docFileName.size() - 4) + ".exe";
  SlideList& list = window_.slideList();
  window_.rules().ApplyCountRules();
  if (list.Count() > 0) {
    list.SelectSlide(list.Slide(1));
    window_.display().ShowSelectedSlide();
  }
  // After the selection, so that cut, copy and delete follow it.
  window_.rules().ApplySelectionRules();
}

bool DocumentCommands::ReadDocument(const QString& path) {
  DocumentState& document = window_.document();
  document.passwordEntered = false;
  BusyScope busy(window_);
  std::optional<format::DocumentReadResult> opened = ReadShowDocument(
      path, document.workFolder, document.slideCounter, prompts_, window_.strings());
  document.openSucceeded = opened.has_value();
  if (opened) TakeOpenedShow(*opened);
  return document.openSucceeded;
}

void DocumentCommands::TakeOpenedShow(format::DocumentReadResult& opened) {
  // A show without a password has no cipher of its own: it takes the one a
  // new show would.
  if (!opened.options.usePassword) {
    opened.options.cipherVersion = NewShowOptions(window_.settings()).cipherVersion;
  }
  ApplyShowOptions(opened.options, window_.menu(), window_.delay());
  // The cipher state changes only with a show that opened: a mistyped
  // password must never protect a later save.
  cipher_.keyStart = opened.header.keyStart;
  if (opened.options.usePassword) {
    cipher_.DiscardPassword();
    cipher_.currentPassword = *cipher::EncodeTypedPassword(opened.typedPassword);
  }
  DocumentState& document = window_.document();
  document.passwordEntered = opened.passwordEntered;
  for (const format::LoadedSlide& slide : opened.slides) {
    window_.slideList().AppendSlide(QString::fromStdString(slide.title),
                                    QString::fromStdString(slide.workingFile.string()));
  }
  document.docUntitled = false;
}

void DocumentCommands::Save() {
  DocumentState& document = window_.document();
  if (document.docUntitled && !ChooseSaveName()) return;
  if (document.docFileName.right(4).toLower() != ".pvl") document.docFileName += ".pvl";
  window_.UpdateWindowTitle();
  if (!MayOverwrite()) return;
  if (window_.menu().mnuMotDePasse->isChecked() &&
      !AskNewPassword(prompts_, window_.strings(), ChosenCipherVersion(window_.menu()), cipher_,
                      document)) {
    return;
  }
  BusyScope busy(window_);
  SaveDocument();
  window_.display().ShowSelectedSlide();
}

void DocumentCommands::SaveAs() {
  if (ChooseSaveName()) Save();
}

bool DocumentCommands::ChooseSaveName() {
  DocumentState& document = window_.document();
  const QString name = dialogs_.ChooseSaveName(document.docFileName);
  if (name.isEmpty()) {
    // A named show keeps its name: the next Save writes where the last did.
    if (document.docUntitled) document.docFileName = kUntitledName;
    return false;
  }
  document.docFileName = name;
  document.docUntitled = false;
  return true;
}

bool DocumentCommands::MayOverwrite() {
  const DocumentState& document = window_.document();
  if (!io::Exists(document.DocumentPath())) return true;
  return prompts_.Ask(OverwriteQuestion(window_.strings(), document.docFileName,
                                        NameQuotes::kQuoted)) == PromptAnswer::kOk;
}

bool DocumentCommands::OfferToSaveChanges() {
  if (window_.slideList().Count() == 0 || !window_.document().documentModified) return true;
  switch (prompts_.Ask(SaveChangesQuestion(window_.strings()))) {
    case PromptAnswer::kYes:
      return SaveBeforeReplacing();
    case PromptAnswer::kNo:
      return true;
    default:
      return false;
  }
}

bool DocumentCommands::SaveBeforeReplacing() {
  DocumentState& document = window_.document();
  // An untitled show's path may hold a file the user never chose to replace.
  if (document.docUntitled && !MayOverwrite()) return false;
  // Enciphering needs a password; one entered earlier in this run serves.
  if (window_.menu().mnuMotDePasse->isChecked() && cipher_.currentPassword.empty() &&
      !AskNewPassword(prompts_, window_.strings(), ChosenCipherVersion(window_.menu()), cipher_,
                      document)) {
    return false;
  }
  BusyScope busy(window_);
  return SaveDocument();
}

bool DocumentCommands::SaveDocument() {
  DocumentState& document = window_.document();
  const bool written = WriteDocument(
      document.DocumentPath(), SlideSources(window_.slideList()),
      CurrentShowOptions(window_.menu(), window_.delay(), window_.strings(), document), cipher_,
      prompts_, window_.strings());
  if (written) window_.history().MarkSaved();
  return written;
}

}  // namespace pivolane::editor
