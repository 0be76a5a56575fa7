#include "editor/preview/preview_command.h"

#include <QScreen>

namespace pivolane::editor {

PreviewShow ReadPreviewShow(const SlideList& list, const MainMenu& menu,
                            const DelayControl& delay) {
  PreviewShow show;
  for (int index = 1; index <= list.Count(); ++index) {
    const QTreeWidgetItem* slide = list.Slide(index);
    show.slides.push_back({slide->text(0), SlideList::Key(slide)});
  }
  show.loop = menu.mnuEnBoucle->isChecked();
  show.random = menu.mnuAleatoire->isChecked();
  show.titles = menu.mnuAfficherTitre->isChecked();
  show.delaySeconds = delay.value();
  return show;
}

void PreviewCommand::mnuVisionner_Click() {
  if (preview_) return;
  focus_ = parts_.window.focusWidget();
  auto* preview =
      new FrmDia(ReadPreviewShow(parts_.list, parts_.menu, parts_.delay), strings_, &parts_.window);
  preview_ = preview;
  QObject::connect(preview, &FrmDia::Closed, &parts_.window, [this] { OnPreviewClosed(); });
  // The whole screen that holds the editor, less the desktop's panels.
  preview->setGeometry(parts_.window.screen()->availableGeometry());
  preview->Start();
  if (!preview_ || preview_->playback().Ended()) {
    // A show without slides: over before it was seen.
    OnPreviewClosed();
    return;
  }
  preview->showMaximized();
  preview->activateWindow();
}

void PreviewCommand::OnPreviewClosed() {
  if (preview_) preview_->deleteLater();
  preview_.clear();
  parts_.window.activateWindow();
  parts_.window.raise();
  if (focus_) focus_->setFocus();
}

}  // namespace pivolane::editor
