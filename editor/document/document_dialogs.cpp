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

namespace {

// The filters of the save-as dialog: everything, then the web page.
constexpr std::size_t kProgramFilter = 0;
constexpr std::size_t kWebPageFilter = 1;

}  // namespace

QString DocumentDialogs::ChooseSaveName(const QString& name) {
  return TakeSavedName(
      prompts_
          .ChooseFileToSave({strings_.LoadMessage(123), {{"*.*", {"*.*"}}}, StartFolder(), name})
          .path);
}

std::optional<ChosenShowName> DocumentDialogs::ChooseShowName(const QString& name) {
  const bool webPage = format::FormOfName(name.toStdString()) == format::ShowForm::kWebPage;
  const SaveChoice choice = prompts_.ChooseFileToSave(
      {strings_.LoadMessage(123),
       {{"*.*", {"*.*"}}, {strings_.LoadMessage(143), {"*.html", "*.htm"}}},
       StartFolder(),
       name,
       webPage ? kWebPageFilter : kProgramFilter});
  const QString fileName = TakeSavedName(choice.path);
  if (fileName.isEmpty()) return std::nullopt;
  return ChosenShowName{fileName, choice.filter == kWebPageFilter ? format::ShowForm::kWebPage
                                                                  : format::ShowForm::kProgram};
}

QString DocumentDialogs::ChooseSelfRunningShow() {
  return prompts_.ChooseFileToOpen({strings_.LoadMessage(110),
                                    ParseDialogFilter("*.exe;*.html;*.htm|*.exe;*.html;*.htm"),
                                    StartFolder()});
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

QString DocumentDialogs::TakeSavedName(const QString& path) {
  return QFileInfo(path).fileName().isEmpty() ? QString() : TakeFolderOf(path);
}

}  // namespace pivolane::editor
