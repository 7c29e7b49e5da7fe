#include "GoldenPicture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "PngFile.h"
#include "TestUtil.h"
#include "support/PixelCheck.h"

namespace kv::test {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kDiffMark = 0xFF0000;

bool Close(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// A third of the stored picture's brightness, so that the red marks stand out and the
// window can still be recognised around them.
std::uint32_t Dimmed(std::uint32_t p) {
  const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  const std::uint32_t grey = (r * 30 + g * 59 + b * 11) / 300;
  return (grey << 16) | (grey << 8) | grey;
}

// Pixels outside the window's region are not on the screen: a capture reads there whatever
// the window's surface last held. They are made black, so that the region's shape is what
// gets compared.
void BlackenOutsideRegion(HWND wnd, TPixelBitmap& shot) {
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  if (!region) return;
  const int kind = GetWindowRgn(wnd, region.Get());
  if (kind != SIMPLEREGION && kind != COMPLEXREGION) return;
  const DWORD size = GetRegionData(region.Get(), 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return;
  std::vector<std::uint8_t> bytes(size);
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (GetRegionData(region.Get(), size, data) == 0) return;
  TPixelBitmap inside(shot.Width(), shot.Height(), 0);
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    inside.FillRect({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom}, 1);
  std::span<std::uint32_t> pixels = shot.Pixels();
  std::span<const std::uint32_t> in = std::as_const(inside).Pixels();
  for (std::size_t i = 0; i < pixels.size(); ++i)
    if (!in[i]) pixels[i] = 0;
}

std::string Hex(std::uint32_t pixel) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", pixel & 0xFFFFFFu);
  return text;
}

}  // namespace

fs::path SourceTreePath(std::string unixPath) {
  if (!unixPath.empty() && unixPath.front() == '/') {
    std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
    unixPath = "Z:" + unixPath;
  }
  return fs::path(unixPath);
}

std::string GoldenName(const std::string& name, int dpi) {
  return dpi == 96 ? name : name + "@" + std::to_string(dpi);
}

fs::path GoldenDir() { return SourceTreePath(KV_GOLDEN_DIR); }

bool UpdatingGoldens() {
  const char* value = std::getenv("KV_UPDATE_GOLDEN");
  return value && std::string(value) == "1";
}

::testing::AssertionResult MatchesGolden(const TPixelBitmap& actual, const std::string& name, int tolerance) {
  if (!UpdatingGoldens()) return ComparedWithGolden(actual, name, name, tolerance);
  const fs::path dir = GoldenDir();
  const fs::path expectedFile = dir / (name + ".png");
  std::error_code ignored;
  fs::remove(dir / (name + ".actual.png"), ignored);  // what an earlier failing run left
  fs::remove(dir / (name + ".diff.png"), ignored);
  if (actual.Empty()) return ::testing::AssertionFailure() << name << ": nothing was captured";
  fs::create_directories(dir, ignored);
  if (!SavePngFile(expectedFile, actual))
    return ::testing::AssertionFailure() << name << ": cannot write " << expectedFile.string();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ComparedWithGolden(const TPixelBitmap& actual, const std::string& name,
                                              const std::string& shownAs, int tolerance) {
  const fs::path dir = GoldenDir();
  const fs::path expectedFile = dir / (name + ".png");
  const fs::path actualFile = dir / (shownAs + ".actual.png");
  const fs::path diffFile = dir / (shownAs + ".diff.png");
  std::error_code ignored;
  fs::remove(actualFile, ignored);  // what an earlier failing run left
  fs::remove(diffFile, ignored);
  if (actual.Empty()) return ::testing::AssertionFailure() << name << ": nothing was captured";

  std::string error;
  const std::optional<TPixelBitmap> expected = LoadPngFile(expectedFile, &error);
  if (!expected)
    return ::testing::AssertionFailure() << name << ": no stored picture at " << expectedFile.string() << " (" << error
                                         << "); KV_UPDATE_GOLDEN=1 writes it";
  if (expected->Width() != actual.Width() || expected->Height() != actual.Height()) {
    SavePngFile(actualFile, actual);
    return ::testing::AssertionFailure() << name << ": the stored picture is " << expected->Width() << "x"
                                         << expected->Height() << ", the window " << actual.Width() << "x"
                                         << actual.Height() << "; see " << actualFile.string();
  }

  TPixelBitmap diff(expected->Width(), expected->Height());
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x) {
      const std::uint32_t want = expected->Pixel(x, y), got = actual.Pixel(x, y);
      const bool masked = want == kGoldenMask || got == kGoldenMask;
      if (masked || Close(want, got, tolerance)) {
        diff.SetPixel(x, y, Dimmed(want));
        continue;
      }
      diff.SetPixel(x, y, kDiffMark);
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  if (differing == 0) return ::testing::AssertionSuccess();
  SavePngFile(actualFile, actual);
  SavePngFile(diffFile, diff);
  return ::testing::AssertionFailure() << name << ": " << differing << " pixel(s) differ; the first at (" << firstX
                                       << ", " << firstY << "): stored " << Hex(expected->Pixel(firstX, firstY))
                                       << ", shown " << Hex(actual.Pixel(firstX, firstY)) << "; see "
                                       << actualFile.string() << " and " << diffFile.string();
}

std::optional<TPixelBitmap> SettledWindow(HWND wnd, const std::function<void(TPixelBitmap&)>& mask, int ms) {
  std::optional<TPixelBitmap> last;
  int same = 0;
  const bool settled = PumpUntil(
      [&] {
        PumpUntil([] { return false; }, 80);
        if (GetUpdateRect(wnd, nullptr, FALSE)) return false;
        TPixelBitmap now = CaptureWindow(wnd);
        BlackenOutsideRegion(wnd, now);
        if (mask) mask(now);
        const bool equal = last && last->Width() == now.Width() && last->Height() == now.Height() &&
                           std::equal(now.Pixels().begin(), now.Pixels().end(), last->Pixels().begin());
        same = equal ? same + 1 : 0;
        last = std::move(now);
        return same >= 2;
      },
      ms);
  if (!settled) return std::nullopt;
  return last;
}

Rect ClientToWindowCapture(HWND wnd, const RECT& client) {
  RECT window{};
  GetWindowRect(wnd, &window);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  return {client.left + dx, client.top + dy, client.right + dx, client.bottom + dy};
}

TActivationThief::TActivationThief() {
  static const wchar_t* const kClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KvGoldenActivationThief";
    RegisterClassW(&wc);
    return wc.lpszClassName;
  }();
  FWindow.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"activation thief", WS_POPUP, -4000, -4000, 16, 16, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr));
}

