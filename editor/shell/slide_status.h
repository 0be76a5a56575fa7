// The texts of the status bar and of the delay box.
#pragma once

#include <cstdint>

#include <QSize>
#include <QString>

#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Whole kilobytes of 1000 bytes, halves rounded to the even neighbour.
std::uint64_t RoundedKilobytes(std::uint64_t bytes);

// "Slide: 3/12: Size: 245 Kb, Dimensions: 800 x 600 pixels " and its French twin.
QString SlideStatusText(const Strings& strings, int index, int count, std::uint64_t fileBytes,
                        QSize dimensions);

// "Delay: 5 s.", or "Manual" for 0.
QString DelayText(const Strings& strings, int seconds);

}  // namespace pivolane::editor
