#include "common/format/show_file.h"

#include <algorithm>
#include <array>

#include "common/errors.h"

namespace pivolane::format {

ShowFileKind DetectKind(const io::File& file) {
  static constexpr std::array<std::uint8_t, 4> kElfMagic = {0x7F, 'E', 'L', 'F'};
  if (file.Size() < kElfMagic.size() + kTrailerSize) return ShowFileKind::kDocument;
  std::array<std::uint8_t, 4> start{};
  file.ReadAt(0, start);
  return start == kElfMagic ? ShowFileKind::kSelfRunning : ShowFileKind::kDocument;
}

ShowHeader ReadHeaderTrailer(const io::File& file) {
  const std::uint64_t size = file.Size();
  if (size < kTrailerSize) ThrowInvalidFile();
  std::array<std::uint8_t, kHeaderSize> record{};
  file.ReadAt(size - kTrailerSize, record);
  return ShowHeader::Parse(record);
}

ShowFile ShowFile::Open(const fs::path& path, ShowFileKind kind) {
  io::File file(path, io::OpenMode::kRead);
  const ShowHeader header = ReadHeaderTrailer(file);
  if (!header.HasShowTag()) ThrowInvalidFile();
  return ShowFile(std::move(file), kind, header);
}

ShowFile ShowFile::Open(const fs::path& path) {
  io::File file(path, io::OpenMode::kRead);
  const ShowFileKind kind = DetectKind(file);
  const ShowHeader header = ReadHeaderTrailer(file);
  if (!header.HasShowTag()) ThrowInvalidFile();
  return ShowFile(std::move(file), kind, header);
}

ShowFile::ShowFile(io::File file, ShowFileKind kind, const ShowHeader& header)
    : file_(std::move(file)), kind_(kind), header_(header) {
  const std::uint64_t size = file_.Size();
  if (kind_ == ShowFileKind::kDocument) {
    payloadOffset_ = 0;
    payloadLength_ = size - kTrailerSize;
    return;
  }
  // player bytes, payload, one 0x00, trailer
  if (header_.PlayerSize < 0 ||
      static_cast<std::uint64_t>(header_.PlayerSize) + 1 + kTrailerSize > size) {
    ThrowDamagedFile("the player size points outside the file");
  }
  payloadOffset_ = static_cast<std::uint64_t>(header_.PlayerSize);
  payloadLength_ = size - kTrailerSize - 1 - payloadOffset_;
}

void ShowFile::CheckCipherVersion() const {
  if (HasPassword() && header_.CipherVersion != 1) {
    throw Failure(error_number::kUnsupportedCipher,
                  "Unsupported cipher version " + std::to_string(header_.CipherVersion));
  }
}

bool ShowFile::Unlock(std::string_view password) {
  if (!HasPassword()) return true;
  CheckCipherVersion();
  if (header_.keyStart == 0) ThrowDamagedFile("the key stream start is 0");
  if (password.empty() || password.size() > cipher::kCheckValueLength) return false;
  if (cipher::PasswordCheckValue(password, header_.keyStart) != header_.PasswordCheck) return false;
  key_ = cipher::BuildKeyStream(password);
  return true;
}

void ShowFile::ReadPayload(std::uint64_t offset, std::span<std::uint8_t> data) const {
  if (offset > payloadLength_ || data.size() > payloadLength_ - offset) {
    ThrowDamagedFile("a read past the end of the slide data");
  }
  file_.ReadAt(payloadOffset_ + offset, data);
  if (key_) cipher::ApplyKeyStream(*key_, header_.keyStart, data, offset);
}

const std::vector<SlideEntry>& ShowFile::Entries() {
  if (entries_) return *entries_;
  if (!IsReadable()) {
    throw Failure(error_number::kInvalidArgument, "The show is protected by a password");
  }
  const std::int16_t count = header_.SlideCount;
  if (count < 0) ThrowDamagedFile("a negative slide count");
  const std::uint64_t tableSize = static_cast<std::uint64_t>(count) * kEntrySize;
  if (tableSize > payloadLength_)
    ThrowDamagedFile("the slide entries lie past the end of the data");

  std::vector<std::uint8_t> table(static_cast<std::size_t>(tableSize));
  ReadPayload(0, table);
  std::vector<SlideEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    entries.push_back(SlideEntry::Parse(
        std::span<const std::uint8_t, kEntrySize>(table.data() + k * kEntrySize, kEntrySize)));
    const SlideEntry& e = entries.back();
    if (e.PictureSize < 0 || e.PictureOffset < 0 ||
        static_cast<std::uint64_t>(e.PictureOffset) < tableSize ||
        static_cast<std::uint64_t>(e.PictureOffset) + static_cast<std::uint64_t>(e.PictureSize) >
            payloadLength_) {
      ThrowDamagedFile("the picture of slide " + std::to_string(k + 1) + " lies outside the data");
    }
  }
  // No byte may belong to two pictures.
  std::vector<const SlideEntry*> byOffset;
  for (const SlideEntry& e : entries) {
    if (e.PictureSize > 0) byOffset.push_back(&e);
  }
  std::sort(byOffset.begin(), byOffset.end(), [](const SlideEntry* a, const SlideEntry* b) {
    return a->PictureOffset < b->PictureOffset;
  });
  for (std::size_t i = 1; i < byOffset.size(); ++i) {
    const std::int64_t previousEnd =
        std::int64_t{byOffset[i - 1]->PictureOffset} + byOffset[i - 1]->PictureSize;
    if (previousEnd > byOffset[i]->PictureOffset) ThrowDamagedFile("two pictures overlap");
  }
  entries_ = std::move(entries);
  return *entries_;
}

void ShowFile::CopyPicture(std::size_t index, io::File& target) {
  const SlideEntry& entry = Entries().at(index);
  std::vector<std::uint8_t> buffer(
      std::min<std::size_t>(static_cast<std::size_t>(entry.PictureSize), io::kChunkSize));
  std::uint64_t at = target.Size();
  const auto size = static_cast<std::uint64_t>(entry.PictureSize);
  for (std::uint64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, buffer.size()));
    std::span<std::uint8_t> chunk(buffer.data(), n);
    ReadPayload(static_cast<std::uint64_t>(entry.PictureOffset) + done, chunk);
    target.WriteAt(at, chunk);
    at += n;
    done += n;
  }
}

std::vector<std::uint8_t> ShowFile::ReadPicture(std::size_t index) {
  const SlideEntry& entry = Entries().at(index);
  std::vector<std::uint8_t> picture(static_cast<std::size_t>(entry.PictureSize));
  ReadPayload(static_cast<std::uint64_t>(entry.PictureOffset), picture);
  return picture;
}

}  // namespace pivolane::format
