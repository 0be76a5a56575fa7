// The Build command: the open show written as a self-running program, the
// player's exact bytes at its head, beside the documents.
#pragma once

#include "common/cipher/cryptage_xor.h"
#include "editor/shell/prompts.h"

namespace pivolane::editor {

class FrmMain;

class ShowBuilder {
 public:
  // The show is enciphered with the editor's cipher state, which a build may
  // give a new password but keeps its keyStart.
  ShowBuilder(FrmMain& window, cipher::CryptageXor& cipher, Prompts& prompts);

  // Asks for the program's name in the save-as dialog, then builds. A
  // cancelled dialog brings back the untitled name and builds nothing.
  void mnuCreerExe_Click();
  // Builds at docFolder + exeFileName, ".exe" added to a name without it.
  // With the password option on, the password is asked at every build.
  // Giving up at the password or at the overwrite question writes nothing; a
  // failure is shown and leaves any former file there untouched.
  void BuildSelfRunningShow();

 private:
  FrmMain& window_;
  cipher::CryptageXor& cipher_;
  Prompts& prompts_;
};

}  // namespace pivolane::editor
