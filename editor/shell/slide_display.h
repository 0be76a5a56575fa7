// Shows the selected slide in the frame and describes it in the status bar.
#pragma once

#include <QLabel>

#include "editor/shell/slide_list.h"
#include "editor/shell/slide_view.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

class SlideDisplay {
 public:
  SlideDisplay(const SlideList& list, SlideView& view, QLabel& statusPanel, const Strings& strings)
      : list_(list), view_(view), statusPanel_(statusPanel), strings_(strings) {}

  // Loads the selected slide's picture, describes it while it has its natural
  // size, then fits it into the frame. An unreadable picture shows the error
  // label and the status bar still describes the slide.
  void ShowSelectedSlide();
  // Index, count, file size and the picture's size as shown; empty when no
  // slide is selected or its working file is gone.
  void ShowSlideStatus() { ShowSlideStatus(view_.image().size()); }
  void ClearSlideView() { view_.ClearSlideView(); }

 private:
  // The same with the picture's dimensions given.
  void ShowSlideStatus(QSize dimensions);

  const SlideList& list_;
  SlideView& view_;
  QLabel& statusPanel_;
  const Strings& strings_;
};

}  // namespace pivolane::editor
