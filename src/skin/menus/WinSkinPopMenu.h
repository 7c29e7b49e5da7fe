#pragma once
// TWinSkinPopMenu: the skin of one popup-menu window (class "#32768"). The skin manager
// attaches one to each such window as the window is made and frees it as the window goes.
// It replaces the window's frame by a three-pixel ring cut from the skin's MenuBackground
// picture rendered at the window's size, and keeps that picture, which owner-drawn items
// lay under themselves (TSkinEngine::FindPopupBackground) so that item and popup blend.
//
// Which menu the window shows is not known when it is made: the first owner-drawn item
// painted after the window painted its frame tells (the pending popup, below).
#include <windows.h>

#include "framework/Messages.h"
#include "skin/data/PixelBitmap.h"

namespace kv {

class TSkinData;

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  // Detaches first.
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Puts our procedure in front of the window's; `menu` may be none (learned later).
  void AttachPopup(HWND window, TSkinData* skinData, HMENU menu);
  // Gives the window its procedure back and drops the background; nothing when detached.
  void DetachPopup();

  HWND Window() const { return FWindow; }
  TSkinData* SkinData() const { return FSkinData; }
  HMENU Menu() const { return FMenu; }
  void SetMenu(HMENU menu) { FMenu = menu; }
  bool Attached() const { return bool(FHook); }
  // The MenuBackground picture at the window's size, as last painted (empty before).
  const TPixelBitmap& Background() const { return FBackground; }
  // Where the client area (the items' coordinates) starts in the background: inside the
  // frame where the platform gives the window one, else at the window's corner.
  POINT ClientOffset() const { return FClientOffset; }

  // The popup that painted its frame or background last while its menu was unknown.
  static TWinSkinPopMenu* Pending();
  // The pending popup, if any, shows `menu`; it is pending no more.
  static void TakePending(HMENU menu);

 private:
  void Handler(TMessage& message, TDefaultProc callDefault);
  // The skin has a MenuBackground picture: otherwise the window stays the platform's.
  bool Skinnable() const;
  void RenderBackground();
  bool ClientCoversRing() const;
  void PaintPopupFrame();
  void PrintPopup(TMessage& message, TDefaultProc& callDefault);

  HWND FWindow = nullptr;
  TSkinData* FSkinData = nullptr;
  THookToken FHook;
  TPixelBitmap FBackground;
  HMENU FMenu = nullptr;
  POINT FClientOffset{};
};

}  // namespace kv
