#pragma once
// Measuring and painting menu items from the skin.
#include <windows.h>

namespace kv {}  // namespace kv
