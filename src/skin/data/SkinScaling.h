#pragma once
// The skin at a window's DPI. The definition and its pictures are made for 96 DPI; a
// window at another DPI draws from a copy with every picture resampled and every length
// scaled (margins, caption text offsets, caption button places), made once per skin and
// DPI by whoever holds the skin. At 175 % and above a picture whose entry has a
// double-size twin beside it (`name@2x.bmp` beside `name.bmp`, exactly twice as wide and
// high) is taken from the twin instead, scaled by DPI / 192.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "skin/data/PixelScale.h"
#include "skin/data/SkinDefinition.h"

namespace kv {

inline constexpr int kHiResDpi = 2 * kBaseDpi;
inline constexpr int kHiResFromDpi = 168;  // 175 %

// "caption.bmp" → "caption@2x.bmp"; empty for a name that does not end in ".bmp".
std::string HiResEntryName(std::string_view entry);
// Whether `entry` is itself a double-size twin ("…@2x.bmp"), and the name it doubles.
bool IsHiResEntryName(std::string_view entry, std::string* base = nullptr);

// A copy of `model` for windows at `dpi`. `entries` gives container entries by name (the
// twins are asked for only from kHiResFromDpi on; it may be empty). Null when the scaled
// pictures would take more than `pixelBudget` pixels or memory runs out: the caller then
// keeps drawing at the model's own size.
std::unique_ptr<TSkinDefinition> ScaleDefinition(const TSkinDefinition& model, int dpi, const TPictureSource& entries,
                                                 std::int64_t pixelBudget = kSkinMaxTotalPixels);

}  // namespace kv
