#include "skin/menus/WinSkinPopMenu.h"

namespace kv {}  // namespace kv
