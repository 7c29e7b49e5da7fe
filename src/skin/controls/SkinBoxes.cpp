#include "skin/controls/SkinBoxes.h"

namespace kv {}  // namespace kv
