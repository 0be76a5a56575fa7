#include "launcher/freedesktop/association_files.h"

#include "launcher/freedesktop/association_icons.h"
#include "launcher/freedesktop/association_names.h"
#include "launcher/freedesktop/desktop_entry.h"

namespace pivolane::launcher::freedesktop {

namespace {

// The default comment is the type's own name, "Document Pivolane"; English
// desktops show its translation.
std::string MimePackageText() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kMimeType +
         "\">\n"
         "    <comment>Document Pivolane</comment>\n"
         "    <comment xml:lang=\"en\">Pivolane document</comment>\n"
         "    <icon name=\"" +
         kDocumentIconName +
         "\"/>\n"
         "    <glob pattern=\"*.pvl\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::filesystem::path ScalableIcon(const char* context, const char* name) {
  return std::filesystem::path("icons/hicolor/scalable") / context / (std::string(name) + ".svg");
}

}  // namespace

std::filesystem::path MimePackagePath(const std::filesystem::path& dataFolder) {
  return dataFolder / "mime" / "packages" / kMimePackageName;
}

std::filesystem::path CompiledTypePath(const std::filesystem::path& dataFolder) {
  return dataFolder / "mime" / (std::string(kMimeType) + ".xml");
}

std::filesystem::path DesktopEntryPath(const std::filesystem::path& dataFolder) {
  return dataFolder / "applications" / kDesktopEntryName;
}

std::vector<AssociationFile> AssociationFiles(const std::filesystem::path& launcher) {
  return {
      {ScalableIcon("apps", kProgramIconName), std::string(ProgramIconSvg())},
      {ScalableIcon("mimetypes", kDocumentIconName), std::string(DocumentIconSvg())},
      {DesktopEntryPath({}), DesktopEntryText(launcher)},
      {MimePackagePath({}), MimePackageText()},
  };
}

}  // namespace pivolane::launcher::freedesktop
