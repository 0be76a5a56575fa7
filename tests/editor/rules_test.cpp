// Enabling rules, option toggles and the toolbar's routing to the commands.
#include <QSet>
#include <QTest>
#include <QToolBar>

#include "editor/shell/busy_scope.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

void ClickButton(EditorHarness& editor, const char* key) {
  QWidget* button = editor.window().toolbar().bar().widgetForAction(&editor.Button(key));
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class RulesTest : public QObject {
  Q_OBJECT

 private slots:
  void TheSixStates() {
    EditorHarness editor;
    editor.Start();
    VerifyCommandState(editor, {false, false, false, false, false, true});

    editor.AddPictureCount(1);
    VerifyCommandState(editor, {true, false, false, false, true, false});  // only slide

    editor.AddPictureCount(2);
    QCOMPARE(editor.window().slideList().IndexOf(editor.window().slideList().SelectedSlide()), 1);
    VerifyCommandState(editor, {true, false, true, true, true, false});  // first of several
    editor.ClickSlide(2);
    VerifyCommandState(editor, {true, true, true, true, true, false});  // middle
    editor.ClickSlide(3);
    VerifyCommandState(editor, {true, true, false, true, true, false});  // last

    editor.window().slides().ClearSelection();
    editor.window().rules().ApplyCountRules();
    editor.window().rules().ApplySelectionRules();
    VerifyCommandState(editor, {false, false, false, true, true, false});  // none selected
  }

  // Every path that empties the list inside a long operation (which disables
  // the window for its duration) leaves the commands of an empty show.
  void EmptiedListKeepsTheRulesAfterTheBusyPointer_data() {
    QTest::addColumn<QString>("path");
    for (const char* path : {"new", "open cancelled", "open failed", "last slide deleted"}) {
      QTest::newRow(path) << path;
    }
  }

  void EmptiedListKeepsTheRulesAfterTheBusyPointer() {
    QFETCH(QString, path);
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    MainMenu& m = editor.window().menu();
    m.mnuEnBoucle->trigger();
    editor.prompts.answers = {PromptAnswer::kNo};  // to the save question
    if (path == "new") {
      m.mnuNouveau->trigger();
    } else if (path == "open cancelled") {
      editor.prompts.openChoices = {QString()};
      m.mnuOuvrir->trigger();
    } else if (path == "open failed") {
      const QString notAShow = editor.Folder("shows") + "/notes.pvl";
      WriteBytes(notAShow, QByteArray(100, 'x'));
      editor.prompts.openChoices = {notAShow};
      m.mnuOuvrir->trigger();
    } else {
      for (int i = 0; i < 2; ++i) editor.window().slides().DeleteSlide();
    }
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(editor.window().isEnabled());
    VerifyCommandState(editor, {false, false, false, false, false, true});
    QCOMPARE(editor.window().statusPanel().text(), QString());
  }

  // A prompt inside a long operation shows the window beneath enabled (a
  // disabled one greys the picture out) and leaves the rules as they were.
  void APromptPausesTheBusyWindowWithoutUndoingTheRules() {
    EditorHarness editor;
    editor.Start();
    {
      const BusyScope outer(editor.window());
      const BusyScope inner(editor.window());
      {
        const BusyPause pause;
        QVERIFY(editor.window().isEnabled());
        VerifyCommandState(editor, {false, false, false, false, false, true});
      }
      QVERIFY(!editor.window().isEnabled());
    }
    QVERIFY(editor.window().isEnabled());
    VerifyCommandState(editor, {false, false, false, false, false, true});
  }

  void WithOneSlideLoopAndRandomStayReachableThroughTheMenu() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    QVERIFY(!editor.Button("Enboucle").isEnabled());
    QVERIFY(editor.window().menu().mnuDefilement->menuAction()->isEnabled());
    QVERIFY(editor.window().menu().mnuEnBoucle->isEnabled());
    QVERIFY(editor.window().menu().mnuAleatoire->isEnabled());
    editor.window().menu().mnuEnBoucle->trigger();
    QVERIFY(editor.window().menu().mnuEnBoucle->isChecked());
    QVERIFY(editor.Button("Enboucle").isChecked());
  }

  void PadlockSurvivesAnAddedSlide() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    QCOMPARE(editor.Button("Crypte").property("iconKey").toString(), "K2ouv");
    ClickButton(editor, "Crypte");
    QVERIFY(editor.window().menu().mnuMotDePasse->isChecked());
    QVERIFY(editor.Button("Crypte").isChecked());
    QCOMPARE(editor.Button("Crypte").property("iconKey").toString(), "K2ferme");

    editor.AddPictureCount(1);
    QVERIFY(editor.Button("Crypte").isChecked());
    QCOMPARE(editor.Button("Crypte").property("iconKey").toString(), "K2ferme");

    editor.window().menu().mnuMotDePasse->trigger();
    QVERIFY(!editor.Button("Crypte").isChecked());
    QCOMPARE(editor.Button("Crypte").property("iconKey").toString(), "K2ouv");
  }

  void EveryToggleMarksTheShowModified() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    MainMenu& m = editor.window().menu();
    const std::pair<QAction*, const char*> options[] = {{m.mnuEnBoucle, "Enboucle"},
                                                        {m.mnuAleatoire, "Aleatoire"},
                                                        {m.mnuAfficherTitre, "Affichertitre"},
                                                        {m.mnuMotDePasse, "Crypte"}};
    for (const auto& [item, key] : options) {
      for (bool fromToolbar : {false, true}) {
        for (bool checked : {true, false}) {  // on, then back off
          editor.window().document().documentModified = false;
          if (fromToolbar) {
            ClickButton(editor, key);
          } else {
            item->trigger();
          }
          QVERIFY2(editor.window().document().documentModified, key);
          QCOMPARE(item->isChecked(), checked);
          QCOMPARE(editor.Button(key).isChecked(), checked);
        }
      }
    }
  }

  void VoirVignettesOnlyKeepsItsState() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    QAction& twin = *editor.window().menu().mnuVoirVignettes;
    const auto snapshot = [&] {
      QList<QPair<bool, bool>> states;
      for (QAction* item : editor.window().menu().items) {
        if (item != &twin) states << qMakePair(item->isEnabled(), item->isChecked());
      }
      for (QAction* button : editor.window().toolbar().buttons()) {
        if (button->objectName() != "VoirVignettes") {
          states << qMakePair(button->isEnabled(), button->isChecked());
        }
      }
      return states;
    };
    const auto before = snapshot();
    editor.window().document().documentModified = false;
    ClickButton(editor, "VoirVignettes");
    QVERIFY(editor.Button("VoirVignettes").isChecked());
    QVERIFY(twin.isChecked());
    QCOMPARE(snapshot(), before);
    QVERIFY(!editor.window().document().documentModified);
    // The menu twin is the keyboard's way to the button.
    twin.trigger();
    QVERIFY(!editor.Button("VoirVignettes").isChecked());
    QCOMPARE(snapshot(), before);
  }

  // The usual keys, shown in the menus; no key reaches two commands, nor a
  // command and the window's own key handling (one press acts once).
  void UsualShortcutsAreShownAndNoKeyIsAmbiguous() {
    EditorHarness editor;
    editor.Start();
    MainMenu& m = editor.window().menu();
    const std::pair<QAction*, QKeySequence::StandardKey> standard[] = {
        {m.mnuNouveau, QKeySequence::New},     {m.mnuOuvrir, QKeySequence::Open},
        {m.mnuSave, QKeySequence::Save},       {m.mnuAnnuler, QKeySequence::Undo},
        {m.mnuRetablir, QKeySequence::Redo},   {m.mnuCouper, QKeySequence::Cut},
        {m.mnuCopier, QKeySequence::Copy},     {m.mnuColler, QKeySequence::Paste},
        {m.mnuSupprimer, QKeySequence::Delete}};
    for (const auto& [item, key] : standard) {
      QCOMPARE(item->shortcuts(), QKeySequence::keyBindings(key));
    }
    QCOMPARE(m.mnuAnnuler->text(), "Undo");
    QCOMPARE(m.mnuRetablir->text(), "Redo");
    QCOMPARE(m.mnuVoirVignettes->text(), "&Recenter slide");
    // Where the desktop names no keys for them.
    QVERIFY(!m.mnuSaveAs->shortcut().isEmpty());
    QVERIFY(!m.mnuQuit->shortcut().isEmpty());
    QCOMPARE(m.mnuVisionner->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(m.mnuMonter->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));
    QCOMPARE(m.mnuDescendre->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Down));

    QSet<QKeySequence> keys;
    for (QAction* action : editor.window().findChildren<QAction*>()) {
      for (const QKeySequence& key : action->shortcuts()) {
        QVERIFY2(!keys.contains(key), qPrintable(key.toString()));
        keys.insert(key);
      }
    }
    // Every toolbar button has a menu item, which the keyboard reaches.
    for (QAction* button : editor.window().toolbar().buttons()) {
      QVERIFY(CommandOfButton(m, button->objectName()) != nullptr ||
              button->objectName() == "VoirVignettes");
    }

    // Shift+Del cuts one slide; the list used to delete on every Delete too.
    editor.AddPictureCount(3);
    QTest::keyClick(&editor.window().slideList(), Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(editor.window().slideList().Count(), 2);
  }

  void ToolbarButtonsRunTheirMenuCommands() {
    EditorHarness editor;
    editor.Start();
    QStringList keys;
    for (QAction* button : editor.window().toolbar().buttons()) keys << button->objectName();
    QCOMPARE(keys, (QStringList{"Nouveau", "Ouvrir", "Enregistrer", "CreerExe", "Couper", "Copier",
                                "Coller", "AjouterDiapo", "SupprimerDiapo", "Enboucle", "Aleatoire",
                                "Affichertitre", "Crypte", "VoirVignettes", "Flechehaut",
                                "Flechebas", "Visionner"}));

    editor.window().DispatchToolbarButton("ajouterdiapo");  // keys compare with case
    editor.window().DispatchToolbarButton("txtDelai");
    QVERIFY(editor.prompts.fileRequests.empty());
    ClickButton(editor, "AjouterDiapo");
    QCOMPARE(editor.prompts.fileRequests.size(), std::size_t{1});

    int saves = 0;
    QObject::connect(editor.window().menu().mnuSave, &QAction::triggered, [&] { ++saves; });
    editor.AddPictureCount(1);
    ClickButton(editor, "Enregistrer");
    QCOMPARE(saves, 1);
  }
};

PIVOLANE_EDITOR_TEST_MAIN(RulesTest)
#include "rules_test.moc"
