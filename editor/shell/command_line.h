// The document named on the editor's command line.
#pragma once

#include <QString>
#include <QStringList>

namespace pivolane::editor {

// The arguments after the program name as one text, joined by spaces and
// otherwise exactly as passed.
QString CommandLineText(const QStringList& arguments);

struct CommandLineDocument {
  // Name of the file the text designates; empty when there is no such file.
  QString fileName;
  // The text without its last fileName.size() characters.
  QString folder;
};

// Throws a Failure (52, bad file name) for a text holding a double quote: a
// path passed in quotes is not taken for a document.
CommandLineDocument ResolveCommandLineDocument(const QString& text);

}  // namespace pivolane::editor
