#include "test_support.h"

#include "common/io/file.h"
#include "tests/common/sample_pictures.h"

#include <cstdlib>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QToolBar>

namespace pivolane::editor::testing {

void IsolateEnvironment() {
  const QString home = PIVOLANE_EDITOR_TEST_HOME;
  const std::pair<const char*, const char*> folders[] = {{"HOME", ""},
                                                         {"XDG_CONFIG_HOME", "/config"},
                                                         {"XDG_DATA_HOME", "/data"},
                                                         {"XDG_CACHE_HOME", "/cache"},
                                                         {"XDG_RUNTIME_DIR", "/runtime"},
                                                         {"TMPDIR", "/tmp"}};
  for (const auto& [variable, folder] : folders) {
    const QString path = home + folder;
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv(variable, path.toLocal8Bit().constData(), 1);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

namespace {

// The next scripted answer, or fallback when the script has run out.
template <typename T>
T Next(std::deque<T>& script, T fallback = T()) {
  if (!script.empty()) {
    fallback = std::move(script.front());
    script.pop_front();
  }
  return fallback;
}

}  // namespace

PromptAnswer ScriptedPrompts::Ask(const PromptMessage& message) {
  messages.push_back(message);
  return Next(answers, PromptAnswer::kCancel);
}

QStringList ScriptedPrompts::ChooseFilesToOpen(const OpenFilesRequest& request) {
  fileRequests.push_back(request);
  return Next(fileChoices);
}

QString ScriptedPrompts::ChooseFileToOpen(const OpenFilesRequest& request) {
  fileRequests.push_back(request);
  return Next(openChoices);
}

SaveChoice ScriptedPrompts::ChooseFileToSave(const SaveFileRequest& request) {
  saveRequests.push_back(request);
  const QString path = Next(saveChoices);
  return {path, Next(saveFilters, request.selectedFilter)};
}

QString ScriptedPrompts::ChooseFolder(const FolderRequest& request) {
  folderRequests.push_back(request);
  return Next(folderChoices);
}

std::optional<QString> ScriptedPrompts::SetPassword(const Strings&, std::int16_t cipherVersion) {
  ++newPasswordRequests;
  passwordCiphers.push_back(cipherVersion);
  return Next(newPasswords);
}

std::optional<QString> ScriptedPrompts::ReadPassword(const Strings&, std::int16_t cipherVersion) {
  ++typedPasswordRequests;
  passwordCiphers.push_back(cipherVersion);
  return Next(typedPasswords);
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList NamesIn(const QString& folder) {
  QStringList names =
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  names.sort();
  return names;
}

WriteBudget::WriteBudget(std::uint64_t bytes) {
  io::testing::SetWriteBudget(bytes);
}
WriteBudget::~WriteBudget() {
  io::testing::SetWriteBudget(std::nullopt);
}

void WriteBmp(const QString& path, QSize size, Qt::GlobalColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  QVERIFY(image.save(path, "BMP"));
}

void WriteGif(const QString& path) {
  static const unsigned char kGif[] = {
      'G',  'I', 'F',  '8',  '9',  'a',  1, 0, 1, 0, 0x80, 0, 0,  // screen, 2-colour table
      0,    0,   0,    0xFF, 0xFF, 0xFF,                          // black, white
      0x2C, 0,   0,    0,    0,    1,    0, 1, 0, 0,              // image descriptor
      2,    2,   0x44, 0x01, 0,                                   // LZW data
      0x3B};
  WriteBytes(path, QByteArray(reinterpret_cast<const char*>(kGif), sizeof kGif));
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QString QuartersOf(const QImage& image) {
  QString quarters;
  for (const QPoint at : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
    const QColor colour = image.pixelColor(at.x() * image.width() / 4, at.y() * image.height() / 4);
    const bool red = colour.red() > 128, green = colour.green() > 128, blue = colour.blue() > 128;
    quarters += red && green && blue ? 'W' : red ? 'R' : green ? 'G' : 'B';
  }
  return quarters;
}

EditorHarness::EditorHarness(std::string localeLanguageName)
    : workFolder(root.filePath("work").toStdString()),
      settings(root.filePath("config/Pivolane.ini")),
      localeLanguage(std::move(localeLanguageName)) {
  std::filesystem::create_directories(workFolder);
  window_ =
      std::make_unique<FrmMain>(EditorServices{prompts, settings, workFolder, localeLanguage});
  window_->document().kdfLimits = cipher::kMinimumKdfLimits;
}

EditorHarness::~EditorHarness() = default;

void EditorHarness::Start(const QString& commandLine) {
  window_->Load(commandLine);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

QString EditorHarness::Folder(const QString& name) const {
  const QString path = root.filePath(name);
  QDir().mkpath(path);
  return path;
}

QString EditorHarness::Picture(const QString& name, QSize size) {
  const QString path = Folder("pictures") + "/" + name;
  WriteBmp(path, size);
  return path;
}

QString EditorHarness::Photograph(const QString& name, QSize stored, unsigned orientation) {
  const test_pictures::Bytes bytes = test_pictures::WithExifOrientation(
      test_pictures::QuartersJpeg(stored.width(), stored.height()), orientation);
  const QString path = Folder("pictures") + "/" + name;
  WriteBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<qsizetype>(bytes.size())));
  return path;
}

void EditorHarness::AddPictures(const QStringList& paths) {
  prompts.fileChoices.push_back(paths);
  window_->menu().mnuInsertion->trigger();
}

void EditorHarness::AddPictureCount(int count) {
  QStringList paths;
  for (int i = 1; i <= count; ++i) paths << Picture(QString("slide%1.bmp").arg(i));
  AddPictures(paths);
}

QStringList EditorHarness::Titles() const {
  QStringList titles;
  for (int i = 1; i <= window_->slideList().Count(); ++i) {
    titles << window_->slideList().Slide(i)->text(0);
  }
  return titles;
}

void EditorHarness::UseStrongEncryption() {
  if (!window_->menu().mnuChiffrementFort->isChecked())
    window_->menu().mnuChiffrementFort->trigger();
  QVERIFY(window_->menu().mnuChiffrementFort->isChecked());
}

void EditorHarness::UseXorCipher() {
  if (window_->menu().mnuChiffrementFort->isChecked())
    window_->menu().mnuChiffrementFort->trigger();
  QVERIFY(!window_->menu().mnuChiffrementFort->isChecked());
}

QStringList EditorHarness::StartStrongShow(const QString& password) {
  const QStringList pictures = {Picture("big.bmp", {200, 120}), Picture("small.bmp", {4, 4})};
  AddPictures(pictures);
  window_->menu().mnuMotDePasse->trigger();
  UseStrongEncryption();
  prompts.newPasswords = {password};
  return pictures;
}

QStringList EditorHarness::Keys() const {
  QStringList keys;
  for (int i = 1; i <= window_->slideList().Count(); ++i) {
    keys << SlideList::Key(window_->slideList().Slide(i));
  }
  return keys;
}

QPoint EditorHarness::SlidePlace(int index) {
  SlideList& list = window_->slideList();
  return list.visualItemRect(list.Slide(index)).center();
}

void EditorHarness::ClickSlide(int index) {
  QTest::mouseClick(window_->slideList().viewport(), Qt::LeftButton, {}, SlidePlace(index));
}

int EditorHarness::SelectedIndex() const {
  return window_->slideList().SelectedIndex();
}

void EditorHarness::DragSlide(int from, QPoint to) {
  SlideList& list = window_->slideList();
  ClickSlide(from);
  QMimeData data;
  data.setData(SlideList::kDragFormat, QByteArray());
  QDragEnterEvent enter(to, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &enter);
  QDragMoveEvent move(to, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &move);
  QDropEvent drop(to, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &drop);
}

CommandState CommandStateFor(int count, int selected) {
  return {selected > 0, selected >= 2, selected > 0 && selected < count,
          count >= 2,   count >= 1,    count == 0};
}

void VerifyCommandState(EditorHarness& editor, const CommandState& expected) {
  MainMenu& m = editor.window().menu();
  for (QAction* item : {m.mnuCouper, m.mnuCopier, m.mnuSupprimer}) {
    QCOMPARE(item->isEnabled(), expected.edit);
  }
  for (const char* key : {"Couper", "Copier", "SupprimerDiapo"}) {
    QCOMPARE(editor.Button(key).isEnabled(), expected.edit);
  }
  QCOMPARE(m.mnuMonter->isEnabled(), expected.up);
  QCOMPARE(editor.Button("Flechehaut").isEnabled(), expected.up);
  QCOMPARE(m.mnuDescendre->isEnabled(), expected.down);
  QCOMPARE(editor.Button("Flechebas").isEnabled(), expected.down);
  QCOMPARE(editor.Button("Enboucle").isEnabled(), expected.loopRandom);
  QCOMPARE(editor.Button("Aleatoire").isEnabled(), expected.loopRandom);
  for (QAction* item :
       {m.mnuSave, m.mnuSaveAs, m.mnuCreerExe, m.mnuVisionner, m.mnuMotDePasse, m.mnuEnregImages,
        m.mnuAffichage->menuAction(), m.mnuDefilement->menuAction()}) {
    QCOMPARE(item->isEnabled(), expected.document);
  }
  for (const char* key :
       {"Enregistrer", "CreerExe", "Visionner", "Crypte", "Affichertitre", "VoirVignettes"}) {
    QCOMPARE(editor.Button(key).isEnabled(), expected.document);
  }
  // What the user clicks follows its command.
  for (QAction* button : editor.window().toolbar().buttons()) {
    QCOMPARE(editor.window().toolbar().bar().widgetForAction(button)->isEnabled(),
             button->isEnabled());
  }
  // The menus themselves, which the user opens from the menu bar.
  for (QMenu* menu : {m.mnuAffichage, m.mnuDefilement}) {
    QCOMPARE(menu->isEnabled(), expected.document);
  }
  QCOMPARE(!editor.window().slideView().clickHereLabel().isHidden(), expected.clickLabel);
  // The delay's spin control is in the tab order when loop and random are.
  QCOMPARE(editor.window().delay().spinControl().focusPolicy() == Qt::StrongFocus,
           expected.loopRandom);
  // Always available.
  for (QAction* item :
       {m.mnuNouveau, m.mnuOuvrir, m.mnuColler, m.mnuInsertion, m.mnuExtraireImagesExe, m.mnuQuit,
        m.mnuFrancais, m.mnuEnglish, m.mnuUpdate, m.mnuApropos, m.mnuFichier->menuAction(),
        m.mnuEdition->menuAction(), m.mnuOutils->menuAction(), m.mnuLangue->menuAction(),
        m.mnuAide->menuAction()}) {
    QVERIFY(item->isEnabled());
  }
  for (const char* key : {"Nouveau", "Ouvrir", "Coller", "AjouterDiapo"}) {
    QVERIFY(editor.Button(key).isEnabled());
  }
}

Qt::DropAction DropUrls(QWidget& target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint place = target.rect().center();
  // A file manager offers to move as well; the editor must only ever copy.
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(place, offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  QDropEvent drop(place, offered, &data, Qt::LeftButton, Qt::NoModifier);
  drop.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(&target, &drop);
  // The slides are added once the drop has ended.
  QCoreApplication::processEvents();
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace pivolane::editor::testing
