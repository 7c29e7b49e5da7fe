#include "framework/Subclass.h"

#include <commctrl.h>

#include <map>
#include <memory>

#include "framework/Controls.h"

namespace kv {

namespace {

std::uint64_t GNextSubclassId = 1;

LRESULT CALLBACK HookProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

struct TSubclassState {
  TMessageHook Hook;
  HWND Wnd;
  int Depth = 0;         // calls of this hook running now (it may be re-entered)
  bool Removed = false;  // removed during a call: freed when the last call returns
};

// The installed hooks by token, for their removal (all on the user-interface thread).
std::map<std::uint64_t, TSubclassState*>& Installed() {
  static std::map<std::uint64_t, TSubclassState*> installed;
  return installed;
}

// Takes the hook out of the window's chain; its state goes once no call of it runs.
void Remove(TSubclassState* state, UINT_PTR id) {
  RemoveWindowSubclass(state->Wnd, HookProc, id);
  Installed().erase(id);
  state->Removed = true;
}

LRESULT CALLBACK HookProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  auto* state = reinterpret_cast<TSubclassState*>(data);
  TMessage message{msg, wParam, lParam, 0};
  ++state->Depth;
  try {
    state->Hook(message, TDefaultProc(
                             [](const void* context, TMessage& m) {
                               m.Result = DefSubclassProc(static_cast<HWND>(const_cast<void*>(context)), m.Msg,
                                                          m.WParam, m.LParam);
                             },
                             wnd));
  } catch (...) {
    HandleCurrentException();
  }
  --state->Depth;
  if (msg == WM_NCDESTROY && !state->Removed) Remove(state, id);
  if (state->Removed && state->Depth == 0) delete state;
  return message.Result;
}

TSubclassState* FindState(HWND wnd, THookToken token) {
  const auto found = Installed().find(token.Id);
  return found != Installed().end() && found->second->Wnd == wnd ? found->second : nullptr;
}

}  // namespace

THookToken SubclassWindow(HWND wnd, TMessageHook hook) {
  if (!IsWindow(wnd)) return {};
  auto state = std::make_unique<TSubclassState>(TSubclassState{std::move(hook), wnd});
  const THookToken token{GNextSubclassId++};
  if (!SetWindowSubclass(wnd, HookProc, UINT_PTR(token.Id), reinterpret_cast<DWORD_PTR>(state.get()))) return {};
  // Owned by the subclass from here: freed by its removal or at WM_NCDESTROY.
  Installed()[token.Id] = state.release();
  return token;
}

void UnsubclassWindow(HWND wnd, THookToken token) {
  TSubclassState* state = FindState(wnd, token);
  if (!state) return;
  Remove(state, UINT_PTR(token.Id));
  if (state->Depth == 0) delete state;
}

bool IsSubclassed(HWND wnd, THookToken token) { return FindState(wnd, token) != nullptr; }

}  // namespace kv
