#include "framework/Forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <exception>

#include "base/win/WideText.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

namespace kv {

TApplication* Application = nullptr;

namespace {

// The window list's commands, above every menu item's (Menus.cpp keeps below 0xF000).
constexpr UINT kFirstMDIChild = 0xFF00;

}  // namespace

// ---- TForm

TForm::TForm() {
  TControl::SetVisible(false);
  FOwnPaint = true;
  FClickOnMouseUp = true;
  SetColor(clBtnFace);
  if (Application) Application->FForms.push_back(this);
}

TForm::~TForm() {
  if (FMenu) FMenu->FForm = nullptr;
  if (Application) {
    std::erase(Application->FForms, this);
    std::erase(Application->FReleased, this);
    if (Application->FMainForm == this) Application->FMainForm = nullptr;
  }
  DestroyHandle();
}

void TForm::SetClientSize(int width, int height) {
  FClientWidth = width;
  FClientHeight = height;
  if (FHandle) {
    RECT r{0, 0, Scaled(width), Scaled(height)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE));
    AdjustWindowRectForDpi(r, style, !(style & WS_CHILD) && ::GetMenu(FHandle),
                           static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE)), Dpi());
    SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TForm::SetIcon(HICON icon) {
  FIcon.Reset(icon);
  if (FHandle) {
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
}

void TForm::SetMenu(TMainMenu* menu) {
  if (FMenu && FMenu != menu) FMenu->FForm = nullptr;
  if (menu && menu->FForm && menu->FForm != this) menu->FForm->SetMenu(nullptr);
  WatchReference(FMenu, menu);
  if (menu) menu->FForm = this;
  ApplyMenu();
  Perform(CM_MENUCHANGED);
}

void TForm::ApplyMenu() {
  if (!FHandle || (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)) return;
  HMENU bar = FMenu ? FMenu->Handle() : nullptr;
  if (FClientWindow && bar) {
    // The client puts the bar on the frame itself, with a maximised child's buttons.
    SendMessageW(FClientWindow.Get(), WM_MDISETMENU, reinterpret_cast<WPARAM>(bar),
                 reinterpret_cast<LPARAM>(FWindowMenu ? FWindowMenu->Handle() : nullptr));
  } else {
    ::SetMenu(FHandle, bar);
  }
  DrawMenuBar(FHandle);
}

void TForm::MenuChanged() {
  if (FHandle && ::GetMenu(FHandle) && !(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)) DrawMenuBar(FHandle);
  Perform(CM_MENUCHANGED);
}

bool TForm::IsShortCut(const MSG& msg) {
  const TShortCut shortCut = ShortCutFromKey(msg);
  if (!shortCut) return false;
  for (TControl* c = FocusedControl(); c && c != this; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  if (PopupMenu() && PopupMenu()->IsShortCut(shortCut)) return true;
  if (FMenu && FMenu->IsShortCut(shortCut)) return true;
  if (FFormStyle == fsMDIChild) {
    TForm* frame = MDIFrame();
    if (frame && frame != this) return frame->IsShortCut(msg);
  }
  return false;
}

void TForm::SetFormStyle(TFormStyle style) {
  if (FFormStyle == style) return;
  FFormStyle = style;
  RecreateWnd();
}

TWindowState TForm::WindowState() const {
  if (!FHandle) return FWindowState;
  if (IsIconic(FHandle)) return wsMinimized;
  return IsZoomed(FHandle) ? wsMaximized : wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
  FWindowState = state;
  if (!FHandle || !IsWindowVisible(FHandle)) return;  // Show applies it
  TForm* frame = FFormStyle == fsMDIChild ? MDIFrame() : nullptr;
  if (frame && frame->ClientHandle() && state != wsMinimized) {
    SendMessageW(frame->ClientHandle(), state == wsMaximized ? WM_MDIMAXIMIZE : WM_MDIRESTORE,
                 reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  ShowWindow(FHandle, state == wsMaximized ? SW_MAXIMIZE : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

// ---- MDI

TForm* TForm::MDIFrame() const {
  if (!Application) return nullptr;
  TForm* main = Application->MainForm();
  if (main && main->FFormStyle == fsMDIForm) return main;
  for (TForm* form : Application->FForms)
    if (form->FFormStyle == fsMDIForm) return form;
  return nullptr;
}

TForm* TForm::KeyForm(HWND wnd) {
  if (!FClientWindow) return this;
  for (HWND w = wnd; w && w != FHandle; w = GetParent(w)) {
    if (GetParent(w) != FClientWindow.Get()) continue;
    auto* child = dynamic_cast<TForm*>(FindControl(w));
    return child ? child : this;
  }
  return this;
}

void TForm::CreateClientWindow() {
  CLIENTCREATESTRUCT client{FWindowMenu ? FWindowMenu->Handle() : nullptr, kFirstMDIChild};
  RECT area;
  GetClientRect(FHandle, &area);
  FClientWindow.Reset(CreateWindowExW(
      WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES, 0, 0,
      area.right, area.bottom, FHandle, nullptr, GetModuleHandleW(nullptr), &client));
  if (!FClientWindow) throw EWindowError("Unable to create the MDI client window of a frame form");
}

void TForm::AlignClientWindow() {
  if (!FClientWindow || !FHandle) return;
  RECT area;
  GetClientRect(FHandle, &area);
  const RECT whole = area;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->IsWindowed() || !c->Visible()) continue;
    const RECT b = c->BoundsRect();
    if (b.left <= whole.left && b.right >= whole.right) {  // across the whole width
      if (b.top <= area.top)
        area.top = std::max(area.top, b.bottom);
      else if (b.bottom >= area.bottom)
        area.bottom = std::min(area.bottom, b.top);
    } else if (b.top <= whole.top && b.bottom >= whole.bottom) {  // down the whole height
      if (b.left <= area.left)
        area.left = std::max(area.left, b.right);
      else if (b.right >= area.right)
        area.right = std::min(area.right, b.left);
    }
  }
  MoveWindow(FClientWindow.Get(), area.left, area.top, std::max(0L, area.right - area.left),
             std::max(0L, area.bottom - area.top), TRUE);
}

void TForm::SetWindowMenu(TMenuItem* item) {
  if (FWindowMenu == item) return;
  TMenuItem* old = FWindowMenu;
  WatchReference(FWindowMenu, item);
  if (item) item->SetListsWindows(true);
  if (FClientWindow && item) {
    // The client moves the list to the new submenu; only then may the old one go.
    SendMessageW(FClientWindow.Get(), WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(item->Handle()));
    if (FHandle) DrawMenuBar(FHandle);
  }
  if (old) old->SetListsWindows(false);
}

TForm* TForm::ActiveMDIChild() const {
  if (!FClientWindow) return nullptr;
  HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWindow.Get(), WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(FindControl(active));
}

std::vector<TForm*> TForm::MDIChildList() const {
  std::vector<TForm*> children;
  if (!FClientWindow) return children;
  // Z-order, so the active child comes first.
  for (HWND w = GetWindow(FClientWindow.Get(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TForm*>(FindControl(w)); form && form->FFormStyle == fsMDIChild)
      children.push_back(form);
  return children;
}

int TForm::MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }

TForm* TForm::MDIChildren(int index) const { return MDIChildList().at(static_cast<std::size_t>(index)); }

void TForm::Cascade() {
  if (FClientWindow) SendMessageW(FClientWindow.Get(), WM_MDICASCADE, 0, 0);
}

void TForm::Tile() {
  if (FClientWindow)
    SendMessageW(FClientWindow.Get(), WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TForm::ArrangeIcons() {
  if (FClientWindow) SendMessageW(FClientWindow.Get(), WM_MDIICONARRANGE, 0, 0);
}

void TForm::Next() {
  if (FClientWindow) SendMessageW(FClientWindow.Get(), WM_MDINEXT, 0, FALSE);
}

void TForm::Previous() {
  if (FClientWindow) SendMessageW(FClientWindow.Get(), WM_MDINEXT, 0, TRUE);
}

void TForm::MDIChildParams(TCreateParams& params) {
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (FBorderIcons & biSystemMenu) params.Style |= WS_SYSMENU;
  if (FBorderStyle == bsSizeable) params.Style |= WS_THICKFRAME;
  if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
    if (FBorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
  }
  if (FWindowState == wsMaximized) params.Style |= WS_MAXIMIZE;
  params.ExStyle = WS_EX_MDICHILD;
  // Where the client puts the next child, unless told otherwise.
  params.X = params.Y = params.Width = params.Height = CW_USEDEFAULT;
  if (FLeft || FTop) {
    params.X = FLeft;
    params.Y = FTop;
  }
  if (FClientWidth > 0 && FClientHeight > 0) {
    RECT r{0, 0, Scaled(FClientWidth), Scaled(FClientHeight)};
    AdjustWindowRectForDpi(r, params.Style, false, params.ExStyle, Dpi());
    params.Width = r.right - r.left;
    params.Height = r.bottom - r.top;
  }
}

HWND TForm::CreateWindowHandle(const TCreateParams& params) {
  if (FFormStyle != fsMDIChild) return TWinControl::CreateWindowHandle(params);
  TForm* frame = MDIFrame();
  if (!frame || frame == this) throw EWindowError("An MDI child form needs an MDI frame form to live in");
  frame->HandleNeeded();
  MDICREATESTRUCTW create{};
  create.szClass = params.WinClassName.c_str();
  create.szTitle = params.Caption.c_str();
  create.hOwner = GetModuleHandleW(nullptr);
  create.x = params.X;
  create.y = params.Y;
  create.cx = params.Width;
  create.cy = params.Height;
  create.style = params.Style;
  create.lParam = reinterpret_cast<LPARAM>(this);
  // Through the client's message (not CreateMDIWindow), which a skin on the client sees.
  return reinterpret_cast<HWND>(
      SendMessageW(frame->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void TForm::DestroyWindowHandle() {
  const bool mdiChild = (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  TForm* frame = mdiChild ? MDIFrame() : nullptr;
  if (frame && frame->ClientHandle() && GetParent(FHandle) == frame->ClientHandle()) {
    SendMessageW(frame->ClientHandle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  TWinControl::DestroyWindowHandle();
}

void TForm::DefaultHandler(TMessage& m) {
  if (FHandle && !(m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400)) {
    if (FFormStyle == fsMDIForm) {
      m.Result = DefFrameProcW(FHandle, FClientWindow.Get(), m.Msg, m.WParam, m.LParam);
      return;
    }
    if (FFormStyle == fsMDIChild && (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
      m.Result = DefMDIChildProcW(FHandle, m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(m);
}

// ---- creation

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"Kv.Form";
  if (FFormStyle == fsMDIChild) {
    MDIChildParams(params);
    return;
  }
  params.Style = WS_CLIPCHILDREN;
  params.ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      params.Style |= WS_CAPTION | DS_MODALFRAME;
      params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderIcons & biSystemMenu) params.Style |= WS_SYSMENU;
  // A dialog frame has no minimise or maximise box, whatever was asked for.
  if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
    if (FBorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
  }
  if (FClientWidth > 0 && FClientHeight > 0) {
    // The menu bar is set right after the window is made: the client area stays as asked.
    RECT r{0, 0, Scaled(FClientWidth), Scaled(FClientHeight)};
    AdjustWindowRectForDpi(r, params.Style, FMenu != nullptr, params.ExStyle, Dpi());
    params.Width = r.right - r.left;
    params.Height = r.bottom - r.top;
  }
  if (FPosition != poDesigned) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    params.X = work.left + (work.right - work.left - params.Width) / 2;
    params.Y = work.top + (work.bottom - work.top - params.Height) / 2;
  }
  FLeft = params.X;
  FTop = params.Y;
  FWidth = params.Width;
  FHeight = params.Height;
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FIcon) {
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIcon.Get()));
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon.Get()));
  }
  if (FFormStyle == fsMDIChild) {
    RECT r;  // where the client put it
    GetWindowRect(FHandle, &r);
    MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
    // The frame's window menu lists the new child; whoever watches the client (a skin)
    // learns here that the child is complete.
    SendMessageW(GetParent(FHandle), WM_MDIREFRESHMENU, 0, 0);
    return;
  }
  if (FMenu) ::SetMenu(FHandle, FMenu->Handle());
  // Made on a monitor of another scale than the one assumed: as if made there.
  if (const int dpi = WindowDpi(FHandle); !Parent() && dpi != Dpi()) {
    ScaleForDpi(dpi);
    if (FClientWidth > 0 && FClientHeight > 0) SetClientSize(FClientWidth, FClientHeight);
  }
  if (FFormStyle == fsMDIForm) {
    CreateClientWindow();
    AlignClientWindow();
  }
}

void TForm::Show() {
  if (FFormStyle == fsMDIChild) {
    // Made visible, the child is also activated by its client.
    TControl::SetVisible(true);
    HandleNeeded();
    if (!IsWindowVisible(FHandle)) ShowWindow(FHandle, SW_SHOW);
    if (TForm* frame = MDIFrame(); frame && frame->ClientHandle())
      SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    if (FWindowState != wsNormal) SetWindowState(FWindowState);
    return;
  }
  HandleNeeded();
  TControl::SetVisible(true);
  ShowWindow(FHandle, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                      : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                    : SW_SHOWNORMAL);
  SetForegroundWindow(FHandle);
  UpdateWindow(FHandle);
}

void TForm::Close() {
  // The main form ends the program; an MDI child is freed; other forms hide.
  const bool main = Application && Application->MainForm() == this;
  TCloseAction action = main || FFormStyle == fsMDIChild ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TForm::Release() {
  if (FHandle) PostMessageW(FHandle, CM_RELEASE, 0, 0);
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

TWinControl* TForm::FocusedControl() const {
  for (HWND w = GetFocus(); w; w = GetParent(w)) {
    if (TWinControl* c = FindControl(w)) {
      if (c == this) return nullptr;
      return c->ParentForm() == this ? c : nullptr;
    }
  }
  return nullptr;
}

bool TForm::SelectNext(bool forward) {
  std::vector<TWinControl*> all;
  GetTabOrderList(all);
  std::vector<TWinControl*> stops;
  for (TWinControl* c : all)
    if (c->TabStop() && c->CanFocus()) stops.push_back(c);
  if (stops.empty()) return false;
  TWinControl* current = FocusedControl();
  auto it = std::find(stops.begin(), stops.end(), current);
  std::size_t index;
  if (it == stops.end()) {
    index = forward ? 0 : stops.size() - 1;
  } else {
    const std::size_t at = static_cast<std::size_t>(it - stops.begin());
    index = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  }
  stops[index]->SetFocus();
  return true;
}

void TForm::SelectFirst() {
  if (!FocusedControl()) SelectNext(true);
}

bool TForm::DialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const WPARAM key = msg.wParam;
  if (key != VK_TAB && key != VK_RETURN) return false;
  HWND focus = GetFocus();
  MSG copy = msg;
  const LRESULT code = focus ? SendMessageW(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy)) : 0;
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (key == VK_TAB) {
    if (GetKeyState(VK_CONTROL) < 0) {
      // Ctrl+Tab belongs to the page control around the focus, else to the first one.
      for (TWinControl* c = FocusedControl(); c; c = c->Parent())
        if (c->Perform(CM_DIALOGKEY, VK_TAB, msg.lParam)) return true;
      std::vector<TWinControl*> all;
      GetTabOrderList(all);
      for (TWinControl* c : all)
        if (c->Showing() && c->Perform(CM_DIALOGKEY, VK_TAB, msg.lParam)) return true;
      return false;
    }
    if (code & DLGC_WANTTAB) return false;
    // Moving by keyboard: the focus cues show from now on, as in the platform's dialogs.
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SelectNext(GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  // Enter: a focused push button presses itself, anything else presses the default button.
  TWinControl* focused = FocusedControl();
  if (focused && dynamic_cast<TButton*>(focused)) {
    focused->Click();
    return true;
  }
  if (FDefaultButton && FDefaultButton->Showing() && FDefaultButton->Enabled()) {
    FDefaultButton->Click();
    return true;
  }
  return false;
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  // An image list made while the form shows at another scale takes the form's at once.
  if (operation == opInsert)
    if (auto* images = dynamic_cast<TImageList*>(component)) images->ScaleForDpi(Dpi());
  if (operation != opRemove) return;
  if (component == FDefaultButton) FDefaultButton = nullptr;
  if (component == FActiveControl) FActiveControl = nullptr;
  if (component == FMenu) SetMenu(nullptr);
  if (component == FWindowMenu) FWindowMenu = nullptr;
}

int TForm::CreationDpi() const {
  if (FFormStyle == fsMDIChild)
    if (TForm* frame = MDIFrame(); frame && frame != this) return frame->Dpi();
  return TWinControl::CreationDpi();
}

void TForm::ScaleForDpi(int dpi) {
  if (dpi <= 0 || dpi == Dpi()) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* images = dynamic_cast<TImageList*>(Components(i))) images->ScaleForDpi(dpi);
  TWinControl::ScaleForDpi(dpi);
}

void TForm::ChangeDpi(int dpi, const RECT& suggested) {
  const int old = Dpi();
  ScaleForDpi(dpi);
  SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (FFormStyle == fsMDIForm && old != dpi) ScaleMdiChildren(old, dpi);
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TForm::ScaleMdiChildren(int from, int to) {
  for (TForm* child : MDIChildList()) {
    HWND wnd = child->Handle();
    RECT place{};
    GetWindowRect(wnd, &place);
    MapWindowPoints(nullptr, FClientWindow.Get(), reinterpret_cast<POINT*>(&place), 2);
    // The client keeps a maximised or minimised child where it belongs.
    if (!IsZoomed(wnd) && !IsIconic(wnd))
      place = {MulDiv(place.left, to, from), MulDiv(place.top, to, from), MulDiv(place.right, to, from),
               MulDiv(place.bottom, to, from)};
    SendMessageW(wnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
  }
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_DPICHANGED:
      if (m.LParam) {
        NoteWindowDpi(FHandle, LOWORD(m.WParam));
        ChangeDpi(LOWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      if (HandleMenuMessage(m)) return;
      break;
    case WM_SIZE:
      if (FFormStyle == fsMDIForm) {
        // Instead of DefFrameProc, which would give the client the whole area.
        AlignClientWindow();
        m.Result = 0;
        return;
      }
      break;
    case WM_SETFOCUS:
      if (FFormStyle == fsMDIChild) {  // an activated child gives the focus to its control
        TWinControl::WndProc(m);
        if (FActiveControl && FActiveControl->CanFocus()) {
          FActiveControl->SetFocus();
        } else {
          SelectFirst();
        }
        return;
      }
      break;
    case WM_DESTROY:
      // DestroyWindow would destroy the bar, which belongs to the menu component.
      if (!(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) && ::GetMenu(FHandle)) ::SetMenu(FHandle, nullptr);
      break;
    case WM_NCDESTROY:
      FClientWindow.Release();  // went with the frame
      ForgetWindowDpi(FHandle);
      break;
    case WM_CLOSE: Close(); return;
    case CM_RELEASE:
      if (Application &&
          std::find(Application->FReleased.begin(), Application->FReleased.end(), this) == Application->FReleased.end())
        Application->FReleased.push_back(this);
      return;
    case WM_SHOWWINDOW:
      if (m.WParam) InstallHints();
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        if (TWinControl* c = FocusedControl()) FActiveControl = c;
        break;
      }
      DefaultHandler(m);
      if (FFormStyle == fsMDIForm && ActiveMDIChild()) return;  // the child has the focus
      if (!HIWORD(m.WParam)) {                                  // not minimised: give the focus back to a control
        if (FActiveControl && FActiveControl->CanFocus()) {
          FActiveControl->SetFocus();
        } else {
          SelectFirst();
        }
      }
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

void TForm::InstallHints() {
  if (FHintsInstalled || !FHandle) return;
  FHintsInstalled = true;
  FHintWindow.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
  if (!FHintWindow) return;
  // Only controls that have a hint show one; every component of the form is looked at.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(Components(i)); c && !c->Hint().empty()) AddHintTool(c);
}

void TForm::AddHintTool(TControl* control) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  std::wstring text = control->Hint();
  tool.lpszText = text.data();
  if (control->IsWindowed()) {
    auto* wc = static_cast<TWinControl*>(control);
    tool.uFlags |= TTF_IDISHWND;
    tool.hwnd = FHandle;
    tool.uId = reinterpret_cast<UINT_PTR>(wc->Handle());
  } else {
    if (!control->Parent()) return;
    tool.hwnd = control->Parent()->Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.rect = control->BoundsRect();
  }
  SendMessageW(FHintWindow.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- TApplication

TApplication::TApplication() {
  Application = this;
  SetExceptionHandler([this] { HandleException(); });
}

TApplication::~TApplication() {
  DestroyComponents();
  SetExceptionHandler(nullptr);
  if (FComInitialized) CoUninitialize();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  if (!FComInitialized) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FComInitialized = SUCCEEDED(hr);
  }
  INITCOMMONCONTROLSEX icc{
      sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FQuit && HandleMessage()) {
  }
  FTerminated = true;
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

bool TApplication::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got <= 0) {
    FQuit = true;
    return false;
  }
  ProcessMessage(msg);
  FreeReleasedForms();
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      FQuit = true;
      FTerminated = true;
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the loop
      break;
    }
    ProcessMessage(msg);
  }
  FreeReleasedForms();
}

bool TApplication::ProcessMessage(MSG& msg) {
  const UINT kind = msg.message;
  if (kind == WM_KEYDOWN || kind == WM_SYSKEYDOWN || kind == WM_SYSCHAR) {
    TForm* root = dynamic_cast<TForm*>(TWinControl::FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
    if (root) {
      TForm* form = root->KeyForm(msg.hwnd);
      // Shortcuts first, then dialog keys. Alt+letter and F10 go on to the platform's
      // menu loop unless someone takes them here.
      try {
        if (kind != WM_SYSCHAR && form->IsShortCut(msg)) return true;
        if (kind == WM_KEYDOWN && form->DialogKey(msg)) return true;
        if (kind == WM_SYSCHAR) {
          if (form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam)) return true;
          if (form != root && root->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam)) return true;
        }
      } catch (...) {
        HandleCurrentException();
        return true;
      }
      // Ctrl+F4, Ctrl+F6 and Ctrl+Tab among the children of an MDI frame.
      if (kind != WM_SYSCHAR && root->ClientHandle() && TranslateMDISysAccel(root->ClientHandle(), &msg)) return true;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::FreeReleasedForms() {
  while (!FReleased.empty()) {
    TForm* form = FReleased.back();
    FReleased.pop_back();
    DestroyComponent(form);
  }
}

int TApplication::ShowMessageBox(std::wstring_view text, UINT flags) {
  HWND owner = nullptr;
  if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle())) owner = FMainForm->Handle();
  return MessageBoxW(owner, std::wstring(text).c_str(), FTitle.c_str(), flags);
}

void TApplication::ShowException(std::wstring_view message) {
  std::wstring text(message);
  if (text.empty() || (text.back() != L'.' && text.back() != L'\x3002')) text += L'.';
  ShowMessageBox(text, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowException(WideFromUtf8(e.what()));
  } catch (...) {
    ShowException(L"Unknown error");
  }
}

}  // namespace kv
