// Fuzzes whole skin containers through LoadSkinModel, the way the program loads its skin,
// and then through skintool's check, which reads the same untrusted files.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "SkinCheck.h"
#include "skin/data/SkinOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view container(reinterpret_cast<const char*>(data), size);
  kv::TSkinDefinition model;
  if (kv::LoadSkinModel(container, model, nullptr) && (!model.Title || !model.Buttons))
    __builtin_trap();  // a loaded skin always has these
  std::ostringstream out, err;
  (void)kv::CheckSkin(container, out, err);
  return 0;
}
