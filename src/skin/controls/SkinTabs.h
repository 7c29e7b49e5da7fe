#pragma once
// TSkinTab and TSkinTab31 paint tab headers from the skin's Tabs pictures.
//
//   TSkinTab    the platform's tab control (page controls, tab controls), attached by
//               handle: the control paints first, then the skin covers its tab strip
//               (any of the four sides) and draws the page frame from the Border picture,
//               both off-screen, so that only the skin's tabs reach the screen
//   TSkinTab31  our own tab set, painted whole; its scroller gets an up-down skin
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "base/win/Handles.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/PixelBitmap.h"

namespace kv {

class TTabScroller;

// Which side the tabs hang on, from the tab control's style.
enum class TTabSide : std::uint8_t { tsTop = 0, tsBottom = 1, tsLeft = 2, tsRight = 3 };
TTabSide TabSideOfStyle(LONG_PTR style);

class TSkinTab : public TSkinControl {
 public:
  TSkinTab();
  ~TSkinTab() override;
  std::string_view ClassName() const override { return "TSkinTab"; }

  void AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas) override;
  // Paints composed: the platform's tabs are never on the screen.
  bool BeforeMessage(TMessage& message) override;
  // The tab strip composed off-screen over the control's own, then the page frame.
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TTabSide Orientation() const { return FOrientation; }
  // The skin of the control's scroll arrows, once it has shown them.
  TSkinControl* UpDown() const { return FUpDown; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The Tabs and Border pictures turned for the current side.
  void PrepareStrips();
  void ReadOrientation();
  // Skins the scroll arrows when they exist; answers whether they are visible.
  bool FindUpDown();
  void DrawTab(HDC dc, const RECT& rect, int frame);
  // The off-screen bitmap of the strip, at least width x height; null without memory.
  HDC TabBuffer(int width, int height);

  TPixelBitmap FTabStrip;
  TPixelBitmap FBorderStrip;
  TMemoryDc FBufferDc;
  TBitmapHandle FTabBuffer;
  HGDIOBJ FBufferOriginal = nullptr;
  int FBufferWidth = 0, FBufferHeight = 0;
  TTabSide FOrientation = TTabSide::tsTop;
  TSkinControl* FUpDown = nullptr;
};

class TSkinTab31 : public TSkinControl {
 public:
  TSkinTab31();
  std::string_view ClassName() const override { return "TSkinTab31"; }

  void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) override;
  // Paints on WM_PAINT itself and lets the control go on; swallows WM_ERASEBKGND.
  bool BeforeMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TSkinControl* UpDown() const { return FUpDown; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void PrepareStrip();
  void DrawTab(HDC dc, const RECT& rect, int frame);

  TPixelBitmap FTabStrip;
  TSkinControl* FUpDown = nullptr;
  TTabScroller* FScroller = nullptr;
};

}  // namespace kv
