// Every message box and file dialog of the editor goes through this interface,
// so that the windows can be driven by a script in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "editor/strings/string_table.h"

namespace pivolane::editor {

struct PromptMessage {
  enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
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

struct SaveFileRequest {
  QString title;
  std::vector<FileFilter> filters;
  QString startFolder;  // empty: the dialog's own default
  QString proposedName;
  std::size_t selectedFilter = 0;  // the filter shown first
};

// The file chosen in a save dialog, and the filter picked in its type list.
struct SaveChoice {
  QString path;  // empty when the user cancelled
  std::size_t filter = 0;
};

struct FolderRequest {
  QString title;
  QString startFolder;  // empty: the dialog's own default
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual PromptAnswer Ask(const PromptMessage& message) = 0;
  // Full paths of the chosen files in the order the dialog gives them;
  // empty when the user cancelled.
  virtual QStringList ChooseFilesToOpen(const OpenFilesRequest& request) = 0;
  // Full path of the one chosen file; empty when the user cancelled.
  virtual QString ChooseFileToOpen(const OpenFilesRequest& request) = 0;
  // Full path to write, and the filter picked; an empty path when the user
  // cancelled. The dialog does not ask about an existing file: the caller
  // does.
  virtual SaveChoice ChooseFileToSave(const SaveFileRequest& request) = 0;
  // Full path of the one chosen folder; empty when the user cancelled.
  virtual QString ChooseFolder(const FolderRequest& request) = 0;

  // frmDefMPasse, for a show to be written with cipherVersion: a new
  // password typed twice; nullopt when the user gave up. The password is
  // neither empty nor only spaces, and code page 1252 can hold it.
  virtual std::optional<QString> SetPassword(const Strings& strings,
                                             std::int16_t cipherVersion) = 0;
  // frmLitMPasse, for a show of cipherVersion: the password as typed,
  // possibly empty; nullopt on Cancel.
  virtual std::optional<QString> ReadPassword(const Strings& strings,
                                              std::int16_t cipherVersion) = 0;
};

}  // namespace pivolane::editor
