// Control classification: which control skin each control of a form (and each child window
// of a plain dialog) gets under the skin data's switches, and the registry that owns them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ClassifyFixture.h"
#include "framework/ButtonCtrls.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolCtrls.h"
#include "skin/core/SkinData.h"
#include "skin/windows/ControlSkins.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using enum TControlSkinKind;
using test::Pump;

// Controls of other libraries, known to the skin only by their class names.
class TRzButton : public TButton {
 public:
  std::string_view ClassName() const override { return "TRzButton"; }
};
class TRzRadioGroup : public TRadioGroup {
 public:
  std::string_view ClassName() const override { return "TRzRadioGroup"; }
};
class TLMDTrackbar : public TTrackBar {
 public:
  std::string_view ClassName() const override { return "TLMDTrackbar"; }
};
class TMyToolBar : public TToolBar {
 public:
  std::string_view ClassName() const override { return "TMyToolBar"; }
};
// A control whose window cannot be made.
class TBrokenControl : public TButton {
 public:
  std::string_view ClassName() const override { return "TBrokenControl"; }

 protected:
  void CreateParams(TCreateParams& params) override {
    TButton::CreateParams(params);
    params.BaseClass = L"Kv.NoSuchSystemClass";
    params.WinClassName.clear();
  }
};

constexpr TColor kOwnColor = 0x123456;

std::string KindName(std::optional<TControlSkinKind> kind) {
  return kind ? std::string(ControlSkinClassName(*kind)) : std::string("(none)");
}

struct TExpected {
  TControl* Control;
  std::optional<TControlSkinKind> Kind;
};

class ControlSkinsTest : public test::TClassifyTest {
 protected:
  void SetUp() override {
    TClassifyTest::SetUp();
    if (HasFatalFailure()) return;
    Face = SkinData->Model().Colours.ButtonFaceColour;
    ASSERT_NE(Face, kOwnColor);
  }

  void SetSwitches(TSkinControlTypes types) { SkinData->SetSkinControls(types); }

  // The one kind `c` got; none when it got none. Two entries fail the test.
  std::optional<TControlSkinKind> KindOf(TControl* c) const {
    const auto entries = EntriesOf(c);
    EXPECT_LE(entries.size(), 1u) << "skinned more than once: " << c->ClassName();
    if (entries.empty()) return std::nullopt;
    return entries.front()->Kind();
  }

  void ExpectKinds(const std::vector<TExpected>& rows) const {
    for (const TExpected& row : rows) {
      SCOPED_TRACE(std::string(row.Control->ClassName()) + " '" + row.Control->Name() + "'");
      EXPECT_EQ(KindName(KindOf(row.Control)), KindName(row.Kind));
    }
  }

  template <class T>
  T* Place(TWinControl* parent = nullptr, TComponent* owner = nullptr) {
    T* control = owner ? owner->Make<T>() : Form->Make<T>();
    control->SetParent(parent ? parent : Form);
    control->SetBounds(4, 4, 60, 20);
    return control;
  }

  TColor Face = 0;
};

