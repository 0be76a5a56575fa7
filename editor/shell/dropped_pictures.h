// The picture files that dropped paths stand for.
#pragma once

#include <QString>
#include <QStringList>

namespace pivolane::editor {

// Each dropped file as it is; for each dropped folder, its files whose names
// match patterns ("*.jpg", ..., in any case) in name order. Hidden files and
// sub-folders are left out: a folder of photographs often holds folders of
// thumbnails or edits that the user did not mean to add.
QStringList PictureFilesOf(const QStringList& paths, const QStringList& patterns);

// The order of names in a file manager: runs of digits by their value (so
// "photo2" comes before "photo10"), the rest without regard to case.
bool NameOrderLess(const QString& a, const QString& b);

}  // namespace pivolane::editor
