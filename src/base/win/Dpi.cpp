#include "base/win/Dpi.h"

namespace kv {

namespace {

// The calls of newer systems, found once. A missing one leaves its pointer null.
struct TDpiCalls {
  UINT(WINAPI* GetDpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* GetDpiForSystem)() = nullptr;
  BOOL(WINAPI* AdjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* GetSystemMetricsForDpi)(int, UINT) = nullptr;
};

template <class T>
void Find(HMODULE module, const char* name, T& target) {
  // Casting through a plain function pointer keeps -Wcast-function-type quiet.
  target = reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const TDpiCalls& Calls() {
  static const TDpiCalls calls = [] {
    TDpiCalls c;
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      Find(user, "GetDpiForWindow", c.GetDpiForWindow);
      Find(user, "GetDpiForSystem", c.GetDpiForSystem);
      Find(user, "AdjustWindowRectExForDpi", c.AdjustWindowRectExForDpi);
      Find(user, "GetSystemMetricsForDpi", c.GetSystemMetricsForDpi);
    }
    return c;
  }();
  return calls;
}

int Known(UINT dpi) { return dpi ? static_cast<int>(dpi) : kDefaultDpi; }

}  // namespace

int WindowDpi(HWND wnd) {
  if (wnd && Calls().GetDpiForWindow) return Known(Calls().GetDpiForWindow(wnd));
  return SystemDpi();
}

int SystemDpi() {
  if (Calls().GetDpiForSystem) return Known(Calls().GetDpiForSystem());
  HDC screen = GetDC(nullptr);  // borrowed and given straight back
  if (!screen) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
  if (Calls().AdjustWindowRectExForDpi)
    return Calls().AdjustWindowRectExForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)) != FALSE;
  return AdjustWindowRectEx(&rect, style, menu, exStyle) != FALSE;
}

int SystemMetricForDpi(int index, int dpi) {
  if (Calls().GetSystemMetricsForDpi) return Calls().GetSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  // The system's metrics are at the system DPI: scale them from there.
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

}  // namespace kv
