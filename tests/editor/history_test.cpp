// Undo and redo of every change to the slide list, "modified" following the
// history, and the working files the history keeps and lets go.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include <functional>
#include <tuple>

#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// Titles, keys, the selected place and "modified".
using ListState = std::tuple<QStringList, QStringList, int, bool>;

ListState StateOf(EditorHarness& editor) {
  return {editor.Titles(), editor.Keys(), editor.SelectedIndex(),
          editor.window().document().documentModified};
}

// The state, every slide's file, the rules and the view follow.
void VerifyState(EditorHarness& editor, const ListState& expected, const char* what) {
  QVERIFY2(StateOf(editor) == expected, what);
  for (const QString& key : editor.Keys()) QVERIFY2(QFile::exists(key), what);
  const int selected = editor.SelectedIndex();
  VerifyCommandState(editor, CommandStateFor(editor.Keys().size(), selected));
  QVERIFY2(editor.window().slideView().HasPicture() == (selected > 0), what);
}

void Press(EditorHarness& editor, const QAction* item) {
  QTest::keySequence(&editor.window().slideList(), item->shortcut());
}

}  // namespace

class HistoryTest : public QObject {
  Q_OBJECT

 private slots:
  // From a saved show of three slides, the second selected: each edit, then
  // undo back to the saved state and redo, by the keyboard.
  void EveryEditIsUndoneAndRedone() {
    struct Edit {
      const char* kind;
      std::function<void(EditorHarness&)> run;
      QStringList titles;
      int selected;
    };
    const auto menu = [](QAction* MainMenu::*item) {
      return [item](EditorHarness& e) { (e.window().menu().*item)->trigger(); };
    };
    const QString s1 = "slide1.bmp";
    const QString s2 = "slide2.bmp";
    const QString s3 = "slide3.bmp";
    const Edit edits[] = {
        {"insert",
         [](EditorHarness& e) { e.AddPictures({e.Picture("new.bmp")}); },
         {s1, s2, s3, "new.bmp"},
         1},
        {"drop",
         [](EditorHarness& e) {
           DropUrls(e.window().slideView(), {QUrl::fromLocalFile(e.Picture("dropped.bmp"))});
         },
         {s1, s2, "dropped.bmp", s3},
         3},
        {"paste",
         [](EditorHarness& e) {
           QGuiApplication::clipboard()->setImage(QImage(6, 4, QImage::Format_RGB32));
           e.window().menu().mnuColler->trigger();
         },
         {s1, s2, s3, "UnNamed4"},
         4},
        {"cut", menu(&MainMenu::mnuCouper), {s1, s3}, 2},
        {"delete",
         [](EditorHarness& e) { QTest::keyClick(&e.window().slideList(), Qt::Key_Delete); },
         {s1, s3},
         2},
        {"up", menu(&MainMenu::mnuMonter), {s2, s1, s3}, 1},
        {"down", menu(&MainMenu::mnuDescendre), {s1, s3, s2}, 3},
        {"drag", [](EditorHarness& e) { e.DragSlide(2, e.SlidePlace(3)); }, {s1, s3, s2}, 3},
        {"rename",
         [](EditorHarness& e) { e.window().slideList().Slide(2)->setText(0, "Renamed"); },
         {s1, "Renamed", s3},
         2}};

    for (const Edit& edit : edits) {
      EditorHarness editor;
      editor.Start();
      editor.AddPictureCount(3);
      editor.ClickSlide(2);
      editor.prompts.saveChoices = {editor.Folder("shows") + "/saved.pvl"};
      editor.window().menu().mnuSave->trigger();
      const ListState saved = StateOf(editor);

      edit.run(editor);
      const ListState done = StateOf(editor);
      QVERIFY2(std::get<0>(done) == edit.titles && std::get<2>(done) == edit.selected &&
                   std::get<3>(done),
               edit.kind);
      const QString work = QString::fromStdString(editor.workFolder.string());
      const QStringList filesDone = NamesIn(work);

      Press(editor, editor.window().menu().mnuAnnuler);
      VerifyState(editor, saved, edit.kind);
      QVERIFY(!std::get<3>(saved));
      Press(editor, editor.window().menu().mnuRetablir);
      VerifyState(editor, done, edit.kind);
      // A deleted slide's file stays while an undo can bring it back.
      QCOMPARE(NamesIn(work), filesDone);
    }
  }

  void TheFilesOfSlidesTheHistoryLetsGoAreWiped() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    const QStringList keys = editor.Keys();
    editor.window().menu().mnuSupprimer->trigger();  // slide 1
    QVERIFY(QFile::exists(keys[0]));

    // An addition undone, then another edit: the addition cannot come back.
    editor.AddPictures({editor.Picture("undone.bmp")});
    const QString undone = editor.Keys().last();
    editor.window().menu().mnuAnnuler->trigger();
    QVERIFY(QFile::exists(undone));
    editor.window().menu().mnuDescendre->trigger();
    QVERIFY(!QFile::exists(undone));

    // Beyond the history's limit the deletion is let go.
    for (int step = 1; step < SlideHistory::kStepLimit; ++step) {
      QVERIFY(QFile::exists(keys[0]));
      (step % 2 == 1 ? editor.window().menu().mnuMonter : editor.window().menu().mnuDescendre)
          ->trigger();
    }
    QVERIFY(!QFile::exists(keys[0]));
    QCOMPARE(editor.Keys().size(), 2);
    for (const QString& key : editor.Keys()) QVERIFY(QFile::exists(key));
  }

  // Options are no steps of the history: once one changed, only a save makes
  // the show unmodified again.
  void ModifiedFollowsTheSavedStateThroughUndo() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    editor.prompts.saveChoices = {editor.Folder("shows") + "/saved.pvl"};
    editor.window().menu().mnuSave->trigger();
    MainMenu& m = editor.window().menu();
    m.mnuDescendre->trigger();
    m.mnuEnBoucle->trigger();
    m.mnuAnnuler->trigger();
    QVERIFY(editor.window().document().documentModified);
    editor.prompts.answers = {PromptAnswer::kOk};  // replacing the document saved
    m.mnuSave->trigger();
    QVERIFY(!editor.window().document().documentModified);
    m.mnuRetablir->trigger();
    QVERIFY(editor.window().document().documentModified);
    m.mnuAnnuler->trigger();
    QVERIFY(!editor.window().document().documentModified);

    // New lets the whole history go.
    m.mnuNouveau->trigger();
    QVERIFY(!m.mnuAnnuler->isEnabled());
    QVERIFY(!m.mnuRetablir->isEnabled());
  }
};

PIVOLANE_EDITOR_TEST_MAIN(HistoryTest)
#include "history_test.moc"
