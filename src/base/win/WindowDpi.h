#pragma once
// The DPI a window is shown at, and system metrics for it, on every system: the calls
// that know about per-monitor DPI are looked up at run time (Windows 10 1607 and later);
// without them, or for a window the system does not know, a window is at 96 DPI.
#include <windows.h>

namespace kv {

inline constexpr unsigned kDefaultDpi = 96;

unsigned WindowDpi(HWND window);
// GetSystemMetricsForDpi where there is one; otherwise the metric scaled from what
// GetSystemMetrics gives, which is 96-DPI sized for a process that is not DPI aware.
int SystemMetricForDpi(int index, unsigned dpi);

}  // namespace kv
