// Signatures in the format of the minisign tool: Ed25519 over a file ("Ed")
// or over its BLAKE2b-512 hash ("ED"), and a second signature that binds the
// trusted comment to the first.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pivolane::update {

struct PublicKey {
  std::array<std::uint8_t, 8> keyId{};
  std::array<std::uint8_t, 32> key{};
};

struct Signature {
  std::array<char, 2> algorithm{};  // "Ed" or "ED"
  std::array<std::uint8_t, 8> keyId{};
  std::array<std::uint8_t, 64> signature{};
  std::string trustedComment;  // the text after "trusted comment: "
  std::array<std::uint8_t, 64> globalSignature{};
};

// The base64 line of a public key, or the whole two-line key file. Throws a
// Refusal when it is not a minisign Ed25519 public key.
PublicKey ParsePublicKey(std::string_view text);

// The four lines of a ".minisig" file. Throws a Refusal when they are not.
Signature ParseSignature(std::string_view text);

// Throws a Refusal unless signature was made over message with the secret
// key of key, trusted comment included.
void VerifySignature(const PublicKey& key, const Signature& signature,
                     std::span<const std::uint8_t> message);

}  // namespace pivolane::update
