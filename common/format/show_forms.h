// The two forms a show is built in, a self-running program or a web page,
// and the file names that choose between them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"

namespace pivolane::format {

enum class ShowForm { kProgram, kWebPage };

// A web page for a name ending in ".html" or ".htm" in any letter case, a
// program for any other.
ShowForm FormOfName(std::string_view name);

struct NamedShow {
  ShowForm form;
  std::string name;
};

// The form and file name of a show named in a dialog where chosen was
// picked: a name that ends as one form's names do (".exe", ".html", ".htm",
// any letter case) keeps its name and is built in that form; any other is
// built as chosen, with ".exe" or ".html" appended ("a.ex" -> "a.ex.html").
NamedShow NameForChosenForm(const std::string& name, ShowForm chosen);

// What a program carries to build shows: the player's bytes and the web
// page's template.
struct CarriedParts {
  std::span<const std::uint8_t> player;
  std::span<const std::uint8_t> webPage;
};

// Builds the show at target in form: BuildSelfRunningShowFile or
// BuildWebShowFile, with their guarantees.
void BuildShowFile(const fs::path& target, ShowForm form, const std::vector<SlideSource>& slides,
                   const ShowOptions& options, const cipher::CryptageXor& cipherState,
                   const CarriedParts& carried);

}  // namespace pivolane::format
