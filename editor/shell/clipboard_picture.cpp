#include "editor/shell/clipboard_picture.h"

#include <span>

#include <QBuffer>
#include <QImage>

#include "common/picture/jpeg_decoder.h"
#include "common/picture/picture_format.h"

namespace pivolane::editor {

namespace {

using picture::PictureFormat;

struct KeptFormat {
  PictureFormat format;
  const char* mimeType;
  const char* extension;
};

// The formats the player decodes that the clipboard names.
constexpr KeptFormat kKeptFormats[] = {{PictureFormat::kJpeg, "image/jpeg", ".jpg"},
                                       {PictureFormat::kPng, "image/png", ".png"},
                                       {PictureFormat::kGif, "image/gif", ".gif"},
                                       {PictureFormat::kBmp, "image/bmp", ".bmp"}};

std::span<const std::uint8_t> View(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size())};
}

// The bytes are a picture of that format that the player would decode and
// that no decoder could be made to spend without bounds on.
bool IsDecodable(const QByteArray& bytes, PictureFormat format) {
  if (picture::DetectPictureFormat(View(bytes)) != format) return false;
  const std::optional<picture::Dimensions> size = picture::DeclaredDimensions(View(bytes));
  return size && picture::WithinDecodeLimits(*size) &&
         picture::JpegWithinDecodeLimits(View(bytes)) && !QImage::fromData(bytes).isNull();
}

const KeptFormat* FormatOf(const QByteArray& bytes) {
  const PictureFormat format = picture::DetectPictureFormat(View(bytes));
  for (const KeptFormat& kept : kKeptFormats) {
    if (kept.format == format) return &kept;
  }
  return nullptr;
}

}  // namespace

std::optional<ClipboardPicture> PictureToPaste(const QMimeData& data) {
  for (const QString& offered : data.formats()) {
    for (const KeptFormat& kept : kKeptFormats) {
      if (offered != kept.mimeType) continue;
      QByteArray bytes = data.data(offered);
      if (IsDecodable(bytes, kept.format))
        return ClipboardPicture{std::move(bytes), kept.extension};
    }
  }
  if (!data.hasImage()) return std::nullopt;
  const QImage image = qvariant_cast<QImage>(data.imageData());
  QByteArray png;
  QBuffer buffer(&png);
  if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    return std::nullopt;
  }
  return ClipboardPicture{std::move(png), ".png"};
}

std::unique_ptr<QMimeData> ClipboardDataFor(const QByteArray& bytes, const QImage& upright) {
  auto data = std::make_unique<QMimeData>();
  // Its own bytes first: the clipboard's order tells which format is the picture's.
  if (const KeptFormat* kept = FormatOf(bytes)) data->setData(kept->mimeType, bytes);
  data->setImageData(upright);
  return data;
}

}  // namespace pivolane::editor
