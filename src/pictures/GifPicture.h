#pragma once
// A GIF87a/GIF89a stream decoded into frames of colour indexes.
//
//   GifRgb, GifPalette   colour table entries
//   TGifDisposal         what happens to a frame's area before the next frame
//   GifFrame             one image of the stream, clipped to the logical screen
//   GifPicture           the logical screen, the global table and the frames
//   LoadGif              bytes -> picture, or an error value (never throws, never aborts)
//   GifBytesOfStoredPicture  the GIF inside a picture control's stored picture
//
// The decoder trusts nothing in the stream: every size is checked before it is used, the
// LZW table never grows past 4096 codes, the output of a frame never passes the frame's
// pixel count, and frames are cut to the logical screen. A damaged stream gives "no
// picture" and the reason, so the picture control shows nothing.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct GifRgb {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend bool operator==(const GifRgb&, const GifRgb&) = default;
};
using GifPalette = std::vector<GifRgb>;

// Disposal method of the graphic control extension. The field has three bits; values 4 to
// 7 have no meaning and are kept as they are (the painter then draws nothing).
enum TGifDisposal : std::uint8_t {
  gdNone = 0,
  gdDoNotDispose = 1,
  gdRestoreBackground = 2,
  gdRestorePrevious = 3,
};

struct GifFrame {
  // Bounds inside the logical screen after clipping; Width or Height is 0 for a frame
  // that lies wholly outside the screen. Such a frame draws nothing but stays in the
  // sequence with its delay, disposal and loop extension.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  GifPalette LocalColors;  // empty: the global table applies
  bool Interlaced = false;
  // Graphic control extension (the last one before this image counts).
  bool HasControl = false;
  std::uint8_t Disposal = gdNone;
  std::uint16_t Delay = 0;    // in the stream's units (see GifPlayback.h for their length)
  int TransparentIndex = -1;  // -1: no transparent colour
  // "NETSCAPE2.0" looping extension met before this image, if any.
  std::optional<std::uint16_t> LoopCount;
  // Width * Height colour indexes, row by row from the top (interlacing undone). An index
  // may exceed the colour table; painting shows such pixels black.
  std::vector<std::uint8_t> Pixels;

  bool Empty() const { return Width <= 0 || Height <= 0; }
};

struct GifPicture {
  int Width = 0;  // logical screen
  int Height = 0;
  GifPalette GlobalColors;  // empty when the stream has no global table
  std::uint8_t BackgroundIndex = 0;
  std::vector<GifFrame> Frames;
};

enum TGifError : std::uint8_t {
  geNone,
  geNotGif,         // no "GIF87a"/"GIF89a" signature
  geTruncated,      // the stream ends inside a block
  geBadDimensions,  // zero or absurd screen or frame size
  geBadCodeSize,    // LZW minimum code size outside 2..8
  geBadCode,        // an LZW code that is not in the table yet
  geTooLarge,       // the frames together exceed the decoder's pixel budget
};

// Limits against hostile streams. A real picture of this program is a few hundred pixels
// across; these leave plenty of room for any sane GIF.
inline constexpr int GifMaxSide = 16384;
inline constexpr std::int64_t GifMaxFramePixels = std::int64_t(1) << 24;
inline constexpr std::int64_t GifMaxTotalPixels = std::int64_t(1) << 26;

struct GifLoadResult {
  std::optional<GifPicture> Picture;  // nothing: the stream is unusable
  TGifError Error = geNone;
  // Not an error: why loading stopped early with the frames read so far. "Unknown GIF
  // block type" for a stray block, "Missing GIF trailer" when the bytes end between
  // blocks.
  std::string Warning;
};

GifLoadResult LoadGif(std::span<const std::uint8_t> bytes);
GifLoadResult LoadGif(std::string_view bytes);

// A picture control stores its picture as the class name "TGIFImage" (a short string: one
// length byte, then the characters) followed by the GIF bytes. The GIF bytes, or nothing
// when the stored picture is of another class.
std::optional<std::span<const std::uint8_t>> GifBytesOfStoredPicture(std::span<const std::uint8_t> stored);

const char* GifErrorText(TGifError error);

// The table a frame's indexes refer to: its own, else the global one, else the 16
// colours of the system palette.
const GifPalette& GifFrameColors(const GifPicture& picture, const GifFrame& frame);
const GifPalette& GifSystemPalette16();

}  // namespace kv
