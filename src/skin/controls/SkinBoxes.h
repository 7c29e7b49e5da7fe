#pragma once
// Column headers, containers and bare dialog scroll bars: TSkinHeader paints a header
// control's items from the skin, TSkinBox gives panels and group boxes the skin's face
// colour, TSkinSizer outlines a bare scroll-bar window of a system dialog.
#include <windows.h>

#include <string>
#include <string_view>

#include "skin/controls/SkinControl.h"

namespace kv {

// The longest item text a header skin reads, in UTF-16 units.
inline constexpr int kHeaderTextLength = 200;

// What a header skin reads of one item.
struct THeaderItem {
  std::wstring Text;
  UINT Alignment = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
  int ImageIndex = -1;       // -1 unless the item shows an image (HDF_IMAGE or HDF_OWNERDRAW)
};

// Item `index` of `header` (text cut at kHeaderTextLength units, never inside a
// surrogate pair). A text the header keeps for its parent to supply comes back empty.
THeaderItem ReadHeaderItem(HWND header, int index);

// The header of a list view (the list view skin makes one for it). The header paints
// itself first; on WM_PAINT the skin paints every item over it, composed off-screen.
class TSkinHeader : public TSkinControl {
 public:
  TSkinHeader() : TSkinControl(TControlSkinKind::skHeader) {}
  std::string_view ClassName() const override { return "TSkinHeader"; }

  // The bare-window attach, registered with the host as well.
  void AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas) override;
  // Takes WM_ERASEBKGND while the skin has a header picture.
  bool BeforeMessage(TMessage& message) override;
  // Every item, then the strip right of the last one in the header look.
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  // Item `index` over `r` of the canvas: its background, then image and text.
  void DrawHeaderItem(HIMAGELIST images, TCanvas& canvas, int index, const RECT& r);
};

// Panels, group boxes, radio groups: recoloured to the skin's face colour. A group box
// (radio and check groups too) is hooked as well, to write its caption in the skin's text
// colour where a visual style wrote it in its own.
class TSkinBox : public TSkinControl {
 public:
  TSkinBox() : TSkinControl(TControlSkinKind::skBox) {}
  std::string_view ClassName() const override { return "TSkinBox"; }

  // The colour, and for a group box the hook (the base's Detach gives both back).
  void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) override;
  // After the box painted (WM_PAINT, WM_PRINTCLIENT): its caption again, see DrawGroupCaption.
  void AfterMessage(TMessage& message) override;

 private:
  void DrawGroupCaption(HDC dc);
};

// A bare "scrollbar" window of a system dialog: a one-pixel outline in the skin's shadow
// colour; what is inside is not drawn.
class TSkinSizer : public TSkinControl {
 public:
  TSkinSizer() : TSkinControl(TControlSkinKind::skSizer) {}
  std::string_view ClassName() const override { return "TSkinSizer"; }

  // Takes WM_PAINT and WM_ERASEBKGND from the window.
  bool BeforeMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

}  // namespace kv
