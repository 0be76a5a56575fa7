#include "launcher/launcher_messages.h"

#include "common/version.h"

namespace pivolane::launcher {

std::string ErrorLine(int number, const std::string& description) {
  return "ERROR " + std::to_string(number) + ": " + description;
}

std::string InstallFailureTitle() {
  return std::string(kApplicationTitle) + " : MainQXM Install Update";
}

std::string InstallFailureText(int number, const std::string& description) {
  // Minor and revision stand side by side: version 1.0.0 reads "1.00".
  return ErrorLine(number, description) + "\n" + "INSTALLATION DE LA MISE A JOUR " + "VERSION " +
         std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
         std::to_string(kVersionRevision) + " IMPOSSIBLE !" + "\n" +
         "Retour à la version précédente";
}

std::string EditorStartFailureText(int number, const std::string& description,
                                   const std::filesystem::path& editor) {
  return ErrorLine(number, description) + "\n" + editor.string();
}

}  // namespace pivolane::launcher
