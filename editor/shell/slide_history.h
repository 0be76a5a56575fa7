// The undo history of the slide list. Every change to the list goes through
// it as a SlideEdit, and the show counts as modified exactly while the history
// is away from the state last saved (a change it does not hold, such as an
// option, keeps the show modified until the next save). The working file of a
// slide that only the history still holds (a deleted slide, an undone
// addition) stays, private, while an undo or redo can bring the slide back,
// and is wiped when the history lets it go.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include <QObject>
#include <QUndoStack>

#include "editor/document/document_state.h"
#include "editor/shell/slide_edit.h"
#include "editor/shell/slide_list.h"

namespace pivolane::editor {

class SlideHistory : public QObject {
  Q_OBJECT

 public:
  // Beyond that many steps the oldest is let go.
  static constexpr int kStepLimit = 100;

  // wipe removes a working file that nothing holds any more, reporting a
  // failure.
  SlideHistory(SlideList& list, DocumentState& document,
               std::function<void(const std::filesystem::path&)> wipe);
  ~SlideHistory() override;

  SlideList& list() { return list_; }
  const QUndoStack& stack() const { return stack_; }

  // Runs the edit and keeps it for undo; an edit without steps is dropped.
  void Push(std::unique_ptr<SlideEdit> edit);
  void Undo();
  void Redo();
  // Lets every step go: at New, Open and close.
  void Clear();
  // The show as it is now is the one saved.
  void MarkSaved();
  // A change outside the history: the show is modified until it is saved.
  void MarkChanged();
  // Whether a step keeps the working file under key.
  bool Holds(const QString& key) const { return held_.contains(key); }

  // For the edits: the files they keep, and their end.
  void Hold(const QString& key);
  void Release(const QString& key);
  void NotifyApplied(int selection, ViewRefresh refresh) { emit Applied(selection, refresh); }

 signals:
  // An edit ran or was undone; the slide at selection (1-based, 0 for none)
  // is to be selected.
  void Applied(int selection, ViewRefresh refresh);
  void CanUndoChanged(bool canUndo);
  void CanRedoChanged(bool canRedo);

 private:
  void FollowCleanState();

  SlideList& list_;
  DocumentState& document_;
  std::function<void(const std::filesystem::path&)> wipe_;
  // How many steps keep each working file.
  std::map<QString, int> held_;
  // Last, so that its steps let their files go while the rest still exists.
  QUndoStack stack_;
};

}  // namespace pivolane::editor
