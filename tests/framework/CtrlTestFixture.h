#pragma once
// What the tests of the control kinds share: an application with one form in the middle
// of the screen, controls placed on it, mouse and key messages posted to a window the way
// the system would post them, and the codes of the reflected notifications a control saw.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "framework/Forms.h"
#include "skin/data/PixelBitmap.h"
#include "support/MessageRecorder.h"
#include "support/UiStateStandIn.h"

namespace kv::test {

class TControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"Control test");
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsDialog);
    Form->SetPosition(poDesktopCenter);
    Form->SetClientSize(320, 240);
    Form->SetColor(0xFF0000);  // blue
  }

  void ShowForm() {
    Form->Show();
    Form->Update();
    Pump();
  }

  // The form and the controls made so far keep the keyboard's focus cues hidden, as for a
  // user of the mouse (Wine shows them always): tests of faces leave the focus ring to the
  // tests of the cues.
  void HideFocusCues() {
    Cues = std::make_unique<TUiStateStandIn>(Form->Handle());
    SendMessageW(Form->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    Pump();
  }

  template <class T>
  T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    T* control = Form->Make<T>();
    control->SetParent(parent ? parent : Form);
    control->SetBounds(left, top, width, height);
    return control;
  }

  // The real cursor stays where it is: moving it makes Wine send moves of its own.
  void Post(HWND wnd, UINT msg, int x, int y, WPARAM keys = 0) {
    PostMessageW(wnd, msg, keys, MAKELPARAM(x, y));
    Pump();
  }
  // Both messages are queued before either is handled: controls that follow the mouse
  // in a loop of their own (scroll bars, list views) find the release there.
  void ClickAt(HWND wnd, int x, int y) {
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
  }
  void ClickAt(HWND wnd, const RECT& r) { ClickAt(wnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  void PressKey(HWND wnd, WPARAM key) {
    PostMessageW(wnd, WM_KEYDOWN, key, 1);
    PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  std::unique_ptr<TUiStateStandIn> Cues;
};

// The reflected WM_NOTIFY messages a control gets: code and the answer the control gave,
// read while each is delivered (the sender's record lives only that long).
class TNotifications {
 public:
  explicit TNotifications(TControl& control) : FControl(control) {
    FToken = control.HookWindowProc([this](TMessage& m, TDefaultProc callDefault) {
      callDefault(m);
      if (m.Msg == CN_NOTIFY)
        FSeen.push_back({static_cast<int>(reinterpret_cast<const NMHDR*>(m.LParam)->code), m.Result});
    });
  }
  TNotifications(const TNotifications&) = delete;
  TNotifications& operator=(const TNotifications&) = delete;
  ~TNotifications() { FControl.UnhookWindowProc(FToken); }
  int Count(int code) const {
    int n = 0;
    for (const TSeen& s : FSeen) n += s.Code == code;
    return n;
  }
  // The answers to the notifications of this code, in order.
  std::vector<LRESULT> Results(int code) const {
    std::vector<LRESULT> results;
    for (const TSeen& s : FSeen)
      if (s.Code == code) results.push_back(s.Result);
    return results;
  }

 private:
  struct TSeen {
    int Code;
    LRESULT Result;
  };
  TControl& FControl;
  THookToken FToken;
  std::vector<TSeen> FSeen;
};

// The notification codes (high word) of the reflected WM_COMMAND messages seen.
inline std::vector<int> CommandCodes(const TMessageRecorder& recorder) {
  std::vector<int> codes;
  for (const TMessage& m : recorder.Seen())
    if (m.Msg == CN_COMMAND) codes.push_back(HIWORD(m.WParam));
  return codes;
}

// A system colour as ScreenPixel reports colours (0x00RRGGBB).
inline std::uint32_t SystemPixel(int index) {
  const COLORREF c = GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Where `pixel` shows in `area` of `picture`: the box around every pixel of exactly that
// colour, and whether the box holds nothing else (a scaled square drawn cleanly) and no
// pixel of `area` is near fuchsia (a glyph's transparent ground leaking, whole or blended).
struct TDrawnSquare {
  Rect Box;
  bool Solid = false;
  bool GroundLeaks = false;
};
inline TDrawnSquare DrawnSquare(const TPixelBitmap& picture, const Rect& area, std::uint32_t pixel) {
  TDrawnSquare found{{area.Right, area.Bottom, area.Left, area.Top}};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const std::uint32_t p = picture.Pixel(x, y);
      found.GroundLeaks |= (p >> 16) >= 0xA0 && (p & 0xFF) >= 0xA0 && ((p >> 8) & 0xFF) < 0x80;
      if (p != pixel) continue;
      found.Box = {std::min(found.Box.Left, x), std::min(found.Box.Top, y), std::max(found.Box.Right, x + 1),
                   std::max(found.Box.Bottom, y + 1)};
    }
  found.Solid = found.Box.Width() > 0;
  for (int y = found.Box.Top; y < found.Box.Bottom; ++y)
    for (int x = found.Box.Left; x < found.Box.Right; ++x) found.Solid &= picture.Pixel(x, y) == pixel;
  return found;
}

inline LONG_PTR StyleOf(HWND wnd) { return GetWindowLongPtrW(wnd, GWL_STYLE); }

inline std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

// The first child window of `parent` of the system class `className`, or none.
inline HWND FindChildOfClass(HWND parent, const std::wstring& className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (_wcsicmp(ClassNameOf(child).c_str(), className.c_str()) == 0) return child;
  return nullptr;
}

}  // namespace kv::test
