#include "support/PixelCheck.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "base/win/Dc.h"
#include "skin/data/BmpCodec.h"
#include "skin/gdi/SkinGdi.h"

namespace kv::test {

namespace {

TPixelBitmap Capture(const TWindowDc& dc, const RECT& r) {
  if (!dc) return TPixelBitmap();
  return ReadDcPixels(dc.Get(), Rect{0, 0, r.right - r.left, r.bottom - r.top});
}

std::filesystem::path BesideTheProgram(const std::string& file) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path() / file;
}

void WriteBmp(const TPixelBitmap& picture, const std::string& file) {
  std::ofstream out(BesideTheProgram(file), std::ios::binary);
  const std::string bytes = WriteBmp24(picture);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Hex(std::uint32_t pixel) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", pixel & 0xFFFFFFu);
  return text;
}

bool Close(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

}  // namespace

TPixelBitmap CaptureClient(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return Capture(TWindowDc::Client(wnd), r);
}

TPixelBitmap CaptureWindow(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return Capture(TWindowDc::Whole(wnd), r);
}

TPixelBitmap CaptureWindowShown(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  const TWindowDc dc = TWindowDc::Whole(wnd);
  if (!dc) return TPixelBitmap();
  SetLayout(dc.Get(), 0);  // the DC goes back to the system on release
  return Capture(dc, r);
}

TPixelBitmap PrintedWindow(HWND wnd, bool clientOnly) {
  RECT r{};
  if (clientOnly) {
    GetClientRect(wnd, &r);
  } else {
    GetWindowRect(wnd, &r);
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  const TWindowDc screen = TWindowDc::Screen();
  TMemoryDc memory(CreateCompatibleDC(screen.Get()));
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
  if (!memory || !bitmap) return TPixelBitmap();
  TSelectGuard select(memory.Get(), bitmap.Get());
  PrintWindow(wnd, memory.Get(), clientOnly ? PW_CLIENTONLY : 0);
  return ReadDcPixels(memory.Get(), Rect{0, 0, w, h});
}

::testing::AssertionResult PixelsMatchAt(const TPixelBitmap& expected, const TPixelBitmap& actual, const Rect& area,
                                         const std::string& name, int tolerance) {
  if (area.Width() != expected.Width() || area.Height() != expected.Height() || area.Left < 0 || area.Top < 0 ||
      area.Right > actual.Width() || area.Bottom > actual.Height())
    return ::testing::AssertionFailure() << name << ": the expected " << expected.Width() << "x" << expected.Height()
                                         << " picture does not fit at (" << area.Left << ", " << area.Top << ") of the "
                                         << actual.Width() << "x" << actual.Height() << " capture";
  TPixelBitmap part(expected.Width(), expected.Height());
  CopyPixels(part, 0, 0, actual, area);
  return PixelsMatch(expected, part, name, tolerance);
}

::testing::AssertionResult PixelsMatch(const TPixelBitmap& expected, const TPixelBitmap& actual,
                                       const std::string& name, int tolerance) {
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    WriteBmp(expected, name + ".expected.bmp");
    WriteBmp(actual, name + ".actual.bmp");
    return ::testing::AssertionFailure() << name << ": expected a " << expected.Width() << "x" << expected.Height()
                                         << " picture, got " << actual.Width() << "x" << actual.Height();
  }
  TPixelBitmap diff(expected.Width(), expected.Height(), 0xFFFFFF);
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      if (Close(expected.Pixel(x, y), actual.Pixel(x, y), tolerance)) continue;
      diff.SetPixel(x, y, 0xFF0000);
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  if (differing == 0) return ::testing::AssertionSuccess();
  WriteBmp(expected, name + ".expected.bmp");
  WriteBmp(actual, name + ".actual.bmp");
  WriteBmp(diff, name + ".diff.bmp");
  return ::testing::AssertionFailure() << name << ": " << differing << " pixel(s) differ; the first at (" << firstX
                                       << ", " << firstY << "): expected " << Hex(expected.Pixel(firstX, firstY))
                                       << ", got " << Hex(actual.Pixel(firstX, firstY)) << "; pictures written to "
                                       << BesideTheProgram(name + ".*.bmp").string();
}

int CountInk(const TPixelBitmap& picture, const Rect& area, std::uint32_t ink, std::uint32_t ground) {
  const auto distance = [](std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
      sum += d * d;
    }
    return sum;
  };
  int count = 0;
  for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, picture.Height()); ++y)
    for (int x = std::max(area.Left, 0); x < std::min(area.Right, picture.Width()); ++x)
      if (distance(picture.Pixel(x, y), ink) < distance(picture.Pixel(x, y), ground)) ++count;
  return count;
}

int TInkColumns::Total() const { return std::accumulate(Counts.begin(), Counts.end(), 0); }

TInkColumns InkColumns(const TPixelBitmap& picture, const Rect& area, std::uint32_t ink) {
  TInkColumns result;
  const Rect a{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, picture.Width()),
               std::min(area.Bottom, picture.Height())};
  if (a.Width() <= 0 || a.Height() <= 0) return result;
  result.Counts.assign(std::size_t(area.Width()), 0);
  std::vector<std::uint32_t> row;
  for (int y = a.Top; y < a.Bottom; ++y) {
    row.clear();
    for (int x = a.Left; x < a.Right; ++x) row.push_back(picture.Pixel(x, y) & 0xFFFFFFu);
    std::vector<std::uint32_t> sorted = row;
    std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
    const std::uint32_t ground = sorted[sorted.size() / 2];
    for (int x = a.Left; x < a.Right; ++x)
      if (CountInk(picture, {x, y, x + 1, y + 1}, ink, ground) == 1) ++result.Counts[std::size_t(x - area.Left)];
  }
  for (std::size_t x = 0; x < result.Counts.size(); ++x) {
    if (result.Counts[x] == 0) continue;
    if (result.First < 0) result.First = int(x);
    result.Last = int(x);
  }
  return result;
}

