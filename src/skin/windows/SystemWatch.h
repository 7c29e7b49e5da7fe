#pragma once
// TSystemWatch: a hidden top-level window through which the manager hears the system's
// broadcasts (they reach top-level windows only, and while high contrast is on no form
// skin is left to hear them): high contrast switched, system colours or the theme changed.
#include <windows.h>

#include <functional>

#include "base/win/Handles.h"

namespace kv {

class TSystemWatch {
 public:
  struct THandlers {
    // High contrast as the system reports it after a WM_SETTINGCHANGE for it.
    std::function<void(bool on)> HighContrast;
    // WM_SYSCOLORCHANGE or WM_THEMECHANGED: whatever was built from system colours is stale.
    std::function<void()> ColoursChanged;
  };

  explicit TSystemWatch(THandlers handlers);
  TSystemWatch(const TSystemWatch&) = delete;
  TSystemWatch& operator=(const TSystemWatch&) = delete;

  HWND Window() const { return FWindow.Get(); }
  // Whether the system has high contrast on now.
  static bool HighContrastOn();
  // What the watch reads for high contrast instead of the system (tests; empty: the system).
  static void SetHighContrastReader(std::function<bool()> reader);

 private:
  static LRESULT CALLBACK WatchProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OnMessage(UINT msg, WPARAM wParam);

  THandlers FHandlers;
  TWindowHandle FWindow;
};

}  // namespace kv
