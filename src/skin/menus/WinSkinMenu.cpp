#include "skin/menus/WinSkinMenu.h"

namespace kv {}  // namespace kv
