// Decode throughput on a 640 x 480 picture of 30 frames made here: items/s is pixels/s.
//   Plasma:   smooth colour waves, as drawn animations are;
//   Dithered: the same with ordered-dither noise, the hard case for LZW.
// Also composing a whole run into 32-bit pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "pictures/GifCompositor.h"
#include "pictures/GifWriter.h"

namespace {

constexpr int Width = 640, Height = 480, FrameCount = 30;

std::vector<std::uint8_t> MakeGif(bool dithered) {
  kv::GifPalette palette;
  for (int i = 0; i < 256; ++i) {
    const double t = i / 255.0 * 6.283185307179586;
    palette.push_back({std::uint8_t(128 + 120 * std::sin(t)), std::uint8_t(128 + 120 * std::sin(t + 2.1)),
                       std::uint8_t(128 + 120 * std::sin(t + 4.2))});
  }
  static constexpr int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  kv::TGifWriter writer(Width, Height, palette);
  writer.AddLoop(0);
  for (int f = 0; f < FrameCount; ++f) {
    kv::GifWriterFrame frame;
    frame.Width = Width;
    frame.Height = Height;
    frame.WriteControl = true;
    frame.Delay = 4;
    frame.Pixels.resize(std::size_t(Width) * Height);
    const double phase = f * 0.21;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        const double v = std::sin(x / 37.0 + phase) + std::sin(y / 23.0 - phase) +
                         std::sin((x + y) / 51.0 + 2 * phase) + std::sin(std::hypot(x - 320, y - 240) / 29.0);
        double level = (v + 4) / 8 * 255;
        if (dithered) level += (Bayer[y & 3][x & 3] - 7.5) * 1.2;
        const int index = int(level);
        frame.Pixels[std::size_t(y) * Width + std::size_t(x)] = std::uint8_t(index < 0 ? 0 : index > 255 ? 255 : index);
      }
    writer.AddFrame(frame);
  }
  return writer.Finish();
}

void Decode(benchmark::State& state, bool dithered) {
  const std::vector<std::uint8_t> bytes = MakeGif(dithered);
  for (auto _ : state) {
    kv::GifLoadResult result = kv::LoadGif(std::span<const std::uint8_t>(bytes));
    if (!result.Picture || result.Picture->Frames.size() != FrameCount) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * Width * Height * FrameCount);
  state.counters["gif_bytes"] = double(bytes.size());
}

void BM_DecodePlasma(benchmark::State& state) { Decode(state, false); }
void BM_DecodeDithered(benchmark::State& state) { Decode(state, true); }

void BM_ComposeRun(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = MakeGif(false);
  const kv::GifPicture picture = *kv::LoadGif(std::span<const std::uint8_t>(bytes)).Picture;
  const kv::GifBitmap underneath(Width, Height, 0xFFECE9D5);
  const std::uint16_t options = kv::GifDefaultOptions | kv::goClearOnLoop;  // the buffered path
  for (auto _ : state) {
    kv::TGifPlayback playback(picture, options & ~kv::goLoop, true);
    kv::TGifCompositor compositor(picture, options, underneath, 0xFF000000);
    while (auto step = playback.Next()) compositor.Paint(*step);
    benchmark::DoNotOptimize(compositor.Target().Pixels.data());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * Width * Height * FrameCount);
}

}  // namespace

BENCHMARK(BM_DecodePlasma)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeDithered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeRun)->Unit(benchmark::kMillisecond);
