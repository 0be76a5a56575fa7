#include "common/cipher/password.h"

#include "common/errors.h"
#include "common/text/cp1252.h"

namespace pivolane::cipher {

std::string EncodeNewPassword(std::string_view utf8) {
  if (utf8.empty()) throw Failure(error_number::kInvalidArgument, "The password is empty");
  std::optional<std::string> bytes = text::ToCp1252(utf8);
  if (!bytes) {
    throw Failure(error_number::kInvalidArgument,
                  "The password holds a character that cannot be stored in a show; "
                  "use Latin letters, digits and punctuation");
  }
  if (bytes->size() > kMaxPasswordLength) {
    throw Failure(error_number::kInvalidArgument, "The password is longer than 128 characters");
  }
  return std::move(*bytes);
}

std::optional<std::string> EncodeTypedPassword(std::string_view utf8) {
  std::optional<std::string> bytes = text::ToCp1252(utf8);
  if (!bytes || bytes->empty() || bytes->size() > kMaxPasswordLength) return std::nullopt;
  return bytes;
}

}  // namespace pivolane::cipher
