// frmAbout: the product, its version, the user logged on, the platform, a
// button that starts the desktop's system-information program and a link to
// the publisher's page.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Who publishes the product, and where.
inline constexpr const char* kPublisherName = "Quenbrook";
inline constexpr const char* kPublisherAddress = "https://www.quenbrook.example/pivolane/";

class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  FrmAbout(const Strings& strings, Prompts& prompts, QWidget* parent = nullptr);

  // Starts the system-information program; message 410 when there is none
  // or it cannot be started.
  void cmdSysInfo_Click();
  // Opens the publisher's page through the desktop's web browser.
  void lblCompanyProduct_Click();

  QLabel* picIcon;
  QLabel* lblProductName;
  QLabel* lblVersion;
  QLabel* lblUserName;
  QLabel* lblPlatform;
  QLabel* lblCompanyProduct;
  QPushButton* cmdSysInfo;
  QPushButton* cmdOK;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const Strings& strings_;
  Prompts& prompts_;
};

}  // namespace pivolane::editor
