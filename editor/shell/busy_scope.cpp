#include "editor/shell/busy_scope.h"

#include <QApplication>

namespace pivolane::editor {

BusyScope::BusyScope(QWidget& window)
    : window_(window), wasEnabled_(window.isEnabled()), focus_(window.focusWidget()) {
  window_.setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyScope::~BusyScope() {
  QApplication::restoreOverrideCursor();
  // An enclosing operation keeps the window disabled until it ends itself.
  window_.setEnabled(wasEnabled_);
  if (wasEnabled_ && focus_ && focus_->isEnabled()) focus_->setFocus();
}

}  // namespace pivolane::editor
