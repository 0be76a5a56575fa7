#include "editor/shell/frm_about.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QUrl>
#include <QVBoxLayout>

#include "common/platform/platform.h"
#include "common/version.h"
#include "editor/icons/icon_library.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

namespace {

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

FrmAbout::FrmAbout(const Strings& strings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), strings_(strings), prompts_(prompts) {
  setObjectName("frmAbout");
  setWindowTitle(strings_.LoadMessage(400) + kApplicationTitle);
  setWindowIcon(LoadProgramIcon());
  setModal(true);

  picIcon = NewLabel("picIcon", QString(), this);
  picIcon->setPixmap(LoadProgramIcon().pixmap(64, 64));
  picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  lblProductName = NewLabel("lblProductName", kApplicationTitle, this);
  QFont title = lblProductName->font();
  title.setPointSizeF(title.pointSizeF() * 1.6);
  title.setBold(true);
  lblProductName->setFont(title);
  lblVersion = NewLabel(
      "lblVersion", QString("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision),
      this);
  // A name the user database does not know leaves message 402 alone.
  lblUserName = NewLabel(
      "lblUserName",
      strings_.LoadMessage(402) + QString::fromStdString(platform::UserLogonName()).trimmed(),
      this);
  lblPlatform = NewLabel("lblPlatform", QString::fromStdString(platform::PlatformLabel()), this);

  // A link that the keyboard reaches too: Tab to it, then Enter or Space.
  lblCompanyProduct = NewLabel("lblCompanyProduct",
                               QString("<a href=\"%1\">%2</a>")
                                   .arg(kPublisherAddress, QString(kPublisherName).toHtmlEscaped()),
                               this);
  lblCompanyProduct->setTextFormat(Qt::RichText);
  lblCompanyProduct->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                             Qt::LinksAccessibleByKeyboard);
  lblCompanyProduct->setCursor(Qt::PointingHandCursor);
  lblCompanyProduct->setProperty("tag", 405);
  lblCompanyProduct->setToolTip(strings_.LoadMessage(405));

  cmdSysInfo = new QPushButton(strings_.LoadMessage(404), this);
  cmdSysInfo->setObjectName("cmdSysInfo");
  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblProductName);
  texts->addWidget(lblVersion);
  texts->addSpacing(10);
  texts->addWidget(lblUserName);
  texts->addWidget(lblPlatform);
  texts->addStretch(1);
  auto* top = new QHBoxLayout;
  top->setSpacing(20);
  top->addWidget(picIcon);
  top->addLayout(texts, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblCompanyProduct);
  bottom->addStretch(1);
  bottom->addWidget(cmdSysInfo);
  bottom->addWidget(cmdOK);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(18, 18, 18, 14);
  window->addLayout(top);
  window->addSpacing(8);
  window->addWidget(line);
  window->addLayout(bottom);
  setMinimumWidth(440);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::cmdSysInfo_Click);
  connect(lblCompanyProduct, &QLabel::linkActivated, this, &FrmAbout::lblCompanyProduct_Click);
  lblCompanyProduct->installEventFilter(this);
  setTabOrder(cmdOK, cmdSysInfo);
  setTabOrder(cmdSysInfo, lblCompanyProduct);
  cmdOK->setFocus();
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event) {
  // Enter or Space on the focused link opens it, as a click does.
  if (watched == lblCompanyProduct && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      lblCompanyProduct_Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FrmAbout::cmdSysInfo_Click() {
  const std::optional<std::filesystem::path> program = platform::SystemInformationProgram();
  if (program && platform::StartDetached(*program, {})) return;
  prompts_.Ask({BoxTitle(), strings_.LoadMessage(410), PromptMessage::Buttons::kOk,
                PromptMessage::Icon::kInformation});
}

void FrmAbout::lblCompanyProduct_Click() {
  QDesktopServices::openUrl(QUrl(kPublisherAddress));
}

}  // namespace pivolane::editor
