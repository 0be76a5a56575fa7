// For the duration of a long operation: the window is disabled, so that no
// second command starts meanwhile, and the pointer shows the wait cursor.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

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

// While a modal prompt is open inside long operations, the windows they
// disabled are enabled beneath it, and disabled again when it closes: a
// disabled window draws the user's pictures greyed out behind every question
// and final box. The prompt is modal, so no command starts from them meanwhile.
class BusyPause {
 public:
  BusyPause();
  ~BusyPause();
  BusyPause(const BusyPause&) = delete;
  BusyPause& operator=(const BusyPause&) = delete;

 private:
  std::vector<QPointer<QWidget>> paused_;
};

}  // namespace pivolane::editor
