#pragma once
// Scroll bars drawn from the skin. TSkinScrollBar paints the bars the platform puts into a
// scrollable control's non-client area; TSkinListView is that for list views, with their
// header; TSkinScControl paints a stand-alone scroll-bar control.
#include <windows.h>

#include <string_view>

#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinScrollBar : public TSkinControl {
 public:
  TSkinScrollBar() : TSkinControl(TControlSkinKind::skScrollBar) {}
  std::string_view ClassName() const override { return "TSkinScrollBar"; }

 protected:
  explicit TSkinScrollBar(TControlSkinKind kind) : TSkinControl(kind) {}
};

class TSkinListView : public TSkinScrollBar {
 public:
  TSkinListView() : TSkinScrollBar(TControlSkinKind::skListView) {}
  std::string_view ClassName() const override { return "TSkinListView"; }
};

class TSkinScControl : public TSkinControl {
 public:
  TSkinScControl() : TSkinControl(TControlSkinKind::skScControl) {}
  std::string_view ClassName() const override { return "TSkinScControl"; }
};

}  // namespace kv
