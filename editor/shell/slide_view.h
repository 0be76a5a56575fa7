// The frame frImg on the right of the main window: the selected slide's
// picture Image1, the label lblCliquez of the empty view and the label
// lblErreur of an unreadable picture.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QRect>

#include "editor/shell/picture_reader.h"

namespace pivolane::editor {

class SlideView : public QFrame {
  Q_OBJECT

 public:
  explicit SlideView(QWidget* parent = nullptr);

  QLabel& image() { return *image_; }
  QLabel& clickHereLabel() { return *clickHere_; }
  QLabel& errorLabel() { return *error_; }

  // Places the frame; defaultPictureBox is where the picture control returns
  // when the view is emptied. A picture on view is fitted again.
  void ApplyLayout(const QRect& frame, const QRect& defaultPictureBox);

  // Loads the picture, stretching off, decoded no larger than the frame
  // shows it; returns its natural size. An unreadable file empties the
  // picture control, shows lblErreur and gives its size, 0 x 0.
  QSize LoadPicture(const QString& path);
  bool HasPicture() const;
  // Shrinks a picture larger than the frame and centres it.
  void FitPictureToFrame();
  // Removes the picture and shows lblCliquez.
  void ClearSlideView();
  // lblCliquez in the middle of the frame, lblErreur at the same place.
  void CentreLabels();

 signals:
  // A double-click on the frame or the picture, a click on lblCliquez.
  void InsertRequested();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* image_;
  QLabel* clickHere_;
  QLabel* error_;
  QRect defaultPictureBox_;
  // The picture on view; fitting starts from its natural size.
  ShownPicture picture_;
};

}  // namespace pivolane::editor
