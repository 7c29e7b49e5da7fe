#pragma once
// Where the buttons of a menu bar go when the bar is too narrow for one row. As the
// platform's own bar does, a button that does not fit in the rest of its row starts the
// next row, and a button wider than a whole row takes a row of its own. Offsets run from
// the bar's start side (its left end; right to left, its right end: the caller mirrors).
#include <span>
#include <vector>

namespace kv {

struct TMenuBarCell {
  int Row = 0;     // from 0, top down
  int Offset = 0;  // from the bar's start side
  int Width = 0;
};

struct TMenuBarRows {
  std::vector<TMenuBarCell> Cells;  // one per button, in order
  int RowCount = 1;                 // an empty bar still shows its row
};

// `widths` of the buttons (0: a button without a caption, which never starts a row; a
// negative width counts as 0), `barWidth` the bar's, `start` the first button's offset on
// every row, `firstRowReserve` what the end of the first row keeps free (the buttons of a
// maximised MDI child sit there).
TMenuBarRows WrapMenuBar(std::span<const int> widths, int barWidth, int start, int firstRowReserve = 0);

}  // namespace kv
