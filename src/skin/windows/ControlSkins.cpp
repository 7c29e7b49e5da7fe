#include "skin/windows/ControlSkins.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "base/ByteText.h"
#include "base/win/WindowText.h"
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

namespace kv {

namespace {

using enum TControlSkinKind;

template <class T>
bool Is(const TComponent* component) {
  return dynamic_cast<const T*>(component) != nullptr;
}

std::wstring LowerWide(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
  return out;
}

bool NameIn(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The roles the rule table speaks of, filled by our framework's classes.
bool IsTabControlRole(const TComponent* c) { return Is<TTabControl>(c); }
bool IsRadioGroupRole(const TComponent* c) { return Is<TRadioGroup>(c); }
bool IsRadioButtonRole(const TComponent* c) { return Is<TRadioButton>(c); }
bool IsToolBarRole(const TComponent* c) { return Is<TToolBar>(c); }
bool IsProgressRole(const TComponent* c) { return Is<TProgressBar>(c); }
bool IsScrollBarControlRole(const TComponent* c) { return Is<TScrollBar>(c); }
bool IsBitButtonRole(const TComponent* c) { return Is<TBitBtn>(c); }
bool IsSpeedButtonRole(const TComponent* c) { return Is<TSpeedButton>(c); }
bool IsListViewRole(const TComponent* c) { return Is<TListView>(c); }
bool IsColoredScrollerRole(const TComponent* c) { return Is<TScrollBox>(c); }
bool IsContainerRole(const TComponent* c) { return Is<TTabSheet>(c) || Is<TScrollBox>(c); }
// A memo is an edit of several lines here as it is in the class family the rules name.
bool IsEditFamily(const TComponent* c) { return Is<TEdit>(c) || Is<TMemo>(c); }

}  // namespace

TControlSkins::TControlSkins(TComponent* formSkin, std::function<bool()> closing)
    : FFormSkin(formSkin), FClosing(std::move(closing)) {}

// The entries detach while this object is still whole: their hosts' callbacks reach us.
TControlSkins::~TControlSkins() { FreeControlSkins(); }

void TControlSkins::Bind(TSkinData* skinData, TCanvas* canvas) {
  FSkinData = skinData;
  FCanvas = canvas;
}

// ---- attaching

bool TControlSkins::Allowed(TSkinControlType type) const { return FSkinData->SkinControls().Contains(type); }

bool TControlSkins::HasTabs() const { return FSkinData->Model().Tabs != nullptr; }

TColor TControlSkins::FaceColor() const { return FSkinData->Model().Colours.ButtonFaceColour; }

TSkinControl* TControlSkins::Attach(TControlSkinKind kind, TComponent* component, bool recolor) {
  auto* control = dynamic_cast<TWinControl*>(component);
  if (!control) return nullptr;
  TSkinControl* skin = MakeControlSkin(*this, kind);
  skin->AttachControl(control, FSkinData, recolor, FCanvas);
  AddControlSkin(skin);  // the skin registers itself; this only makes sure of it
  return skin;
}

TSkinControl* TControlSkins::AttachByHandle(TControlSkinKind kind, HWND window) {
  if (!window) return nullptr;
  TSkinControl* skin = MakeControlSkin(*this, kind);
  skin->AttachWindow(window, FSkinData, FCanvas);
  AddControlSkin(skin);
  return skin;
}

TSkinControl* TControlSkins::AttachByHandle(TControlSkinKind kind, TComponent* component) {
  auto* control = dynamic_cast<TWinControl*>(component);
  return control ? AttachByHandle(kind, control->Handle()) : nullptr;
}

void TControlSkins::AttachScrollBars(TComponent* component, int option) {
  // A scroll-bar skin takes its attach flag as whether thumb drags are its own (option 1)
  // or left to the platform (option 0): it goes on to AttachScrollBars with it.
  Attach(skScrollBar, component, option == 1);
}

void TControlSkins::AttachSpeedButton(TComponent* component) {
  auto* button = dynamic_cast<TGraphicControl*>(component);
  if (!button) return;
  TSkinControl* skin = MakeControlSkin(*this, skSpeedButton);
  skin->AttachGraphic(button, FSkinData, FCanvas);
  AddControlSkin(skin);
  WatchGraphic(skin, button);
}

void TControlSkins::WatchGraphic(TSkinControl* skin, TGraphicControl* control) {
  // Kept apart from the skin: the skin may forget its control before we hear it went.
  if (std::find(FServed.begin(), FServed.end(), TServed{skin, control}) == FServed.end())
    FServed.push_back({skin, control});
  FreeNotification(control);
}

// A control given the face without a skin of its own: remembered, so that a skin change
// recolours it and the end of skinning gives its colour back.
void TControlSkins::RecolorBare(TControl* control) {
  const auto known = [control](const TRecoloured& r) { return r.Control == control; };
  if (std::none_of(FRecoloured.begin(), FRecoloured.end(), known)) {
    FRecoloured.push_back({control, control->Color(), control->ParentColor()});
    FreeNotification(control);
  }
  control->SetColor(FaceColor());
}

void TControlSkins::SkinGroupButtons(TComponent* group, TControlSkinKind kind) {
  auto* parent = dynamic_cast<TWinControl*>(group);
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    child->SetParentColor(false);
    Attach(kind, child, true);
  }
}

void TControlSkins::ChildrenOwnColor(TComponent* group) {
  auto* parent = dynamic_cast<TWinControl*>(group);
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) parent->Controls(i)->SetParentColor(false);
}

