// The internet update against a real FTP server on 127.0.0.1: a newer
// version is installed, an equal one is not, failures and cancels leave
// nothing behind, and an update that the publisher did not sign is refused.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "editor/update/frm_update.h"
#include "editor/update/update_command.h"
#include "launcher/install_update.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

constexpr int kProcessTimeoutMs = 20000;
const QString kUser = "tester";
const QString kPassword = "secret";
const QString kServerFolder = "quenbrook/pivolane/update";
const QByteArray kOldLauncher = "launcher 1.00";
const QByteArray kNewLauncher = "launcher 1.01";

void Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  QVERIFY2(process.waitForFinished(kProcessTimeoutMs), qPrintable(program));
  QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
           qPrintable(program + ": " + process.readAll()));
}

// The base64 line of a minisign public key file.
QString KeyLine(const QString& publicKeyFile) {
  return QString::fromLatin1(Contents(publicKeyFile)).split('\n', Qt::SkipEmptyParts).last();
}

// The launcher's boxes, counted: an installation that succeeds shows none.
class CountedLauncherPrompts : public pivolane::launcher::LauncherPrompts {
 public:
  Answer RetryOrCancel(const std::string&, const std::string&) override {
    ++boxes;
    return Answer::kCancel;
  }
  void ShowError(const std::string&, const std::string&) override { ++boxes; }
  int boxes = 0;
};

}  // namespace

class UpdateTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(root_.isValid());
    for (const char* name : {"publisher", "stranger"}) {
      Run("minisign", {"-G", "-W", "-f", "-p", Path(name) + ".pub", "-s", Path(name) + ".sec"});
    }
    QDir().mkpath(Path("release"));
    WriteBytes(Path("release/Pivolane"), kNewLauncher);
    WriteBytes(Path("release/pivedit"), QByteArray(200000, 'e'));
    WriteBytes(Path("release/pivtool"), "tool 1.01");

    server_.setProgram("/usr/bin/python3");
    server_.setArguments({PIVOLANE_FTP_SERVER, "--root", Path("ftp"), "--user", kUser, "--password",
                          kPassword, "--log-folder", kServerFolder + "/log"});
    // The account's rights name the log folder, which must exist.
    Publish("101");
    server_.start();
    QVERIFY2(server_.waitForReadyRead(kProcessTimeoutMs), server_.readAllStandardError());
    port_ = server_.readLine().trimmed().toInt();
    QVERIFY(port_ > 0);
  }

  void cleanupTestCase() {
    server_.kill();
    server_.waitForFinished(kProcessTimeoutMs);
  }

  void init() {
    prompts_ = ScriptedPrompts();
    for (const char* folder : {"program", "updates", "work", "config"}) {
      QDir(Path(folder)).removeRecursively();
      QDir().mkpath(Path(folder));
    }
    WriteBytes(Path("program/Pivolane"), kOldLauncher);
    QFile::setPermissions(Path("program/Pivolane"), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadGroup |
                                                        QFile::ExeGroup | QFile::ReadOther |
                                                        QFile::ExeOther);
    settings_.SetValue("Settings", "UpdateServer", Server(kUser, kPassword, port_));
    settings_.SetValue("Settings", "UpdatePublicKey", KeyLine(Path("publisher.pub")));
    Publish("101");
  }

  // A newer version is installed, whatever the number of its digits, the
  // server's repetitions and the links planted where the run writes.
  void NewerVersionIsDownloadedInstalledAndLogged_data() {
    QTest::addColumn<QString>("hazard");
    for (const char* hazard : {"none", "build version 10.0.0", "twice", "links"}) {
      QTest::newRow(hazard) << QString(hazard);
    }
  }

  void NewerVersionIsDownloadedInstalledAndLogged() {
    QFETCH(QString, hazard);
    const bool tenOh = hazard == "build version 10.0.0";
    const QString digits = tenOh ? "1000" : "101";
    const QString shown = tenOh ? "10.00" : "1.01";
    if (tenOh) {  // the publisher takes the digits from the build
      WriteBytes(Path("CMakeCache.txt"), "CMAKE_PROJECT_VERSION:STATIC=10.0.0\n");
      Publish({});
      QFile::remove(Path("CMakeCache.txt"));
    }
    if (hazard == "twice") WriteBytes(ServerPath("pivedit.twice"), "");
    const QString victim = Path("work/victim");
    if (hazard == "links") {
      WriteBytes(victim, "mine");
      for (const char* name : {"update.manifest", "update.manifest.minisig", "pivedit"}) {
        QVERIFY(QFile::link(victim, Path("updates/.MAJPivolane") + name));
      }
    }
    const QString journal = RunUpdate();
    QVERIFY2(journal.contains("PC version: 1.00   Internet version: " + shown + "\n\n"),
             qPrintable(journal));
    // Every file under its prefix, the folder log/ and the manifest left out;
    // the launcher already in place with its backup.
    QCOMPARE(NamesIn(Path("updates")), (QStringList{"MAJPivolanepivedit", "MAJPivolanepivtool"}));
    QCOMPARE(Contents(Path("updates/MAJPivolanepivedit")), Contents(Path("release/pivedit")));
    QCOMPARE(Contents(Path("program/Pivolane")), kNewLauncher);
    QCOMPARE(Contents(Path("program/Pivolane.old")), kOldLauncher);
    QCOMPARE(QFileInfo(Path("program/Pivolane")).permissions(),
             QFileInfo(Path("program/Pivolane.old")).permissions());
    QVERIFY(QFileInfo(Path("program/Pivolane")).isExecutable());

    const QStringList logs = NamesIn(ServerPath("log"));
    QCOMPARE(logs.size(), 1);
    QVERIFY(QRegularExpression("^\\d{12}\\.txt$").match(logs[0]).hasMatch());
    const QString id = *settings_.Value("Settings", "InstallationId");
    QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(id).hasMatch());
    QCOMPARE(Contents(ServerPath("log/" + logs[0])),
             id.toLatin1() + "\r\n100+" + digits.toLatin1());
    if (hazard == "links") {
      QCOMPARE(Contents(victim), "mine");
      QFile::remove(victim);
    }
    QVERIFY(NamesIn(Path("work")).isEmpty());

    const QString done = "UPDATING: OK !\nPlease restart the new version " + shown;
    QCOMPARE(prompts_.messages.size(), std::size_t{1});
    QCOMPARE(prompts_.messages[0].text, done);
    QCOMPARE(prompts_.messages[0].icon, PromptMessage::Icon::kInformation);
    QVERIFY(journal.endsWith("Good Bye !\n\n" + done + "\n"));
    QCOMPARE(frm_->Label1->text(), "Updating completed");
    QVERIFY(frm_->btMAJ->isEnabled());
    QCOMPARE(frm_->btQuitte->text(), "&Quit");
  }

  void SameVersionInstallsNothingAndLogsIt() {
    Publish("100");
    const QString journal = RunUpdate();
    QVERIFY(
        journal.contains("PC version: 1.00   Internet version: 1.00\n\n"
                         "Files are currently up-to-date\n"));
    QVERIFY(NamesIn(Path("updates")).isEmpty());
    QCOMPARE(NamesIn(Path("program")), QStringList{"Pivolane"});
    const QStringList logs = NamesIn(ServerPath("log"));
    QCOMPARE(logs.size(), 1);
    QVERIFY(Contents(ServerPath("log/" + logs[0])).endsWith("\r\n100-100"));
    QVERIFY(prompts_.messages.empty());
  }

  void FailuresEndTheRunWithNothingInstalled_data() {
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<QString>("reason");
    QTest::newRow("wrong account")
        << "101"
        << "wrong" << false << "Error during host connexion.\nError: 67 : ";
    QTest::newRow("closed port") << "101" << kPassword << true
                                 << "Error during host connexion.\nError: 7 : ";
  }

  void FailuresEndTheRunWithNothingInstalled() {
    QFETCH(QString, digits);
    QFETCH(QString, password);
    QFETCH(bool, closedPort);
    QFETCH(QString, reason);
    Publish(digits);
    settings_.SetValue("Settings", "UpdateServer", Server(kUser, password, closedPort ? 1 : port_));
    const QString journal = RunUpdate();
    QVERIFY2(journal.contains(reason), qPrintable(journal));
    VerifyNothingInstalled();
  }

  void UnsignedUpdatesAreRefused_data() {
    QTest::addColumn<QString>("tampering");
    QTest::addColumn<QString>("reason");
    QTest::newRow("download cut short") << "cut"
                                        << "Error: 18 : ";
    QTest::newRow("file changed after signing") << "changed"
                                                << "ERROR 577: ";
    QTest::newRow("signed with another key") << "stranger"
                                             << "ERROR 576: ";
    QTest::newRow("signature missing") << "unsigned"
                                       << "ERROR 576: ";
  }

  void UnsignedUpdatesAreRefused() {
    QFETCH(QString, tampering);
    QFETCH(QString, reason);
    if (tampering == "cut") WriteBytes(ServerPath("pivedit.cut"), "1000");
    if (tampering == "changed") WriteBytes(ServerPath("pivtool"), "tool 6.66");
    if (tampering == "stranger") {
      QFile::remove(ServerPath("update.manifest.minisig"));
      Run("minisign", {"-S", "-s", Path("stranger.sec"), "-m", ServerPath("update.manifest")});
    }
    if (tampering == "unsigned") QFile::remove(ServerPath("update.manifest.minisig"));
    const QString journal = RunUpdate();
    QVERIFY2(journal.contains(reason), qPrintable(journal));
    VerifyNothingInstalled();
    QVERIFY(!QFile::exists(Path("program/Pivolane.old")));
  }

  void FileOutsideTheManifestIsNotDownloaded() {
    WriteBytes(ServerPath("extra.bin"), "not signed");
    const QString journal = RunUpdate();
    QVERIFY(journal.contains("extra.bin: not in the signed list, not downloaded\n"));
    QCOMPARE(NamesIn(Path("updates")), (QStringList{"MAJPivolanepivedit", "MAJPivolanepivtool"}));
    QCOMPARE(Contents(Path("program/Pivolane")), kNewLauncher);
  }

  void CancelDuringTheDownloads_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("answered no") << false;
  }

  void CancelDuringTheDownloads() {
    QFETCH(bool, confirmed);
    prompts_.answers = {confirmed ? PromptAnswer::kYes : PromptAnswer::kNo, PromptAnswer::kOk};
    const QString journal = RunUpdate([this] {
      // Once the first download starts, the user presses btQuitte.
      connect(frm_->Text1, &QPlainTextEdit::textChanged, frm_.get(), [this] {
        if (!clicked_ && frm_->Text1->toPlainText().contains("Downloading... please wait")) {
          clicked_ = true;
          QTimer::singleShot(0, frm_->btQuitte, &QPushButton::click);
        }
      });
    });
    QVERIFY(clicked_);
    QCOMPARE(prompts_.messages[0].text, "Cancel downloading ?");
    QCOMPARE(prompts_.messages[0].buttons, PromptMessage::Buttons::kYesNo);
    if (confirmed) {
      QVERIFY(journal.contains("Disconnecting...\n"));
      QCOMPARE(prompts_.messages.size(), std::size_t{1});
      VerifyNothingInstalled();
    } else {
      QCOMPARE(prompts_.messages.size(), std::size_t{2});
      QCOMPARE(prompts_.messages[1].text, "UPDATING: OK !\nPlease restart the new version 1.01");
      QCOMPARE(Contents(Path("program/Pivolane")), kNewLauncher);
    }
    QCOMPARE(frm_->Label1->text(), "Updating completed");
  }

  void LauncherInstallsWhatTheRunLeft() {
    WriteBytes(Path("program/pivedit"), "editor 1.00");
    RunUpdate();
    CountedLauncherPrompts boxes;
    pivolane::launcher::InstallUpdate(Updates(), Path("program").toStdString(), boxes);
    QCOMPARE(boxes.boxes, 0);
    QCOMPARE(NamesIn(Path("program")), (QStringList{"Pivolane", "pivedit", "pivtool"}));
    QCOMPARE(Contents(Path("program/Pivolane")), kNewLauncher);
    QCOMPARE(Contents(Path("program/pivedit")), Contents(Path("release/pivedit")));
    QCOMPARE(Contents(Path("program/pivtool")), "tool 1.01");
    QVERIFY(NamesIn(Path("updates")).isEmpty());
  }

  void StartupCheckBoxAndSystemInstallations() {
    EditorHarness editor;
    ConfigureSource(editor.settings);
    UpdateCommand command(editor.window(), editor.settings, editor.prompts,
                          {Path("program").toStdString(), [this] { return Updates(); }});
    editor.Start();
    QTRY_VERIFY(command.frmUpdate() != nullptr);
    FrmUpdate* opened = command.frmUpdate();
    QVERIFY(opened->isVisible());
    QCOMPARE(opened->windowTitle(), "Internet update");
    QCOMPARE(opened->Text1->toPlainText(), "Ready to proceed updating");
    QVERIFY(opened->cacAutoUpdate->isChecked());
    opened->cacAutoUpdate->click();
    QCOMPARE(*editor.settings.Value("Settings", "Autoupdate"), "0");
    opened->cacAutoUpdate->click();
    QCOMPARE(*editor.settings.Value("Settings", "Autoupdate"), "1");
    opened->btQuitte->click();
    QTRY_VERIFY(command.frmUpdate() == nullptr);
    editor.window().resize(700, 500);
    QTest::qWait(50);
    QVERIFY(command.frmUpdate() == nullptr);  // once only

    // A program folder that this user cannot write: no window at start-up,
    // and the command says why it cannot update.
    EditorHarness system("French");
    ConfigureSource(system.settings);
    UpdateCommand systemCommand(
        system.window(), system.settings, system.prompts,
        {Path("no such folder").toStdString(), [this] { return Updates(); }});
    system.Start();
    QTest::qWait(50);
    QVERIFY(systemCommand.frmUpdate() == nullptr);
    system.window().menu().mnuUpdate->trigger();
    QVERIFY(systemCommand.frmUpdate() != nullptr);
    QCOMPARE(systemCommand.frmUpdate()->windowTitle(), "Mise à jour Internet");
    QCOMPARE(systemCommand.frmUpdate()->Text1->toPlainText(),
             "Cette installation est mise à jour par le gestionnaire de paquets du système.");
    QVERIFY(!systemCommand.frmUpdate()->btMAJ->isEnabled());
  }

  // With the placeholder server and no key there is nothing to update from:
  // no window at start-up, and the command says what is missing.
  void MissingSourceIsToldNotTried() {
    EditorHarness editor;
    UpdateCommand command(editor.window(), editor.settings, editor.prompts,
                          {Path("program").toStdString(), [this] { return Updates(); }});
    editor.Start();
    QTest::qWait(50);
    QVERIFY(command.frmUpdate() == nullptr);
    editor.window().menu().mnuUpdate->trigger();
    QCOMPARE(command.frmUpdate()->Text1->toPlainText(),
             "No update server is configured (setting UpdateServer).\nNo publisher key to check "
             "updates is configured (setting UpdatePublicKey).\nSettings file: " +
                 editor.settings.path());
    QVERIFY(!command.frmUpdate()->btMAJ->isEnabled());
  }

  // Escape closes the window; the key's repeats while it is held then reach
  // the main window, whose slide and view stay as they were.
  void EscapeKeepsTheMainWindowsSelection() {
    EditorHarness editor;
    UpdateCommand command(editor.window(), editor.settings, editor.prompts,
                          {Path("program").toStdString(), [this] { return Updates(); }});
    editor.Start();
    editor.AddPictureCount(4);
    SlideList& list = editor.window().slideList();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.Slide(3)).center());
    editor.window().menu().mnuUpdate->trigger();
    QTest::keyClick(command.frmUpdate(), Qt::Key_Escape);
    QTRY_VERIFY(command.frmUpdate() == nullptr);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&list, &repeat);
    QVERIFY(list.Slide(3)->isSelected());
    QVERIFY(editor.window().slideView().HasPicture());
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 3/4: "));
  }

 private:
  QString Path(const QString& name) const { return root_.filePath(name); }
  QString ServerPath(const QString& name) const {
    return Path("ftp/" + kServerFolder + "/" + name);
  }
  std::filesystem::path Updates() const { return Path("updates").toStdString(); }
  void ConfigureSource(EditorSettings& settings) const {
    settings.SetValue("Settings", "UpdateServer", Server(kUser, kPassword, port_));
    settings.SetValue("Settings", "UpdatePublicKey", KeyLine(Path("publisher.pub")));
  }
  static QString Server(const QString& user, const QString& password, int port) {
    return QString("ftp://%1:%2@127.0.0.1:%3/").arg(user, password).arg(port);
  }

  // The server's update folder, written afresh by the publisher's tool; with
  // no digits, those of the build around the release folder.
  void Publish(const QString& digits) {
    QDir(Path("ftp/quenbrook")).removeRecursively();
    QStringList arguments = {"--key", Path("publisher.sec")};
    if (!digits.isEmpty()) arguments << "--digits" << digits;
    Run(PIVOLANE_PUBLISH_UPDATE,
        arguments +
            QStringList{Path("release"), Path("ftp/" + kServerFolder), "pivedit", "pivtool"});
  }

  // Presses btMAJ in a new update window and returns the journal once the
  // run has ended.
  QString RunUpdate(const std::function<void()>& prepare = {}) {
    clicked_ = false;
    UpdateSetup setup{*settings_.Value("Settings", "UpdateServer"),
                      settings_.UpdatePublicKey(),
                      settings_.InstallationId(),
                      Path("program").toStdString(),
                      [this] { return Updates(); },
                      Path("work").toStdString()};
    frm_ = std::make_unique<FrmUpdate>(Strings(Language::kEnglish), settings_, prompts_,
                                       std::move(setup));
    frm_->show();
    if (prepare) prepare();
    frm_->btMAJ->click();
    return frm_->Text1->toPlainText();
  }

  void VerifyNothingInstalled() {
    QVERIFY2(NamesIn(Path("updates")).isEmpty(), qPrintable(NamesIn(Path("updates")).join(' ')));
    QCOMPARE(Contents(Path("program/Pivolane")), kOldLauncher);
  }

  QTemporaryDir root_;
  QProcess server_;
  int port_ = 0;
  EditorSettings settings_{root_.filePath("config/Pivolane.ini")};
  ScriptedPrompts prompts_;
  std::unique_ptr<FrmUpdate> frm_;
  bool clicked_ = false;
};

PIVOLANE_EDITOR_TEST_MAIN(UpdateTest)
#include "update_test.moc"
