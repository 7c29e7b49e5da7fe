#pragma once
// The skin engine's private window messages, in one place. They lie in the range private to
// a window class (WM_USER and up), clear of the framework's own notifications (0xB000 and
// up) and of the notifications it reflects to controls (0xBC00 and up), which a skinned
// framework control sees on the same hook chain.
#include <windows.h>

namespace kv {

// A form skin re-applies colours and frame after a skin change (sent to the form).
inline constexpr UINT SM_APPLYSKIN = 0x3401;
// A skinned check box or radio button repaints its mark without a state change (sent by
// whoever wants that).
inline constexpr UINT SM_REFRESHMARK = 0x3402;
// A form skin repaints its whole frame (posted, wParam 0, lParam 0).
inline constexpr UINT SM_REPAINTFRAME = 0x3502;
// Posted right after a form skin is attached (wParam 0, lParam 1000): it finishes setting up.
inline constexpr UINT SM_SKINATTACHED = 0x3503;
// Every skinned window procedure answers 1 (so nothing is skinned twice); a form skin also
// posts it to its window with a caption button's action code that has no meaning of its own.
inline constexpr UINT SM_ISSKINNED = 0x3504;

}  // namespace kv
