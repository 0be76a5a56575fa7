#include "editor/shell/slide_status.h"

namespace pivolane::editor {

std::uint64_t RoundedKilobytes(std::uint64_t bytes) {
  std::uint64_t kilobytes = bytes / 1000;
  const std::uint64_t rest = bytes % 1000;
  if (rest > 500 || (rest == 500 && kilobytes % 2 == 1)) ++kilobytes;
  return kilobytes;
}

QString SlideStatusText(const Strings& strings, int index, int count, std::uint64_t fileBytes,
                        QSize dimensions) {
  return strings.LoadMessage(124) + QString::number(index) + "/" + QString::number(count) +
         strings.LoadMessage(125) + QString::number(RoundedKilobytes(fileBytes)) +
         strings.LoadMessage(126) + strings.LoadMessage(128) + QString::number(dimensions.width()) +
         " x " + QString::number(dimensions.height()) + strings.LoadMessage(129);
}

QString DelayText(const Strings& strings, int seconds) {
  if (seconds == 0) return strings.LoadMessage(115);
  return strings.LoadMessage(105) + QString::number(seconds) + strings.LoadMessage(106);
}

}  // namespace pivolane::editor
