// The main window's open and save-as dialogs, for documents and built shows.
// They share one starting folder: wherever the last document or show was
// named.
#pragma once

#include <optional>

#include <QString>

#include "common/format/show_forms.h"
#include "editor/document/document_state.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

struct ChosenShowName {
  QString fileName;
  format::ShowForm filterForm;
};

class DocumentDialogs {
 public:
  DocumentDialogs(DocumentState& document, const Strings& strings, Prompts& prompts)
      : document_(document), strings_(strings), prompts_(prompts) {}

  // ChooseDocumentToOpen: the full path chosen, which also names the
  // document (docFileName, docFolder); empty, and nothing changed, when the
  // user cancelled.
  QString ChooseDocumentToOpen();
  // ChooseSaveName: proposes name; returns the file name chosen and sets
  // docFolder to its folder. Empty, and nothing changed, when cancelled.
  QString ChooseSaveName(const QString& name);
  // ChooseSaveName for a show to build, offering both forms, the program
  // ("*.*") and the web page, the form of name shown first: the file name
  // chosen and the form whose filter was picked.
  std::optional<ChosenShowName> ChooseShowName(const QString& name);
  // A self-running show or a web show to take the pictures out of: its full
  // path, empty when the user cancelled. The document's names stay as they
  // are.
  QString ChooseSelfRunningShow();

 private:
  // Where the dialogs start: the folder last chosen in one of them, else the
  // document's own folder.
  QString StartFolder() const;
  // A chosen path: its folder, with its trailing "/", becomes docFolder and
  // the next dialogs' starting folder. Returns the file name.
  QString TakeFolderOf(const QString& path);
  // TakeFolderOf for the path a save-as dialog gave; empty, and nothing
  // changed, when it names no file (the dialog was cancelled).
  QString TakeSavedName(const QString& path);

  DocumentState& document_;
  const Strings& strings_;
  Prompts& prompts_;
  QString initialFolder_;
};

}  // namespace pivolane::editor
