#pragma once
// Driving the platform's modal loops from inside, for the skinned-window tests.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kv::test {

inline BOOL CALLBACK CollectDropDown(HWND window, LPARAM param) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && std::wstring_view(name) == L"#32768")
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// The visible drop-down windows of this thread, in the order the system lists them.
inline std::vector<HWND> OpenDropDowns() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectDropDown, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Drives a modal loop of the platform (a menu's, a move or size loop) from a timer of the
// window: each step waits for its condition, then acts. The loops dispatch timer
// messages, so the steps run while the loop holds the thread.
class TMenuDriver {
 public:
  struct TStep {
    const char* Name;
    std::function<bool()> Ready;
    std::function<void()> Act;
  };
  TMenuDriver(HWND window, std::vector<TStep> steps) : FWindow(window), FSteps(std::move(steps)) {
    GCurrent = this;
    FStart = std::chrono::steady_clock::now();
    SetTimer(FWindow, kTimerId, 40, Tick);
  }
  ~TMenuDriver() {
    KillTimer(FWindow, kTimerId);
    GCurrent = nullptr;
  }
  bool Done() const { return FNext >= FSteps.size() || FTimedOut; }
  bool Finished() const { return FNext >= FSteps.size(); }
  std::string Stuck() const { return FNext < FSteps.size() ? FSteps[FNext].Name : "nothing"; }

 private:
  static constexpr UINT_PTR kTimerId = 0x4D42;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuDriver* d = GCurrent;
    if (!d || d->Finished()) return;
    if (d->FTimedOut || std::chrono::steady_clock::now() - d->FStart > std::chrono::seconds(8)) {
      // Never leave the test inside a modal loop: whatever opens from now on is closed.
      d->FTimedOut = true;
      EndMenu();
      ReleaseCapture();
      return;
    }
    TStep& step = d->FSteps[d->FNext];
    if (!step.Ready || step.Ready()) {
      ++d->FNext;
      if (step.Act) step.Act();
    }
  }
  static inline TMenuDriver* GCurrent = nullptr;
  HWND FWindow;
  std::vector<TStep> FSteps;
  std::size_t FNext = 0;
  bool FTimedOut = false;
  std::chrono::steady_clock::time_point FStart;
};

}  // namespace kv::test
