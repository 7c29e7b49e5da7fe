#include "framework/ExtCtrls.h"

namespace kv {

// ---- TImage

TImage::TImage() {
  SetBounds(0, 0, 105, 105);
  FPicture.OnChange = [this] { Invalidate(); };
}

void TImage::Paint() {
  TGraphic* graphic = FPicture.Graphic();
  if (!graphic || graphic->Empty()) return;
  if (Dpi() == kDefaultDpi) {
    Canvas().Draw(0, 0, *graphic);
  } else {
    // A picture's size is in 96-DPI units like the rest of the layout.
    graphic->Draw(Canvas(), RECT{0, 0, Scaled(graphic->Width()), Scaled(graphic->Height())});
  }
}

// ---- TTimer

TTimer::TTimer() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Kv.Timer";
    wc.cbWndExtra = sizeof(TTimer*);  // the timer, as our other windows keep their object
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  FWindow.Reset(
      CreateWindowExW(0, L"Kv.Timer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this));
  UpdateTimer();
}

TTimer::~TTimer() {
  if (FWindow) KillTimer(FWindow.Get(), 1);
}

void TTimer::SetInterval(unsigned interval) {
  FInterval = interval;
  UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (!FWindow) return;
  KillTimer(FWindow.Get(), 1);
  if (FEnabled && FInterval > 0) SetTimer(FWindow.Get(), 1, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(wnd, 0, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  } else if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, 0));
    if (timer && timer->FEnabled && timer->OnTimer) {
      try {
        timer->OnTimer(timer);
      } catch (...) {
        HandleCurrentException();
      }
    }
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace kv
