#pragma once
// Windows BMP files to and from TPixelBitmap.
//
// ReadBmp takes a whole .bmp file (file header first) of 1, 4, 8, 16, 24 or 32 bits per
// pixel, uncompressed or with bit-field masks, bottom-up or top-down, with an OS/2 core
// header or a Windows info header of any later version; also 8- and 4-bit run-length
// pictures (RLE8, RLE4), which are bottom-up only. Anything else, anything cut short and
// anything larger than TPixelBitmap allows is "no picture": an empty optional, never a
// crash. The alpha byte of 32-bit pictures is dropped.
//
// Run-length pictures: runs passing the row end are cut there; pixels that no code
// writes (skipped by a delta, an early end of line or end of bitmap) are black, as in a
// fresh device bitmap; a delta past the top row ends the picture.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "skin/data/PixelBitmap.h"

namespace kv {

std::optional<TPixelBitmap> ReadBmp(std::string_view file);

// The pixels a BMP file's header claims (width x height), or 0 when the header is one
// ReadBmp refuses without decoding (too short, no "BM", no usable size). Lets a loader
// refuse a picture before its pixels are allocated: a run-length picture of a few bytes
// can claim the largest size there is.
std::int64_t BmpHeaderPixels(std::string_view file);

// A 24-bit bottom-up BMP file of `bitmap` (what skin pictures are stored as).
std::string WriteBmp24(const TPixelBitmap& bitmap);

}  // namespace kv
