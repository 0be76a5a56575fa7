#include "editor/shell/file_filter.h"

#include <QStringList>

namespace pivolane::editor {

std::vector<FileFilter> ParseDialogFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  std::vector<FileFilter> filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters.push_back({parts[i], parts[i + 1].split(';', Qt::SkipEmptyParts)});
  }
  return filters;
}

QString AnyCasePattern(const QString& pattern) {
  QString anyCase;
  for (const QChar c : pattern) {
    const QChar lower = c.toLower();
    const QChar upper = c.toUpper();
    anyCase += lower == upper ? QString(c) : QString('[') + lower + upper + ']';
  }
  return anyCase;
}

}  // namespace pivolane::editor
