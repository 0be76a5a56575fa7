// The slide-list commands: adding pictures from files, from a file manager's
// drop or from the clipboard, deleting, cutting, copying, moving a slide up or
// down or by drag and drop, renaming, and clearing the selection. Each change
// to the list is an edit of the slide history, which undo and redo replay.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include <QAction>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "editor/document/document_state.h"
#include "editor/shell/command_rules.h"
#include "editor/shell/prompts.h"
#include "editor/shell/slide_display.h"
#include "editor/shell/slide_history.h"
#include "editor/shell/slide_list.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

class SlideCommands {
 public:
  struct Parts {
    QWidget& window;  // disabled during long operations
    SlideList& list;
    SlideView& view;
    SlideDisplay& display;
    CommandRules& rules;
    SlideHistory& history;
    // While pressed, selecting a slide only describes it, without loading it.
    const QAction& voirVignettes;
  };

  SlideCommands(Parts parts, DocumentState& document, const Strings& strings, Prompts& prompts)
      : parts_(parts), document_(document), strings_(strings), prompts_(prompts) {}

  // Asks for picture files and appends one slide per file.
  void InsertSlides();
  // Files and folders dropped from a file manager: their pictures become
  // slides after the selected one (at the end when none is), with the checks
  // of the picture dialog's files, and the first of them is shown.
  void AddDroppedFiles(const QStringList& paths);
  void DeleteSlide();
  void CopySlide();
  // Deletes the slide only once its picture is on the clipboard.
  void CutSlide();
  // Appends a slide holding the clipboard's picture; files copied in a file
  // manager are added as dropped ones are.
  void PasteSlide();
  void MoveSlideUp();
  void MoveSlideDown();
  // Exchanges two slides: "monter" the selected one with the one before it,
  // "descendre" with the one after it, "ddrop" the dragged one with the drop
  // target. The word is compared without regard to case.
  void MoveSlide(const QString& direction);
  void ClearSelection();

  // The list's events.
  void OnItemClicked();
  void OnDropCompleted();
  // The user typed a new title for the slide at index.
  void OnTitleEdited(int index, const QString& before);
  // An edit of the history ran or was undone: selects the slide at selection
  // (0: none), refreshes the view and applies the enabling rules.
  void ShowEdit(int selection, ViewRefresh refresh);

  // Folder of the last pictures added; where the next picture dialog starts.
  const QString& lastPictureFolder() const { return lastPictureFolder_; }

 private:
  void AddPictures();
  // The picture dialog's choices: the pictures, then every file.
  std::vector<FileFilter> PictureFilters() const;
  // Copies the files into the work folder and inserts their slides from
  // index on, as one edit that selects selectAfter.
  void InsertPictureFiles(const QStringList& files, int index, int selectAfter);
  // The new working file holding a copy of source; a file that cannot be
  // copied is reported and nullopt returned.
  std::optional<std::filesystem::path> CopyIntoWorkFolder(const QString& source);
  bool CopySelectedPicture();
  void ShowSelectedOrDescribe();
  // The first "PivolaneImg" + k + extension that neither a title nor a file
  // of the work folder has.
  QString FreePastedPictureName(const QString& extension) const;
  // A new ".tmp" working-file path, advancing slideCounter.
  std::filesystem::path NextPictureFile();

  Parts parts_;
  DocumentState& document_;
  const Strings& strings_;
  Prompts& prompts_;
  QString lastPictureFolder_;
};

}  // namespace pivolane::editor
