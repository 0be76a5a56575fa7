// The slide list TV: one top-level item per slide, in show order. An item's
// text is the slide's title and its key is the path of the slide's working
// picture file. Dragging one slide onto another exchanges the two.
#pragma once

#include <QIcon>
#include <QTreeWidget>

#include "editor/shell/list_keys.h"

namespace pivolane::editor {

class SlideList : public QTreeWidget {
  Q_OBJECT

 public:
  // The format of a drag between two slides of the list.
  static constexpr const char* kDragFormat = "application/x-pivolane-slide";

  explicit SlideList(QWidget* parent = nullptr);

  // "Diapo", and "Diaposelect" while selected.
  void SetSlideIcon(const QIcon& icon) { slideIcon_ = icon; }

  int Count() const { return topLevelItemCount(); }
  QTreeWidgetItem* Slide(int index) const { return topLevelItem(index - 1); }
  // 1-based position.
  int IndexOf(const QTreeWidgetItem* item) const;
  // The selected slide, or nullptr.
  QTreeWidgetItem* SelectedSlide() const;
  bool HasKey(const QString& key) const;

  static QString Key(const QTreeWidgetItem* item);
  static void SetKey(QTreeWidgetItem* item, const QString& key);

  // Appends a slide; a key that the list already holds is refused with a Failure.
  QTreeWidgetItem* AppendSlide(const QString& title, const QString& key);
  // These change the list without raising ItemClicked.
  void SelectSlide(QTreeWidgetItem* item);
  void ClearSlideSelection();
  // Exchanges the titles and keys of a and b (each slide's title and picture
  // move together; the items stay in place) and selects b.
  void ExchangeSlides(QTreeWidgetItem* a, QTreeWidgetItem* b);
  // Removes the slide; the selection moves to a neighbour.
  void RemoveSlide(QTreeWidgetItem* item);
  void RemoveAllSlides();

  // The item under the pointer when a mouse button last went down.
  QTreeWidgetItem* dragSource() const { return dragSource_; }
  // The item highlighted as drop place, or nullptr.
  QTreeWidgetItem* dropHighlight() const { return dropHighlight_; }
  void EndDrop();

 signals:
  // The user changed the selection.
  void ItemClicked();
  void TitleEdited();
  void DeleteReleased();
  void MoveUpReleased();
  void MoveDownReleased();
  void EscapePressed();
  // A drag between slides ended; dropHighlight() is the target.
  void DropCompleted();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
  Qt::DropActions supportedDropActions() const override;

 private:
  void SetDropHighlight(QTreeWidgetItem* item);
  bool IsSlideDrag(const QDropEvent& event) const;

  ListKeyTracker keys_;
  QIcon slideIcon_;
  QTreeWidgetItem* dragSource_ = nullptr;
  QTreeWidgetItem* dropHighlight_ = nullptr;
  // Selection changes made by the program itself are not user clicks.
  bool changingSelection_ = false;
};

}  // namespace pivolane::editor
