// The slide list TV: one top-level item per slide, in show order. An item's
// text is the slide's title and its key is the path of the slide's working
// picture file. Dragging one slide onto another exchanges the two.
#pragma once

#include <QIcon>
#include <QTreeWidget>

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
  // Its 1-based position; 0 when none is selected.
  int SelectedIndex() const;
  bool HasKey(const QString& key) const;

  static QString Key(const QTreeWidgetItem* item);
  static void SetKey(QTreeWidgetItem* item, const QString& key);

  // Puts a slide at position index (1 to Count() + 1); a key that the list
  // already holds is refused with a Failure.
  QTreeWidgetItem* InsertSlide(int index, const QString& title, const QString& key);
  QTreeWidgetItem* AppendSlide(const QString& title, const QString& key) {
    return InsertSlide(Count() + 1, title, key);
  }
  // These change the list without raising ItemClicked or TitleEdited.
  void SelectSlide(QTreeWidgetItem* item);
  void ClearSlideSelection();
  // Exchanges the titles and keys of a and b: each slide's title and picture
  // move together; the items stay in place.
  void ExchangeSlides(QTreeWidgetItem* a, QTreeWidgetItem* b);
  void SetTitle(QTreeWidgetItem* item, const QString& title);
  void RemoveSlide(QTreeWidgetItem* item);
  void RemoveAllSlides();
  // A title being typed is kept, and its editor closed, before the program
  // changes the list under it.
  void CommitTitleEditor();

  // The item under the pointer when a mouse button last went down.
  QTreeWidgetItem* dragSource() const { return dragSource_; }
  // The item highlighted as drop place, or nullptr.
  QTreeWidgetItem* dropHighlight() const { return dropHighlight_; }
  void EndDrop();

 signals:
  // The user changed the selection.
  void ItemClicked();
  // The user gave the slide at index (1-based) a new title; it was before.
  void TitleEdited(int index, const QString& before);
  void EscapePressed();
  // A drag between slides ended; dropHighlight() is the target.
  void DropCompleted();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
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
  // The title and key of a slide, as the program sets them.
  void Fill(QTreeWidgetItem* item, const QString& title, const QString& key);
  void OnItemChanged(QTreeWidgetItem* item);

  QIcon slideIcon_;
  QTreeWidgetItem* dragSource_ = nullptr;
  QTreeWidgetItem* dropHighlight_ = nullptr;
  // Selection changes made by the program itself are not user clicks, nor
  // are its title changes the user's renaming.
  bool changingSelection_ = false;
  bool committingTitle_ = false;
};

}  // namespace pivolane::editor
