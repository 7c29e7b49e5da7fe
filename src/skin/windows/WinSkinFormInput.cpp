// The form skin's answers on its frame: hit testing, the mouse on the caption buttons and
// the menu bar, activation, painting, sizing and the system commands.
#include <windows.h>

#include <algorithm>

#include "framework/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

// The point of a mouse message (signed: a second screen may lie left of or above the first).
POINT PointOf(LPARAM lParam) { return {short(LOWORD(lParam)), short(HIWORD(lParam))}; }

}  // namespace

void TWinSkinForm::OnNcHitTest(TMessage& message) {
  PassOn(message);
  if (message.Result != HTNOWHERE) return;
  // The caption buttons are caption to the system: the skin finds them itself (ButtonAt),
  // so the system never tracks or draws a button of its own over the skin's.
  const POINT p = FramePoint(PointOf(message.LParam));
  if (p.y <= 3) return;
  if (p.y <= FBorders.Top) {
    message.Result = HTCAPTION;
    return;
  }
  // Below the caption the skin's borders may be wider than the system's sizing edge: all
  // of them size the window; only what lies between them is the menu bar's.
  RECT r{};
  GetWindowRect(FWindow, &r);
  const bool left = p.x < FBorders.Left, right = p.x >= r.right - r.left - FBorders.Right;
  const bool bottom = p.y >= r.bottom - r.top - FBorders.Bottom;
  if (!left && !right && !bottom) {
    message.Result = HTMENU;
  } else if (!(FStyle & WS_THICKFRAME) || FWindowState != swsNormal) {
    message.Result = HTBORDER;
  } else if (bottom) {
    message.Result = left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  } else {
    message.Result = left ? HTLEFT : HTRIGHT;
  }
}

POINT TWinSkinForm::FramePoint(POINT screen) const {
  // Mirrored, client coordinates run from the client area's right edge too.
  ScreenToClient(FWindow, &screen);
  if (FWindowState != swsMinimized) {
    screen.x += FBorders.Left;
    screen.y += FBorders.Top + FMenuBarHeight;
  }
  return screen;
}

POINT TWinSkinForm::ScreenPoint(POINT frame) const {
  RECT w{};
  GetWindowRect(FWindow, &w);
  return {FMirrored ? w.right - 1 - frame.x : w.left + frame.x, w.top + frame.y};
}

TNCObject* TWinSkinForm::ButtonAt(POINT p) {
  if (TWinSysButton* button = FCaptionButtons.At(p)) return button;
  return MenuButtonAt(FMenuBar, p);
}

bool TWinSkinForm::OnNcMouse(TMessage& message) {
  const POINT screen = PointOf(message.LParam);
  const POINT p = FramePoint(screen);
  switch (message.Msg) {
    case WM_NCMOUSEMOVE:
      if (!FActive) return false;
      if (TNCObject* object = ButtonAt(p)) {
        object->Hover();
        return true;
      }
      if (FCurrentObject) FCurrentObject->Leave();
      PassOn(message);
      return false;
    case WM_NCLBUTTONDOWN:
      if (TNCObject* object = ButtonAt(p)) {
        if (!FActive) SetForegroundWindow(FWindow);
        auto* menuButton = dynamic_cast<TMenuBtn*>(object);
        if (menuButton && FMenuTracking) {
          // One drop-down at a time: the open one closes first, then this click again.
          EndMenu();
          PostMessageW(FWindow, message.Msg, message.WParam, message.LParam);
          return true;
        }
        object->Press();
        if (menuButton) OpenMenuButton(*menuButton);
        return true;
      }
      // A maximised window is not dragged by its caption.
      if (FWindowState == swsMaximized && message.WParam == HTCAPTION && FActive) message.WParam = HTMENU;
      PassOn(message);
      return false;
    case WM_NCLBUTTONUP:
      if (TNCObject* object = ButtonAt(p)) {
        auto* button = dynamic_cast<TWinSysButton*>(object);
        if (button && object == FCurrentObject) {
          object->Release();
          RunButtonAction(*button, screen);
        }
        return true;
      }
      PassOn(message);
      return false;
    case WM_NCLBUTTONDBLCLK:
      if (FWindowState != swsNormal)
        Restore();
      else if (HasFlag(FCaptionFlags, TCaptionFlags::cfMaxBox))
        ToggleMaximize();
      return true;
    case WM_NCRBUTTONDOWN:
      if (message.WParam == HTCAPTION && FFormKind != fkMdiChild) {
        ShowSystemMenu(screen, true);
        return true;
      }
      PassOn(message);
      return false;
    default: PassOn(message); return false;
  }
}

