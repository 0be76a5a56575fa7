// The document commands New, Open, Save and Save As of the main window, and
// OpenDocument for the command line.
#pragma once

#include <QString>

#include "common/cipher/cryptage_xor.h"
#include "common/format/document.h"
#include "editor/document/document_dialogs.h"
#include "editor/shell/prompts.h"

namespace pivolane::editor {

class FrmMain;

class DocumentCommands {
 public:
  // The cipher state is the editor's for its whole run: New keeps it.
  DocumentCommands(FrmMain& window, cipher::CryptageXor& cipher, Prompts& prompts);

  // An empty show; unsaved changes are offered for saving first.
  void New();
  void Open() { OpenDocument(QString()); }
  // Opens the document at path, or the one chosen in the open dialog when
  // path is empty; unsaved changes are offered for saving first. A failed
  // open leaves an empty show.
  void OpenDocument(const QString& path);
  void Save();
  void SaveAs();

 private:
  // Message 114 before the show is replaced; false when the command stops:
  // Cancel, or Yes with a save that did not complete.
  bool OfferToSaveChanges();
  // The save of message 114's Yes: no name dialog, the current path.
  bool SaveBeforeReplacing();
  // The name dialog of a save. Cancelled: an untitled show keeps the untitled
  // name, without extension, and false is returned.
  bool ChooseSaveName();
  // Message 103/104/107 when a file is at the document's path; false on Cancel.
  bool MayOverwrite();
  // Writes the show at the document's path; true once it is saved.
  bool SaveDocument();
  // The list and the view emptied; the working files stay.
  void EmptySlideList();
  // The main window's part of New: an empty show with the default settings.
  void ClearShow();
  // Reads path into the emptied window; true when the show is open.
  bool ReadDocument(const QString& path);
  void TakeOpenedShow(format::DocumentReadResult& opened);

  FrmMain& window_;
  cipher::CryptageXor& cipher_;
  Prompts& prompts_;
  DocumentDialogs& dialogs_;
};

}  // namespace pivolane::editor
