#include "editor/document/document_dialogs.h"

#include <QFileInfo>

#include "editor/shell/file_filter.h"

namespace pivolane::editor {

QString DocumentDialogs::ChooseDocumentToOpen() {
  const QString filter = strings_.LoadMessage(130) + ".pvl" + ")|*" + ".pvl" + "|" +
                         strings_.LoadMessage(131) + "|*.*";
  const QString path = prompts_.ChooseFileToOpen(
      {strings_.LoadMessage(110), ParseDialogFilter(filter), StartFolder()});
  if (path.isEmpty()) return path;
  document_.docFileName = TakeFolderOf(path);
  return path;
}

QString DocumentDialogs::ChooseSaveName(const QString& name) {
  const QString path = prompts_.ChooseFileToSave(
      {strings_.LoadMessage(123), {{"*.*", {"*.*"}}}, StartFolder(), name});
  if (QFileInfo(path).fileName().isEmpty()) return QString();
  return TakeFolderOf(path);
}

QString DocumentDialogs::ChooseSelfRunningShow() {
  return prompts_.ChooseFileToOpen(
      {strings_.LoadMessage(110), ParseDialogFilter("*.exe|*.exe"), StartFolder()});
}

QString DocumentDialogs::StartFolder() const {
  // A document named on the command line has a folder before any dialog ran.
  return initialFolder_.isEmpty() ? document_.docFolder : initialFolder_;
}

QString DocumentDialogs::TakeFolderOf(const QString& path) {
  const QString fileName = QFileInfo(path).fileName();
  document_.docFolder = path.left(path.size() - fileName.size());
  initialFolder_ = document_.docFolder;
  return fileName;
}

}  // namespace pivolane::editor
