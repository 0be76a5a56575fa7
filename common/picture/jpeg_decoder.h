// JPEG decoding from memory with libjpeg, within a DecodeBudget: the size,
// the memory a progressive stream needs and the number of its scans are
// checked before the decoder allocates, and the budget between rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/picture_format.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// Takes a JPEG's rows one by one, top first, as they are decoded.
class JpegRowSink {
 public:
  virtual ~JpegRowSink() = default;
  // Before the first row: the size the rows come at. False refuses it.
  virtual bool Start(int width, int height) = 0;
  // Where the next row of width RGB pixels goes, then that it is there.
  virtual std::uint8_t* NextRow() = 0;
  virtual void RowDone() = 0;
};

// Decodes into sink, at the scale DecodeJpeg chooses; false when the stream
// cannot be decoded (the sink may have had some rows by then).
bool DecodeJpegRows(std::span<const std::uint8_t> bytes, const DecodeBudget& budget,
                    std::optional<Dimensions> atLeast, JpegRowSink& sink);

// RGB pixels. With atLeast, the picture comes out at the smallest of the
// DCT's scales (1/8, 2/8 ... 8/8) that is still at least that large in both
// directions; without, at its natural size. nullopt when the stream is not
// a JPEG the decoder can read or exceeds the limits; a stream cut short
// gives the part it holds.
std::optional<Pixels> DecodeJpeg(std::span<const std::uint8_t> bytes,
                                 const DecodeBudget& budget = {},
                                 std::optional<Dimensions> atLeast = std::nullopt);

// Whether bytes, when they are a JPEG, stay within what DecodeJpeg takes
// before it decodes a row: its size, its number of scans and, for a stream of
// several scans, the coefficients that libjpeg keeps. For the toolkit readers
// of the editor, which bound the pixels they make but not libjpeg's own
// memory and time: a progressive stream of 3 KB can ask for gigabytes, one of
// thousands of scans for minutes. True for other formats; false for a JPEG
// whose header cannot be read.
bool JpegWithinDecodeLimits(std::span<const std::uint8_t> bytes);

// The numerator over 8 of the smallest DCT scale at which natural comes out
// at least as large as wanted; 8 when none smaller does.
int JpegScaleFor(Dimensions natural, Dimensions wanted);

}  // namespace pivolane::picture
