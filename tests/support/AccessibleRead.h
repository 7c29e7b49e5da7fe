#pragma once
// Reading a window's accessible objects as a screen reader does: from a thread of its own,
// through COM, while the window's thread pumps its messages. Link oleacc.
#include <windows.h>

#include <oleacc.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

struct TAccessiblePartSeen {
  std::wstring Name, Shortcut, DefaultAction;
  long Role = 0, State = 0;
  RECT Location{};
};

struct TAccessibleSeen {
  HRESULT Status = E_FAIL;  // of AccessibleObjectFromWindow
  TAccessiblePartSeen Self;
  std::vector<TAccessiblePartSeen> Children;
};

struct TComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
using TAccessiblePtr = std::unique_ptr<IAccessible, TComRelease>;

inline VARIANT ChildId(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A text answer (get_accName and the like) as a string; empty when there was none.
inline std::wstring ReadText(IAccessible& object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                             long id) {
  BSTR text = nullptr;
  const HRESULT hr = (object.*get)(ChildId(id), &text);
  std::wstring result = SUCCEEDED(hr) && text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return result;
}

inline long VariantLong(HRESULT hr, VARIANT& v) {
  const long value = SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1;
  VariantClear(&v);
  return value;
}

inline TAccessiblePartSeen ReadAccessiblePart(IAccessible& object, long id) {
  TAccessiblePartSeen part;
  const VARIANT child = ChildId(id);
  part.Name = ReadText(object, &IAccessible::get_accName, id);
  part.Shortcut = ReadText(object, &IAccessible::get_accKeyboardShortcut, id);
  part.DefaultAction = ReadText(object, &IAccessible::get_accDefaultAction, id);
  VARIANT v;
  VariantInit(&v);
  part.Role = VariantLong(object.get_accRole(child, &v), v);
  VariantInit(&v);
  part.State = VariantLong(object.get_accState(child, &v), v);
  long x = 0, y = 0, w = 0, h = 0;
  if (SUCCEEDED(object.accLocation(&x, &y, &w, &h, child))) part.Location = {x, y, x + w, y + h};
  return part;
}

// The object `id` of `window` read on a thread of its own (children as simple elements
// 1..count); `then` runs there afterwards with the object. The caller pumps until the
// future is ready: cross-thread COM calls reach the window's thread as messages.
inline std::future<TAccessibleSeen> ReadAccessibleObject(
    HWND window, LONG id, std::function<void(IAccessible&, TAccessibleSeen&)> then = {}) {
  return std::async(std::launch::async, [=] {
    TAccessibleSeen seen;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      IAccessible* raw = nullptr;
      seen.Status =
          AccessibleObjectFromWindow(window, DWORD(id), __uuidof(IAccessible), reinterpret_cast<void**>(&raw));
      TAccessiblePtr object(raw);
      if (SUCCEEDED(seen.Status) && object) {
        seen.Self = ReadAccessiblePart(*object, CHILDID_SELF);
        long count = 0;
        if (SUCCEEDED(object->get_accChildCount(&count)))
          for (long i = 1; i <= count; ++i) seen.Children.push_back(ReadAccessiblePart(*object, i));
        if (then) then(*object, seen);
      } else if (SUCCEEDED(seen.Status)) {
        seen.Status = E_POINTER;
      }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return seen;
  });
}

// The client objects of several windows, read in one go on a thread of its own.
inline std::future<std::vector<TAccessibleSeen>> ReadClientObjects(std::vector<HWND> windows) {
  return std::async(std::launch::async, [windows = std::move(windows)] {
    std::vector<TAccessibleSeen> all;
    for (HWND window : windows) all.push_back(ReadAccessibleObject(window, OBJID_CLIENT).get());
    return all;
  });
}

// Waits (bounded) on the calling thread, which is not the window's, for `done`.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The index of the child named `name`, -1 when none is.
inline int ChildNamed(const TAccessibleSeen& seen, const std::wstring& name) {
  for (std::size_t i = 0; i < seen.Children.size(); ++i)
    if (seen.Children[i].Name == name) return int(i);
  return -1;
}

}  // namespace kv::test
