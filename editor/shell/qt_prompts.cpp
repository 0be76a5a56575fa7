#include "editor/shell/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace pivolane::editor {

namespace {

// Long operations show the wait cursor and disable the main window while they
// ask; a prompt has no owner window (a disabled owner would disable it too)
// and shows the normal pointer for as long as it is open.
class NormalPointer {
 public:
  NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~NormalPointer() { QApplication::restoreOverrideCursor(); }
};

QMessageBox::Icon BoxIcon(PromptMessage::Icon icon) {
  switch (icon) {
    case PromptMessage::Icon::kInformation: return QMessageBox::Information;
    case PromptMessage::Icon::kExclamation: return QMessageBox::Warning;
    case PromptMessage::Icon::kQuestion: return QMessageBox::Question;
    case PromptMessage::Icon::kCritical: return QMessageBox::Critical;
    case PromptMessage::Icon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(PromptMessage::Buttons buttons) {
  switch (buttons) {
    case PromptMessage::Buttons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptMessage::Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptMessage::Buttons::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptMessage::Buttons::kOk: break;
  }
  return QMessageBox::Ok;
}

PromptAnswer AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Ok: return PromptAnswer::kOk;
    case QMessageBox::Yes: return PromptAnswer::kYes;
    case QMessageBox::No: return PromptAnswer::kNo;
    case QMessageBox::Retry: return PromptAnswer::kRetry;
    default: return PromptAnswer::kCancel;
  }
}

// "*.*" means every file here, also those without an extension.
QString QtNameFilter(const FileFilter& filter) {
  QStringList patterns;
  for (const QString& pattern : filter.patterns) patterns << (pattern == "*.*" ? "*" : pattern);
  return filter.description + " (" + patterns.join(' ') + ")";
}

}  // namespace

PromptAnswer QtPrompts::Ask(const PromptMessage& message) {
  NormalPointer pointer;
  QMessageBox box(BoxIcon(message.icon), message.title, message.text, BoxButtons(message.buttons));
  return AnswerOf(box.exec());
}

QStringList QtPrompts::ChooseFilesToOpen(const OpenFilesRequest& request) {
  NormalPointer pointer;
  QStringList filters;
  for (const FileFilter& filter : request.filters) filters << QtNameFilter(filter);
  // The descriptions already show their patterns.
  return QFileDialog::getOpenFileNames(nullptr, request.title, request.startFolder,
                                       filters.join(";;"), nullptr,
                                       QFileDialog::HideNameFilterDetails);
}

}  // namespace pivolane::editor
