// frmDefMPasse: sets the password of the current show, typed twice.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

class FrmDefMPasse : public QDialog {
  Q_OBJECT

 public:
  // Message 700 and the refusal of an unstorable password go through prompts;
  // cipherVersion is the one the show is to be written with.
  FrmDefMPasse(const Strings& strings, Prompts& prompts, std::int16_t cipherVersion,
               QWidget* parent = nullptr);

  // Shows the dialog modally: the confirmed password, or nullopt when the
  // user cancelled or closed the dialog.
  std::optional<QString> Ask();
  // Set by an accepted OK.
  const std::optional<QString>& password() const { return password_; }

  std::array<QLabel*, 2> lblLabels;
  QLineEdit* txtPassword;
  QLineEdit* txtConfirmation;
  QLabel* lblProtection;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 private:
  void OnOK();
  // Back to the first box, both boxes emptied when empty is set.
  void TypeAgain(bool empty);

  const Strings& strings_;
  Prompts& prompts_;
  std::optional<QString> password_;
};

}  // namespace pivolane::editor
