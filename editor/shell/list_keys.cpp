#include "editor/shell/list_keys.h"

namespace pivolane::editor {

bool ListKeyTracker::OnPress(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const bool ctrlArrow = (event.key() == Qt::Key_Up || event.key() == Qt::Key_Down) &&
                         modifiers == Qt::ControlModifier;
  if (ctrlArrow) pendingArrow_ = event.key();
  return ctrlArrow;
}

ListKey ListKeyTracker::OnRelease(const QKeyEvent& event) {
  if (event.isAutoRepeat()) return ListKey::kNone;
  if (event.key() == Qt::Key_Delete) return ListKey::kDelete;
  if (event.key() != pendingArrow_ || pendingArrow_ == 0) return ListKey::kNone;
  pendingArrow_ = 0;
  return event.key() == Qt::Key_Up ? ListKey::kMoveUp : ListKey::kMoveDown;
}

}  // namespace pivolane::editor
