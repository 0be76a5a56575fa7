// Every message box and file dialog of the editor goes through this interface,
// so that the windows can be driven by a script in tests.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace pivolane::editor {

struct PromptMessage {
  enum class Buttons { kOk, kOkCancel, kYesNoCancel, kRetryCancel };
  enum class Icon { kNone, kInformation, kExclamation, kQuestion, kCritical };

  QString title;
  QString text;
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
};

enum class PromptAnswer { kOk, kCancel, kYes, kNo, kRetry };

// One choice of a file dialog's type list.
struct FileFilter {
  QString description;
  QStringList patterns;  // "*.jpg", "*.*", ...
};

struct OpenFilesRequest {
  QString title;
  std::vector<FileFilter> filters;
  QString startFolder;  // empty: the dialog's own default
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual PromptAnswer Ask(const PromptMessage& message) = 0;
  // Full paths of the chosen files in the order the dialog gives them;
  // empty when the user cancelled.
  virtual QStringList ChooseFilesToOpen(const OpenFilesRequest& request) = 0;
};

}  // namespace pivolane::editor
