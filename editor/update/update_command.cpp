#include "editor/update/update_command.h"

#include "common/platform/platform.h"
#include "editor/shell/frm_main.h"
#include "editor/update/update_source.h"

namespace pivolane::editor {

UpdatePlaces UpdatePlaces::OfThisInstallation() {
  return {platform::ProgramFolder(), &platform::UpdateFolder};
}

UpdateCommand::UpdateCommand(FrmMain& window, EditorSettings& settings, Prompts& prompts,
                             UpdatePlaces places)
    : QObject(&window),
      window_(window),
      settings_(settings),
      prompts_(prompts),
      places_(std::move(places)) {
  connect(window.menu().mnuUpdate, &QAction::triggered, this, &UpdateCommand::mnuUpdate_Click);
  // The window opens by itself only where a run can reach an update.
  if (!platform::IsWritableFolder(places_.programFolder) ||
      !MissingUpdateSource(settings_.UpdateServer(), settings_.UpdatePublicKey()).empty()) {
    window.SkipUpdateAtStart();
  }
}

void UpdateCommand::mnuUpdate_Click() {
  UpdateSetup setup{settings_.UpdateServer(),   settings_.UpdatePublicKey(),
                    settings_.InstallationId(), places_.programFolder,
                    places_.updateFolder,       window_.document().workFolder};
  auto* update = new FrmUpdate(window_.strings(), settings_, prompts_, std::move(setup), &window_);
  update->setAttribute(Qt::WA_DeleteOnClose);
  // Escape ends the dialog without closing it.
  connect(update, &QDialog::finished, update, &QObject::deleteLater);
  // Modal without a nested event loop of its own: the run has its waits.
  update->setWindowModality(Qt::ApplicationModal);
  update->show();
  frmUpdate_ = update;
}

}  // namespace pivolane::editor
