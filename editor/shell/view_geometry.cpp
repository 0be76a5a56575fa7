#include "editor/shell/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace pivolane::editor {

MainLayout ComputeMainLayout(QSize area, QSize currentFrameSize) {
  MainLayout layout;
  const int top = kMargin;
  const int widthBound = area.width() - kSlideListWidth - 7 * kMargin;
  const int heightBound = area.height() - top - kMargin;
  // Three quarters of a width of at most 4/3 of the height bound stay within it.
  const int frameWidth = std::min(widthBound, heightBound * 4 / 3);
  const bool fits = frameWidth * 3 / 4 > 0;
  const int width = fits ? frameWidth : currentFrameSize.width();
  const int height = fits ? frameWidth * 3 / 4 : currentFrameSize.height();
  layout.frame = QRect(kSlideListWidth + 4 * kMargin, top, width, height);

  const int boxHeight = static_cast<int>(std::lround(0.9 * height));
  const int boxWidth = static_cast<int>(std::lround(0.9 * width));
  layout.defaultPictureBox =
      QRect(CentreIn(QSize(width, height), QSize(boxWidth, boxHeight)), QSize(boxWidth, boxHeight));

  layout.slideList = QRect(kMargin, top, kSlideListWidth, height);
  layout.statusPanelWidth = kSlideListWidth + kMargin;
  return layout;
}

FittedPicture FitPictureToFrame(QSize natural, QSize frame) {
  FittedPicture fitted;
  double height = natural.height();
  double width = natural.width();
  if (height > frame.height()) {
    fitted.stretched = true;
    width *= frame.height() / height;
    height = frame.height();
  }
  if (width > frame.width()) {
    fitted.stretched = true;
    height *= frame.width() / width;
    width = frame.width();
  }
  const QSize size(static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
  fitted.geometry = QRect(CentreIn(frame, size), size);
  return fitted;
}

QPoint CentreIn(QSize outer, QSize inner) {
  return {(outer.width() - inner.width()) / 2, (outer.height() - inner.height()) / 2};
}

}  // namespace pivolane::editor
