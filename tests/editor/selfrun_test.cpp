// Building a self-running show from the editor, and taking the pictures of
// one back out.
#include <sys/stat.h>

#include <functional>

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "common/cipher/cryptage_xor.h"
#include "common/cipher/password.h"
#include "common/format/records.h"
#include "common/format/self_running.h"
#include "common/format/show_file.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/version.h"
#include "editor/document/document_dialogs.h"
#include "editor/shell/qt_prompts.h"
#include "player/carried/carried_player.h"
#include "test_support.h"

using namespace pivolane;
using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

QByteArray PlayerBytes() {
  const std::span<const std::uint8_t> player = CarriedPlayer();
  return QByteArray(reinterpret_cast<const char*>(player.data()),
                    static_cast<qsizetype>(player.size()));
}

format::ShowHeader HeaderOf(const QByteArray& show) {
  const auto* end = reinterpret_cast<const std::uint8_t*>(show.constData()) + show.size();
  return format::ShowHeader::Parse(std::span<const std::uint8_t, format::kHeaderSize>(
      end - format::kTrailerSize, format::kHeaderSize));
}

// The header record of the show at path rewritten by change.
void RewriteHeader(const QString& path, const std::function<void(format::ShowHeader&)>& change) {
  QByteArray bytes = Contents(path);
  format::ShowHeader header = HeaderOf(bytes);
  change(header);
  const format::ShowHeader::Bytes record = header.Serialize();
  bytes.replace(bytes.size() - format::kTrailerSize, format::kHeaderSize,
                QByteArray(reinterpret_cast<const char*>(record.data()), record.size()));
  WriteBytes(path, bytes);
}

// The Build command, the dialog answered with path.
void Build(EditorHarness& editor, const QString& path) {
  editor.prompts.saveChoices.push_back(path);
  editor.window().menu().mnuCreerExe->trigger();
}

// The Extract pictures command, the dialog answered with path.
void Extract(EditorHarness& editor, const QString& path) {
  editor.prompts.openChoices.push_back(path);
  editor.window().menu().mnuExtraireImagesExe->trigger();
}

// Three pictures of different sizes and colours, added to the show.
QStringList AddThreePictures(EditorHarness& editor) {
  const QString folder = editor.Folder("pictures");
  const QStringList pictures = {folder + "/red.bmp", folder + "/green.bmp", folder + "/blue.bmp"};
  WriteBmp(pictures[0], {40, 30}, Qt::red);
  WriteBmp(pictures[1], {12, 50}, Qt::green);
  WriteBmp(pictures[2], {7, 7}, Qt::blue);
  editor.AddPictures(pictures);
  return pictures;
}

// A self-running show written by the core for titles the editor would not
// give: picture k holds "picture k".
QString ShowWithTitles(const QString& path, const QStringList& titles) {
  std::vector<format::SlideSource> slides;
  for (int k = 0; k < titles.size(); ++k) {
    const QString picture = path + QString(".picture%1").arg(k + 1);
    WriteBytes(picture, QString("picture %1").arg(k + 1).toUtf8());
    slides.push_back({titles[k].toStdString(), picture.toStdString()});
  }
  format::BuildSelfRunningShowFile(path.toStdString(), slides, {}, {}, CarriedPlayer());
  for (const format::SlideSource& slide : slides) QFile::remove(QString::fromStdString(slide.file));
  return path;
}

const PromptMessage& LastMessage(EditorHarness& editor) {
  return editor.prompts.messages.back();
}

void UsePassword(EditorHarness& editor) {
  editor.window().menu().mnuMotDePasse->trigger();
  QVERIFY(editor.window().menu().mnuMotDePasse->isChecked());
}

const char* const kBuilt = "Congratulations: slide show built sucessfully !";

}  // namespace

class SelfRunTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowWithoutPasswordIsPlayerPayloadZeroAndTrailer() {
    EditorHarness editor;
    editor.Start();
    const QStringList pictures = AddThreePictures(editor);
    editor.window().menu().mnuEnBoucle->trigger();
    editor.window().menu().mnuAfficherTitre->trigger();
    editor.window().delay().SetValue(5);
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/holiday");

