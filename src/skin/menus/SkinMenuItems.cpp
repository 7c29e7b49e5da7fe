#include "skin/menus/SkinMenuItems.h"

namespace kv {}  // namespace kv
