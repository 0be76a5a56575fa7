#include "editor/shell/slide_display.h"

#include <QFileInfo>

#include "editor/shell/slide_status.h"

namespace pivolane::editor {

void SlideDisplay::ShowSelectedSlide() {
  const QTreeWidgetItem* selected = list_.SelectedSlide();
  if (selected == nullptr) {
    ClearSlideView();
    ShowSlideStatus();
    return;
  }
  // The picture's own size, whatever size it was decoded at.
  ShowSlideStatus(view_.LoadPicture(SlideList::Key(selected)));
  view_.FitPictureToFrame();
  view_.image().show();
}

void SlideDisplay::ShowSlideStatus(QSize dimensions) {
  const QTreeWidgetItem* selected = list_.SelectedSlide();
  const QFileInfo workingFile(selected != nullptr ? SlideList::Key(selected) : QString());
  if (selected == nullptr || !workingFile.isFile()) {
    statusPanel_.clear();
    return;
  }
  statusPanel_.setText(SlideStatusText(strings_, list_.IndexOf(selected), list_.Count(),
                                       static_cast<std::uint64_t>(workingFile.size()), dimensions));
}

}  // namespace pivolane::editor
