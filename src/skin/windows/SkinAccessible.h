#pragma once
// TSkinAccessible: an accessible object (IAccessible) for a part the skin draws in place
// of the platform's (the menu bar in the frame, the caption and its buttons), so that
// assistive technology still finds it by name, role, state and place. Its children are
// simple elements numbered from 1.
//
// The object holds nothing but the window: each call reads the live form skin again
// (Read), and once that skin has gone every call answers CO_E_OBJNOTCONNECTED. COM
// brings the calls to the window's thread; a call on another thread is refused, and no
// exception leaves a call.
#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kv {

// One element as assistive technology reads it.
struct TAccessiblePart {
  std::wstring Name;
  std::wstring Shortcut;       // empty: none
  std::wstring DefaultAction;  // empty: none
  long Role = 0;
  long State = 0;
  RECT Screen{};
};

// The object itself and its children, in order.
struct TAccessibleView {
  TAccessiblePart Self;
  std::vector<TAccessiblePart> Children;
};

class TSkinAccessible : public IAccessible {
 public:
  virtual ~TSkinAccessible() = default;
  TSkinAccessible(const TSkinAccessible&) = delete;
  TSkinAccessible& operator=(const TSkinAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: no type information is offered (clients call IAccessible directly).
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  explicit TSkinAccessible(HWND window) : FWindow(window) {}
  HWND Window() const { return FWindow; }
  // The view now; false when the skin that draws the part has gone.
  virtual bool Read(TAccessibleView& view) const = 0;
  // Runs child `index`'s (from 0) default action without waiting for it (posted: never a
  // modal loop inside a call); false when it has none now.
  virtual bool DoDefaultAction(std::size_t index) = 0;

 private:
  template <class F>
  HRESULT Answer(F&& answer);

  std::atomic<ULONG> FReferences{1};
  HWND FWindow;
};

// The answer to WM_GETOBJECT with `object`: COM holds it from here on (the reference it
// was made with is handed over and released).
LRESULT AnswerGetObject(std::unique_ptr<TSkinAccessible> object, WPARAM wParam);

}  // namespace kv
