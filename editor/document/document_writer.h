// WriteDocument: a show written to a document file, with its failure boxes.
#pragma once

#include <filesystem>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Writes the document at path, enciphered when options say so. First the
// slides are checked (working files present, the format's limits), a failure
// shown under " (Proc 103)"; then the document is written, a failure shown
// under " (Proc 100)". Either may be retried. The new document is complete
// before it replaces a former one, so a failed save leaves that one intact.
// Returns whether the document was written.
bool WriteDocument(const std::filesystem::path& path,
                   const std::vector<format::SlideSource>& slides,
                   const format::ShowOptions& options, const cipher::CryptageXor& cipher,
                   Prompts& prompts, const Strings& strings);

}  // namespace pivolane::editor
