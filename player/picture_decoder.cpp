#include "player/picture_decoder.h"

#include <FL/Fl_BMP_Image.H>
#include <FL/Fl_GIF_Image.H>

#include <algorithm>
#include <variant>

#include "common/io/file.h"
#include "common/picture/ico_reader.h"
#include "common/picture/picture_format.h"
#include "common/workspace/workspace.h"
#include "player/memory_decoders.h"

namespace pivolane::player {

namespace {

std::unique_ptr<Fl_RGB_Image> ToImage(const std::optional<picture::Pixels>& pixels) {
  if (!pixels) return nullptr;
  auto* data = new uchar[pixels->bytes.size()];
  std::copy(pixels->bytes.begin(), pixels->bytes.end(), data);
  auto image =
      std::make_unique<Fl_RGB_Image>(data, pixels->width, pixels->height, pixels->channels);
  image->alloc_array = 1;  // the image owns data
  return image;
}

std::unique_ptr<Fl_RGB_Image> DecodeIco(std::span<const std::uint8_t> bytes) {
  std::optional<picture::IcoPicture> icon = picture::ReadIco(bytes);
  if (!icon) return nullptr;
  if (const auto* png = std::get_if<picture::EmbeddedPng>(&*icon))
    return ToImage(DecodePng(png->bytes));
  return ToImage(std::get<picture::Pixels>(*icon));
}

// GIF and BMP: the toolkit reads them from a file only.
std::unique_ptr<Fl_RGB_Image> DecodeThroughFile(std::span<const std::uint8_t> bytes,
                                                picture::PictureFormat format,
                                                const std::filesystem::path& scratchFile) {
  std::unique_ptr<Fl_RGB_Image> image;
  try {
    io::File file(scratchFile, io::OpenMode::kCreatePrivate);
    file.Append(bytes);
    file.Close();
    if (format == picture::PictureFormat::kGif) {
      Fl_GIF_Image gif(scratchFile.c_str());
      // The first frame, over black where the GIF is transparent.
      if (gif.fail() == 0 && gif.w() > 0 && gif.h() > 0) {
        image = std::make_unique<Fl_RGB_Image>(&gif, FL_BLACK);
      }
    } else {
      image = std::make_unique<Fl_BMP_Image>(scratchFile.c_str());
    }
  } catch (const std::exception&) {
    image.reset();  // a full disk, say: the picture stays empty
  }
  workspace::DiscardFile(scratchFile);
  return image;
}

}  // namespace

std::unique_ptr<Fl_RGB_Image> DecodePicture(std::span<const std::uint8_t> bytes,
                                            const std::filesystem::path& scratchFile) {
  using picture::PictureFormat;
  const PictureFormat format = picture::DetectPictureFormat(bytes);
  std::unique_ptr<Fl_RGB_Image> image;
  switch (format) {
    case PictureFormat::kIco:
      image = DecodeIco(bytes);
      break;
    case PictureFormat::kJpeg:
      image = ToImage(DecodeJpeg(bytes));
      break;
    case PictureFormat::kPng:
      image = ToImage(DecodePng(bytes));
      break;
    case PictureFormat::kGif:
    case PictureFormat::kBmp: {
      // Checked here, before the toolkit's readers allocate what the header asks for.
      const std::optional<picture::Dimensions> size = picture::DeclaredDimensions(bytes);
      if (size && picture::WithinDecodeLimits(*size))
        image = DecodeThroughFile(bytes, format, scratchFile);
      break;
    }
    case PictureFormat::kUnknown:
      break;
  }
  if (image && (image->fail() != 0 || image->w() <= 0 || image->h() <= 0)) image.reset();
  return image;
}

}  // namespace pivolane::player
