#pragma once
// TWinSkinPopMenu: the skin of one popup-menu window (class "#32768").
#include <windows.h>

#include <string_view>

#include "framework/Classes.h"

namespace kv {

class TWinSkinPopMenu : public TComponent {
 public:
  std::string_view ClassName() const override { return "TWinSkinPopMenu"; }
};

}  // namespace kv
