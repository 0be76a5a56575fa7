#include "common/picture/slide_picture.h"

#include <variant>

#include "common/picture/dib_reader.h"
#include "common/picture/gif_decoder.h"
#include "common/picture/ico_reader.h"
#include "common/picture/jpeg_decoder.h"
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
// covers the size it will be shown at.
std::optional<Pixels> DecodeJpegFor(std::span<const std::uint8_t> bytes, playback::Size frame,
                                    const DecodeBudget& budget) {
  const std::optional<Dimensions> natural = DeclaredDimensions(bytes);
  if (!natural || !WithinDecodeLimits(*natural)) return std::nullopt;
  const playback::Placement shown =
      playback::FitAndCentre({natural->width, natural->height}, frame);
  return DecodeJpeg(bytes, budget, Dimensions{shown.width, shown.height});
}

// The size to fit: a JPEG decoded at a reduced scale keeps its natural
// size's proportions, the others come out at their natural size.
playback::Size NaturalSize(std::span<const std::uint8_t> bytes, const Pixels& pixels) {
  if (DetectPictureFormat(bytes) == PictureFormat::kJpeg) {
    if (const std::optional<Dimensions> declared = DeclaredDimensions(bytes))
      return {declared->width, declared->height};
  }
  return {pixels.width, pixels.height};
}

}  // namespace

std::optional<FittedPicture> DecodeFitted(std::span<const std::uint8_t> bytes, playback::Size frame,
                                          const DecodeBudget& budget) {
  std::optional<Pixels> pixels;
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kJpeg:
      pixels = DecodeJpegFor(bytes, frame, budget);
      break;
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
  fitted.placement = playback::FitAndCentre(NaturalSize(bytes, *pixels), frame);
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
