// Enabling rules, option toggles and the toolbar's routing to the commands.
#include <QTest>
#include <QToolBar>

#include "editor/shell/busy_scope.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

struct CommandState {
  bool edit;  // cut, copy, delete
  bool up;
  bool down;
  bool loopRandom;  // the two buttons
  bool document;    // save, build, preview, password, pictures
  bool clickLabel;
};

void VerifyState(EditorHarness& editor, const CommandState& expected) {
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

void ClickSlide(EditorHarness& editor, int index) {
  SlideList& list = editor.window().slideList();
  const QRect place = list.visualItemRect(list.Slide(index));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
}

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
    VerifyState(editor, {false, false, false, false, false, true});

    editor.AddPictureCount(1);
    VerifyState(editor, {true, false, false, false, true, false});  // only slide

    editor.AddPictureCount(2);
    QCOMPARE(editor.window().slideList().IndexOf(editor.window().slideList().SelectedSlide()), 1);
    VerifyState(editor, {true, false, true, true, true, false});  // first of several
    ClickSlide(editor, 2);
    VerifyState(editor, {true, true, true, true, true, false});  // middle
    ClickSlide(editor, 3);
    VerifyState(editor, {true, true, false, true, true, false});  // last

    editor.window().slides().ClearSelection();
    editor.window().rules().ApplyCountRules();
    editor.window().rules().ApplySelectionRules();
    VerifyState(editor, {false, false, false, true, true, false});  // none selected
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
    VerifyState(editor, {false, false, false, false, false, true});
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
        VerifyState(editor, {false, false, false, false, false, true});
      }
      QVERIFY(!editor.window().isEnabled());
    }
    QVERIFY(editor.window().isEnabled());
    VerifyState(editor, {false, false, false, false, false, true});
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
    const auto snapshot = [&] {
      QList<QPair<bool, bool>> states;
      for (QAction* item : editor.window().menu().items) {
        states << qMakePair(item->isEnabled(), item->isChecked());
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
    QCOMPARE(snapshot(), before);
    QVERIFY(!editor.window().document().documentModified);
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
