#pragma once
// What a window says of itself: its class name and its text (through WM_GETTEXT, which
// controls answer with their contents, not only top-level windows with their titles).
#include <windows.h>

#include <algorithm>
#include <string>

namespace kv {

// The class name as registered (case kept); empty for no window.
inline std::wstring WindowClassName(HWND window) {
  wchar_t name[256] = {};
  const int n = window ? GetClassNameW(window, name, 256) : 0;
  return std::wstring(name, std::size_t(std::max(n, 0)));
}

// At most `maxChars` characters of the window's text.
inline std::wstring WindowText(HWND window, int maxChars = 1000) {
  std::wstring text(std::size_t(maxChars) + 1, L'\0');
  const LRESULT n = SendMessageW(window, WM_GETTEXT, WPARAM(maxChars + 1), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::size_t(std::clamp<LRESULT>(n, 0, maxChars)));
  return text;
}

}  // namespace kv
