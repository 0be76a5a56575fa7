#include "common/update/transfer_command.h"

#include "common/errors.h"

namespace pivolane::update {

namespace {

[[noreturn]] void Refuse(std::string_view text) {
  throw Failure(error_number::kInvalidArgument,
                "Invalid transfer command: " + std::string(text.substr(0, 200)));
}

}  // namespace

TransferCommand ParseTransferCommand(std::string_view text) {
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) Refuse(text);
  const std::string_view verb = text.substr(0, space);
  const std::string_view rest = text.substr(space + 1);
  TransferCommand command;
  if (verb == "DIR") {
    const std::size_t slash = rest.rfind('/');
    const std::size_t split = slash == std::string_view::npos ? 0 : slash + 1;
    command.serverPath = std::string(rest.substr(0, split));
    command.pattern = std::string(rest.substr(split));
    if (command.pattern.empty()) command.pattern = "*.*";
  } else if (verb == "SIZE") {
    command.kind = TransferCommand::Kind::kSize;
    command.serverPath = std::string(rest);
  } else if (verb == "GET") {
    const std::size_t split = rest.find(' ');
    if (split == std::string_view::npos) Refuse(text);
    command.kind = TransferCommand::Kind::kGet;
    command.serverPath = std::string(rest.substr(0, split));
    command.localPath = std::string(rest.substr(split + 1));
  } else if (verb == "PUT") {
    const std::size_t split = rest.rfind(' ');
    if (split == std::string_view::npos) Refuse(text);
    command.kind = TransferCommand::Kind::kPut;
    command.localPath = std::string(rest.substr(0, split));
    command.serverPath = std::string(rest.substr(split + 1));
  } else {
    Refuse(text);
  }
  const bool needsFile = command.kind != TransferCommand::Kind::kDir;
  if ((needsFile && (command.serverPath.empty() || command.serverPath.ends_with('/'))) ||
      ((command.kind == TransferCommand::Kind::kGet ||
        command.kind == TransferCommand::Kind::kPut) &&
       command.localPath.empty())) {
    Refuse(text);
  }
  return command;
}

std::string EscapeUrlPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~' || c == '/';
    if (unreserved) {
      escaped.push_back(c);
    } else {
      escaped.push_back('%');
      escaped.push_back(kHex[byte >> 4]);
      escaped.push_back(kHex[byte & 15]);
    }
  }
  return escaped;
}

}  // namespace pivolane::update
