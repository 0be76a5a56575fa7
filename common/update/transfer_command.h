// The command texts of the update client's transfer component: "DIR " +
// pattern, "SIZE " + path, "GET " + server path + " " + local path and
// "PUT " + local path + " " + server path. Server paths are relative to the
// component's URL and hold no space; local paths may.
#pragma once

#include <string>
#include <string_view>

namespace pivolane::update {

struct TransferCommand {
  enum class Kind { kDir, kSize, kGet, kPut };
  Kind kind = Kind::kDir;
  std::string serverPath;  // DIR: the folder, ending with "/" unless empty
  std::string pattern;     // DIR: the names to list, "*.*" when none is given
  std::string localPath;   // GET, PUT
};

// Throws a Failure for an unknown or incomplete command.
TransferCommand ParseTransferCommand(std::string_view text);

// path with every byte but letters, digits, "-._~" and "/" percent-encoded,
// for a URL.
std::string EscapeUrlPath(std::string_view path);

}  // namespace pivolane::update
