// The preview window: captions, the timer and the switch to manual, random
// order, a picture that cannot be read, and the editor coming back.
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTest>

#include "editor/preview/frm_dia.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// Opens the preview by its toolbar button; nullptr when none stayed open.
FrmDia* OpenPreview(EditorHarness& editor) {
  editor.Button("Visionner").trigger();
  return editor.window().preview().preview();
}

QStringList WorkFiles(const EditorHarness& editor) {
  return QDir(QString::fromStdString(editor.workFolder.string())).entryList(QDir::Files);
}

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void CaptionsFollowTheTimer() {
    const struct {
      const char* language;
      const char* suffix;
    } languages[] = {{"English", " (Esc to quit)"}, {"French", " (Esc pour sortir)"}};
    for (const auto& language : languages) {
      EditorHarness editor(language.language);
      editor.Start();
      editor.AddPictureCount(5);
      editor.window().delay().SetValue(3);
      FrmDia* preview = OpenPreview(editor);
      QVERIFY(preview != nullptr);
      QVERIFY(preview->isVisible());
      for (int position = 1; position <= 5; ++position) {
        QCOMPARE(preview->windowTitle(), QString("%1/5: Pivolane").arg(position) + language.suffix);
        QVERIFY(preview->timer1().isActive());
        QCOMPARE(preview->timer1().interval(), 3000);
        QVERIFY(preview->imageDia().isVisible());
        preview->Timer1_Timer();
      }
      // The tick after the last position ends the show.
      QVERIFY(editor.window().preview().preview() == nullptr);
    }
  }

  void FirstInputSwitchesToManualForGood() {
    const struct {
      const char* name;
      std::function<void(FrmDia&)> input;
      int position;  // after the input
    } inputs[] = {
        {"Down", [](FrmDia& w) { QTest::keyClick(&w, Qt::Key_Down); }, 1},
        {"Space", [](FrmDia& w) { QTest::keyClick(&w, Qt::Key_Space); }, 2},
        {"left click", [](FrmDia& w) { QTest::mouseClick(&w.imageDia(), Qt::LeftButton); }, 2},
        {"right click", [](FrmDia& w) { QTest::mouseClick(&w.frame1(), Qt::RightButton); }, 1},
    };
    for (const auto& row : inputs) {
      EditorHarness editor;
      editor.Start();
      editor.AddPictureCount(5);
      FrmDia& preview = *OpenPreview(editor);
      row.input(preview);
      QVERIFY2(preview.windowTitle().startsWith(QString("%1/5: ").arg(row.position)), row.name);
      QVERIFY2(!preview.timer1().isActive(), row.name);
      QVERIFY2(!preview.playback().AutoAdvance(), row.name);
      // The next slide does not restart the timer, unlike the player.
      QTest::keyClick(&preview, Qt::Key_Right);
      QVERIFY2(preview.windowTitle().startsWith(QString("%1/5: ").arg(row.position + 1)), row.name);
      QVERIFY2(!preview.timer1().isActive(), row.name);
    }
  }

  void RandomOrderCountsPositionsOverShuffledSlides() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(5);
    editor.window().menu().mnuAleatoire->trigger();
    editor.window().menu().mnuAfficherTitre->trigger();
    FrmDia& preview = *OpenPreview(editor);
    QStringList shown;
    for (int position = 1; position <= 5; ++position) {
      const QString prefix = QString("%1/5: ").arg(position);
      QVERIFY(preview.windowTitle().startsWith(prefix));
      QVERIFY(preview.windowTitle().endsWith(" (Esc to quit)"));
      shown << preview.windowTitle().mid(prefix.size()).chopped(14);
      if (position < 5) QTest::keyClick(&preview, Qt::Key_Right);
    }
    shown.sort();
    QCOMPARE(shown, editor.Titles());
  }

  void UnreadablePictureLeavesTheFrameBlack() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    QVERIFY(QFile::remove(editor.Keys()[1]));
    const QStringList before = WorkFiles(editor);
    FrmDia& preview = *OpenPreview(editor);
    QVERIFY(preview.imageDia().isVisible());
    QTest::keyClick(&preview, Qt::Key_Right);
    QCOMPARE(preview.windowTitle(), "2/3: Pivolane (Esc to quit)");
    QVERIFY(preview.imageDia().isHidden());
    QCOMPARE(preview.frame1().palette().color(QPalette::Window), QColor(Qt::black));
    QTest::keyClick(&preview, Qt::Key_Right);
    QVERIFY(preview.imageDia().isVisible());
    QTest::keyClick(&preview, Qt::Key_Escape);
    // Nothing written or deleted in the work folder.
    QCOMPARE(WorkFiles(editor), before);
  }

  // A photograph from a phone held upright fills the height, upright; a
  // double-click is one press, so it moves on by one slide.
  void PhotographsShowUprightAndADoubleClickMovesOnce() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({editor.Photograph("phone.jpg", {1600, 1200}, 6)});
    editor.AddPictureCount(2);
    FrmDia& preview = *OpenPreview(editor);
    QCOMPARE(QuartersOf(preview.imageDia().pixmap().toImage()), "BRWG");
    QCOMPARE(preview.imageDia().height(), preview.frame1().height());
    QVERIFY(preview.imageDia().width() < preview.imageDia().height());
    // As the display reports a double-click: a press, then the double-click.
    QTest::mouseClick(&preview.imageDia(), Qt::LeftButton);
    QTest::mouseDClick(&preview.imageDia(), Qt::LeftButton);
    QVERIFY2(preview.windowTitle().startsWith("2/3: "), qPrintable(preview.windowTitle()));
  }

  void PointerHidesWhenStillAndComesBackWhenMoved() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    FrmDia& preview = *OpenPreview(editor);
    QVERIFY(preview.pointerTimer().isActive());
    QCOMPARE(preview.pointerTimer().interval(), 2000);
    preview.pointerTimer().start(1);
    QTRY_COMPARE(preview.cursor().shape(), Qt::BlankCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5),
                     preview.imageDia().mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&preview.imageDia(), &move);
    QCOMPARE(preview.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(preview.pointerTimer().isActive());
  }

  void EndsGivingTheEditorBackWithItsSelection() {
    const struct {
      const char* name;
      std::function<void(FrmDia&)> end;
    } ends[] = {
        {"Escape", [](FrmDia& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close box", [](FrmDia& w) { w.close(); }},
        {"end of show", [](FrmDia& w) { QTest::keyClick(&w, Qt::Key_Right, Qt::NoModifier); }},
    };
    for (const auto& row : ends) {
      EditorHarness editor;
      editor.Start();
      editor.AddPictureCount(1);
      QTreeWidgetItem* selected = editor.window().slideList().SelectedSlide();
      QVERIFY(selected != nullptr);
      FrmDia* preview = OpenPreview(editor);
      QVERIFY2(preview->isModal(), row.name);
      row.end(*preview);
      QVERIFY2(editor.window().preview().preview() == nullptr, row.name);
      QTRY_VERIFY2(editor.window().isActiveWindow(), row.name);
      QCOMPARE(editor.window().slideList().SelectedSlide(), selected);
    }
  }

  void EmptyListEndsAtOnce() {
    EditorHarness editor;
    editor.Start();
    editor.window().preview().mnuVisionner_Click();
    QVERIFY(editor.window().preview().preview() == nullptr);
    QTest::qWait(0);
    QVERIFY(editor.window().findChild<FrmDia*>() == nullptr);
    QVERIFY(editor.window().isActiveWindow());
  }
};

PIVOLANE_EDITOR_TEST_MAIN(PreviewTest)
#include "preview_test.moc"
