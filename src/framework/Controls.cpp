#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <map>

#include "framework/Forms.h"

namespace kv {

namespace {

constexpr wchar_t kControlProp[] = L"Kv.Control";
TControl* GMouseControl = nullptr;
std::function<void()> GExceptionHandler;
int GNextChildId = 100;

// Base window procedure of each class we registered, by class name.
std::map<std::wstring, WNDPROC>& BaseProcs() {
  static std::map<std::wstring, WNDPROC> procs;
  return procs;
}

void SetMouseControl(TControl* control) {
  if (control == GMouseControl) return;
  TControl* old = GMouseControl;
  GMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

bool IsMouseButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
         msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}
bool IsMouseButtonUp(UINT msg) {
  return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

}  // namespace

TControl* MouseControl() { return GMouseControl; }

void SetExceptionHandler(std::function<void()> handler) { GExceptionHandler = std::move(handler); }

void HandleCurrentException() {
  try {
    if (GExceptionHandler) {
      GExceptionHandler();
      return;
    }
    throw;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONSTOP);
  } catch (...) {
    MessageBoxA(nullptr, "Unknown error", "Error", MB_OK | MB_ICONSTOP);
  }
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* system = nullptr;
  switch (cursor) {
    case crDefault:
    case crArrow: system = IDC_ARROW; break;
    case crNone: return nullptr;
    case crCross: system = IDC_CROSS; break;
    case crIBeam: system = IDC_IBEAM; break;
    case crSizeNESW: system = IDC_SIZENESW; break;
    case crSizeNS: system = IDC_SIZENS; break;
    case crSizeNWSE: system = IDC_SIZENWSE; break;
    case crSizeWE: system = IDC_SIZEWE; break;
    case crHourGlass: system = IDC_WAIT; break;
    case crNo: system = IDC_NO; break;
    case crHandPoint: system = IDC_HAND; break;
    case crSizeAll: system = IDC_SIZEALL; break;
    case crDrag:
    case crMultiDrag: {
      // Shared cursors from our resources live as long as the module.
      HANDLE own = LoadImageW(GetModuleHandleW(nullptr), cursor == crDrag ? L"KV_DRAG" : L"KV_MULTIDRAG",
                              IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE);
      if (own) return static_cast<HCURSOR>(own);
      system = IDC_ARROW;
      break;
    }
  }
  return LoadCursorW(nullptr, system ? system : IDC_ARROW);
}

// ---- TControl

TControl::TControl() {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont.OnChange = [this] {
    FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (GMouseControl == this) GMouseControl = nullptr;
  if (FParent) {
    std::erase(FParent->FControls, this);
    if (FParent->FCaptureControl == this) FParent->FCaptureControl = nullptr;
    if (!IsWindowed() && FParent->HandleAllocated()) {
      RECT r = BoundsRect();
      InvalidateRect(FParent->FHandle, &r, TRUE);
    }
  }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  if (WindowProc) {
    WindowProc(message);
  } else {
    WndProc(message);
  }
  return message.Result;
}

void TControl::WndProc(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  const unsigned keys = static_cast<unsigned>(m.WParam);
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, keys, x, y);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FMouseDown = true;
      if (OnMouseDown) OnMouseDown(this, mbLeft, keys, x, y);
      if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
      break;
    case WM_LBUTTONUP: {
      const bool wasDown = std::exchange(FMouseDown, false);
      if (OnMouseUp) OnMouseUp(this, mbLeft, keys, x, y);
      if (wasDown && FClickOnMouseUp && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
      break;
    }
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbRight, keys, x, y);
      break;
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbRight, keys, x, y);
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) {
    Invalidate();
    std::erase(FParent->FControls, this);
  }
  FParent = parent;
  if (!parent) return;
  parent->FControls.push_back(this);
  if (FParentColor) ParentColorChanged();
  if (FParentFont) ParentFontChanged();
  if (IsWindowed()) {
    auto* self = static_cast<TWinControl*>(this);
    if (parent->HandleAllocated()) {
      if (self->HandleAllocated()) {
        ::SetParent(self->FHandle, parent->FHandle);
      } else {
        self->HandleNeeded();
      }
    }
  } else {
    Invalidate();
  }
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
}

