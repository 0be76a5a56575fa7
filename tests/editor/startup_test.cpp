// Start-up, language switching and closing of the main window.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include "editor/strings/string_table.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// Every menu item with a message number, and every toolbar button's tooltip.
const std::pair<const char*, int> kMenuNumbers[] = {{"mnuFichier", 200},
                                                    {"mnuNouveau", 201},
                                                    {"mnuOuvrir", 202},
                                                    {"mnuSave", 203},
                                                    {"mnuSaveAs", 204},
                                                    {"mnuCreerExe", 205},
                                                    {"mnuEnregImages", 207},
                                                    {"mnuExtraireImagesExe", 208},
                                                    {"mnuQuit", 206},
                                                    {"mnuEdition", 210},
                                                    {"mnuCouper", 211},
                                                    {"mnuCopier", 212},
                                                    {"mnuColler", 213},
                                                    {"mnuInsertion", 214},
                                                    {"mnuSupprimer", 215},
                                                    {"mnuMonter", 217},
                                                    {"mnuDescendre", 218},
                                                    {"mnuAffichage", 220},
                                                    {"mnuVisionner", 221},
                                                    {"mnuDefilement", 222},
                                                    {"mnuEnBoucle", 223},
                                                    {"mnuAleatoire", 224},
                                                    {"mnuAfficherTitre", 225},
                                                    {"mnuMotDePasse", 226},
                                                    {"mnuChiffrementFort", 227},
                                                    {"mnuOutils", 230},
                                                    {"mnuLangue", 231},
                                                    {"mnuUpdate", 232},
                                                    {"mnuApropos", 241}};

const std::pair<const char*, int> kButtonTips[] = {
    {"Nouveau", 250},        {"Ouvrir", 251},        {"Enregistrer", 252}, {"CreerExe", 253},
    {"Couper", 254},         {"Copier", 255},        {"Coller", 256},      {"AjouterDiapo", 257},
    {"SupprimerDiapo", 258}, {"Enboucle", 259},      {"Aleatoire", 260},   {"Affichertitre", 261},
    {"Crypte", 262},         {"VoirVignettes", 263}, {"Flechehaut", 264},  {"Flechebas", 265},
    {"Visionner", 266}};

QAction* MenuItem(FrmMain& window, const char* name) {
  for (QAction* item : window.menu().items) {
    if (item->objectName() == name) return item;
  }
  return nullptr;
}

// Qt's own texts: the standard buttons of a message box and the labels of a
// file dialog, built as the prompts build them.
QStringList ToolkitTexts() {
  QMessageBox box(QMessageBox::Question, "", "",
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Retry);
  QStringList texts;
  for (QMessageBox::StandardButton button :
       {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Retry}) {
    texts << box.button(button)->text();
  }
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
    texts << dialog.findChild<QLabel*>(label)->text();
  }
  return texts;
}

