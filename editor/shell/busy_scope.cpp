#include "editor/shell/busy_scope.h"

#include <QApplication>

namespace pivolane::editor {

namespace {

// The number of long operations under way in a window.
constexpr char kBusyDepth[] = "pivolaneBusyDepth";

int BusyDepth(const QWidget& window) {
  return window.property(kBusyDepth).toInt();
}

}  // namespace

BusyScope::BusyScope(QWidget& window)
    : window_(window), wasEnabled_(window.isEnabled()), focus_(window.focusWidget()) {
  window_.setProperty(kBusyDepth, BusyDepth(window_) + 1);
  window_.setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyScope::~BusyScope() {
  QApplication::restoreOverrideCursor();
  window_.setProperty(kBusyDepth, BusyDepth(window_) - 1);
  // An enclosing operation keeps the window disabled until it ends itself.
  window_.setEnabled(wasEnabled_);
  if (wasEnabled_ && focus_ && focus_->isEnabled()) focus_->setFocus();
}

BusyPause::BusyPause() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (BusyDepth(*window) == 0 || window->isEnabled()) continue;
    window->setEnabled(true);
    paused_.emplace_back(window);
  }
}

BusyPause::~BusyPause() {
  for (const QPointer<QWidget>& window : paused_) {
    if (window && BusyDepth(*window) > 0) window->setEnabled(false);
  }
}

}  // namespace pivolane::editor
