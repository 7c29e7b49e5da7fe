#include "framework/Forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <exception>

#include "base/win/WideText.h"

namespace kv {

TApplication* Application = nullptr;

// ---- TForm

TForm::TForm() {
  TControl::SetVisible(false);
  FOwnPaint = true;
  FClickOnMouseUp = true;
  SetColor(clBtnFace);
  if (Application) Application->FForms.push_back(this);
}

TForm::~TForm() {
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
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE)));
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

void TForm::SetMenu(HMENU menu) {
  if (HandleAllocated()) ::SetMenu(FHandle, menu);
  Perform(CM_MENUCHANGED);
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
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
    RECT r{0, 0, FClientWidth, FClientHeight};
    AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
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
  params.WinClassName = L"Kv.Form";
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FIcon) {
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIcon.Get()));
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon.Get()));
  }
}

void TForm::Show() {
  HandleNeeded();
  TControl::SetVisible(true);
  ShowWindow(FHandle, SW_SHOWNORMAL);
  SetForegroundWindow(FHandle);
  UpdateWindow(FHandle);
}

void TForm::Close() {
  TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    ShowWindow(FHandle, SW_MINIMIZE);
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
    SelectNext(GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  // Enter: a focused push button presses itself, anything else presses the default button.
  TWinControl* focused = FocusedControl();
  if (focused && focused->ClassName() == "TButton") {
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
  if (operation != opRemove) return;
  if (component == FDefaultButton) FDefaultButton = nullptr;
  if (component == FActiveControl) FActiveControl = nullptr;
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      if (Application && std::find(Application->FReleased.begin(), Application->FReleased.end(), this) ==
                             Application->FReleased.end())
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
      if (!HIWORD(m.WParam)) {  // not minimised: give the focus back to a control
        if (FActiveControl && FActiveControl->CanFocus()) {
          FActiveControl->SetFocus();
        } else {
          SelectFirst();
        }
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TForm::InstallHints() {
  if (FHintsInstalled || !FHandle) return;
  FHintsInstalled = true;
  FHintWindow.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr, GetModuleHandleW(nullptr),
                                    nullptr));
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
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                            ICC_STANDARD_CLASSES};
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
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSCHAR) {
    TForm* form = dynamic_cast<TForm*>(TWinControl::FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
    if (form) {
      try {
        if (msg.message == WM_KEYDOWN && form->DialogKey(msg)) return true;
        if (msg.message == WM_SYSCHAR && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam)) return true;
      } catch (...) {
        HandleCurrentException();
        return true;
      }
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
  if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()))
    owner = FMainForm->Handle();
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
