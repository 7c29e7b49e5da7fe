#pragma once
// TWinSkinMenu: the menu bar a skinned frame draws under its caption in place of the
// platform's, one TMenuBtn per top-level item. The form skin's non-client mouse handlers
// make the buttons hot and pressed; a pressed button drops its submenu down with the
// platform's popup tracking, and while it is open a message-filter hook (MenuLoopHook)
// lets the mouse and the arrow keys move from one top-level item to the next.
//
// The bar takes the window's platform menu away (SetMenu none) so the platform neither
// draws nor tracks its own bar; it keeps the handle and gives it back on a normal detach.
//
// Layout, left to right (right to left mirrored from the right edge):
//
//   | x0 | caption + 10 | caption + 10 | ...               [MDI buttons] |
//   | x0 | caption + 10 | ...                                             |
//
// x0 is the MenuBar picture's LeftWidth + 4 (RightWidth + 8 mirrored), 12 when that
// would lie past the bar's end, 6 without a picture. Like the platform's bar it wraps:
// a button that does not fit in the rest of a row starts the next one (WrapMenuBar), each
// row SM_CYMENU high, every row starting at x0; a maximised MDI child's buttons keep the
// end of the first row.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/win/Dpi.h"
#include "base/win/Handles.h"
#include "framework/Classes.h"
#include "framework/Menus.h"
#include "skin/core/SkinHosts.h"
#include "skin/data/MenuBarRows.h"
#include "skin/data/PixelBitmap.h"

namespace kv {

class TSkinData;
class TWinSkinMenu;

// What the menu bar and its drop-down loop ask of the form skin whose frame shows the bar.
class TMenuBarHost : public TFrameHost {
 public:
  virtual TWinSkinMenu* MenuBar() const = 0;
  // The drop-down being tracked from the bar, none when none is.
  virtual HMENU TrackedMenu() const = 0;
  // A screen point in window coordinates (the frame's).
  virtual POINT FramePoint(POINT screen) const = 0;
  // A drop-down tracked from the bar has closed.
  virtual void EndMenuTracking() = 0;
  // Draws, at the end of the bar, the caption buttons of a maximised MDI child shown in
  // it; nothing when no child is maximised.
  virtual void DrawMdiButtonsOnBar(HDC dc) = 0;
  // How much of the first row's end those buttons keep free; 0 when none show.
  virtual int MdiButtonsReserve() const = 0;

 protected:
  ~TMenuBarHost() = default;
};

// One top-level item on the bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinMenu& bar, TSkinData* skinData, int index);
  std::string_view ClassName() const override { return "TMenuBtn"; }
  // Repaints this button alone: its column of the bar's background, the outline when hot
  // or pressed, the caption.
  void Paint() override;

  TSkinData* SkinData() const { return FSkinData; }
  int Index() const { return FIndex; }

  std::wstring Caption;  // with its "&" marker
  bool Enabled = true;
  HMENU Submenu = nullptr;  // none for a command item on the bar
  UINT Command = 0;

 private:
  TWinSkinMenu& FBar;
  TSkinData* FSkinData;
  int FIndex;
};

class TWinSkinMenu : public TComponent {
 public:
  explicit TWinSkinMenu(TMenuBarHost& host);
  ~TWinSkinMenu() override;
  std::string_view ClassName() const override { return "TWinSkinMenu"; }

  void SetSkinData(TSkinData* skinData) { FSkinData = skinData; }
  TSkinData* SkinData() const { return FSkinData; }
  // The framework form's main menu, or none: the source of owner-drawn items' captions.
  TMainMenu* MenuComponent() const { return FMenuComponent; }
  void SetMenuComponent(TMainMenu* menu) { WatchReference(FMenuComponent, menu); }
  TMenuBarHost& Host() const { return FHost; }