TEST_F(ControlSkinsTest, EveryControlKindOfTheFrameworkGetsItsSkin) {
  auto* button = Place<TButton>();
  auto* bitBtn = Place<TBitBtn>();
  auto* checkBox = Place<TCheckBox>();
  auto* radio = Place<TRadioButton>();
  auto* edit = Place<TEdit>();
  auto* combo = Place<TComboBox>();
  auto* memo = Place<TMemo>();
  auto* listBox = Place<TListBox>();
  auto* listView = Place<TListView>();
  auto* groupBox = Place<TGroupBox>();
  auto* panel = Place<TPanel>();
  auto* radioGroup = Place<TRadioGroup>();
  radioGroup->Items().SetText(L"a\nb");
  auto* checkGroup = Place<TCheckGroup>();
  checkGroup->Items().SetText(L"c\nd");
  auto* progress = Place<TProgressBar>();
  auto* trackBar = Place<TTrackBar>();
  auto* upDown = Place<TUpDown>();
  auto* scrollBar = Place<TScrollBar>();
  auto* pageControl = Place<TPageControl>();
  auto* sheet = Form->Make<TTabSheet>();
  sheet->SetPageControl(pageControl);
  auto* tabControl = Place<TTabControl>();
  tabControl->Tabs().SetText(L"x\ny");
  auto* tabSet = Place<TTabSet>();
  auto* toolBar = Place<TToolBar>();
  auto* derivedToolBar = Place<TMyToolBar>();
  auto* scrollBox = Place<TScrollBox>();
  auto* picker = Place<TDateTimePicker>();
  auto* upDownPicker = Place<TDateTimePicker>();
  upDownPicker->SetDateMode(dmUpDown);
  auto* statusBar = Place<TStatusBar>();
  auto* speedButton = Place<TSpeedButton>();
  auto* label = Place<TLabel>();
  auto* image = Place<TImage>();
  Form->Make<TTimer>();
  // Owned by containers: reached by the recursion into them.
  auto* inPanel = Place<TButton>(panel, panel);
  auto* inSheet = Place<TCheckBox>(sheet, sheet);
  auto* inner = Form->Make<TForm>();
  inner->SetColor(kOwnColor);
  auto* inInner = Place<TEdit>(inner, inner);

  Skins->SkinChildren(Form);

  ExpectKinds({
      {button, skButton},
      {bitBtn, skBitButton},
      {checkBox, skCheckBox},
      {radio, skRadioButton},
      {edit, skEdit},
      {combo, skComBox},
      {memo, skScrollBar},
      {listBox, skScrollBar},
      {listView, skListView},
      {groupBox, skBox},
      {panel, skBox},
      {radioGroup, skBox},
      {radioGroup->Buttons(0), skRadioButton},
      {radioGroup->Buttons(1), skRadioButton},
      {checkGroup, skBox},
      {checkGroup->Buttons(0), skCheckBox},
      {checkGroup->Buttons(1), skCheckBox},
      {progress, skProgress},
      {trackBar, skTrackBar},
      {upDown, skUpDown},
      {scrollBar, skScControl},
      {pageControl, skTab},
      {sheet, std::nullopt},
      {tabControl, skTab},
      {tabSet, skTab31},
      {tabSet->Scroller(), skUpDown},  // the tab set's skin gives its scroller a child skin
      {toolBar, std::nullopt},
      {derivedToolBar, skBox},
      {scrollBox, skScrollBar},
      {picker, skComBox},
      {upDownPicker, skEdit},
      {statusBar, skStatusBar},
      {speedButton, skSpeedButton},
      {label, std::nullopt},
      {image, std::nullopt},
      {inPanel, skButton},
      {inSheet, skCheckBox},
      {inner, std::nullopt},
      {inInner, skEdit},
  });

  // Tab controls and edits go by handle; the rest hook the framework control.
  for (TControl* c : std::initializer_list<TControl*>{pageControl, tabControl, edit})
    EXPECT_EQ(EntriesOf(c).front()->Control(), nullptr) << c->ClassName();
  EXPECT_EQ(EntriesOf(button).front()->Control(), button);

  EXPECT_TRUE(toolBar->Flat());
  EXPECT_TRUE(derivedToolBar->Flat());
  EXPECT_EQ(toolBar->Color(), Face);
  EXPECT_EQ(scrollBox->Color(), Face);
  EXPECT_EQ(inner->Color(), Face);
  EXPECT_FALSE(radioGroup->Buttons(0)->ParentColor());
}

TEST_F(ControlSkinsTest, TagsDisableOrForceSkins) {
  SkinData->SetDisableTag(99);
  auto* pages = Place<TPageControl>();
  auto tagged = [&](auto* control, int tag) {
    control->SetTag(tag);
    return control;
  };
  auto sheet = [&](int tag) {
    auto* s = Form->Make<TTabSheet>();
    s->SetPageControl(pages);
    s->SetTag(tag);
    return s;
  };
  const std::vector<TExpected> rows = {
      {tagged(Place<TButton>(), 99), std::nullopt},
      {tagged(Place<TButton>(), 199), std::nullopt},
      {tagged(Place<TButton>(), 1099), std::nullopt},
      {tagged(Place<TButton>(), -99), skButton},  // the remainder keeps its sign
      {tagged(Place<TPanel>(), 95), skComBox},
      {tagged(Place<TButton>(), 96), skScrollBar},
      {sheet(97), skEdit},
      {sheet(55), skScrollBar},
      {sheet(155), std::nullopt},  // only Tag 55 itself asks for scroll bars
      {sheet(0), std::nullopt},
  };
  Skins->SkinChildren(Form);
  ExpectKinds(rows);
}

