#include "base/win/Dpi.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace kv {

namespace {

// The calls of newer systems, found once. A missing one leaves its pointer null.
struct TDpiCalls {
  UINT(WINAPI* GetDpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* GetDpiForSystem)() = nullptr;
  BOOL(WINAPI* AdjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* GetSystemMetricsForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* SystemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
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
      Find(user, "SystemParametersInfoForDpi", c.SystemParametersInfoForDpi);
    }
    return c;
  }();
  return calls;
}

int Known(UINT dpi) { return dpi ? static_cast<int>(dpi) : kDefaultDpi; }

// The scales NoteWindowDpi was told, by top-level window: a handful at most.
struct TNotedDpis {
  std::mutex Lock;
  std::vector<std::pair<HWND, int>> Windows;
};

TNotedDpis& Noted() {
  static TNotedDpis noted;
  return noted;
}

// What was noted for `wnd`'s top-level window; 0 when nothing was. Without notes (the
// usual case) no window is looked up.
int NotedDpi(HWND wnd) {
  TNotedDpis& noted = Noted();
  {
    const std::lock_guard lock(noted.Lock);
    if (noted.Windows.empty()) return 0;
  }
  HWND root = GetAncestor(wnd, GA_ROOT);
  if (!root) root = wnd;
  const std::lock_guard lock(noted.Lock);
  const auto it = std::find_if(noted.Windows.begin(), noted.Windows.end(),
                               [root](const std::pair<HWND, int>& entry) { return entry.first == root; });
  return it == noted.Windows.end() ? 0 : it->second;
}

}  // namespace

int WindowDpi(HWND wnd) {
  if (wnd)
    if (const int noted = NotedDpi(wnd)) return noted;
  if (wnd && Calls().GetDpiForWindow) return Known(Calls().GetDpiForWindow(wnd));
  return SystemDpi();
}

void NoteWindowDpi(HWND wnd, int dpi) {
  if (!wnd || dpi <= 0) return;
  TNotedDpis& noted = Noted();
  const std::lock_guard lock(noted.Lock);
  for (auto& [window, scale] : noted.Windows)
    if (window == wnd) {
      scale = dpi;
      return;
    }
  noted.Windows.emplace_back(wnd, dpi);
}

void ForgetWindowDpi(HWND wnd) {
  TNotedDpis& noted = Noted();
  const std::lock_guard lock(noted.Lock);
  std::erase_if(noted.Windows, [wnd](const std::pair<HWND, int>& entry) { return entry.first == wnd; });
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

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) {
  metrics.cbSize = sizeof(metrics);
  if (Calls().SystemParametersInfoForDpi &&
      Calls().SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, UINT(dpi)))
    return true;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
  const int system = SystemDpi();
  if (dpi == system) return true;
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = MulDiv(font->lfHeight, dpi, system);
  return true;
}

}  // namespace kv
