// The slide view: layout, fitting, pictures of every format, status bar and delay.
#include <QClipboard>
#include <QStatusBar>
#include <QTest>

#include "editor/shell/slide_status.h"
#include "editor/shell/view_geometry.h"
#include "test_support.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

class ViewTest : public QObject {
  Q_OBJECT

 private slots:
  void FittingNeverEnlarges() {
    const FittedPicture fitted = FitPictureToFrame({400, 300}, {768, 576});
    QVERIFY(!fitted.stretched);
    QCOMPARE(fitted.geometry, QRect(184, 138, 400, 300));
    QVERIFY(!FitPictureToFrame({768, 576}, {768, 576}).stretched);
  }

  void FittingShrinksByHeightThenByWidth() {
    // Twice as high as the frame and as wide: the frame's height, half its width.
    FittedPicture fitted = FitPictureToFrame({768, 1152}, {768, 576});
    QVERIFY(fitted.stretched);
    QCOMPARE(fitted.geometry, QRect(192, 0, 384, 576));
    // Wider but lower than the frame: the width rule alone.
    fitted = FitPictureToFrame({1000, 300}, {768, 576});
    QCOMPARE(fitted.geometry, QRect(0, 173, 768, 230));
    // Both too large: the height rule first, then the width rule.
    fitted = FitPictureToFrame({3000, 1000}, {768, 576});
    QCOMPARE(fitted.geometry, QRect(0, 160, 768, 256));
  }

  void LayoutKeepsTheFrameFourByThreeWithinBothBounds() {
    // Area below the toolbar, then the frame: bound by the width, or by the
    // height when the area is wide and low.
    const std::pair<QSize, QSize> cases[] = {{{700, 2000}, {444, 333}},
                                             {{1024, 2000}, {768, 576}},
                                             {{1600, 2000}, {1344, 1008}},
                                             {{1600, 600}, {778, 583}},
                                             {{1280, 720}, {938, 703}}};
    for (const auto& [area, frame] : cases) {
      const MainLayout layout = ComputeMainLayout(area, {});
      QCOMPARE(layout.frame.size(), frame);
      QCOMPARE(layout.frame.height(), layout.frame.width() * 3 / 4);
      QVERIFY(layout.frame.bottom() < area.height() - kMargin);
      QCOMPARE(layout.frame.left(), kSlideListWidth + 4 * kMargin);
      QCOMPARE(layout.frame.top(), kMargin);
      QCOMPARE(layout.slideList.top(), kMargin);
      QCOMPARE(layout.slideList.height(), layout.frame.height());
      QCOMPARE(layout.statusPanelWidth, kSlideListWidth + kMargin);
      const QRect box = layout.defaultPictureBox;
      QCOMPARE(box.width(), qRound(0.9 * layout.frame.width()));
      QCOMPARE(box.height(), qRound(0.9 * layout.frame.height()));
      QCOMPARE(box.left(), (layout.frame.width() - box.width()) / 2);
    }
    // Too narrow or too low for a frame: the frame keeps its size.
    for (QSize area : {QSize(100, 2000), QSize(1024, 16)}) {
      QCOMPARE(ComputeMainLayout(area, {320, 240}).frame.size(), QSize(320, 240));
    }
  }

