// Draws the pictures of the demo show as 24-bit BMP files: simple patterns,
// made here so that the demo carries no artwork of anyone else.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Colour {
  std::uint8_t r, g, b;
};

using Painter = std::function<Colour(int x, int y, int width, int height)>;

void PutLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void WriteBmp(const std::string& path, int width, int height, const Painter& paint) {
  const int rowSize = (width * 3 + 3) & ~3;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowSize * height);
  std::ofstream out(path, std::ios::binary);
  out << "BM";
  PutLittleEndian(out, 54 + pixelBytes, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 54, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, pixelBytes, 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  std::vector<char> row(static_cast<std::size_t>(rowSize), 0);
  for (int y = height - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < width; ++x) {
      const Colour c = paint(x, y, width, height);
      row[static_cast<std::size_t>(x * 3)] = static_cast<char>(c.b);
      row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(c.g);
      row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(c.r);
    }
    out.write(row.data(), rowSize);
  }
}

std::uint8_t Level(double v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255);
}

Colour Sunset(int x, int y, int w, int h) {
  const double t = static_cast<double>(y) / h;
  const double sun = std::hypot(x - w * 0.5, y - h * 0.62) < h * 0.18 ? 1.0 : 0.0;
  if (y > h * 0.7) return {Level(0.1 + 0.2 * t), Level(0.15 + 0.1 * t), Level(0.35 + 0.2 * t)};
  return {Level(0.95 * (1 - t) + sun), Level(0.45 * (1 - t) + 0.3 * t + 0.6 * sun),
          Level(0.3 + 0.4 * t)};
}

Colour Rings(int x, int y, int w, int h) {
  const double d = std::hypot(x - w / 2.0, y - h / 2.0);
  const double wave = 0.5 + 0.5 * std::sin(d / 12.0);
  return {Level(0.2 + 0.6 * wave), Level(0.5 * wave), Level(0.9 - 0.5 * wave)};
}

Colour Tiles(int x, int y, int, int) {
  const bool dark = ((x / 50) + (y / 50)) % 2 == 0;
  return dark ? Colour{40, 110, 70} : Colour{230, 225, 200};
}

Colour Tall(int x, int y, int w, int h) {
  const double t = static_cast<double>(x) / w;
  return {Level(t), Level(static_cast<double>(y) / h), Level(1 - t)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: draw_demo_pictures FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  WriteBmp(folder + "/Coucher de soleil.bmp", 800, 600, Sunset);
  WriteBmp(folder + "/Anneaux.bmp", 1600, 1200, Rings);  // larger than most frames
  WriteBmp(folder + "/Damier.bmp", 400, 300, Tiles);     // smaller than the frame
  WriteBmp(folder + "/Portrait.bmp", 480, 900, Tall);
  return 0;
}
