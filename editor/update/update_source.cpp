#include "editor/update/update_source.h"

#include "editor/shell/settings.h"

namespace pivolane::editor {

namespace {

constexpr int kNoServerMessage = 579;
constexpr int kNoKeyMessage = 580;

}  // namespace

std::vector<int> MissingUpdateSource(const QString& serverUrl, const QString& publicKey) {
  std::vector<int> missing;
  const QString server = serverUrl.trimmed();
  if (server.isEmpty() || server == SettingNames::kUpdateServerDefault) {
    missing.push_back(kNoServerMessage);
  }
  if (publicKey.trimmed().isEmpty()) missing.push_back(kNoKeyMessage);
  return missing;
}

}  // namespace pivolane::editor
