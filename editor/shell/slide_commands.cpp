#include "editor/shell/slide_commands.h"

#include <string>

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/file_filter.h"
#include "editor/shell/picture_reader.h"

namespace pivolane::editor {

namespace fs = std::filesystem;

namespace {

QString PathText(const fs::path& path) {
  return QString::fromStdString(path.string());
}
fs::path PathOf(const QString& text) {
  return fs::path(text.toStdString());
}

// The picture as a bitmap working file, private like every working file. A
// file already under that name is left alone; false when the picture cannot
// be written, and then nothing of it stays.
bool WriteWorkingBitmap(const QImage& picture, const fs::path& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "BMP")) return false;
  io::File file;
  try {
    file = io::File(path, io::OpenMode::kCreateExclusive);
  } catch (const Failure&) {
    return false;
  }
  try {
    file.Append({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                 static_cast<std::size_t>(bytes.size())});
    file.Close();
    return true;
  } catch (const Failure&) {
    file = io::File();
    workspace::DiscardFile(path);
    return false;
  }
}

}  // namespace

void SlideCommands::InsertSlides() {
  BusyScope busy(parts_.window);
  AddPictures();
  parts_.rules.ApplyCountRules();
  parts_.rules.ApplySelectionRules();
}

void SlideCommands::AddPictures() {
  const OpenFilesRequest request{
      strings_.LoadMessage(121),
      ParseDialogFilter(strings_.LoadMessage(122) + "|" + strings_.LoadMessage(131) + "|*.*"),
      lastPictureFolder_};
  const QStringList files = prompts_.ChooseFilesToOpen(request);
  if (files.isEmpty()) return;

  document_.documentModified = true;
  lastPictureFolder_ = QFileInfo(files.first()).absolutePath();
  for (const QString& file : files) AddPictureFile(file);

  // The first slide of the whole list, not a new one.
  if (parts_.list.Count() == 0) return;
  parts_.list.SelectSlide(parts_.list.Slide(1));
  OnItemClicked();
}

fs::path SlideCommands::NextPictureFile() {
  fs::path workingFile;
  // A number whose file belongs to a slide of the list is never taken: that
  // slide's picture would be wiped.
  do {
    ++document_.slideCounter;
    workingFile =
        document_.workFolder / ("PivolaneImg" + std::to_string(document_.slideCounter) + ".tmp");
  } while (parts_.list.HasKey(PathText(workingFile)));
  return workingFile;
}

void SlideCommands::AddPictureFile(const QString& source) {
  const fs::path workingFile = NextPictureFile();
  if (io::Exists(workingFile)) WipeReporting(workingFile);
  try {
    io::CopyFile(PathOf(source), workingFile);
  } catch (const Failure& failure) {
    // A slide without its picture copy would be lost on save: the file is
    // reported and left out.
    workspace::DiscardFile(workingFile);
    prompts_.Ask({BoxTitle(),
                  strings_.LoadMessage(101) + "\n" + source + "\n" +
                      ErrorLine(strings_, failure.number(), failure.description()),
                  PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation});
    return;
  }
  parts_.list.AppendSlide(QFileInfo(source).fileName(), PathText(workingFile));
}

void SlideCommands::DeleteSlide() {
  QTreeWidgetItem* selected = parts_.list.SelectedSlide();
  if (selected == nullptr) return;
  BusyScope busy(parts_.window);
  WipeReporting(PathOf(SlideList::Key(selected)));
  parts_.list.RemoveSlide(selected);
  document_.documentModified = true;
  parts_.display.ClearSlideView();
  parts_.view.errorLabel().hide();
  parts_.rules.ApplyCountRules();
  parts_.rules.ApplySelectionRules();
  if (parts_.list.SelectedSlide() != nullptr) {
    ShowSelectedOrDescribe();
  } else {
    // Nothing is left to describe: the status bar no longer names the slide.
    parts_.display.ShowSlideStatus();
  }
}

void SlideCommands::CopySlide() {
  CopySelectedPicture();
}

bool SlideCommands::CopySelectedPicture() {
  const QTreeWidgetItem* selected = parts_.list.SelectedSlide();
  if (selected == nullptr) return false;
  QClipboard& clipboard = *QGuiApplication::clipboard();
  clipboard.clear();
  // Upright, as the view shows it: other programs know nothing of the turn.
  const QImage picture = ReadPictureWithin(SlideList::Key(selected), QSize()).image;
  if (picture.isNull()) {
    prompts_.Ask({BoxTitle(),
                  strings_.LoadMessage(120) + "\n" + strings_.LoadMessage(103) + selected->text(0),
                  PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation});
    return false;
  }
  clipboard.setImage(picture);
  return true;
}

