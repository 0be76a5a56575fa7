#include "common/format/show_writer.h"

#include <limits>
#include <optional>
#include <vector>

#include "common/errors.h"
#include "common/text/cp1252.h"
#include "common/version.h"

namespace pivolane::format {

namespace {

// The picture sizes of the slides, checked against the format's limits.
std::vector<std::uint64_t> PictureSizes(std::span<const SlideSource> slides) {
  if (slides.size() > static_cast<std::size_t>(kMaxSlides)) {
    throw Failure(error_number::kOverflow, "A show holds at most 32767 slides; this one has " +
                                               std::to_string(slides.size()));
  }
  std::vector<std::uint64_t> sizes;
  sizes.reserve(slides.size());
  std::uint64_t total = slides.size() * kEntrySize;
  for (const SlideSource& slide : slides) {
    sizes.push_back(io::FileSize(slide.file));
    total += sizes.back();
  }
  if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    throw Failure(error_number::kOverflow,
                  "The pictures of this show are too large for one show file (at most 2 GiB)");
  }
  return sizes;
}

// Appends bytes to the end of a file, enciphering them at their place in the
// payload when a key stream is given.
class PayloadSink {
 public:
  PayloadSink(io::File& out, const cipher::CryptageXor* encipher) : out_(out), at_(out.Size()) {
    if (encipher != nullptr) {
      key_ = cipher::BuildKeyStream(encipher->currentPassword);
      start_ = encipher->keyStart;
    }
  }
  void Write(std::span<std::uint8_t> bytes) {
    if (key_) cipher::ApplyKeyStream(*key_, start_, bytes, position_);
    out_.WriteAt(at_, bytes);
    at_ += bytes.size();
    position_ += bytes.size();
  }

 private:
  io::File& out_;
  std::uint64_t at_;
  std::uint64_t position_ = 0;
  std::optional<cipher::KeyStream> key_;
  std::uint8_t start_ = 0;
};

std::vector<std::uint8_t> EntryTable(std::span<const SlideSource> slides,
                                     std::span<const std::uint64_t> sizes) {
  const auto count = static_cast<std::int64_t>(slides.size());
  std::vector<std::uint8_t> table;
  table.reserve(slides.size() * kEntrySize);
  std::int64_t picturesSoFar = 0;
  for (std::size_t k = 0; k < slides.size(); ++k) {
    SlideEntry entry;
    entry.Title = TitleField(text::ToCp1252Lossy(slides[k].title));
    entry.PictureSize = static_cast<std::int32_t>(sizes[k]);
    entry.PictureOffset =
        static_cast<std::int32_t>(count * std::int64_t{kEntrySize} + picturesSoFar);
    picturesSoFar += entry.PictureSize;
    const SlideEntry::Bytes bytes = entry.Serialize();
    table.insert(table.end(), bytes.begin(), bytes.end());
  }
  return table;
}

}  // namespace

std::uint64_t CheckPayloadFits(std::span<const SlideSource> slides) {
  std::uint64_t total = slides.size() * kEntrySize;
  for (const std::uint64_t size : PictureSizes(slides)) total += size;
  return total;
}

void BuildPayload(std::span<const SlideSource> slides, io::File& out,
                  const cipher::CryptageXor* encipher) {
  const std::vector<std::uint64_t> sizes = PictureSizes(slides);
  PayloadSink sink(out, encipher);
  std::vector<std::uint8_t> table = EntryTable(slides, sizes);
  sink.Write(table);
  // One picture file open at a time, as much of it as its entry states.
  std::vector<std::uint8_t> buffer(io::kChunkSize);
  for (std::size_t k = 0; k < slides.size(); ++k) {
    const io::File picture(slides[k].file, io::OpenMode::kRead);
    for (std::uint64_t done = 0; done < sizes[k];) {
      const auto n =
          static_cast<std::size_t>(std::min<std::uint64_t>(sizes[k] - done, buffer.size()));
      std::span<std::uint8_t> chunk(buffer.data(), n);
      picture.ReadAt(done, chunk);
      sink.Write(chunk);
      done += n;
    }
  }
}

ShowHeader FillHeaderRecord(const ShowOptions& options, const cipher::CryptageXor& cipherState,
                            int slideCount, std::int32_t playerSize) {
  ShowHeader h;
  h.TitlesFlag = options.titles ? kTrue : kFalse;
  h.RandomFlag = options.random ? kTrue : kFalse;
  h.LoopFlag = options.loop ? kTrue : kFalse;
  h.keyStart = cipherState.keyStart;
  h.DelaySeconds = options.delaySeconds;
  h.CipherVersion = 0;
  if (options.usePassword) {
    h.PasswordCheck = cipher::PasswordCheckValue(cipherState.currentPassword, cipherState.keyStart);
    h.CipherVersion = 1;
  }
  h.SlideCount = static_cast<std::int16_t>(slideCount);
  h.VersionTag = VersionTagFor(kVersionDigits);
  h.PlayerSize = playerSize;
  h.Language = options.language;
  return h;
}

void AppendHeaderTrailer(const ShowHeader& header, io::File& file) {
  std::array<std::uint8_t, kTrailerSize> trailer{};
  const ShowHeader::Bytes record = header.Serialize();
  std::copy(record.begin(), record.end(), trailer.begin());
  file.Append(trailer);
}

}  // namespace pivolane::format
