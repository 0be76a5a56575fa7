// Where the main window places its controls and how a picture is fitted into
// the frame. Lengths are logical pixels.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pivolane::editor {

// The margin unit between controls.
inline constexpr int kMargin = 8;
// Width of the slide list, fixed by the window's design.
inline constexpr int kSlideListWidth = 200;

struct MainLayout {
  QRect slideList;
  QRect frame;
  // The picture control's place in the frame while no picture is shown.
  QRect defaultPictureBox;
  int statusPanelWidth = 0;
};

// The layout for the area between the toolbar and the status bar, in its
// coordinates. The frame is always 4:3: as wide as the window's width allows,
// unless the area's height bounds it first, so that no part of it ever hides
// under the status bar. An area too small for a frame keeps the frame's
// current size.
MainLayout ComputeMainLayout(QSize area, QSize currentFrameSize);

struct FittedPicture {
  QRect geometry;  // in the frame
  bool stretched = false;
};

// Never enlarges: a picture higher than the frame is shrunk to its height,
// then one still wider than the frame to its width, keeping the proportions;
// the result is centred in the whole frame.
FittedPicture FitPictureToFrame(QSize natural, QSize frame);

// Top-left corner that centres inner in outer.
QPoint CentreIn(QSize outer, QSize inner);

}  // namespace pivolane::editor