    const SaveFileRequest& asked = editor.prompts.saveRequests.at(0);
    QCOMPARE(asked.title, "Save as...");
    QCOMPARE(asked.proposedName, "Pivolane1.exe");
    QCOMPARE(asked.filters.at(0).patterns, QStringList{"*.*"});
    QCOMPARE(editor.window().document().exeFileName, "holiday.exe");
    QCOMPARE(editor.window().document().docFolder, shows + "/");
    QCOMPARE(editor.prompts.newPasswordRequests, 0);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).title, "Pivolane");
    QCOMPARE(LastMessage(editor).text, kBuilt);
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kInformation);
    QVERIFY(editor.window().isEnabled());

    const QString path = shows + "/holiday.exe";
    const QByteArray show = Contents(path);
    const QByteArray player = PlayerBytes();
    const qsizetype s = player.size();
    qsizetype pictureBytes = 0;
    for (const QString& picture : pictures) pictureBytes += QFileInfo(picture).size();
    const qsizetype d = 3 * format::kEntrySize + pictureBytes;
    QCOMPARE(show.size(), s + d + 157);
    QVERIFY(show.startsWith(player));
    QVERIFY(show.mid(s).startsWith("red.bmp "));  // the plain entry table
    QCOMPARE(show.mid(s + d - Contents(pictures[2]).size(), Contents(pictures[2]).size()),
             Contents(pictures[2]));
    QCOMPARE(show.at(s + d), '\0');
    QCOMPARE(show.at(show.size() - 1), '\0');

    const format::ShowHeader header = HeaderOf(show);
    QCOMPARE(header.PlayerSize, static_cast<std::int32_t>(s));
    QCOMPARE(header.VersionTag, format::VersionTagFor(kVersionDigits));
    QCOMPARE(header.SlideCount, std::int16_t{3});
    QCOMPARE(header.DelaySeconds, 5);
    QCOMPARE(header.LoopFlag, format::kTrue);
    QCOMPARE(header.RandomFlag, format::kFalse);
    QCOMPARE(header.TitlesFlag, format::kTrue);
    QCOMPARE(header.Language, std::uint8_t{1});
    QCOMPARE(header.CipherVersion, std::int16_t{0});
    QVERIFY(!header.HasPassword());

    format::ShowFile opened = format::ShowFile::Open(path.toStdString());
    QCOMPARE(opened.kind(), format::ShowFileKind::kSelfRunning);
    QCOMPARE(opened.payloadOffset(), static_cast<std::uint64_t>(s));
    for (int k = 0; k < 3; ++k) {
      const std::vector<std::uint8_t> picture = opened.ReadPicture(k);
      QCOMPARE(QByteArray(reinterpret_cast<const char*>(picture.data()), picture.size()),
               Contents(pictures[k]));
    }
    struct stat status {};
    QCOMPARE(stat(path.toLocal8Bit().constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0755u & ~platform::CurrentUmask());
  }

  void PasswordIsAskedAtEveryBuildAndEnciphersOnlyThePayload() {
    EditorHarness editor("French");
    editor.Start();
    const QStringList pictures = AddThreePictures(editor);
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/plain.exe");
    const QByteArray plain = Contents(shows + "/plain.exe");

    UsePassword(editor);
    editor.UseXorCipher();
    editor.prompts.newPasswords = {QString("Sésame"), QString("Sésame")};
    editor.prompts.answers = {PromptAnswer::kOk, PromptAnswer::kOk, PromptAnswer::kOk};
    Build(editor, shows + "/locked.exe");
    const QByteArray first = Contents(shows + "/locked.exe");
    const std::uint8_t keyStart = editor.window().cipher().keyStart;
    Build(editor, shows + "/locked.exe");
    const QByteArray second = Contents(shows + "/locked.exe");

    QCOMPARE(editor.prompts.newPasswordRequests, 2);
    QVERIFY(keyStart >= 1);
    QCOMPARE(editor.window().cipher().keyStart, keyStart);
    QCOMPARE(second, first);
    // message 117 (French), the overwrite question with a bare name, 117 again
    QCOMPARE(editor.prompts.messages.size(), std::size_t{4});
    QCOMPARE(editor.prompts.messages[2].text,
             "Le fichier: locked.exe existe déjà !\nVoulez-vous l'effacer et continuer ?");
    QCOMPARE(editor.prompts.messages[2].buttons, PromptMessage::Buttons::kOkCancel);
    QCOMPARE(editor.prompts.messages[2].icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(LastMessage(editor).text, "Félicitations: diaporama créé avec succès !");

    const qsizetype s = PlayerBytes().size();
    const qsizetype d = plain.size() - s - 157;
    QCOMPARE(second.size(), plain.size());
    QCOMPARE(second.left(s), PlayerBytes());
    QByteArray payload = plain.mid(s, d);
    const std::string password = *cipher::EncodeTypedPassword("Sésame");
    cipher::ApplyKeyStream(cipher::BuildKeyStream(password), keyStart,
                           std::span(reinterpret_cast<std::uint8_t*>(payload.data()),
                                     static_cast<std::size_t>(payload.size())));
    QCOMPARE(second.mid(s, d), payload);
    QVERIFY(second.mid(s, d) != plain.mid(s, d));
    QCOMPARE(second.at(s + d), '\0');
    QCOMPARE(second.at(second.size() - 1), '\0');
    const format::ShowHeader header = HeaderOf(second);
    QVERIFY(header.HasShowTag());
    QCOMPARE(header.CipherVersion, std::int16_t{1});
    QCOMPARE(header.keyStart, keyStart);
    QCOMPARE(header.Language, std::uint8_t{0});
    QCOMPARE(header.PlayerSize, static_cast<std::int32_t>(s));
    QVERIFY(header.PasswordCheck == cipher::PasswordCheckValue(password, keyStart));
  }

  void NamesGetExeUnlessTheyEndInItAndCancelBringsBackTheUntitledName() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/LOUD.EXE");
    QCOMPARE(editor.window().document().exeFileName, "LOUD.EXE");
    Build(editor, shows + "/Mixed.ExE");
    Build(editor, shows + "/a.ex");
    QCOMPARE(editor.window().document().exeFileName, "a.ex.exe");
    QCOMPARE(NamesIn(shows), (QStringList{"LOUD.EXE", "Mixed.ExE", "a.ex.exe"}));

    editor.window().menu().mnuCreerExe->trigger();  // the dialog cancelled
    QCOMPARE(editor.prompts.saveRequests.back().proposedName, "a.ex.exe");
    QCOMPARE(editor.prompts.saveRequests.back().startFolder, shows + "/");
    QCOMPARE(editor.window().document().exeFileName, "Pivolane1.exe");
    QCOMPARE(editor.prompts.messages.size(), std::size_t{3});
    QCOMPARE(NamesIn(shows).size(), 3);
  }

  void CancelAtTheOverwriteQuestionLeavesTheFirstShow() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString path = editor.Folder("shows") + "/twice.exe";
    Build(editor, path);
    const QByteArray first = Contents(path);
    editor.AddPictureCount(2);
    Build(editor, path);  // unscripted: Cancel

    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    QCOMPARE(LastMessage(editor).title, "Pivolane");
    QCOMPARE(LastMessage(editor).text, "The file: twice.exe already exists !\nDelete and resume ?");
    QCOMPARE(Contents(path), first);
    QVERIFY(editor.window().isEnabled());
  }

  void FailedBuildIsShownAndLeavesTheOldShowAndNoScratchFile() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString shows = editor.Folder("shows");
    const QString path = shows + "/show.exe";
    Build(editor, path);
    const QByteArray before = Contents(path);
    editor.AddPictureCount(3);
    {
      WriteBudget budget(PlayerBytes().size() + 100);
      editor.prompts.answers = {PromptAnswer::kOk, PromptAnswer::kOk};
      Build(editor, path);
    }
    QCOMPARE(editor.prompts.messages.size(), std::size_t{3});
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 107)");
    QVERIFY(
        LastMessage(editor).text.startsWith("Disk access impossible !\n" + path + "\nError: 61: "));
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kExclamation);
    QCOMPARE(Contents(path), before);
    QCOMPARE(NamesIn(shows), QStringList{"show.exe"});
    QVERIFY(editor.window().isEnabled());

    // A folder that is not there.
    Build(editor, shows + "/gone/show.exe");
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 107)");
    QVERIFY(LastMessage(editor).text.contains("\nError: 76: "));
    QCOMPARE(NamesIn(shows), QStringList{"show.exe"});
  }

  void ShowWithoutPasswordGivesItsPicturesBackWithoutAQuestion() {
    EditorHarness editor;
    editor.Start();
    const QStringList pictures = AddThreePictures(editor);
    QGuiApplication::clipboard()->setImage(QImage(30, 20, QImage::Format_RGB32));
    editor.window().menu().mnuColler->trigger();
    const QString pasted = editor.Titles().at(3);
    QVERIFY(pasted.startsWith("UnNamed"));
    const QByteArray pastedPicture = Contents(editor.Keys().at(3));
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/trip.exe");
    editor.prompts.messages.clear();
    Extract(editor, shows + "/trip.exe");

    const OpenFilesRequest& asked = editor.prompts.fileRequests.back();
    QCOMPARE(asked.title, "Open...");
    QCOMPARE(asked.filters.size(), std::size_t{1});
    QCOMPARE(asked.filters[0].patterns, (QStringList{"*.exe", "*.html", "*.htm"}));
    QCOMPARE(editor.prompts.typedPasswordRequests, 0);
    QCOMPARE(NamesIn(shows), (QStringList{pasted, "blue.bmp", "green.bmp", "red.bmp", "trip.exe"}));
    for (const QString& picture : pictures) {
      QCOMPARE(Contents(shows + "/" + QFileInfo(picture).fileName()), Contents(picture));
    }
    QCOMPARE(Contents(shows + "/" + pasted), pastedPicture);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).title, "Pivolane");
    QCOMPARE(LastMessage(editor).text,
             "4 picture(s) extracted from trip.exe\nin folder: " + shows + "/");
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kInformation);
    // The dialog's cancel does nothing.
    editor.window().menu().mnuExtraireImagesExe->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
  }

  void ProtectedShowNeedsItsPasswordAndLeavesTheOpenShowsCipherAlone() {
    EditorHarness editor;
    editor.Start();
    const QStringList pictures = AddThreePictures(editor);
    UsePassword(editor);
    editor.UseXorCipher();
    editor.prompts.newPasswords = {QString("Sésame")};
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/locked.exe");
    QCOMPARE(NamesIn(shows), QStringList{"locked.exe"});

    // The open show's own password and key start.
    cipher::CryptageXor& cipher = editor.window().cipher();
    cipher.currentPassword = "mine";
    cipher.keyStart = 42;
    editor.window().document().passwordEntered = true;
    editor.prompts.messages.clear();

    editor.prompts.typedPasswords = {std::nullopt, QString(), QString("nope"), QString("Sésame")};
    for (int attempt = 1; attempt <= 3; ++attempt) Extract(editor, shows + "/locked.exe");
    QCOMPARE(editor.prompts.typedPasswordRequests, 3);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});  // Cancel and empty say nothing
    QCOMPARE(LastMessage(editor).text, "Wrong password !");
    QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kCritical);
    QCOMPARE(NamesIn(shows), QStringList{"locked.exe"});

    Extract(editor, shows + "/locked.exe");
    for (const QString& picture : pictures) {
      QCOMPARE(Contents(shows + "/" + QFileInfo(picture).fileName()), Contents(picture));
    }
    QVERIFY(LastMessage(editor).text.startsWith("3 picture(s) extracted from locked.exe\n"));
    QCOMPARE(cipher.currentPassword, std::string("mine"));
    QCOMPARE(cipher.keyStart, std::uint8_t{42});
    QVERIFY(editor.window().document().passwordEntered);
  }

  void StrongShowGivesItsPicturesOnlyForItsPasswordAndNoneOfADamagedOne() {
    EditorHarness editor;
    editor.Start();
    const QStringList pictures = editor.StartStrongShow("Sésame");
    const QString shows = editor.Folder("shows");
    Build(editor, shows + "/strong.exe");
    QCOMPARE(LastMessage(editor).text, kBuilt);
    const QByteArray built = Contents(shows + "/strong.exe");
    QCOMPARE(HeaderOf(built).CipherVersion, std::int16_t{2});
    QCOMPARE(built.left(PlayerBytes().size()), PlayerBytes());

    editor.prompts.typedPasswords = {QString("sésame"), QString("Sésame")};
    Extract(editor, shows + "/strong.exe");
    QCOMPARE(LastMessage(editor).text, "Wrong password !");
    QCOMPARE(NamesIn(shows), QStringList{"strong.exe"});
    Extract(editor, shows + "/strong.exe");
    for (const QString& picture : pictures) {
      QCOMPARE(Contents(shows + "/" + QFileInfo(picture).fileName()), Contents(picture));
    }

    // The second picture altered: the first comes out whole, the second not
    // at all, and the box names the damaged show.
    QByteArray damaged = built;
    damaged[damaged.size() - 200] = static_cast<char>(damaged[damaged.size() - 200] ^ 1);
    const QString other = editor.Folder("other");
    WriteBytes(other + "/strong.exe", damaged);
    editor.prompts.typedPasswords = {QString("Sésame")};
    Extract(editor, other + "/strong.exe");
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 106)");
    QVERIFY(LastMessage(editor).text.startsWith("Can't open !\nDamaged file: " + other +
                                                "/strong.exe\nError: 62: "));
    QCOMPARE(NamesIn(other), (QStringList{"big.bmp", "strong.exe"}));
  }

  void TheTypedExtensionOrElseTheChosenFilterPicksTheForm() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString shows = editor.Folder("shows");
    struct Case {
      const char* typed;
      std::size_t filter;  // 0 the program, 1 the web page
      const char* name;
      format::ShowFileKind kind;
    };
    const Case cases[] = {
        {"page", 1, "page.html", format::ShowFileKind::kWebShow},
        {"LOUD.HTM", 0, "LOUD.HTM", format::ShowFileKind::kWebShow},
        {"prog.EXE", 1, "prog.EXE", format::ShowFileKind::kSelfRunning},
        {"plain", 0, "plain.exe", format::ShowFileKind::kSelfRunning},
    };
    for (const Case& c : cases) {
      editor.prompts.saveFilters.push_back(c.filter);
      Build(editor, shows + "/" + c.typed);
      QCOMPARE(editor.window().document().exeFileName, c.name);
      QCOMPARE(LastMessage(editor).text, kBuilt);
      QCOMPARE(format::ShowFile::Open((shows + "/" + c.name).toStdString()).kind(), c.kind);
    }
    QCOMPARE(NamesIn(shows).size(), qsizetype{4});
    const std::vector<SaveFileRequest>& asked = editor.prompts.saveRequests;
    QCOMPARE(asked[0].filters.size(), std::size_t{2});
    QCOMPARE(asked[0].filters[1].description, "Pivolane web page (*.html)");
    QCOMPARE(asked[0].filters[1].patterns, (QStringList{"*.html", "*.htm"}));
    // The dialog shows the form of the name it proposes first.
    QCOMPARE(asked[0].selectedFilter, std::size_t{0});
    QCOMPARE(asked[1].proposedName, "page.html");
    QCOMPARE(asked[1].selectedFilter, std::size_t{1});
  }

  // The toolkit's own dialog: picking the web page's filter gives the
  // proposed name its extension, and the filter picked is told back.
  void TheRealDialogGivesThePickedFormItsExtension() {
    EditorHarness editor;
    DocumentState document;
    document.docFolder = editor.Folder("shows") + "/";
    const Strings strings;
    QtPrompts prompts;
    DocumentDialogs dialogs(document, strings, prompts);
    QString proposedAfterPick;
    WhenShown<QFileDialog>([&proposedAfterPick](QFileDialog& dialog) {
      auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
      auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(types != nullptr && name != nullptr);
      types->setFocus();
      QTest::keyClick(types, Qt::Key_Down);
      proposedAfterPick = name->text();
      QTest::keyClick(name, Qt::Key_Return);
    });
    const std::optional<ChosenShowName> chosen = dialogs.ChooseShowName("holiday.exe");
    QCOMPARE(proposedAfterPick, "holiday.html");
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->fileName, "holiday.html");
    QCOMPARE(chosen->filterForm, format::ShowForm::kWebPage);
  }

  void AWebPageIsBuiltAsTheProgramIsAndGivesItsPicturesBack() {
    EditorHarness editor("French");
    editor.Start();
    const QStringList pictures = AddThreePictures(editor);
    UsePassword(editor);
    const QString shows = editor.Folder("shows");
    editor.prompts.saveFilters = {1, 1};
    editor.prompts.newPasswords = {QString("Sésame"), QString("Sésame")};
    editor.prompts.answers = {PromptAnswer::kOk, PromptAnswer::kOk, PromptAnswer::kOk};
    Build(editor, shows + "/page");
    Build(editor, shows + "/page");

    QCOMPARE(editor.prompts.saveRequests[0].filters[1].description, "Page web Pivolane (*.html)");
    QCOMPARE(editor.prompts.newPasswordRequests, 2);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{3});
    QCOMPARE(editor.prompts.messages[1].text,
             "Le fichier: page.html existe déjà !\nVoulez-vous l'effacer et continuer ?");
    QCOMPARE(LastMessage(editor).text, "Félicitations: diaporama créé avec succès !");
    const QString path = shows + "/page.html";
    struct stat status {};
    QCOMPARE(stat(path.toLocal8Bit().constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0666u & ~platform::CurrentUmask());
    const format::ShowFile built = format::ShowFile::Open(path.toStdString());
    QCOMPARE(built.kind(), format::ShowFileKind::kWebShow);
    QCOMPARE(built.header().CipherVersion, std::int16_t{2});

    editor.prompts.messages.clear();
    editor.prompts.typedPasswords = {QString("Sésame")};
    Extract(editor, path);
    for (const QString& picture : pictures) {
      QCOMPARE(Contents(shows + "/" + QFileInfo(picture).fileName()), Contents(picture));
    }
    QCOMPARE(LastMessage(editor).text,
             "3 diapo(s) extraite(s) de page.html\ndans le dossier: " + shows + "/");
  }

  void FilesThatAreNoReadableShowAreRefusedAndWriteNothing() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    const QString shows = editor.Folder("shows");
    editor.prompts.saveChoices.push_back(shows + "/doc.pvl");
    editor.window().menu().mnuSave->trigger();
    WriteBytes(shows + "/text.exe", QByteArray(400, 'x'));
    WriteBytes(shows + "/tiny.exe", "MZ");
    Build(editor, shows + "/damaged.exe");
    RewriteHeader(shows + "/damaged.exe", [](format::ShowHeader& h) { h.PlayerSize = 1 << 30; });
    UsePassword(editor);
    editor.prompts.newPasswords = {QString("pw")};
    Build(editor, shows + "/newer.exe");
    RewriteHeader(shows + "/newer.exe", [](format::ShowHeader& h) { h.CipherVersion = 3; });
    const QStringList before = NamesIn(shows);
    editor.prompts.messages.clear();

    for (const char* name : {"doc.pvl", "text.exe", "tiny.exe"}) {
      Extract(editor, shows + "/" + name);
      QCOMPARE(LastMessage(editor).title, "Pivolane");
      QCOMPARE(LastMessage(editor).text, "Invalid file !");
      QCOMPARE(LastMessage(editor).icon, PromptMessage::Icon::kCritical);
    }
    Extract(editor, shows + "/damaged.exe");
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 106)");
    QVERIFY(LastMessage(editor).text.startsWith("Can't open !\nDamaged file: " + shows +
                                                "/damaged.exe\nError: 62: "));
    editor.prompts.typedPasswords = {QString("pw")};
    Extract(editor, shows + "/newer.exe");
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 106)");
    QCOMPARE(LastMessage(editor).text,
             "The file: " + shows + "/newer.exe\n\nUnable to decrypt with Pivolane Version " +
                 QString::number(kVersionMajor) + "." + QString::number(kVersionMinor) +
                 QString::number(kVersionRevision) + "\n\nProceed to an updating !");
    QCOMPARE(editor.prompts.messages.size(), std::size_t{5});
    QCOMPARE(NamesIn(shows), before);
  }

  void FilesAlreadyThereAreAskedAboutAndFailedWritesShown() {
    EditorHarness editor;
    editor.Start();
    const QString shows = editor.Folder("shows");
    const QString path = ShowWithTitles(shows + "/same.exe", {"same.jpg", "same.jpg", "other.jpg"});
    editor.prompts.answers = {PromptAnswer::kOk};
    Extract(editor, path);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    QCOMPARE(editor.prompts.messages[0].text,
             "The file: \"same.jpg\" already exists !\nDelete and resume ?");
    QCOMPARE(editor.prompts.messages[0].buttons, PromptMessage::Buttons::kOkCancel);
    QVERIFY(LastMessage(editor).text.startsWith("3 picture(s) extracted from same.exe\n"));
    QCOMPARE(Contents(shows + "/same.jpg"), "picture 2");
    QCOMPARE(Contents(shows + "/other.jpg"), "picture 3");

    QFile::remove(shows + "/other.jpg");
    Extract(editor, path);  // unscripted: Cancel at the first question
    QCOMPARE(editor.prompts.messages.size(), std::size_t{3});
    QVERIFY(LastMessage(editor).text.startsWith("The file: \"same.jpg\""));
    QCOMPARE(Contents(shows + "/same.jpg"), "picture 2");
    QCOMPARE(NamesIn(shows), (QStringList{"same.exe", "same.jpg"}));

    // A picture that cannot be written is shown, without the summary.
    QVERIFY(QDir(shows).mkdir("other.jpg"));
    editor.prompts.answers = {PromptAnswer::kOk, PromptAnswer::kOk, PromptAnswer::kOk};
    Extract(editor, path);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{7});
    QCOMPARE(LastMessage(editor).title, "Pivolane (Proc 106)");
    QVERIFY(
        LastMessage(editor).text.startsWith("Disk access impossible !\n" + shows + "/\nError: "));
    QCOMPARE(NamesIn(shows), (QStringList{"other.jpg", "same.exe", "same.jpg"}));
  }

  void HostileTitlesStayInsideTheFolder() {
    EditorHarness editor;
    editor.Start();
    const QString inner = editor.Folder("shows/inner");
    const QString path = ShowWithTitles(
        inner + "/hostile.exe", {"../escape", "a/b", "", ".", "..", "sub/../../x", "/etc/y"});
    Extract(editor, path);
    QVERIFY(LastMessage(editor).text.startsWith("7 picture(s) extracted from hostile.exe\n"));
    QCOMPARE(NamesIn(inner), (QStringList{"_._escape", "_etc_y", "a_b", "hostile.exe", "slide3",
                                          "slide4", "slide5", "sub_.._.._x"}));
    QCOMPARE(NamesIn(editor.Folder("shows")), QStringList{"inner"});
    QCOMPARE(Contents(inner + "/slide4"), "picture 4");
  }

  void APictureNamedAsTheShowItselfIsRefusedBeforeAnyQuestion() {
    EditorHarness editor;
    editor.Start();
    const QString shows = editor.Folder("shows");
    const QString path = ShowWithTitles(shows + "/x.exe", {"a.jpg", "x.exe"});
    const QByteArray before = Contents(path);
    editor.prompts.answers = {PromptAnswer::kOk};
    Extract(editor, path);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(LastMessage(editor).text,
             "The file: \"x.exe\" is the slide show the pictures are extracted from: it cannot be "
             "replaced !");
    QCOMPARE(NamesIn(shows), QStringList{"x.exe"});
    QCOMPARE(Contents(path), before);
  }
};

PIVOLANE_EDITOR_TEST_MAIN(SelfRunTest)
#include "selfrun_test.moc"
