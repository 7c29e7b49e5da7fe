// Any bytes through the decoder; whatever loads is then played and composed for a few
// passes. The first byte picks how the rest is used, so the fuzzer also reaches deep
// into the image data without first having to discover a valid header:
//   0: the bytes are the whole stream;
//   1: the bytes follow a fixed header and a 16 x 16 screen with a 4-entry table;
//   2: the bytes are one image's descriptor fields and LZW data after that header.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/GifCompositor.h"

namespace {

void Exercise(const std::vector<std::uint8_t>& stream, std::uint16_t options) {
  const kv::GifLoadResult result = kv::LoadGif(std::span<const std::uint8_t>(stream));
  if (!result.Picture) return;
  const kv::GifPicture& picture = *result.Picture;
  for (const kv::GifFrame& frame : picture.Frames) {
    if (frame.Pixels.size() != std::size_t(frame.Width) * std::size_t(frame.Height) || frame.Left < 0 ||
        frame.Top < 0 || frame.Left + frame.Width > picture.Width || frame.Top + frame.Height > picture.Height)
      __builtin_trap();
  }
  if (std::int64_t(picture.Width) * picture.Height > 1 << 20) return;  // keep runs quick
  for (bool threaded : {true, false}) {
    kv::TGifPlayback playback(picture, options, threaded);
    kv::TGifCompositor compositor(picture, options, kv::GifBitmap(picture.Width, picture.Height, 0xFF808080),
                                  kv::GifBackgroundColor(picture));
    for (int i = 0; i < 64; ++i) {
      const auto step = playback.Next();
      if (!step) break;
      compositor.Paint(*step);
      kv::GifComputeWait(step->WaitUnits, std::uint32_t(i * 977), std::uint32_t(i * 131), i - 30, options & 0xFF,
                         threaded);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t mode = data[0] % 3;
  const std::uint16_t options = std::uint16_t(data[1] | (data[2] << 8));
  data += 3;
  size -= 3;
  std::vector<std::uint8_t> stream;
  const std::vector<std::uint8_t> header = {'G', 'I', 'F', '8', '9', 'a', 16, 0,   16, 0, 0x81, 0,  0,
                                            0,   0,   0,   255, 0,   0,   0,  255, 0,  0, 0,    255};
  if (mode == 0) {
    stream.assign(data, data + size);
  } else if (mode == 1) {
    stream = header;
    stream.insert(stream.end(), data, data + size);
  } else {
    // descriptor (9 bytes) and code size from the input, then its rest as sub-blocks
    if (size < 10) return 0;
    stream = header;
    stream.push_back(0x2C);
    stream.insert(stream.end(), data, data + 9);
    stream.back() &= 0x40;  // keep interlacing, drop a local table (it would eat the data)
    stream.push_back(std::uint8_t(2 + data[9] % 7));
    data += 10;
    size -= 10;
    while (size > 0) {
      const std::size_t n = size < 255 ? size : 255;
      stream.push_back(std::uint8_t(n));
      stream.insert(stream.end(), data, data + n);
      data += n;
      size -= n;
    }
    stream.insert(stream.end(), {0, 0x3B});
  }
  Exercise(stream, options);
  return 0;
}
