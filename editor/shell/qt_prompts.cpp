#include "editor/shell/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "editor/document/frm_def_mpasse.h"
#include "editor/document/frm_lit_mpasse.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/file_filter.h"

namespace pivolane::editor {

namespace {

// Long operations show the wait cursor and disable the main window while they
// ask; a prompt has no owner window (a disabled owner would disable it too),
// shows the normal pointer and the window beneath as usual for as long as it
// is open.
class NormalPointer {
 public:
  NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~NormalPointer() { QApplication::restoreOverrideCursor(); }
  NormalPointer(const NormalPointer&) = delete;
  NormalPointer& operator=(const NormalPointer&) = delete;

 private:
  BusyPause pause_;
};

QMessageBox::Icon BoxIcon(PromptMessage::Icon icon) {
  switch (icon) {
    case PromptMessage::Icon::kInformation:
      return QMessageBox::Information;
    case PromptMessage::Icon::kExclamation:
      return QMessageBox::Warning;
    case PromptMessage::Icon::kQuestion:
      return QMessageBox::Question;
    case PromptMessage::Icon::kCritical:
      return QMessageBox::Critical;
    case PromptMessage::Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(PromptMessage::Buttons buttons) {
  switch (buttons) {
    case PromptMessage::Buttons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptMessage::Buttons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case PromptMessage::Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptMessage::Buttons::kRetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptMessage::Buttons::kOk:
      break;
  }
  return QMessageBox::Ok;
}

PromptAnswer AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return PromptAnswer::kOk;
    case QMessageBox::Yes:
      return PromptAnswer::kYes;
    case QMessageBox::No:
      return PromptAnswer::kNo;
    case QMessageBox::Retry:
      return PromptAnswer::kRetry;
    default:
      return PromptAnswer::kCancel;
  }
}

enum class PatternCase { kAny, kAsWritten };

// "*.*" means every file here, also those without an extension. Names to
// open match in any case, whichever dialog the desktop provides; a name to
// save keeps its patterns as written, since the dialog gives a typed name the
// extension of the filter picked.
QString QtNameFilter(const FileFilter& filter, PatternCase patternCase = PatternCase::kAny) {
  QStringList patterns;
  for (const QString& pattern : filter.patterns) {
    const bool anyCase = patternCase == PatternCase::kAny && pattern != "*.*";
    patterns << (pattern == "*.*" ? "*" : anyCase ? AnyCasePattern(pattern) : pattern);
  }
  return filter.description + " (" + patterns.join(' ') + ")";
}

QStringList QtNameFilterList(const std::vector<FileFilter>& filters,
                             PatternCase patternCase = PatternCase::kAny) {
  QStringList names;
  for (const FileFilter& filter : filters) names << QtNameFilter(filter, patternCase);
  return names;
}

QString QtNameFilters(const std::vector<FileFilter>& filters) {
  return QtNameFilterList(filters).join(";;");
}

// The filter that a dialog reports as picked: with its patterns, or as it
// shows it without them.
std::size_t PickedFilter(const std::vector<FileFilter>& filters, const QString& picked) {
  for (std::size_t i = 0; i < filters.size(); ++i) {
    if (picked == QtNameFilter(filters[i], PatternCase::kAsWritten) ||
        picked == filters[i].description)
      return i;
  }
  return 0;
}

}  // namespace

PromptAnswer QtPrompts::Ask(const PromptMessage& message) {
  NormalPointer pointer;
  QMessageBox box(BoxIcon(message.icon), message.title, message.text, BoxButtons(message.buttons));
  return AnswerOf(box.exec());
}

// The descriptions already show their patterns.
QStringList QtPrompts::ChooseFilesToOpen(const OpenFilesRequest& request) {
  NormalPointer pointer;
  return QFileDialog::getOpenFileNames(nullptr, request.title, request.startFolder,
                                       QtNameFilters(request.filters), nullptr,
                                       QFileDialog::HideNameFilterDetails);
}

QString QtPrompts::ChooseFileToOpen(const OpenFilesRequest& request) {
  NormalPointer pointer;
  return QFileDialog::getOpenFileName(nullptr, request.title, request.startFolder,
                                      QtNameFilters(request.filters), nullptr,
                                      QFileDialog::HideNameFilterDetails);
}

SaveChoice QtPrompts::ChooseFileToSave(const SaveFileRequest& request) {
  NormalPointer pointer;
  const QString start = request.startFolder.isEmpty()
                            ? request.proposedName
                            : QDir(request.startFolder).filePath(request.proposedName);
  const QStringList filters = QtNameFilterList(request.filters, PatternCase::kAsWritten);
  QString picked = filters.value(static_cast<qsizetype>(request.selectedFilter));
  // The caller asks its own question about an existing file.
  const QString path = QFileDialog::getSaveFileName(
      nullptr, request.title, start, filters.join(";;"), &picked,
      QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite);
  return {path, PickedFilter(request.filters, picked)};
}

QString QtPrompts::ChooseFolder(const FolderRequest& request) {
  NormalPointer pointer;
  return QFileDialog::getExistingDirectory(nullptr, request.title, request.startFolder);
}

std::optional<QString> QtPrompts::SetPassword(const Strings& strings, std::int16_t cipherVersion) {
  NormalPointer pointer;
  FrmDefMPasse dialog(strings, *this, cipherVersion);
  return dialog.Ask();
}

std::optional<QString> QtPrompts::ReadPassword(const Strings& strings, std::int16_t cipherVersion) {
  NormalPointer pointer;
  FrmLitMPasse dialog(strings, cipherVersion);
  return dialog.Ask();
}

}  // namespace pivolane::editor
