#include "SkinGen.h"

#include <algorithm>

#include "SkinPalette.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"

namespace kv::skingen {

std::vector<TSkinPicture> MakeSkinPictures() {
  std::vector<TSkinPicture> pictures;
  AddFramePictures(pictures);
  AddMenuPictures(pictures);
  AddButtonPictures(pictures);
  AddControlPictures(pictures);
  std::sort(pictures.begin(), pictures.end(), [](const TSkinPicture& a, const TSkinPicture& b) { return a.Name < b.Name; });
  return pictures;
}

std::vector<TSkinFile> MakeSkinFiles() {
  std::vector<TSkinFile> files{{kDefinitionName, MakeSkinDefinition()}};
  for (const TSkinPicture& p : MakeSkinPictures()) files.push_back({p.Name, WriteBmp24(p.Bitmap)});
  return files;
}

bool WriteSkinFolder(const std::filesystem::path& dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    error = "cannot create " + PathToUtf8(dir) + ": " + ec.message();
    return false;
  }
  for (const TSkinFile& f : MakeSkinFiles())
    if (!ReplaceFileContents(dir / f.FName, f.FData)) {
      error = "cannot write " + PathToUtf8(dir / f.FName);
      return false;
    }
  return true;
}

TPixelBitmap RenderContactSheet(const std::vector<TSkinPicture>& unsorted, int zoom) {
  // Pictures of like height share a shelf; the sheet is as wide as the widest picture needs.
  std::vector<TSkinPicture> pictures = unsorted;
  std::stable_sort(pictures.begin(), pictures.end(), [](const TSkinPicture& a, const TSkinPicture& b) {
    return a.Bitmap.Height() < b.Bitmap.Height();
  });
  constexpr int kGap = 14;
  int sheetWidth = 1200;
  for (const TSkinPicture& p : pictures) sheetWidth = std::max(sheetWidth, p.Bitmap.Width() * zoom + 2 + 2 * kGap);
  const TRgb background{168, 170, 172}, grid{224, 226, 228};
  // Shelf layout: left to right, a new shelf when the next picture does not fit.
  struct TPlace { int X, Y; };
  std::vector<TPlace> places;
  int x = kGap, y = kGap, shelf = 0;
  for (const TSkinPicture& p : pictures) {
    const int w = p.Bitmap.Width() * zoom + 2, h = p.Bitmap.Height() * zoom + 2;
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
    const TPixelBitmap& b = pictures[i].Bitmap;
    const int x0 = places[i].X + 1, y0 = places[i].Y + 1;
    for (int py = 0; py < b.Height() * zoom; ++py)
      for (int px = 0; px < b.Width() * zoom; ++px) sheet.SetPixel(x0 + px, y0 + py, b.Pixel(px / zoom, py / zoom));
    // The grid: a frame around the picture and a line between state frames.
    const int w = b.Width() * zoom, h = b.Height() * zoom, n = std::max(1, pictures[i].Frames);
    sheet.FillRect({x0 - 1, y0 - 1, x0 + w + 1, y0}, grid.Pixel());
    sheet.FillRect({x0 - 1, y0 + h, x0 + w + 1, y0 + h + 1}, grid.Pixel());
    sheet.FillRect({x0 - 1, y0, x0, y0 + h}, grid.Pixel());
    sheet.FillRect({x0 + w, y0, x0 + w + 1, y0 + h}, grid.Pixel());
    for (int k = 1; k < n; ++k) {
      if (pictures[i].Vertical) {
        const int fy = y0 + k * (b.Height() / n) * zoom;
        sheet.FillRect({x0, fy, x0 + w, fy + 1}, grid.Pixel());
      } else {
        const int fx = x0 + k * (b.Width() / n) * zoom;
        sheet.FillRect({fx, y0, fx + 1, y0 + h}, grid.Pixel());
      }
    }
  }
  return sheet;
}

}  // namespace kv::skingen
