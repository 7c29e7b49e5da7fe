#pragma once
// TSkinStatusBar and TSkinProgress paint their controls completely, composed off-screen
// and copied in one block transfer: the status bar's panels with skinned bevels, their
// texts and the size grip; the progress bar's empty bar and filled part (two frames) or
// its row of chunks.
#include <windows.h>

#include <string_view>

#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinStatusBar : public TSkinControl {
 public:
  TSkinStatusBar() : TSkinControl(TControlSkinKind::skStatusBar) {}
  std::string_view ClassName() const override { return "TSkinStatusBar"; }

  // A framework status bar loses its size grip while skinned.
  void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) override;
  // Takes WM_PAINT and WM_ERASEBKGND from the control.
  bool BeforeMessage(TMessage& message) override;
  // Background, panels (simple mode: one), texts, size grip.
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void DrawPanel(HDC dc, TCanvas& canvas, RECT r, std::wstring_view text, UINT alignment, int bevel);
};

class TSkinProgress : public TSkinControl {
 public:
  TSkinProgress() : TSkinControl(TControlSkinKind::skProgress) {}
  std::string_view ClassName() const override { return "TSkinProgress"; }

  // Takes WM_PAINT only while the skin has a progress picture; WM_ERASEBKGND always.
  bool BeforeMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// The filled width of a bar `width` pixels wide: position over the upper limit, counted
// from the left; nothing when either is not above 0 (the lower limit plays no part).
int ProgressFillWidth(int position, int upper, int width);

}  // namespace kv
