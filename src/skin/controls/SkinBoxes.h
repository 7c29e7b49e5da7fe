#pragma once
// Column headers, containers and bare dialog scroll bars: TSkinHeader paints a header
// control's items from the skin, TSkinBox gives panels and group boxes the skin's face
// colour, TSkinSizer outlines a bare scroll-bar window of a system dialog.
#include <windows.h>

#include <string_view>

#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinHeader : public TSkinControl {
 public:
  TSkinHeader() : TSkinControl(TControlSkinKind::skHeader) {}
  std::string_view ClassName() const override { return "TSkinHeader"; }
};

class TSkinBox : public TSkinControl {
 public:
  TSkinBox() : TSkinControl(TControlSkinKind::skBox) {}
  std::string_view ClassName() const override { return "TSkinBox"; }
};

class TSkinSizer : public TSkinControl {
 public:
  TSkinSizer() : TSkinControl(TControlSkinKind::skSizer) {}
  std::string_view ClassName() const override { return "TSkinSizer"; }
};

}  // namespace kv
