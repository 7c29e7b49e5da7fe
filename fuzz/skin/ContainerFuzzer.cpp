// Fuzzes the LZH decoder and the container reader: any bytes are either a skin or
// refused, never a crash or a read outside the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/BmpCodec.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinDefinition.h"

namespace {

// Pictures larger than this are left to the BMP fuzzer: decoding them here would only
// slow every run down (a 1-bit or run-length picture claims millions of pixels cheaply).
constexpr std::int64_t kLargestPicture = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  kv::TSkinReader reader;
  if (reader.Open(input)) {
    std::string out, name;
    reader.FindEntry(".ini", out, name);
    for (const std::string& entry : reader.Names()) {
      reader.ReadEntry(entry, out);
      if (kv::BmpHeaderPixels(out) <= kLargestPicture) (void)kv::ReadBmp(out);
    }
  }
  if (size <= 1) return 0;
  // The bare decoder, asked for a size taken from the input's first byte, at once and in
  // two steps: both give the same bytes.
  const std::uint32_t wanted = std::uint32_t(data[0]) * 8;
  const std::string whole = kv::LzhDecode(input.substr(1), wanted);
  kv::TLzhDecoder stepwise(input.substr(1));
  stepwise.DecodeTo(wanted / 3);
  stepwise.DecodeTo(wanted);
  if (stepwise.Output() != whole) __builtin_trap();
  return 0;
}