void SlideCommands::CutSlide() {
  if (CopySelectedPicture()) DeleteSlide();
}

QString SlideCommands::FreePastedPictureName() const {
  for (int k = 1;; ++k) {
    const QString name = "PivolaneImg" + QString::number(k) + ".bmp";
    const fs::path path = document_.workFolder / name.toStdString();
    bool taken = io::Exists(path) || parts_.list.HasKey(PathText(path));
    for (int i = 1; i <= parts_.list.Count() && !taken; ++i) {
      taken = parts_.list.Slide(i)->text(0) == name;
    }
    if (!taken) return name;
  }
}

void SlideCommands::PasteSlide() {
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  if (clipboard == nullptr || !clipboard->hasImage()) return;

  const fs::path workingFile = document_.workFolder / FreePastedPictureName().toStdString();
  // Any failure abandons the paste without a word.
  const QImage picture = qvariant_cast<QImage>(clipboard->imageData());
  if (picture.isNull() || !WriteWorkingBitmap(picture, workingFile)) return;

  ++document_.slideCounter;
  QTreeWidgetItem* slide = parts_.list.AppendSlide(
      strings_.LoadMessage(112) + QString::number(document_.slideCounter), PathText(workingFile));
  document_.documentModified = true;
  parts_.list.SelectSlide(slide);
  OnItemClicked();
  parts_.rules.ApplyCountRules();
  parts_.rules.ApplySelectionRules();
}

void SlideCommands::MoveSlideUp() {
  MoveSelectedSlide("monter", -1);
}

void SlideCommands::MoveSlideDown() {
  MoveSelectedSlide("descendre", +1);
}

void SlideCommands::MoveSelectedSlide(const QString& direction, int step) {
  const QTreeWidgetItem* selected = parts_.list.SelectedSlide();
  // The first slide has no place above it, the last none below.
  if (selected == nullptr || parts_.list.Slide(parts_.list.IndexOf(selected) + step) == nullptr) {
    return;
  }
  document_.documentModified = true;
  MoveSlide(direction);
}

void SlideCommands::MoveSlide(const QString& direction) {
  const QString word = direction.toLower();
  QTreeWidgetItem* a = nullptr;
  QTreeWidgetItem* b = nullptr;
  if (word == "monter" || word == "descendre") {
    a = parts_.list.SelectedSlide();
    if (a != nullptr) b = parts_.list.Slide(parts_.list.IndexOf(a) + (word == "monter" ? -1 : 1));
  } else if (word == "ddrop") {
    a = parts_.list.dragSource();
    b = parts_.list.dropHighlight();
  }
  if (a == nullptr || b == nullptr) return;

  BusyScope busy(parts_.window);
  parts_.list.ExchangeSlides(a, b);
  parts_.rules.ApplyUpDownRules();
  // The place now selected holds the picture on view: no reload.
  parts_.display.ShowSlideStatus();
}

void SlideCommands::ClearSelection() {
  parts_.display.ClearSlideView();
  // The error label sits where the empty view's label shows.
  parts_.view.errorLabel().hide();
  parts_.list.ClearSlideSelection();
  parts_.rules.ApplySelectionRules();
  parts_.display.ShowSlideStatus();
}

void SlideCommands::OnItemClicked() {
  BusyScope busy(parts_.window);
  parts_.rules.ApplySelectionRules();
  ShowSelectedOrDescribe();
}

void SlideCommands::OnDropCompleted() {
  QTreeWidgetItem* target = parts_.list.dropHighlight();
  if (target == nullptr) {
    parts_.list.EndDrop();
    return;
  }
  MoveSlide("ddrop");
  parts_.list.SelectSlide(target);
  parts_.list.EndDrop();
  OnItemClicked();
}

void SlideCommands::ShowSelectedOrDescribe() {
  if (parts_.voirVignettes.isChecked()) {
    parts_.display.ShowSlideStatus();
  } else {
    parts_.display.ShowSelectedSlide();
  }
}

void SlideCommands::WipeReporting(const fs::path& path) {
  try {
    workspace::WipeAndDeleteFile(path);
  } catch (const Failure& failure) {
    prompts_.Ask(WipeFailureMessage(strings_, path, failure.number(), failure.description()));
  }
}

}  // namespace pivolane::editor
