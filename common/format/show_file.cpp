#include "common/format/show_file.h"

#include <algorithm>
#include <array>

#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"

namespace pivolane::format {

namespace {

template <typename Bytes>
ShowHeader HeaderAtTheEnd(const Bytes& bytes) {
  const std::uint64_t size = bytes.Size();
  if (size < kTrailerSize) ThrowInvalidFile();
  std::array<std::uint8_t, kHeaderSize> record{};
  bytes.ReadAt(size - kTrailerSize, record);
  return ShowHeader::Parse(record);
}

}  // namespace

ShowHeader ReadHeaderTrailer(const io::File& file) {
  return HeaderAtTheEnd(file);
}

ShowFile ShowFile::Read(ShowBytes bytes, ShowFileKind kind) {
  const ShowHeader header = HeaderAtTheEnd(bytes);
  if (!header.HasShowTag()) ThrowInvalidFile();
  return ShowFile(std::move(bytes), kind, header);
}

ShowFile ShowFile::Open(const fs::path& path, ShowFileKind kind) {
  io::File file(path, io::OpenMode::kRead);
  if (kind != ShowFileKind::kWebShow) return Read(ShowBytes(std::move(file)), kind);
  const std::optional<EmbeddedText> text = FindEmbeddedText(file);
  if (!text) ThrowInvalidFile();
  return Read(ShowBytes(std::move(file), *text), kind);
}

ShowFile ShowFile::Open(const fs::path& path) {
  io::File file(path, io::OpenMode::kRead);
  // A web show ends with its page, never with a trailer's 0x00.
  if (const std::optional<EmbeddedText> text = FindEmbeddedText(file)) {
    return Read(ShowBytes(std::move(file), *text), ShowFileKind::kWebShow);
  }
  ShowFile show = Read(ShowBytes(std::move(file)), ShowFileKind::kDocument);
  // The first bytes alone do not tell: a document's first title may begin as
  // a program does. The program's layout is tried first; when neither layout
  // checks out, the program's reports the damage.
  if (!show.StartsLikeAProgram() || show.UseLayoutIfItChecksOut(ShowFileKind::kSelfRunning) ||
      show.UseLayoutIfItChecksOut(ShowFileKind::kDocument)) {
    return show;
  }
  show.UseLayout(ShowFileKind::kSelfRunning);
  return show;
}

ShowFile::ShowFile(ShowBytes bytes, ShowFileKind kind, const ShowHeader& header)
    : bytes_(std::move(bytes)), kind_(kind), header_(header) {
  UseLayout(kind);
}

void ShowFile::UseLayout(ShowFileKind kind) {
  const std::uint64_t size = bytes_.Size();
  entries_.reset();
  // A web show carries a document.
  if (kind != ShowFileKind::kSelfRunning) {
    kind_ = kind;
    payloadOffset_ = 0;
    payloadLength_ = size - kTrailerSize;
    return;
  }
  // player bytes, payload, one 0x00, trailer
  if (header_.PlayerSize < 0 ||
      static_cast<std::uint64_t>(header_.PlayerSize) + 1 + kTrailerSize > size) {
    ThrowDamagedFile("the player size points outside the file");
  }
  kind_ = kind;
  payloadOffset_ = static_cast<std::uint64_t>(header_.PlayerSize);
  payloadLength_ = size - kTrailerSize - 1 - payloadOffset_;
}

bool ShowFile::UseLayoutIfItChecksOut(ShowFileKind kind) {
  try {
    UseLayout(kind);
    if (kind == ShowFileKind::kSelfRunning) {
      std::array<std::uint8_t, 1> separator{};
      bytes_.ReadAt(payloadOffset_ + payloadLength_, separator);
      if (separator[0] != 0) return false;
    }
    if (!IsReadable()) return true;
    // What this product writes: the entries, then their pictures, no more.
    const PayloadLayout layout = PayloadLayout::Of(header_);
    std::uint64_t written = CheckedTableSize();
    for (const SlideEntry& e : Entries()) {
      written += layout.PictureSize(static_cast<std::uint64_t>(e.PictureSize));
    }
    return written == payloadLength_;
  } catch (const Failure&) {
    return false;
  }
}

bool ShowFile::StartsLikeAProgram() const {
  static constexpr std::array<std::uint8_t, 4> kElfMagic = {0x7F, 'E', 'L', 'F'};
  if (bytes_.Size() < kElfMagic.size()) return false;
  std::array<std::uint8_t, 4> start{};
  bytes_.ReadAt(0, start);
  return start == kElfMagic;
}

ShowFile::ShowFile(ShowFile&&) noexcept = default;
ShowFile& ShowFile::operator=(ShowFile&&) noexcept = default;
ShowFile::~ShowFile() = default;

void ShowFile::CheckProtection() const {
  if (!HasPassword()) return;
  if (!IsKnownCipherVersion(header_.CipherVersion)) {
    throw Failure(error_number::kUnsupportedCipher,
                  "Unsupported cipher version " + std::to_string(header_.CipherVersion));
  }
  if (header_.CipherVersion == kSealedCipherVersion) CheckedSealedParameters(header_);
}

bool ShowFile::Unlock(std::string_view password) {
  if (!HasPassword()) return true;
  CheckProtection();
  if (header_.CipherVersion == kSealedCipherVersion) return UnlockSealed(password);
  if (header_.keyStart == 0) ThrowDamagedFile("the key stream start is 0");
  if (password.empty() || password.size() > cipher::kCheckValueLength) return false;
  if (cipher::PasswordCheckValue(password, header_.keyStart) != header_.PasswordCheck) return false;
  key_ = cipher::BuildKeyStream(password);
  return true;
}

bool ShowFile::UnlockSealed(std::string_view password) {
  // Everything that can be checked without the key is checked first: a
  // damaged file costs no key derivation.
  const std::uint64_t tableSize = CheckedTableSize();
  if (password.empty() || password.size() > cipher::kCheckValueLength) return false;
  auto seal = std::make_unique<const PayloadSeal>(header_, password);
  std::vector<std::uint8_t> table;
  if (!OpenEntryTable(*seal, tableSize, table)) return false;
  seal_ = std::move(seal);
  return true;
}

void ShowFile::ReadPayload(std::uint64_t offset, std::span<std::uint8_t> data) const {
  if (offset > payloadLength_ || data.size() > payloadLength_ - offset) {
    ThrowDamagedFile("a read past the end of the slide data");
  }
  bytes_.ReadAt(payloadOffset_ + offset, data);
  if (key_) cipher::ApplyKeyStream(*key_, header_.keyStart, data, offset);
}

std::uint64_t ShowFile::CheckedTableSize() const {
  const std::int16_t count = header_.SlideCount;
  if (count < 0) ThrowDamagedFile("a negative slide count");
  const std::uint64_t tableSize =
      PayloadLayout::Of(header_).TableSize(static_cast<std::uint64_t>(count));
  if (tableSize > payloadLength_)
    ThrowDamagedFile("the slide entries lie past the end of the data");
  return tableSize;
}

bool ShowFile::OpenEntryTable(const PayloadSeal& seal, std::uint64_t tableSize,
                              std::vector<std::uint8_t>& table) const {
  std::vector<std::uint8_t> sealed(static_cast<std::size_t>(tableSize));
  ReadPayload(0, sealed);
  table.resize(sealed.size() - cipher::kTagLength);
  return seal.Open(kEntryTableMessage, sealed, table);
}

std::vector<std::uint8_t> ShowFile::ReadEntryTable(std::uint64_t tableSize) const {
  std::vector<std::uint8_t> table(static_cast<std::size_t>(tableSize));
  if (!seal_) {
    ReadPayload(0, table);
    return table;
  }
  // It opened when the show was unlocked: the file changed since.
  if (!OpenEntryTable(*seal_, tableSize, table)) ThrowDamagedFile("the slide entries changed");
  return table;
}

const std::vector<SlideEntry>& ShowFile::Entries() {
  if (entries_) return *entries_;
  if (!IsReadable()) {
    throw Failure(error_number::kInvalidArgument, "The show is protected by a password");
  }
  const PayloadLayout layout = PayloadLayout::Of(header_);
  const std::uint64_t tableSize = CheckedTableSize();
  const std::vector<std::uint8_t> table = ReadEntryTable(tableSize);
  // Where a picture's stored bytes end; sizes and offsets are not negative.
  const auto storedEnd = [&layout](const SlideEntry* e) {
    return static_cast<std::uint64_t>(e->PictureOffset) +
           layout.PictureSize(static_cast<std::uint64_t>(e->PictureSize));
  };
  const auto count = static_cast<std::size_t>(header_.SlideCount);
  std::vector<SlideEntry> entries;
  entries.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    entries.push_back(SlideEntry::Parse(
        std::span<const std::uint8_t, kEntrySize>(table.data() + k * kEntrySize, kEntrySize)));
    const SlideEntry& e = entries.back();
    if (e.PictureSize < 0 || e.PictureOffset < 0 ||
        static_cast<std::uint64_t>(e.PictureOffset) < tableSize || storedEnd(&e) > payloadLength_) {
      ThrowDamagedFile("the picture of slide " + std::to_string(k + 1) + " lies outside the data");
    }
  }
  // No stored byte may belong to two pictures.
  std::vector<const SlideEntry*> byOffset;
  for (const SlideEntry& e : entries) {
    if (storedEnd(&e) > static_cast<std::uint64_t>(e.PictureOffset)) byOffset.push_back(&e);
  }
  std::sort(byOffset.begin(), byOffset.end(), [](const SlideEntry* a, const SlideEntry* b) {
    return a->PictureOffset < b->PictureOffset;
  });
  for (std::size_t i = 1; i < byOffset.size(); ++i) {
    if (storedEnd(byOffset[i - 1]) > static_cast<std::uint64_t>(byOffset[i]->PictureOffset)) {
      ThrowDamagedFile("two pictures overlap");
    }
  }
  entries_ = std::move(entries);
  return *entries_;
}

