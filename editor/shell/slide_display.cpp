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
  view_.LoadPicture(SlideList::Key(selected));
  ShowSlideStatus();
  view_.FitPictureToFrame();
  view_.image().show();
}

void SlideDisplay::ShowSlideStatus() {
  const QTreeWidgetItem* selected = list_.SelectedSlide();
  const QFileInfo workingFile(selected != nullptr ? SlideList::Key(selected) : QString());
  if (selected == nullptr || !workingFile.isFile()) {
    statusPanel_.clear();
    return;
  }
  statusPanel_.setText(SlideStatusText(strings_, list_.IndexOf(selected), list_.Count(),
                                       static_cast<std::uint64_t>(workingFile.size()),
                                       view_.image().size()));
}

}  // namespace pivolane::editor
