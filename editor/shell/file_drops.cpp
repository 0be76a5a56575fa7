#include "editor/shell/file_drops.h"

#include <QDropEvent>
#include <QUrl>

namespace pivolane::editor {

QStringList DroppedLocalFiles(const QMimeData& data) {
  QStringList paths;
  for (const QUrl& url : data.urls()) {
    // "file://" alone is a local address of no file.
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths << url.toLocalFile();
  }
  return paths;
}

void FileDropTarget::Watch(QWidget& widget) {
  widget.setAcceptDrops(true);
  widget.installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return QObject::eventFilter(watched, event);
  }
  auto* drag = static_cast<QDropEvent*>(event);
  const QStringList paths = DroppedLocalFiles(*drag->mimeData());
  if (paths.isEmpty()) return QObject::eventFilter(watched, event);
  drag->setDropAction(Qt::CopyAction);
  drag->accept();
  if (type == QEvent::Drop) emit FilesDropped(paths);
  return true;
}

}  // namespace pivolane::editor