void TControl::SetCaption(std::wstring_view caption) {
  if (FCaption == caption) return;
  FCaption = caption;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  if (FEnabled == enabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (FVisible == visible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  Perform(CM_VISIBLECHANGED, visible);
  Invalidate();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetColor(TColor color) {
  FParentColor = false;
  if (FColor == color) return;
  FColor = color;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent && FColor != FParent->FColor) {
    FColor = FParent->FColor;
    ColorChanged();
  }
}

void TControl::ParentFontChanged() {
  if (FParentFont && FParent) {
    FFont = FParent->FFont;  // fires OnChange, which clears the flag: put it back
    FParentFont = true;
  }
}

void TControl::ColorChanged() {
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->FHandle, &r, FALSE);
  }
}

void TControl::Update() {
  if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->FHandle);
}

// ---- TGraphicControl

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
    FCanvas.Font() = Font();
    FCanvas.Brush().SetColor(Color());
    FCanvas.Brush().SetStyle(bsSolid);
    Paint();
    FCanvas.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

// ---- window procedure shared by all our windows

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = nullptr;
  if (msg == WM_NCCREATE) {
    control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (control) {
      control->FHandle = wnd;
      SetPropW(wnd, kControlProp, control);
    }
  } else {
    control = static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
  }
  if (!control) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    auto it = BaseProcs().find(name);
    WNDPROC base = it != BaseProcs().end() && it->second ? it->second : DefWindowProcW;
    return CallWindowProcW(base, wnd, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  control->MainWndProc(message);
  if (msg == WM_NCDESTROY) control->WindowGone();
  return message.Result;
}

// ---- TWinControl

TWinControl::TWinControl() { FClickOnMouseUp = false; }

TWinControl::~TWinControl() {
  // Children are owned elsewhere (by the form); they lose their parent here and their
  // windows go with ours.
  for (TControl* c : std::vector<TControl*>(FControls)) c->FParent = nullptr;
  FControls.clear();
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  return wnd ? static_cast<TWinControl*>(GetPropW(wnd, kControlProp)) : nullptr;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = FCaption;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (FTabStop) params.Style |= WS_TABSTOP;
  params.X = FLeft;
  params.Y = FTop;
  params.Width = FWidth;
  params.Height = FHeight;
}

void TWinControl::CreateHandle() {
  if (FParent) FParent->HandleNeeded();
  TCreateParams params;
  CreateParams(params);
  if (FParent) params.WndParent = FParent->FHandle;
  if (params.WinClassName.empty())
    params.WinClassName = L"Kv." + (params.BaseClass.empty() ? std::wstring(L"Window") : params.BaseClass);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, params.WinClassName.c_str(), &wc)) {
    WNDPROC base = nullptr;
    if (!params.BaseClass.empty()) {
      if (!GetClassInfoExW(nullptr, params.BaseClass.c_str(), &wc)) return;
      base = wc.lpfnWndProc;
    } else {
      wc = WNDCLASSEXW{};
      wc.style = params.ClassStyle;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FrameworkWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExW(&wc);
    BaseProcs()[params.WinClassName] = base;
  }
  FDefWndProc = BaseProcs()[params.WinClassName];
  if (!FDefWndProc) FDefWndProc = DefWindowProcW;

  HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(GNextChildId++)) : nullptr;
  HWND wnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                             params.Style, params.X, params.Y, params.Width, params.Height,
                             params.WndParent, id, instance, this);
  if (!wnd) return;
  FHandle = wnd;
  CreateWnd();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

