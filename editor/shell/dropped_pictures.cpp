#include "editor/shell/dropped_pictures.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

namespace pivolane::editor {

namespace {

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// The run of digits at from, without its leading zeros; from moves past it.
QStringView DigitRun(const QString& name, qsizetype& from) {
  while (from < name.size() && name[from] == u'0' && from + 1 < name.size() &&
         IsDigit(name[from + 1])) {
    ++from;
  }
  const qsizetype start = from;
  while (from < name.size() && IsDigit(name[from])) ++from;
  return QStringView(name).mid(start, from - start);
}

}  // namespace

bool NameOrderLess(const QString& a, const QString& b) {
  qsizetype i = 0;
  qsizetype j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const QStringView x = DigitRun(a, i);
      const QStringView y = DigitRun(b, j);
      if (x.size() != y.size()) return x.size() < y.size();
      if (const int order = x.compare(y); order != 0) return order < 0;
      continue;
    }
    const QChar x = a[i++].toCaseFolded();
    const QChar y = b[j++].toCaseFolded();
    if (x != y) return x < y;
  }
  if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
  // Names equal but for case or leading zeros still have one order.
  return a < b;
}

QStringList PictureFilesOf(const QStringList& paths, const QStringList& patterns) {
  QStringList files;
  for (const QString& path : paths) {
    if (!QFileInfo(path).isDir()) {
      files << path;
      continue;
    }
    // Regular files only (no hidden ones), matched without regard to case.
    QStringList names = QDir(path).entryList(patterns, QDir::Files);
    std::sort(names.begin(), names.end(), NameOrderLess);
    for (const QString& name : names) files << QDir(path).filePath(name);
  }
  return files;
}

}  // namespace pivolane::editor
