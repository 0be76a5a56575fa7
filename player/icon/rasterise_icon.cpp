// Build tool: draws the program icon's SVG at the sizes that desktops show
// and writes them as a C++ source of RGBA bytes, which the player carries,
// so that it reads no file for its icon at run time.
// Usage: rasterise_icon ICON.svg OUT.cpp
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: rasterise_icon ICON.svg OUT.cpp\n";
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::cerr << "rasterise_icon: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ofstream out(argv[2]);
  out << "// Made from the program icon's SVG by rasterise_icon at build time.\n"
         "#include \"player/program_icon.h\"\n\nnamespace pivolane::player {\n\nnamespace {\n";
  constexpr int kSizes[] = {16, 32, 48};
  for (const int size : kSizes) {
    QImage image(size, size, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    out << "const std::uint8_t kIcon" << size << "[] = {";
    for (int y = 0; y < size; ++y) {
      const uchar* row = image.constScanLine(y);
      for (int i = 0; i < size * 4; ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << int(row[i]) << ",";
    }
    out << "\n};\n";
  }
  out << "}  // namespace\n\nconst ProgramIconImage kProgramIcons[kProgramIconCount] = {";
  for (const int size : kSizes) out << "{" << size << ", kIcon" << size << "}, ";
  out << "};\n\n}  // namespace pivolane::player\n";
  return out.good() ? 0 : 1;
}
