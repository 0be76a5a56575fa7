#include "common/format/show_writer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "common/cipher/password.h"
#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/format/show_file.h"
#include "common/text/cp1252.h"
#include "common/version.h"

namespace pivolane::format {

namespace {

// The picture sizes of the slides, checked against the format's limits with
// the room they take in layout.
std::vector<std::uint64_t> PictureSizes(std::span<const SlideSource> slides,
                                        const PayloadLayout& layout) {
  if (slides.size() > static_cast<std::size_t>(kMaxSlides)) {
    throw Failure(error_number::kOverflow, "A show holds at most 32767 slides; this one has " +
                                               std::to_string(slides.size()));
  }
  std::vector<std::uint64_t> sizes;
  sizes.reserve(slides.size());
  std::uint64_t total = layout.TableSize(slides.size());
  for (const SlideSource& slide : slides) {
    sizes.push_back(PictureSizeOf(slide));
    total += layout.PictureSize(sizes.back());
  }
  if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    throw Failure(error_number::kOverflow,
                  "The pictures of this show are too large for one show file (at most 2 GiB)");
  }
  return sizes;
}

// Writes bytes in order, enciphering them at their place in the payload when a
// key stream is given.
class AppendingSink : public PayloadSink {
 public:
  AppendingSink(ShowOutput& out, const cipher::CryptageXor* encipher) : out_(out) {
    if (encipher != nullptr) {
      key_ = cipher::BuildKeyStream(encipher->currentPassword);
      start_ = encipher->keyStart;
    }
  }
  void WriteTable(std::span<std::uint8_t> table) override { Write(table); }
  void WritePicturePiece(std::uint32_t, std::uint64_t, std::span<std::uint8_t> bytes,
                         bool) override {
    Write(bytes);
  }

 private:
  void Write(std::span<std::uint8_t> bytes) {
    if (key_) cipher::ApplyKeyStream(*key_, start_, bytes, position_);
    out_.Write(bytes);
    position_ += bytes.size();
  }

  ShowOutput& out_;
  std::uint64_t position_ = 0;
  std::optional<cipher::KeyStream> key_;
  std::uint8_t start_ = 0;
};

std::vector<std::uint8_t> EntryTable(std::span<const SlideSource> slides,
                                     std::span<const std::uint64_t> sizes,
                                     const PayloadLayout& layout) {
  std::vector<std::uint8_t> table;
  table.reserve(slides.size() * kEntrySize);
  std::uint64_t offset = layout.TableSize(slides.size());
  for (std::size_t k = 0; k < slides.size(); ++k) {
    SlideEntry entry;
    entry.Title = TitleField(text::ToCp1252Lossy(slides[k].title));
    entry.PictureSize = static_cast<std::int32_t>(sizes[k]);
    entry.PictureOffset = static_cast<std::int32_t>(offset);
    offset += layout.PictureSize(sizes[k]);
    const SlideEntry::Bytes bytes = entry.Serialize();
    table.insert(table.end(), bytes.begin(), bytes.end());
  }
  return table;
}

// The password of a sealed show, refused before anything is written when no
// show could have it.
void CheckSealedPassword(std::string_view password) {
  if (password.empty() || password.size() > cipher::kMaxPasswordLength) {
    throw Failure(error_number::kInvalidArgument, "A password holds 1 to 128 characters");
  }
}

}  // namespace

std::uint64_t PictureSizeOf(const SlideSource& slide) {
  if (slide.fromShow.show == nullptr) return io::FileSize(slide.file);
  return static_cast<std::uint64_t>(
      slide.fromShow.show->Entries().at(slide.fromShow.index).PictureSize);
}

void ReadSlidePicture(const SlideSource& slide,
                      const std::function<void(std::span<const std::uint8_t>)>& take) {
  if (slide.fromShow.show != nullptr) {
    slide.fromShow.show->ForEachPicturePiece(slide.fromShow.index, take);
    return;
  }
  const io::File picture(slide.file, io::OpenMode::kRead);
  const std::uint64_t size = picture.Size();
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kPayloadPieceSize)));
  for (std::uint64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, buffer.size()));
    const std::span<std::uint8_t> piece(buffer.data(), n);
    picture.ReadAt(done, piece);
    take(piece);
    done += n;
  }
}

std::uint64_t CheckPayloadFits(std::span<const SlideSource> slides, const ShowOptions& options) {
  const PayloadLayout layout = PayloadLayout::For(options.usePassword, options.cipherVersion);
  std::uint64_t total = layout.TableSize(slides.size());
  for (const std::uint64_t size : PictureSizes(slides, layout)) total += layout.PictureSize(size);
  return total;
}

