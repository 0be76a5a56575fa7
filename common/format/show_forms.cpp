#include "common/format/show_forms.h"

#include <algorithm>
#include <cctype>

#include "common/format/self_running.h"
#include "common/format/web_show.h"

namespace pivolane::format {

namespace {

bool EndsWithInAnyCase(std::string_view name, std::string_view ending) {
  return name.size() >= ending.size() &&
         std::equal(ending.begin(), ending.end(), name.end() - ending.size(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

ShowForm FormOfName(std::string_view name) {
  return EndsWithInAnyCase(name, ".html") || EndsWithInAnyCase(name, ".htm") ? ShowForm::kWebPage
                                                                             : ShowForm::kProgram;
}

NamedShow NameForChosenForm(const std::string& name, ShowForm chosen) {
  if (FormOfName(name) == ShowForm::kWebPage) return {ShowForm::kWebPage, name};
  if (EndsWithInAnyCase(name, ".exe")) return {ShowForm::kProgram, name};
  if (chosen == ShowForm::kWebPage) return {ShowForm::kWebPage, name + ".html"};
  return {ShowForm::kProgram, WithExeExtension(name)};
}

void BuildShowFile(const fs::path& target, ShowForm form, const std::vector<SlideSource>& slides,
                   const ShowOptions& options, const cipher::CryptageXor& cipherState,
                   const CarriedParts& carried) {
  if (form == ShowForm::kWebPage) {
    BuildWebShowFile(target, slides, options, cipherState, carried.player, carried.webPage);
  } else {
    BuildSelfRunningShowFile(target, slides, options, cipherState, carried.player);
  }
}

}  // namespace pivolane::format
