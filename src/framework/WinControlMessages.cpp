// TWinControl's message handling: the window procedure of every window we register,
// the dispatch into the control's hook chain, reflection of parent notifications.
#include <windowsx.h>

#include "framework/Controls.h"
#include "framework/ControlsInternal.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace kv {

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = nullptr;
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    void* param = create->lpCreateParams;
    // An MDI child's create parameter is the MDICREATESTRUCT its client was sent.
    if ((create->dwExStyle & WS_EX_MDICHILD) && param)
      param = reinterpret_cast<void*>(static_cast<MDICREATESTRUCTW*>(param)->lParam);
    control = static_cast<TWinControl*>(param);
    if (control) {
      control->FHandle = wnd;
      detail::BindControl(wnd, control);
    }
  } else {
    control = detail::BoundControl(wnd);
  }
  if (!control) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    auto it = detail::BaseProcs().find(name);
    WNDPROC base = it != detail::BaseProcs().end() && it->second ? it->second : DefWindowProcW;
    return CallWindowProcW(base, wnd, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  control->MainWndProc(message);
  if (msg == WM_NCDESTROY) control->WindowGone();
  return message.Result;
}

void TWinControl::MainWndProc(TMessage& message) {
  try {
    Dispatch(message);
  } catch (...) {
    HandleCurrentException();
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  // Framework notifications mean nothing to the system's window procedures.
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (FHandle) m.Result = CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: PaintHandler(m); return;
    case WM_ERASEBKGND:
      if (FOwnPaint) {  // painted with the rest in WM_PAINT, without flicker
        m.Result = 1;
        return;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (ReflectToChild(m)) return;
      break;
    case CN_CTLCOLORMSGBOX + 1:  // CN_CTLCOLOREDIT
    case CN_CTLCOLORMSGBOX + 2:  // CN_CTLCOLORLISTBOX
    case CN_CTLCOLORMSGBOX + 3:  // CN_CTLCOLORBTN
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRgb(Font().Color()));
      SetBkColor(dc, ColorToRgb(Color()));
      if (!FColorBrush) FColorBrush.Reset(CreateSolidBrush(ColorToRgb(Color())));
      m.Result = reinterpret_cast<LRESULT>(FColorBrush.Get());
      return;
    }
    case WM_SETCURSOR:
      if (CursorHandler(m)) return;
      break;
    case WM_CONTEXTMENU:
      if (ContextMenuHandler(m)) return;
      break;
    case WM_DESTROY: DestroyWnd(); break;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      MouseLeaveHandler();
      break;
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TForm* form = ParentForm(); form && form != this) form->ControlFocused(this);
      Perform(CM_ENTER);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      Perform(CM_EXIT);
      return;
    case WM_ENABLE:
      // Our own SetEnabled notifies already; this is for EnableWindow from outside.
      if (Enabled() != (m.WParam != 0)) {
        TControl::SetEnabled(m.WParam != 0);
      }
      break;
    default:
      if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) {
        MouseHandler(m);
        return;
      }
      break;
  }
  TControl::WndProc(m);
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (item->CtlType != ODT_MENU && FHandle) child = GetDlgItem(FHandle, static_cast<int>(item->CtlID));
      break;
    }
    default: child = reinterpret_cast<HWND>(m.LParam); break;
  }
  TWinControl* control = FindControl(child);
  if (!control || control == this) return false;
  m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

bool TWinControl::ContextMenuHandler(TMessage& m) {
  POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = this;
  if (screen.x == -1 && screen.y == -1) {  // from the keyboard: at the control's top-left
    screen = POINT{0, 0};
    ClientToScreen(FHandle, &screen);
  } else {
    POINT client = screen;
    ScreenToClient(FHandle, &client);
    if (TControl* inner = ControlAtPos(client)) target = inner;
  }
  TPopupMenu* menu = target->PopupMenu();
  if (!menu) {
    target = this;
    menu = PopupMenu();
  }
  // Without a menu of its own, the default processing hands the message to the parent.
  if (!menu || !menu->AutoPopup()) return false;
  menu->SetPopupComponent(target);
  menu->Popup(screen.x, screen.y);
  m.Result = 1;
  return true;
}

bool TWinControl::CursorHandler(TMessage& m) {
  if (reinterpret_cast<HWND>(m.WParam) != FHandle || LOWORD(m.LParam) != HTCLIENT) return false;
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(FHandle, &p);
  TControl* over = ControlAtPos(p, true);
  TCursor cursor = over ? over->Cursor() : Cursor();
  if (cursor == crDefault) return false;
  ::SetCursor(CursorHandle(cursor));
  m.Result = TRUE;
  return true;
}

}  // namespace kv
