// The user's choice of default applications: mimeapps.list of the MIME
// Applications Associations rules.
#pragma once

#include <optional>
#include <string>

namespace pivolane::launcher::freedesktop {

// text with the line mimeType + "=" + desktopId added to the group
// "[Default Applications]" (which is added at the end when missing); nullopt
// when that group already names a default for mimeType. No other line changes.
std::optional<std::string> WithDefaultApplication(const std::string& text,
                                                  const std::string& mimeType,
                                                  const std::string& desktopId);

}  // namespace pivolane::launcher::freedesktop
