#pragma once
// The message record every handler works on, how handlers are chained in front of a
// control or a window, and the framework's own notifications.
//
// Window messages and our notifications travel the same road: through a control's hook
// chain and then its own WndProc. A skin that wants to see a control's messages adds a
// hook; the hook calls the default it is given to let the rest of the chain and the
// control handle the message.
#include <windows.h>

#include <cstdint>
#include <functional>

namespace kv {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A hook's default processing: everything below it (later-added hooks sit above earlier
// ones; the control's own WndProc, or the window's previous procedure, is at the bottom).
// Valid only during the hook's call.
class TDefaultProc {
 public:
  using TCall = void (*)(const void* context, TMessage& message);
  TDefaultProc(TCall call, const void* context) : FCall(call), FContext(context) {}
  void operator()(TMessage& message) const { FCall(FContext, message); }

 private:
  TCall FCall;
  const void* FContext;
};

// A handler in front of a control or window. If it does not call `callDefault`, nothing
// below it sees the message and the Result it set stands.
using TMessageHook = std::function<void(TMessage& message, TDefaultProc callDefault)>;

// Names one installed hook for its removal. Zero names none.
struct THookToken {
  std::uint64_t Id = 0;
  explicit operator bool() const { return Id != 0; }
  friend bool operator==(THookToken, THookToken) = default;
};

// Notifications the framework sends to its controls (numbers are stable: skins match on them).
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = 0xB005;   // WParam: virtual key; Result 1 = handled
inline constexpr UINT CM_DIALOGCHAR = 0xB006;  // WParam: character (Alt held); Result 1 = handled
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
