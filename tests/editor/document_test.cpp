// The document commands New, Open, Save and Save As, the command line, and
// documents exchanged with pivtool.
#include <sstream>

#include <QDir>
#include <QFile>
#include <QTest>

#include "common/format/show_file.h"
#include "common/io/file.h"
#include "test_support.h"
#include "tools/pivtool/commands.h"

using namespace pivolane;
using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

format::ShowHeader HeaderOf(const QString& path) {
  return format::ShowFile::Open(path.toStdString()).header();
}

// The process's current folder for as long as it lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const QString& folder) : before_(QDir::currentPath()) {
    QDir::setCurrent(folder);
  }
  ~CurrentFolder() { QDir::setCurrent(before_); }

 private:
  QString before_;
};

int RunPivtool(const std::vector<std::string>& words, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = pivtool::RunPivtool(words, {in, out, err});
  if (status != 0) qWarning("pivtool: %s", err.str().c_str());
  return status;
}

// The window's untitled show saved under name in the "shows" folder.
QString SaveNewShow(EditorHarness& editor, const QString& name) {
  const QString path = editor.Folder("shows") + "/" + name;
  editor.prompts.saveChoices.push_back(path);
  editor.window().menu().mnuSave->trigger();
  return path;
}

void OpenThroughTheDialog(EditorHarness& editor, const QString& path) {
  editor.prompts.openChoices.push_back(path);
  editor.window().menu().mnuOuvrir->trigger();
}

const PromptMessage& LastMessage(EditorHarness& editor) {
  return editor.prompts.messages.back();
}

