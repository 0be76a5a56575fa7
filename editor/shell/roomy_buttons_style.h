// The desktop's widget style, with push buttons that keep some room around
// their text: the stock style leaves about four pixels on each side, so a
// long caption (a French one, say) touches the button's border.
#pragma once

#include <QProxyStyle>

namespace pivolane::editor {

class RoomyButtonsStyle : public QProxyStyle {
 public:
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                         const QWidget* widget) const override;
};

}  // namespace pivolane::editor
