// The slide-list commands: adding pictures from files, deleting, cutting,
// copying and pasting through the clipboard, moving a slide up or down or by
// drag and drop, and clearing the selection.
#pragma once

#include <filesystem>

#include <QAction>
#include <QString>
#include <QWidget>

#include "editor/document/document_state.h"
#include "editor/shell/command_rules.h"
#include "editor/shell/prompts.h"
#include "editor/shell/slide_display.h"
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
    // While pressed, selecting a slide only describes it, without loading it.
    const QAction& voirVignettes;
  };

  SlideCommands(Parts parts, DocumentState& document, const Strings& strings, Prompts& prompts)
      : parts_(parts), document_(document), strings_(strings), prompts_(prompts) {}

  // Asks for picture files and appends one slide per file.
  void InsertSlides();
  void DeleteSlide();
  void CopySlide();
  // Deletes the slide only once its picture is on the clipboard.
  void CutSlide();
  // Appends a slide holding the clipboard's picture.
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

  // Folder of the last pictures added; where the next picture dialog starts.
  const QString& lastPictureFolder() const { return lastPictureFolder_; }

 private:
  void AddPictures();
  void AddPictureFile(const QString& source);
  bool CopySelectedPicture();
  void MoveSelectedSlide(const QString& direction, int step);
  void ShowSelectedOrDescribe();
  // Wipes and deletes a working file; a failure is shown.
  void WipeReporting(const std::filesystem::path& path);
  QString FreePastedPictureName() const;
  // A new ".tmp" working-file path, advancing slideCounter.
  std::filesystem::path NextPictureFile();

  Parts parts_;
  DocumentState& document_;
  const Strings& strings_;
  Prompts& prompts_;
  QString lastPictureFolder_;
};

}  // namespace pivolane::editor
