#include "common/format/show_writer.h"

#include <limits>
#include <vector>

#include "common/errors.h"
#include "common/text/cp1252.h"
#include "common/version.h"
#include "common/workspace/workspace.h"

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

void WriteEntryTable(std::span<const SlideSource> slides, std::span<const std::uint64_t> sizes,
                     io::File& out) {
  const auto count = static_cast<std::int64_t>(slides.size());
  std::vector<std::uint8_t> table;
  table.reserve(slides.size() * kEntrySize);
  std::int64_t picturesSoFar = 0;
  for (std::size_t k = 0; k < slides.size(); ++k) {
    SlideEntry entry;
    entry.Title = TitleField(text::ToCp1252Lossy(slides[k].title));
    entry.PictureSize = static_cast<std::int32_t>(sizes[k]);
    entry.PictureOffset = static_cast<std::int32_t>(count * std::int64_t{kEntrySize} + picturesSoFar);
    picturesSoFar += entry.PictureSize;
    const SlideEntry::Bytes bytes = entry.Serialize();
    table.insert(table.end(), bytes.begin(), bytes.end());
  }
  out.Append(table);
}

}  // namespace

std::uint64_t CheckPayloadFits(std::span<const SlideSource> slides) {
  std::uint64_t total = slides.size() * kEntrySize;
  for (const std::uint64_t size : PictureSizes(slides)) total += size;
  return total;
}

fs::path BuildPayload(std::span<const SlideSource> slides, const fs::path& workFolder) {
  const std::vector<std::uint64_t> sizes = PictureSizes(slides);
  const fs::path scratch = workFolder / kPayloadScratchName;
  const fs::path payload = workFolder / kPayloadFileName;
  try {
    io::File out(scratch, io::OpenMode::kCreatePrivate);
    WriteEntryTable(slides, sizes, out);
    // One picture file open at a time, its size as the entry states it.
    for (std::size_t k = 0; k < slides.size(); ++k) {
      const io::File picture(slides[k].file, io::OpenMode::kRead);
      io::CopyRange(picture, 0, sizes[k], out);
    }
    out.Close();
    if (io::Exists(payload)) workspace::WipeAndDeleteFile(payload);
    io::Rename(scratch, payload);
  } catch (...) {
    workspace::DiscardFile(scratch);
    throw;
  }
  return payload;
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

void AppendPayload(const io::File& source, std::uint64_t offset, std::uint64_t length,
                   io::File& target, const cipher::CryptageXor* encipher) {
  if (encipher == nullptr) {
    io::CopyRange(source, offset, length, target);
    return;
  }
  const cipher::KeyStream stream = cipher::BuildKeyStream(encipher->currentPassword);
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(length, io::kChunkSize)));
  std::uint64_t at = target.Size();
  for (std::uint64_t done = 0; done < length;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, buffer.size()));
    std::span<std::uint8_t> chunk(buffer.data(), n);
    source.ReadAt(offset + done, chunk);
    cipher::ApplyKeyStream(stream, encipher->keyStart, chunk, done);
    target.WriteAt(at, chunk);
    at += n;
    done += n;
  }
}

}  // namespace pivolane::format
