#include "editor/shell/command_line.h"

#include <QFileInfo>

#include "common/errors.h"

namespace pivolane::editor {

namespace {
constexpr int kBadFileName = 52;
}

QString CommandLineText(const QStringList& arguments) {
  return arguments.mid(1).join(' ');
}

CommandLineDocument ResolveCommandLineDocument(const QString& text) {
  if (text.contains('"')) throw Failure(kBadFileName, "Bad file name or number");
  const QFileInfo file(text);
  CommandLineDocument document;
  if (file.isFile()) document.fileName = file.fileName();
  document.folder = text.left(text.size() - document.fileName.size());
  return document;
}

}  // namespace pivolane::editor
