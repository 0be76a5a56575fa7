// Turns one slide picture, as read from the show, into an image the playback
// window can draw: JPEG, PNG and ICO from memory; GIF (first frame) and BMP
// through a private scratch file, since the toolkit reads those only from
// files. The scratch file is wiped and deleted as soon as it has been read.
#pragma once

#include <FL/Fl_Image.H>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace pivolane::player {

// nullptr when the picture cannot be decoded: unknown format, damaged data,
// or a size beyond the decode limits.
std::unique_ptr<Fl_RGB_Image> DecodePicture(std::span<const std::uint8_t> bytes,
                                            const std::filesystem::path& scratchFile);

}  // namespace pivolane::player
