#include "editor/shell/picture_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <span>

#include "common/picture/jpeg_decoder.h"
#include "common/picture/orientation.h"
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

std::span<const std::uint8_t> BytesOf(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size())};
}

QSize AsShown(QSize stored, picture::Orientation orientation) {
  return picture::SwapsSides(orientation) ? stored.transposed() : stored;
}

// The picture turned as its EXIF orientation asks. The core reads the tag,
// and the toolkit's own reading of it stays off, so that the editor, the
// preview and the player turn every picture alike.
QImage TurnedUpright(const QImage& stored, picture::Orientation orientation) {
  using picture::Orientation;
  const auto quarterTurn = [&stored](qreal degrees) {
    return stored.transformed(QTransform().rotate(degrees));
  };
  switch (orientation) {
    case Orientation::kUpright:
      return stored;
    case Orientation::kMirrored:
      return stored.mirrored(true, false);
    case Orientation::kTurned180:
      return stored.mirrored(true, true);
    case Orientation::kFlipped:
      return stored.mirrored(false, true);
    case Orientation::kTransposed:
      return quarterTurn(90).mirrored(true, false);
    case Orientation::kTurnedRight:
      return quarterTurn(90);
    case Orientation::kTransverse:
      return quarterTurn(90).mirrored(false, true);
    case Orientation::kTurnedLeft:
      return quarterTurn(270);
  }
  return stored;
}

}  // namespace

std::optional<QByteArray> ReadDecodablePicture(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (!picture::JpegWithinDecodeLimits(BytesOf(bytes))) return std::nullopt;
  return bytes;
}

ReadPicture ReadPictureWithin(const QString& path, QSize frame) {
  std::optional<QByteArray> bytes = ReadDecodablePicture(path);
  if (!bytes) return {};
  const picture::Orientation orientation = picture::JpegOrientation(BytesOf(*bytes));
  QBuffer device(&*bytes);
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  // The size in the header, known before any pixel is decoded, as shown.
  const QSize header = AsShown(reader.size(), orientation);
  const QSize reduced = ReducedSize(header, frame);
  if (reduced.isValid()) reader.setScaledSize(AsShown(reduced, orientation));

  ReadPicture result;
  result.image = TurnedUpright(reader.read(), orientation);
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
