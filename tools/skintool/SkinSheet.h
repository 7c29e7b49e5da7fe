#pragma once
// `skintool sheet`: every picture of a skin on one contact sheet, so a person can judge
// the skin at a glance. One row per BMP entry in container order, numbered at the left;
// each picture drawn at 2x with a 1-pixel line around it and between its frames (the
// frame counts the model gives), magenta shown as a checkerboard, on a neutral ground.
#include <cstdint>
#include <string>
#include <vector>

#include "SkinOpened.h"
#include "skin/data/PixelBitmap.h"

namespace kv {

inline constexpr int kSheetZoom = 2;
inline constexpr int kSheetPadding = 8;      // around the sheet and between rows
inline constexpr int kSheetLabelWidth = 40;  // the row numbers' column
inline constexpr int kSheetCheckerSize = 4;  // sheet pixels per checkerboard square
inline constexpr std::uint32_t kSheetBackground = 0x5A5A5A;
inline constexpr std::uint32_t kSheetLine = 0xFF7A00;  // outline and frame separators (orange)
inline constexpr std::uint32_t kSheetCheckerLight = 0xF4F4F4;
inline constexpr std::uint32_t kSheetCheckerDark = 0xCCCCCC;
inline constexpr std::uint32_t kSheetLabel = 0xFFFFFF;

struct TSheetRow {
  int FNumber = 0;    // as printed beside the row
  std::string FName;  // entry name as stored
  int FWidth = 0;     // the picture's own size
  int FHeight = 0;
  int FFrames = 1;
  bool FVertical = false;
  Rect FOutline;  // the 1-pixel line around the drawn picture, on the sheet
};

struct TContactSheet {
  TPixelBitmap FSheet;  // empty when the pictures would not fit one bitmap
  std::vector<TSheetRow> FRows;
  std::vector<std::string> FSkipped;  // BMP entries that are no readable picture or fit no sheet
};

TContactSheet BuildContactSheet(const TOpenedSkin& skin);

// The sheet colour of a picture pixel at sheet position (x, y): magenta becomes the
// checkerboard, anything else stays.
std::uint32_t SheetPixel(std::uint32_t pixel, int x, int y);

}  // namespace kv
