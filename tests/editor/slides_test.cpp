// Adding, pasting, moving, dragging and deleting slides.
#include <sys/stat.h>

#include <utility>
#include <vector>

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "test_support.h"
#include "tests/common/sample_pictures.h"

using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// Half opaque red, half fully transparent.
QImage TransparentPicture() {
  QImage image(8, 6, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 4; ++x) image.setPixelColor(x, y, Qt::red);
  }
  return image;
}

}  // namespace

class SlidesTest : public QObject {
  Q_OBJECT

 private slots:
  void ThreeFilesAtOnceAppendInDialogOrderAndSelectTheFirstSlide() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({editor.Picture("first.bmp")});
    editor.ClickSlide(1);
    const QString c = editor.Picture("c.bmp", {10, 10});
    editor.AddPictures({c, editor.Picture("a.bmp"), editor.Picture("b.bmp")});

    QCOMPARE(editor.Titles(), (QStringList{"first.bmp", "c.bmp", "a.bmp", "b.bmp"}));
    QStringList keys;
    for (int n = 1; n <= 4; ++n) {
      keys << PathText(editor.workFolder / ("PivolaneImg" + std::to_string(n) + ".tmp"));
    }
    QCOMPARE(editor.Keys(), keys);
    QCOMPARE(Contents(keys[1]), Contents(c));
    QCOMPARE(editor.SelectedIndex(), 1);
    QVERIFY(editor.window().slideView().HasPicture());
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 1/4: "));
    QVERIFY(editor.window().document().documentModified);