void VerifyTexts(EditorHarness& editor, int offset) {
  for (const auto& [name, number] : kMenuNumbers) {
    QAction* item = MenuItem(editor.window(), name);
    QVERIFY2(item != nullptr, name);
    QCOMPARE(item->text(), *FindMessage(number + offset));
  }
  for (const auto& [key, number] : kButtonTips) {
    QCOMPARE(editor.Button(key).toolTip(), *FindMessage(number + offset));
  }
  QCOMPARE(editor.window().slideView().clickHereLabel().text(), *FindMessage(182 + offset));
  QCOMPARE(editor.window().slideView().errorLabel().text(), *FindMessage(183 + offset));
  // The fixed captions.
  QCOMPARE(editor.window().menu().mnuFrancais->text(), "&Français");
  QCOMPARE(editor.window().menu().mnuEnglish->text(), "&English");
  QCOMPARE(editor.window().menu().mnuAide->title(), "&?");
  const QStringList french{"&Oui",
                           "&Non",
                           "Annuler",
                           "Réessayer",
                           "Voir dans :",
                           "&Nom de fichier :",
                           "Fichiers de type :"};
  const QStringList english{"&Yes",     "&No",         "Cancel",        "Retry",
                            "Look in:", "File &name:", "Files of type:"};
  QCOMPARE(ToolkitTexts(), offset == 0 ? french : english);
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void FirstStartFollowsTheLocaleAndStoresIt() {
    {
      EditorHarness french("French");
      french.Start();
      QCOMPARE(*french.settings.Value("Settings", "Langue"), "0");
      QVERIFY(french.window().menu().mnuFrancais->isChecked());
      VerifyTexts(french, 0);
    }
    // One editor at a time: Qt's texts belong to the whole program.
    EditorHarness german("German");
    german.Start();
    QCOMPARE(*german.settings.Value("Settings", "Langue"), "1");
    QVERIFY(german.window().menu().mnuEnglish->isChecked());
    VerifyTexts(german, 1000);
  }

  void StoredEnglishWinsOverAFrenchLocale() {
    EditorHarness editor("French");
    editor.settings.SetValue("Settings", "Langue", "1");
    editor.Start();
    QCOMPARE(editor.window().strings().langOffset(), 1000);
    QCOMPARE(editor.window().menu().mnuFichier->title(), "&File");
  }

  void LoadGivesAnUntitledShowInACleanWorkFolder() {
    EditorHarness editor;
    QFile::copy(editor.Picture("left.bmp"),
                QString::fromStdString((editor.workFolder / "PivolaneImg7.tmp").string()));
    WriteBytes(QString::fromStdString((editor.workFolder / "notes.txt").string()), "keep");
    editor.Start();
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [Pivolane1]");
    QVERIFY(!editor.window().windowIcon().isNull());
    QVERIFY(!std::filesystem::exists(editor.workFolder / "PivolaneImg7.tmp"));
    QVERIFY(std::filesystem::exists(editor.workFolder / "notes.txt"));
    QCOMPARE(editor.window().delay().value(), 3);
    QCOMPARE(editor.window().delay().textBox().text(), "Delay: 3 s.");
    const DocumentState& document = editor.window().document();
    QVERIFY(document.docUntitled);
    QVERIFY(!document.documentModified);
    QCOMPARE(document.exeFileName, "Pivolane1.exe");
    QCOMPARE(document.slideCounter, 0);
  }

  void LanguageSwitchRelabelsMenusTooltipsAndStatus() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 1/1: Size: "));
    editor.window().document().documentModified = false;

    editor.window().menu().mnuFrancais->trigger();
    VerifyTexts(editor, 0);
    QVERIFY(editor.window().menu().mnuFrancais->isChecked());
    QVERIFY(!editor.window().menu().mnuEnglish->isChecked());
    QVERIFY(editor.window().statusPanel().text().startsWith("Diapositive: 1/1: Taille: "));
    QVERIFY(editor.window().statusPanel().text().contains(" Ko, Dimensions: "));
    QCOMPARE(editor.window().delay().textBox().text(), "Délai: 3 s.");
    QCOMPARE(*editor.settings.Value("Settings", "Langue"), "0");
    QVERIFY(!editor.window().document().documentModified);

    editor.window().menu().mnuEnglish->trigger();
    VerifyTexts(editor, 1000);
    QVERIFY(!editor.window().menu().mnuFrancais->isChecked());
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 1/1: Size: "));
    QCOMPARE(*editor.settings.Value("Settings", "Langue"), "1");
  }

  void UpdateCheckRunsOnceAtTheFirstAppearance() {
    EditorHarness editor;
    QSignalSpy checks(editor.window().menu().mnuUpdate, &QAction::triggered);
    editor.Start();
    QTRY_COMPARE(checks.count(), 1);
    QVERIFY(!editor.window().autoUpdateDue());
    editor.window().resize(900, 600);
    QTest::qWait(50);
    QCOMPARE(checks.count(), 1);
  }

  void UpdateCheckOffAtStartup() {
    EditorHarness editor;
    editor.settings.SetValue("settings", "Autoupdate", "0");
    QSignalSpy checks(editor.window().menu().mnuUpdate, &QAction::triggered);
    editor.Start();
    QTest::qWait(50);
    QCOMPARE(checks.count(), 0);
  }

  void CloseWithoutChangesAsksNothingAndCleans() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    editor.window().document().documentModified = false;
    QVERIFY(editor.window().close());
    QVERIFY(editor.prompts.messages.empty());
    QVERIFY(std::filesystem::is_empty(editor.workFolder));
  }

  void CloseWithChangesAsksToSave() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    QVERIFY(editor.window().document().documentModified);

    editor.prompts.answers = {PromptAnswer::kCancel};
    QVERIFY(!editor.window().close());
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    const PromptMessage& asked = editor.prompts.messages.back();
    QCOMPARE(asked.title, "Pivolane");
    QCOMPARE(asked.text, "Save current slide show before leaving ?");
    QCOMPARE(asked.buttons, PromptMessage::Buttons::kYesNoCancel);
    QCOMPARE(asked.icon, PromptMessage::Icon::kQuestion);
    QVERIFY(editor.window().isVisible());
    QCOMPARE(editor.window().slideList().Count(), 1);

    editor.prompts.answers = {PromptAnswer::kNo};
    QVERIFY(editor.window().close());
    QVERIFY(!editor.window().document().documentModified);
    QVERIFY(std::filesystem::is_empty(editor.workFolder));
  }

  void YesRunsSaveAndClosesOnlyWhenSaved() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    bool saveSucceeds = false;
    int saves = 0;
    QObject::connect(editor.window().menu().mnuSave, &QAction::triggered, [&] {
      ++saves;
      if (saveSucceeds) editor.window().document().documentModified = false;
    });

    editor.prompts.answers = {PromptAnswer::kYes};
    QVERIFY(!editor.window().close());  // the save was cancelled or failed
    QCOMPARE(saves, 1);

    saveSucceeds = true;
    editor.prompts.answers = {PromptAnswer::kYes};
    QVERIFY(editor.window().close());
    QCOMPARE(saves, 2);
  }

  void YesWithNoSlideRemovesTheShowsOwnDocument() {
    EditorHarness editor;
    editor.Start();
    const QString folder = editor.Folder("shows");
    WriteBytes(folder + "/holiday.pvl", "old show");
    DocumentState& document = editor.window().document();
    document.docUntitled = false;
    document.docFolder = folder + "/";
    document.docFileName = "holiday.pvl";
    editor.AddPictureCount(1);
    editor.window().slides().DeleteSlide();

    editor.prompts.answers = {PromptAnswer::kYes};
    QVERIFY(editor.window().close());
    QVERIFY(!QFile::exists(folder + "/holiday.pvl"));
  }

  void YesWithNoSlideNeverTouchesAFileOfTheUntitledName() {
    EditorHarness editor;
    editor.Start();
    const QString before = QDir::currentPath();
    QDir::setCurrent(editor.Folder("current"));
    WriteBytes("Pivolane1.pvl", "someone else's show");
    editor.AddPictureCount(1);
    editor.window().slides().DeleteSlide();

    editor.prompts.answers = {PromptAnswer::kYes};
    const bool closed = editor.window().close();
    const bool kept = QFile::exists("Pivolane1.pvl");
    QDir::setCurrent(before);
    QVERIFY(closed);
    QVERIFY(kept);
  }

  void CommandLinePathReachesTheOpenCommand() {
    EditorHarness editor;
    const QString folder = editor.Folder("shows");
    WriteBytes(folder + "/holiday.pvl", "show");
    QStringList opened;
    editor.window().SetDocumentOpener([&](const QString& path) { opened << path; });
    editor.Start(folder + "/holiday.pvl");
    QCOMPARE(opened, QStringList{folder + "/holiday.pvl"});
    QCOMPARE(editor.window().document().docFileName, "holiday.pvl");
    QCOMPARE(editor.window().document().docFolder, folder + "/");
    QVERIFY(editor.prompts.messages.empty());
  }

  void QuotedCommandLineIsNotOpened() {
    EditorHarness editor;
    const QString path = editor.Folder("shows") + "/holiday.pvl";
    WriteBytes(path, "show");
    QStringList opened;
    editor.window().SetDocumentOpener([&](const QString& p) { opened << p; });
    editor.Start("\"" + path + "\"");
    QVERIFY(opened.isEmpty());
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    const PromptMessage& shown = editor.prompts.messages.front();
    QCOMPARE(shown.title, "Pivolane (Proc GCL)");
    QCOMPARE(shown.text, "The file: \"" + path + "\"\nError: 52: Bad file name or number");
    QCOMPARE(shown.icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(editor.window().document().docFileName, "Pivolane1.pvl");
    QVERIFY(editor.window().document().docFolder.isEmpty());
  }
};

PIVOLANE_EDITOR_TEST_MAIN(StartupTest)
#include "startup_test.moc"
