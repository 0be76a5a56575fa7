#include "player/player_texts.h"

namespace pivolane::player {

const PlayerTexts& TextsFor(std::uint8_t language) {
  static constexpr PlayerTexts kFrench = {"Mauvais mot de passe !", "&Mot de passe", "&Annuler",
                                          "ERREUR: Image incorrecte !",
                                          "Vérification du mot de passe..."};
  static constexpr PlayerTexts kEnglish = {"Wrong password !", "&Password", "&Cancel",
                                           "ERROR: Invalid picture !", "Checking the password..."};
  return language == 0 ? kFrench : kEnglish;
}

}  // namespace pivolane::player
