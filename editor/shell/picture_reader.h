// Reading a slide picture for a view that shows it within a frame: turned
// upright as a photograph's EXIF data asks, decoded no larger than it will be
// shown (a large JPEG is reduced inside its decoder), while its natural size
// as shown stays known for the status bar and for fitting.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>

namespace pivolane::editor {

// The bytes of the picture file at path, for the toolkit to decode; nullopt
// when the file cannot be read or is a JPEG beyond the limits of the player's
// decoder, whose memory and time the toolkit does not bound.
std::optional<QByteArray> ReadDecodablePicture(const QString& path);

struct ReadPicture {
  QImage image;       // upright; null when the file is no readable picture
  QSize naturalSize;  // the picture's own size, turned; invalid when unreadable
};

// Reads the picture at path, upright. When it is larger than frame (in device
// pixels), it is decoded at the size that fitting it into frame gives, never
// enlarged; an empty frame reads it at its natural size.
ReadPicture ReadPictureWithin(const QString& path, QSize frame);

// The picture a view shows: its file, its natural size and its pixels as
// decoded for the frame.
class ShownPicture {
 public:
  // Reads path for frame (device pixels); false, and nothing held, when it is
  // no readable picture.
  bool Load(const QString& path, QSize frame);
  void Clear();

  bool IsNull() const { return pixmap_.isNull(); }
  QSize naturalSize() const { return naturalSize_; }
  const QPixmap& pixmap() const { return pixmap_; }

  // Makes the pixels fit for showing the picture at shown (device pixels):
  // pixels decoded for a smaller frame are decoded again rather than
  // enlarged. True when the pixels changed.
  bool DecodeFor(QSize shown);

 private:
  QString path_;
  QSize naturalSize_;
  QPixmap pixmap_;
};

}  // namespace pivolane::editor
