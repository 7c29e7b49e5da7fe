#include "skin/controls/ControlSkinKinds.h"

#include <algorithm>
#include <array>

#include "base/ByteText.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinChecks.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinRanges.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/controls/SkinTabs.h"

namespace kv {

namespace {

using enum TControlSkinKind;
using enum TAttachWay;

template <class T>
TSkinControl* Make(TComponent& owner) {
  return owner.Make<T>();
}

// Kind, class, Skin3rd word, switch, way, option, transparent, factory.
constexpr std::array<TControlSkinKindRow, std::size_t(skCount)> kRows = {{
    {skControl, "TSkinControl", "", std::nullopt, awControl, false, false, Make<TSkinControl>},
    {skButton, "TSkinButton", "button", xcButton, awControl, false, false, Make<TSkinButton>},
    {skBitButton, "TSkinBitButton", "", xcBitBtn, awControl, false, false, Make<TSkinBitButton>},
    {skSpeedButton, "TSkinSpeedButton", "", xcSpeedButton, awGraphic, false, false, Make<TSkinSpeedButton>},
    {skCheckBox, "TSkinCheckBox", "checkbox", xcCheckBox, awControl, true, false, Make<TSkinCheckBox>},
    {skRadioButton, "TSkinRadioButton", "radiobutton", xcRadioButton, awControl, true, false, Make<TSkinRadioButton>},
    {skEdit, "TSkinEdit", "edit", xcEdit, awHandle, false, false, Make<TSkinEdit>},
    {skComBox, "TSkinComBox", "combobox", xcCombo, awControl, false, false, Make<TSkinComBox>},
    {skScrollBar, "TSkinScrollBar", "scrollbar", xcScrollbar, awControl, true, false, Make<TSkinScrollBar>},
    {skTab, "TSkinTab", "tab", xcTab, awHandle, false, false, Make<TSkinTab>},
    {skTab31, "TSkinTab31", "", xcTab, awControl, false, false, Make<TSkinTab31>},
    {skStatusBar, "TSkinStatusBar", "", xcStatusBar, awControl, false, false, Make<TSkinStatusBar>},
    {skProgress, "TSkinProgress", "progress", xcProgress, awControl, false, false, Make<TSkinProgress>},
    {skTrackBar, "TSkinTrackBar", "trackbar", xcButton, awControl, false, true, Make<TSkinTrackBar>},
    {skUpDown, "TSkinUpDown", "", xcButton, awControl, false, false, Make<TSkinUpDown>},
    {skHeader, "TSkinHeader", "", xcScrollbar, awHandle, false, false, Make<TSkinHeader>},
    {skListView, "TSkinListView", "", xcScrollbar, awControl, false, false, Make<TSkinListView>},
    {skBox, "TSkinBox", "panel", xcPanel, awControl, true, true, Make<TSkinBox>},
    {skSizer, "TSkinSizer", "", xcScrollbar, awHandle, false, false, Make<TSkinSizer>},
    {skScControl, "TSkinScControl", "", xcScrollbar, awControl, false, false, Make<TSkinScControl>},
}};

}  // namespace

std::span<const TControlSkinKindRow> ControlSkinKindRows() { return kRows; }

const TControlSkinKindRow& ControlSkinKindRow(TControlSkinKind kind) {
  const auto row = std::find_if(kRows.begin(), kRows.end(), [kind](const auto& r) { return r.Kind == kind; });
  return row != kRows.end() ? *row : kRows.front();
}

const TControlSkinKindRow* FindControlSkinKind(std::string_view name) {
  if (name.empty()) return nullptr;  // rows without a Skin3rd word must not answer to ""
  for (const TControlSkinKindRow& row : kRows)
    if (SameTextAscii(name, row.ClassName) || SameTextAscii(name, row.Skin3rdWord)) return &row;
  return nullptr;
}

std::string_view ControlSkinClassName(TControlSkinKind kind) { return ControlSkinKindRow(kind).ClassName; }

TSkinControl* MakeControlSkin(TComponent& owner, TControlSkinKind kind) { return ControlSkinKindRow(kind).Make(owner); }

}  // namespace kv
