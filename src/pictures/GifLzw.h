#pragma once
// The variable-length-code LZW of GIF image data, decoding side.
#include <cstddef>
#include <cstdint>

#include "pictures/GifPicture.h"

namespace kv {

// Extra bytes the decoder may touch past the ends of its buffers: it reads the code
// stream eight bytes at a time and copies strings in sixteen-byte pieces. The input slack
// must be readable (its contents do not matter); the output slack is scribbled on.
inline constexpr std::size_t GifLzwInputSlack = 8;
inline constexpr std::size_t GifLzwOutputSlack = 16;

struct GifLzwResult {
  TGifError Error = geNone;
  std::size_t Produced = 0;  // indexes written, at most the count asked for
};

// Decodes the joined sub-block payload `data` (`size` bytes) into at most `count`
// indexes. Stops at the end-of-information code, at the end of the data, or when `count`
// indexes are written, whichever comes first; anything after that is ignored. A code
// that is not in the table yet is an error.
GifLzwResult GifLzwDecode(const std::uint8_t* data, std::size_t size, int minCodeSize, std::uint8_t* out,
                          std::size_t count);

}  // namespace kv
