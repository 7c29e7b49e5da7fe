// Fuzzes whole skin containers through LoadSkinModel, the way the program loads its skin,
// and then through skintool's check, which reads the same untrusted files.
//
// An input starting with 'I' is an unpacked image (header, names, sizes, entries) that is
// packed first, so mutations reach the directory and the definition text directly
// instead of mostly breaking the compressed stream; any other input is a container as is.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "SkinCheck.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinPacker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string packed;
  if (!input.empty() && input[0] == 'I') {
    packed = kv::PackSkinImage(input.substr(1));
    input = packed;
  }
  kv::TSkinDefinition model;
  if (kv::LoadSkinModel(input, model, nullptr) && (!model.Title || !model.Buttons))
    __builtin_trap();  // a loaded skin always has these
  std::ostringstream out, err;
  (void)kv::CheckSkin(input, out, err);
  return 0;
}
