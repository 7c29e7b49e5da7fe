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
using enum TAttachWay;

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

bool TControlSkins::Allowed(TSkinControlType type) const {
  return FSkinData->SkinControls().Contains(type) && (type != xcTab || HasTabs());
}

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

TSkinControl* TControlSkins::AttachGraphic(TControlSkinKind kind, TComponent* component) {
  auto* control = dynamic_cast<TGraphicControl*>(component);
  if (!control) return nullptr;
  TSkinControl* skin = MakeControlSkin(*this, kind);
  skin->AttachGraphic(control, FSkinData, FCanvas);
  AddControlSkin(skin);
  WatchGraphic(skin, control);
  return skin;
}

TSkinControl* TControlSkins::AttachKind(TControlSkinKind kind, TComponent* component, bool option) {
  switch (ControlSkinKindRow(kind).Way) {
    case awControl: return Attach(kind, component, option);
    case awHandle: return AttachByHandle(kind, component);
    case awGraphic: return AttachGraphic(kind, component);
  }
  return nullptr;
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

void TControlSkins::ApplyRules(const std::string& upperName, int tagRest, TComponent* component) {
  for (const TClassifyRule& rule : ClassifyRules()) {
    if (rule.Switch && !Allowed(*rule.Switch)) continue;
    const TRuleMatch& match = rule.Match;
    if (match.Skin3rd) {
      if (ApplySkin3rd(upperName, component)) return;
      continue;
    }
    const bool matched = std::find(match.Names.begin(), match.Names.end(), upperName) != match.Names.end() ||
                         (match.Is && match.Is(component)) || (match.Tag != 0 && match.Tag == tagRest);
    if (!matched) continue;
    if (rule.First) (this->*rule.First)(component);
    if (rule.Kind) AttachKind(*rule.Kind, component, rule.Option);
    if (rule.Then) (this->*rule.Then)(component);
    return;
  }
}

bool TControlSkins::ApplySkin3rd(std::string_view upperName, TComponent* control) {
  if (!FSkinData) return false;
  const std::optional<std::wstring> kind = Skin3rdKind(upperName);
  if (!kind) return false;
  ApplySkin3rdKind(*kind, control);
  return true;
}

std::optional<std::wstring> TControlSkins::Skin3rdKind(std::string_view upperName) const {
  std::wstring key;
  for (char ch : upperName) key.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
  key = LowerWide(key) + L"=";
  const TStringList& lines = FSkinData->Skin3rd();
  for (int i = 0; i < lines.Count(); ++i) {
    const std::wstring line = LowerWide(lines[i]);
    // Class names hold no "=": the key ends at the first.
    if (line.starts_with(key)) return line.substr(key.size(), 50);
  }
  return std::nullopt;
}

// The kind is a group word, or a kind's Skin3rd word or class name (ControlSkinKinds.h);
// anything else does nothing.
void TControlSkins::ApplySkin3rdKind(const std::wstring& kind, TComponent* control) {
  std::string name;
  for (wchar_t ch : kind) {
    if (ch > 0x7F) return;
    name.push_back(static_cast<char>(ch));
  }
  for (const TSkin3rdGroup& group : Skin3rdGroups()) {
    if (name != group.Word) continue;
    if (Allowed(xcPanel)) {
      if (Allowed(xcRadioButton)) SkinGroupButtons(control, group.Buttons);
      Attach(skBox, control, true);
    }
    return;
  }
  const TControlSkinKindRow* row = FindControlSkinKind(name);
  if (!row || (row->Switch && !Allowed(*row->Switch))) return;
  if (row->Transparent) SetPropertyByName(*control, "Transparent", "True");
  AttachKind(row->Kind, control, row->Option);
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
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  for (const TChildWindowRule& rule : ChildWindowRules()) {
    if (rule.ClassName != className || (rule.Style && !rule.Style(style))) continue;
    if (!rule.Kind) return;
    const HWND target = rule.OnFirstChild ? GetWindow(window, GW_CHILD) : window;
    if (target && !FindControlSkin(target)) AttachByHandle(*rule.Kind, target);
    return;
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
