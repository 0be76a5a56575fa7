#include "common/picture/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <vector>

namespace pivolane::picture {

namespace {

// More scans than any encoder writes: each one may go over the whole
// picture again, so a stream of thousands of tiny scans would take minutes.
constexpr int kMaxScans = 100;

// libjpeg reports fatal errors through error_exit, which must not return,
// and calls the progress monitor often enough to watch the budget.
struct JpegWatch {
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  const DecodeBudget* budget;
};

JpegWatch& WatchOf(j_common_ptr info) {
  return *reinterpret_cast<JpegWatch*>(info->err);
}

extern "C" void LeaveOnJpegError(j_common_ptr info) {
  std::longjmp(WatchOf(info).jump, 1);
}

// Warnings (a stream cut short, for one) are not shown.
extern "C" void IgnoreJpegMessage(j_common_ptr, int) {}

extern "C" void WatchJpegProgress(j_common_ptr info) {
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans || WatchOf(info).budget->Exhausted())
    LeaveOnJpegError(info);
}

// Errors and warnings go to the watch; budget bounds the decoding.
void Watch(jpeg_decompress_struct& info, JpegWatch& watch, const DecodeBudget& budget) {
  watch.budget = &budget;
  info.err = jpeg_std_error(&watch.errors);
  watch.errors.error_exit = LeaveOnJpegError;
  watch.errors.emit_message = IgnoreJpegMessage;
}

// The size in the header read; sides beyond the limit are all alike.
Dimensions NaturalSize(const jpeg_decompress_struct& info) {
  return {static_cast<int>(std::min<JDIMENSION>(info.image_width, kMaxSide + 1)),
          static_cast<int>(std::min<JDIMENSION>(info.image_height, kMaxSide + 1))};
}

// CMYK rows to RGB. Adobe's writers store the four inks inverted.
void CmykRowToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>(ink * k / 255);
    }
  }
}

unsigned ScaledSide(unsigned side, int eighths) {
  return static_cast<unsigned>((std::uint64_t{side} * static_cast<unsigned>(eighths) + 7) / 8);
}

// A stream of several scans (progressive, say) keeps the whole picture's
// DCT coefficients, at its natural size, until the last scan.
std::uint64_t CoefficientBytes(const jpeg_decompress_struct& info) {
  if (!jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&info))) return 0;
  std::uint64_t total = 0;
  for (int c = 0; c < info.num_components; ++c) {
    const jpeg_component_info& component = info.comp_info[c];
    const auto rounded = [](std::uint64_t blocks, int factor) {
      const auto f = static_cast<std::uint64_t>(factor > 0 ? factor : 1);
      return (blocks + f - 1) / f * f;
    };
    total += rounded(component.width_in_blocks, component.h_samp_factor) *
             rounded(component.height_in_blocks, component.v_samp_factor) * sizeof(JBLOCK);
  }
  return total;
}

}  // namespace

int JpegScaleFor(Dimensions natural, Dimensions wanted) {
  for (int eighths = 1; eighths < 8; ++eighths) {
    if (ScaledSide(static_cast<unsigned>(natural.width), eighths) >=
            static_cast<unsigned>(std::max(wanted.width, 0)) &&
        ScaledSide(static_cast<unsigned>(natural.height), eighths) >=
            static_cast<unsigned>(std::max(wanted.height, 0))) {
      return eighths;
    }
  }
  return 8;
}

bool DecodeJpegRows(std::span<const std::uint8_t> bytes, const DecodeBudget& budget,
                    std::optional<Dimensions> atLeast, JpegRowSink& sink) {
  jpeg_decompress_struct info{};
  JpegWatch watch{};
  Watch(info, watch, budget);
  watch.progress.progress_monitor = WatchJpegProgress;
  // Declared before setjmp: nothing with a destructor is skipped by longjmp.
  std::vector<std::uint8_t> cmykRow;
  if (setjmp(watch.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  const auto leave = [&info] { LeaveOnJpegError(reinterpret_cast<j_common_ptr>(&info)); };
  info.progress = &watch.progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  const Dimensions natural = NaturalSize(info);
  if (!WithinDecodeLimits(natural)) leave();
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  info.scale_num = static_cast<unsigned>(atLeast ? JpegScaleFor(natural, *atLeast) : 8);
  info.scale_denom = 8;
  // Reduced further after decoding: the plain (box) chroma upsampling is as
  // good then, and cheaper.
  info.do_fancy_upsampling = info.scale_num < 8 ? FALSE : TRUE;
  jpeg_calc_output_dimensions(&info);
  const std::uint64_t coefficients = CoefficientBytes(info);
  const std::uint64_t pixelCount = std::uint64_t{info.output_width} * info.output_height;
  if (!DecodeBudget::Fits(pixelCount, 3, coefficients)) leave();
  // What is left for libjpeg's own buffers; past it, it fails instead of
  // asking for a backing store.
  info.mem->max_memory_to_use = static_cast<long>(kMaxDecodeBytes - pixelCount * 3);
  jpeg_start_decompress(&info);
  bool started = false;
  try {
    started = sink.Start(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (cmyk) cmykRow.resize(std::size_t{info.output_width} * 4);
  } catch (const std::bad_alloc&) {
    started = false;
  }
  if (!started) leave();
  while (info.output_scanline < info.output_height) {
    std::uint8_t* row = sink.NextRow();
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    jpeg_read_scanlines(&info, &target, 1);
    if (cmyk) CmykRowToRgb(cmykRow.data(), row, info.output_width, info.saw_Adobe_marker != 0);
    sink.RowDone();
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool JpegWithinDecodeLimits(std::span<const std::uint8_t> bytes) {
  if (DetectPictureFormat(bytes) != PictureFormat::kJpeg) return true;
  if (JpegScanCount(bytes, kMaxScans) > kMaxScans) return false;
  jpeg_decompress_struct info{};
  JpegWatch watch{};
  const DecodeBudget unbounded;
  Watch(info, watch, unbounded);
  if (setjmp(watch.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  const bool within =
      WithinDecodeLimits(NaturalSize(info)) && CoefficientBytes(info) <= kMaxDecodeBytes;
  jpeg_destroy_decompress(&info);
  return within;
}

std::optional<Pixels> DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeBudget& budget,
                                 std::optional<Dimensions> atLeast) {
  // The rows go straight into the picture.
  class Store : public JpegRowSink {
   public:
    bool Start(int width, int height) override {
      pixels.width = width;
      pixels.height = height;
      pixels.channels = 3;
      pixels.bytes.resize(std::size_t(width) * std::size_t(height) * 3);
      return true;
    }
    std::uint8_t* NextRow() override {
      return pixels.bytes.data() + std::size_t(rows) * std::size_t(pixels.width) * 3;
    }
    void RowDone() override { ++rows; }
    Pixels pixels;
    int rows = 0;
  } store;
  if (!DecodeJpegRows(bytes, budget, atLeast, store)) return std::nullopt;
  return std::move(store.pixels);
}

}  // namespace pivolane::picture