void TControlSkins::Recurse(TComponent* component) {
  if (auto* container = dynamic_cast<TWinControl*>(component)) SkinChildren(container);
}

// ---- classification

void TControlSkins::SkinChildren(TWinControl* container) {
  if (!container || !FSkinData) return;
  // Index order; a skin made on the way is owned by us, not by the container.
  for (int i = 0; i < container->ComponentCount(); ++i) SkinComponent(container, container->Components(i));
}

void TControlSkins::SkinComponent(TWinControl* container, TComponent* component) {
  const std::string upperName = AsciiUpperCase(component->ClassName());
  const int tagRest = component->Tag() % 100;  // keeps the sign: -99 stays -99
  if (tagRest == FSkinData->DisableTag() || IsControlSkinned(component)) return;

  if (auto* windowed = dynamic_cast<TWinControl*>(component); windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
      return;  // a control without a window is left as it is
    }
  }

  if (FSkinData->OnSkinControl && OfferToHandler(container, component, upperName)) return;
  ApplyRules(upperName, tagRest, component);
}

bool TControlSkins::OfferToHandler(TWinControl* container, TComponent* component, const std::string& upperName) {
  auto* control = dynamic_cast<TControl*>(component);
  if (!control) return false;  // the handler speaks of controls only
  TComponent* result = nullptr;
  FSkinData->OnSkinControl(FFormSkin, FSkinData, container, control, upperName, result);
  auto* skin = dynamic_cast<TSkinControl*>(result);
  if (!skin) return false;
  if (AddControlSkin(skin)) return true;
  if (auto* windowed = dynamic_cast<TWinControl*>(control))
    skin->AttachControl(windowed, FSkinData, skin->Recolor(), FCanvas);
  else if (auto* graphic = dynamic_cast<TGraphicControl*>(control)) {
    skin->AttachGraphic(graphic, FSkinData, FCanvas);
    WatchGraphic(skin, graphic);
  }
  if (Is<TPanel>(control)) Recurse(control);
  return true;
}

