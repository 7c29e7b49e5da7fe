#pragma once
// PNG files to and from TPixelBitmap, with zlib: what the tools write as contact sheets
// and previews, and what the picture tests store as expected pictures.
//
// WritePng makes an 8-bit RGB picture (no alpha, no interlace), each row with the filter
// that leaves the smallest sum of differences, compressed at the level given.
//
// ReadPng takes non-interlaced 8-bit RGB and RGBA pictures with any of the five row
// filters; the alpha of RGBA is dropped. Ancillary chunks are skipped; a palette, only a
// hint for these colour types, is skipped too. Anything else (other depths or colour types,
// interlace, a bad checksum, a picture cut short or with data to spare, a size
// TPixelBitmap does not allow) is no picture, with the reason in `error`; never a crash.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "skin/data/PixelBitmap.h"

namespace kv {

inline constexpr int kPngBestCompression = 9;

// The PNG file of `bitmap`, or nothing for an empty bitmap or a failing compressor.
std::optional<std::string> WritePng(const TPixelBitmap& bitmap, int level = kPngBestCompression);
std::optional<TPixelBitmap> ReadPng(std::string_view file, std::string* error = nullptr);

// The same through a file; saving replaces the file in one step (ReplaceFileContents).
bool SavePngFile(const std::filesystem::path& path, const TPixelBitmap& bitmap, int level = kPngBestCompression);
std::optional<TPixelBitmap> LoadPngFile(const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace kv