TEST_F(ControlSkinsTest, EachControlIsSkinnedOnceWhateverTheWalks) {
  auto* groupBox = Place<TGroupBox>();
  auto* checkBox = Place<TCheckBox>(groupBox);  // owned by the form, inside the group box
  auto* edit = Place<TEdit>();
  auto* broken = Form->Make<TBrokenControl>();  // no parent: only its own window fails
  auto* after = Place<TButton>();

  Skins->SkinChildren(Form);
  const std::size_t count = Skins->Items().size();
  Skins->SkinChildren(Form);
  Skins->SkinChildren(groupBox);

  EXPECT_EQ(Skins->Items().size(), count);
  ExpectKinds({{groupBox, skBox}, {checkBox, skCheckBox}, {edit, skEdit}, {broken, std::nullopt}, {after, skButton}});
  EXPECT_FALSE(checkBox->ParentColor());
}

TEST_F(ControlSkinsTest, IsControlSkinnedComparesControlsAndHandles) {
  auto* edit = Place<TEdit>();
  auto* button = Place<TButton>();
  Skins->SkinChildren(Form);
  // Without a window yet: behind an entry by handle only a print preview counts as covered.
  auto* preview = Form->Make<TPanel>();
  preview->SetName("PrintPreviewPane");
  auto* plain = Form->Make<TPanel>();
  plain->SetName("Panel7");
  ASSERT_FALSE(preview->HandleAllocated());

  EXPECT_TRUE(Skins->IsControlSkinned(edit));
  EXPECT_TRUE(Skins->IsControlSkinned(button));
  EXPECT_TRUE(Skins->IsControlSkinned(preview));
  EXPECT_FALSE(Skins->IsControlSkinned(plain));
  EXPECT_FALSE(Skins->IsControlSkinned(SkinData));
  Skins->FreeControlSkins();
  EXPECT_FALSE(Skins->IsControlSkinned(edit));
  EXPECT_FALSE(Skins->IsControlSkinned(button));
}

TEST_F(ControlSkinsTest, NeedsScrollBarSkin) {
  auto* vertical = Place<TPanel>();
  SetWindowLongPtrW(vertical->Handle(), GWL_STYLE, GetWindowLongPtrW(vertical->Handle(), GWL_STYLE) | WS_VSCROLL);
  auto* tagged = Place<TButton>();
  tagged->SetTag(55);
  auto* taggedLabel = Place<TLabel>();
  taggedLabel->SetTag(55);
  struct TRow {
    TComponent* Component;
    bool Needs;
  };
  for (const TRow& row : std::initializer_list<TRow>{{Place<TMemo>(), true},
                                                     {Place<TListBox>(), true},
                                                     {Place<TListView>(), true},
                                                     {Place<TScrollBox>(), true},
                                                     {vertical, true},
                                                     {tagged, true},
                                                     {taggedLabel, false},
                                                     {Place<TButton>(), false},
                                                     {Place<TEdit>(), false},
                                                     {SkinData, false}}) {
    EXPECT_EQ(TControlSkins::NeedsScrollBarSkin(row.Component), row.Needs) << row.Component->ClassName();
  }
}

