// Fuzzes whole skin containers through LoadSkinModel, the way the program loads its skin,
// and then through skintool's check, which reads the same untrusted files.
//
// An input starting with 'I' is an unpacked image (header, names, sizes, entries) that is
// packed first, so mutations reach the directory and the definition text directly
// instead of mostly breaking the compressed stream; any other input is a container as is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "SkinCheck.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinPacker.h"

namespace {

// Far below a real skin's budget, so a run never decodes or copies more than a few
// hundred kilobytes of pixels; every rule of the budget still applies. The regression
// test sets KV_SKIN_FULL_BUDGET: its inputs meet the budget the program has.
constexpr std::int64_t kFuzzPixelBudget = 1 << 16;

std::int64_t PixelBudget() {
  static const std::int64_t budget = std::getenv("KV_SKIN_FULL_BUDGET") ? kv::kSkinMaxTotalPixels : kFuzzPixelBudget;
  return budget;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string packed;
  if (!input.empty() && input[0] == 'I') {
    packed = kv::PackSkinImage(input.substr(1));
    input = packed;
  }
  kv::TSkinDefinition model;
  if (kv::LoadSkinModel(input, model, nullptr, PixelBudget()) && (!model.Title || !model.Buttons))
    __builtin_trap();  // a loaded skin always has these
  std::ostringstream out, err;
  (void)kv::CheckSkin(input, out, err, PixelBudget());
  return 0;
}
