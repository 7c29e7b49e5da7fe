#pragma once
// Whole windows, frame included, against pictures stored in tests/golden/pictures (PNG).
//
// Pictures of a window shown at another display scale than 96 DPI carry it in their name
// (editor-koravent-page1-active@144.png): the 96-DPI ones keep their plain names.
//
// A picture that differs is written beside the stored one as <name>.actual.png, with
// <name>.diff.png (the stored picture dimmed, every differing pixel red), and the failure
// names both. KV_UPDATE_GOLDEN=1 writes every picture anew instead of comparing.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "skin/data/PixelBitmap.h"

namespace kv::test {

inline constexpr int kGoldenTolerance = 8;              // per channel: rendering noise only
inline constexpr std::uint32_t kGoldenMask = 0xFF00FF;  // what neither side is compared at

// A path of the source tree as this program sees it: under Wine "/" is drive Z:.
std::filesystem::path SourceTreePath(std::string unixPath);
// `name` as stored for a window at `dpi`.
std::string GoldenName(const std::string& name, int dpi);
// The stored pictures' folder.
std::filesystem::path GoldenDir();
bool UpdatingGoldens();

// `actual` against <GoldenDir>/<name>.png; pixels that are kGoldenMask in either picture
// are not compared. When updating, stores `actual` instead.
::testing::AssertionResult MatchesGolden(const TPixelBitmap& actual, const std::string& name,
                                         int tolerance = kGoldenTolerance);
// The same comparison, never storing: for a window that must look like another one's
// picture. Its failures are written as <shownAs>.actual.png and .diff.png.
::testing::AssertionResult ComparedWithGolden(const TPixelBitmap& actual, const std::string& name,
                                              const std::string& shownAs, int tolerance = kGoldenTolerance);

// The whole window (black outside its region) once nothing is left to paint and three
// captures in a row agree; `mask` may paint over what changes by itself (a clock).
// Nothing after `ms`.
std::optional<TPixelBitmap> SettledWindow(HWND wnd, const std::function<void(TPixelBitmap&)>& mask = {},
                                          int ms = 10000);

// A rectangle of `wnd`'s client area in the coordinates of its whole-window capture.
Rect ClientToWindowCapture(HWND wnd, const RECT& client);

// A plain top-level window far off the screen that takes the activation, so that the
// window under test shows its inactive frame without anything covering it.
class TActivationThief {
 public:
  TActivationThief();
  // Makes the thief the foreground window; false when it did not become it.
  bool Activate();
  HWND Handle() const { return FWindow.Get(); }

 private:
  TWindowHandle FWindow;
};

// A window with pages, each page compared with its stored pictures while the window is
// active and again while another window is: "<Name>-<page name>-active" and "-inactive".
struct TPagedWindow {
  HWND Window = nullptr;
  std::string Name;
  std::vector<std::string> PageNames;
  std::function<void(int page, bool active)> ShowPage;
  std::function<bool()> IsActive;  // as the frame shows it
  std::function<void(TPixelBitmap&)> Mask;
  int Dpi = 96;  // the scale the window is shown at: part of the pictures' names
};
// Also checks that the first page's inactive picture differs from its active one.
void CheckEveryPage(const TPagedWindow& window);

}  // namespace kv::test
