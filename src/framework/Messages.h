#pragma once
// The message record every handler works on, and the framework's own notifications.
//
// Window messages and our notifications travel the same road: through a control's
// replaceable WindowProc. A skin that wants to see a control's messages saves the
// current WindowProc, installs its own and calls the saved one for default handling.
#include <windows.h>

#include <functional>

namespace kv {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A control's message handler. An empty one counts as "none" when a skin restores it.
using TWndMethod = std::function<void(TMessage&)>;

// Notifications the framework sends to its controls (numbers are stable: skins match on them).
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = 0xB005;       // WParam: virtual key; Result 1 = handled
inline constexpr UINT CM_DIALOGCHAR = 0xB006;      // WParam: character (Alt held); Result 1 = handled
inline constexpr UINT CM_VISIBLECHANGED = 0xB00B;
inline constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
inline constexpr UINT CM_COLORCHANGED = 0xB00D;
inline constexpr UINT CM_FONTCHANGED = 0xB00E;
inline constexpr UINT CM_TEXTCHANGED = 0xB012;
inline constexpr UINT CM_MOUSEENTER = 0xB013;
inline constexpr UINT CM_MOUSELEAVE = 0xB014;
inline constexpr UINT CM_MENUCHANGED = 0xB015;
inline constexpr UINT CM_ENTER = 0xB01A;
inline constexpr UINT CM_EXIT = 0xB01B;
inline constexpr UINT CM_RELEASE = 0xB021;

// Parent notifications reflected to the child they concern, as CN_BASE + message:
// 0xBC4E is a reflected WM_NOTIFY, 0xBD11 a reflected WM_COMMAND, 0xBD14/0xBD15 scrolls.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

}  // namespace kv
