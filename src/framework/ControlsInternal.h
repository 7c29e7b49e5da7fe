#pragma once
// Shared by the control sources only.
#include <windows.h>

#include <map>
#include <string>

namespace kv {

class TControl;

// The window procedure of every window class we register.
LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace detail {

// The window property that binds one of our windows to its control.
inline constexpr wchar_t kControlProp[] = L"Kv.Control";
// The system procedure under each window class we registered, by class name.
std::map<std::wstring, WNDPROC>& BaseProcs();
// The control under the mouse changes: leave goes to the old one, enter to the new one.
void SetMouseControl(TControl* control);
// A scroll-information record asking for `mask`.
inline SCROLLINFO ScrollInfo(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  return info;
}

}  // namespace detail
}  // namespace kv
