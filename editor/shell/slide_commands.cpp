#include "editor/shell/slide_commands.h"

#include <algorithm>
#include <memory>
#include <string>

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/clipboard_picture.h"
#include "editor/shell/dropped_pictures.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/file_drops.h"
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

// Reading a FIFO or a device would block the editor or never end: only
// regular files become slides. A missing file is left to the copy, which
// reports it as such.
void RefuseUnlessRegularFile(const fs::path& source) {
  std::error_code error;
  const fs::file_status status = fs::status(source, error);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    throw Failure(error_number::kPathFileAccess, "Not a regular file");
  }
}

// The bytes as a new working file, private like every working file. A file
// already under that name is left alone; false when the bytes cannot be
// written, and then nothing of them stays.
bool WriteWorkingFile(const QByteArray& bytes, const fs::path& path) {
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

std::vector<FileFilter> SlideCommands::PictureFilters() const {
  return ParseDialogFilter(strings_.LoadMessage(122) + "|" + strings_.LoadMessage(131) + "|*.*");
}

void SlideCommands::AddPictures() {
  const OpenFilesRequest request{strings_.LoadMessage(121), PictureFilters(), lastPictureFolder_};
  const QStringList files = prompts_.ChooseFilesToOpen(request);
  if (files.isEmpty()) return;
  lastPictureFolder_ = QFileInfo(files.first()).absolutePath();
  // Appended, and the first slide of the whole list shown, not a new one.
  InsertPictureFiles(files, parts_.list.Count() + 1, 1);
}

void SlideCommands::AddDroppedFiles(const QStringList& paths) {
  BusyScope busy(parts_.window);
  const int selected = parts_.list.SelectedIndex();
  const int index = selected == 0 ? parts_.list.Count() + 1 : selected + 1;
  InsertPictureFiles(PictureFilesOf(paths, PictureFilters().front().patterns), index, index);
}

void SlideCommands::InsertPictureFiles(const QStringList& files, int index, int selectAfter) {
  auto edit =
      std::make_unique<SlideEdit>(parts_.history, parts_.list.SelectedIndex(), ViewRefresh::kShow);
  int at = index;
  for (const QString& file : files) {
    if (const std::optional<fs::path> workingFile = CopyIntoWorkFolder(file)) {
      edit->Insert(at++, QFileInfo(file).fileName(), PathText(*workingFile));
    }
  }
  edit->SelectAfter(selectAfter);
  parts_.history.Push(std::move(edit));
}

fs::path SlideCommands::NextPictureFile() {
  fs::path workingFile;
  // A number whose file belongs to a slide of the list, or of the history,
  // is never taken: that slide's picture would be wiped.
  do {
    ++document_.slideCounter;
    workingFile =
        document_.workFolder / ("PivolaneImg" + std::to_string(document_.slideCounter) + ".tmp");
  } while (parts_.list.HasKey(PathText(workingFile)) ||
           parts_.history.Holds(PathText(workingFile)));
  return workingFile;
}

std::optional<fs::path> SlideCommands::CopyIntoWorkFolder(const QString& source) {
  const fs::path workingFile = NextPictureFile();
  if (io::Exists(workingFile)) WipeReporting(workingFile, prompts_, strings_);
  try {
    RefuseUnlessRegularFile(PathOf(source));
    io::CopyFile(PathOf(source), workingFile);
  } catch (const Failure& failure) {
    // A slide without its picture copy would be lost on save: the file is
    // reported and left out.
    workspace::DiscardFile(workingFile);
    prompts_.Ask(
        DiskFailureMessage(strings_, "", PathOf(source), failure.number(), failure.description()));
    return std::nullopt;
  }
  return workingFile;
}

void SlideCommands::DeleteSlide() {
  const int index = parts_.list.SelectedIndex();
  if (index == 0) return;
  BusyScope busy(parts_.window);
  auto edit = std::make_unique<SlideEdit>(parts_.history, index, ViewRefresh::kShow);
  edit->Remove(index);
  // The neighbour that takes its place, else the one before it.
  edit->SelectAfter(std::min(index, parts_.list.Count() - 1));
  parts_.history.Push(std::move(edit));
}

void SlideCommands::CopySlide() {
  CopySelectedPicture();
}

bool SlideCommands::CopySelectedPicture() {
  const QTreeWidgetItem* selected = parts_.list.SelectedSlide();
  if (selected == nullptr) return false;
  QClipboard& clipboard = *QGuiApplication::clipboard();
  clipboard.clear();
  const QString file = SlideList::Key(selected);
  const std::optional<QByteArray> bytes = ReadDecodablePicture(file);
  // Upright, as the view shows it: other programs know nothing of the turn.
  const QImage upright = bytes ? ReadPictureWithin(file, QSize()).image : QImage();
  std::unique_ptr<QMimeData> data = upright.isNull() ? nullptr : ClipboardDataFor(*bytes, upright);
  if (data == nullptr) {
    prompts_.Ask({BoxTitle(),
                  strings_.LoadMessage(120) + "\n" + strings_.LoadMessage(103) + selected->text(0),
                  PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation});
    return false;
  }
  clipboard.setMimeData(data.release());
  return true;
}

void SlideCommands::CutSlide() {
  if (CopySelectedPicture()) DeleteSlide();
}

QString SlideCommands::FreePastedPictureName(const QString& extension) const {
  for (int k = 1;; ++k) {
    const QString name = "PivolaneImg" + QString::number(k) + extension;
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
  if (clipboard == nullptr) return;
  // Files copied in a file manager come as their addresses; an image beside
  // them is only their icon.
  if (const QStringList files = DroppedLocalFiles(*clipboard); !files.isEmpty()) {
    AddDroppedFiles(files);
    return;
  }
  const std::optional<ClipboardPicture> picture = PictureToPaste(*clipboard);
  if (!picture) return;

  const fs::path workingFile =
      document_.workFolder / FreePastedPictureName(picture->extension).toStdString();
  // Any failure abandons the paste without a word.
  if (!WriteWorkingFile(picture->bytes, workingFile)) return;

  ++document_.slideCounter;
  const int index = parts_.list.Count() + 1;
  auto edit =
      std::make_unique<SlideEdit>(parts_.history, parts_.list.SelectedIndex(), ViewRefresh::kShow);
  edit->Insert(index, strings_.LoadMessage(112) + QString::number(document_.slideCounter),
               PathText(workingFile));
  edit->SelectAfter(index);
  parts_.history.Push(std::move(edit));
}

void SlideCommands::MoveSlideUp() {
  MoveSlide("monter");
}

void SlideCommands::MoveSlideDown() {
  MoveSlide("descendre");
}

void SlideCommands::MoveSlide(const QString& direction) {
  const QString word = direction.toLower();
  QTreeWidgetItem* a = nullptr;
  QTreeWidgetItem* b = nullptr;
  if (word == "monter" || word == "descendre") {
    a = parts_.list.SelectedSlide();
    // The first slide has no place above it, the last none below.
    if (a != nullptr) b = parts_.list.Slide(parts_.list.IndexOf(a) + (word == "monter" ? -1 : 1));
  } else if (word == "ddrop") {
    a = parts_.list.dragSource();
    b = parts_.list.dropHighlight();
  }
  if (a == nullptr || b == nullptr || a == b) return;

  // A move keeps the picture on view at the selected place; a drop shows the
  // slide at its new place as a click would.
  auto edit =
      std::make_unique<SlideEdit>(parts_.history, parts_.list.SelectedIndex(),
                                  word == "ddrop" ? ViewRefresh::kShow : ViewRefresh::kDescribe);
  edit->Exchange(parts_.list.IndexOf(a), parts_.list.IndexOf(b));
  edit->SelectAfter(parts_.list.IndexOf(b));
  parts_.history.Push(std::move(edit));
}

void SlideCommands::OnTitleEdited(int index, const QString& before) {
  // Renaming leaves the selection and the picture on view as they are.
  const int selected = parts_.list.SelectedIndex();
  auto edit = std::make_unique<SlideEdit>(parts_.history, selected, ViewRefresh::kDescribe);
  edit->Retitle(index, before, parts_.list.Slide(index)->text(0));
  edit->SelectAfter(selected);
  parts_.history.Push(std::move(edit));
}

void SlideCommands::ShowEdit(int selection, ViewRefresh refresh) {
  BusyScope busy(parts_.window);
  QTreeWidgetItem* selected = parts_.list.Slide(selection);
  if (selected != nullptr) {
    parts_.list.SelectSlide(selected);
  } else {
    parts_.list.ClearSlideSelection();
  }
  if (selected == nullptr || refresh == ViewRefresh::kShow) {
    parts_.display.ClearSlideView();
    parts_.view.errorLabel().hide();
  }
  parts_.rules.ApplyCountRules();
  parts_.rules.ApplySelectionRules();
  if (selected == nullptr || refresh == ViewRefresh::kDescribe) {
    // With nothing selected the status bar no longer names a slide.
    parts_.display.ShowSlideStatus();
  } else {
    ShowSelectedOrDescribe();
  }
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
  if (parts_.list.dropHighlight() != nullptr) MoveSlide("ddrop");
  parts_.list.EndDrop();
}

void SlideCommands::ShowSelectedOrDescribe() {
  if (parts_.voirVignettes.isChecked()) {
    parts_.display.ShowSlideStatus();
  } else {
    parts_.display.ShowSelectedSlide();
  }
}

}  // namespace pivolane::editor
