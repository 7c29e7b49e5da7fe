#pragma once
// Hooks in front of raw windows (windows that are not ours: system dialogs, their
// buttons, popup menus, the MDI client). They go through the platform's subclass
// service, which keeps any number of hooks per window and lets them go in any order.
//
// A hook's state (its function and whatever that holds) is freed when the hook is
// removed or when the window reaches WM_NCDESTROY, whichever comes first, so a skin
// never needs to know which of the two happened: removing a hook that is gone already
// changes nothing. Exceptions never leave a hook: they go to the application's error box.
#include <windows.h>

#include "framework/Messages.h"

namespace kv {

// Puts `hook` in front of the window's procedure and every hook added before it.
// No token (and no hook) when the window does not exist.
THookToken SubclassWindow(HWND wnd, TMessageHook hook);
// Removes exactly that hook; safe from inside its own call (its state is freed when the
// call returns) and after the window is gone.
void UnsubclassWindow(HWND wnd, THookToken token);
bool IsSubclassed(HWND wnd, THookToken token);

}  // namespace kv
