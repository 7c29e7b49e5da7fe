#pragma once
// Helpers for the Windows tests: pumping messages until a condition holds (with a bound),
// answering message boxes from a second thread, reading pixels back from the screen.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <initializer_list>
#include <string>
#include <thread>

#include "framework/Forms.h"

namespace kv::test {

// Handles messages until `done` is true; false if that did not happen within `ms`.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void Pump() { Application->ProcessMessages(); }

// Moves the real cursor to a client point of `wnd` and handles what Wine makes of it until
// the cursor stays there and `arrived` holds for a while. Wine reports a warp at once and
// again when the X server echoes it, sometimes late enough to put an earlier position
// back; the warp is then repeated. Counts of enter and leave may therefore include a
// detour; their order may not.
inline bool MoveCursorTo(HWND wnd, int x, int y, const std::function<bool()>& arrived, int ms = 5000) {
  POINT target{x, y};
  ClientToScreen(wnd, &target);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  int stable = 0;
  while (std::chrono::steady_clock::now() < end) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x != target.x || now.y != target.y) SetCursorPos(target.x, target.y);
    PumpUntil([] { return false; }, 60);
    GetCursorPos(&now);
    if (now.x == target.x && now.y == target.y && arrived()) {
      if (++stable >= 4) return true;
    } else {
      stable = 0;
    }
  }
  return false;
}

// Holds keys down in this thread's key state (what GetKeyState reads) for posted keys.
class THeldKeys {
 public:
  explicit THeldKeys(std::initializer_list<BYTE> keys) {
    GetKeyboardState(FSaved);
    BYTE state[256];
    std::memcpy(state, FSaved, sizeof(state));
    for (BYTE k : keys) state[k] |= 0x80;
    SetKeyboardState(state);
  }
  ~THeldKeys() { SetKeyboardState(FSaved); }
  THeldKeys(const THeldKeys&) = delete;
  THeldKeys& operator=(const THeldKeys&) = delete;

 private:
  BYTE FSaved[256];
};

struct TBoxSeen {
  bool Found = false;
  std::wstring Title;
  std::wstring Text;
};

// Waits (on its own thread, bounded) for a message box of this process titled `title`,
// reads its text and presses `button` (OK unless told otherwise).
inline std::future<TBoxSeen> AnswerMessageBox(std::wstring title, int ms = 10000, int button = IDOK) {
  return std::async(std::launch::async, [title, ms, button] {
    TBoxSeen seen;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      struct TSearch {
        std::wstring Title;
        HWND Found = nullptr;
      } search{title, nullptr};
      EnumWindows(
          [](HWND wnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(data);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            wchar_t cls[64] = {}, text[256] = {};
            GetClassNameW(wnd, cls, 64);
            GetWindowTextW(wnd, text, 256);
            if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && s->Title == text &&
                IsWindowVisible(wnd)) {
              s->Found = wnd;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (search.Found) {
        seen.Found = true;
        seen.Title = title;
        wchar_t text[1024] = {};
        GetDlgItemTextW(search.Found, 0xFFFF, text, 1024);
        seen.Text = text;
        PostMessageW(search.Found, WM_COMMAND, button, 0);
        return seen;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return seen;
  });
}

// The colour (0x00RRGGBB) of a client pixel as it is on the screen.
inline std::uint32_t ScreenPixel(HWND wnd, int x, int y) {
  const COLORREF c = GetPixel(TWindowDc::Client(wnd).Get(), x, y);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace kv::test
