#include "skin/windows/SkinAccessible.h"

#include <utility>

// Interface ids by __uuidof throughout: oleacc's import library offers IID_IAccessible as
// an import thunk, whose bytes are not the id.
namespace kv {
namespace {

// The element a VARIANT names: 0 the object, 1..n a child; none for anything else.
const TAccessiblePart* PartOf(const TAccessibleView& view, const VARIANT& child) {
  if (child.vt != VT_I4) return nullptr;
  if (child.lVal == CHILDID_SELF) return &view.Self;
  if (child.lVal < 1 || std::size_t(child.lVal) > view.Children.size()) return nullptr;
  return &view.Children[std::size_t(child.lVal - 1)];
}

void SetLong(VARIANT* out, long value) {
  out->vt = VT_I4;
  out->lVal = value;
}

// A text answer: S_FALSE with none when the element has no such text.
HRESULT AnswerText(const std::wstring& text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), UINT(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool Contains(const RECT& r, long x, long y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

// Every call of an accessible object goes through here: the thread checked, the view read
// afresh, the answer computed, and no exception let out.
template <class F>
HRESULT TSkinAccessible::Answer(F&& answer) {
  if (GetWindowThreadProcessId(FWindow, nullptr) != GetCurrentThreadId())
    return IsWindow(FWindow) ? RPC_E_WRONG_THREAD : CO_E_OBJNOTCONNECTED;
  try {
    TAccessibleView view;
    if (!Read(view)) return CO_E_OBJNOTCONNECTED;
    return answer(view);
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TSkinAccessible::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TSkinAccessible::AddRef() { return ++FReferences; }

ULONG TSkinAccessible::Release() {
  const ULONG left = --FReferences;
  // The last reference owns the object (COM's rule): it frees itself.
  if (left == 0) delete this;
  return left;
}

HRESULT TSkinAccessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT TSkinAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT TSkinAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT TSkinAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT TSkinAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  return Answer([&](const TAccessibleView&) -> HRESULT {
    // The window's own object: the platform's, as for the parts it draws itself.
    return CreateStdAccessibleObject(FWindow, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
  });
}

HRESULT TSkinAccessible::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    *count = long(view.Children.size());
    return S_OK;
  });
}

HRESULT TSkinAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    // Children are simple elements: they have no object of their own.
    return PartOf(view, child) ? S_FALSE : E_INVALIDARG;
  });
}

HRESULT TSkinAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    return part ? AnswerText(part->Name, name) : E_INVALIDARG;
  });
}

HRESULT TSkinAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT { return PartOf(view, child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG; });
}

HRESULT TSkinAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT { return PartOf(view, child) ? S_FALSE : E_INVALIDARG; });
}

HRESULT TSkinAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    if (!part) return E_INVALIDARG;
    SetLong(role, part->Role);
    return S_OK;
  });
}

HRESULT TSkinAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    if (!part) return E_INVALIDARG;
    SetLong(state, part->State);
    return S_OK;
  });
}

HRESULT TSkinAccessible::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT { return PartOf(view, child) ? S_FALSE : E_INVALIDARG; });
}

HRESULT TSkinAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (!file || !topic) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  return Answer([&](const TAccessibleView& view) -> HRESULT { return PartOf(view, child) ? S_FALSE : E_INVALIDARG; });
}

HRESULT TSkinAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    return part ? AnswerText(part->Shortcut, shortcut) : E_INVALIDARG;
  });
}

HRESULT TSkinAccessible::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    for (std::size_t i = 0; i < view.Children.size(); ++i)
      if (view.Children[i].State & STATE_SYSTEM_FOCUSED) {
        SetLong(focus, long(i + 1));
        return S_OK;
      }
    return S_FALSE;
  });
}

HRESULT TSkinAccessible::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  return Answer([&](const TAccessibleView&) -> HRESULT {
    return S_FALSE;
  });
}

HRESULT TSkinAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    return part ? AnswerText(part->DefaultAction, action) : E_INVALIDARG;
  });
}

HRESULT TSkinAccessible::accSelect(long, VARIANT child) {
  return Answer([&](const TAccessibleView& view) -> HRESULT { return PartOf(view, child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG; });
}

HRESULT TSkinAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    if (!part) return E_INVALIDARG;
    *left = part->Screen.left;
    *top = part->Screen.top;
    *width = part->Screen.right - part->Screen.left;
    *height = part->Screen.bottom - part->Screen.top;
    return S_OK;
  });
}

HRESULT TSkinAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    if (!PartOf(view, start)) return E_INVALIDARG;
    const long count = long(view.Children.size()), from = start.lVal;
    long to = 0;
    if (from == CHILDID_SELF) {
      if (direction == NAVDIR_FIRSTCHILD) to = count > 0 ? 1 : 0;
      if (direction == NAVDIR_LASTCHILD) to = count;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN) {
      to = from < count ? from + 1 : 0;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP) {
      to = from - 1;
    }
    if (to <= 0) return S_FALSE;
    SetLong(end, to);
    return S_OK;
  });
}

HRESULT TSkinAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    for (std::size_t i = 0; i < view.Children.size(); ++i)
      if (!(view.Children[i].State & STATE_SYSTEM_INVISIBLE) && Contains(view.Children[i].Screen, x, y)) {
        SetLong(child, long(i + 1));
        return S_OK;
      }
    if (!Contains(view.Self.Screen, x, y)) return S_FALSE;
    SetLong(child, CHILDID_SELF);
    return S_OK;
  });
}

HRESULT TSkinAccessible::accDoDefaultAction(VARIANT child) {
  return Answer([&](const TAccessibleView& view) -> HRESULT {
    const TAccessiblePart* part = PartOf(view, child);
    if (!part) return E_INVALIDARG;
    if (part == &view.Self || part->DefaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    return DoDefaultAction(std::size_t(child.lVal - 1)) ? S_OK : DISP_E_MEMBERNOTFOUND;
  });
}

HRESULT TSkinAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT TSkinAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

LRESULT AnswerGetObject(std::unique_ptr<TSkinAccessible> object, WPARAM wParam) {
  // From here on the reference count owns it.
  TSkinAccessible* held = object.release();
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, held);
  held->Release();
  return result;
}

}  // namespace kv