TEST_F(ControlSkinsTest, ASwitchedOffKindIsLeftAloneOrFallsThrough) {
  struct TRow {
    TSkinControlType Bit;
    std::function<TControl*()> Make;
    std::optional<TControlSkinKind> On, Off;
  };
  const std::vector<TRow> rows = {
      {xcButton, [&] { return Place<TButton>(); }, skButton, std::nullopt},
      {xcButton, [&] { return Place<TTrackBar>(); }, skTrackBar, std::nullopt},
      {xcButton, [&] { return Place<TUpDown>(); }, skUpDown, std::nullopt},
      {xcCheckBox, [&] { return Place<TCheckBox>(); }, skCheckBox, std::nullopt},
      {xcRadioButton, [&] { return Place<TRadioButton>(); }, skRadioButton, std::nullopt},
      {xcEdit, [&] { return Place<TEdit>(); }, skEdit, std::nullopt},
      {xcEdit, [&] { return Place<TDateTimePicker>(); }, skComBox, std::nullopt},
      {xcCombo, [&] { return Place<TComboBox>(); }, skComBox, std::nullopt},
      {xcProgress, [&] { return Place<TProgressBar>(); }, skProgress, std::nullopt},
      {xcScrollbar, [&] { return Place<TScrollBar>(); }, skScControl, std::nullopt},
      {xcScrollbar, [&] { return Place<TListView>(); }, skListView, std::nullopt},
      {xcScrollbar, [&] { return Place<TListBox>(); }, skScrollBar, std::nullopt},
      {xcScrollbar, [&] { return Place<TScrollBox>(); }, skScrollBar, std::nullopt},
      {xcScrollbar, [&] { return Place<TMemo>(); }, skScrollBar, skEdit},   // still an edit
      {xcBitBtn, [&] { return Place<TBitBtn>(); }, skBitButton, skButton},  // still a button
      {xcSpeedButton, [&] { return Place<TSpeedButton>(); }, skSpeedButton, std::nullopt},
      {xcPanel, [&] { return Place<TPanel>(); }, skBox, std::nullopt},
      {xcPanel, [&] { return Place<TGroupBox>(); }, skBox, std::nullopt},
      {xcRadioButton, [&] { return Place<TRadioGroup>(); }, skBox, skBox},  // a group box then
      {xcStatusBar, [&] { return Place<TStatusBar>(); }, skStatusBar, std::nullopt},
      {xcTab, [&] { return Place<TPageControl>(); }, skTab, std::nullopt},
      {xcTab, [&] { return Place<TTabControl>(); }, skTab, std::nullopt},
      {xcTab, [&] { return Place<TTabSet>(); }, skTab31, std::nullopt},
      {xcToolbar, [&] { return Place<TMyToolBar>(); }, skBox, std::nullopt},
  };
  for (const TRow& row : rows) {
    for (bool on : {true, false}) {
      TControl* control = row.Make();
      SCOPED_TRACE(std::string(control->ClassName()) + (on ? " switched on" : " switched off"));
      SetSwitches(on ? TSkinControlTypes() : TSkinControlTypes().Without(row.Bit));
      Skins->SkinChildren(Form);
      EXPECT_EQ(KindName(KindOf(control)), KindName(on ? row.On : row.Off));
      Skins->FreeControlSkins();
      Form->DestroyComponent(control);
    }
  }
}

TEST_F(ControlSkinsTest, Skin3rdLinesMapForeignClasses) {
  // The default lines know TRzButton; it derives from TButton, and Tag 96 would force the
  // scroll-bar skin on it if the line did not settle it first.
  auto* rz = Place<TRzButton>();
  rz->SetTag(96);
  auto* plain = Place<TButton>();
  plain->SetTag(96);
  SetSwitches(TSkinControlTypes().Without(xcButton));
  Skins->SkinChildren(Form);
  ExpectKinds({{rz, std::nullopt}, {plain, skScrollBar}});

  Skins->FreeControlSkins();
  SetSwitches(TSkinControlTypes());
  Skins->SkinChildren(Form);
  EXPECT_EQ(KindName(KindOf(rz)), KindName(skButton));
}

