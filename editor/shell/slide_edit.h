// One undoable change to the slide list: steps run in order on the list, with
// the selection before and after them. Every kind of change (adding, pasting,
// dropping, deleting, moving, dragging, renaming) is made of the same steps.
#pragma once

#include <vector>

#include <QString>
#include <QUndoCommand>

namespace pivolane::editor {

class SlideHistory;

// What the view does once an edit has run or been undone: load the selected
// slide's picture, or only describe it when the selected place still holds
// the picture on view.
enum class ViewRefresh { kShow, kDescribe };

class SlideEdit : public QUndoCommand {
 public:
  // selectionBefore: 1-based, 0 for none.
  SlideEdit(SlideHistory& history, int selectionBefore, ViewRefresh refresh);
  // The working files of slides that this edit alone kept are wiped.
  ~SlideEdit() override;
  SlideEdit(const SlideEdit&) = delete;
  SlideEdit& operator=(const SlideEdit&) = delete;

  // The steps; positions are 1-based, as the list is when the step runs.
  void Insert(int index, const QString& title, const QString& key);
  // The slide's title and key are taken when the step first runs, so that a
  // title typed just before counts.
  void Remove(int index);
  void Exchange(int a, int b);
  void Retitle(int index, const QString& before, const QString& after);
  void SelectAfter(int index) { selectionAfter_ = index; }
  bool HasSteps() const { return !steps_.empty(); }

  void redo() override;
  void undo() override;

 private:
  enum class Kind { kInsert, kRemove, kExchange, kRetitle };
  struct Step {
    Kind kind;
    int index;
    int other = 0;        // kExchange: the other place
    QString title;        // kInsert, kRemove: the slide's; kRetitle: the new one
    QString key;          // kInsert, kRemove
    QString titleBefore;  // kRetitle
  };
  void Run(Step& step, bool forward);
  void Hold(const QString& key);

  SlideHistory& history_;
  std::vector<Step> steps_;
  // The working files this edit keeps while it can bring their slides back.
  std::vector<QString> held_;
  int selectionBefore_;
  int selectionAfter_ = 0;
  ViewRefresh refresh_;
};

}  // namespace pivolane::editor
