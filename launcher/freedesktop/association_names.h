// The names under which the document type is known to the desktop.
#pragma once

namespace pivolane::launcher::freedesktop {

// The media type of slide-show documents (".pvl").
inline constexpr const char* kMimeType = "application/x-pivolane";
// The shared-mime-info package that declares it, in mime/packages/.
inline constexpr const char* kMimePackageName = "pivolane.xml";
// The desktop entry in applications/; its name is also its desktop id.
inline constexpr const char* kDesktopEntryName = "pivolane.desktop";
// The icons in the hicolor theme: the program's, and the document type's (the
// media type with "-" for "/", as the icon naming rules derive it).
inline constexpr const char* kProgramIconName = "pivolane";
inline constexpr const char* kDocumentIconName = "application-x-pivolane";

}  // namespace pivolane::launcher::freedesktop
