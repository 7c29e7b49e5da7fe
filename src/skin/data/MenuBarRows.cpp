#include "skin/data/MenuBarRows.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace kv {

TMenuBarRows WrapMenuBar(std::span<const int> widths, int barWidth, int start, int firstRowReserve) {
  TMenuBarRows rows;
  rows.Cells.reserve(widths.size());
  // In 64 bits: a row may run past its end by one button, whatever the widths.
  const std::int64_t firstRowEnd = std::int64_t(barWidth) - std::max(firstRowReserve, 0);
  int row = 0;
  std::int64_t x = start;
  bool rowEmpty = true;
  for (const int given : widths) {
    const int w = std::max(given, 0);
    const std::int64_t end = row == 0 ? firstRowEnd : barWidth;
    if (w > 0 && !rowEmpty && x + w > end) {
      ++row;
      x = start;
      rowEmpty = true;
    }
    rows.Cells.push_back({row, int(std::clamp<std::int64_t>(x, INT_MIN, INT_MAX)), w});
    x += w;
    if (w > 0) rowEmpty = false;
  }
  rows.RowCount = row + 1;
  return rows;
}

}  // namespace kv
