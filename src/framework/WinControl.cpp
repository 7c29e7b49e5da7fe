// TWinControl: its window's class, creation and destruction, and the properties that
// live in the window once it exists.
#include <algorithm>
#include <string>

#include "base/win/WideText.h"
#include "framework/Controls.h"
#include "framework/ControlsInternal.h"

namespace kv {

namespace {

int GNextChildId = 100;

// "Unable to create a window of class Kv.X (error 1407: Cannot find window class.)"
std::string WindowErrorText(std::wstring_view what, std::wstring_view className, DWORD error) {
  wchar_t* reason = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  std::wstring text = std::wstring(what) + std::wstring(className) + L" (error " + std::to_wstring(error);
  if (reason) {
    std::wstring_view r(reason);
    while (!r.empty() && (r.back() == L'\r' || r.back() == L'\n' || r.back() == L' ')) r.remove_suffix(1);
    if (!r.empty()) text += L": " + std::wstring(r);
    LocalFree(reason);
  }
  text += L")";
  return Utf8FromWide(text);
}

}  // namespace

std::map<std::wstring, WNDPROC>& detail::BaseProcs() {
  static std::map<std::wstring, WNDPROC> procs;
  return procs;
}

TWinControl::TWinControl() { FClickOnMouseUp = false; }

TWinControl::~TWinControl() {
  // Children are owned elsewhere (by the form); they lose their parent here and their
  // windows go with ours.
  for (TControl* c : std::vector<TControl*>(FControls)) c->FParent = nullptr;
  FControls.clear();
  DestroyHandle();
}

namespace {

// Where the control and the last font sit in a window of one of our classes: our bytes
// come last.
int ControlSlot(HWND wnd) { return static_cast<int>(GetClassLongPtrW(wnd, GCL_CBWNDEXTRA)) - detail::kOwnWindowBytes; }
int FontSlot(HWND wnd) { return ControlSlot(wnd) + int(sizeof(void*)); }

}  // namespace

TWinControl* detail::BoundControl(HWND wnd) {
  const int slot = ControlSlot(wnd);
  return slot >= 0 ? reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, slot)) : nullptr;
}

void detail::BindControl(HWND wnd, TWinControl* control) {
  const int slot = ControlSlot(wnd);
  if (slot >= 0) SetWindowLongPtrW(wnd, slot, reinterpret_cast<LONG_PTR>(control));
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  // Only a window of a class we registered holds a control in its bytes; anything else's
  // bytes are not ours to read.
  if (!wnd || reinterpret_cast<WNDPROC>(GetClassLongPtrW(wnd, GCLP_WNDPROC)) != FrameworkWndProc) return nullptr;
  return detail::BoundControl(wnd);
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
  // Making the parent's window makes its children's too, this one's among them.
  if (FHandle) return;
  ScaleForDpi(CreationDpi());
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
      if (!GetClassInfoExW(nullptr, params.BaseClass.c_str(), &wc))
        throw EWindowError(WindowErrorText(L"There is no window class ", params.BaseClass, GetLastError()));
      base = wc.lpfnWndProc;
    } else {
      wc = WNDCLASSEXW{};
      wc.style = params.ClassStyle;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    wc.cbSize = sizeof(wc);
    // Room for the control after the system class's own bytes (see BoundControl).
    wc.cbWndExtra += detail::kOwnWindowBytes;
    wc.lpfnWndProc = FrameworkWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExW(&wc))
      throw EWindowError(WindowErrorText(L"Unable to register the window class ", params.WinClassName, GetLastError()));
    detail::BaseProcs()[params.WinClassName] = base;
  }
  FDefWndProc = detail::BaseProcs()[params.WinClassName];
  if (!FDefWndProc) FDefWndProc = DefWindowProcW;

  HWND wnd = CreateWindowHandle(params);
  if (!wnd)
    throw EWindowError(WindowErrorText(L"Unable to create a window of class ", params.WinClassName, GetLastError()));
  FHandle = wnd;
  CreateWnd();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

int TWinControl::CreationDpi() const { return FParent ? FParent->Dpi() : SystemDpi(); }

void TWinControl::ScaleForDpi(int dpi) {
  if (dpi <= 0 || dpi == Dpi()) return;
  for (TControl* c : std::vector<TControl*>(FControls)) c->ScaleForDpi(dpi);
  TControl::ScaleForDpi(dpi);
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& params) {
  HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(GNextChildId++)) : nullptr;
  return CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style, params.X,
                         params.Y, params.Width, params.Height, params.WndParent, id, GetModuleHandleW(nullptr), this);
}

void TWinControl::CreateWnd() {
  SetWindowLongPtrW(FHandle, FontSlot(FHandle), reinterpret_cast<LONG_PTR>(Font().Handle()));
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::DestroyHandle() {
  if (FHandle) DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() { DestroyWindow(FHandle); }

void TWinControl::DestroyWnd() { FCaption = Caption(); }

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::WindowGone() {
  detail::BindControl(FHandle, nullptr);
  FHandle = nullptr;
  FTrackingLeave = false;
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

bool detail::WindowPlacedAt(HWND wnd, int left, int top, int width, int height) {
  RECT r{};
  if (!wnd || !GetWindowRect(wnd, &r)) return false;
  if (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r.left == left && r.top == top && r.right - r.left == width && (height < 0 || r.bottom - r.top == height);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  StoreBounds(left, top, width, height);
  if (FHandle && !detail::WindowPlacedAt(FHandle, left, top, width, height))
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
  // A colour alone keeps the handle the window was given: repainting (below) is enough.
  const HFONT font = FHandle ? Font().Handle() : nullptr;
  if (font && reinterpret_cast<HFONT>(GetWindowLongPtrW(FHandle, FontSlot(FHandle))) != font) {
    SetWindowLongPtrW(FHandle, FontSlot(FHandle), reinterpret_cast<LONG_PTR>(font));
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
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

}  // namespace kv
