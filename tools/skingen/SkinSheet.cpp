// The contact sheet: every picture enlarged on a neutral sheet, its state frames marked
// by a light grid and its name, size and frame count written above it.
#include <algorithm>
#include <string>

#include "SkinGen.h"
#include "SkinPaint.h"

namespace kv::skingen {
namespace {

// A 3 x 5 pixel font, enough for picture names and sizes.
const char* Glyph(char c) {
  switch (c) {
    case 'a': return ".#.#.#####.##.#";
    case 'b': return "##.#.###.#.###.";
    case 'c': return ".###..#..#...##";
    case 'd': return "##.#.##.##.###.";
    case 'e': return "####..##.#..###";
    case 'f': return "####..##.#..#..";
    case 'g': return ".###..#.##.#.##";
    case 'h': return "#.##.#####.##.#";
    case 'i': return "###.#..#..#.###";
    case 'j': return "..#..#..##.#.#.";
    case 'k': return "#.##.###.#.##.#";
    case 'l': return "#..#..#..#..###";
    case 'm': return "#.########.##.#";
    case 'n': return "##.#.##.##.##.#";
    case 'o': return ".#.#.##.##.#.#.";
    case 'p': return "##.#.###.#..#..";
    case 'q': return ".#.#.##.###..##";
    case 'r': return "##.#.###.#.##.#";
    case 's': return ".###...#...###.";
    case 't': return "###.#..#..#..#.";
    case 'u': return "#.##.##.##.####";
    case 'v': return "#.##.##.##.#.#.";
    case 'w': return "#.##.########.#";
    case 'x': return "#.##.#.#.#.##.#";
    case 'y': return "#.##.#.#..#..#.";
    case 'z': return "###..#.#.#..###";
    case '0': return "####.##.##.####";
    case '1': return ".#.##..#..#.###";
    case '2': return "##...#.#.#..###";
    case '3': return "##...#.#...###.";
    case '4': return "#.##.####..#..#";
    case '5': return "####..##...###.";
    case '6': return ".###..####.####";
    case '7': return "###..#.#..#..#.";
    case '8': return "####.#####.####";
    case '9': return "####.####..###.";
    case '-': return "......###......";
    case '_': return "............###";
    case '.': return ".............#.";
    case '/': return "..#..#.#.#..#..";
    default: return "...............";
  }
}

constexpr int kLetter = 2;             // font pixels are 2 x 2
constexpr int kAdvance = 4 * kLetter;  // 3 columns and a gap
constexpr int kLabelHeight = 5 * kLetter + 8;

void Write(TPixelBitmap& sheet, int x, int y, const std::string& text, TRgb colour) {
  for (char c : text) {
    const std::string_view g = Glyph(c);
    for (int i = 0; i < 15 && i < int(g.size()); ++i)
      if (g[std::size_t(i)] == '#')
        sheet.FillRect(
            {x + (i % 3) * kLetter, y + (i / 3) * kLetter, x + (i % 3 + 1) * kLetter, y + (i / 3 + 1) * kLetter},
            colour.Pixel());
    x += kAdvance;
  }
}

std::string Label(const TSkinPicture& p) {
  return p.Name + " " + std::to_string(p.Bitmap.Width()) + "x" + std::to_string(p.Bitmap.Height()) + " /" +
         std::to_string(p.Frames);
}

}  // namespace

TPixelBitmap RenderContactSheet(const std::vector<TSkinPicture>& unsorted, int zoom) {
  // Pictures of like height share a shelf; the sheet is as wide as the widest picture needs.
  std::vector<TSkinPicture> pictures = unsorted;
  std::stable_sort(pictures.begin(), pictures.end(),
                   [](const TSkinPicture& a, const TSkinPicture& b) { return a.Bitmap.Height() < b.Bitmap.Height(); });
  constexpr int kGap = 16;
  auto blockWidth = [&](const TSkinPicture& p) {
    return std::max(p.Bitmap.Width() * zoom + 2, int(Label(p).size()) * kAdvance);
  };
  int sheetWidth = 1200;
  for (const TSkinPicture& p : pictures) sheetWidth = std::max(sheetWidth, blockWidth(p) + 2 * kGap);
  const TRgb background{168, 170, 172}, grid{224, 226, 228}, ink{40, 44, 48};
  struct TPlace {
    int X, Y;
  };
  std::vector<TPlace> places;
  int x = kGap, y = kGap, shelf = 0;
  for (const TSkinPicture& p : pictures) {
    const int w = blockWidth(p), h = kLabelHeight + p.Bitmap.Height() * zoom + 2;
    if (x + w + kGap > sheetWidth && x > kGap) {
      x = kGap;
      y += shelf + kGap;
      shelf = 0;
    }
    places.push_back({x, y});
    x += w + kGap;
    shelf = std::max(shelf, h);
  }
  TPixelBitmap sheet(sheetWidth, y + shelf + kGap, background.Pixel());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const TSkinPicture& p = pictures[i];
    const TPixelBitmap& b = p.Bitmap;
    Write(sheet, places[i].X, places[i].Y, Label(p), ink);
    const int x0 = places[i].X + 1, y0 = places[i].Y + kLabelHeight + 1;
    for (int py = 0; py < b.Height() * zoom; ++py)
      for (int px = 0; px < b.Width() * zoom; ++px) sheet.SetPixel(x0 + px, y0 + py, b.Pixel(px / zoom, py / zoom));
    const int w = b.Width() * zoom, h = b.Height() * zoom, n = std::max(1, p.Frames);
    sheet.FillRect({x0 - 1, y0 - 1, x0 + w + 1, y0}, grid.Pixel());
    sheet.FillRect({x0 - 1, y0 + h, x0 + w + 1, y0 + h + 1}, grid.Pixel());
    sheet.FillRect({x0 - 1, y0, x0, y0 + h}, grid.Pixel());
    sheet.FillRect({x0 + w, y0, x0 + w + 1, y0 + h}, grid.Pixel());
    // Frame boundaries: short ticks outside the picture, so no pixel of it is hidden.
    for (int k = 1; k < n; ++k) {
      if (p.Vertical) {
        const int fy = y0 + k * (b.Height() / n) * zoom;
        sheet.FillRect({x0 - 5, fy, x0 - 1, fy + 1}, grid.Pixel());
        sheet.FillRect({x0 + w + 1, fy, x0 + w + 5, fy + 1}, grid.Pixel());
      } else {
        const int fx = x0 + k * (b.Width() / n) * zoom;
        sheet.FillRect({fx, y0 + h + 1, fx + 1, y0 + h + 5}, grid.Pixel());
        sheet.FillRect({fx, y0 - 5, fx + 1, y0 - 1}, grid.Pixel());
      }
    }
  }
  return sheet;
}

}  // namespace kv::skingen
