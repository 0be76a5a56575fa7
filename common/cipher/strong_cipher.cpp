#include "common/cipher/strong_cipher.h"

#include <sodium.h>

#include <bit>
#include <string>

#include "common/errors.h"

namespace pivolane::cipher {

namespace {

// libsodium must be set up once before its first use; sodium_init is safe to
// call again and from any thread.
void EnsureSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) {
    throw Failure(error_number::kInvalidArgument, "The cryptography library cannot start");
  }
}

void CheckSealedSize(std::size_t plain, std::size_t sealed) {
  if (sealed != plain + kTagLength) {
    throw Failure(error_number::kInvalidArgument, "A sealed message is its text and one tag");
  }
}

}  // namespace

static_assert(kSaltLength == crypto_pwhash_argon2id_SALTBYTES);
static_assert(kSealKeyLength == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kNonceLength == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(kTagLength == crypto_aead_xchacha20poly1305_ietf_ABYTES);
static_assert(kMinimumKdfLimits.passes == crypto_pwhash_argon2id_OPSLIMIT_MIN);
static_assert(kMinimumKdfLimits.memoryBytes == crypto_pwhash_argon2id_MEMLIMIT_MIN);

bool AreAcceptedLimits(const KdfLimits& limits) {
  return limits.passes >= kMinimumKdfLimits.passes && limits.passes <= kMaximumKdfLimits.passes &&
         limits.memoryBytes >= kMinimumKdfLimits.memoryBytes &&
         limits.memoryBytes <= kMaximumKdfLimits.memoryBytes &&
         std::has_single_bit(limits.memoryBytes);
}

void RandomBytes(std::span<std::uint8_t> bytes) {
  EnsureSodium();
  randombytes_buf(bytes.data(), bytes.size());
}

SecretKey::SecretKey() {
  EnsureSodium();
  // Refused when the process may lock no more memory: the key is then only
  // wiped, not kept out of swap.
  sodium_mlock(bytes_.data(), bytes_.size());
}

SecretKey::~SecretKey() {
  // Wipes the key, then unlocks it.
  sodium_munlock(bytes_.data(), bytes_.size());
}

void DeriveKey(std::string_view password, const Salt& salt, const KdfLimits& limits,
               SecretKey& key) {
  if (!AreAcceptedLimits(limits)) {
    throw Failure(error_number::kInvalidArgument,
                  "The key derivation limits are not ones a show may use");
  }
  EnsureSodium();
  const std::span<std::uint8_t, kSealKeyLength> out = key.bytes();
  if (crypto_pwhash(out.data(), out.size(), password.data(), password.size(), salt.data(),
                    limits.passes, static_cast<std::size_t>(limits.memoryBytes),
                    crypto_pwhash_ALG_ARGON2ID13) != 0) {
    Wipe(out);
    throw Failure(error_number::kOutOfMemory, "Out of memory: the key derivation needs " +
                                                  std::to_string(limits.memoryBytes >> 20) +
                                                  " MiB");
  }
}

void Seal(const SecretKey& key, const Nonce& nonce, std::span<const std::uint8_t> associatedData,
          std::span<const std::uint8_t> plain, std::span<std::uint8_t> sealed) {
  CheckSealedSize(plain.size(), sealed.size());
  EnsureSodium();
  crypto_aead_xchacha20poly1305_ietf_encrypt(sealed.data(), nullptr, plain.data(), plain.size(),
                                             associatedData.data(), associatedData.size(), nullptr,
                                             nonce.data(), key.bytes().data());
}

bool Open(const SecretKey& key, const Nonce& nonce, std::span<const std::uint8_t> associatedData,
          std::span<const std::uint8_t> sealed, std::span<std::uint8_t> plain) {
  if (sealed.size() < kTagLength) return false;
  CheckSealedSize(plain.size(), sealed.size());
  EnsureSodium();
  // The tag is checked before anything is deciphered.
  if (crypto_aead_xchacha20poly1305_ietf_decrypt(
          plain.data(), nullptr, nullptr, sealed.data(), sealed.size(), associatedData.data(),
          associatedData.size(), nonce.data(), key.bytes().data()) == 0) {
    return true;
  }
  Wipe(plain);
  return false;
}

void Wipe(std::span<std::uint8_t> bytes) {
  sodium_memzero(bytes.data(), bytes.size());
}

void Wipe(std::string& text) {
  sodium_memzero(text.data(), text.size());
  text.clear();
}

}  // namespace pivolane::cipher
