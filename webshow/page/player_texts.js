// The player's texts, in French and English, chosen by the language byte of
// the show's header. "&" marks a label's shortcut letter.
export const kApplicationTitle = "Pivolane";
// Shown before the header is known, so in English only.
export const kInvalidFileText = "Invalid file !";

const kFrench = {
  wrongPassword: "Mauvais mot de passe !",
  passwordLabel: "&Mot de passe",
  okButton: "&OK",
  cancelButton: "&Annuler",
  badPicture: "ERREUR: Image incorrecte !",
  checkingPassword: "Vérification du mot de passe...",
  watchAgain: "Revoir le diaporama",
  languageTag: "fr",
};
const kEnglish = {
  wrongPassword: "Wrong password !",
  passwordLabel: "&Password",
  okButton: "&OK",
  cancelButton: "&Cancel",
  badPicture: "ERROR: Invalid picture !",
  checkingPassword: "Checking the password...",
  watchAgain: "Watch the show again",
  languageTag: "en",
};

// 0 gives the French texts; 1, and any value no editor writes, the English ones.
export function textsFor(language) {
  return language === 0 ? kFrench : kEnglish;
}
