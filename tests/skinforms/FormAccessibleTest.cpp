// The skinned caption as assistive technology sees it: a title bar object named by the
// caption whose children are the skin's caption buttons, each pressed by its default
// action; an object that outlives its skin says so instead of answering for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <set>

#include "SkinFormFixture.h"
#include "support/AccessibleRead.h"

namespace kv::test {
namespace {

TAccessibleSeen AwaitReader(std::future<TAccessibleSeen>& reading) {
  EXPECT_TRUE(
      PumpUntil([&] { return reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000));
  return reading.get();
}

// Reads the title bar and runs the default action of the button named `press`, if any;
// `pressed` tells whether that call succeeded.
TAccessibleSeen ReadTitleBar(HWND window, const std::wstring& press = {}, HRESULT* pressed = nullptr) {
  auto reading = ReadAccessibleObject(window, OBJID_TITLEBAR, [=](IAccessible& bar, TAccessibleSeen& seen) {
    const int index = ChildNamed(seen, press);
    if (pressed) *pressed = index < 0 ? E_INVALIDARG : bar.accDoDefaultAction(ChildId(index + 1));
  });
  return AwaitReader(reading);
}

TEST_F(TSkinFormTest, TheTitleBarObjectListsTheCaptionButtonsWhereTheSkinDrawsThem) {
  AddSkinData();
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const TAccessibleSeen seen = ReadTitleBar(form->Handle());
  ASSERT_HRESULT_SUCCEEDED(seen.Status);
  EXPECT_EQ(seen.Self.Role, ROLE_SYSTEM_TITLEBAR);
  EXPECT_EQ(seen.Self.Name, L"Skinned");

  // The skin's visible buttons with a window command, where the frame painted them.
  struct TRow {
    TCaptionCommand Command;
    const wchar_t* Name;
  };
  const TRow rows[] = {{ccClose, L"Close"}, {ccMaximize, L"Maximize"}, {ccMinimize, L"Minimize"}};
  std::set<std::wstring> expected, found;
  for (const TWinSysButton* button : skin->Buttons()) {
    if (!button->Visible) continue;
    const TCaptionCommand command = TCaptionButtons::CommandOf(button->Record().Action);
    for (const TRow& row : rows) {
      if (row.Command != command) continue;
      expected.insert(row.Name);
      const int index = ChildNamed(seen, row.Name);
      ASSERT_GE(index, 0) << "no child named " << testing::PrintToString(std::wstring(row.Name));
      const TAccessiblePartSeen& child = seen.Children[std::size_t(index)];
      EXPECT_EQ(child.Role, ROLE_SYSTEM_PUSHBUTTON);
      EXPECT_EQ(child.DefaultAction, L"Press");
      const POINT topLeft = skin->ScreenPoint({button->Bounds.left, button->Bounds.top});
      EXPECT_EQ(child.Location.left, topLeft.x);
      EXPECT_EQ(child.Location.top, topLeft.y);
      EXPECT_EQ(child.Location.right - child.Location.left, button->Bounds.right - button->Bounds.left);
      EXPECT_EQ(child.Location.bottom - child.Location.top, button->Bounds.bottom - button->Bounds.top);
    }
  }
  for (const TAccessiblePartSeen& child : seen.Children) found.insert(child.Name);
  EXPECT_EQ(found, expected);
  EXPECT_EQ(expected.size(), std::size(rows)) << "the program's skin shows all three";
}

TEST_F(TSkinFormTest, EachCaptionButtonsDefaultActionDoesWhatItsClickDoes) {
  AddSkinData();
  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr);
  const HWND window = form->Handle();
  // In order: each step reads the bar afresh (the maximise button is named by the state).
  struct TStep {
    const wchar_t* Press;
    std::function<bool()> Done;
  };
  const TStep steps[] = {
      {L"Maximize", [=] { return IsZoomed(window) != FALSE; }},
      {L"Restore", [=] { return !IsZoomed(window); }},
      {L"Close", [=] { return !IsWindowVisible(window); }},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(step.Press)));
    HRESULT pressed = E_FAIL;
    const TAccessibleSeen seen = ReadTitleBar(window, step.Press, &pressed);
    ASSERT_HRESULT_SUCCEEDED(seen.Status);
    ASSERT_HRESULT_SUCCEEDED(pressed);
    EXPECT_TRUE(PumpUntil(step.Done));
  }
}

TEST_F(TSkinFormTest, AnObjectWhoseSkinHasGoneAnswersNotConnected) {
  TSkinData* data = AddSkinData();
  TForm* form = MakeForm();
  auto* menu = form->Make<TMainMenu>();
  menu->Items()->Add(L"&File")->Add(L"&Open");
  form->SetMenu(menu);
  ASSERT_NE(ShowSkinned(form), nullptr);
  // On the window's own thread the objects themselves come back, held past the skin.
  struct TRow {
    const char* What;
    LONG Id;
    long Role;
  };
  const TRow rows[] = {{"title bar", OBJID_TITLEBAR, ROLE_SYSTEM_TITLEBAR}, {"menu bar", OBJID_MENU, ROLE_SYSTEM_MENUBAR}};
  std::vector<TAccessiblePtr> held;
  for (const TRow& row : rows) {
    IAccessible* raw = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        AccessibleObjectFromWindow(form->Handle(), DWORD(row.Id), __uuidof(IAccessible), reinterpret_cast<void**>(&raw)))
        << row.What;
    ASSERT_NE(raw, nullptr) << row.What;
    held.emplace_back(raw);
    VARIANT role;
    VariantInit(&role);
    ASSERT_HRESULT_SUCCEEDED(held.back()->get_accRole(ChildId(CHILDID_SELF), &role)) << row.What;
    EXPECT_EQ(role.lVal, row.Role) << row.What;
  }
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !Manager().FindFormSkin(form->Handle()); }));
  for (std::size_t i = 0; i < held.size(); ++i) {
    long count = -1;
    EXPECT_EQ(held[i]->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << rows[i].What;
    BSTR name = nullptr;
    EXPECT_EQ(held[i]->get_accName(ChildId(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED) << rows[i].What;
    SysFreeString(name);
  }
}

}  // namespace
}  // namespace kv::test
