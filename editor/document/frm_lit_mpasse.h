// frmLitMPasse: asks for the password of a protected show being opened.
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/strings/string_table.h"

namespace pivolane::editor {

class FrmLitMPasse : public QDialog {
  Q_OBJECT

 public:
  // cipherVersion is the one of the show being read.
  FrmLitMPasse(const Strings& strings, std::int16_t cipherVersion, QWidget* parent = nullptr);

  // Shows the dialog modally: the text typed, possibly empty, when the user
  // pressed OK or closed the dialog by its frame; nullopt on Cancel.
  std::optional<QString> Ask();
  // The answer once the dialog has closed, as Ask returns it.
  std::optional<QString> answer() const;

  QLabel* lblMPasse;
  QLineEdit* txtPassword;
  QLabel* lblProtection;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  // Closing by the frame takes what was typed, as OK does.
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace pivolane::editor
