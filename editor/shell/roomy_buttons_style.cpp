#include "editor/shell/roomy_buttons_style.h"

#include <algorithm>

#include <QStyleOption>

namespace pivolane::editor {

QSize RoomyButtonsStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                          const QSize& contentsSize, const QWidget* widget) const {
  QSize size = QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
  if (type == CT_PushButton && option != nullptr) {
    // Half a line's height on each side of the caption, as the usual desktop
    // themes give; short captions keep the style's own minimum width.
    const int roomy = contentsSize.width() + option->fontMetrics.height();
    size.setWidth(
        std::max(size.width(), roomy + 2 * pixelMetric(PM_DefaultFrameWidth, option, widget)));
  }
  return size;
}

}  // namespace pivolane::editor
