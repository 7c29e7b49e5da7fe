#include "skin/controls/SkinScrollBars.h"

namespace kv {}  // namespace kv