TEST_F(ControlSkinsTest, ApplySkin3rdMatchesWholeClassNamesAndAnyKind) {
  SkinData->SetSkin3rd(TStringList{L"TRzButtonEdit=Edit", L"TRzButton", L"trzbutton=Mystery", L"TRzButton=button",
                                   L"TLMDTrackbar=TrackBar", L"TRzRadioGroup=RadioGroup"});
  struct TRow {
    std::function<TControl*()> Make;
    TSkinControlTypes Switches;
    bool Matched;
    std::optional<TControlSkinKind> Kind;
  };
  const TSkinControlTypes all;
  const std::vector<TRow> rows = {
      // "TRzButtonEdit=" is not "TRzButton=", a line without "=" never matches, and the
      // first matching line settles it even with a kind nobody knows.
      {[&] { return Place<TRzButton>(); }, all, true, std::nullopt},
      {[&] { return Place<TButton>(); }, all, false, std::nullopt},
      {[&] { return Place<TLMDTrackbar>(); }, all, true, skTrackBar},
      {[&] { return Place<TLMDTrackbar>(); }, all.Without(xcButton), true, std::nullopt},
  };
  for (const TRow& row : rows) {
    TControl* control = row.Make();
    SCOPED_TRACE(control->ClassName());
    SetSwitches(row.Switches);
    std::string upper(control->ClassName());
    for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(Skins->ApplySkin3rd(upper, control), row.Matched);
    EXPECT_EQ(KindName(KindOf(control)), KindName(row.Kind));
    Skins->FreeControlSkins();
    Form->DestroyComponent(control);
  }

  SetSwitches(all);
  auto* track = Place<TLMDTrackbar>();
  EXPECT_TRUE(Skins->ApplySkin3rd("TLMDTRACKBAR", track));
  EXPECT_TRUE(track->Transparent());

  // A radio group by a foreign name: its buttons only while radio buttons are skinned.
  for (bool radios : {true, false}) {
    auto* group = Place<TRzRadioGroup>();
    group->Items().SetText(L"a\nb");
    group->Handle();
    SetSwitches(radios ? all : all.Without(xcRadioButton));
    EXPECT_TRUE(Skins->ApplySkin3rd("TRZRADIOGROUP", group));
    EXPECT_EQ(KindName(KindOf(group)), KindName(skBox));
    EXPECT_EQ(KindName(KindOf(group->Buttons(1))), KindName(radios ? std::optional(skRadioButton) : std::nullopt));
    Skins->FreeControlSkins();
  }
}

TEST_F(ControlSkinsTest, OnSkinControlMaySupplyTheSkin) {
  auto* panel1 = Place<TPanel>();
  auto* inPanel1 = Place<TButton>(panel1, panel1);
  auto* panel2 = Place<TPanel>();
  auto* inPanel2 = Place<TButton>(panel2, panel2);
  auto* button = Place<TButton>();
  TComponent notASkin;
  TSkinControl* ownSkin = MakeControlSkin(*Skins, skHeader);  // a kind no rule gives
  std::vector<std::string> asked;
  SkinData->OnSkinControl = [&](TComponent* sender, TSkinData* data, TControl* form, TControl* control,
                                std::string_view controlClass, TComponent*& skinned) {
    EXPECT_EQ(sender, &FormSkin);
    EXPECT_EQ(data, SkinData);
    EXPECT_EQ(form, control->Owner());
    asked.emplace_back(controlClass);
    if (controlClass == "TPANEL") skinned = ownSkin;  // the same skin twice: taken once
    if (control == button) skinned = &notASkin;
  };
  Skins->SkinChildren(Form);

  ExpectKinds(
      {{panel1, skHeader}, {inPanel1, skButton}, {panel2, std::nullopt}, {inPanel2, std::nullopt}, {button, skButton}});
  EXPECT_EQ(ownSkin->Control(), panel1);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "TPANEL"), 2);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "TBUTTON"), 2) << "the first panel's button and the form's";
}

