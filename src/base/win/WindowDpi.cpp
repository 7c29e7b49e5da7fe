#include "base/win/WindowDpi.h"

namespace kv {
namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

template <class T>
T User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

unsigned WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (!window || !getDpiForWindow) return kDefaultDpi;
  const UINT dpi = getDpiForWindow(window);
  return dpi ? dpi : kDefaultDpi;
}

int SystemMetricForDpi(int index, unsigned dpi) {
  static const auto forDpi = User32Function<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), int(dpi), int(kDefaultDpi));
}

}  // namespace kv