// A password option switched on the way the user does it.
void UsePassword(EditorHarness& editor) {
  editor.window().menu().mnuMotDePasse->trigger();
  QVERIFY(editor.window().menu().mnuMotDePasse->isChecked());
}

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void NewShowSaveProposesTheUntitledNameAndAddsTheExtension() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString path = SaveNewShow(editor, "holiday");

    QCOMPARE(editor.prompts.saveRequests.size(), std::size_t{1});
    const SaveFileRequest& asked = editor.prompts.saveRequests[0];
    QCOMPARE(asked.title, "Save as...");
    QCOMPARE(asked.proposedName, "Pivolane1.pvl");
    QVERIFY(asked.startFolder.isEmpty());
    QCOMPARE(asked.filters.size(), std::size_t{1});
    QCOMPARE(asked.filters[0].patterns, QStringList{"*.*"});
    QVERIFY(QFile::exists(path + ".pvl"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [holiday]");
    const DocumentState& document = editor.window().document();
    QCOMPARE(document.docFileName, "holiday.pvl");
    QCOMPARE(document.docFolder, editor.Folder("shows") + "/");
    QVERIFY(!document.docUntitled);
    QVERIFY(!document.documentModified);
    QVERIFY(editor.prompts.messages.empty());
    QCOMPARE(HeaderOf(path + ".pvl").SlideCount, std::int16_t{2});
  }

  void ExtensionTypedInCapitalsIsKept() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    SaveNewShow(editor, "first.pvl");
    editor.prompts.saveChoices.push_back(editor.Folder("shows") + "/LOUD.PVL");
    editor.window().menu().mnuSaveAs->trigger();

    QCOMPARE(editor.prompts.saveRequests[1].proposedName, "first.pvl");
    QCOMPARE(editor.prompts.saveRequests[1].startFolder, editor.Folder("shows") + "/");
    QVERIFY(QFile::exists(editor.Folder("shows") + "/LOUD.PVL"));
    QVERIFY(!QFile::exists(editor.Folder("shows") + "/LOUD.PVL.pvl"));
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [LOUD]");
  }

  void CancelledFirstSaveKeepsTheShowUntitledAndAsksAgain() {
    EditorHarness editor;
    editor.Start();
    CurrentFolder here(editor.Folder("current"));
    editor.AddPictureCount(1);
    editor.window().menu().mnuSave->trigger();

    const DocumentState& document = editor.window().document();
    QCOMPARE(document.docFileName, "Pivolane1");
    QVERIFY(document.docUntitled);
    QVERIFY(document.documentModified);
    QVERIFY(QDir(editor.Folder("current")).isEmpty());

    editor.window().menu().mnuSave->trigger();
    QCOMPARE(editor.prompts.saveRequests.size(), std::size_t{2});
    QCOMPARE(editor.prompts.saveRequests[1].proposedName, "Pivolane1");
  }

  void CancelledSaveAsKeepsTheDocumentsName() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString path = SaveNewShow(editor, "holiday.pvl");
    editor.window().menu().mnuSaveAs->trigger();
    QCOMPARE(editor.window().document().docFileName, "holiday.pvl");
    QVERIFY(!editor.window().document().docUntitled);

    editor.AddPictureCount(1);
    editor.prompts.answers = {PromptAnswer::kOk};
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(HeaderOf(path).SlideCount, std::int16_t{3});
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [holiday]");
  }

  void ResavingAsksBeforeReplacingAndCancelWritesNothing() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString path = SaveNewShow(editor, "holiday.pvl");
    const QByteArray saved = Contents(path);
    editor.AddPictureCount(1);

    editor.prompts.answers = {PromptAnswer::kCancel};
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).title, "Pivolane");
    QCOMPARE(LastMessage(editor).text,
             "The file: \"holiday.pvl\" already exists !\nDelete and resume ?");
    QCOMPARE(LastMessage(editor).buttons, PromptMessage::Buttons::kOkCancel);
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(Contents(path), saved);
    QVERIFY(editor.window().document().documentModified);

    editor.prompts.answers = {PromptAnswer::kOk};
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    QCOMPARE(HeaderOf(path).SlideCount, std::int16_t{3});
    QVERIFY(!editor.window().document().documentModified);
    QCOMPARE(editor.prompts.saveRequests.size(), std::size_t{1});
  }

  void CancelInThePasswordDialogWritesNothing() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    UsePassword(editor);
    const QString path = editor.Folder("shows") + "/secret.pvl";
    editor.prompts.saveChoices.push_back(path);
    editor.window().menu().mnuSave->trigger();

    QCOMPARE(editor.prompts.newPasswordRequests, 1);
    QVERIFY(!QFile::exists(path));
    QVERIFY(editor.window().document().documentModified);
    QVERIFY(!editor.window().document().passwordEntered);
  }

  void SecondSaveAsksAgainAndKeepsKeyStartAndCheckValue() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    UsePassword(editor);
    editor.UseXorCipher();
    editor.prompts.newPasswords = {QString("same"), QString("same")};
    const QString path = editor.Folder("shows") + "/secret.pvl";
    editor.prompts.saveChoices.push_back(path);
    editor.window().menu().mnuSave->trigger();
    const format::ShowHeader first = HeaderOf(path);

    editor.prompts.answers = {PromptAnswer::kOk};
    editor.window().menu().mnuSave->trigger();
    const format::ShowHeader second = HeaderOf(path);
    QCOMPARE(editor.prompts.newPasswordRequests, 2);
    QCOMPARE(first.CipherVersion, std::int16_t{1});
    QVERIFY(first.keyStart >= 1);
    QCOMPARE(second.keyStart, first.keyStart);
    QVERIFY(second.PasswordCheck == first.PasswordCheck);
    QCOMPARE(editor.window().cipher().keyStart, first.keyStart);
  }

  void ThreeSlidesWithAPasswordComeBackWhole() {
    EditorHarness editor("French");
    editor.Start();
    const QString gif = editor.Folder("pictures") + "/ville.gif";
    WriteGif(gif);
    const QStringList pictures = {editor.Picture("plage.bmp", {40, 30}),
                                  editor.Picture("forêt.bmp", {12, 50}), gif};
    editor.AddPictures(pictures);
    editor.window().slideList().Slide(2)->setText(0, "Forêt en été");
    for (QAction* option :
         {editor.window().menu().mnuEnBoucle, editor.window().menu().mnuAfficherTitre}) {
      option->trigger();
    }
    UsePassword(editor);
    editor.UseXorCipher();
    editor.window().delay().SetValue(7);
    editor.prompts.newPasswords = {QString("Sésame")};
    const QString path = SaveNewShow(editor, "voyage.pvl");
    QVERIFY(QFile::exists(path));

    editor.window().menu().mnuNouveau->trigger();
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(!editor.window().menu().mnuMotDePasse->isChecked());
    QCOMPARE(editor.window().delay().value(), 3);
    editor.window().cipher() = {};
    // An opened show keeps its own cipher, whatever new shows take.
    editor.settings.SetCipherVersion(2);

    editor.prompts.typedPasswords = {QString("Sésame")};
    OpenThroughTheDialog(editor, path);
    QCOMPARE(editor.prompts.typedPasswordRequests, 1);
    QCOMPARE(editor.Titles(), (QStringList{"plage.bmp", "Forêt en été", "ville.gif"}));
    QCOMPARE(Contents(editor.Keys()[0]), Contents(pictures[0]));
    QCOMPARE(Contents(editor.Keys()[1]), Contents(pictures[1]));
    QCOMPARE(Contents(editor.Keys()[2]), Contents(pictures[2]));
    const MainMenu& menu = editor.window().menu();
    QVERIFY(menu.mnuEnBoucle->isChecked());
    QVERIFY(!menu.mnuAleatoire->isChecked());
    QVERIFY(menu.mnuAfficherTitre->isChecked());
    QVERIFY(menu.mnuMotDePasse->isChecked());
    QVERIFY(!menu.mnuChiffrementFort->isChecked());
    QVERIFY(editor.Button("Crypte").isChecked());
    QCOMPARE(editor.window().delay().value(), 7);
    QCOMPARE(editor.window().cipher().currentPassword, std::string("S\xE9same"));
    QCOMPARE(editor.window().cipher().keyStart, HeaderOf(path).keyStart);
    QCOMPARE(HeaderOf(path).Language, std::uint8_t{0});

    const DocumentState& document = editor.window().document();
    QVERIFY(document.openSucceeded);
    QVERIFY(document.passwordEntered);
    QVERIFY(!document.documentModified);
    QVERIFY(!document.docUntitled);
    QCOMPARE(document.exeFileName, "voyage.exe");
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [voyage]");
    QCOMPARE(editor.window().slideList().SelectedSlide(), editor.window().slideList().Slide(1));
    QCOMPARE(editor.window().slideView().image().size(), QSize(40, 30));
    QVERIFY(menu.mnuCopier->isEnabled());
    QVERIFY(menu.mnuSave->isEnabled());
  }

  void WrongPasswordGivesMessage108AndAnEmptyShow() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    UsePassword(editor);
    editor.prompts.newPasswords = {QString("right")};
    const QString path = SaveNewShow(editor, "secret.pvl");
    editor.window().cipher() = {"mine", 9};

    // Typed and wrong, Cancel whatever was typed, and too long to be any
    // show's password.
    for (const std::optional<QString>& typed :
         {std::optional<QString>("wrong"), std::optional<QString>(),
          std::optional<QString>(QString(129, 'r'))}) {
      editor.prompts.messages.clear();
      editor.prompts.typedPasswords = {typed};
      OpenThroughTheDialog(editor, path);
      QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
      QCOMPARE(LastMessage(editor).title, "Pivolane");
      QCOMPARE(LastMessage(editor).text, "Wrong password !");
      QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kCritical);
      QCOMPARE(editor.window().slideList().Count(), 0);
      QVERIFY(!editor.window().menu().mnuMotDePasse->isChecked());
      QVERIFY(!editor.window().document().openSucceeded);
      QVERIFY(editor.window().document().docUntitled);
      QVERIFY(!editor.window().document().passwordEntered);
      QCOMPARE(editor.window().cipher().currentPassword, std::string("mine"));
      QCOMPARE(editor.window().cipher().keyStart, std::uint8_t{9});
      QVERIFY(std::filesystem::is_empty(editor.workFolder));
    }
  }

  void UnknownCipherVersionGivesMessage135ThenError102() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    UsePassword(editor);
    editor.prompts.newPasswords = {QString("pw")};
    const QString path = SaveNewShow(editor, "newer.pvl");
    QByteArray bytes = Contents(path);
    bytes[bytes.size() - 156 + 153] = 3;  // CipherVersion
    WriteBytes(path, bytes);

    OpenThroughTheDialog(editor, path);
    QCOMPARE(editor.prompts.typedPasswordRequests, 0);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    const PromptMessage& version = editor.prompts.messages[0];
    QCOMPARE(version.title, "Pivolane (Proc 102)");
    QCOMPARE(version.text, "The file: " + path +
                               "\n\nUnable to decrypt with Pivolane Version 1.00\n\n"
                               "Proceed to an updating !");
    QCOMPARE(version.icon, PromptMessage::Icon::kCritical);
    const PromptMessage& failure = editor.prompts.messages[1];
    QCOMPARE(failure.title, "Pivolane (Proc 102)");
    QCOMPARE(failure.text, "Can't open !\nDamaged file: " + path +
                               "\nError: 102: Unable to decrypt with Pivolane Version 1.00");
    QCOMPARE(failure.icon, PromptMessage::Icon::kCritical);
    QCOMPARE(editor.window().slideList().Count(), 0);
  }

  void FileThatIsNoShowGivesTheOpenFailureInTheCurrentLanguage() {
    EditorHarness editor("French");
    editor.Start();
    const QString path = editor.Folder("shows") + "/notes.pvl";
    WriteBytes(path, QByteArray(100, 'x'));
    OpenThroughTheDialog(editor, path);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 102)");
    QCOMPARE(LastMessage(editor).text, "Ouverture impossible !\nFichier endommagé: " + path +
                                           "\nErreur: 136: Ce fichier n'est pas valide !");
    // The names chosen stay; the show is a new empty one.
    QCOMPARE(editor.window().document().docFileName, "notes.pvl");
    QVERIFY(editor.window().document().docUntitled);
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [Pivolane1]");
  }

  void OpenDialogAsksForShowFilesFromTheLastFolder() {
    EditorHarness editor("French");
    editor.Start();
    editor.window().menu().mnuOuvrir->trigger();
    const OpenFilesRequest& first = editor.prompts.fileRequests.back();
    QCOMPARE(first.title, "Ouvrir...");
    QCOMPARE(first.filters.size(), std::size_t{2});
    QCOMPARE(first.filters[0].description, "Fichiers Pivolane (*.pvl)");
    QCOMPARE(first.filters[0].patterns, QStringList{"*.pvl"});
    QCOMPARE(first.filters[1].description, "Tous (*.*)");
    QCOMPARE(first.filters[1].patterns, QStringList{"*.*"});
    QVERIFY(first.startFolder.isEmpty());

    editor.AddPictureCount(1);
    SaveNewShow(editor, "holiday.pvl");
    editor.window().menu().mnuOuvrir->trigger();
    QCOMPARE(editor.prompts.fileRequests.back().startFolder, editor.Folder("shows") + "/");
    // Cancelled: the document keeps its name.
    QCOMPARE(editor.window().document().docFileName, "holiday.pvl");
  }

  void OpenNoThenCancelLeavesAnEmptyListAndTheOldTitle() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    SaveNewShow(editor, "holiday.pvl");
    editor.AddPictureCount(1);
    editor.prompts.answers = {PromptAnswer::kNo};
    editor.window().menu().mnuOuvrir->trigger();

    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).text, "Save current slide show before opening a new one ?");
    QCOMPARE(LastMessage(editor).buttons, PromptMessage::Buttons::kYesNoCancel);
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(editor.window().slideList().Count(), 0);
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [holiday]");
    QCOMPARE(editor.window().document().docFileName, "holiday.pvl");
    QCOMPARE(editor.window().document().docFolder, editor.Folder("shows") + "/");
    QVERIFY(!editor.window().menu().mnuSave->isEnabled());
    QVERIFY(std::filesystem::is_empty(editor.workFolder));

    // The changes were declined: closing now asks nothing and the document
    // on disk survives (a Yes to the close question would have wiped it).
    const QByteArray saved = Contents(editor.Folder("shows") + "/holiday.pvl");
    QVERIFY(!editor.window().document().documentModified);
    QVERIFY(editor.window().close());
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(Contents(editor.Folder("shows") + "/holiday.pvl"), saved);
  }

  void CancelAtTheSaveQuestionKeepsTheShow() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    for (QAction* command : {editor.window().menu().mnuNouveau, editor.window().menu().mnuOuvrir}) {
      editor.prompts.answers = {PromptAnswer::kCancel};
      command->trigger();
      QCOMPARE(editor.window().slideList().Count(), 2);
      QVERIFY(editor.window().document().documentModified);
    }
    QVERIFY(editor.prompts.fileRequests.size() == 1);  // the pictures only
  }

  void NewWithUnsavedChangesAndYesSavesWithoutADialog() {
    EditorHarness editor;
    editor.Start();
    CurrentFolder here(editor.Folder("current"));
    editor.AddPictureCount(2);
    editor.prompts.answers = {PromptAnswer::kYes};
    editor.window().menu().mnuNouveau->trigger();

    QVERIFY(editor.prompts.saveRequests.empty());
    QCOMPARE(HeaderOf(editor.Folder("current") + "/Pivolane1.pvl").SlideCount, std::int16_t{2});
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(!editor.window().document().documentModified);
    QVERIFY(editor.window().document().docUntitled);
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [Pivolane1]");
    QVERIFY(std::filesystem::is_empty(editor.workFolder));
  }

  void YesToTheSaveQuestionResavesANamedShowInPlace() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString path = SaveNewShow(editor, "holiday.pvl");
    editor.AddPictureCount(1);
    editor.prompts.answers = {PromptAnswer::kYes};
    editor.window().menu().mnuNouveau->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});  // no overwrite question
    QCOMPARE(HeaderOf(path).SlideCount, std::int16_t{3});
    // New keeps the names and the title.
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [holiday]");
    QCOMPARE(editor.window().document().docFileName, "holiday.pvl");
  }

  void YesToTheSaveQuestionNeverReplacesAFileOfTheUntitledNameUnasked() {
    EditorHarness editor;
    editor.Start();
    CurrentFolder here(editor.Folder("current"));
    WriteBytes("Pivolane1.pvl", "someone else's show");
    editor.AddPictureCount(1);
    editor.prompts.answers = {PromptAnswer::kYes, PromptAnswer::kCancel};
    editor.window().menu().mnuNouveau->trigger();

    QCOMPARE(LastMessage(editor).text,
             "The file: \"Pivolane1.pvl\" already exists !\nDelete and resume ?");
    QCOMPARE(Contents("Pivolane1.pvl"), QByteArray("someone else's show"));
    QCOMPARE(editor.window().slideList().Count(), 1);
    QVERIFY(editor.window().document().documentModified);
  }

  void SaveQuestionAsksForAPasswordWhenNoneWasEnteredYet() {
    EditorHarness editor;
    editor.Start();
    CurrentFolder here(editor.Folder("current"));
    editor.AddPictureCount(1);
    UsePassword(editor);
    editor.UseXorCipher();

    editor.prompts.answers = {PromptAnswer::kYes};
    editor.window().menu().mnuNouveau->trigger();  // the password dialog cancelled
    QCOMPARE(editor.prompts.newPasswordRequests, 1);
    QVERIFY(!QFile::exists("Pivolane1.pvl"));
    QCOMPARE(editor.window().slideList().Count(), 1);

    editor.prompts.answers = {PromptAnswer::kYes};
    editor.prompts.newPasswords = {QString("first")};
    editor.window().menu().mnuNouveau->trigger();
    QCOMPARE(HeaderOf("Pivolane1.pvl").CipherVersion, std::int16_t{1});
    QCOMPARE(editor.window().slideList().Count(), 0);

    // The password entered earlier in the run serves the next such save.
    editor.AddPictureCount(1);
    UsePassword(editor);
    editor.prompts.answers = {PromptAnswer::kYes, PromptAnswer::kOk};
    editor.window().menu().mnuNouveau->trigger();
    QCOMPARE(editor.prompts.newPasswordRequests, 2);
    QCOMPARE(editor.window().slideList().Count(), 0);
    editor.prompts.typedPasswords = {QString("first")};
    OpenThroughTheDialog(editor, editor.Folder("current") + "/Pivolane1.pvl");
    QCOMPARE(editor.window().slideList().Count(), 1);
  }

  void FailedSaveLeavesTheOldDocumentByteIdenticalAndTheShowModified() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString path = SaveNewShow(editor, "holiday.pvl");
    const QByteArray saved = Contents(path);
    editor.AddPictureCount(3);
    {
      WriteBudget budget(500);
      editor.prompts.answers = {PromptAnswer::kOk, PromptAnswer::kCancel};
      editor.window().menu().mnuSave->trigger();
    }
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 100)");
    QVERIFY(LastMessage(editor).text.startsWith("Disk access impossible !\nError: 61: "));
    QCOMPARE(LastMessage(editor).buttons, PromptMessage::Buttons::kRetryCancel);
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(Contents(path), saved);
    QCOMPARE(QDir(editor.Folder("shows")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"holiday.pvl"});
    QVERIFY(editor.window().document().documentModified);
    QVERIFY(editor.window().isEnabled());

    // Once the disk has room again, the next save writes it.
    editor.prompts.answers = {PromptAnswer::kOk};
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(HeaderOf(path).SlideCount, std::int16_t{5});
    QVERIFY(!editor.window().document().documentModified);
  }

  void RetryRepeatsTheFailedStep() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString gone = editor.Folder("shows") + "/gone";
    editor.prompts.saveChoices.push_back(gone + "/holiday.pvl");
    editor.prompts.answers = {PromptAnswer::kRetry, PromptAnswer::kCancel};
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    for (const PromptMessage& shown : editor.prompts.messages) {
      QCOMPARE(shown.title, "Pivolane (Proc 100)");
      QVERIFY(shown.text.contains("Error: 76: "));
    }
    QVERIFY(editor.window().document().documentModified);
  }

  void MissingWorkingFileIsAPayloadFailure() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    QFile::remove(editor.Keys()[1]);
    editor.prompts.saveChoices.push_back(editor.Folder("shows") + "/holiday.pvl");
    editor.window().menu().mnuSave->trigger();
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 103)");
    QVERIFY(LastMessage(editor).text.startsWith("Disk access impossible !\nError: 53: "));
    QVERIFY(!QFile::exists(editor.Folder("shows") + "/holiday.pvl"));
  }

  void FailedSaveFromTheQuestionStopsTheNewShow() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    SaveNewShow(editor, "holiday.pvl");
    editor.AddPictureCount(1);
    editor.window().document().docFolder = editor.Folder("shows") + "/gone/";
    editor.prompts.answers = {PromptAnswer::kYes, PromptAnswer::kCancel};
    editor.window().menu().mnuNouveau->trigger();
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 100)");
    QCOMPARE(editor.window().slideList().Count(), 3);
    QVERIFY(editor.window().document().documentModified);
  }

  void CloseWithYesSavesThroughTheNameDialog() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString path = editor.Folder("shows") + "/last.pvl";
    editor.prompts.answers = {PromptAnswer::kYes};
    editor.prompts.saveChoices.push_back(path);
    QVERIFY(editor.window().close());
    QCOMPARE(HeaderOf(path).SlideCount, std::int16_t{1});
  }

  void CommandLineOpensTheDocumentAtStartUp() {
    QTemporaryDir shows;
    const QString path = shows.filePath("my holiday.pvl");
    {
      EditorHarness writer;
      writer.Start();
      writer.AddPictureCount(3);
      writer.prompts.saveChoices.push_back(path);
      writer.window().menu().mnuSave->trigger();
    }
    EditorHarness editor;
    editor.Start(path);
    QCOMPARE(editor.window().slideList().Count(), 3);
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [my holiday]");
    QCOMPARE(editor.window().document().docFolder, shows.path() + "/");
    QVERIFY(editor.prompts.messages.empty());

    // The next dialog starts in the document's folder.
    editor.window().menu().mnuSaveAs->trigger();
    QCOMPARE(editor.prompts.saveRequests.back().startFolder, shows.path() + "/");
  }

  void CommandLineNamingNoFileLeavesAnEmptyShow() {
    EditorHarness editor;
    const QString path = editor.Folder("shows") + "/missing.pvl";
    editor.Start(path);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 102)");
    QVERIFY(LastMessage(editor).text.startsWith("Can't open !\nDamaged file: " + path +
                                                "\nError: 53: "));
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(editor.window().document().docUntitled);
    QCOMPARE(editor.window().windowTitle(), "Pivolane - [Pivolane1]");
  }

  void PivtoolDocumentsOpenInTheEditorAndTheEditorsInPivtool() {
    EditorHarness editor;
    editor.Start();
    const QString made = editor.Folder("shows") + "/made.pvl";
    const QString picture = editor.Picture("plage.bmp", {20, 10});
    QCOMPARE(RunPivtool({"create", made.toStdString(), "--delay", "9", "--random",
                         "--password-stdin", picture.toStdString()},
                        "s\xC3\xA9same\n"),
             0);
    editor.prompts.typedPasswords = {QString("sésame")};
    OpenThroughTheDialog(editor, made);
    QCOMPARE(editor.Titles(), QStringList{"plage.bmp"});
    QCOMPARE(Contents(editor.Keys()[0]), Contents(picture));
    QCOMPARE(editor.window().delay().value(), 9);
    QVERIFY(editor.window().menu().mnuAleatoire->isChecked());

    editor.prompts.newPasswords = {QString("autre mot")};
    editor.prompts.saveChoices.push_back(editor.Folder("shows") + "/edited.pvl");
    editor.window().menu().mnuSaveAs->trigger();
    const QString out = editor.Folder("extracted");
    QCOMPARE(RunPivtool({"extract", (editor.Folder("shows") + "/edited.pvl").toStdString(), "--to",
                         out.toStdString(), "--password-stdin"},
                        "autre mot\n"),
             0);
    QCOMPARE(Contents(out + "/plage.bmp"), Contents(picture));
  }

  // A password gives the strong cipher unless the user unticks it; the last
  // choice is that of the next new show.
  void StrongEncryptionIsTheDefaultAndTheLastChoiceIsRemembered() {
    EditorHarness editor;
    editor.Start();
    const MainMenu& m = editor.window().menu();
    QVERIFY(m.mnuChiffrementFort->isChecked());
    QVERIFY(!m.mnuChiffrementFort->isEnabled());
    editor.AddPictureCount(1);
    QVERIFY(!m.mnuChiffrementFort->isEnabled());
    UsePassword(editor);
    QVERIFY(m.mnuChiffrementFort->isEnabled());
    editor.prompts.newPasswords = {QString("pw"), QString("pw")};
    const QString path = SaveNewShow(editor, "default.pvl");
    QCOMPARE(HeaderOf(path).CipherVersion, std::int16_t{2});

    editor.UseXorCipher();
    QVERIFY(editor.window().document().documentModified);
    QCOMPARE(editor.settings.CipherVersion(), 1);
    editor.prompts.answers = {PromptAnswer::kOk};
    m.mnuSave->trigger();
    QCOMPARE(HeaderOf(path).CipherVersion, std::int16_t{1});
    QCOMPARE(editor.prompts.passwordCiphers, (std::vector<std::int16_t>{2, 1}));
    m.mnuMotDePasse->trigger();
    QVERIFY(!m.mnuChiffrementFort->isEnabled());

    editor.prompts.answers = {PromptAnswer::kNo};
    m.mnuNouveau->trigger();
    QVERIFY(!m.mnuChiffrementFort->isChecked());
    EditorHarness next;
    next.settings.SetCipherVersion(2);
    next.Start();
    QVERIFY(next.window().menu().mnuChiffrementFort->isChecked());
  }

  void StrongShowsComeBackWholeAndKeepTheirCipherAcrossSaves() {
    EditorHarness editor;
    editor.Start();
    const QStringList pictures = editor.StartStrongShow("Sésame");
    const QString path = SaveNewShow(editor, "strong.pvl");
    QCOMPARE(HeaderOf(path).CipherVersion, std::int16_t{2});
    const QString out = editor.Folder("extracted");
    QCOMPARE(
        RunPivtool({"extract", path.toStdString(), "--to", out.toStdString(), "--password-stdin"},
                   "S\xC3\xA9same\n"),
        0);
    QCOMPARE(Contents(out + "/big.bmp"), Contents(pictures[0]));

    const MainMenu& m = editor.window().menu();
    m.mnuNouveau->trigger();
    editor.prompts.typedPasswords = {QString("sésame")};
    OpenThroughTheDialog(editor, path);
    QCOMPARE(LastMessage(editor).text, "Wrong password !");
    QCOMPARE(editor.window().slideList().Count(), 0);
    editor.prompts.typedPasswords = {QString("Sésame")};
    OpenThroughTheDialog(editor, path);
    QCOMPARE(editor.Titles(), (QStringList{"big.bmp", "small.bmp"}));
    QCOMPARE(Contents(editor.Keys()[0]), Contents(pictures[0]));
    QVERIFY(m.mnuChiffrementFort->isChecked());
    QVERIFY(m.mnuChiffrementFort->isEnabled());

    editor.prompts.answers = {PromptAnswer::kOk};
    editor.prompts.newPasswords = {QString("Sésame")};
    m.mnuSave->trigger();
    QCOMPARE(HeaderOf(path).CipherVersion, std::int16_t{2});
    m.mnuChiffrementFort->trigger();
    editor.prompts.answers = {PromptAnswer::kOk};
    editor.prompts.newPasswords = {QString("Sésame")};
    m.mnuSave->trigger();
    QCOMPARE(HeaderOf(path).CipherVersion, std::int16_t{1});
  }

  void ADamagedStrongPictureFailsTheOpenAndLeavesNoWorkingFile() {
    EditorHarness editor;
    editor.Start();
    const QString path = editor.Folder("shows") + "/made.pvl";
    const QString picture = editor.Picture("plage.bmp", {200, 120});
    QCOMPARE(RunPivtool({"create", path.toStdString(), "--cipher", "2", "--kdf-passes", "1",
                         "--kdf-memory", "8", "--password-stdin", picture.toStdString()},
                        "pw\n"),
             0);
    QByteArray bytes = Contents(path);
    bytes[bytes.size() - 200] = static_cast<char>(bytes[bytes.size() - 200] ^ 1);
    WriteBytes(path, bytes);

    editor.prompts.typedPasswords = {QString("pw")};
    OpenThroughTheDialog(editor, path);
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 102)");
    QVERIFY(LastMessage(editor).text.startsWith("Can't open !\nDamaged file: " + path +
                                                "\nError: 62: "));
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(std::filesystem::is_empty(editor.workFolder));
  }
};

PIVOLANE_EDITOR_TEST_MAIN(DocumentTest)
#include "document_test.moc"
