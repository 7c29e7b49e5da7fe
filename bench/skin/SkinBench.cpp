// Skin data hot paths: start-up decoding of the container, resizing a frame to a window
// and cutting a window region from a frame picture.
#include <benchmark/benchmark.h>

#include "TestData.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinImage.h"

namespace kv {
namespace {

// About 4 MB like a skin: pictures with runs and edges, definition text, some noise.
const std::string& MixedData() {
  static const std::string data = [] {
    std::string s;
    while (s.size() < (4u << 20)) {
      s += test::BmpLikeBytes(300, 200, std::uint32_t(s.size()));
      s += test::SampleText(20000);
      s += test::RandomBytes(8000, std::uint32_t(s.size()));
    }
    return s;
  }();
  return data;
}

void BM_LzhDecodeMixed(benchmark::State& state) {
  const std::string& data = MixedData();
  const std::string stream = LzhEncode(data);
  for (auto _ : state) {
    std::string out = LzhDecode(stream, std::uint32_t(data.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(data.size()));
  state.counters["ratio"] = double(data.size()) / double(stream.size());
}
BENCHMARK(BM_LzhDecodeMixed)->Unit(benchmark::kMillisecond);

// The worst case: incompressible data, one literal symbol per byte.
void BM_LzhDecodeRandom(benchmark::State& state) {
  const std::string data = test::RandomBytes(1u << 20, 3);
  const std::string stream = LzhEncode(data);
  for (auto _ : state) {
    std::string out = LzhDecode(stream, std::uint32_t(data.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(data.size()));
}
BENCHMARK(BM_LzhDecodeRandom)->Unit(benchmark::kMillisecond);

// A 3-frame strip of 64 x 48 frames with a magenta rim, like a form border picture.
TPixelBitmap FrameStrip() {
  TPixelBitmap strip(192, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 192; ++x) {
      const int fx = x % 64;
      const bool corner = (fx < 3 || fx > 60) && (y < 3 || y > 44) && (fx + y) % 3 != 0;
      strip.SetPixel(x, y, corner ? 0x00FF00FF : std::uint32_t(0x00203040 + fx * 0x010000 + y * 0x0100));
    }
  return strip;
}

void BM_RenderNineSlice800x600(benchmark::State& state) {
  const TPixelBitmap strip = FrameStrip();
  const TDrawFlags flags = state.range(0) ? TDrawFlags::dfTile : TDrawFlags::dfNone;
  for (auto _ : state) {
    TPixelBitmap out = RenderNineSlice(800, 600, strip, {8, 24, 8, 8}, flags, 3, 2);
    benchmark::DoNotOptimize(out.Pixels().data());
  }
}
BENCHMARK(BM_RenderNineSlice800x600)->Arg(0)->Arg(1)->ArgName("tile")->Unit(benchmark::kMicrosecond);

void BM_BitmapToRegion800x600Frame(benchmark::State& state) {
  // The frame's edges drawn at window size, the centre left magenta as a window's
  // border picture is: rounded corners and a hole make several runs per row.
  TPixelBitmap frame = RenderNineSlice(800, 600, FrameStrip(), {8, 24, 8, 8}, TDrawFlags::dfNone, 3, 2);
  frame.FillRect({8, 24, 792, 592}, 0x00FF00FF);
  std::size_t rects = 0;
  for (auto _ : state) {
    auto batches = BitmapToRegionRects(frame, 0, 0, 0, 0, 0);
    rects = 0;
    for (const auto& b : batches) rects += b.FRects.size();
    benchmark::DoNotOptimize(batches.data());
  }
  state.counters["rects"] = double(rects);
}
BENCHMARK(BM_BitmapToRegion800x600Frame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv
