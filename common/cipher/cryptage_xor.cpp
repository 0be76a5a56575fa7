#include "common/cipher/cryptage_xor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/cipher/strong_cipher.h"
#include "common/errors.h"
#include "common/io/file.h"

namespace pivolane::cipher {

namespace {

// out[i] ^= key[i], eight bytes at a time where it can.
void XorInto(std::uint8_t* out, const std::uint8_t* key, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, out + i, 8);
    std::memcpy(&b, key + i, 8);
    a ^= b;
    std::memcpy(out + i, &a, 8);
  }
  for (; i < n; ++i) out[i] ^= key[i];
}

}  // namespace

KeyStream BuildKeyStream(std::string_view password) {
  if (password.empty()) {
    throw Failure(error_number::kInvalidArgument, "A password must hold at least one character");
  }
  KeyStream stream{};
  const std::size_t length = password.size();
  for (std::size_t i = 1; i <= kKeyLength; ++i) {
    const auto passwordByte = static_cast<std::uint8_t>(password[i % length]);
    stream[i - 1] = masterKey[i - 1] ^ passwordByte;
  }
  return stream;
}

void ApplyKeyStream(const KeyStream& keyStream, std::uint8_t start, std::span<std::uint8_t> data,
                    std::uint64_t position) {
  if (start == 0) {
    throw Failure(error_number::kInvalidArgument, "The key stream has no position 0");
  }
  // 0-based index into the key stream of data[0].
  std::size_t key = static_cast<std::size_t>((start - 1 + position) % kKeyLength);
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t run = std::min(data.size() - done, kKeyLength - key);
    XorInto(data.data() + done, keyStream.data() + key, run);
    done += run;
    key = 0;
  }
}

CheckValue PasswordCheckValue(std::string_view password, std::uint8_t start) {
  if (password.size() > kCheckValueLength) {
    throw Failure(error_number::kInvalidArgument, "A password holds at most 128 characters");
  }
  const KeyStream stream = BuildKeyStream(password);
  CheckValue value;
  std::fill(value.begin(), value.end(), static_cast<std::uint8_t>(' '));
  std::copy(password.begin(), password.end(), value.begin());
  ApplyKeyStream(stream, start, value);
  return value;
}

void CipherFileInPlace(const std::filesystem::path& path, std::string_view password,
                       std::uint8_t start) {
  const KeyStream stream = BuildKeyStream(password);
  io::File file(path, io::OpenMode::kReadWrite);
  const std::uint64_t size = file.Size();
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(size, io::kChunkSize)));
  for (std::uint64_t at = 0; at < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - at, buffer.size()));
    std::span<std::uint8_t> chunk(buffer.data(), n);
    file.ReadAt(at, chunk);
    ApplyKeyStream(stream, start, chunk, at);
    file.WriteAt(at, chunk);
    at += n;
  }
  std::fill(buffer.begin(), buffer.end(), 0);
  file.Close();
}

void CryptageXor::DiscardPassword() {
  Wipe(currentPassword);
}

std::uint8_t KeyStartFromUnit(double unit) {
  const int value = static_cast<int>(unit * 255) + 1;
  return static_cast<std::uint8_t>(std::clamp(value, 1, 255));
}

}  // namespace pivolane::cipher
