// The editor's reading of a document: ReadDocument with its password dialog
// and its messages.
#pragma once

#include <filesystem>
#include <optional>

#include <QString>

#include "common/format/document.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Reads the document at path into new working files of workFolder, asking
// for its password with frmLitMPasse when it has one. A wrong password shows
// message 108; a show enciphered by an unknown scheme shows message 135 and
// then the open failure; any other failure shows the open failure. Each of
// these gives nullopt, with no working file of this read left behind.
std::optional<format::DocumentReadResult> ReadShowDocument(const QString& path,
                                                           const std::filesystem::path& workFolder,
                                                           int& slideCounter, Prompts& prompts,
                                                           const Strings& strings);

}  // namespace pivolane::editor
