// The delay between slides in the toolbar: the text box txtDelai and the
// spin control UpDown1, whole seconds from 0 (manual advance) to 255.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include "editor/strings/string_table.h"

namespace pivolane::editor {

class DelayControl : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinimum = 0;
  static constexpr int kMaximum = 255;

  explicit DelayControl(const Strings& strings, QWidget* parent = nullptr);

  int value() const { return value_; }
  // Clamped to 0..255; the text follows.
  void SetValue(int seconds);

  QLineEdit& textBox() { return *txtDelai_; }
  QWidget& spinControl() { return *upDown_; }

  // The delay text: on the normal text-box background, or "Manual" on the
  // button-face background for 0.
  void UpdateDelayText();
  // Whether the spin control is in the keyboard tab order.
  void SetSpinInTabOrder(bool inTabOrder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const Strings& strings_;
  QLineEdit* txtDelai_;
  QWidget* upDown_;
  int value_ = 3;
};

}  // namespace pivolane::editor
