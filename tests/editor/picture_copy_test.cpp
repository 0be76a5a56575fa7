// Save pictures: every slide's picture copied byte for byte into a chosen
// folder, with the replace question, its answers, and a failed copy.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "common/format/extraction.h"
#include "test_support.h"

using namespace pivolane;
using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// A JPEG picture file in folder, its colour telling it from its namesakes.
QString Jpeg(EditorHarness& editor, const QString& folder, const QString& name,
             Qt::GlobalColor colour = Qt::red) {
  QImage picture(24, 16, QImage::Format_RGB32);
  picture.fill(colour);
  const QString path = editor.Folder(folder) + "/" + name;
  picture.save(path, "JPG");
  return path;
}

// Runs the command with the folder dialog answered by folder.
void SavePictures(EditorHarness& editor, const QString& folder) {
  editor.prompts.folderChoices.push_back(folder);
  editor.window().menu().mnuEnregImages->trigger();
}

QString Summary(int copied, const QString& folder) {
  return QString("Picture file(s) saved successfully !\n\n%1 file(s) copied in folder: \n%2/")
      .arg(copied)
      .arg(folder);
}

QString ReplaceQuestion(const QString& name) {
  return "Le fichier: \"" + name + "\" existe déjà !\nVoulez vous le remplacer ?";
}

}  // namespace

class PictureCopyTest : public QObject {
  Q_OBJECT

 private slots:
  void CopiesEverySlideByteForByte() {
    EditorHarness editor;
    editor.Start();
    editor.AddPictures({Jpeg(editor, "pictures", "a.jpg"), Jpeg(editor, "pictures", "b.jpg")});
    QGuiApplication::clipboard()->setImage(QImage(30, 20, QImage::Format_RGB32));
    editor.window().menu().mnuColler->trigger();
    editor.window().document().documentModified = false;
    const QString target = editor.Folder("target");

    SavePictures(editor, target);
    QCOMPARE(editor.prompts.folderRequests.back().title, "Folder selection for saved pictures");
    QCOMPARE(NamesIn(target), (QStringList{"UnNamed3", "a.jpg", "b.jpg"}));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Contents(target + "/" + editor.Titles()[i]), Contents(editor.Keys()[i]));
    }
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
    QCOMPARE(editor.prompts.messages[0].text, Summary(3, target));
    QCOMPARE(editor.prompts.messages[0].icon, PromptMessage::Icon::kInformation);
    QVERIFY(!editor.window().document().documentModified);

    // A cancelled dialog does nothing more.
    SavePictures(editor, QString());
    QCOMPARE(editor.prompts.messages.size(), std::size_t{1});
  }

  void TitlesNameFilesInsideTheFolder() {
    for (const char* title : {"../../outside.jpg", "..", "/etc/passwd"}) {
      EditorHarness editor;
      editor.Start();
      editor.AddPictures({Jpeg(editor, "pictures", "a.jpg")});
      editor.window().slideList().Slide(1)->setText(0, title);
      const QString target = editor.Folder("deep/er/target");
      SavePictures(editor, target);
      const QString file = QString::fromStdString(format::SafeFileNameForTitle(title, 1));
      QCOMPARE(NamesIn(target), QStringList{file});
      QCOMPARE(Contents(target + "/" + file), Contents(editor.Keys()[0]));
      QCOMPARE(NamesIn(editor.Folder("deep")), QStringList{"er"});
      QCOMPARE(NamesIn(editor.Folder("deep/er")), QStringList{"target"});
    }
  }

  void ExistingFilesAreReplacedOnlyWhenTheAnswerIsYes() {
    const struct {
      const char* name;
      bool sameTitles;  // slides 1 and 2 both titled a.jpg, nothing in the folder
      std::deque<PromptAnswer> answers;
      QStringList asked;
      int reported;  // -1: no final box
      QList<bool> replaced;
    } rows[] = {
        {"equal titles", true, {PromptAnswer::kYes}, {"a.jpg"}, 3, {}},
        {"No on one of three",
         false,
         {PromptAnswer::kYes, PromptAnswer::kNo, PromptAnswer::kYes},
         {"a.jpg", "b.jpg", "c.jpg"},
         2,
         {true, false, true}},
        {"Cancel at the first",
         false,
         {PromptAnswer::kCancel},
         {"a.jpg"},
         -1,
         {false, false, false}},
    };
    for (const auto& row : rows) {
      EditorHarness editor;
      editor.Start();
      const QString target = editor.Folder("target");
      QStringList names = {"a.jpg", "b.jpg", "c.jpg"};
      if (row.sameTitles) names[1] = "a.jpg";
      QStringList pictures;
      for (int i = 0; i < 3; ++i) {
        pictures << Jpeg(editor, QString("pictures%1").arg(i), names[i], Qt::green);
        if (!row.sameTitles) Jpeg(editor, "target", names[i], Qt::blue);
      }
      const QByteArray old = Contents(target + "/b.jpg");
      editor.AddPictures(pictures);
      editor.prompts.answers = row.answers;

      SavePictures(editor, target);
      QStringList asked;
      for (const PromptMessage& message : editor.prompts.messages) {
        if (message.buttons != PromptMessage::Buttons::kYesNoCancel) continue;
        QCOMPARE(message.icon, PromptMessage::Icon::kExclamation);
        asked << message.text;
      }
      QStringList questions;
      for (const QString& name : row.asked) questions << ReplaceQuestion(name);
      QVERIFY2(asked == questions, row.name);
      const bool summary = editor.prompts.messages.back().icon == PromptMessage::Icon::kInformation;
      QVERIFY2(summary == (row.reported >= 0), row.name);
      if (summary) QCOMPARE(editor.prompts.messages.back().text, Summary(row.reported, target));
      if (row.sameTitles) {
        // The second a.jpg replaced the first.
        QCOMPARE(Contents(target + "/a.jpg"), Contents(editor.Keys()[1]));
        continue;
      }
      for (int i = 0; i < 3; ++i) {
        const QByteArray copy = Contents(target + "/" + names[i]);
        QVERIFY2((copy == Contents(editor.Keys()[i])) == row.replaced[i], row.name);
      }
      if (!row.replaced[1]) QCOMPARE(Contents(target + "/b.jpg"), old);
    }
  }

  void FailedCopyLeavesTheOldFileAndReportsInFrench() {
    EditorHarness editor("French");
    editor.Start();
    const QString target = editor.Folder("target");
    const QString old = Jpeg(editor, "target", "a.jpg", Qt::blue);
    const QByteArray oldBytes = Contents(old);
    editor.AddPictures({Jpeg(editor, "pictures", "a.jpg"), Jpeg(editor, "pictures", "b.jpg")});
    editor.prompts.answers = {PromptAnswer::kYes};
    {
      WriteBudget budget(10);
      SavePictures(editor, target);
    }
    QCOMPARE(editor.prompts.messages.size(), std::size_t{2});
    const PromptMessage& box = editor.prompts.messages[1];
    QCOMPARE(box.title, "Pivolane (Proc 105)");
    QVERIFY2(box.text.startsWith("Ouverture impossible !\n\nErreur: 61: "), qPrintable(box.text));
    QCOMPARE(box.icon, PromptMessage::Icon::kCritical);
    // The old file whole, nothing half-written beside it, b.jpg not tried.
    QCOMPARE(Contents(old), oldBytes);
    QCOMPARE(NamesIn(target), QStringList{"a.jpg"});
  }
};

PIVOLANE_EDITOR_TEST_MAIN(PictureCopyTest)
#include "picture_copy_test.moc"
