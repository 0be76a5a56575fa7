#include "player/player_texts.h"

namespace pivolane::player {

const PlayerTexts& TextsFor(std::uint8_t language) {
  static constexpr PlayerTexts kFrench = {"Mauvais mot de passe !", "&Mot de passe", "&Annuler",
                                          "ERREUR: Image incorrecte !"};
  static constexpr PlayerTexts kEnglish = {"Wrong password !", "&Password", "&Cancel",
                                           "ERROR: Invalid picture !"};
  return language == 0 ? kFrench : kEnglish;
}

}  // namespace pivolane::player
