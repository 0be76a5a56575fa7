// Writes the picture fuzzer's starting inputs: small valid pictures of every
// format and kind a show may hold.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tests/common/picture_samples.h"
#include "tests/common/sample_pictures.h"

namespace fs = std::filesystem;
using namespace pivolane;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_picture_corpus FOLDER\n";
    return 2;
  }
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  const auto write = [&](const char* name, const test_pictures::Bytes& bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  };
  const test_pictures::Rgb colour{200, 120, 40};
  write("baseline.jpg", test_pictures::SampleJpeg(40, 24, colour));
  write("progressive.jpg", test_pictures::SampleJpeg(40, 24, colour, true));
  write("exif.jpg", test_pictures::WithExifOrientation(test_pictures::QuartersJpeg(32, 16), 6));
  write("picture.png", test_pictures::SamplePng(20, 12, colour));
  write("picture.gif", test_pictures::SampleGif(12, 8, colour));
  write("picture.bmp", test_pictures::SampleBmp(13, 7, colour));
  write("bitmap.ico", test_pictures::SampleIco(16, colour));
  write("png.ico", picture_samples::Ico({{16, 16, 32, test_pictures::SamplePng(16, 16, colour)}}));
  // Run-length rows: two rows of a run, then the end of the bitmap.
  test_pictures::Bytes rle;
  picture_samples::Text(rle, "BM");
  picture_samples::Le32(rle, 0);
  picture_samples::Le32(rle, 0);
  picture_samples::Le32(rle, 14 + 40 + 8);
  picture_samples::InfoHeader(rle, 6, 2, 8, 1, 2);
  rle.insert(rle.end(), {40, 120, 200, 0, 200, 120, 40, 0});
  rle.insert(rle.end(), {6, 0, 0, 0, 3, 1, 0, 2, 1, 0, 1, 0, 0, 1});
  write("rle8.bmp", rle);
  return 0;
}
