// The password-keyed XOR cipher of slide shows and the password check value.
// Passwords here are code page 1252 bytes (see text/cp1252.h and password.h).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/cipher/master_key.h"

namespace pivolane::cipher {

inline constexpr std::size_t kCheckValueLength = 128;

using KeyStream = std::array<std::uint8_t, kKeyLength>;
using CheckValue = std::array<std::uint8_t, kCheckValueLength>;

// keyStream[i] = masterKey[i] ^ password[(i mod L) + 1], positions 1-based:
// the password is used from its second character on, cycled.
KeyStream BuildKeyStream(std::string_view password);

// Combines data with the key stream in place. position is the 0-based place of
// data[0] in the enciphered file, so that a file processed in chunks gives
// exactly what one pass over the whole file gives. File byte p (1-based) uses
// key position ((start + p - 2) mod 2562) + 1: after 2562 the stream goes on
// at 1, not at start.
void ApplyKeyStream(const KeyStream& keyStream, std::uint8_t start, std::span<std::uint8_t> data,
                    std::uint64_t position = 0);

// The password padded with spaces to 128 characters, enciphered from start.
// The password must hold 1..128 characters.
CheckValue PasswordCheckValue(std::string_view password, std::uint8_t start);

// Enciphers (or deciphers: the same operation) a whole file in place, chunk by
// chunk.
void CipherFileInPlace(const std::filesystem::path& path, std::string_view password,
                       std::uint8_t start);

// The cipher state of a program: the password of the current show and the
// start position of the key stream (0: none chosen yet).
struct CryptageXor {
  std::string currentPassword;
  std::uint8_t keyStart = 0;

  void CipherFileInPlace(const std::filesystem::path& path, std::uint8_t start) const {
    cipher::CipherFileInPlace(path, currentPassword, start);
  }
  // Wipes the password before letting it go.
  void DiscardPassword();
};

// keyStart drawn from a number in [0, 1): integer part of (unit x 255) + 1.
std::uint8_t KeyStartFromUnit(double unit);

}  // namespace pivolane::cipher