  // The buttons from the window's current platform menu (or the one kept).
  void BuildFromMenuHandle();
  // The buttons from the menu component (the frame's own bar once the last maximised
  // MDI child has gone); from the kept platform menu without a component.
  void BuildFromMenuComponent();
  // The buttons from `menu` (none: the kept one); owner-drawn items are matched to the
  // component's items by command rather than by position.
  void RebuildFromMenuHandle(HMENU menu);
  // Lays out and paints the bar at `bar` (window coordinates) of `dc`.
  void PaintMenuBar(HDC dc, const RECT& bar);
  // The rows the buttons take on a bar `width` pixels wide: the captions measured in the
  // menu font, as painting lays them out.
  TMenuBarRows Arrange(int width) const;
  // The window's scale: the captions' font and the rows are made for it.
  int Dpi() const { return WindowDpi(FHost.Window()); }
  // The bar's height at that width: its rows, each RowHeight() high at the window's DPI.
  int HeightFor(int width) const { return Arrange(width).RowCount * RowHeight(Dpi()); }
  static int RowHeight(int dpi) { return SystemMetricForDpi(SM_CYMENU, dpi); }

  const std::vector<TMenuBtn*>& Buttons() const { return FButtons; }
  int ButtonCount() const { return int(FButtons.size()); }
  HMENU MenuHandle() const { return FMenuHandle; }
  // Forgets the platform menu (it was given back to the window or went with it).
  void ForgetMenuHandle() { FMenuHandle = nullptr; }
  const RECT& BarRect() const { return FBarRect; }
  // The last painted bar without its captions (what a button repaints itself over).
  const TPixelBitmap& Background() const { return FBackground; }
  bool Painting() const { return FPainting; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FreeButtons();
  void BuildFrom(HMENU menu, bool matchByCommand);
  bool RightToLeft() const;
  // Where each row's first button starts, from the bar's start side.
  int StartOffset(int width) const;
  TMenuBtn* AddButton();

  TMenuBarHost& FHost;
  TSkinData* FSkinData = nullptr;
  TMainMenu* FMenuComponent = nullptr;
  std::vector<TMenuBtn*> FButtons;  // owned as components, in menu order
  RECT FBarRect{};
  TPixelBitmap FBackground;
  bool FPainting = false;
  HMENU FMenuHandle = nullptr;
};

// The first button of `bar` under `p` (window coordinates) with a caption, or none; none
// outside the bar's rows.
TMenuBtn* MenuButtonAt(const TWinSkinMenu* bar, POINT p);
// The button with a caption after button `from` of `bar` (after the last, the first), or
// before it (before the first, the last); none on a bar without buttons.
TMenuBtn* AdjacentMenuButton(const TWinSkinMenu* bar, int from, bool next);

// The message-filter hook that runs while a drop-down of a bar is tracked.
LRESULT CALLBACK MenuLoopHook(int code, WPARAM wParam, LPARAM lParam);
void InstallMenuLoopHook();
void RemoveMenuLoopHook();
bool MenuLoopHookInstalled();
// The index of the button whose drop-down is open, -1 when none.
int TrackedMenuButtonIndex();
// The form skin whose drop-down is open, or none.
TMenuBarHost* TrackingFormSkin();
void SetTrackingFormSkin(TMenuBarHost* form, int buttonIndex);
// A form skin going away while its drop-down is open: nothing may reach it any more.
void ForgetTrackingFormSkin(const TMenuBarHost* form);
// The button the hook chose to move to; taken (and cleared) once the drop-down closed.
// `byKeys` tells whether an arrow key chose it (else the mouse).
int TakePendingMenuSwitch(bool* byKeys = nullptr);
// What the window's menu loop selected (WM_MENUSELECT reaching the window or the hook).
void MenuLoopSelect(WPARAM wParam, LPARAM lParam);

// Every item of `menu` and of its submenus owner-drawn (type only: texts, bitmaps and
// item data stay).
void MakeMenuOwnerDraw(HMENU menu);

}  // namespace kv
