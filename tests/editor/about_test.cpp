// The about box: what it shows in both languages, the system-information
// program, and the publisher's link.
#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "common/version.h"
#include "editor/shell/frm_about.h"
#include "test_support.h"

using namespace pivolane;
using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// PATH set to one folder for as long as this lives.
class PathOnly {
 public:
  explicit PathOnly(const QString& folder) : saved_(qgetenv("PATH")) {
    qputenv("PATH", folder.toLocal8Bit());
  }
  ~PathOnly() { qputenv("PATH", saved_); }

 private:
  QByteArray saved_;
};

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 public slots:
  void OpenUrl(const QUrl& url) { opened_ = url; }

 private slots:
  void ShowsProductVersionUserAndPlatform() {
    const QString user = QString::fromLocal8Bit(getpwuid(getuid())->pw_name);
    const struct {
      Language language;
      const char* caption;
      const char* userLabel;
      const char* sysInfo;
      const char* linkTip;
    } rows[] = {
        {Language::kEnglish, "About... Pivolane", "User name: ", "&System infos...",
         "Visit our web site"},
        {Language::kFrench, "A propos de Pivolane", "Nom utilisateur: ", "&Infos système...",
         "Visitez notre site internet"},
    };
    for (const auto& row : rows) {
      const Strings strings(row.language);
      ScriptedPrompts prompts;
      FrmAbout about(strings, prompts);
      QCOMPARE(about.windowTitle(), row.caption);
      QCOMPARE(about.lblProductName->text(), "Pivolane");
      QCOMPARE(about.lblVersion->text(),
               QString("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
      QCOMPARE(about.lblUserName->text(), row.userLabel + user);
      QCOMPARE(about.lblPlatform->text(), "Linux (X11)");
      QCOMPARE(about.cmdSysInfo->text(), row.sysInfo);
      QCOMPARE(about.lblCompanyProduct->toolTip(), row.linkTip);
      QCOMPARE(about.lblCompanyProduct->cursor().shape(), Qt::PointingHandCursor);
    }
  }

  void OpensModallyFromTheMenu() {
    EditorHarness editor;
    editor.Start();
    QString opened;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      opened = box->objectName();
      box->close();
    });
    editor.window().menu().mnuApropos->trigger();
    QCOMPARE(opened, "frmAbout");
  }

  void SystemInformationProgramOrMessage410() {
    EditorHarness editor;
    const QString tools = editor.Folder("tools");
    const struct {
      const char* name;
      bool installed;
    } rows[] = {{"none installed", false}, {"hardinfo installed", true}};
    for (const auto& row : rows) {
      const QString marker = tools + "/started";
      QFile::remove(marker);
      if (row.installed) {
        WriteBytes(tools + "/hardinfo", ("#!/bin/sh\n: > '" + marker + "'\n").toUtf8());
        QFile::setPermissions(tools + "/hardinfo", QFile::ReadOwner | QFile::ExeOwner);
      }
      const PathOnly path(tools);
      const Strings strings(Language::kEnglish);
      ScriptedPrompts prompts;
      FrmAbout about(strings, prompts);
      QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
      if (row.installed) {
        QVERIFY2(prompts.messages.empty(), row.name);
        QTRY_VERIFY2(QFile::exists(marker), row.name);
      } else {
        QCOMPARE(prompts.messages.size(), std::size_t{1});
        QCOMPARE(prompts.messages[0].title, "Pivolane");
        QCOMPARE(prompts.messages[0].text, "System informations not currently available");
      }
    }
  }

  void LinkOpensThePublishersPage() {
    QDesktopServices::setUrlHandler("https", this, "OpenUrl");
    const Strings strings;
    ScriptedPrompts prompts;
    FrmAbout about(strings, prompts);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    // Enter on OK closes; Tab twice, then Enter, opens the link.
    QCOMPARE(QApplication::focusWidget(), about.cmdOK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(opened_, QUrl(kPublisherAddress));
    QVERIFY(about.isVisible());
    opened_.clear();
    QTest::mouseClick(about.lblCompanyProduct, Qt::LeftButton, {}, QPoint(4, 6));
    QCOMPARE(opened_, QUrl(kPublisherAddress));
    QDesktopServices::unsetUrlHandler("https");
    QVERIFY(opened_.host().endsWith(".example"));
  }

 private:
  QUrl opened_;
};

PIVOLANE_EDITOR_TEST_MAIN(AboutTest)
#include "about_test.moc"
