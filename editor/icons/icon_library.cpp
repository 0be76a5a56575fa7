#include "editor/icons/icon_library.h"

#include <initializer_list>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace pivolane::editor {

namespace {

struct IconResource {
  const char* file;  // in the resource folder ":/icons/"
  const char* key;
};

constexpr IconResource kIcons[] = {
    {"nouveau", "Nouveau"},         {"ouvrir", "Ouvrir"},
    {"enregistrer", "Enregistrer"}, {"couper", "Couper"},
    {"copier", "Copier"},           {"coller", "Coller"},
    {"creerexe", "CreerExe"},       {"supprimer", "Supprimer"},
    {"visionner", "Visionner"},     {"diapo", "Diapo"},
    {"diaposelect", "Diaposelect"}, {"k2ouv", "K2ouv"},
    {"k2ferme", "K2ferme"},         {"aleatoire", "Aleatoire"},
    {"enboucle", "Enboucle"},       {"affichertitre", "Affichertitre"},
    {"recentrer", "Voirvignettes"}, {"flechehaut", "Flechehaut"},
    {"flechebas", "Flechebas"},
};

QPixmap Render(QSvgRenderer& renderer, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  return QPixmap::fromImage(image);
}

// The drawing at every size the toolkit may ask for, each rendered sharp.
void AddRenderings(QIcon& icon, const QString& file, std::initializer_list<int> sizes,
                   QIcon::Mode mode = QIcon::Normal) {
  QSvgRenderer renderer(":/icons/" + file + ".svg");
  for (int size : sizes) icon.addPixmap(Render(renderer, size), mode);
}

constexpr std::initializer_list<int> kButtonSizes = {16, 24, 32, 48};

}  // namespace

IconLibrary::IconLibrary() {
  for (const IconResource& resource : kIcons) {
    AddRenderings(icons_[resource.key], resource.file, kButtonSizes);
  }
  programIcon_ = LoadProgramIcon();
}

QIcon LoadProgramIcon() {
  QIcon icon;
  AddRenderings(icon, "defilement", {16, 24, 32, 48, 64, 128, 256});
  return icon;
}

QIcon IconLibrary::Icon(const QString& key) const {
  const auto found = icons_.find(key);
  return found == icons_.end() ? QIcon() : found->second;
}

QIcon IconLibrary::SlideIcon() const {
  QIcon icon;
  AddRenderings(icon, "diapo", kButtonSizes, QIcon::Normal);
  AddRenderings(icon, "diaposelect", kButtonSizes, QIcon::Selected);
  return icon;
}

}  // namespace pivolane::editor
