// Writes one sample picture of each format into a folder, for the
// end-to-end tests: write_samples FOLDER.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tests/common/sample_pictures.h"

int main(int argc, char** argv) {
  using namespace pivolane;
  if (argc != 2) {
    std::cerr << "usage: write_samples FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const auto write = [&](const char* name, const test_pictures::Bytes& bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  };
  write("red.jpg", test_pictures::SampleJpeg(640, 400, {220, 30, 30}));
  write("green.gif", test_pictures::SampleGif(200, 300, {30, 200, 30}));
  write("blue.bmp", test_pictures::SampleBmp(3000, 1000, {30, 30, 220}));
  write("yellow.ico", test_pictures::SampleIco(64, {230, 230, 20}));
  // A photograph from a phone held upright: stored on its side, turned by its EXIF data.
  write("turned.jpg", test_pictures::WithExifOrientation(test_pictures::QuartersJpeg(320, 160), 6));
  write("broken.jpg", test_pictures::Bytes{0xFF, 0xD8, 0xFF, 0x00, 0x01});
  // A picture that takes a while to decode and fit.
  write("slow.bmp", test_pictures::SampleBmp(4000, 3000, {200, 200, 200}));
  // Hostile pictures: a GIF whose screen would take 12 GB, a BMP cut short.
  test_pictures::Bytes huge = test_pictures::SampleGif(8, 8, {1, 2, 3});
  std::fill(huge.begin() + 6, huge.begin() + 10, 0xFF);
  write("huge.gif", huge);
  test_pictures::Bytes cut = test_pictures::SampleBmp(300, 200, {1, 2, 3});
  cut.resize(cut.size() / 2);
  write("cut.bmp", cut);
  return 0;
}
