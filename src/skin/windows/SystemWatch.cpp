#include "skin/windows/SystemWatch.h"

#include <utility>

#include "framework/Controls.h"

namespace kv {
namespace {

constexpr wchar_t kWatchClass[] = L"Kv.SkinSystemWatch";

std::function<bool()>& HighContrastReader() {
  static std::function<bool()> reader;
  return reader;
}

}  // namespace

TSystemWatch::TSystemWatch(THandlers handlers) : FHandlers(std::move(handlers)) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WatchProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWatchClass;
    wc.cbWndExtra = sizeof(TSystemWatch*);
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  // Top-level and never shown: a message-only window hears no broadcast.
  FWindow.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kWatchClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this));
}

bool TSystemWatch::HighContrastOn() {
  if (HighContrastReader()) return HighContrastReader()();
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void TSystemWatch::SetHighContrastReader(std::function<bool()> reader) { HighContrastReader() = std::move(reader); }

LRESULT CALLBACK TSystemWatch::WatchProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(wnd, 0, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* watch = reinterpret_cast<TSystemWatch*>(GetWindowLongPtrW(wnd, 0));
  if (watch && (msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED)) {
    try {
      watch->OnMessage(msg, wParam);
    } catch (...) {
      HandleCurrentException();
    }
  }
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(wnd, 0, 0);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TSystemWatch::OnMessage(UINT msg, WPARAM wParam) {
  if (msg == WM_SETTINGCHANGE) {
    if (wParam == SPI_SETHIGHCONTRAST && FHandlers.HighContrast) FHandlers.HighContrast(HighContrastOn());
    return;
  }
  if (FHandlers.ColoursChanged) FHandlers.ColoursChanged();
}

}  // namespace kv