void ShowFile::ForEachPicturePiece(std::size_t index,
                                   const std::function<void(std::span<const std::uint8_t>)>& take) {
  const SlideEntry& entry = Entries().at(index);
  const auto offset = static_cast<std::uint64_t>(entry.PictureOffset);
  const auto size = static_cast<std::uint64_t>(entry.PictureSize);
  if (seal_) {
    OpenSealedPicture(
        *seal_, static_cast<std::uint32_t>(index + 1), offset, size,
        [this](std::uint64_t at, std::span<std::uint8_t> data) { ReadPayload(at, data); }, take);
    return;
  }
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(size, io::kChunkSize)));
  for (std::uint64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, buffer.size()));
    std::span<std::uint8_t> chunk(buffer.data(), n);
    ReadPayload(offset + done, chunk);
    take(chunk);
    done += n;
  }
}

void ShowFile::CopyPicture(std::size_t index, io::File& target) {
  std::uint64_t at = target.Size();
  ForEachPicturePiece(index, [&](std::span<const std::uint8_t> piece) {
    target.WriteAt(at, piece);
    at += piece.size();
  });
}

std::vector<std::uint8_t> ShowFile::ReadPicture(std::size_t index) {
  const SlideEntry& entry = Entries().at(index);
  std::vector<std::uint8_t> picture;
  if (seal_) {
    picture.resize(static_cast<std::size_t>(entry.PictureSize));
    try {
      OpenSealedPictureInto(
          *seal_, static_cast<std::uint32_t>(index + 1),
          static_cast<std::uint64_t>(entry.PictureOffset),
          [this](std::uint64_t at, std::span<std::uint8_t> data) { ReadPayload(at, data); },
          picture);
    } catch (...) {
      cipher::Wipe(picture);
      throw;
    }
    return picture;
  }
  // Read and deciphered where it stays, in one go: no buffer in between.
  picture.resize(static_cast<std::size_t>(entry.PictureSize));
  ReadPayload(static_cast<std::uint64_t>(entry.PictureOffset), picture);
  return picture;
}

}  // namespace pivolane::format