    const OpenFilesRequest& asked = editor.prompts.fileRequests.back();
    QCOMPARE(asked.title, "Pictures selection");
    QCOMPARE(asked.filters.size(), std::size_t{2});
    QCOMPARE(asked.filters[0].description,
             "Pictures files (*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico)");
    QCOMPARE(asked.filters[1].description, "All (*.*)");
    QCOMPARE(asked.startFolder, editor.Folder("pictures"));
    QVERIFY(editor.prompts.fileRequests.front().startFolder.isEmpty());
  }

  void CancelledDialogChangesNothing() {
    EditorHarness editor;
    editor.Start();
    editor.window().menu().mnuInsertion->trigger();
    QCOMPARE(editor.prompts.fileRequests.size(), std::size_t{1});
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(!editor.window().document().documentModified);
  }

  void StaleWorkingFileIsReplacedByTheCopy() {
    EditorHarness editor;
    editor.Start();
    const QString stale = PathText(editor.workFolder / "PivolaneImg1.tmp");
    WriteBytes(stale, "stale");
    const QString picture = editor.Picture("fresh.bmp");
    editor.AddPictures({picture});
    QCOMPARE(Contents(stale), Contents(picture));
  }

  void AFileThatCannotBeCopiedIsReportedAndLeftOut() {
    EditorHarness editor;
    editor.Start();
    const QString missing = editor.Folder("pictures") + "/gone.jpg";
    editor.AddPictures({missing, editor.Picture("kept.bmp")});
    QCOMPARE(editor.Titles(), QStringList{"kept.bmp"});
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QVERIFY(editor.prompts.messages[0].text.startsWith("Disk access impossible !\n" + missing +
                                                       "\nError: 53: "));
  }

  void TwoPastesTakeTheFirstFreeNames() {
    EditorHarness editor("French");
    editor.Start();
    editor.AddPictureCount(2);
    QGuiApplication::clipboard()->setImage(QImage(30, 20, QImage::Format_RGB32));
    editor.window().menu().mnuColler->trigger();
    editor.window().menu().mnuColler->trigger();

    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide2.bmp", "SansNom3", "SansNom4"}));
    QCOMPARE(editor.Keys()[2], PathText(editor.workFolder / "PivolaneImg1.png"));
    QCOMPARE(editor.Keys()[3], PathText(editor.workFolder / "PivolaneImg2.png"));
    QCOMPARE(QImage(editor.Keys()[3]).size(), QSize(30, 20));
    QCOMPARE(editor.SelectedIndex(), 4);
    QCOMPARE(editor.window().slideView().image().size(), QSize(30, 20));
  }

  // Pictures added, pasted or read back from a document: no other user may
  // read a working file, whatever the umask.
  void EveryWorkingFileIsPrivate() {
    const mode_t umaskBefore = ::umask(0);
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    QGuiApplication::clipboard()->setImage(QImage(30, 20, QImage::Format_RGB32));
    editor.window().menu().mnuColler->trigger();
    editor.prompts.saveChoices = {editor.Folder("shows") + "/private.pvl"};
    editor.window().menu().mnuSave->trigger();
    const auto modes = [&] {
      QMap<QString, int> found;
      for (const auto& entry : std::filesystem::directory_iterator(editor.workFolder)) {
        found[PathText(entry.path().filename())] = static_cast<int>(entry.status().permissions());
      }
      return found;
    };
    const QMap<QString, int> added = modes();
    editor.prompts.openChoices = {editor.Folder("shows") + "/private.pvl"};
    editor.window().menu().mnuOuvrir->trigger();
    const QMap<QString, int> opened = modes();
    ::umask(umaskBefore);
    QCOMPARE(added.size(), 2);
    QCOMPARE(opened.size(), 2);
    for (const QMap<QString, int>& files : {added, opened}) {
      for (auto file = files.begin(); file != files.end(); ++file) {
        QVERIFY2(file.value() == 0600, qPrintable(file.key()));
      }
    }
  }

  void PasteWithoutAPictureDoesNothing() {
    EditorHarness editor;
    editor.Start();
    QGuiApplication::clipboard()->setText("words");
    editor.window().menu().mnuColler->trigger();
    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(!editor.window().document().documentModified);
    QVERIFY(editor.prompts.messages.empty());
  }

  // A file manager's copy names the files; an icon beside them is no picture
  // to paste, and an address of another kind, or of no file, is left out.
  void FilesCopiedInAFileManagerArePastedUnderTheirNames() {
    EditorHarness editor;
    editor.Start();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(editor.Picture("copied.bmp")),
                   QUrl("https://example.org/remote.jpg"), QUrl("file://")});
    data->setImageData(TransparentPicture());
    QGuiApplication::clipboard()->setMimeData(data);
    editor.window().menu().mnuColler->trigger();
    QCOMPARE(editor.Titles(), QStringList{"copied.bmp"});
    QVERIFY(editor.prompts.messages.empty());
  }

  // Each row offers the clipboard data of another program; then the editor's
  // own copy of the first slide is pasted back.
  void APastedPictureKeepsItsOwnBytesWhenThePlayerDecodesThem() {
    const QByteArray jpeg = Encoded(QImage(16, 12, QImage::Format_RGB32), "JPG");
    const QByteArray png = Encoded(TransparentPicture(), "PNG");
    const pivolane::test_pictures::Bytes hostile = pivolane::test_pictures::WithDeclaredJpegSize(
        pivolane::test_pictures::SampleJpeg(16, 16, {1, 2, 3}, true), 12000, 12000);
    struct Offer {
      std::vector<std::pair<const char*, QByteArray>> data;  // in the clipboard's order
      bool withImage;
      const char* extension;  // of the slide's file; none when nothing is pasted
      QByteArray bytes;       // kept as they are; else the image as a PNG
    };
    const Offer offers[] = {
        {{{"image/jpeg", jpeg}}, false, ".jpg", jpeg},
        {{{"image/png", png}, {"image/jpeg", jpeg}}, true, ".png", png},  // the first offered
        {{}, true, ".png", {}},
        {{{"image/jpeg", png}}, true, ".png", {}},  // bytes that are not what they claim
        {{{"image/jpeg", QByteArray(reinterpret_cast<const char*>(hostile.data()),
                                    static_cast<qsizetype>(hostile.size()))}},
         false,
         nullptr,
         {}}};
    EditorHarness editor;
    editor.Start();
    for (const Offer& offer : offers) {
      auto* data = new QMimeData;
      for (const auto& [type, bytes] : offer.data) data->setData(type, bytes);
      if (offer.withImage) data->setImageData(TransparentPicture());
      QGuiApplication::clipboard()->setMimeData(data);
      const int before = editor.window().slideList().Count();
      editor.window().menu().mnuColler->trigger();
      QCOMPARE(editor.window().slideList().Count(), before + (offer.extension ? 1 : 0));
      if (offer.extension == nullptr) continue;
      const QString file = editor.Keys().last();
      QVERIFY(file.endsWith(offer.extension));
      QVERIFY(offer.bytes.isEmpty()
                  ? QImage(file).convertToFormat(QImage::Format_ARGB32) == TransparentPicture()
                  : Contents(file) == offer.bytes);
    }

    editor.ClickSlide(1);
    editor.window().document().documentModified = false;
    editor.window().menu().mnuCopier->trigger();
    const QMimeData& copied = *QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied.formats().first(), "image/jpeg");  // then the image, for other programs
    QCOMPARE(qvariant_cast<QImage>(copied.imageData()).size(), QSize(16, 12));
    QVERIFY(!editor.window().document().documentModified);
    editor.window().menu().mnuColler->trigger();
    QCOMPARE(Contents(editor.Keys().last()), jpeg);
  }

  // A folder gives its pictures in name order, without hidden files or
  // sub-folders; what the picture dialog's files would be refused for is
  // refused here too.
  void DroppedFilesAndFoldersBecomeSlidesAfterTheSelectedOne() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    const QString folder = editor.Folder("holiday");
    for (const char* name : {"photo10.jpg", "photo2.JPG", "Photo1.png", ".hidden.jpg", "notes.txt",
                             "edits/inner.jpg"}) {
      QDir().mkpath(QFileInfo(folder + "/" + name).path());
      WriteBmp(folder + "/" + name, {8, 6});
    }
    const QString gif = editor.Folder("pictures") + "/single.gif";
    WriteGif(gif);
    const QString pipe = editor.Folder("pictures") + "/pipe.jpg";
    QCOMPARE(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const QUrl remote("https://example.org/remote.jpg");
    editor.window().document().documentModified = false;

    QCOMPARE(DropUrls(editor.window().slideView(),
                      {QUrl::fromLocalFile(folder), QUrl::fromLocalFile(gif),
                       QUrl::fromLocalFile(pipe), remote}),
             Qt::CopyAction);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "Photo1.png", "photo2.JPG", "photo10.jpg",
                                           "single.gif", "slide2.bmp"}));
    QCOMPARE(editor.SelectedIndex(), 2);
    QVERIFY(editor.window().slideView().HasPicture());
    QCOMPARE(Contents(editor.Keys()[4]), Contents(gif));
    QVERIFY(editor.window().document().documentModified);
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(editor.prompts.messages[0].text,
             "Disk access impossible !\n" + pipe + "\nError: 75: Not a regular file");

    // On the list, with no slide selected: at the end.
    editor.window().slides().ClearSelection();
    QCOMPARE(DropUrls(*editor.window().slideList().viewport(), {QUrl::fromLocalFile(gif)}),
             Qt::CopyAction);
    QCOMPARE(editor.Titles().size(), 7);
    QCOMPARE(editor.SelectedIndex(), 7);
    QCOMPARE(DropUrls(editor.window().slideView(), {remote}), Qt::IgnoreAction);
    QCOMPARE(editor.Titles().size(), 7);
  }

  void CutMovesThePictureToTheClipboard() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({editor.Picture("one.bmp", {40, 30}), editor.Picture("two.bmp")});
    const QString firstKey = editor.Keys()[0];
    editor.window().menu().mnuCouper->trigger();
    QCOMPARE(editor.Titles(), QStringList{"two.bmp"});
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(40, 30));
    // Kept while an undo can bring the slide back.
    QVERIFY(QFile::exists(firstKey));
  }

  void CutOfAnUnreadablePictureKeepsTheSlide() {
    EditorHarness editor;
    editor.Start();
    const QString junk = editor.Folder("pictures") + "/junk.jpg";
    WriteBytes(junk, "not a picture");
    editor.AddPictures({junk});
    editor.window().menu().mnuCouper->trigger();
    QCOMPARE(editor.Titles(), QStringList{"junk.jpg"});
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(editor.prompts.messages[0].text, "Can't copy the picture !\nThe file: junk.jpg");
  }

  void MovingTheMiddleSlideUpExchangesTitlesAndPictures() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    const QStringList keys = editor.Keys();
    editor.ClickSlide(2);
    editor.window().document().documentModified = false;
    editor.window().menu().mnuMonter->trigger();

    QCOMPARE(editor.Titles(), (QStringList{"slide2.bmp", "slide1.bmp", "slide3.bmp"}));
    QCOMPARE(editor.Keys(), (QStringList{keys[1], keys[0], keys[2]}));
    QCOMPARE(editor.SelectedIndex(), 1);
    QVERIFY(editor.window().document().documentModified);
    QVERIFY(!editor.window().menu().mnuMonter->isEnabled());
    QVERIFY(editor.window().menu().mnuDescendre->isEnabled());
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 1/3: "));
  }

  void CtrlArrowsMoveOncePerPress() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    editor.ClickSlide(3);
    SlideList& list = editor.window().slideList();
    QTest::keyPress(&list, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide3.bmp", "slide2.bmp"}));
    QCOMPARE(editor.SelectedIndex(), 2);
    QTest::keyRelease(&list, Qt::Key_Up, Qt::ControlModifier);  // nothing more
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide3.bmp", "slide2.bmp"}));
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide2.bmp", "slide3.bmp"}));
    // A plain arrow only moves the selection.
    QTest::keyClick(&list, Qt::Key_Up);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide2.bmp", "slide3.bmp"}));
    QCOMPARE(editor.SelectedIndex(), 2);
    QTest::keyClick(&list, Qt::Key_Down);
    // No place below the last slide.
    editor.window().document().documentModified = false;
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide2.bmp", "slide3.bmp"}));
    QVERIFY(!editor.window().document().documentModified);
  }

  void DraggingSlideOneOntoSlideFourExchangesThem() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(5);
    editor.window().document().documentModified = false;
    editor.DragSlide(1, editor.SlidePlace(4));

    QCOMPARE(editor.Titles(),
             (QStringList{"slide4.bmp", "slide2.bmp", "slide3.bmp", "slide1.bmp", "slide5.bmp"}));
    QCOMPARE(editor.SelectedIndex(), 4);
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 4/5: "));
    QVERIFY(editor.window().slideView().HasPicture());
    // The new order is a change to save like a move.
    QVERIFY(editor.window().document().documentModified);
    QVERIFY(editor.window().slideList().dragSource() == nullptr);
    QVERIFY(editor.window().slideList().dropHighlight() == nullptr);
  }

  void DropOutsideTheSlidesDoesNothing() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    const QPoint belowTheSlides = editor.SlidePlace(3) + QPoint(0, 100);
    editor.DragSlide(1, belowTheSlides);
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide2.bmp", "slide3.bmp"}));
  }

  void DeletingTheOnlySlideShowsTheClickLabel() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    editor.window().document().documentModified = false;
    QTest::keyClick(&editor.window().slideList(), Qt::Key_Delete);

    QCOMPARE(editor.window().slideList().Count(), 0);
    QVERIFY(editor.window().document().documentModified);
    SlideView& view = editor.window().slideView();
    QVERIFY(!view.clickHereLabel().isHidden());
    QVERIFY(view.errorLabel().isHidden());
    QVERIFY(!view.HasPicture());
    QVERIFY(!editor.window().menu().mnuCouper->isEnabled());
    QVERIFY(!editor.window().menu().mnuSupprimer->isEnabled());
  }

  void DeletingMovesTheSelectionToANeighbour() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(3);
    editor.ClickSlide(2);
    editor.window().menu().mnuSupprimer->trigger();
    QCOMPARE(editor.Titles(), (QStringList{"slide1.bmp", "slide3.bmp"}));
    QCOMPARE(editor.SelectedIndex(), 2);
    QVERIFY(editor.window().slideView().HasPicture());
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 2/2: "));
  }

  void EscapeClearsTheViewAndTheStatusBar() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(2);
    QTest::keyClick(&editor.window().slideList(), Qt::Key_Escape);
    QCOMPARE(editor.SelectedIndex(), 0);
    QVERIFY(editor.window().statusPanel().text().isEmpty());
    QVERIFY(!editor.window().slideView().HasPicture());
    QVERIFY(!editor.window().slideView().clickHereLabel().isHidden());
    QVERIFY(!editor.window().menu().mnuCopier->isEnabled());
  }

  void UnreadablePictureShowsTheErrorLabel() {
    EditorHarness editor;
    editor.Start();
    const QString junk = editor.Folder("pictures") + "/broken.gif";
    WriteBytes(junk, QByteArray(1500, 'x'));
    editor.AddPictures({junk});
    SlideView& view = editor.window().slideView();
    QCOMPARE(editor.Titles(), QStringList{"broken.gif"});
    QVERIFY(!view.errorLabel().isHidden());
    QVERIFY(view.clickHereLabel().isHidden());
    QVERIFY(!view.HasPicture());
    QCOMPARE(editor.window().statusPanel().text(),
             "Slide: 1/1: Size: 2 Kb, Dimensions: 0 x 0 pixels ");

    // Emptying the view leaves one label, not two on top of each other.
    QTest::keyClick(&editor.window().slideList(), Qt::Key_Escape);
    QVERIFY(view.errorLabel().isHidden());
    QVERIFY(!view.clickHereLabel().isHidden());
  }

  // A progressive JPEG of 3 KB that declares 12000 x 12000 pixels would have
  // libjpeg take 864 MB inside the toolkit's reader.
  void AJpegBeyondThePlayersLimitsIsNeitherShownNorCopied() {
    EditorHarness editor;
    editor.Start();
    const QString hostile = editor.Folder("pictures") + "/hostile.jpg";
    const pivolane::test_pictures::Bytes bytes = pivolane::test_pictures::WithDeclaredJpegSize(
        pivolane::test_pictures::SampleJpeg(16, 16, {1, 2, 3}, true), 12000, 12000);
    WriteBytes(hostile, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
    editor.AddPictures({hostile});
    QVERIFY(!editor.window().slideView().errorLabel().isHidden());
    QVERIFY(!editor.window().slideView().HasPicture());
    editor.window().menu().mnuCopier->trigger();
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
  }

  void WhileVoirVignettesIsPressedSelectingOnlyDescribes() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({editor.Picture("big.bmp", {40, 30}), editor.Picture("small.bmp", {8, 6})});
    QTest::mouseClick(
        editor.window().toolbar().bar().widgetForAction(&editor.Button("VoirVignettes")),
        Qt::LeftButton);
    editor.ClickSlide(2);
    QCOMPARE(editor.window().slideView().image().size(), QSize(40, 30));
    QVERIFY(editor.window().statusPanel().text().startsWith("Slide: 2/2: "));
  }

  void RenamingATitleMarksTheShowModified() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictureCount(1);
    editor.window().document().documentModified = false;
    editor.window().slideList().Slide(1)->setText(0, "Beach");
    QVERIFY(editor.window().document().documentModified);
  }

  void ClickingTheEmptyViewLabelAsksForPictures() {
    EditorHarness editor;
    editor.Start();
    QTest::mouseClick(&editor.window().slideView().clickHereLabel(), Qt::LeftButton);
    QCOMPARE(editor.prompts.fileRequests.size(), std::size_t{1});
    QTest::mouseDClick(&editor.window().slideView(), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(editor.prompts.fileRequests.size(), std::size_t{2});
  }
};

PIVOLANE_EDITOR_TEST_MAIN(SlidesTest)
#include "slides_test.moc"
