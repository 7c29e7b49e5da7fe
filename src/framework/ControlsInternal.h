#pragma once
// Shared by the control sources only.
#include <windows.h>

#include <map>
#include <string>

namespace kv {

class TControl;
class TWinControl;

// The window procedure of every window class we register.
LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace detail {

// The system procedure under each window class we registered, by class name.
std::map<std::wstring, WNDPROC>& BaseProcs();
// Our window classes keep two pointers after the system class's own extra bytes (a
// superclass keeps them): the control (one in-process read per message) and the font the
// window was last given. Only for a window of one of our classes; nothing is checked.
inline constexpr int kOwnWindowBytes = 2 * int(sizeof(void*));
TWinControl* BoundControl(HWND wnd);
void BindControl(HWND wnd, TWinControl* control);
// The window is already at that place and size (in the coordinates SetWindowPos takes:
// the parent's client area, the screen for a top-level window); a height of -1 is not
// compared. Lets SetBounds skip a move the system would answer with a round of messages.
bool WindowPlacedAt(HWND wnd, int left, int top, int width, int height);
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
