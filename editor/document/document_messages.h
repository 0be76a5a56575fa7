// The message boxes of the document commands.
#pragma once

#include <string>

#include <QString>

#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Message 114: save the current show before a new one? Yes, No, Cancel.
PromptMessage SaveChangesQuestion(const Strings& strings);

// How a question shows a file's name: a document or an extracted picture in
// double quotes, a self-running show bare.
enum class NameQuotes { kQuoted, kBare };

// Messages 103, 104 and 107: the file exists; delete it and go on? OK, Cancel.
PromptMessage OverwriteQuestion(const Strings& strings, const QString& fileName, NameQuotes quotes);

// A failed step of a save: message 101 and the error, Retry and Cancel, under
// a procedure tag: " (Proc 100)" writing the document, " (Proc 103)" the rest.
PromptMessage SaveFailure(const Strings& strings, const char* procTag, int number,
                          const std::string& description);

// Message 108, critical.
PromptMessage WrongPasswordMessage(const Strings& strings);

// Message 109, the application title and its version: what the editor cannot
// decipher. The description of error 102.
QString UnsupportedCipherText(const Strings& strings);

// A show enciphered by an unknown scheme: the file, message 109 with the
// version, and message 135, under the procedure tag of the command that read
// it: " (Proc 102)" opening a document, " (Proc 106)" extracting pictures.
PromptMessage UnsupportedCipherMessage(const Strings& strings, const char* procTag,
                                       const QString& path);

// Messages 132 and 133 with the path, then the error: reading the show failed.
// The procedure tag as for UnsupportedCipherMessage.
PromptMessage OpenFailure(const Strings& strings, const char* procTag, const QString& path,
                          int number, const std::string& description);

}  // namespace pivolane::editor