void BuildPayload(std::span<const SlideSource> slides, ShowOutput& out, const ShowHeader& header,
                  const cipher::CryptageXor& cipherState) {
  const PayloadLayout layout = PayloadLayout::Of(header);
  const std::vector<std::uint64_t> sizes = PictureSizes(slides, layout);
  // One is filled while the sink still reads the other. Made before the
  // sink, so that they outlive its work.
  std::array<std::vector<std::uint8_t>, 2> buffers;
  for (std::vector<std::uint8_t>& buffer : buffers) buffer.resize(kPayloadPieceSize);
  std::optional<PayloadSeal> seal;
  std::unique_ptr<PayloadSink> sink;
  if (layout.sealed) {
    seal.emplace(header, cipherState.currentPassword);
    sink = std::make_unique<SealingSink>(out, *seal);
  } else {
    sink = std::make_unique<AppendingSink>(out, header.HasPassword() ? &cipherState : nullptr);
  }
  std::vector<std::uint8_t> table = EntryTable(slides, sizes, layout);
  sink->WriteTable(table);
  // One picture open at a time, handed on in pieces of kPayloadPieceSize.
  std::span<std::uint8_t> buffer = buffers[0];
  const auto handOn = [&](std::uint32_t slideNumber, std::uint64_t offset, std::size_t size,
                          bool last) {
    sink->WritePicturePiece(slideNumber, offset, buffer.first(size), last);
    buffer = buffer.data() == buffers[0].data() ? buffers[1] : buffers[0];
  };
  try {
    for (std::size_t k = 0; k < slides.size(); ++k) {
      const auto slideNumber = static_cast<std::uint32_t>(k + 1);
      std::uint64_t offset = 0;
      std::size_t filled = 0;
      ReadSlidePicture(slides[k], [&](std::span<const std::uint8_t> bytes) {
        // As much as its entry states, should the file have grown since.
        bytes = bytes.first(std::min<std::uint64_t>(bytes.size(), sizes[k] - offset - filled));
        while (!bytes.empty()) {
          const std::size_t n = std::min(bytes.size(), buffer.size() - filled);
          std::copy_n(bytes.begin(), n, buffer.begin() + static_cast<std::ptrdiff_t>(filled));
          filled += n;
          bytes = bytes.subspan(n);
          if (filled == buffer.size() && offset + filled < sizes[k]) {
            handOn(slideNumber, offset, filled, false);
            offset += filled;
            filled = 0;
          }
        }
      });
      if (offset + filled != sizes[k]) ThrowDamagedFile("a picture ends before its stated size");
      handOn(slideNumber, offset, filled, true);
    }
    sink->Finish();
  } catch (...) {
    // They may hold deciphered bytes of a show; the sink's work ends first.
    sink.reset();
    for (std::vector<std::uint8_t>& b : buffers) cipher::Wipe(b);
    throw;
  }
  for (std::vector<std::uint8_t>& b : buffers) cipher::Wipe(b);
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
    switch (options.cipherVersion) {
      case kXorCipherVersion:
        h.PasswordCheck =
            cipher::PasswordCheckValue(cipherState.currentPassword, cipherState.keyStart);
        break;
      case kSealedCipherVersion:
        CheckSealedPassword(cipherState.currentPassword);
        if (!cipher::AreAcceptedLimits(options.kdfLimits)) {
          throw Failure(error_number::kInvalidArgument,
                        "The key derivation limits are not ones a show may use");
        }
        h.PasswordCheck = SealedParameters::New(options.kdfLimits).Serialize();
        break;
      default:
        throw Failure(error_number::kInvalidArgument,
                      "Unknown cipher version " + std::to_string(options.cipherVersion));
    }
    h.CipherVersion = options.cipherVersion;
  }
  h.SlideCount = static_cast<std::int16_t>(slideCount);
  h.VersionTag = VersionTagFor(kVersionDigits);
  h.PlayerSize = playerSize;
  h.Language = options.language;
  return h;
}

void AppendHeaderTrailer(const ShowHeader& header, ShowOutput& out) {
  std::array<std::uint8_t, kTrailerSize> trailer{};
  const ShowHeader::Bytes record = header.Serialize();
  std::copy(record.begin(), record.end(), trailer.begin());
  out.Write(trailer);
}

}  // namespace pivolane::format
