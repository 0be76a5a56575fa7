// The Build command: the open show written as a self-running program, the
// player's exact bytes at its head, or as a web page, the web player's
// template around a document of the show, beside the documents.
#pragma once

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_forms.h"
#include "editor/shell/prompts.h"

namespace pivolane::editor {

class FrmMain;

class ShowBuilder {
 public:
  // The show is enciphered with the editor's cipher state, which a build may
  // give a new password but keeps its keyStart.
  ShowBuilder(FrmMain& window, cipher::CryptageXor& cipher, Prompts& prompts);

  // Asks for the show's name and form in the save-as dialog, then builds. A
  // cancelled dialog brings back the untitled name and builds nothing.
  void mnuCreerExe_Click();
  // Builds at docFolder + exeFileName, in the form and with the extension
  // that format::NameForChosenForm gives for the form whose filter was
  // chosen. With the password option on, the password is asked at every
  // build. Giving up at the password or at the overwrite question writes
  // nothing; a failure is shown and leaves any former file there untouched.
  void BuildSelfRunningShow(format::ShowForm chosenForm);

 private:
  FrmMain& window_;
  cipher::CryptageXor& cipher_;
  Prompts& prompts_;
};

}  // namespace pivolane::editor
