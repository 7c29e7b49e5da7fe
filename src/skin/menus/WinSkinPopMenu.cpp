#include "skin/menus/WinSkinPopMenu.h"

#include <utility>

#include "base/win/Dc.h"
#include "framework/Subclass.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinEngine.h"
#include "skin/core/SkinMessages.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/SkinMenuItems.h"

namespace kv {
namespace {

constexpr int kPopupRing = 3;  // the frame ring cut from the background, in pixels

// One popup is made, painted and filled at a time: the platform opens submenus one after
// the other.
TWinSkinPopMenu*& PendingPopup() {
  static TWinSkinPopMenu* pending = nullptr;
  return pending;
}

}  // namespace

TWinSkinPopMenu* TWinSkinPopMenu::Pending() { return PendingPopup(); }

void TWinSkinPopMenu::TakePending(HMENU menu) {
  if (TWinSkinPopMenu* pending = std::exchange(PendingPopup(), nullptr)) pending->FMenu = menu;
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  DetachPopup();
  // Never leave the next item painter a popup that is gone.
  if (PendingPopup() == this) PendingPopup() = nullptr;
}

void TWinSkinPopMenu::AttachPopup(HWND window, TSkinData* skinData, HMENU menu) {
  if (Attached()) return;
  FWindow = window;
  FSkinData = skinData;
  FMenu = menu;
  FHook = SubclassWindow(window, [this](TMessage& m, TDefaultProc callDefault) { Handler(m, callDefault); });
}

void TWinSkinPopMenu::DetachPopup() {
  if (!Attached()) return;
  UnsubclassWindow(FWindow, std::exchange(FHook, {}));
  FBackground = {};
  if (PendingPopup() == this) PendingPopup() = nullptr;
}

bool TWinSkinPopMenu::Skinnable() const {
  if (!FSkinData || FSkinData->NoSkin()) return false;
  const TDataSkinObject* record = FSkinData->ModelFor(FWindow).MenuBackground.get();
  return record && !record->Image.Empty();
}

void TWinSkinPopMenu::RenderBackground() {
  const TDataSkinObject& record = *FSkinData->ModelFor(FWindow).MenuBackground;
  RECT r{};
  GetWindowRect(FWindow, &r);
  POINT client{0, 0};
  ClientToScreen(FWindow, &client);
  FClientOffset = {client.x - r.left, client.y - r.top};
  FBackground = RenderNineSlice(r.right - r.left, r.bottom - r.top, record.Image, record.GetMargins(),
                                record.Tile == 1 ? TDrawFlags::dfTile : TDrawFlags::dfNone, 1, 1);
  if (!FMenu) PendingPopup() = this;
}

bool TWinSkinPopMenu::ClientCoversRing() const {
  RECT r{};
  GetWindowRect(FWindow, &r);
  POINT client{0, 0};
  ClientToScreen(FWindow, &client);
  return client.x - r.left < kPopupRing || client.y - r.top < kPopupRing;
}

// The ring only: the items paint the inside over the same picture.
void TWinSkinPopMenu::PaintPopupFrame() {
  RenderBackground();
  TWindowDc dc = TWindowDc::Whole(FWindow);
  if (!dc || FBackground.Empty()) return;
  TSavedDc saved(dc.Get());
  const int w = FBackground.Width(), h = FBackground.Height();
  ExcludeClipRect(dc.Get(), kPopupRing, kPopupRing, w - kPopupRing, h - kPopupRing);
  CopyToDc(dc.Get(), 0, 0, FBackground);
}

// The platform prints the window (its menu animation): the whole picture, then the
// platform's items inside the ring over it.
void TWinSkinPopMenu::PrintPopup(TMessage& message, TDefaultProc& callDefault) {
  const auto dc = reinterpret_cast<HDC>(message.WParam);
  RenderBackground();
  TSavedDc saved(dc);
  CopyToDc(dc, 0, 0, FBackground);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kPopupRing, kPopupRing, FBackground.Width() - kPopupRing, FBackground.Height() - kPopupRing);
  callDefault(message);
}

void TWinSkinPopMenu::Handler(TMessage& message, TDefaultProc callDefault) {
  if (message.Msg == SM_ISSKINNED) {
    message.Result = 1;
    return;
  }
  const TSkinEngine* engine = TSkinEngine::Instance();
  if (!engine || !engine->Active()) {
    callDefault(message);
    return;
  }
  switch (message.Msg) {
    case WM_DESTROY:
      DetachPopup();
      callDefault(message);
      return;
    case WM_NCPAINT:
      if (!Skinnable()) break;
      try {
        PaintPopupFrame();
      } catch (...) {
        // A frame that could not be painted stays as it was; the menu still works.
      }
      message.Result = 0;
      return;
    case WM_PAINT:
      // Where the platform gives the window no frame it draws its edge in the client
      // area instead: the ring goes back over it.
      callDefault(message);
      if (Skinnable() && ClientCoversRing()) {
        try {
          PaintPopupFrame();
        } catch (...) {
          // As for WM_NCPAINT.
        }
      }
      return;
    case WM_PRINT:
      if (!Skinnable() || !message.WParam) break;
      try {
        PrintPopup(message, callDefault);
      } catch (...) {
        callDefault(message);
      }
      return;
    default: break;
  }
  callDefault(message);
}

}  // namespace kv