TEST_F(ControlSkinsTest, RecolourFlagFollowsTheRowAndFreeingGivesEverythingBack) {
  auto* checkBox = Place<TCheckBox>();
  auto* radio = Place<TRadioButton>();
  auto* groupBox = Place<TGroupBox>();
  auto* panel = Place<TPanel>();
  auto* button = Place<TButton>();
  auto* combo = Place<TComboBox>();
  auto* progress = Place<TProgressBar>();
  auto* edit = Place<TEdit>();
  auto* speed = Place<TSpeedButton>();
  struct TRow {
    TWinControl* Control;
    bool Recolored;
  };
  const std::vector<TRow> rows = {{checkBox, true}, {radio, true},  {groupBox, true},  {panel, true},
                                  {button, false},  {combo, false}, {progress, false}, {edit, false}};
  std::vector<WNDPROC> procs;
  for (const TRow& row : rows) {
    row.Control->SetColor(kOwnColor);
    procs.push_back(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(row.Control->Handle(), GWLP_WNDPROC)));
  }
  ShowForm();

  Skins->SkinChildren(Form);
  ASSERT_EQ(EntriesOf(speed).size(), 1u);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Control->ClassName());
    EXPECT_EQ(row.Control->Color(), row.Recolored ? Face : kOwnColor);
    ASSERT_EQ(EntriesOf(row.Control).size(), 1u);
    EXPECT_EQ(EntriesOf(row.Control).front()->Recolor(), row.Recolored);
  }
  // The edit is skinned by its window, which is the framework's: on its hook chain, with
  // no platform subclass in front of its window procedure.
  EXPECT_GT(edit->HookCount(), 0);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit->Handle(), GWLP_WNDPROC)), procs.back());

  Skins->FreeControlSkins();
  EXPECT_TRUE(Skins->Items().empty());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    TWinControl* c = rows[i].Control;
    SCOPED_TRACE(c->ClassName());
    EXPECT_EQ(c->Color(), kOwnColor);
    EXPECT_EQ(c->HookCount(), 0);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(c->Handle(), GWLP_WNDPROC)), procs[i]);
  }
  EXPECT_EQ(speed->HookCount(), 0);
  Pump();
}

TEST_F(ControlSkinsTest, EntriesGoWithWindowlessControlsAndOnTheirOwn) {
  auto* speed1 = Place<TSpeedButton>();
  auto* speed2 = Place<TSpeedButton>();
  auto* button = Place<TButton>();
  Skins->SkinChildren(Form);
  ASSERT_EQ(Skins->Items().size(), 3u);
  Skins->SetHotControlSkin(EntriesOf(speed1).front());

  Form->DestroyComponent(speed1);
  EXPECT_EQ(Skins->Items().size(), 2u);
  EXPECT_EQ(Skins->HotControlSkin(), nullptr);

  TSkinControl* buttonSkin = EntriesOf(button).front();
  Skins->SetHotControlSkin(buttonSkin);
  EXPECT_EQ(Skins->FindControlSkin(button->Handle()), buttonSkin);
  Skins->DestroyComponent(buttonSkin);
  EXPECT_EQ(Skins->Items().size(), 1u);
  EXPECT_EQ(Skins->HotControlSkin(), nullptr);
  EXPECT_EQ(Skins->FindControlSkin(button->Handle()), nullptr);
  EXPECT_EQ(button->HookCount(), 0);

  // Skinned again after a free: the new entry still goes with its control.
  Skins->FreeControlSkins();
  Skins->SkinChildren(Form);
  ASSERT_EQ(EntriesOf(speed2).size(), 1u);
  Form->DestroyComponent(speed2);
  EXPECT_EQ(Skins->Items().size(), 1u);
  EXPECT_EQ(Skins->Items().front()->Control(), button);
}

// ---- dialogs that are not framework forms

