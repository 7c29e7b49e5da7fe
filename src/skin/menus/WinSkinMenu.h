#pragma once
// TWinSkinMenu: the menu bar a skinned frame draws under its caption in place of the
// platform's, one TMenuBtn per top-level item.
#include <windows.h>

#include <string_view>

#include "framework/Classes.h"

namespace kv {

class TMainMenu;
class TWinSkinForm;

class TWinSkinMenu : public TComponent {
 public:
  explicit TWinSkinMenu(TWinSkinForm& form) : FForm(form) {}
  std::string_view ClassName() const override { return "TWinSkinMenu"; }

  // The framework form's main menu, or none: the source of owner-drawn items' captions.
  TMainMenu* MenuComponent() const { return FMenuComponent; }

 private:
  TWinSkinForm& FForm;
  TMainMenu* FMenuComponent = nullptr;
};

}  // namespace kv
