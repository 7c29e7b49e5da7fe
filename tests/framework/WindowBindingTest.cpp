// Finding the control behind a window: every framework window class answers with its
// control, read from the window itself (no property by name), with the system class's
// own window bytes kept; windows that are not ours are never taken for a control, what
// ever they hold. Moving a control to where it is already asks nothing of the system.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/ButtonCtrls.h"
#include "framework/ComCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolCtrls.h"

namespace kv {
namespace {

using test::TControlTest;
using test::TMessageRecorder;

struct TControlRow {
  const char* Name;
  // The system class our window class is made from; empty for a class of our own.
  const wchar_t* SystemClass;
  std::function<TWinControl*(TForm&)> Make;
};

template <class T>
std::function<TWinControl*(TForm&)> Maker() {
  return [](TForm& form) -> TWinControl* {
    T* control = form.Make<T>();
    control->SetParent(&form);
    control->SetBounds(10, 10, 120, 60);
    return control;
  };
}

// One row per window class the framework registers.
const std::vector<TControlRow>& ControlRows() {
  static const std::vector<TControlRow> rows = {
      {"button", L"BUTTON", Maker<TButton>()},
      {"group box", L"BUTTON", Maker<TGroupBox>()},
      {"panel", nullptr, Maker<TPanel>()},
      {"edit", L"EDIT", Maker<TEdit>()},
      {"combo box", L"COMBOBOX", Maker<TComboBox>()},
      {"list box", L"LISTBOX", Maker<TListBox>()},
      {"list view", WC_LISTVIEWW, Maker<TListView>()},
      {"page control", WC_TABCONTROLW,
       [](TForm& form) -> TWinControl* {
         auto* pages = Maker<TPageControl>()(form);
         form.Make<TTabSheet>()->SetPageControl(static_cast<TPageControl*>(pages));
         return pages;
       }},
      {"tab sheet", nullptr,
       [](TForm& form) -> TWinControl* {
         auto* pages = static_cast<TPageControl*>(Maker<TPageControl>()(form));
         auto* sheet = form.Make<TTabSheet>();
         sheet->SetPageControl(pages);
         return sheet;
       }},
      {"status bar", STATUSCLASSNAMEW, Maker<TStatusBar>()},
      {"progress bar", PROGRESS_CLASSW, Maker<TProgressBar>()},
      {"track bar", TRACKBAR_CLASSW, Maker<TTrackBar>()},
      {"up-down", UPDOWN_CLASSW, Maker<TUpDown>()},
      {"scroll bar", L"SCROLLBAR", Maker<TScrollBar>()},
      {"tab set", nullptr, Maker<TTabSet>()},
      {"tab scroller", nullptr,
       [](TForm& form) -> TWinControl* {
         auto* tabs = Maker<TTabSet>()(form);
         for (int i = 0; i < tabs->ComponentCount(); ++i)
           if (auto* scroller = dynamic_cast<TTabScroller*>(tabs->Components(i))) return scroller;
         return nullptr;
       }},
      {"tool bar", TOOLBARCLASSNAMEW, Maker<TToolBar>()},
      {"scroll box", nullptr, Maker<TScrollBox>()},
      {"date-time picker", DATETIMEPICK_CLASSW, Maker<TDateTimePicker>()},
  };
  return rows;
}

class WindowBindingTest : public TControlTest {};

TEST_F(WindowBindingTest, EveryFrameworkClassFindsItsControlInTheWindowsOwnBytes) {
  std::set<std::wstring> classes;
  const auto check = [&](const char* name, const wchar_t* systemClass, TWinControl* control) {
    SCOPED_TRACE(name);
    ASSERT_NE(control, nullptr);
    const HWND wnd = control->Handle();
    ASSERT_NE(wnd, nullptr);
    classes.insert(test::ClassNameOf(wnd));
    EXPECT_EQ(TWinControl::FindControl(wnd), control);
    EXPECT_EQ(GetPropW(wnd, L"Kv.Control"), nullptr) << "bound by a property, looked up by name on every message";
    // The system class keeps its own bytes; ours (the control, the last font) come after them.
    const auto extra = static_cast<std::size_t>(GetClassLongPtrW(wnd, GCL_CBWNDEXTRA));
    std::size_t systemExtra = 0;
    if (systemClass) {
      WNDCLASSEXW info{};
      info.cbSize = sizeof(info);
      ASSERT_TRUE(GetClassInfoExW(nullptr, systemClass, &info));
      systemExtra = static_cast<std::size_t>(info.cbWndExtra);
    }
    EXPECT_EQ(extra, systemExtra + 2 * sizeof(void*));
  };
  for (const TControlRow& row : ControlRows()) check(row.Name, row.SystemClass, row.Make(*Form));
  check("form", nullptr, Form);
  ShowForm();
  // Still found once the windows are shown and busy (the binding is not a creation-time one).
  for (int i = 0; i < Form->ControlCount(); ++i) {
    if (auto* control = dynamic_cast<TWinControl*>(Form->Controls(i))) {
      EXPECT_EQ(TWinControl::FindControl(control->Handle()), control);
    }
  }
  EXPECT_GE(classes.size(), 15u) << "the table no longer covers the classes it names";
}

LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(WindowBindingTest, WindowsThatAreNotOursAreNeverTakenForAControl) {
  auto* bait = Form->Make<TButton>();
  bait->SetParent(Form);
  int baitClicks = 0;
  bait->OnClick = [&](TComponent*) { ++baitClicks; };
  ShowForm();
  const auto baitValue = reinterpret_cast<LONG_PTR>(static_cast<TWinControl*>(bait));

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ForeignProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KvTest.Foreign";
  wc.cbWndExtra = 2 * sizeof(void*);
  RegisterClassExW(&wc);

  struct TForeignRow {
    const char* Name;
    std::function<HWND()> Make;
  };
  const TForeignRow rows[] = {
      {"a plain system button",
       [&] {
         return CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD | WS_VISIBLE, 150, 10, 60, 20, Form->Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
       }},
      {"a window of another class holding a control's address in every extra byte",
       [&] {
         HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, Form->Handle(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
         SetWindowLongPtrW(wnd, 0, baitValue);
         SetWindowLongPtrW(wnd, sizeof(void*), baitValue);
         return wnd;
       }},
      {"a window carrying the binding property another copy of the framework would set",
       [&] {
         HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, Form->Handle(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
         SetWindowLongPtrW(wnd, sizeof(void*), baitValue);
         SetPropW(wnd, L"Kv.Control", reinterpret_cast<HANDLE>(baitValue));
         return wnd;
       }},
  };
  for (const TForeignRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const HWND wnd = row.Make();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(TWinControl::FindControl(wnd), nullptr);
    // Messages that look for the control behind a window pass it by too.
    SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(wnd));
    RemovePropW(wnd, L"Kv.Control");
    DestroyWindow(wnd);
  }
  EXPECT_EQ(baitClicks, 0) << "a foreign window's notification reached a control";
  EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
  EXPECT_EQ(TWinControl::FindControl(bait->Handle()), bait);
}

TEST_F(WindowBindingTest, SetBoundsToTheRectangleAControlHasAsksTheSystemNothing) {
  struct TRow {
    const char* Name;
    std::function<TWinControl*()> Make;
  };
  const TRow rows[] = {
      {"button", [this] { return Maker<TButton>()(*Form); }},
      {"combo box (its window is taller than its bounds)", [this] { return Maker<TComboBox>()(*Form); }},
      {"panel", [this] { return Maker<TPanel>()(*Form); }},
      {"form", [this] { return Form; }},
  };
  ShowForm();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TWinControl* control = row.Make();
    control->HandleNeeded();
    const bool topLevel = control == Form;
    const RECT place = topLevel ? RECT{60, 50, 60 + 360, 50 + 280} : RECT{20, 30, 20 + 150, 30 + 40};
    const auto setBounds = [&](const RECT& r) {
      control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    };
    setBounds(place);
    TMessageRecorder recorder(*control);
    setBounds(place);
    control->SetBounds(control->Left(), control->Top(), control->Width(), control->Height());
    EXPECT_EQ(recorder.Count(WM_WINDOWPOSCHANGING), 0);
    // A real change still moves the window.
    setBounds({place.left + 5, place.top, place.right + 5, place.bottom});
    EXPECT_GE(recorder.Count(WM_WINDOWPOSCHANGING), 1);
    RECT now{};
    GetWindowRect(control->Handle(), &now);
    if (!topLevel) MapWindowPoints(nullptr, GetParent(control->Handle()), reinterpret_cast<POINT*>(&now), 2);
    EXPECT_EQ(now.left, place.left + 5);
    EXPECT_EQ(now.right - now.left, place.right - place.left);
  }
}

}  // namespace
}  // namespace kv
