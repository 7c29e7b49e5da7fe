#pragma once
// Wine's windows keep no keyboard-cue state: WM_QUERYUISTATE answers 0 whatever
// WM_CHANGEUISTATE asked. For as long as this lives, a window and every window inside it
// keep that state as the platform does: WM_CHANGEUISTATE climbs to the top-level window,
// which sends WM_UPDATEUISTATE when the state changes; WM_UPDATEUISTATE records the state
// and goes on down to the children; WM_QUERYUISTATE answers what was recorded.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <vector>

namespace kv::test {

class TUiStateStandIn {
 public:
  explicit TUiStateStandIn(HWND top) {
    Add(top);
    EnumChildWindows(
        top,
        [](HWND child, LPARAM self) -> BOOL {
          reinterpret_cast<TUiStateStandIn*>(self)->Add(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }
  TUiStateStandIn(const TUiStateStandIn&) = delete;
  TUiStateStandIn& operator=(const TUiStateStandIn&) = delete;
  ~TUiStateStandIn() {
    for (const auto& [wnd, flags] : FFlags)
      if (IsWindow(wnd)) RemoveWindowSubclass(wnd, Proc, reinterpret_cast<UINT_PTR>(this));
  }

 private:
  void Add(HWND wnd) {
    if (SetWindowSubclass(wnd, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
      FFlags[wnd] = 0;
  }
  static WORD Applied(WORD flags, WPARAM change) {
    const WORD bits = HIWORD(change);
    if (LOWORD(change) == UIS_SET) return WORD(flags | bits);
    if (LOWORD(change) == UIS_CLEAR) return WORD(flags & ~bits);
    return flags;
  }
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TUiStateStandIn*>(data);
    switch (msg) {
      case WM_QUERYUISTATE: return self->FFlags[wnd];
      case WM_CHANGEUISTATE: {
        const HWND parent = GetParent(wnd);
        if ((GetWindowLongW(wnd, GWL_STYLE) & WS_CHILD) && parent && self->FFlags.count(parent))
          return SendMessageW(parent, WM_CHANGEUISTATE, wParam, lParam);
        if (Applied(self->FFlags[wnd], wParam) != self->FFlags[wnd]) SendMessageW(wnd, WM_UPDATEUISTATE, wParam, lParam);
        return 0;
      }
      case WM_UPDATEUISTATE: {
        self->FFlags[wnd] = Applied(self->FFlags[wnd], wParam);
        const LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
        std::vector<HWND> children;
        for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
          children.push_back(child);
        for (HWND child : children)
          if (self->FFlags.count(child)) SendMessageW(child, WM_UPDATEUISTATE, wParam, lParam);
        return result;
      }
      case WM_NCDESTROY: RemoveWindowSubclass(wnd, Proc, reinterpret_cast<UINT_PTR>(self)); break;
      default: break;
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
  }

  std::map<HWND, WORD> FFlags;
};

}  // namespace kv::test
