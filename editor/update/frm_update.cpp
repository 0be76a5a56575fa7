#include "editor/update/frm_update.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/platform/platform.h"
#include "editor/icons/icon_library.h"
#include "editor/shell/error_messages.h"
#include "editor/update/update_source.h"

namespace pivolane::editor {

namespace {

QPushButton* TaggedButton(const char* name, int tag, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setProperty("tag", tag);
  return button;
}

}  // namespace

FrmUpdate::FrmUpdate(const Strings& strings, EditorSettings& settings, Prompts& prompts,
                     UpdateSetup setup, QWidget* parent)
    : QDialog(parent), strings_(strings), settings_(settings), prompts_(prompts) {
  setObjectName("frmUpdate");
  setWindowIcon(LoadProgramIcon());
  setModal(true);
  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName("Text1");
  Text1->setReadOnly(true);
  Line1 = new QFrame(this);
  Line1->setObjectName("Line1");
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  btMAJ = TaggedButton("btMAJ", 500, this);
  btQuitte = TaggedButton("btQuitte", 501, this);
  cacAutoUpdate = new QCheckBox(this);
  cacAutoUpdate->setObjectName("cacAutoUpdate");
  cacAutoUpdate->setProperty("tag", 503);
  Inet1 = new Inet(this);

  auto* column = new QVBoxLayout(this);
  column->addWidget(Text1, 1);
  column->addWidget(Line1);
  column->addWidget(Label1);
  auto* row = new QHBoxLayout;
  row->addWidget(cacAutoUpdate);
  row->addStretch(1);
  row->addWidget(btMAJ);
  row->addWidget(btQuitte);
  column->addLayout(row);
  resize(560, 380);

  const bool updatable = platform::IsWritableFolder(setup.programFolder);
  const std::vector<int> missing = MissingUpdateSource(setup.serverUrl, setup.publicKey);
  client_ = new UpdateClient(*Inet1, *Text1, *Label1, strings_, prompts_, std::move(setup), this);
  connect(btMAJ, &QPushButton::clicked, this, &FrmUpdate::btMAJ_Click);
  connect(btQuitte, &QPushButton::clicked, this, &FrmUpdate::btQuitte_Click);
  connect(cacAutoUpdate, &QCheckBox::clicked, this, &FrmUpdate::cacAutoUpdate_Click);
  Load(updatable, missing);
}

void FrmUpdate::Load(bool updatable, const std::vector<int>& missingSource) {
  setWindowTitle(strings_.LoadMessage(232).mid(1));
  Label1->setText(strings_.LoadMessage(530));
  for (QAbstractButton* control :
       {static_cast<QAbstractButton*>(btMAJ), static_cast<QAbstractButton*>(btQuitte),
        static_cast<QAbstractButton*>(cacAutoUpdate)}) {
    control->setText(strings_.LoadMessage(control->property("tag").toInt()));
  }
  cacAutoUpdate->setChecked(settings_.AutoUpdateAtStart());
  Text1->setPlainText(strings_.LoadMessage(531));
  // A system-wide installation is not this user's to replace.
  if (!updatable) {
    Text1->setPlainText(strings_.LoadMessage(574));
    btMAJ->setEnabled(false);
  } else if (!missingSource.empty()) {
    QString why;
    for (const int message : missingSource) why += strings_.LoadMessage(message) + "\n";
    Text1->setPlainText(why + strings_.LoadMessage(581) + settings_.path());
    btMAJ->setEnabled(false);
  }
}

void FrmUpdate::btMAJ_Click() {
  QApplication::setOverrideCursor(Qt::BusyCursor);
  btMAJ->setEnabled(false);
  btQuitte->setText(strings_.LoadMessage(502));
  client_->RunUpdate();
  btQuitte->setEnabled(true);
  btQuitte->setText(strings_.LoadMessage(501));
  btMAJ->setEnabled(true);
  QApplication::restoreOverrideCursor();
  Label1->setText(strings_.LoadMessage(537));
}

void FrmUpdate::btQuitte_Click() {
  if (!client_->running()) {
    close();
    return;
  }
  // The prompt shows the normal pointer while it is open, and the busy one
  // comes back after it.
  const PromptAnswer answer =
      prompts_.Ask({BoxTitle(), strings_.LoadMessage(536), PromptMessage::Buttons::kYesNo,
                    PromptMessage::Icon::kQuestion});
  if (answer != PromptAnswer::kYes) return;
  btQuitte->setEnabled(false);
  client_->RequestCancel();
  client_->Append(strings_.LoadMessage(535) + "\n");
}

void FrmUpdate::cacAutoUpdate_Click() {
  settings_.SetAutoUpdateAtStart(cacAutoUpdate->isChecked());
}

void FrmUpdate::closeEvent(QCloseEvent* event) {
  if (client_->running()) {
    event->ignore();
    if (btQuitte->isEnabled()) btQuitte_Click();
    return;
  }
  QDialog::closeEvent(event);  // through reject()
}

void FrmUpdate::reject() {
  if (client_->running()) {
    if (btQuitte->isEnabled()) btQuitte_Click();
    return;
  }
  client_->HangUpIfDialled();
  QDialog::reject();
}

}  // namespace pivolane::editor
