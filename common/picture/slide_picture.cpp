#include "common/picture/slide_picture.h"

#include <variant>

#include "common/picture/dib_reader.h"
#include "common/picture/gif_decoder.h"
#include "common/picture/ico_reader.h"
#include "common/picture/jpeg_decoder.h"
#include "common/picture/orientation.h"
#include "common/picture/picture_format.h"
#include "common/picture/pixel_scaling.h"
#include "common/picture/png_decoder.h"

namespace pivolane::picture {

namespace {

std::optional<Pixels> DecodeIco(std::span<const std::uint8_t> bytes, const DecodeBudget& budget) {
  std::optional<IcoPicture> icon = ReadIco(bytes);
  if (!icon) return std::nullopt;
  if (const auto* png = std::get_if<EmbeddedPng>(&*icon)) return DecodePng(png->bytes, budget);
  return std::get<Pixels>(std::move(*icon));
}

// A JPEG is decoded straight at the smallest of its DCT scales that still
// covers the size it will be shown at, and each row is reduced as it comes,
// so that the decoded picture is never held whole.
class FittingRows : public JpegRowSink {
 public:
  explicit FittingRows(Dimensions reduced) : reduced_(reduced) {}
  bool Start(int width, int height) override {
    row_.resize(std::size_t(width) * 3);
    scaler_.emplace(width, height, 3, reduced_.width, reduced_.height);
    return true;
  }
  std::uint8_t* NextRow() override { return row_.data(); }
  void RowDone() override { scaler_->AddRow(row_.data()); }
  Pixels Take() { return scaler_->Take(); }

 private:
  Dimensions reduced_;
  std::vector<std::uint8_t> row_;
  std::optional<RowScaler> scaler_;
};

// A photograph whose EXIF data asks for a turn is fitted as it is shown,
// decoded and reduced as it is stored, then turned.
std::optional<FittedPicture> DecodeJpegFitted(std::span<const std::uint8_t> bytes,
                                              playback::Size frame, const DecodeBudget& budget) {
  const std::optional<Dimensions> natural = DeclaredDimensions(bytes);
  if (!natural || !WithinDecodeLimits(*natural)) return std::nullopt;
  const Orientation orientation = JpegOrientation(bytes);
  const Dimensions shown = AsShown(*natural, orientation);
  FittedPicture fitted;
  fitted.placement = playback::FitAndCentre({shown.width, shown.height}, frame);
  if (fitted.placement.width <= 0 || fitted.placement.height <= 0) return fitted;
  const Dimensions reduced =
      AsShown({fitted.placement.width, fitted.placement.height}, orientation);
  FittingRows rows(reduced);
  if (!DecodeJpegRows(bytes, budget, reduced, rows)) return std::nullopt;
  fitted.pixels = rows.Take();
  if (orientation != Orientation::kUpright)
    fitted.pixels = TurnedUpright(fitted.pixels, orientation);
  return fitted;
}

}  // namespace

std::optional<FittedPicture> DecodeFitted(std::span<const std::uint8_t> bytes, playback::Size frame,
                                          const DecodeBudget& budget) {
  std::optional<Pixels> pixels;
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kJpeg:
      return DecodeJpegFitted(bytes, frame, budget);
    case PictureFormat::kPng:
      pixels = DecodePng(bytes, budget);
      break;
    case PictureFormat::kGif:
      pixels = DecodeGif(bytes, budget);
      break;
    case PictureFormat::kBmp:
      pixels = DecodeBmp(bytes, budget);
      break;
    case PictureFormat::kIco:
      pixels = DecodeIco(bytes, budget);
      break;
    case PictureFormat::kUnknown:
      break;
  }
  if (!pixels || pixels->width <= 0 || pixels->height <= 0 || budget.Exhausted())
    return std::nullopt;
  FittedPicture fitted;
  fitted.placement = playback::FitAndCentre({pixels->width, pixels->height}, frame);
  FlattenOverBlack(*pixels);
  const int width = fitted.placement.width;
  const int height = fitted.placement.height;
  if (width == pixels->width && height == pixels->height) {
    fitted.pixels = std::move(*pixels);
  } else if (width > 0 && height > 0) {
    std::optional<Pixels> scaled = ScaleSmoothly(*pixels, width, height, budget);
    if (!scaled) return std::nullopt;
    fitted.pixels = std::move(*scaled);
  }
  return fitted;
}

}  // namespace pivolane::picture
