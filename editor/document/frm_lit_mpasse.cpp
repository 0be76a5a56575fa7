#include "editor/document/frm_lit_mpasse.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>

#include "editor/document/password_box.h"
#include "editor/icons/icon_library.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

FrmLitMPasse::FrmLitMPasse(const Strings& strings, std::int16_t cipherVersion, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmLitMPasse");
  setWindowTitle(BoxTitle());
  setWindowIcon(LoadProgramIcon());
  setModal(true);

  // No length limit: a longer text is simply a wrong password.
  txtPassword = NewPasswordBox("txtPassword", this);
  txtPassword->setMinimumWidth(220);
  lblMPasse = new QLabel(strings.LoadMessage(701), this);
  lblMPasse->setObjectName("lblMPasse");
  lblMPasse->setBuddy(txtPassword);
  lblProtection = NewProtectionNote(strings, cipherVersion, this);

  cmdOK = new QPushButton("&OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton(strings.LoadMessage(703), this);
  cmdCancel->setObjectName("cmdCancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(lblMPasse, 0, 0);
  grid->addWidget(txtPassword, 0, 1);
  grid->addWidget(lblProtection, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 2, 0, 1, 2);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  txtPassword->setFocus();
}

std::optional<QString> FrmLitMPasse::Ask() {
  exec();
  return answer();
}

std::optional<QString> FrmLitMPasse::answer() const {
  if (result() != Accepted) return std::nullopt;
  return txtPassword->text();
}

void FrmLitMPasse::closeEvent(QCloseEvent* event) {
  if (isVisible()) {
    accept();
    event->accept();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace pivolane::editor
