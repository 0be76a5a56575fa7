#include "common/update/minisign.h"

#include <sodium.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "common/update/lines.h"
#include "common/update/refusal.h"

namespace pivolane::update {

namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";

void InitSodium() {
  if (sodium_init() < 0) throw Refusal("the cryptographic library could not start");
}

// The bytes of a base64 text that holds exactly size bytes.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text, std::size_t size) {
  std::vector<std::uint8_t> bytes(size + 1);
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length,
                        &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
      end != text.data() + text.size() || length != size) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

template <std::size_t N>
void CopyInto(std::array<std::uint8_t, N>& target, const std::uint8_t* from) {
  std::copy(from, from + N, target.begin());
}

}  // namespace

PublicKey ParsePublicKey(std::string_view text) {
  InitSodium();
  // A whole key file: its last line is the key.
  std::string_view line = Trimmed(text);
  if (const std::size_t last = line.rfind('\n'); last != std::string_view::npos) {
    line = Trimmed(line.substr(last + 1));
  }
  const auto bytes = DecodeBase64(line, 2 + 8 + 32);
  if (!bytes || (*bytes)[0] != 'E' || (*bytes)[1] != 'd') {
    throw Refusal("the publisher's public key is not a minisign Ed25519 key");
  }
  PublicKey key;
  CopyInto(key.keyId, bytes->data() + 2);
  CopyInto(key.key, bytes->data() + 10);
  return key;
}

Signature ParseSignature(std::string_view text) {
  InitSodium();
  std::vector<std::string_view> lines = SplitLines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.size() != 4 || !lines[0].starts_with(kUntrustedPrefix) ||
      !lines[2].starts_with(kTrustedPrefix)) {
    throw Refusal("the signature file is not in the minisign format");
  }
  const auto blob = DecodeBase64(lines[1], 2 + 8 + 64);
  const auto global = DecodeBase64(lines[3], 64);
  if (!blob || !global) throw Refusal("the signature file holds no valid signature");
  Signature signature;
  signature.algorithm = {static_cast<char>((*blob)[0]), static_cast<char>((*blob)[1])};
  CopyInto(signature.keyId, blob->data() + 2);
  CopyInto(signature.signature, blob->data() + 10);
  signature.trustedComment = std::string(lines[2].substr(kTrustedPrefix.size()));
  CopyInto(signature.globalSignature, global->data());
  return signature;
}

void VerifySignature(const PublicKey& key, const Signature& signature,
                     std::span<const std::uint8_t> message) {
  InitSodium();
  if (signature.keyId != key.keyId) throw Refusal("the signature was made with another key");
  std::vector<std::uint8_t> signedBytes;
  const std::string_view algorithm(signature.algorithm.data(), signature.algorithm.size());
  if (algorithm == "ED") {
    signedBytes.resize(crypto_generichash_BYTES_MAX);
    crypto_generichash(signedBytes.data(), signedBytes.size(), message.data(), message.size(),
                       nullptr, 0);
  } else if (algorithm == "Ed") {
    signedBytes.assign(message.begin(), message.end());
  } else {
    throw Refusal("the signature uses an unknown algorithm");
  }
  if (crypto_sign_verify_detached(signature.signature.data(), signedBytes.data(),
                                  signedBytes.size(), key.key.data()) != 0) {
    throw Refusal("the signature does not match the signed file");
  }
  std::vector<std::uint8_t> global(signature.signature.begin(), signature.signature.end());
  global.insert(global.end(), signature.trustedComment.begin(), signature.trustedComment.end());
  if (crypto_sign_verify_detached(signature.globalSignature.data(), global.data(), global.size(),
                                  key.key.data()) != 0) {
    throw Refusal("the trusted comment of the signature was changed");
  }
}

}  // namespace pivolane::update
