// The building blocks of cipher version 2: a key derived from the password
// with Argon2id, and messages sealed with XChaCha20-Poly1305, so that a show
// can be neither read nor changed without the password. Passwords here are
// code page 1252 bytes, as for the XOR cipher.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <span>
#include <string_view>

namespace pivolane::cipher {

// The cost of one key derivation: Argon2id passes over memoryBytes of memory.
struct KdfLimits {
  std::uint32_t passes = 0;
  std::uint64_t memoryBytes = 0;
  friend bool operator==(const KdfLimits&, const KdfLimits&) = default;
};

// About a second on a desktop of today; every guess of the password costs as
// much.
inline constexpr KdfLimits kDefaultKdfLimits{3, std::uint64_t{256} << 20};
// The least Argon2id takes: for tests only, no protection against guessing.
inline constexpr KdfLimits kMinimumKdfLimits{1, 8 << 10};
// Readers refuse more than this as a damaged file, before they allocate
// anything: a hostile file must not make a program take a huge amount of
// memory or time.
inline constexpr KdfLimits kMaximumKdfLimits{10, std::uint64_t{1} << 30};

// The limits this product writes, and so the only ones it reads: between the
// minimum and the maximum, both included, with a memory cost that is a power
// of two. A single flipped bit of a memory cost never gives another one, so
// a damaged show costs no derivation.
bool AreAcceptedLimits(const KdfLimits& limits);

inline constexpr std::size_t kSaltLength = 16;
inline constexpr std::size_t kSealKeyLength = 32;
inline constexpr std::size_t kNonceLength = 24;
inline constexpr std::size_t kTagLength = 16;  // added to every sealed message

using Salt = std::array<std::uint8_t, kSaltLength>;
using Nonce = std::array<std::uint8_t, kNonceLength>;

// Fills bytes from the system's cryptographic random source.
void RandomBytes(std::span<std::uint8_t> bytes);

// A key in memory that is kept out of swap where the system allows it and
// wiped when it goes. It stays where it was made: neither copied nor moved.
class SecretKey {
 public:
  SecretKey();
  ~SecretKey();
  SecretKey(const SecretKey&) = delete;
  SecretKey& operator=(const SecretKey&) = delete;

  std::span<std::uint8_t, kSealKeyLength> bytes() { return bytes_; }
  std::span<const std::uint8_t, kSealKeyLength> bytes() const { return bytes_; }

 private:
  std::array<std::uint8_t, kSealKeyLength> bytes_{};
};

// Argon2id of password with salt into key. The limits must be accepted ones
// (a Failure, error 5, otherwise); a derivation that cannot get its
// memory fails with error 7.
void DeriveKey(std::string_view password, const Salt& salt, const KdfLimits& limits,
               SecretKey& key);

// XChaCha20-Poly1305: sealed holds plain enciphered, then the 16-byte tag
// that binds it to key, nonce and associatedData. sealed.size() must be
// plain.size() + kTagLength.
void Seal(const SecretKey& key, const Nonce& nonce, std::span<const std::uint8_t> associatedData,
          std::span<const std::uint8_t> plain, std::span<std::uint8_t> sealed);

// The reverse of Seal: false, with plain wiped, when sealed was not made by
// Seal with this key, nonce and associated data. plain.size() must be
// sealed.size() - kTagLength.
bool Open(const SecretKey& key, const Nonce& nonce, std::span<const std::uint8_t> associatedData,
          std::span<const std::uint8_t> sealed, std::span<std::uint8_t> plain);

// Overwrites bytes in a way the compiler does not leave out.
void Wipe(std::span<std::uint8_t> bytes);
void Wipe(std::string& text);

}  // namespace pivolane::cipher
