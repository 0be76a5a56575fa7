#include "editor/shell/slide_list.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

#include "common/errors.h"

namespace pivolane::editor {

namespace {

constexpr int kKeyRole = Qt::UserRole;
// The title as it was before the user began typing a new one.
constexpr int kTitleRole = Qt::UserRole + 1;

// Sets a flag for the duration of a change.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = before_; }

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

SlideList::SlideList(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("TV");
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!changingSelection_) emit ItemClicked();
  });
  connect(this, &QTreeWidget::itemChanged, this, &SlideList::OnItemChanged);
}

void SlideList::OnItemChanged(QTreeWidgetItem* item) {
  if (changingSelection_) return;
  const QString before = item->data(0, kTitleRole).toString();
  if (item->text(0) == before) return;
  {
    FlagScope programChange(changingSelection_);
    item->setData(0, kTitleRole, item->text(0));
  }
  emit TitleEdited(IndexOf(item), before);
}

int SlideList::IndexOf(const QTreeWidgetItem* item) const {
  return indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) + 1;
}

QTreeWidgetItem* SlideList::SelectedSlide() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

int SlideList::SelectedIndex() const {
  const QTreeWidgetItem* selected = SelectedSlide();
  return selected == nullptr ? 0 : IndexOf(selected);
}

bool SlideList::HasKey(const QString& key) const {
  for (int i = 1; i <= Count(); ++i) {
    if (Key(Slide(i)) == key) return true;
  }
  return false;
}

QString SlideList::Key(const QTreeWidgetItem* item) {
  return item->data(0, kKeyRole).toString();
}

void SlideList::SetKey(QTreeWidgetItem* item, const QString& key) {
  item->setData(0, kKeyRole, key);
}

QTreeWidgetItem* SlideList::InsertSlide(int index, const QString& title, const QString& key) {
  if (HasKey(key)) {
    throw Failure(error_number::kInvalidArgument,
                  "The slide list already holds " + key.toStdString());
  }
  FlagScope programChange(changingSelection_);
  auto* item = new QTreeWidgetItem;
  item->setIcon(0, slideIcon_);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  Fill(item, title, key);
  insertTopLevelItem(index - 1, item);
  return item;
}

void SlideList::Fill(QTreeWidgetItem* item, const QString& title, const QString& key) {
  FlagScope programChange(changingSelection_);
  item->setText(0, title);
  item->setData(0, kTitleRole, title);
  SetKey(item, key);
}

void SlideList::SelectSlide(QTreeWidgetItem* item) {
  FlagScope programChange(changingSelection_);
  setCurrentItem(item);
  item->setSelected(true);
}

void SlideList::ClearSlideSelection() {
  FlagScope programChange(changingSelection_);
  clearSelection();
  setCurrentItem(nullptr);
}

void SlideList::ExchangeSlides(QTreeWidgetItem* a, QTreeWidgetItem* b) {
  const QString titleOfA = a->text(0);
  const QString keyOfA = Key(a);
  const QString titleOfB = b->text(0);
  const QString keyOfB = Key(b);
  Fill(a, titleOfB, keyOfB);
  Fill(b, titleOfA, keyOfA);
}

void SlideList::SetTitle(QTreeWidgetItem* item, const QString& title) {
  Fill(item, title, Key(item));
}

void SlideList::RemoveSlide(QTreeWidgetItem* item) {
  FlagScope programChange(changingSelection_);
  if (dragSource_ == item) dragSource_ = nullptr;
  if (dropHighlight_ == item) dropHighlight_ = nullptr;
  delete item;
}

void SlideList::RemoveAllSlides() {
  FlagScope programChange(changingSelection_);
  dragSource_ = nullptr;
  dropHighlight_ = nullptr;
  clear();
}

void SlideList::CommitTitleEditor() {
  if (committingTitle_ || state() != QAbstractItemView::EditingState) return;
  QWidget* editor = indexWidget(currentIndex());
  if (editor == nullptr) return;
  FlagScope committing(committingTitle_);
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void SlideList::EndDrop() {
  dragSource_ = nullptr;
  SetDropHighlight(nullptr);
}

void SlideList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState) {
    // A held key repeats: the repeats of an Escape that closed a dialog reach
    // the list once the dialog is gone, and must not clear the selection.
    if (!event->isAutoRepeat()) emit EscapePressed();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void SlideList::mousePressEvent(QMouseEvent* event) {
  dragSource_ = itemAt(event->position().toPoint());
  QTreeWidget::mousePressEvent(event);
}

bool SlideList::IsSlideDrag(const QDropEvent& event) const {
  return dragSource_ != nullptr && event.mimeData()->hasFormat(kDragFormat);
}

void SlideList::dragEnterEvent(QDragEnterEvent* event) {
  if (!IsSlideDrag(*event)) return event->ignore();
  event->acceptProposedAction();
}

void SlideList::dragMoveEvent(QDragMoveEvent* event) {
  if (!IsSlideDrag(*event)) return event->ignore();
  SetDropHighlight(itemAt(event->position().toPoint()));
  event->acceptProposedAction();
}

void SlideList::dragLeaveEvent(QDragLeaveEvent* event) {
  SetDropHighlight(nullptr);
  QTreeWidget::dragLeaveEvent(event);
}

void SlideList::dropEvent(QDropEvent* event) {
  if (!IsSlideDrag(*event)) return event->ignore();
  // Copy, never move: the view must not remove the dragged item afterwards.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit DropCompleted();
}

void SlideList::paintEvent(QPaintEvent* event) {
  QTreeWidget::paintEvent(event);
  if (dropHighlight_ == nullptr) return;
  QPainter painter(viewport());
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(visualItemRect(dropHighlight_).adjusted(1, 1, -1, -1));
}

QStringList SlideList::mimeTypes() const {
  return {kDragFormat};
}

QMimeData* SlideList::mimeData(const QList<QTreeWidgetItem*>&) const {
  // The list itself knows which slide is dragged.
  auto* data = new QMimeData;
  data->setData(kDragFormat, QByteArray());
  return data;
}

Qt::DropActions SlideList::supportedDropActions() const {
  return Qt::CopyAction;
}

void SlideList::SetDropHighlight(QTreeWidgetItem* item) {
  if (item == dropHighlight_) return;
  dropHighlight_ = item;
  viewport()->update();
}

}  // namespace pivolane::editor
