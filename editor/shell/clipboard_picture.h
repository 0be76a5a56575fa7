// Pictures between the slide list and the clipboard. A picture keeps its own
// bytes where it can: a paste takes them as they are when the clipboard offers
// a format the player decodes, and a copy offers a slide's picture in its own
// format beside the decoded image that other programs may convert.
#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QImage>
#include <QMimeData>
#include <QString>

namespace pivolane::editor {

struct ClipboardPicture {
  QByteArray bytes;
  QString extension;  // of the format: ".jpg", ".png", ".gif" or ".bmp"
};

// What a paste takes from data: of the JPEG, PNG, GIF and BMP data offered,
// the first in the clipboard's own order whose bytes are such a picture
// within the player's decoding limits; otherwise the clipboard's image as a
// PNG, which keeps its transparency; nullopt when there is no picture.
std::optional<ClipboardPicture> PictureToPaste(const QMimeData& data);

// What a copy puts on the clipboard for a picture file's bytes, decoded as
// upright: the bytes themselves for programs that take the format, the
// upright picture for the others.
std::unique_ptr<QMimeData> ClipboardDataFor(const QByteArray& bytes, const QImage& upright);

}  // namespace pivolane::editor
