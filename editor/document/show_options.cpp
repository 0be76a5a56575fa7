#include "editor/document/show_options.h"

namespace pivolane::editor {

format::ShowOptions CurrentShowOptions(const MainMenu& menu, const DelayControl& delay,
                                       const Strings& strings) {
  format::ShowOptions options;
  options.delaySeconds = delay.value();
  options.loop = menu.mnuEnBoucle->isChecked();
  options.random = menu.mnuAleatoire->isChecked();
  options.titles = menu.mnuAfficherTitre->isChecked();
  options.usePassword = menu.mnuMotDePasse->isChecked();
  options.language = static_cast<std::uint8_t>(strings.langOffset() / 1000);
  return options;
}

void ApplyShowOptions(const format::ShowOptions& options, MainMenu& menu, DelayControl& delay) {
  delay.SetValue(options.delaySeconds);
  menu.mnuEnBoucle->setChecked(options.loop);
  menu.mnuAleatoire->setChecked(options.random);
  menu.mnuAfficherTitre->setChecked(options.titles);
  menu.mnuMotDePasse->setChecked(options.usePassword);
}

}  // namespace pivolane::editor
