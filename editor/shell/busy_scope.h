// For the duration of a long operation: the window is disabled, so that no
// second command starts meanwhile, and the pointer shows the wait cursor.
#pragma once

#include <QPointer>
#include <QWidget>

namespace pivolane::editor {

class BusyScope {
 public:
  explicit BusyScope(QWidget& window);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QWidget& window_;
  bool wasEnabled_;
  // Disabling the window takes the keyboard focus away; it goes back.
  QPointer<QWidget> focus_;
};

}  // namespace pivolane::editor