void TControlSkins::ApplyRules(const std::string& n, int t, TComponent* c) {
  if (NameIn(n, {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"})) return;  // 1
  if (n == "TTOOLBAR") {                                                                 // 2
    SetPropertyByName(*c, "Flat", "True");
    if (auto* control = dynamic_cast<TControl*>(c)) RecolorBare(control);
    return;
  }
  if (IsTabControlRole(c) && Allowed(xcTab) && HasTabs()) {  // 3
    AttachByHandle(skTab, c);
    return;
  }
  if (ApplySkin3rd(n, c)) return;                       // 4
  if (n == "TTABSET" && Allowed(xcTab) && HasTabs()) {  // 5
    Attach(skTab31, c, false);
    return;
  }
  if (n == "TTABBEDNOTEBOOK" && Allowed(xcTab) && HasTabs()) {  // 6
    AttachByHandle(skTab, c);
    return;
  }
  if (n == "TMVCPANEL") {  // 7
    Recurse(c);
    return;
  }
  if (Is<TPageControl>(c) && Allowed(xcTab) && HasTabs()) {  // 8
    AttachByHandle(skTab, c);
    return;
  }
  if (Is<TCheckBox>(c) && Allowed(xcCheckBox)) {  // 9
    Attach(skCheckBox, c, true);
    return;
  }
  if (n == "TTRACKBAR" && Allowed(xcButton)) {  // 10
    Attach(skTrackBar, c, false);
    return;
  }
  if (n == "TUPDOWN" && Allowed(xcButton)) {  // 11
    Attach(skUpDown, c, false);
    return;
  }
  if (IsRadioGroupRole(c) && Allowed(xcRadioButton)) {  // 12
    SkinGroupButtons(c, skRadioButton);
    Attach(skBox, c, true);
    return;
  }
  if (n == "TDBNAVIGATOR" && Allowed(xcPanel)) {  // 13
    SetPropertyByName(*c, "Flat", "True");
    Attach(skBox, c, true);
    return;
  }
  if (Is<TGroupBox>(c) && Allowed(xcPanel)) {  // 14
    ChildrenOwnColor(c);
    Attach(skBox, c, true);
    Recurse(c);
    return;
  }
  if (IsRadioButtonRole(c) && Allowed(xcRadioButton)) {  // 15
    Attach(skRadioButton, c, true);
    return;
  }
  if (IsToolBarRole(c) && Allowed(xcToolbar)) {  // 16
    SetPropertyByName(*c, "Flat", "True");
    Attach(skBox, c, true);
    return;
  }
  if (Is<TStatusBar>(c) && Allowed(xcStatusBar)) {  // 17: the skin takes the size grip away
    Attach(skStatusBar, c, false);
    return;
  }
  if (IsProgressRole(c) && Allowed(xcProgress)) {  // 18
    Attach(skProgress, c, false);
    return;
  }
  if (IsScrollBarControlRole(c) && Allowed(xcScrollbar)) {  // 19
    Attach(skScControl, c, false);
    return;
  }
  if ((Is<TComboBox>(c) || t == 95) && Allowed(xcCombo)) {  // 20
    Attach(skComBox, c, false);
    return;
  }
  if (n == "TDATETIMEPICKER" && Allowed(xcEdit)) {  // 21
    const bool upDown = GetPropertyText(*c, "DateMode") == "dmUpDown";
    Attach(upDown ? skEdit : skComBox, c, false);
    return;
  }
  if (Allowed(xcScrollbar) && n == "TRICHEDIT") {  // 22
    AttachScrollBars(c, 1);
    return;
  }
  if (Allowed(xcScrollbar) && NameIn(n, {"TWWDBRICHEDIT", "TDXDBMEMO"})) {  // 23
    AttachScrollBars(c, 1);
    return;
  }
  if (IsBitButtonRole(c) && Allowed(xcBitBtn)) {  // 24
    Attach(skBitButton, c, false);
    return;
  }
  if (IsSpeedButtonRole(c) && Allowed(xcSpeedButton)) {  // 25
    AttachSpeedButton(c);
    return;
  }
  if (Is<TPanel>(c) && Allowed(xcPanel)) {  // 26
    Attach(skBox, c, true);
    Recurse(c);
    return;
  }
  if (NameIn(n, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && Allowed(xcScrollbar)) {  // 27
    AttachScrollBars(c, 0);
    return;
  }
  if (IsListViewRole(c) && Allowed(xcScrollbar)) {  // 28
    Attach(skListView, c, false);
    return;
  }
  if (Allowed(xcScrollbar) && Is<TMemo>(c)) {  // 29
    AttachScrollBars(c, 1);
    return;
  }
  if (Allowed(xcScrollbar) && IsColoredScrollerRole(c)) {  // 30
    AttachScrollBars(c, 1);
    auto* control = dynamic_cast<TControl*>(c);
    RecolorBare(control);
    control->Invalidate();
    return;
  }
  if (Allowed(xcScrollbar) && (t == 96 || NeedsScrollBarSkin(c))) {  // 31
    AttachScrollBars(c, 1);
    return;
  }
  if (Is<TButton>(c) && Allowed(xcButton)) {  // 32
    Attach(skButton, c, false);
    return;
  }
  if ((IsEditFamily(c) || t == 97) && Allowed(xcEdit)) {  // 33
    AttachByHandle(skEdit, c);
    return;
  }
  if (IsContainerRole(c)) {  // 34
    Recurse(c);
    return;
  }
  if (auto* form = dynamic_cast<TForm*>(c)) {  // 35: a form inside another
    RecolorBare(form);
    Recurse(form);
  }
}

bool TControlSkins::ApplySkin3rd(std::string_view upperName, TComponent* control) {
  if (!FSkinData) return false;
  std::wstring key;
  for (char ch : upperName) key.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
  key = LowerWide(key) + L"=";
  const TStringList& lines = FSkinData->Skin3rd();
  std::wstring kind;
  bool found = false;
  for (int i = 0; i < lines.Count() && !found; ++i) {
    const std::wstring line = LowerWide(lines[i]);
    if (line.starts_with(key)) {
      kind = line.substr(key.size(), 50);  // class names hold no "=": the key ends at the first
      found = true;
    }
  }
  if (!found) return false;

  if (kind == L"combobox") {
    if (Allowed(xcCombo)) Attach(skComBox, control, false);
  } else if (kind == L"edit") {
    if (Allowed(xcEdit)) AttachByHandle(skEdit, control);
  } else if (kind == L"radiobutton") {
    if (Allowed(xcRadioButton)) Attach(skRadioButton, control, true);
  } else if (kind == L"panel") {
    if (Allowed(xcPanel)) {
      SetPropertyByName(*control, "Transparent", "True");
      Attach(skBox, control, true);
    }
  } else if (kind == L"trackbar") {
    if (Allowed(xcButton)) {
      SetPropertyByName(*control, "Transparent", "True");
      Attach(skTrackBar, control, false);
    }
  } else if (kind == L"button") {
    if (Allowed(xcButton)) Attach(skButton, control, false);
  } else if (kind == L"tab") {
    if (Allowed(xcTab) && HasTabs()) AttachByHandle(skTab, control);
  } else if (kind == L"progress") {
    if (Allowed(xcProgress)) Attach(skProgress, control, false);
  } else if (kind == L"scrollbar") {
    if (Allowed(xcScrollbar)) AttachScrollBars(control, 1);
  } else if (kind == L"radiogroup" || kind == L"checkgroup") {
    if (Allowed(xcPanel)) {
      if (Allowed(xcRadioButton)) SkinGroupButtons(control, kind == L"radiogroup" ? skRadioButton : skCheckBox);
      Attach(skBox, control, true);
    }
  } else if (kind == L"checkbox") {
    if (Allowed(xcCheckBox)) Attach(skCheckBox, control, true);
  }
  return true;
}

bool TControlSkins::IsControlSkinned(TComponent* component) const {
  auto* windowed = dynamic_cast<TWinControl*>(component);
  for (TSkinControl* skin : FItems) {
    if (skin->Control() || skin->GraphicControl()) {
      if (static_cast<TComponent*>(skin->Control()) == component ||
          static_cast<TComponent*>(skin->GraphicControl()) == component)
        return true;
      continue;
    }
    if (!windowed) continue;
    if (windowed->HandleAllocated()) {
      if (skin->Handle() == windowed->Handle()) return true;
      continue;
    }
    // No window to compare with yet: only the print previews count as covered.
    const std::string& name = component->Name();
    return AsciiLowerCase(name).find("preview") != std::string::npos ||
           NameIn(name, {"TQRStandardPreview", "TppPrintPreview", "TdxfmStdPreview"});
  }
  return false;
}

bool TControlSkins::NeedsScrollBarSkin(TComponent* component) {
  auto* control = dynamic_cast<TWinControl*>(component);
  if (!control) return false;
  if (control->HandleAllocated() && (GetWindowLongPtrW(control->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0)
    return true;
  // These scroll even while their window shows no bar yet.
  return Is<TMemo>(control) || control->Tag() == 55 || Is<TListBox>(control) || Is<TListView>(control) ||
         Is<TScrollBox>(control);
}

void TControlSkins::SkinChildWindows(HWND window) {
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(child);
}

void TControlSkins::SkinChildWindow(HWND window) {
  if (FindControlSkin(window)) return;
  const std::wstring className = LowerWide(WindowClassName(window).substr(0, 100));
  const auto s = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));

  if (className == L"button") {
    if ((s & 7) == 7) return;  // a group box
    if ((s & 3) == 3 || (s & 2) || (s & 5) == 5)
      AttachByHandle(skCheckBox, window);
    else if ((s & 9) == 9 || (s & 4))
      AttachByHandle(skRadioButton, window);
    else
      AttachByHandle(skButton, window);
  } else if (className == L"combobox") {
    if ((s & 3) != 1) AttachByHandle(skComBox, window);  // not a simple combo
  } else if (className == L"comboboxex32") {
    // The skin sits on the inner combo box, so that is where a second walk finds it.
    if (HWND inner = GetWindow(window, GW_CHILD); inner && !FindControlSkin(inner)) AttachByHandle(skComBox, inner);
  } else if (className == L"scrollbar") {
    AttachByHandle(skSizer, window);
  } else if (className == L"systabcontrol32") {
    if (!(s & 0x2000)) AttachByHandle(skTab, window);
  } else if (className == L"edit") {
    AttachByHandle(skEdit, window);
  }
}

// ---- registry

bool TControlSkins::AddControlSkin(TSkinControl* skin) {
  if (!skin) return false;
  if (std::find(FItems.begin(), FItems.end(), skin) != FItems.end()) return true;
  FItems.push_back(skin);
  // Entries not made here (an OnSkinControl handler's) must still be forgotten when they go.
  if (skin->Owner() != this) FreeNotification(skin);
  if (TGraphicControl* graphic = skin->GraphicControl()) WatchGraphic(skin, graphic);
  return false;
}

TSkinControl* TControlSkins::FindControlSkin(HWND window) const {
  for (TSkinControl* skin : FItems)
    if (skin->Handle() == window) return skin;
  return nullptr;
}

void TControlSkins::FreeControlSkins() {
  // Taken out first: freeing one reaches Notification, which would edit the list.
  const std::vector<TSkinControl*> items = std::move(FItems);
  FItems.clear();
  for (const TServed& served : std::exchange(FServed, {})) Unwatch(served.Control);
  FHot = nullptr;
  for (TSkinControl* skin : items) {
    skin->Detach();
    if (TComponent* owner = skin->Owner()) owner->DestroyComponent(skin);
  }
  for (const TRecoloured& r : std::exchange(FRecoloured, {})) {
    Unwatch(r.Control);
    if (HostClosing()) continue;
    r.Control->SetColor(r.Color);
    if (r.ParentColor) r.Control->SetParentColor(true);
  }
}

void TControlSkins::SkinChanged() {
  for (TSkinControl* skin : std::vector<TSkinControl*>(FItems)) skin->SkinChanged();
  for (const TRecoloured& r : FRecoloured) {
    r.Control->SetColor(FaceColor());
    r.Control->Invalidate();
  }
}

void TControlSkins::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (FHot == component) FHot = nullptr;
  std::erase_if(FRecoloured, [component](const TRecoloured& r) { return r.Control == component; });
  if (auto it = std::find(FItems.begin(), FItems.end(), component); it != FItems.end()) {
    FItems.erase(it);
    ForgetServedBy(component);
    return;
  }
  // A window-less control went (half gone already: only its address is compared); the
  // first entry serving it goes too.
  auto served = std::find_if(FItems.begin(), FItems.end(), [this, component](TSkinControl* skin) {
    return std::find(FServed.begin(), FServed.end(), TServed{skin, component}) != FServed.end();
  });
  std::erase_if(FServed, [component](const TServed& s) { return s.Control == component; });
  if (served == FItems.end()) return;
  TSkinControl* skin = *served;
  FItems.erase(served);
  if (FHot == skin) FHot = nullptr;
  if (TComponent* owner = skin->Owner()) owner->DestroyComponent(skin);
}

void TControlSkins::ForgetServedBy(TComponent* skin) {
  std::vector<TComponent*> controls;
  std::erase_if(FServed, [&](const TServed& s) {
    if (s.Skin != skin) return false;
    controls.push_back(s.Control);
    return true;
  });
  for (TComponent* control : controls)
    if (std::none_of(FServed.begin(), FServed.end(), [control](const TServed& s) { return s.Control == control; }))
      Unwatch(control);
}

void TControlSkins::Unwatch(TComponent* control) {
  // Both ways: a later skin of the same control must hear of its end before we do.
  control->RemoveFreeNotification(this);
  RemoveFreeNotification(control);
}

}  // namespace kv
