#pragma once
// Display scale. Sizes are written in 96-DPI units and turned into pixels of a window's
// DPI with ScaleToDpi, the one rounding rule (MulDiv: halves away from zero) everywhere,
// so that a window scaled after it was made matches one made at that DPI.
//
// The per-window calls are looked up at run time: older systems lack them, and a process
// that is not DPI aware gets 96 from every one of them.
#include <windows.h>

namespace kv {

inline constexpr int kDefaultDpi = 96;

// `value` in 96-DPI units, in pixels at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return dpi == kDefaultDpi ? value : MulDiv(value, dpi, kDefaultDpi); }
// Pixels at `dpi` back in 96-DPI units (for sizes the system chose, not ours).
inline int UnscaleFromDpi(int value, int dpi) {
  return dpi == kDefaultDpi || dpi <= 0 ? value : MulDiv(value, kDefaultDpi, dpi);
}

// The DPI of `wnd` (its monitor's for a per-monitor aware window); 96 when unknown.
int WindowDpi(HWND wnd);
// The DPI of the primary screen as this process sees it; 96 when unknown.
int SystemDpi();
// AdjustWindowRectEx at `dpi`: the frame of another monitor's scale where the system can.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// GetSystemMetrics at `dpi`, else the system's own (the system DPI's) scaled to `dpi`.
int SystemMetricForDpi(int index, int dpi);

}  // namespace kv
