// How long the editor takes to put a 12-megapixel JPEG on screen, in the slide
// view and in the preview, against djpeg decoding the same file in full.
// "Whole" is the way of reading every pixel and letting the picture control
// shrink it while painting; "at size" is ReadPictureWithin. Run by hand:
//   build/bench/editor_picture_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>

#include "bench/bench_support.h"
#include "editor/shell/frm_main.h"
#include "editor/shell/picture_reader.h"
#include "editor/shell/qt_prompts.h"

namespace {

// A folder of this run's own: the other benchmarks may run meanwhile.
const std::filesystem::path& DataFolder() {
  static const QTemporaryDir folder(QDir::tempPath() + "/pivolane-editor-bench-XXXXXX");
  static const std::filesystem::path path = folder.path().toStdString();
  return path;
}

// A photograph-like 4000 x 3000 picture: smooth colour fields with grain.
QString WritePhoto() {
  std::mt19937 generator(12);
  QImage fields(200, 150, QImage::Format_RGB32);
  for (int y = 0; y < fields.height(); ++y) {
    for (int x = 0; x < fields.width(); ++x) fields.setPixel(x, y, generator() | 0xFF000000u);
  }
  QImage photo = fields.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  std::uniform_int_distribution<int> grain(-12, 12);
  for (int y = 0; y < photo.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) {
      const int g = grain(generator);
      const auto channel = [g](int c) { return std::clamp(c + g, 0, 255); };
      line[x] = qRgb(channel(qRed(line[x])), channel(qGreen(line[x])), channel(qBlue(line[x])));
    }
  }
  const QString path = QString::fromStdString((DataFolder() / "photo12mp.jpg").string());
  photo.save(path, "JPG", 92);
  return path;
}

// Median of runs, in milliseconds.
double MedianMs(const std::function<void()>& run, int runs = 9) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Shows the picture in a label of the frame's size and paints it once, as
// the view does; whole: decoded in full and shrunk by the label.
double ShowMs(const QString& path, QSize frame, bool whole) {
  QLabel label;
  label.setScaledContents(true);
  label.resize(frame);
  return MedianMs([&] {
    QPixmap pixmap;
    if (whole) {
      pixmap = QPixmap::fromImage(QImageReader(path).read());
    } else {
      pivolane::editor::ShownPicture picture;
      picture.Load(path, frame);
      pixmap = picture.pixmap();
    }
    label.setPixmap(pixmap);
    label.grab();  // paints, shrinking the pixels when they are larger
  });
}

// The editor's main window with twelve copies of the photograph: the median
// time of selecting the next slide, from the click to the painted view.
double ClickThroughMs(const QString& photo) {
  namespace editor = pivolane::editor;
  editor::QtPrompts prompts;
  editor::EditorSettings settings(QString::fromStdString((DataFolder() / "settings.ini").string()));
  std::filesystem::create_directories(DataFolder() / "work");
  editor::FrmMain window({prompts, settings, DataFolder() / "work", "English"});
  window.Load(QString());
  window.show();
  QApplication::processEvents();
  for (int i = 1; i <= 12; ++i) {
    const QString copy = photo + QString::number(i) + ".jpg";
    QFile::copy(photo, copy);
    window.slideList().AppendSlide(QFileInfo(copy).fileName(), copy);
  }
  int next = 0;
  return MedianMs(
      [&] {
        window.slideList().SelectSlide(window.slideList().Slide(next % 12 + 1));
        window.slides().OnItemClicked();
        window.repaint();
        ++next;
      },
      12);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QString photo = WritePhoto();
  const std::string command = "djpeg '" + photo.toStdString() + "' > /dev/null";
  const double djpeg = MedianMs([&] { pivolane::bench::TimeCommand(command); });
  std::printf("12 MP JPEG of %lld bytes; djpeg in full: %.1f ms (median of 9)\n",
              static_cast<long long>(QFileInfo(photo).size()), djpeg);

  const struct {
    const char* name;
    QSize frame;
  } views[] = {{"slide view 768 x 576", {768, 576}}, {"preview 1280 x 800", {1280, 800}}};
  for (const auto& view : views) {
    const double whole = ShowMs(photo, view.frame, true);
    const double atSize = ShowMs(photo, view.frame, false);
    std::printf("%-22s whole %6.1f ms (%.2f x djpeg)   at size %6.1f ms (%.2f x djpeg)\n",
                view.name, whole, whole / djpeg, atSize, atSize / djpeg);
  }
  const double click = ClickThroughMs(photo);
  std::printf("editor, next slide of 12 %-9s %6.1f ms (%.2f x djpeg)\n", "", click, click / djpeg);
  return 0;
}
