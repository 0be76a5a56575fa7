#include "editor/shell/delay_control.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "editor/shell/slide_status.h"

namespace pivolane::editor {

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(18, 12);
  return button;
}

}  // namespace

DelayControl::DelayControl(const Strings& strings, QWidget* parent)
    : QWidget(parent),
      strings_(strings),
      txtDelai_(new QLineEdit(this)),
      upDown_(new QWidget(this)) {
  txtDelai_->setObjectName("txtDelai");
  txtDelai_->setReadOnly(true);
  txtDelai_->setFixedWidth(96);
  txtDelai_->setFocusPolicy(Qt::NoFocus);
  upDown_->setObjectName("UpDown1");
  upDown_->installEventFilter(this);

  auto* up = ArrowButton(Qt::UpArrow, upDown_);
  auto* down = ArrowButton(Qt::DownArrow, upDown_);
  connect(up, &QToolButton::clicked, this, [this] { SetValue(value_ + 1); });
  connect(down, &QToolButton::clicked, this, [this] { SetValue(value_ - 1); });

  auto* arrows = new QVBoxLayout(upDown_);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(up);
  arrows->addWidget(down);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 0, 4, 0);
  row->setSpacing(0);
  row->addWidget(txtDelai_);
  row->addWidget(upDown_);
  // Keeps the toolbar's buttons together instead of taking the spare width.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  SetSpinInTabOrder(false);
}

void DelayControl::SetValue(int seconds) {
  value_ = std::clamp(seconds, kMinimum, kMaximum);
  UpdateDelayText();
}

void DelayControl::UpdateDelayText() {
  txtDelai_->setText(DelayText(strings_, value_));
  QPalette colours = txtDelai_->palette();
  const QPalette system = QApplication::palette(txtDelai_);
  colours.setColor(QPalette::Base,
                   value_ == 0 ? system.color(QPalette::Button) : system.color(QPalette::Base));
  txtDelai_->setPalette(colours);
}

void DelayControl::SetSpinInTabOrder(bool inTabOrder) {
  upDown_->setFocusPolicy(inTabOrder ? Qt::StrongFocus : Qt::ClickFocus);
}

bool DelayControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == upDown_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      SetValue(value_ + (key == Qt::Key_Up ? 1 : -1));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pivolane::editor
