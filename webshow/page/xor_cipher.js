// Cipher version 1: the payload combined (XOR) with a key stream made of the
// master key that every program carries and the password, from the header's
// start position; the header holds the padded password enciphered the same
// way as its check value.

// Put in by the page's build from the programs' own copy of the key.
const kMasterKeyHex = "@PIVOLANE_MASTER_KEY@";
const kKeyLength = 2562;
const kCheckValueLength = 128;

let masterKey = null;

function theMasterKey() {
  if (!masterKey) {
    masterKey = new Uint8Array(kKeyLength);
    for (let i = 0; i < kKeyLength; ++i) {
      masterKey[i] = parseInt(kMasterKeyHex.substr(2 * i, 2), 16);
    }
  }
  return masterKey;
}

// stream[i - 1] = masterKey[i - 1] ^ password[i mod L] for positions i from 1:
// the password is used from its second byte on, cycled.
export function keyStream(password) {
  const key = theMasterKey();
  const stream = new Uint8Array(kKeyLength);
  for (let i = 1; i <= kKeyLength; ++i) stream[i - 1] = key[i - 1] ^ password[i % password.length];
  return stream;
}

// Combines data, which lies at position (0-based) of the enciphered bytes,
// with the stream in place. Byte p (1-based) of the whole uses key position
// ((start + p - 2) mod 2562) + 1: after 2562 the stream goes on at 1.
export function applyKeyStream(stream, start, data, position) {
  let key = (start - 1 + position) % kKeyLength;
  for (let done = 0; done < data.length; key = 0) {
    const run = Math.min(data.length - done, kKeyLength - key);
    for (let i = 0; i < run; ++i) data[done + i] ^= stream[key + i];
    done += run;
  }
}

// Whether password (1..128 bytes) gives the header's check value: the
// password padded with spaces to 128 bytes, enciphered from start.
export function passwordMatches(password, start, checkValue) {
  if (password.length > kCheckValueLength) return false;
  const value = new Uint8Array(kCheckValueLength).fill(0x20);
  value.set(password);
  const stream = keyStream(password);
  applyKeyStream(stream, start, value, 0);
  stream.fill(0);
  const matches = value.every((byte, i) => byte === checkValue[i]);
  value.fill(0);
  return matches;
}
