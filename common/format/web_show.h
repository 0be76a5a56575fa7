// Building a web show: the web player's page with a document of the show
// embedded as base64 (web_show_layout.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"

namespace pivolane::format {

// Builds the web show at target from the page template (SplitPageTemplate
// checks it first): the template's head, the base64 text of the document
// bytes (payload, then trailer, with PlayerSize the length of playerBytes,
// the player that a self-running show would carry), then the template's
// tail. The document is encoded as it is written, never held whole in
// memory. As a document, it is assembled completely and only then replaces
// target (workspace::WriteFileReplacing): a failure leaves any existing
// target untouched and no scratch file behind; a new page gets 0666 less
// the umask, a replaced one the permissions of the file it replaces.
void BuildWebShowFile(const fs::path& target, const std::vector<SlideSource>& slides,
                      const ShowOptions& options, const cipher::CryptageXor& cipherState,
                      std::span<const std::uint8_t> playerBytes,
                      std::span<const std::uint8_t> pageTemplate);

}  // namespace pivolane::format
