#pragma once
// Resources embedded in this program's executable.
#include <windows.h>

#include <cstdint>
#include <span>

namespace kv {

// The bytes of a resource of this module (RCDATA unless another type is given); empty
// when there is none. Resources live as long as the module, so the span stays valid.
std::span<const std::uint8_t> ResourceBytes(const wchar_t* name, const wchar_t* type = RT_RCDATA);

}  // namespace kv
