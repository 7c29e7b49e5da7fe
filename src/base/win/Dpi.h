#pragma once
// Display scale. Sizes are written in 96-DPI units and turned into pixels of a window's
// DPI with ScaleToDpi, the one rounding rule (MulDiv: halves away from zero) everywhere,
// so that a window scaled after it was made matches one made at that DPI.
//
// The per-window calls are looked up at run time: older systems lack them, and a process
// that is not DPI aware gets 96 from every one of them.
#include <windows.h>

// Named by the headers for newer targets only.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace kv {

inline constexpr int kDefaultDpi = 96;

// `value` in 96-DPI units, in pixels at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return dpi == kDefaultDpi ? value : MulDiv(value, dpi, kDefaultDpi); }
// Pixels at `dpi` back in 96-DPI units (for sizes the system chose, not ours).
inline int UnscaleFromDpi(int value, int dpi) {
  return dpi == kDefaultDpi || dpi <= 0 ? value : MulDiv(value, kDefaultDpi, dpi);
}

// The DPI of `wnd` (its monitor's for a per-monitor aware window); 96 when unknown. A
// window whose top-level window was told a scale by NoteWindowDpi is at that scale.
int WindowDpi(HWND wnd);
// WM_DPICHANGED's scale for the top-level window `wnd`, noted by whoever handles the
// message first. The system reports the same for a window it moved itself; noted, the
// window, its children and the skin drawing them agree on the scale from the message
// on, also where the system does not (a message a program sent, as tests do).
void NoteWindowDpi(HWND wnd, int dpi);
// The window is going: what was noted for it goes too (its handle may come back).
void ForgetWindowDpi(HWND wnd);
// The DPI of the primary screen as this process sees it; 96 when unknown.
int SystemDpi();
// AdjustWindowRectEx at `dpi`: the frame of another monitor's scale where the system can.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// GetSystemMetrics at `dpi`, else the system's own (the system DPI's) scaled to `dpi`.
int SystemMetricForDpi(int index, int dpi);
// The non-client metrics (caption and menu fonts...) at `dpi`; where the system cannot
// give them at another scale, its own with the fonts' heights scaled from the system DPI.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi);

}  // namespace kv
