// What an update run needs to know of the installation and its settings.
#pragma once

#include <filesystem>
#include <functional>

#include <QString>

namespace pivolane::editor {

struct UpdateSetup {
  // The server: an FTP URL with the account, ending with "/".
  QString serverUrl;
  // The base64 line of the publisher's minisign public key; may be empty.
  QString publicKey;
  // The first line of the run's log.
  QString installationId;
  // Where the launcher "Pivolane" lives, beside the editor.
  std::filesystem::path programFolder;
  // Where downloads wait for the launcher; made and checked when a run needs
  // it (a Failure then ends the run).
  std::function<std::filesystem::path()> updateFolder;
  // The editor's work folder, for the log file while it is uploaded.
  std::filesystem::path workFolder;
};

}  // namespace pivolane::editor
