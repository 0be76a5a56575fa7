// The keys of the slide list that the main window handles too.
#pragma once

#include <QKeyEvent>

namespace pivolane::editor {

// The keys the list and the main window share.
enum class ListKey { kNone, kDelete, kMoveUp, kMoveDown };

// Delete, Ctrl+Up and Ctrl+Down act once, when the key is released. Ctrl
// counts when it was held as the arrow went down, whichever of the two keys
// is let go first.
class ListKeyTracker {
 public:
  // True for a Ctrl+arrow press, which must not reach the list's navigation.
  bool OnPress(const QKeyEvent& event);
  ListKey OnRelease(const QKeyEvent& event);

 private:
  int pendingArrow_ = 0;
};

}  // namespace pivolane::editor
