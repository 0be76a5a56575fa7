// The Extract pictures command: every picture of a self-running show or a web
// show written into the show's own folder, named after its slide's title. Neither the open
// show nor the editor's cipher state takes part: the password typed here is
// the extraction's own.
#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "common/errors.h"
#include "common/format/show_file.h"
#include "editor/document/document_dialogs.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

class PictureExtraction {
 public:
  PictureExtraction(QWidget& window, DocumentDialogs& dialogs, const Strings& strings,
                    Prompts& prompts)
      : window_(window), dialogs_(dialogs), strings_(strings), prompts_(prompts) {}

  // Asks for the show, its password when it has one, and writes the
  // pictures, each file complete before it replaces anything. A file already
  // there is replaced only after the overwrite question; Cancel there stops
  // at once, without the summary.
  void mnuExtraireImagesExe_Click();

 private:
  // The show at sourcePath opened, unlocked and its slide entries checked;
  // nullopt when the user gave up at the password, or after the box for a
  // file that is neither a self-running show nor a web show, a wrong
  // password or a damaged show.
  std::optional<format::ShowFile> OpenReadable(const QString& sourcePath);
  // frmLitMPasse for a protected show: true once the show is unlocked.
  bool Unlock(format::ShowFile& show);
  // The box for a failure to read the show at sourcePath.
  void ShowReadFailure(const Failure& failure, const QString& sourcePath);

  QWidget& window_;
  DocumentDialogs& dialogs_;
  const Strings& strings_;
  Prompts& prompts_;
};

}  // namespace pivolane::editor
