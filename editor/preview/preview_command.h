// The Show command (mnuVisionner): the open show in the preview window, on
// the screen that holds the editor, until the preview ends and the editor
// comes back as it was.
#pragma once

#include <QPointer>

#include "editor/preview/frm_dia.h"
#include "editor/shell/delay_control.h"
#include "editor/shell/main_menu.h"
#include "editor/shell/slide_list.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// The slides, options and delay as the editor holds them now.
PreviewShow ReadPreviewShow(const SlideList& list, const MainMenu& menu, const DelayControl& delay);

class PreviewCommand {
 public:
  struct Parts {
    QWidget& window;
    const SlideList& list;
    const MainMenu& menu;
    const DelayControl& delay;
  };

  PreviewCommand(const Parts& parts, const Strings& strings) : parts_(parts), strings_(strings) {}

  // Opens FrmDia modally over the editor and starts the show.
  void mnuVisionner_Click();
  // The preview on screen, or nullptr.
  FrmDia* preview() const { return preview_; }

 private:
  // The editor's window is active again, its focus where it was.
  void OnPreviewClosed();

  Parts parts_;
  const Strings& strings_;
  QPointer<FrmDia> preview_;
  QPointer<QWidget> focus_;
};

}  // namespace pivolane::editor
