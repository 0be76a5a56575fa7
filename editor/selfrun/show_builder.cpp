#include "editor/selfrun/show_builder.h"

#include "common/errors.h"
#include "common/io/file.h"
#include "editor/document/document_messages.h"
#include "editor/document/new_password.h"
#include "editor/document/show_options.h"
#include "editor/document/slide_sources.h"
#include "editor/selfrun/selfrun_messages.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/frm_main.h"
#include "player/carried/carried_player.h"
#include "webshow/carried/carried_web_page.h"

namespace pivolane::editor {

ShowBuilder::ShowBuilder(FrmMain& window, cipher::CryptageXor& cipher, Prompts& prompts)
    : window_(window), cipher_(cipher), prompts_(prompts) {}

void ShowBuilder::mnuCreerExe_Click() {
  DocumentState& document = window_.document();
  const std::optional<ChosenShowName> chosen =
      window_.dialogs().ChooseShowName(document.exeFileName);
  if (!chosen) {
    document.exeFileName = QString(kUntitledName) + ".exe";
    return;
  }
  document.exeFileName = chosen->fileName;
  BuildSelfRunningShow(chosen->filterForm);
}

void ShowBuilder::BuildSelfRunningShow(format::ShowForm chosenForm) {
  const Strings& strings = window_.strings();
  DocumentState& document = window_.document();
  const format::ShowOptions options =
      CurrentShowOptions(window_.menu(), window_.delay(), strings, document);
  if (options.usePassword &&
      !AskNewPassword(prompts_, strings, options.cipherVersion, cipher_, document)) {
    return;
  }

  BusyScope busy(window_);
  const format::NamedShow named =
      format::NameForChosenForm(document.exeFileName.toStdString(), chosenForm);
  document.exeFileName = QString::fromStdString(named.name);
  const std::filesystem::path target = document.ExePath();
  if (io::Exists(target) &&
      prompts_.Ask(OverwriteQuestion(strings, document.exeFileName, NameQuotes::kBare)) !=
          PromptAnswer::kOk) {
    return;
  }
  try {
    // The former file is replaced only once the new one is complete.
    format::BuildShowFile(target, named.form, SlideSources(window_.slideList()), options, cipher_,
                          {CarriedPlayer(), CarriedWebPage()});
  } catch (const Failure& failure) {
    prompts_.Ask(DiskFailureMessage(strings, " (Proc 107)", target, failure.number(),
                                    failure.description()));
    return;
  }
  prompts_.Ask(BuildSucceededMessage(strings));
}

}  // namespace pivolane::editor
