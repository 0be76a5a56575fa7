#include "editor/document/frm_def_mpasse.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "common/cipher/password.h"
#include "editor/document/new_password_rules.h"
#include "editor/document/password_box.h"
#include "editor/icons/icon_library.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

FrmDefMPasse::FrmDefMPasse(const Strings& strings, Prompts& prompts, std::int16_t cipherVersion,
                           QWidget* parent)
    : QDialog(parent), strings_(strings), prompts_(prompts) {
  setObjectName("frmDefMPasse");
  setWindowTitle(BoxTitle());
  setWindowIcon(LoadProgramIcon());
  setModal(true);

  txtPassword = NewPasswordBox("txtPassword", this);
  txtPassword->setMaxLength(static_cast<int>(cipher::kMaxPasswordLength));
  txtConfirmation = NewPasswordBox("txtConfirmation", this);
  const int captions[] = {701, 702};
  QLineEdit* boxes[] = {txtPassword, txtConfirmation};
  auto* grid = new QGridLayout(this);
  for (int i = 0; i < 2; ++i) {
    lblLabels[i] = new QLabel(strings.LoadMessage(captions[i]), this);
    lblLabels[i]->setObjectName("lblLabels");
    lblLabels[i]->setProperty("Index", i);
    lblLabels[i]->setBuddy(boxes[i]);
    grid->addWidget(lblLabels[i], i, 0);
    grid->addWidget(boxes[i], i, 1);
  }
  txtPassword->setMinimumWidth(220);
  lblProtection = NewProtectionNote(strings, cipherVersion, this);
  grid->addWidget(lblProtection, 2, 0, 1, 2);

  cmdOK = new QPushButton("&OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton(strings.LoadMessage(703), this);
  cmdCancel->setObjectName("cmdCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 3, 0, 1, 2);

  connect(cmdOK, &QPushButton::clicked, this, &FrmDefMPasse::OnOK);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  txtPassword->setFocus();
}

std::optional<QString> FrmDefMPasse::Ask() {
  exec();
  return password_;
}

void FrmDefMPasse::OnOK() {
  switch (JudgeNewPassword(txtPassword->text(), txtConfirmation->text())) {
    case NewPasswordVerdict::kMismatch:
      prompts_.Ask({BoxTitle(), strings_.LoadMessage(700)});
      return TypeAgain(true);
    case NewPasswordVerdict::kEmpty:
      return TypeAgain(false);
    case NewPasswordVerdict::kOnlySpaces:
      return TypeAgain(true);
    case NewPasswordVerdict::kUnstorable:
      prompts_.Ask({BoxTitle(), strings_.LoadMessage(704), PromptMessage::Buttons::kOk,
                    PromptMessage::Icon::kExclamation});
      return TypeAgain(true);
    case NewPasswordVerdict::kAccepted:
      password_ = txtPassword->text();
      accept();
      return;
  }
}

void FrmDefMPasse::TypeAgain(bool empty) {
  if (empty) {
    txtPassword->clear();
    txtConfirmation->clear();
  }
  txtPassword->setFocus();
}

}  // namespace pivolane::editor
