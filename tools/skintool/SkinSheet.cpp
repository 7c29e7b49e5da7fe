#include "SkinSheet.h"

#include <algorithm>
#include <optional>

#include "base/ByteText.h"
#include "skin/data/BmpCodec.h"

namespace kv {
namespace {

constexpr std::uint32_t kMagentaPixel = PixelOf(kKeyColor);

// Digits 0-9, 3 x 5 pixels, one row per 3 bits (the high bit is the left pixel).
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};
constexpr int kDigitScale = 2;
constexpr int kDigitAdvance = 4 * kDigitScale;

void DrawNumber(TPixelBitmap& sheet, int x, int y, int number) {
  const std::string text = std::to_string(number);
  for (char ch : text) {
    const auto& glyph = kDigits[ch - '0'];
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (glyph[row] & (4 >> col))
          sheet.FillRect(
              {x + col * kDigitScale, y + row * kDigitScale, x + (col + 1) * kDigitScale, y + (row + 1) * kDigitScale},
              kSheetLabel);
    x += kDigitAdvance;
  }
}

// The pieces of a strip along its frame axis: the frames, then any pixels left over.
std::vector<std::pair<int, int>> Segments(int extent, int frames) {
  if (frames < 1 || extent / frames < 1) frames = 1;
  const int size = extent / frames;
  std::vector<std::pair<int, int>> pieces;
  for (int i = 0; i < frames; ++i) pieces.emplace_back(i * size, size);
  if (frames * size < extent) pieces.emplace_back(frames * size, extent - frames * size);
  return pieces;
}

// Sheet size of a drawn picture, outline included.
std::pair<int, int> DrawnSize(const TPixelBitmap& b, int frames, bool vertical) {
  const int along = vertical ? b.Height() : b.Width();
  const int across = vertical ? b.Width() : b.Height();
  const int pieces = int(Segments(along, frames).size());
  const int drawnAlong = along * kSheetZoom + (pieces - 1) + 2;
  const int drawnAcross = across * kSheetZoom + 2;
  return vertical ? std::pair{drawnAcross, drawnAlong} : std::pair{drawnAlong, drawnAcross};
}

void DrawPicture(TPixelBitmap& sheet, const TPixelBitmap& b, const TSheetRow& row) {
  const Rect& o = row.FOutline;
  sheet.FillRect(o, kSheetLine);
  int offset = 1;  // along the frame axis, past the outline
  for (const auto& [start, length] : Segments(row.FVertical ? b.Height() : b.Width(), row.FFrames)) {
    for (int s = start; s < start + length; ++s) {
      const int across = row.FVertical ? b.Width() : b.Height();
      for (int t = 0; t < across; ++t) {
        const std::uint32_t pixel = row.FVertical ? b.Pixel(t, s) : b.Pixel(s, t);
        for (int dy = 0; dy < kSheetZoom; ++dy)
          for (int dx = 0; dx < kSheetZoom; ++dx) {
            const int along = offset + (s - start) * kSheetZoom;
            const int x = o.Left + (row.FVertical ? 1 + t * kSheetZoom : along) + dx;
            const int y = o.Top + (row.FVertical ? along : 1 + t * kSheetZoom) + dy;
            sheet.SetPixel(x, y, SheetPixel(pixel, x, y));
          }
      }
    }
    offset += length * kSheetZoom + 1;  // the separator (or, last, the outline)
  }
}

}  // namespace

std::uint32_t SheetPixel(std::uint32_t pixel, int x, int y) {
  if (pixel != kMagentaPixel) return pixel;
  return ((x / kSheetCheckerSize + y / kSheetCheckerSize) & 1) ? kSheetCheckerDark : kSheetCheckerLight;
}

TContactSheet BuildContactSheet(const TOpenedSkin& skin) {
  TContactSheet result;
  std::vector<TPixelBitmap> pictures;
  std::int64_t width = 0, height = kSheetPadding;
  // Drawn at 2x, pictures of more than a quarter of the largest bitmap's pixels in all
  // never fit one sheet: the rest are not even decoded.
  std::int64_t room = TPixelBitmap::kMaxPixels / (kSheetZoom * kSheetZoom);
  for (const TSkinEntry& entry : skin.Entries()) {
    const std::string lower = AsciiLowerCase(entry.FName);
    if (lower.size() < 4 || lower.substr(lower.size() - 4) != ".bmp") continue;
    if (BmpHeaderPixels(entry.FData) > room) {
      result.FSkipped.push_back(entry.FName);
      continue;
    }
    std::optional<TPixelBitmap> picture = ReadBmp(entry.FData);
    if (!picture) {
      result.FSkipped.push_back(entry.FName);
      continue;
    }
    TSheetRow row;
    row.FNumber = int(result.FRows.size()) + 1;
    row.FName = entry.FName;
    row.FWidth = picture->Width();
    row.FHeight = picture->Height();
    if (!entry.FShadowed)
      for (const TPictureUse& use : skin.Uses())
        if (use.FEntry == lower) {
          row.FFrames = std::max(use.FFrames, 1);
          row.FVertical = use.FVertical;
          break;
        }
    const auto [w, h] = DrawnSize(*picture, row.FFrames, row.FVertical);
    const int left = kSheetPadding + kSheetLabelWidth;
    if (height + h > TPixelBitmap::kMaxSide || left + w > TPixelBitmap::kMaxSide) {
      result.FSkipped.push_back(entry.FName);  // would not fit any sheet
      continue;
    }
    room -= std::int64_t(picture->Width()) * picture->Height();
    row.FOutline = {left, int(height), left + w, int(height) + h};
    width = std::max<std::int64_t>(width, left + w + kSheetPadding);
    height += h + kSheetPadding;
    result.FRows.push_back(row);
    pictures.push_back(std::move(*picture));
  }
  width = std::max<std::int64_t>(width, 2 * kSheetPadding + kSheetLabelWidth);
  if (!TPixelBitmap::SizeAllowed(width, height)) return result;
  result.FSheet = TPixelBitmap(int(width), int(height), kSheetBackground);
  for (std::size_t i = 0; i < result.FRows.size(); ++i) {
    const TSheetRow& row = result.FRows[i];
    DrawNumber(result.FSheet, kSheetPadding, row.FOutline.Top + 1, row.FNumber);
    DrawPicture(result.FSheet, pictures[i], row);
  }
  return result;
}

}  // namespace kv
