// What the editor's tests share: an isolated environment, scripted prompts,
// picture files and a main window in a private folder.
#pragma once

#include <cstdint>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "editor/shell/frm_main.h"
#include "editor/shell/prompts.h"
#include "editor/shell/settings.h"

namespace pivolane::editor::testing {

// Runs answer on the modal dialog of type D once it is up.
template <typename D>
void WhenShown(std::function<void(D&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    answer(*dialog);
  });
}

// Points HOME, the XDG folders and TMPDIR at the tests' own folder and selects
// the offscreen platform, before any Qt object exists.
void IsolateEnvironment();

// Answers prompts from a script and records every one. Unscripted messages
// get Cancel; unscripted dialogs are cancelled.
class ScriptedPrompts : public Prompts {
 public:
  std::deque<PromptAnswer> answers;
  std::deque<QStringList> fileChoices;                // ChooseFilesToOpen
  std::deque<QString> openChoices;                    // ChooseFileToOpen
  std::deque<QString> saveChoices;                    // ChooseFileToSave
  std::deque<std::size_t> saveFilters;                // ChooseFileToSave; else the one shown first
  std::deque<QString> folderChoices;                  // ChooseFolder
  std::deque<std::optional<QString>> newPasswords;    // SetPassword
  std::deque<std::optional<QString>> typedPasswords;  // ReadPassword
  std::vector<PromptMessage> messages;
  std::vector<OpenFilesRequest> fileRequests;  // both open dialogs
  std::vector<SaveFileRequest> saveRequests;
  std::vector<FolderRequest> folderRequests;
  int newPasswordRequests = 0;
  int typedPasswordRequests = 0;
  std::vector<std::int16_t> passwordCiphers;  // the cipher of each password dialog

  PromptAnswer Ask(const PromptMessage& message) override;
  QStringList ChooseFilesToOpen(const OpenFilesRequest& request) override;
  QString ChooseFileToOpen(const OpenFilesRequest& request) override;
  SaveChoice ChooseFileToSave(const SaveFileRequest& request) override;
  QString ChooseFolder(const FolderRequest& request) override;
  std::optional<QString> SetPassword(const Strings& strings, std::int16_t cipherVersion) override;
  std::optional<QString> ReadPassword(const Strings& strings, std::int16_t cipherVersion) override;
};

// Picture files written by the tests.
void WriteBmp(const QString& path, QSize size, Qt::GlobalColor colour = Qt::blue);
void WriteGif(const QString& path);  // 1 x 1; Qt has no GIF writer
void WriteBytes(const QString& path, const QByteArray& bytes);
// The colours of a picture's four quarters as shown, top left, top right,
// bottom left, bottom right: "RGBW" for a photograph of the quarters that
// EditorHarness::Photograph writes, shown upright.
QString QuartersOf(const QImage& image);
// A file's whole content; empty when it cannot be read.
QByteArray Contents(const QString& path);
// Every name in folder, hidden ones and folders included, sorted.
QStringList NamesIn(const QString& folder);

// Writes fail as on a full disk after that many bytes, for as long as this
// lives.
class WriteBudget {
 public:
  explicit WriteBudget(std::uint64_t bytes);
  ~WriteBudget();
  WriteBudget(const WriteBudget&) = delete;
  WriteBudget& operator=(const WriteBudget&) = delete;
};

// A main window over a private work folder and settings store.
class EditorHarness {
 public:
  explicit EditorHarness(std::string localeLanguage = "English");
  ~EditorHarness();

  // Loads the window (with an optional command line) and shows it.
  void Start(const QString& commandLine = QString());

  FrmMain& window() { return *window_; }
  QString Folder(const QString& name) const;  // created on demand inside the root
  // A picture file of that size in the pictures folder.
  QString Picture(const QString& name, QSize size = QSize(40, 30));
  // A JPEG photograph stored at size in four coloured quarters, whose EXIF
  // data gives orientation (1 to 8), in the pictures folder.
  QString Photograph(const QString& name, QSize stored, unsigned orientation);
  // Adds files through the picture dialog, as the insert command does.
  void AddPictures(const QStringList& paths);
  void AddPictureCount(int count);
  QStringList Titles() const;
  QStringList Keys() const;
  // The centre of the slide at index (1-based) in the list's viewport.
  QPoint SlidePlace(int index);
  void ClickSlide(int index);
  // 1-based; 0 when none is selected.
  int SelectedIndex() const;
  // A drag from one slide, ended at a point of the list.
  void DragSlide(int from, QPoint to);
  // Ticks "Strong encryption" (the password option must be on); its key
  // derivation is the cheapest in every test, so that tests stay fast.
  void UseStrongEncryption();
  // Unticks it: a password then gives the XOR cipher.
  void UseXorCipher();
  // A show of two pictures, the first of two sealed chunks, with the password
  // option and strong encryption on and password as the next new password.
  QStringList StartStrongShow(const QString& password);
  QAction& Button(const char* key) { return *window_->toolbar().Button(key); }

  QTemporaryDir root;
  std::filesystem::path workFolder;
  ScriptedPrompts prompts;
  EditorSettings settings;
  std::string localeLanguage;

 private:
  std::unique_ptr<FrmMain> window_;
};

// The enabling rules' outcome that the tests check.
struct CommandState {
  bool edit;  // cut, copy, delete
  bool up;
  bool down;
  bool loopRandom;  // the two buttons
  bool document;    // save, build, preview, password, pictures
  bool clickLabel;
};

// What the rules give for count slides with the slide at selected (0: none).
CommandState CommandStateFor(int count, int selected);
// Every command, button and menu against expected.
void VerifyCommandState(EditorHarness& editor, const CommandState& expected);

// Files dragged from a file manager and dropped on target, as the platform
// delivers them; the drop's action afterwards.
Qt::DropAction DropUrls(QWidget& target, const QList<QUrl>& urls);

}  // namespace pivolane::editor::testing

#define PIVOLANE_EDITOR_TEST_MAIN(TestClass)         \
  int main(int argc, char** argv) {                  \
    pivolane::editor::testing::IsolateEnvironment(); \
    QApplication application(argc, argv);            \
    QApplication::setQuitOnLastWindowClosed(false);  \
    TestClass test;                                  \
    return QTest::qExec(&test, argc, argv);          \
  }
