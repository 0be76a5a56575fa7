// Files dragged from a file manager onto the slide list or the slide view.
// Only local files are taken, and always as a copy: a file manager asked to
// move them would otherwise delete the user's originals.
#pragma once

#include <QMimeData>
#include <QObject>
#include <QStringList>
#include <QWidget>

namespace pivolane::editor {

class FileDropTarget : public QObject {
  Q_OBJECT

 public:
  explicit FileDropTarget(QObject* parent = nullptr) : QObject(parent) {}

  // Takes the drops of files on widget (for a list, its viewport). Other
  // drags, such as one between slides, go on to the widget.
  void Watch(QWidget& widget);

 signals:
  // The local paths of a drop, in the order given.
  void FilesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The local files named by a drag; addresses of other kinds are left out.
QStringList DroppedLocalFiles(const QMimeData& data);

}  // namespace pivolane::editor