TInkColumns ReferenceInk(const std::wstring& text, HFONT font, std::uint32_t ink, std::uint32_t ground) {
  const TWindowDc screen = TWindowDc::Screen();
  TMemoryDc memory(CreateCompatibleDC(screen.Get()));
  SIZE extent{};
  {
    const TSelectGuard measuring(screen.Get(), font);
    GetTextExtentPoint32W(screen.Get(), text.c_str(), int(text.size()), &extent);
  }
  const int w = int(extent.cx) + 8, h = int(extent.cy) + 4;
  // The bitmap first: a font selected into a monochrome DC is made without smoothing.
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectGuard selectBitmap(memory.Get(), bitmap.Get());
  TSelectGuard selectFont(memory.Get(), font);
  CopyToDc(memory.Get(), 0, 0, TPixelBitmap(w, h, ground));
  SetBkMode(memory.Get(), TRANSPARENT);
  SetTextColor(memory.Get(), ColorOf(ink));
  RECT at{4, 2, w, h};
  DrawTextW(memory.Get(), text.c_str(), int(text.size()), &at, DT_SINGLELINE | DT_NOPREFIX);
  const TPixelBitmap drawn = ReadDcPixels(memory.Get(), {0, 0, w, h});
  return InkColumns(drawn, drawn.Bounds(), ink);
}

int InkDistance(const TInkColumns& shown, const TInkColumns& reference, bool reversed) {
  const int span = std::max(shown.Width(), reference.Width());
  int distance = 0;
  for (int i = 0; i < span; ++i) {
    const int s = shown.First + i;
    const int r = reversed ? reference.Last - i : reference.First + i;
    const int a = s >= 0 && s < int(shown.Counts.size()) && i < shown.Width() ? shown.Counts[std::size_t(s)] : 0;
    const int b =
        r >= 0 && r < int(reference.Counts.size()) && i < reference.Width() ? reference.Counts[std::size_t(r)] : 0;
    distance += std::abs(a - b);
  }
  return distance;
}

::testing::AssertionResult RingIs(const TPixelBitmap& picture, const Rect& area, std::uint32_t pixel,
                                  const std::string& name) {
  if (area.Left < 0 || area.Top < 0 || area.Right > picture.Width() || area.Bottom > picture.Height() ||
      area.Width() < 2 || area.Height() < 2)
    return ::testing::AssertionFailure() << name << ": the ring lies outside the picture";
  int wrong = 0, firstX = 0, firstY = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const bool edge = x == area.Left || x == area.Right - 1 || y == area.Top || y == area.Bottom - 1;
      if (!edge || picture.Pixel(x, y) == (pixel & 0xFFFFFFu)) continue;
      if (wrong++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << ": " << wrong << " ring pixel(s) are not " << Hex(pixel)
                                       << "; the first at (" << firstX << ", " << firstY << ") is "
                                       << Hex(picture.Pixel(firstX, firstY));
}

::testing::AssertionResult DiffersByDottedRing(const TPixelBitmap& with, const TPixelBitmap& without,
                                               const std::string& name, Rect* ring) {
  if (with.Width() != without.Width() || with.Height() != without.Height())
    return ::testing::AssertionFailure() << name << ": the pictures differ in size";
  Rect box{with.Width(), with.Height(), -1, -1};
  int differing = 0;
  for (int y = 0; y < with.Height(); ++y)
    for (int x = 0; x < with.Width(); ++x) {
      if (with.Pixel(x, y) == without.Pixel(x, y)) continue;
      ++differing;
      box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    }
  if (differing == 0) return ::testing::AssertionFailure() << name << ": no ring, the pictures are the same";
  if (box.Width() < 6 || box.Height() < 6)
    return ::testing::AssertionFailure() << name << ": what differs spans only " << box.Width() << "x" << box.Height();
  int sides[4] = {};  // left, top, right, bottom
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      if (with.Pixel(x, y) == without.Pixel(x, y)) continue;
      const bool edge = x == box.Left || x == box.Right - 1 || y == box.Top || y == box.Bottom - 1;
      if (!edge)
        return ::testing::AssertionFailure() << name << ": (" << x << ", " << y << ") inside the ring "
                                             << box.Left << "," << box.Top << "-" << box.Right << "," << box.Bottom
                                             << " differs too";
      sides[0] += x == box.Left;
      sides[1] += y == box.Top;
      sides[2] += x == box.Right - 1;
      sides[3] += y == box.Bottom - 1;
    }
  const int lengths[4] = {box.Height(), box.Width(), box.Height(), box.Width()};
  for (int i = 0; i < 4; ++i)
    if (sides[i] * 3 < lengths[i])
      return ::testing::AssertionFailure() << name << ": side " << i << " of the ring has " << sides[i] << " of "
                                           << lengths[i] << " pixels";
  if (ring) *ring = box;
  return ::testing::AssertionSuccess();
}

Rect BoxCaptionArea(HWND box) {
  const int length = GetWindowTextLengthW(box);
  std::wstring text(std::size_t(std::max(length, 0)) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(box, text.data(), length + 1)));
  const TWindowDc dc = TWindowDc::Client(box);
  if (!dc) return {};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &extent);
  SelectObject(dc.Get(), old);
  return {8, 0, 8 + int(extent.cx), int(extent.cy)};
}

}  // namespace kv::test
