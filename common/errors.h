// Failures of the core: each carries the classic runtime error number that the
// programs show in their error boxes, and a description.
#pragma once

#include <stdexcept>
#include <string>

namespace pivolane {

namespace error_number {
inline constexpr int kInvalidArgument = 5;  // "Invalid procedure call or argument"
inline constexpr int kOverflow = 6;         // a show too large for the file format
inline constexpr int kOutOfMemory = 7;
inline constexpr int kTypeMismatch = 13;  // a text that is not the number expected
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyOpen = 55;  // a file would replace the one being read
inline constexpr int kDiskFull = 61;
inline constexpr int kPastEndOfFile = 62;     // damaged file: data outside its bounds
inline constexpr int kPermissionDenied = 70;  // also "file busy"
inline constexpr int kPathFileAccess = 75;    // any other access error
inline constexpr int kPathNotFound = 76;
inline constexpr int kUnsupportedCipher = 102;  // show enciphered by a newer scheme
inline constexpr int kInvalidFile = 136;        // not a slide-show file
}  // namespace error_number

class Failure : public std::runtime_error {
 public:
  Failure(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  // A system error met on a file: the file, for whoever tells the user.
  Failure(int number, std::string description, std::string path)
      : Failure(number, std::move(description)) {
    path_ = std::move(path);
  }

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  // The file the failure concerns; empty when it concerns none.
  const std::string& path() const { return path_; }

 private:
  int number_;
  std::string description_;
  std::string path_;
};

// The two format errors, with the English texts the core reports; the editor
// shows its own localised texts for these numbers.
[[noreturn]] void ThrowInvalidFile();
[[noreturn]] void ThrowDamagedFile(const std::string& why);

}  // namespace pivolane
