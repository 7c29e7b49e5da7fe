#include "skin/windows/ControlRules.h"

#include <commctrl.h>

#include "framework/ButtonCtrls.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolCtrls.h"
#include "skin/core/SkinData.h"
#include "skin/windows/ControlSkins.h"

namespace kv {

namespace {

using enum TControlSkinKind;

template <class T>
bool Is(TComponent* component) {
  return dynamic_cast<T*>(component) != nullptr;
}

// The roles the rules speak of, filled by our framework's classes (framework/NOTES.md,
// "Control roles").
bool IsTabControlRole(TComponent* c) { return Is<TTabControl>(c); }
bool IsRadioGroupRole(TComponent* c) { return Is<TRadioGroup>(c); }
bool IsRadioButtonRole(TComponent* c) { return Is<TRadioButton>(c); }
bool IsToolBarRole(TComponent* c) { return Is<TToolBar>(c); }
bool IsProgressRole(TComponent* c) { return Is<TProgressBar>(c); }
bool IsScrollBarControlRole(TComponent* c) { return Is<TScrollBar>(c); }
bool IsBitButtonRole(TComponent* c) { return Is<TBitBtn>(c); }
bool IsSpeedButtonRole(TComponent* c) { return Is<TSpeedButton>(c); }
bool IsListViewRole(TComponent* c) { return Is<TListView>(c); }
bool IsColoredScrollerRole(TComponent* c) { return Is<TScrollBox>(c); }
bool IsContainerRole(TComponent* c) { return Is<TTabSheet>(c) || Is<TScrollBox>(c); }
// A memo is an edit of several lines here as it is in the class family the rules name.
bool IsEditFamily(TComponent* c) { return Is<TEdit>(c) || Is<TMemo>(c); }

}  // namespace

std::span<const TClassifyRule> ClassifyRules() {
  using S = TControlSkins;
  static const TClassifyRule rules[] = {
      {.What = "other libraries' previews and designers: left alone",
       .Match = {.Names = {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"}}},
      {.What = "the tool bar class itself: flat on the face colour, no skin",
       .Match = {.Names = {"TTOOLBAR"}},
       .First = &S::FlatOnFace},
      {.What = "tab control", .Match = {.Is = IsTabControlRole}, .Switch = xcTab, .Kind = skTab},
      {.What = "a Skin3rd line", .Match = {.Skin3rd = true}},
      {.What = "tab set", .Match = {.Names = {"TTABSET"}}, .Switch = xcTab, .Kind = skTab31},
      {.What = "tabbed notebook", .Match = {.Names = {"TTABBEDNOTEBOOK"}}, .Switch = xcTab, .Kind = skTab},
      {.What = "MVC panel", .Match = {.Names = {"TMVCPANEL"}}, .Then = &S::Recurse},
      {.What = "page control", .Match = {.Is = Is<TPageControl>}, .Switch = xcTab, .Kind = skTab},
      {.What = "check box", .Match = {.Is = Is<TCheckBox>}, .Switch = xcCheckBox, .Kind = skCheckBox, .Option = true},
      {.What = "track bar", .Match = {.Names = {"TTRACKBAR"}}, .Switch = xcButton, .Kind = skTrackBar},
      {.What = "up-down", .Match = {.Names = {"TUPDOWN"}}, .Switch = xcButton, .Kind = skUpDown},
      {.What = "radio group",
       .Match = {.Is = IsRadioGroupRole},
       .Switch = xcRadioButton,
       .First = &S::SkinRadioButtons,
       .Kind = skBox,
       .Option = true},
      {.What = "DB navigator",
       .Match = {.Names = {"TDBNAVIGATOR"}},
       .Switch = xcPanel,
       .First = &S::SetFlat,
       .Kind = skBox,
       .Option = true},
      {.What = "group box",
       .Match = {.Is = Is<TGroupBox>},
       .Switch = xcPanel,
       .First = &S::ChildrenOwnColor,
       .Kind = skBox,
       .Option = true,
       .Then = &S::Recurse},
      {.What = "radio button",
       .Match = {.Is = IsRadioButtonRole},
       .Switch = xcRadioButton,
       .Kind = skRadioButton,
       .Option = true},
      {.What = "tool bar of a derived class",
       .Match = {.Is = IsToolBarRole},
       .Switch = xcToolbar,
       .First = &S::SetFlat,
       .Kind = skBox,
       .Option = true},
      // The status bar's skin takes the size grip away itself (and gives it back).
      {.What = "status bar", .Match = {.Is = Is<TStatusBar>}, .Switch = xcStatusBar, .Kind = skStatusBar},
      {.What = "progress bar", .Match = {.Is = IsProgressRole}, .Switch = xcProgress, .Kind = skProgress},
      {.What = "scroll-bar control",
       .Match = {.Is = IsScrollBarControlRole},
       .Switch = xcScrollbar,
       .Kind = skScControl},
      {.What = "combo box", .Match = {.Is = Is<TComboBox>, .Tag = 95}, .Switch = xcCombo, .Kind = skComBox},
      {.What = "date-time picker: an edit or a combo box by its mode",
       .Match = {.Names = {"TDATETIMEPICKER"}},
       .Switch = xcEdit,
       .First = &S::AttachDateTimePicker},
      {.What = "rich edit",
       .Match = {.Names = {"TRICHEDIT"}},
       .Switch = xcScrollbar,
       .Kind = skScrollBar,
       .Option = true},
      {.What = "other libraries' rich memos",
       .Match = {.Names = {"TWWDBRICHEDIT", "TDXDBMEMO"}},
       .Switch = xcScrollbar,
       .Kind = skScrollBar,
       .Option = true},
      {.What = "bitmap button", .Match = {.Is = IsBitButtonRole}, .Switch = xcBitBtn, .Kind = skBitButton},
      {.What = "speed button", .Match = {.Is = IsSpeedButtonRole}, .Switch = xcSpeedButton, .Kind = skSpeedButton},
      {.What = "panel",
       .Match = {.Is = Is<TPanel>},
       .Switch = xcPanel,
       .Kind = skBox,
       .Option = true,
       .Then = &S::Recurse},
      {.What = "other libraries' trees and grids: the platform drags their thumbs",
       .Match = {.Names = {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}},
       .Switch = xcScrollbar,
       .Kind = skScrollBar},
      {.What = "list view", .Match = {.Is = IsListViewRole}, .Switch = xcScrollbar, .Kind = skListView},
      {.What = "memo", .Match = {.Is = Is<TMemo>}, .Switch = xcScrollbar, .Kind = skScrollBar, .Option = true},
      {.What = "scroller with a colour of its own",
       .Match = {.Is = IsColoredScrollerRole},
       .Switch = xcScrollbar,
       .Kind = skScrollBar,
       .Option = true,
       .Then = &S::RecolorAndInvalidate},
      {.What = "anything that scrolls",
       .Match = {.Is = &S::NeedsScrollBarSkin, .Tag = 96},
       .Switch = xcScrollbar,
       .Kind = skScrollBar,
       .Option = true},
      {.What = "button", .Match = {.Is = Is<TButton>}, .Switch = xcButton, .Kind = skButton},
      {.What = "edit", .Match = {.Is = IsEditFamily, .Tag = 97}, .Switch = xcEdit, .Kind = skEdit},
      {.What = "container", .Match = {.Is = IsContainerRole}, .Then = &S::Recurse},
      {.What = "a form inside another", .Match = {.Is = Is<TForm>}, .First = &S::Recolor, .Then = &S::Recurse},
  };
  return rules;
}

std::span<const TChildWindowRule> ChildWindowRules() {
  static const TChildWindowRule rules[] = {
      {L"button", [](DWORD s) { return (s & 7) == 7; }},  // a group box: left alone
      {L"button", [](DWORD s) { return (s & 3) == 3 || (s & 2) || (s & 5) == 5; }, skCheckBox},
      {L"button", [](DWORD s) { return (s & 9) == 9 || (s & 4); }, skRadioButton},
      {L"button", nullptr, skButton},
      {L"combobox", [](DWORD s) { return (s & 3) != 1; }, skComBox},  // not a simple combo
      // The skin sits on the inner combo box, so that is where a second walk finds it.
      {L"comboboxex32", nullptr, skComBox, true},
      {L"scrollbar", nullptr, skSizer},
      {L"systabcontrol32", [](DWORD s) { return (s & 0x2000) == 0; }, skTab},
      {L"edit", nullptr, skEdit},
  };
  return rules;
}

std::span<const TSkin3rdGroup> Skin3rdGroups() {
  static constexpr TSkin3rdGroup groups[] = {{"radiogroup", skRadioButton}, {"checkgroup", skCheckBox}};
  return groups;
}

// ---- the steps rows name

void TControlSkins::FlatOnFace(TComponent* component) {
  SetPropertyByName(*component, "Flat", "True");
  Recolor(component);
}

void TControlSkins::SetFlat(TComponent* component) { SetPropertyByName(*component, "Flat", "True"); }

void TControlSkins::Recolor(TComponent* component) {
  if (auto* control = dynamic_cast<TControl*>(component)) RecolorBare(control);
}

void TControlSkins::RecolorAndInvalidate(TComponent* component) {
  if (auto* control = dynamic_cast<TControl*>(component)) {
    RecolorBare(control);
    control->Invalidate();
  }
}

void TControlSkins::SkinRadioButtons(TComponent* group) { SkinGroupButtons(group, skRadioButton); }

void TControlSkins::AttachDateTimePicker(TComponent* component) {
  const bool upDown = GetPropertyText(*component, "DateMode") == "dmUpDown";
  // On the framework control either way, the edit too (a plain edit goes by its window).
  Attach(upDown ? skEdit : skComBox, component, false);
}

}  // namespace kv
