#include "editor/shell/picture_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <span>

#include "common/picture/jpeg_decoder.h"
#include "common/playback/fit_geometry.h"

namespace pivolane::editor {

namespace {

// The size a picture of natural size is shown at when fitted into frame;
// invalid when it keeps its own size.
QSize ReducedSize(QSize natural, QSize frame) {
  if (!natural.isValid() || frame.isEmpty()) return {};
  const playback::Placement place =
      playback::FitAndCentre({natural.width(), natural.height()}, {frame.width(), frame.height()});
  return place.stretched ? QSize(place.width, place.height) : QSize();
}

}  // namespace

std::optional<QByteArray> ReadDecodablePicture(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  if (!picture::JpegWithinDecodeLimits(view)) return std::nullopt;
  return bytes;
}

ReadPicture ReadPictureWithin(const QString& path, QSize frame) {
  std::optional<QByteArray> bytes = ReadDecodablePicture(path);
  if (!bytes) return {};
  QBuffer device(&*bytes);
  QImageReader reader(&device);
  // The size in the header, known before any pixel is decoded.
  const QSize header = reader.size();
  const QSize reduced = ReducedSize(header, frame);
  if (reduced.isValid()) reader.setScaledSize(reduced);

  ReadPicture result;
  result.image = reader.read();
  if (result.image.isNull()) return result;
  result.naturalSize = header.isValid() ? header : result.image.size();
  // A format whose header tells no size, or a decoder that ignored the size
  // asked for, is reduced here, smoothly.
  const QSize shown = header.isValid() ? reduced : ReducedSize(result.naturalSize, frame);
  if (shown.isValid() && result.image.size() != shown) {
    result.image = result.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return result;
}

bool ShownPicture::Load(const QString& path, QSize frame) {
  ReadPicture picture = ReadPictureWithin(path, frame);
  if (picture.image.isNull()) {
    Clear();
    return false;
  }
  path_ = path;
  naturalSize_ = picture.naturalSize;
  pixmap_ = QPixmap::fromImage(std::move(picture.image));
  return true;
}

void ShownPicture::Clear() {
  path_.clear();
  naturalSize_ = QSize();
  pixmap_ = QPixmap();
}

bool ShownPicture::DecodeFor(QSize shown) {
  const int width = pixmap_.width();
  if (IsNull() || width >= shown.width() || width >= naturalSize_.width()) return false;
  // The file may have gone meanwhile: the smaller pixels stay.
  QImage larger = ReadPictureWithin(path_, shown).image;
  if (larger.isNull()) return false;
  pixmap_ = QPixmap::fromImage(std::move(larger));
  return true;
}

}  // namespace pivolane::editor
