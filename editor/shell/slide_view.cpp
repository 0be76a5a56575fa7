#include "editor/shell/slide_view.h"

#include <QMouseEvent>
#include <QPixmap>

#include "editor/shell/view_geometry.h"

namespace pivolane::editor {

SlideView::SlideView(QWidget* parent)
    : QFrame(parent),
      image_(new QLabel(this)),
      clickHere_(new QLabel(this)),
      error_(new QLabel(this)) {
  setObjectName("frImg");
  setFrameShape(QFrame::StyledPanel);
  image_->setObjectName("Image1");
  clickHere_->setObjectName("lblCliquez");
  error_->setObjectName("lblErreur");
  clickHere_->setCursor(Qt::PointingHandCursor);
  error_->setStyleSheet("color: #c0392b; font-weight: bold;");
  error_->hide();
  image_->installEventFilter(this);
  clickHere_->installEventFilter(this);
}

void SlideView::ApplyLayout(const QRect& frame, const QRect& defaultPictureBox) {
  setGeometry(frame);
  defaultPictureBox_ = defaultPictureBox;
  if (HasPicture()) {
    FitPictureToFrame();
  } else {
    image_->setGeometry(defaultPictureBox_);
  }
  CentreLabels();
}

QSize SlideView::LoadPicture(const QString& path) {
  image_->hide();
  image_->setToolTip(QString());
  image_->setScaledContents(false);
  error_->hide();

  if (!picture_.Load(path, size() * devicePixelRatioF())) {
    image_->clear();
    image_->resize(0, 0);
    error_->show();
    return image_->size();
  }
  image_->setPixmap(picture_.pixmap());
  image_->resize(picture_.pixmap().size());
  return picture_.naturalSize();
}

bool SlideView::HasPicture() const {
  return !image_->pixmap().isNull();
}

void SlideView::FitPictureToFrame() {
  clickHere_->hide();
  if (!HasPicture()) {
    ClearSlideView();
    clickHere_->setVisible(error_->isHidden());
    return;
  }
  // From the natural size, so that a larger frame shows the picture larger again.
  const FittedPicture fitted = editor::FitPictureToFrame(picture_.naturalSize(), size());
  if (picture_.DecodeFor(fitted.geometry.size() * devicePixelRatioF())) {
    image_->setPixmap(picture_.pixmap());
  }
  image_->setScaledContents(fitted.stretched);
  image_->setGeometry(fitted.geometry);
}

void SlideView::ClearSlideView() {
  image_->clear();
  picture_.Clear();
  clickHere_->show();
  image_->setToolTip(QString());
  image_->setGeometry(defaultPictureBox_);
}

void SlideView::CentreLabels() {
  clickHere_->adjustSize();
  error_->adjustSize();
  clickHere_->move(CentreIn(size(), clickHere_->size()));
  error_->move(clickHere_->pos());
}

void SlideView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit InsertRequested();
}

bool SlideView::eventFilter(QObject* watched, QEvent* event) {
  const bool imageDoubleClick = watched == image_ && event->type() == QEvent::MouseButtonDblClick;
  const bool labelClick = watched == clickHere_ && event->type() == QEvent::MouseButtonRelease;
  if ((imageDoubleClick || labelClick) &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    emit InsertRequested();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace pivolane::editor
