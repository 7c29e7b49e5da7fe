#pragma once
// Counts what the program asks of the platform while it runs: calls of SetWindowPos and
// SetWindowRgn (through the program's own import table, so every caller in the program
// is seen and nothing else), and messages sent to windows of this thread, by number.
// Header-only: the Windows benches use it too.
#include <windows.h>

#include <cstring>
#include <map>

#include "base/win/Handles.h"

namespace kv::testing {

// Points the program's import of `name` (from whatever library) at `replacement` and
// returns what it pointed at; null when the program does not import that name.
inline void* PatchImport(const char* name, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return nullptr;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
       ++library) {
    if (!library->OriginalFirstThunk) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection);
      void* previous = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
      return previous;
    }
  }
  return nullptr;
}

// While it lives: the calls and messages counted. One at a time.
class TCallCount {
 public:
  // Every SetWindowRgn call, by window.
  std::map<HWND, int> Regions;
  int WindowPositions = 0;
  std::map<UINT, int> Messages;
  // Every WM_SETFONT sent, by window.
  std::map<HWND, int> FontsSet;

  TCallCount() {
    Current() = this;
    RealSetWindowPos() = reinterpret_cast<decltype(&SetWindowPos)>(
        PatchImport("SetWindowPos", reinterpret_cast<void*>(&CountingSetWindowPos)));
    RealSetWindowRgn() = reinterpret_cast<decltype(&SetWindowRgn)>(
        PatchImport("SetWindowRgn", reinterpret_cast<void*>(&CountingSetWindowRgn)));
    FHook.Reset(SetWindowsHookExW(WH_CALLWNDPROC, &MessageHook, nullptr, GetCurrentThreadId()));
  }
  ~TCallCount() {
    FHook.Reset();
    if (RealSetWindowPos()) PatchImport("SetWindowPos", reinterpret_cast<void*>(RealSetWindowPos()));
    if (RealSetWindowRgn()) PatchImport("SetWindowRgn", reinterpret_cast<void*>(RealSetWindowRgn()));
    Current() = nullptr;
  }
  TCallCount(const TCallCount&) = delete;
  TCallCount& operator=(const TCallCount&) = delete;

  int RegionCalls() const {
    int n = 0;
    for (const auto& [window, calls] : Regions) n += calls;
    return n;
  }
  int MessageCount(UINT message) const {
    const auto it = Messages.find(message);
    return it == Messages.end() ? 0 : it->second;
  }

 private:
  static TCallCount*& Current() {
    static TCallCount* current = nullptr;
    return current;
  }
  static decltype(&SetWindowPos)& RealSetWindowPos() {
    static decltype(&SetWindowPos) real = nullptr;
    return real;
  }
  static decltype(&SetWindowRgn)& RealSetWindowRgn() {
    static decltype(&SetWindowRgn) real = nullptr;
    return real;
  }
  static BOOL WINAPI CountingSetWindowPos(HWND wnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    if (Current()) ++Current()->WindowPositions;
    return RealSetWindowPos()(wnd, after, x, y, cx, cy, flags);
  }
  static int WINAPI CountingSetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
    if (Current()) ++Current()->Regions[wnd];
    return RealSetWindowRgn()(wnd, region, redraw);
  }
  static LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Current()) {
      const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
      ++Current()->Messages[m->message];
      if (m->message == WM_SETFONT) ++Current()->FontsSet[m->hwnd];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  THookHandle FHook;
};

}  // namespace kv::testing
