#pragma once
// The form skin's side as a control skin sees it: the skins registered with it (and how
// often registration was asked), the hot slot, and whether it is being torn down.
#include <algorithm>
#include <vector>

#include "framework/Classes.h"
#include "skin/controls/SkinControl.h"

namespace kv::test {

class TFakeHost : public TComponent, public TSkinControlHost {
 public:
  bool AddControlSkin(TSkinControl* skin) override {
    ++Adds;
    const bool known = std::find(Skins.begin(), Skins.end(), skin) != Skins.end();
    if (!known) Skins.push_back(skin);
    return known;
  }
  TSkinControl* HotControlSkin() const override { return Hot; }
  void SetHotControlSkin(TSkinControl* skin) override { Hot = skin; }
  bool HostClosing() const override { return Closing; }

  int Adds = 0;
  std::vector<TSkinControl*> Skins;
  TSkinControl* Hot = nullptr;
  bool Closing = false;
};

}  // namespace kv::test
