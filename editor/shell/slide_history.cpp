#include "editor/shell/slide_history.h"

#include "common/io/file.h"

namespace pivolane::editor {

SlideHistory::SlideHistory(SlideList& list, DocumentState& document,
                           std::function<void(const std::filesystem::path&)> wipe)
    : list_(list), document_(document), wipe_(std::move(wipe)) {
  stack_.setUndoLimit(kStepLimit);
  connect(&stack_, &QUndoStack::indexChanged, this, &SlideHistory::FollowCleanState);
  connect(&stack_, &QUndoStack::cleanChanged, this, &SlideHistory::FollowCleanState);
  connect(&stack_, &QUndoStack::canUndoChanged, this, &SlideHistory::CanUndoChanged);
  connect(&stack_, &QUndoStack::canRedoChanged, this, &SlideHistory::CanRedoChanged);
}

SlideHistory::~SlideHistory() {
  disconnect(&stack_, nullptr, this, nullptr);
  stack_.clear();
}

void SlideHistory::Push(std::unique_ptr<SlideEdit> edit) {
  if (!edit->HasSteps()) return;
  list_.CommitTitleEditor();
  stack_.push(edit.release());
}

void SlideHistory::Undo() {
  list_.CommitTitleEditor();
  stack_.undo();
}

void SlideHistory::Redo() {
  list_.CommitTitleEditor();
  stack_.redo();
}

void SlideHistory::Clear() {
  stack_.clear();
  document_.documentModified = false;
}

void SlideHistory::MarkSaved() {
  stack_.setClean();
  document_.documentModified = false;
}

void SlideHistory::MarkChanged() {
  stack_.resetClean();
  document_.documentModified = true;
}

void SlideHistory::FollowCleanState() {
  document_.documentModified = !stack_.isClean();
}

void SlideHistory::Hold(const QString& key) {
  ++held_[key];
}

void SlideHistory::Release(const QString& key) {
  const auto held = held_.find(key);
  if (held == held_.end() || --held->second > 0) return;
  held_.erase(held);
  const std::filesystem::path path(key.toStdString());
  if (!list_.HasKey(key) && io::Exists(path)) wipe_(path);
}

}  // namespace pivolane::editor