  // The picture and the slide list are never under the status bar, at the
  // first size, a 1280 x 800 window and one maximised on 1920 x 1080.
  void WindowFrameIsTheLargestFourByThreeAboveTheStatusBar_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("first") << QSize();
    QTest::newRow("1280x800") << QSize(1280, 800);
    QTest::newRow("1920x1080 maximised") << QSize(1920, 1080);
  }

  void WindowFrameIsTheLargestFourByThreeAboveTheStatusBar() {
    QFETCH(QSize, size);
    EditorHarness editor;
    editor.Start();
    FrmMain& window = editor.window();
    if (size.isValid()) window.resize(size);
    QTRY_COMPARE(window.size(), size.isValid() ? size : window.size());
    editor.AddPictures({editor.Picture("large.bmp", {1600, 1200})});

    SlideView& frame = window.slideView();
    QCOMPARE(frame.height(), frame.width() * 3 / 4);
    const QRect onWindow(frame.mapTo(&window, QPoint()), frame.size());
    const int statusTop = window.statusBar()->geometry().top();
    QVERIFY(onWindow.bottom() < statusTop);
    QVERIFY(onWindow.right() < window.width());
    // As large as the room allows: up to one bound or the other.
    const int roomBelow = statusTop - onWindow.bottom();
    const int roomRight = window.width() - onWindow.right();
    QVERIFY2(roomBelow <= kMargin + 3 || roomRight <= 3 * kMargin + 1,
             qPrintable(QString("%1 below, %2 right").arg(roomBelow).arg(roomRight)));
    const SlideList& list = window.slideList();
    QCOMPARE(list.geometry().top(), frame.geometry().top());
    QCOMPARE(list.height(), frame.height());
    QVERIFY(frame.rect().contains(frame.image().geometry()));
  }

  void SmallPictureIsCentredAtItsNaturalSize() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({editor.Picture("small.bmp", {400, 300})});
    SlideView& view = editor.window().slideView();
    QCOMPARE(view.image().size(), QSize(400, 300));
    QCOMPARE(view.image().pos(), CentreIn(view.size(), {400, 300}));
    QVERIFY(!view.image().hasScaledContents());
    QVERIFY(view.clickHereLabel().isHidden());
    QVERIFY(editor.window().statusPanel().text().endsWith("Dimensions: 400 x 300 pixels "));
  }

  void TallPictureIsShrunkAndTheStatusShowsItsOwnSize() {
    EditorHarness editor;
    editor.Start();
    SlideView& view = editor.window().slideView();
    const QSize frame = view.size();
    const QSize tall(frame.width(), frame.height() * 2);
    editor.AddPictures({editor.Picture("tall.bmp", tall)});
    QCOMPARE(view.image().size(), QSize(frame.width() / 2, frame.height()));
    QCOMPARE(view.image().pos(), QPoint(frame.width() / 4, 0));
    QVERIFY(view.image().hasScaledContents());
    QVERIFY(editor.window().statusPanel().text().endsWith(
        QString("Dimensions: %1 x %2 pixels ").arg(tall.width()).arg(tall.height())));
  }

  void LargePictureIsDecodedAtTheSizeShown() {
    EditorHarness editor;
    editor.Start();
    FrmMain& window = editor.window();
    SlideView& view = window.slideView();
    const QSize natural = view.size() * 4;
    QImage picture(natural, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString path = editor.Folder("pictures") + "/large.jpg";
    QVERIFY(picture.save(path, "JPG"));
    editor.AddPictures({path});
    QCOMPARE(view.image().pixmap().size(), view.size());
    QVERIFY(window.statusPanel().text().endsWith(
        QString("Dimensions: %1 x %2 pixels ").arg(natural.width()).arg(natural.height())));
    // A larger frame decodes the picture again rather than enlarging it.
    const QSize before = view.size();
    window.resize(window.width() + 160, window.height() + 120);
    QTRY_VERIFY(view.width() > before.width());
    QCOMPARE(view.image().pixmap().size(), view.size());
    QCOMPARE(view.image().size(), view.size());
  }

  void ReadsGifIcoAndJpeg() {
    EditorHarness editor;
    editor.Start();
    const QString folder = editor.Folder("pictures");
    WriteGif(folder + "/dot.gif");
    QImage picture(32, 16, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(folder + "/mark.ico", "ICO"));
    QVERIFY(picture.save(folder + "/photo.jpg", "JPG"));
    editor.AddPictures({folder + "/dot.gif", folder + "/mark.ico", folder + "/photo.jpg"});
    SlideView& view = editor.window().slideView();
    const QSize expected[] = {{1, 1}, {32, 16}, {32, 16}};
    for (int i = 1; i <= 3; ++i) {
      editor.window().slideList().SelectSlide(editor.window().slideList().Slide(i));
      editor.window().slides().OnItemClicked();
      QVERIFY(view.errorLabel().isHidden());
      QCOMPARE(view.image().size(), expected[i - 1]);
    }
  }

  // A photograph in each EXIF orientation shows upright, and the status bar
  // gives its size as shown; a large one is still decoded at the size shown.
  void PhotographsShowUpright() {
    EditorHarness editor;
    editor.Start();
    const char* upright[] = {"RGBW", "GRWB", "WBGR", "BWRG", "RBGW", "BRWG", "WGBR", "GWRB"};
    QStringList paths;
    for (unsigned value = 1; value <= 8; ++value) {
      paths << editor.Photograph(QString("turn%1.jpg").arg(value), {64, 32}, value);
    }
    SlideView& view = editor.window().slideView();
    const QSize large = view.size() * 2;
    paths << editor.Photograph("phone.jpg", {large.height(), large.width()}, 6);
    editor.AddPictures(paths);
    SlideList& list = editor.window().slideList();
    for (int value = 1; value <= 9; ++value) {
      list.SelectSlide(list.Slide(value));
      editor.window().slides().OnItemClicked();
      const QSize shown = value == 9 ? large : value >= 5 ? QSize(32, 64) : QSize(64, 32);
      QCOMPARE(QuartersOf(view.image().pixmap().toImage()), upright[value == 9 ? 5 : value - 1]);
      QVERIFY(editor.window().statusPanel().text().endsWith(
          QString("Dimensions: %1 x %2 pixels ").arg(shown.width()).arg(shown.height())));
    }
    QCOMPARE(view.image().pixmap().size(), view.size());
    // Other programs know nothing of the turn: the copy is upright too.
    editor.window().slides().CopySlide();
    QCOMPARE(QuartersOf(QGuiApplication::clipboard()->image()), "BRWG");
  }

  void StatusTextInBothLanguages() {
    QCOMPARE(SlideStatusText(Strings(Language::kFrench), 3, 12, 245000, {800, 600}),
             "Diapositive: 3/12: Taille: 245 Ko, Dimensions: 800 x 600 pixels ");
    QCOMPARE(SlideStatusText(Strings(Language::kEnglish), 3, 12, 245000, {800, 600}),
             "Slide: 3/12: Size: 245 Kb, Dimensions: 800 x 600 pixels ");
  }

  void SizeRoundsHalvesToEven() {
    const std::pair<std::uint64_t, std::uint64_t> cases[] = {
        {0, 0},    {499, 0},  {500, 0},  {501, 1},      {1499, 1},
        {1500, 2}, {2500, 2}, {3500, 4}, {245000, 245}, {245501, 246}};
    for (const auto& [bytes, kilobytes] : cases) QCOMPARE(RoundedKilobytes(bytes), kilobytes);
  }

  void DelayTextsAndColours() {
    EditorHarness editor("French");
    editor.Start();
    DelayControl& delay = editor.window().delay();
    const QPalette system = QApplication::palette(&delay.textBox());
    delay.SetValue(1);
    QCOMPARE(delay.textBox().text(), "Délai: 1 s.");
    QCOMPARE(delay.textBox().palette().color(QPalette::Base), system.color(QPalette::Base));

    QTest::keyClick(&delay.spinControl(), Qt::Key_Down);
    QCOMPARE(delay.value(), 0);
    QCOMPARE(delay.textBox().text(), "Manuel");
    QCOMPARE(delay.textBox().palette().color(QPalette::Base), system.color(QPalette::Button));
    QTest::keyClick(&delay.spinControl(), Qt::Key_Down);
    QCOMPARE(delay.value(), 0);

    delay.SetValue(300);
    QCOMPARE(delay.value(), 255);
    editor.window().menu().mnuEnglish->trigger();
    QCOMPARE(delay.textBox().text(), "Delay: 255 s.");
    QVERIFY(!editor.window().document().documentModified);
  }
};

PIVOLANE_EDITOR_TEST_MAIN(ViewTest)
#include "view_test.moc"
