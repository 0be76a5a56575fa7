#include "editor/document/show_options.h"

#include "common/format/payload_layout.h"

namespace pivolane::editor {

std::int16_t ChosenCipherVersion(const MainMenu& menu) {
  return menu.mnuChiffrementFort->isChecked() ? format::kSealedCipherVersion
                                              : format::kXorCipherVersion;
}

format::ShowOptions CurrentShowOptions(const MainMenu& menu, const DelayControl& delay,
                                       const Strings& strings, const DocumentState& document) {
  format::ShowOptions options;
  options.delaySeconds = delay.value();
  options.loop = menu.mnuEnBoucle->isChecked();
  options.random = menu.mnuAleatoire->isChecked();
  options.titles = menu.mnuAfficherTitre->isChecked();
  options.usePassword = menu.mnuMotDePasse->isChecked();
  options.cipherVersion = ChosenCipherVersion(menu);
  options.kdfLimits = document.kdfLimits;
  options.language = static_cast<std::uint8_t>(strings.langOffset() / 1000);
  return options;
}

format::ShowOptions NewShowOptions(const EditorSettings& settings) {
  format::ShowOptions options;
  options.cipherVersion = static_cast<std::int16_t>(settings.CipherVersion());
  return options;
}

void ApplyShowOptions(const format::ShowOptions& options, MainMenu& menu, DelayControl& delay) {
  delay.SetValue(options.delaySeconds);
  menu.mnuEnBoucle->setChecked(options.loop);
  menu.mnuAleatoire->setChecked(options.random);
  menu.mnuAfficherTitre->setChecked(options.titles);
  menu.mnuMotDePasse->setChecked(options.usePassword);
  menu.mnuChiffrementFort->setChecked(options.cipherVersion == format::kSealedCipherVersion);
}

}  // namespace pivolane::editor
