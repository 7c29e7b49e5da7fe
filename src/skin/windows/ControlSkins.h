#pragma once
// The control skins of one skinned window: the registry (every control skin attached
// within that window, in attachment order, owned here) and classification, which walks a
// framework form's components or a dialog's child windows and decides which control
// skin each one gets, under the governing TSkinData's switches (SkinControls,
// DisableTag, Skin3rd, OnSkinControl).
//
// The form skin (TWinSkinForm) holds one of these and forwards its classification
// operations to it; keeping them apart keeps the frame code and the control rules each
// in a file of their own.
#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinOptions.h"
#include "skin/windows/ControlRules.h"

namespace kv {

class TCanvas;
class TGraphicControl;
class TSkinData;
class TWinControl;

class TControlSkins : public TComponent, public TSkinControlHost {
 public:
  // `formSkin` is the Sender OnSkinControl is called with; `closing` tells whether the
  // form skin is being torn down.
  TControlSkins(TComponent* formSkin, std::function<bool()> closing);
  ~TControlSkins() override;
  std::string_view ClassName() const override { return "TControlSkins"; }

  // The skin data and the work canvas handed to every control skin.
  void Bind(TSkinData* skinData, TCanvas* canvas);

  // ---- classification
  // Walks the components owned by `container`, in index order, and attaches control
  // skins by the rule table; recurses into panels, group boxes and containers.
  void SkinChildren(TWinControl* container);
  // Applies a Skin3rd line for class name `upperName`; true when a line matched (even
  // when it then did nothing).
  bool ApplySkin3rd(std::string_view upperName, TComponent* control);
  // Already covered by an entry of the registry.
  bool IsControlSkinned(TComponent* component) const;
  // A control with scroll bars of its own that gets the scroll-bar skin.
  static bool NeedsScrollBarSkin(TComponent* component);
  // For a window that is not a framework form: classifies its direct child windows.
  void SkinChildWindows(HWND window);
  // Classifies one child window by its window class and style.
  void SkinChildWindow(HWND window);

  // ---- registry
  bool AddControlSkin(TSkinControl* skin) override;
  TSkinControl* FindControlSkin(HWND window) const;
  // Detaches and frees every entry, then empties the list.
  void FreeControlSkins();
  // Every entry's SkinChanged (after a skin change).
  void SkinChanged();
  const std::vector<TSkinControl*>& Items() const { return FItems; }

  // ---- the hot slot
  TSkinControl* HotControlSkin() const override { return FHot; }
  void SetHotControlSkin(TSkinControl* skin) override { FHot = skin; }
  bool HostClosing() const override { return FClosing && FClosing(); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // A window-less control an entry serves, remembered by address.
  struct TServed {
    TSkinControl* Skin;
    TComponent* Control;
    bool operator==(const TServed&) const = default;
  };

  void SkinComponent(TWinControl* container, TComponent* component);
  // OnSkinControl's say; true when it supplied a control skin (nothing more to do).
  bool OfferToHandler(TWinControl* container, TComponent* component, const std::string& upperName);
  // The rules of ClassifyRules, first match wins; `upperName` is the class name, `tagRest`
  // Tag mod 100.
  void ApplyRules(const std::string& upperName, int tagRest, TComponent* component);

  // The switch is on (the tab skins also need the skin's Tabs record).
  bool Allowed(TSkinControlType type) const;
  bool HasTabs() const;
  TColor FaceColor() const;
  // A new skin of that kind, attached the way its kind row says.
  TSkinControl* AttachKind(TControlSkinKind kind, TComponent* component, bool option);
  // A new skin of that kind on a framework windowed control (none for anything else).
  TSkinControl* Attach(TControlSkinKind kind, TComponent* component, bool recolor);
  // A new skin of that kind on a bare window, registered here.
  TSkinControl* AttachByHandle(TControlSkinKind kind, HWND window);
  TSkinControl* AttachByHandle(TControlSkinKind kind, TComponent* component);
  // A new skin of that kind on a window-less control, watched here.
  TSkinControl* AttachGraphic(TControlSkinKind kind, TComponent* component);
  void WatchGraphic(TSkinControl* skin, TGraphicControl* control);
  void ForgetServedBy(TComponent* skin);
  void Unwatch(TComponent* control);
  // Radio and check groups: every child control gets its own colour and a skin of `kind`.
  void SkinGroupButtons(TComponent* group, TControlSkinKind kind);
  void RecolorBare(TControl* control);
  // What a Skin3rd line says (lower case, after the "="), or none.
  std::optional<std::wstring> Skin3rdKind(std::string_view upperName) const;
  void ApplySkin3rdKind(const std::wstring& kind, TComponent* control);

  // ---- the steps classification rows name (ControlRules.cpp)
  friend std::span<const TClassifyRule> ClassifyRules();
  void FlatOnFace(TComponent* component);
  void SetFlat(TComponent* component);
  void Recolor(TComponent* component);
  void RecolorAndInvalidate(TComponent* component);
  void SkinRadioButtons(TComponent* group);
  void ChildrenOwnColor(TComponent* group);
  void AttachDateTimePicker(TComponent* component);
  void Recurse(TComponent* component);

  TComponent* FFormSkin;
  std::function<bool()> FClosing;
  TSkinData* FSkinData = nullptr;
  TCanvas* FCanvas = nullptr;
  std::vector<TSkinControl*> FItems;  // owned as components of this object
  TSkinControl* FHot = nullptr;
  std::vector<TServed> FServed;
  struct TRecoloured {
    TControl* Control;
    TColor Color;
    bool ParentColor;
  };
  std::vector<TRecoloured> FRecoloured;
};

}  // namespace kv
