#pragma once
// The control-skin kinds as one table, one row per kind: its class name, the word a
// Skin3rd line may name it by, how a control named for it by such a line gets it, and its
// factory. A new control skin is its class (a file of its own), a member here and one row
// in ControlSkinKinds.cpp; the classification row that chooses it is in
// skin/windows/ControlRules.cpp (see skin/NOTES.md).
#include <optional>
#include <span>
#include <string_view>

#include "skin/data/SkinOptions.h"

namespace kv {

class TComponent;
class TSkinControl;

// The control-skin classes classification can choose.
enum class TControlSkinKind {
  skControl,  // the base: paints nothing of its own
  skButton,
  skBitButton,
  skSpeedButton,
  skCheckBox,
  skRadioButton,
  skEdit,
  skComBox,
  skScrollBar,
  skTab,
  skTab31,
  skStatusBar,
  skProgress,
  skTrackBar,
  skUpDown,
  skHeader,
  skListView,
  skBox,
  skSizer,
  skScControl,
  skCount  // not a kind: how many there are
};

// How a skin meets its control.
enum class TAttachWay {
  awControl,  // a framework windowed control, on its hook chain (AttachControl)
  awHandle,   // the control's window by its handle (AttachWindow)
  awGraphic,  // a window-less control, painted through its parent (AttachGraphic)
};

struct TControlSkinKindRow {
  TControlSkinKind Kind;
  std::string_view ClassName;  // "TSkinButton"
  // The short word of the Skin3rd lines ("button"), lower case; empty when lines name the
  // kind by its class name only.
  std::string_view Skin3rdWord;
  // The SkinControls switch that must be on for a control named for this kind (none: always).
  std::optional<TSkinControlType> Switch;
  TAttachWay Way;
  // AttachControl's flag: recolour to the skin's face; for a scroll-bar skin, thumb drags
  // are its own.
  bool Option;
  // A control named for this kind is made Transparent first: the parent shows through
  // what the skin leaves unpainted.
  bool Transparent;
  TSkinControl* (*Make)(TComponent& owner);
};

// Every row, in the order of the kinds.
std::span<const TControlSkinKindRow> ControlSkinKindRows();
const TControlSkinKindRow& ControlSkinKindRow(TControlSkinKind kind);
// The row whose class name or Skin3rd word is `name` (any case); none for anything else.
const TControlSkinKindRow* FindControlSkinKind(std::string_view name);

// "TSkinButton" and so on.
std::string_view ControlSkinClassName(TControlSkinKind kind);
// A new control skin of that class, owned by `owner` (the form skin).
TSkinControl* MakeControlSkin(TComponent& owner, TControlSkinKind kind);

}  // namespace kv
