// The internet-update command of the main window (mnuUpdate): it opens
// frmUpdate modally over this installation. An installation whose program
// folder the user cannot write is updated by the system; one without an
// update server or publisher key has nothing to update from. The window then
// says so, and does not open by itself at start-up.
#pragma once

#include <filesystem>
#include <functional>

#include <QObject>
#include <QPointer>

#include "editor/shell/prompts.h"
#include "editor/shell/settings.h"
#include "editor/update/frm_update.h"

namespace pivolane::editor {

class FrmMain;

// Where this installation's files are.
struct UpdatePlaces {
  std::filesystem::path programFolder;
  std::function<std::filesystem::path()> updateFolder;

  // The folder of the running program, and the user's update folder.
  static UpdatePlaces OfThisInstallation();
};

class UpdateCommand : public QObject {
  Q_OBJECT

 public:
  UpdateCommand(FrmMain& window, EditorSettings& settings, Prompts& prompts, UpdatePlaces places);

  void mnuUpdate_Click();
  // The window opened last, while it is open.
  FrmUpdate* frmUpdate() const { return frmUpdate_; }

 private:
  FrmMain& window_;
  EditorSettings& settings_;
  Prompts& prompts_;
  const UpdatePlaces places_;
  QPointer<FrmUpdate> frmUpdate_;
};

}  // namespace pivolane::editor
