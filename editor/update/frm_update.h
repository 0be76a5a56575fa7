// frmUpdate: the internet update window. Opening it starts nothing; btMAJ
// starts a run, btQuitte closes the window or cancels the run in progress.
#pragma once

#include <vector>

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editor/shell/prompts.h"
#include "editor/shell/settings.h"
#include "editor/strings/string_table.h"
#include "editor/update/inet.h"
#include "editor/update/update_client.h"
#include "editor/update/update_setup.h"

namespace pivolane::editor {

class FrmUpdate : public QDialog {
  Q_OBJECT

 public:
  // strings: the main window's, whose language the window keeps.
  FrmUpdate(const Strings& strings, EditorSettings& settings, Prompts& prompts, UpdateSetup setup,
            QWidget* parent = nullptr);

  QPushButton* btMAJ;
  QPushButton* btQuitte;
  QCheckBox* cacAutoUpdate;
  QPlainTextEdit* Text1;
  QLabel* Label1;
  QFrame* Line1;
  Inet* Inet1;

 protected:
  // A run in progress is cancelled, not left behind: closing asks as btQuitte.
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  // updatable: the program folder is this user's; missingSource: what the
  // installation lacks to update from (see MissingUpdateSource).
  void Load(bool updatable, const std::vector<int>& missingSource);
  void btMAJ_Click();
  void btQuitte_Click();
  void cacAutoUpdate_Click();

  const Strings strings_;
  EditorSettings& settings_;
  Prompts& prompts_;
  UpdateClient* client_;
};

}  // namespace pivolane::editor