void TWinControl::CreateWnd() {
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::DestroyHandle() {
  if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::DestroyWnd() { FCaption = Caption(); }

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::WindowGone() {
  RemovePropW(FHandle, kControlProp);
  FHandle = nullptr;
  FTrackingLeave = false;
}

void TWinControl::MainWndProc(TMessage& message) {
  try {
    if (WindowProc) {
      WindowProc(message);
    } else {
      WndProc(message);
    }
  } catch (...) {
    HandleCurrentException();
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  // Framework notifications mean nothing to the system's window procedures.
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (FHandle) m.Result = CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
}

std::wstring TWinControl::Caption() const {
  if (!FHandle) return FCaption;
  const int length = GetWindowTextLengthW(FHandle);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(FHandle, text.data(), length + 1)));
  return text;
}

void TWinControl::SetCaption(std::wstring_view caption) {
  FCaption = caption;
  if (FHandle) SetWindowTextW(FHandle, FCaption.c_str());
  Perform(CM_TEXTCHANGED);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (FHandle) SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetEnabled(bool enabled) {
  if (Enabled() == enabled) return;
  if (FHandle) EnableWindow(FHandle, enabled);
  TControl::SetEnabled(enabled);
}

void TWinControl::SetVisible(bool visible) {
  if (Visible() == visible) return;
  TControl::SetVisible(visible);
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::FontChanged() {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  for (TControl* c : FControls) c->ParentFontChanged();
  TControl::FontChanged();
}

void TWinControl::ColorChanged() {
  FColorBrush.Reset();
  for (TControl* c : FControls) c->ParentColorChanged();
  TControl::ColorChanged();
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (HWND wnd = Handle()) ::SetFocus(wnd);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  std::vector<TWinControl*> children;
  for (TControl* c : FControls)
    if (c->IsWindowed()) children.push_back(static_cast<TWinControl*>(c));
  std::stable_sort(children.begin(), children.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
  for (TWinControl* c : children) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, point)) return c;
  }
  return nullptr;
}

// ---- message handling

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintHandler(m);
      return;
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
    case WM_DESTROY:
      DestroyWnd();
      break;
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
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
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
    default:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
  }
  TWinControl* control = FindControl(child);
  if (!control || control == this) return false;
  m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
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

void TWinControl::MouseHandler(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
  if (m.Msg == WM_MOUSEMOVE) {
    if (!FTrackingLeave) {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
      FTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    SetMouseControl(target ? target : this);
  }
  if (!target) {
    TControl::WndProc(m);
    return;
  }
  if (IsMouseButtonDown(m.Msg)) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
  if (IsMouseButtonUp(m.Msg)) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
}

void TWinControl::MouseLeaveHandler() {
  // The mouse left this window: find what it is over now, if it is one of ours.
  POINT p;
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  TWinControl* control = nullptr;
  for (HWND w = under; w && !control; w = GetParent(w)) control = FindControl(w);
  if (!control) {
    SetMouseControl(nullptr);
    return;
  }
  ScreenToClient(control->FHandle, &p);
  TControl* inner = control->ControlAtPos(p);
  SetMouseControl(inner ? inner : control);
}

void TWinControl::PaintHandler(TMessage& m) {
  const bool hasGraphics = std::any_of(FControls.begin(), FControls.end(),
                                       [](TControl* c) { return !c->IsWindowed() && c->Visible(); });
  if (!FOwnPaint && !hasGraphics && !FDoubleBuffered) {
    DefaultHandler(m);
    return;
  }
  if (m.WParam) {  // someone hands us a DC (WM_PRINTCLIENT, or a parent painting us)
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (FOwnPaint) {
      PaintWindow(dc);
    } else {
      DefaultHandler(m);
    }
    PaintControls(dc);
    return;
  }
  TPaintDc paint(FHandle);
  RECT client;
  GetClientRect(FHandle, &client);
  if (FDoubleBuffered && client.right > 0 && client.bottom > 0) {
    TBitmap buffer(client.right, client.bottom);
    HDC dc = buffer.Canvas().Handle();
    if (!FOwnPaint) SendMessageW(FHandle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    PaintWindow(dc);
    PaintControls(dc);
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  } else {
    PaintWindow(paint.Get());
    PaintControls(paint.Get());
  }
}

void TWinControl::PaintWindow(HDC dc) {
  if (FOwnPaint) {
    TCanvas canvas(dc);
    RECT client;
    GetClientRect(FHandle, &client);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    canvas.Font() = Font();
    Paint(canvas);
    return;
  }
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (c->IsWindowed() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    TSavedDc saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

}  // namespace kv
