// Wrapping a menu bar's buttons onto rows: which row each button takes and where, down to
// a bar narrower than its start and widths at the int limits.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "skin/data/MenuBarRows.h"

namespace kv {
namespace {

struct TPlace {
  int Row, Offset;
};

struct TWrapCase {
  const char* Name;
  std::vector<int> Widths;
  int BarWidth, Start, Reserve;
  std::vector<TPlace> Places;  // one per button
  int RowCount;
};

const TWrapCase kWrapCases[] = {
    {"one row", {40, 40, 40}, 200, 10, 0, {{0, 10}, {0, 50}, {0, 90}}, 1},
    {"the last fits exactly", {40, 40}, 90, 10, 0, {{0, 10}, {0, 50}}, 1},
    {"one pixel short starts a row", {40, 41}, 90, 10, 0, {{0, 10}, {1, 10}}, 2},
    {"every row starts at the start", {30, 30, 30, 30, 30}, 75, 6, 0, {{0, 6}, {0, 36}, {1, 6}, {1, 36}, {2, 6}}, 3},
    {"a button wider than a row takes its own", {30, 200, 30}, 100, 10, 0, {{0, 10}, {1, 10}, {2, 10}}, 3},
    {"a first button too wide stays on the first row", {200, 20}, 100, 10, 0, {{0, 10}, {1, 10}}, 2},
    {"captionless buttons never start a row", {200, 0, 0}, 100, 10, 0, {{0, 10}, {0, 210}, {0, 210}}, 1},
    {"a negative width counts as none", {60, -50, 30}, 100, 10, 0, {{0, 10}, {0, 70}, {0, 70}}, 1},
    {"no buttons: one row", {}, 100, 10, 0, {}, 1},
    {"the reserve narrows the first row only", {40, 40, 40, 40}, 100, 10, 30, {{0, 10}, {1, 10}, {1, 50}, {2, 10}}, 3},
    {"a bar narrower than its start: a row each", {20, 20}, 5, 12, 0, {{0, 12}, {1, 12}}, 2},
    {"int limits do not wrap around", {INT_MAX, INT_MAX, 1}, INT_MAX, 0, 0, {{0, 0}, {1, 0}, {2, 0}}, 3},
};

TEST(MenuBarRowsTest, ButtonsWrapOntoRowsAsThePlatformsBarDoes) {
  for (const TWrapCase& c : kWrapCases) {
    const TMenuBarRows rows = WrapMenuBar(c.Widths, c.BarWidth, c.Start, c.Reserve);
    EXPECT_EQ(rows.RowCount, c.RowCount) << c.Name;
    ASSERT_EQ(rows.Cells.size(), c.Places.size()) << c.Name;
    for (std::size_t i = 0; i < c.Places.size(); ++i) {
      EXPECT_EQ(rows.Cells[i].Row, c.Places[i].Row) << c.Name << ", button " << i;
      EXPECT_EQ(rows.Cells[i].Offset, c.Places[i].Offset) << c.Name << ", button " << i;
      EXPECT_EQ(rows.Cells[i].Width, std::max(c.Widths[i], 0)) << c.Name << ", button " << i;
    }
  }
}

// Across widths from narrow to wide: no button but a row's first ever crosses the row's
// end, and the rows only grow as the bar narrows.
TEST(MenuBarRowsTest, OnlyARowsFirstButtonCrossesItsEnd) {
  const std::vector<int> widths{44, 46, 62, 38, 52, 70};
  int rowsBefore = 1;
  for (int bar = 400; bar >= 20; bar -= 7) {
    const TMenuBarRows rows = WrapMenuBar(widths, bar, 8, 24);
    for (std::size_t i = 0; i < widths.size(); ++i) {
      const TMenuBarCell& cell = rows.Cells[i];
      const int end = bar - (cell.Row == 0 ? 24 : 0);
      if (cell.Offset != 8) {
        EXPECT_LE(cell.Offset + cell.Width, end) << "bar " << bar << ", button " << i;
      }
      if (i > 0) {
        EXPECT_GE(cell.Row, rows.Cells[i - 1].Row);
      }
    }
    EXPECT_GE(rows.RowCount, rowsBefore) << "bar " << bar;
    rowsBefore = rows.RowCount;
  }
  EXPECT_EQ(rowsBefore, int(widths.size()));
}

}  // namespace
}  // namespace kv
