#include "editor/shell/slide_edit.h"

#include <ranges>

#include "editor/shell/slide_history.h"

namespace pivolane::editor {

SlideEdit::SlideEdit(SlideHistory& history, int selectionBefore, ViewRefresh refresh)
    : history_(history), selectionBefore_(selectionBefore), refresh_(refresh) {}

SlideEdit::~SlideEdit() {
  for (const QString& key : held_) history_.Release(key);
}

void SlideEdit::Hold(const QString& key) {
  history_.Hold(key);
  held_.push_back(key);
}

void SlideEdit::Insert(int index, const QString& title, const QString& key) {
  Hold(key);
  steps_.push_back({Kind::kInsert, index, 0, title, key, {}});
}

void SlideEdit::Remove(int index) {
  steps_.push_back({Kind::kRemove, index, 0, {}, {}, {}});
}

void SlideEdit::Exchange(int a, int b) {
  steps_.push_back({Kind::kExchange, a, b, {}, {}, {}});
}

void SlideEdit::Retitle(int index, const QString& before, const QString& after) {
  steps_.push_back({Kind::kRetitle, index, 0, after, {}, before});
}

void SlideEdit::redo() {
  for (Step& step : steps_) Run(step, true);
  history_.NotifyApplied(selectionAfter_, refresh_);
}

void SlideEdit::undo() {
  for (Step& step : steps_ | std::views::reverse) Run(step, false);
  history_.NotifyApplied(selectionBefore_, refresh_);
}

void SlideEdit::Run(Step& step, bool forward) {
  SlideList& list = history_.list();
  QTreeWidgetItem* slide = list.Slide(step.index);
  const auto putBack = [&] { list.InsertSlide(step.index, step.title, step.key); };
  switch (step.kind) {
    case Kind::kInsert:
      if (forward) {
        putBack();
      } else {
        list.RemoveSlide(slide);
      }
      return;
    case Kind::kRemove:
      if (!forward) return putBack();
      if (step.key.isEmpty()) {
        step.title = slide->text(0);
        step.key = SlideList::Key(slide);
        Hold(step.key);
      }
      list.RemoveSlide(slide);
      return;
    case Kind::kExchange:
      list.ExchangeSlides(slide, list.Slide(step.other));
      return;
    case Kind::kRetitle:
      list.SetTitle(slide, forward ? step.title : step.titleBefore);
      return;
  }
}

}  // namespace pivolane::editor
