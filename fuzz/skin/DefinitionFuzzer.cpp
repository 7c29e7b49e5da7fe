// Fuzzes the skin definition reader: any text is a definition, and every picture it asks
// for is served from a few small fixed files (pictures of several shapes, an empty entry,
// a damaged one), chosen by the name. The model must come out whole, never a crash.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"

namespace {

const std::array<std::string, 9>& Pictures() {
  static const std::array<std::string, 9> pictures = [] {
    const auto bmp = [](int w, int h) {
      kv::TPixelBitmap b(w, h, 0x00EEE9D5);
      for (int x = 0; x < w; x += 3) b.SetPixel(x, 0, 0x00FF00FF);
      return kv::WriteBmp24(b);
    };
    std::string cut = bmp(16, 16);
    cut.resize(cut.size() / 2);
    return std::array<std::string, 9>{bmp(1, 1),  bmp(9, 5),     bmp(120, 15),       bmp(52, 13), bmp(180, 10),
                                      bmp(3, 40), std::string(), "BM not a picture", cut};
  }();
  return pictures;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kv::TSkinDefinition model;
  model.LoadDefinitions(text, [](std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ std::uint8_t(c)) * 16777619u;
    return Pictures()[h % Pictures().size()];
  });
  // What every drawing routine relies on afterwards.
  if (!model.Title || !model.Buttons || !model.BorderLeft || !model.BorderRight || !model.BorderTop ||
      !model.BorderBottom || model.SysButtons.size() < 3)
    __builtin_trap();
  (void)kv::ParseColourTriple(text, 0);
  return 0;
}
