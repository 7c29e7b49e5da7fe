// The published properties of the control kinds beyond StdCtrls and ComCtrls.
#include "framework/ButtonCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolCtrls.h"

namespace kv {

namespace {

// An enumeration property: `members` are the names of the values 0, 1, 2, ... in order.
template <class T, class E>
void RegisterEnumProperty(std::string name, std::vector<std::string> members, E (T::*getter)() const,
                          void (T::*setter)(E)) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = pkEnumeration;
  info.Members = std::move(members);
  info.Applies = [](const TComponent& c) { return dynamic_cast<const T*>(&c) != nullptr; };
  info.Get = [getter](const TComponent& c) { return static_cast<int>((static_cast<const T&>(c).*getter)()); };
  info.Set = [setter](TComponent& c, int v) { (static_cast<T&>(c).*setter)(static_cast<E>(v)); };
  RegisterProperty(std::move(info));
}

}  // namespace

void RegisterControlKindProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::vector<std::string> orientation{"orHorizontal", "orVertical"};

  RegisterBooleanProperty<TRadioButton>("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
  RegisterBooleanProperty<TSpeedButton>("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
  RegisterBooleanProperty<TSpeedButton>("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  RegisterBooleanProperty<TSpeedButton>("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
  RegisterEnumProperty<TBitBtn, TButtonLayout>("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                                               &TBitBtn::Layout, &TBitBtn::SetLayout);
  RegisterEnumProperty<TBitBtn, TBitBtnKind>(
      "Kind",
      {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"},
      &TBitBtn::Kind, &TBitBtn::SetKind);

  RegisterBooleanProperty<TProgressBar>("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
  RegisterEnumProperty<TProgressBar, TOrientation>("Orientation", orientation, &TProgressBar::Orientation,
                                                   &TProgressBar::SetOrientation);
  RegisterBooleanProperty<TTrackBar>("Transparent", &TTrackBar::Transparent, &TTrackBar::SetTransparent);
  RegisterEnumProperty<TTrackBar, TOrientation>("Orientation", orientation, &TTrackBar::Orientation,
                                                &TTrackBar::SetOrientation);
  RegisterBooleanProperty<TUpDown>("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap);
  RegisterBooleanProperty<TUpDown>("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys);
  RegisterEnumProperty<TUpDown, TOrientation>("Orientation", orientation, &TUpDown::Orientation,
                                              &TUpDown::SetOrientation);
  RegisterEnumProperty<TScrollBar, TScrollBarKind>("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind,
                                                   &TScrollBar::SetKind);

  RegisterBooleanProperty<TListBox>("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect);
  RegisterBooleanProperty<TListBox>("Sorted", &TListBox::Sorted, &TListBox::SetSorted);
  RegisterBooleanProperty<TListView>("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect);
  RegisterBooleanProperty<TListView>("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect);
  RegisterBooleanProperty<TListView>("GridLines", &TListView::GridLines, &TListView::SetGridLines);
  RegisterEnumProperty<TListView, TViewStyle>("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"},
                                              &TListView::ViewStyle, &TListView::SetViewStyle);

  RegisterBooleanProperty<TTabControl>("MultiLine", &TTabControl::MultiLine, &TTabControl::SetMultiLine);
  RegisterEnumProperty<TTabControl, TTabPosition>("TabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"},
                                                  &TTabControl::TabPosition, &TTabControl::SetTabPosition);

  RegisterBooleanProperty<TToolBar>("Flat", &TToolBar::Flat, &TToolBar::SetFlat);
  RegisterBooleanProperty<TScrollBox>("AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll);
  RegisterEnumProperty<TDateTimePicker, TDTDateMode>("DateMode", {"dmComboBox", "dmUpDown"}, &TDateTimePicker::DateMode,
                                                     &TDateTimePicker::SetDateMode);
  RegisterEnumProperty<TDateTimePicker, TDateTimeKind>("Kind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind,
                                                       &TDateTimePicker::SetKind);
}

}  // namespace kv
