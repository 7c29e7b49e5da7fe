// Fuzzes the LZH decoder and the container reader: any bytes are either a skin or
// refused, never a crash or a read outside the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/BmpCodec.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  kv::TSkinReader reader;
  if (reader.Open(input)) {
    std::string out, name;
    reader.FindEntry(".ini", out, name);
    for (const std::string& entry : reader.Names()) {
      reader.ReadEntry(entry, out);
      (void)kv::ReadBmp(out);
    }
  }
  // The bare decoder, asked for a size taken from the input's first byte.
  if (size > 1) (void)kv::LzhDecode(input.substr(1), std::uint32_t(data[0]) * 8);
  return 0;
}