void TWinSkinForm::OnNcActivate(TMessage& message) {
  FActive = message.WParam != 0;
  SetHoverTimer(FActive);
  if (!FActive && FControlSkins) {
    if (TSkinControl* hot = FControlSkins->HotControlSkin()) {
      FControlSkins->SetHotControlSkin(nullptr);
      hot->SendMouseLeave();
    }
  }
  if (!(FFormKind == fkMdiChild && FWindowState != swsNormal)) PaintFrame(nullptr);
  message.Result = 1;
}

void TWinSkinForm::OnNcPaint(TMessage& message) {
  message.Result = 0;
  if (!FSkinData->FramePainting()) return;
  if ((FFormKind == fkMdiChild && FWindowState != swsNormal) || FFrameType == TFrameType::ftCaptionless) {
    PassOn(message);
    return;
  }
  // The whole frame each time (it is composed off-screen and copied in a few transfers),
  // so the update region is not needed, nor its ownership rules.
  PaintFrame(nullptr);
}

void TWinSkinForm::OnSize(TMessage& message) {
  PassOn(message);
  switch (message.WParam) {
    case SIZE_RESTORED: FWindowState = swsNormal; break;
    case SIZE_MINIMIZED: FWindowState = swsMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = swsMaximized; break;
    default: break;
  }
  if (FWindowState == swsMinimized) return;
  const TSkinManage* manager = TSkinManage::Instance();
  if (FFormKind == fkMdiChild && ((manager && manager->MdiMaximized()) || FWindowState != swsNormal)) return;
  if (FSkinState == fsReady || FSkinState == fsRefreshing) UpdateRegion();
}

void TWinSkinForm::OnMinMax(TMessage& message) {
  PassOn(message);
  ReadWindowState();
  if (FWindowState == swsMinimized) {
    ShowCaptionStyles(true);
  } else if (FFormKind != fkMdiChild) {
    ShowCaptionStyles(false);
  } else if (FWindowState == swsNormal) {
    // Only a real restore ends the maximised state of every child: the platform asks a
    // child that is not maximised too (a hidden one resized) while the active one stays so.
    BOOL activeMaximized = FALSE;
    SendMessageW(GetParent(FWindow), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&activeMaximized));
    if (TSkinManage* manager = TSkinManage::Instance(); manager && manager->MdiMaximized() && !activeMaximized)
      manager->SetMdiMaximized(false);
    ShowCaptionStyles(false);
  } else {
    ShowCaptionStyles(true);
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
  info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  if (FFormKind == fkMdiChild) return;  // maximised inside its MDI client, which the platform knows
  // The platform would place a maximised window with its own frame off the work area's
  // edges; our frame is the skin's, so the window fills its monitor's work area exactly.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(FWindow, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  info->ptMaxPosition = {work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
  info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
  const RECT& whole = monitor.rcMonitor;
  info->ptMaxTrackSize = {std::max(whole.right - whole.left, info->ptMaxSize.x),
                          std::max(whole.bottom - whole.top, info->ptMaxSize.y)};
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(FWindow, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = swsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = swsMaximized; break;
    default: FWindowState = swsNormal;
  }
}

void TWinSkinForm::OnSysCommand(TMessage& message) {
  const WPARAM command = message.WParam & 0xFFF0;
  // The keyboard's way into the menu: our bar answers it, the platform never enters its
  // own menu mode over a bar it no longer shows (Alt alone highlights nothing).
  if (command == SC_KEYMENU && FMenuBar && !FMenuTracking && message.LParam != ' ' && message.LParam != '-' &&
      !GetCapture()) {
    if (message.LParam == 0) {
      message.Result = 1;
      return;
    }
    if (TMenuBtn* button = FindMenuButtonByAccel(wchar_t(message.LParam))) {
      // A framework form has opened it already (CM_DIALOGCHAR); a foreign window's
      // Alt+letter only arrives here.
      if (!FForm) PostMenuButtonClick(*button);
      message.Result = 1;
      return;
    }
  }
  // Alt+Space: the system opens its window menu only for windows that show the
  // system-menu style, which ours hides while the frame is skinned.
  if (command == SC_KEYMENU && message.LParam == ' ' && HasFlag(FCaptionFlags, TCaptionFlags::cfSysMenu) &&
      !FCaptionStylesShown) {
    ShowSystemMenu(ScreenPoint({FBorders.Left, FBorders.Top}), false);
    return;
  }
  switch (command) {
    case SC_MINIMIZE:
      FWindowState = swsMinimized;
      if (FFormKind == fkMdiChild) ShowCaptionStyles(true);
      break;
    case SC_MAXIMIZE: FWindowState = swsMaximized; break;
    case SC_RESTORE:
      FWindowState = swsNormal;
      if (FFormKind == fkMdiChild) ShowCaptionStyles(false);
      break;
    default: break;
  }
  PassOn(message);
}

}  // namespace kv
