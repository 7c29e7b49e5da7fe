#include "base/win/Resources.h"

namespace kv {

std::span<const std::uint8_t> ResourceBytes(const wchar_t* name, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, type);
  if (!info) return {};
  HGLOBAL data = LoadResource(module, info);
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(LockResource(data)), SizeofResource(module, info)};
}

}  // namespace kv