bool TActivationThief::Activate() {
  HWND wnd = FWindow.Get();
  if (!wnd) return false;
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  SetActiveWindow(wnd);
  return PumpUntil([wnd] { return GetForegroundWindow() == wnd; }, 5000);
}

void CheckEveryPage(const TPagedWindow& window) {
  TActivationThief thief;
  ASSERT_NE(thief.Handle(), nullptr);
  std::optional<TPixelBitmap> firstActive;
  for (const bool active : {true, false}) {
    if (active) {
      SetForegroundWindow(window.Window);
      ASSERT_TRUE(PumpUntil(window.IsActive, 5000)) << window.Name << " never became active";
    } else {
      ASSERT_TRUE(thief.Activate()) << "the helper window never became the foreground window";
      ASSERT_TRUE(PumpUntil([&] { return !window.IsActive(); }, 5000)) << window.Name << " stayed active";
    }
    for (int page = 0; page < int(window.PageNames.size()); ++page) {
      const std::string name = GoldenName(
          window.Name + "-" + window.PageNames[std::size_t(page)] + (active ? "-active" : "-inactive"), window.Dpi);
      SCOPED_TRACE(name);
      window.ShowPage(page, active);
      const std::optional<TPixelBitmap> shot = SettledWindow(window.Window, window.Mask);
      ASSERT_TRUE(shot) << name << " never stopped changing";
      if (page == 0 && active) firstActive = shot;
      if (page == 0 && !active && firstActive) {
        EXPECT_FALSE(firstActive->Width() == shot->Width() && firstActive->Height() == shot->Height() &&
                     std::equal(shot->Pixels().begin(), shot->Pixels().end(), firstActive->Pixels().begin()))
            << name << " looks exactly like the active window";
      }
      EXPECT_TRUE(MatchesGolden(*shot, name));
    }
  }
}

}  // namespace kv::test