// An in-memory dialog template, items appended one by one.
class TDialogTemplate {
 public:
  explicit TDialogTemplate(DWORD style) {
    DLGTEMPLATE header{};
    header.style = style;
    header.cx = 300;
    header.cy = 200;
    Append(&header, sizeof(header));
    Word(0);  // menu
    Word(0);  // class
    Text(L"Classify");
  }
  void Add(const wchar_t* className, DWORD style, WORD id) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = static_cast<short>(4 + (id % 6) * 48);
    item.y = static_cast<short>(4 + (id / 6) * 30);
    item.cx = 44;
    item.cy = 24;
    item.id = id;
    Append(&item, sizeof(item));
    Text(className);
    Text(L"x");
    Word(0);  // no creation data
    ++FCount;
    reinterpret_cast<DLGTEMPLATE*>(FBytes.data())->cdit = FCount;
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FBytes.data()); }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    FBytes.insert(FBytes.end(), p, p + size);
  }
  void Word(WORD w) { Append(&w, sizeof(w)); }
  void Text(const wchar_t* text) { Append(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
  void Align() {
    while (FBytes.size() % 4) FBytes.push_back(0);
  }
  std::vector<BYTE> FBytes;
  WORD FCount = 0;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(ControlSkinsTest, DialogChildWindowsByClassAndStyle) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_USEREX_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  struct TRow {
    const wchar_t* ClassName;
    DWORD Style;
    std::optional<TControlSkinKind> Kind;
  };
  const std::vector<TRow> rows = {
      {L"Button", BS_PUSHBUTTON, skButton},
      {L"Button", BS_DEFPUSHBUTTON, skButton},
      {L"Button", BS_CHECKBOX, skCheckBox},
      {L"Button", BS_AUTOCHECKBOX, skCheckBox},
      {L"Button", BS_RADIOBUTTON, skRadioButton},
      {L"Button", BS_3STATE, skCheckBox},
      {L"Button", BS_AUTO3STATE, skCheckBox},
      {L"Button", BS_GROUPBOX, std::nullopt},
      {L"Button", BS_AUTORADIOBUTTON, skRadioButton},
      {L"Button", BS_OWNERDRAW, skCheckBox},  // 0x0B: the style rule takes it for a check box
      {L"ComboBox", CBS_SIMPLE, std::nullopt},
      {L"ComboBox", CBS_DROPDOWN, skComBox},
      {L"ComboBox", CBS_DROPDOWNLIST, skComBox},
      {L"ScrollBar", SBS_SIZEGRIP, skSizer},
      {L"ScrollBar", SBS_VERT, skSizer},
      {L"SysTabControl32", 0, skTab},
      {L"SysTabControl32", 0x2000, std::nullopt},
      {L"Edit", ES_AUTOHSCROLL, skEdit},
      {L"Static", SS_LEFT, std::nullopt},
      {L"ComboBoxEx32", CBS_DROPDOWN, std::nullopt},  // the skin goes on its inner combo box
  };
  TDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION);
  for (std::size_t i = 0; i < rows.size(); ++i)
    dialogTemplate.Add(rows[i].ClassName, rows[i].Style, static_cast<WORD>(100 + i));
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  // A window that is no longer a child is not classified.
  HWND detached = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 10, 10, dialog, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(detached, GWL_STYLE, GetWindowLongPtrW(detached, GWL_STYLE) & ~LONG_PTR(WS_CHILD));
  ASSERT_EQ(GetWindowLongPtrW(detached, GWL_STYLE) & WS_CHILD, 0);

  std::vector<WNDPROC> procs;
  for (std::size_t i = 0; i < rows.size(); ++i)
    procs.push_back(
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(GetDlgItem(dialog, static_cast<int>(100 + i)), GWLP_WNDPROC)));

  Skins->SkinChildWindows(dialog);
  const std::size_t count = Skins->Items().size();
  Skins->SkinChildWindows(dialog);
  EXPECT_EQ(Skins->Items().size(), count);

  auto kindOf = [this](HWND wnd) -> std::optional<TControlSkinKind> {
    TSkinControl* skin = Skins->FindControlSkin(wnd);
    return skin ? std::optional(skin->Kind()) : std::nullopt;
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "item " << i);
    EXPECT_EQ(KindName(kindOf(GetDlgItem(dialog, static_cast<int>(100 + i)))), KindName(rows[i].Kind));
  }
  HWND comboEx = GetDlgItem(dialog, static_cast<int>(100 + rows.size() - 1));
  HWND innerCombo = GetWindow(comboEx, GW_CHILD);
  ASSERT_NE(innerCombo, nullptr);
  EXPECT_EQ(KindName(kindOf(innerCombo)), KindName(skComBox));
  EXPECT_EQ(kindOf(detached), std::nullopt);

  Skins->FreeControlSkins();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    HWND item = GetDlgItem(dialog, static_cast<int>(100 + i));
    SCOPED_TRACE(::testing::Message() << "item " << i);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(item, GWLP_WNDPROC)), procs[i]);
  }
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace kv
