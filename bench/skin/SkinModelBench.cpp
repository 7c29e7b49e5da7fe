// Start-up and switch cost of a skin: unpack the container, open it, parse the definition
// and build the model with every picture decoded (LoadSkinModel), for the editor's own
// skin, the gallery's second skin and a made-up skin of the same shape (42 pictures of
// the stored skin's sizes).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinPacker.h"
#include "skin/data/SkinScaling.h"

namespace kv {
namespace {

struct TPictureShape {
  const char* FSection;  // empty for a picture nothing reads
  const char* FKey;
  const char* FName;
  int FWidth;
  int FHeight;
};

constexpr TPictureShape kPictures[] = {
    {"Personality", "Left", "f-left.bmp", 8, 288},
    {"Personality", "Right", "f-right.bmp", 8, 288},
    {"Personality", "Top", "f-top.bmp", 312, 60},
    {"Personality", "Bottom", "f-bot.bmp", 312, 8},
    {"Personality", "menuBar", "bg-menubar.bmp", 70, 38},
    {"Button0", "ButtonImage", "ctrl-close.bmp", 120, 15},
    {"Button1", "ButtonImage", "ctrl-max.bmp", 120, 15},
    {"Button2", "ButtonImage", "ctrl-restore.bmp", 120, 15},
    {"Button3", "ButtonImage", "ctrl-min.bmp", 120, 15},
    {"Button4", "ButtonImage", "ctrl-icon.bmp", 96, 16},
    {"MDICONTROLS", "Image", "button-mdi.bmp", 180, 10},
    {"Buttons", "Bitmap", "bg-systembuttons.bmp", 250, 23},
    {"Buttons", "CheckButton", "bg-checkbox.bmp", 52, 13},
    {"Buttons", "RadioButton", "bg-radio.bmp", 52, 13},
    {"Tabs", "Image", "bg-tabs.bmp", 200, 19},
    {"Tabs", "Border", "bg-tabborders.bmp", 29, 28},
    {"Progress", "Bitmap", "bg-progress.bmp", 132, 13},
    {"UpDown.Horz", "Image", "spinner-h.bmp", 72, 21},
    {"UpDown.Vert", "Image", "spinner-v.bmp", 128, 10},
    {"SunkEdge", "Image", "sunkedge.bmp", 64, 19},
    {"ExtraImages", "Image", "combo-arrows.bmp", 80, 16},
    {"ComboButton", "Image", "combo.bmp", 64, 21},
    {"GroupBoxEdge", "Image", "bg-groupbox-border.bmp", 50, 25},
    {"ToolBars", "Image", "bg-toolbarbuttons.bmp", 375, 23},
    {"StatusBarEdges", "Image", "bg-statusbar.bmp", 96, 32},
    {"Headerbar", "Image", "bg-listheader.bmp", 375, 23},
    {"MenuItem", "Image", "bg-menuitem.bmp", 620, 16},
    {"MenuBackground", "Image", "bg-menuback.bmp", 128, 38},
    {"Scrollbar", "Image", "arrows.bmp", 368, 16},
    {"HorzScroll", "Image", "hscroll_back.bmp", 96, 16},
    {"VertScroll", "Image", "vscroll_back.bmp", 64, 18},
    {"HorzScrollThumb", "Image", "hscroll_bar.bmp", 126, 16},
    {"VertScrollThumb", "Image", "vscroll_bar.bmp", 48, 24},
    {"Trackbar.ThumbHorz", "Image", "trackbarthumbhorz.bmp", 55, 21},
    {"Trackbar.ThumbVert", "Image", "trackbarthumbvert.bmp", 105, 11},
    {"Trackbar.ThumbLeft", "Image", "trackbarthumbleft.bmp", 105, 11},
    {"Trackbar.ThumbRight", "Image", "trackbarthumbright.bmp", 105, 11},
    {"Trackbar.ThumbUp", "Image", "trackbarthumbup.bmp", 55, 21},
    {"Trackbar.ThumbDown", "Image", "trackbarthumbdown.bmp", 55, 21},
    {"", "", "bg-progress-chunk.bmp", 8, 7},
    {"", "", "spinner-h-glyphs.bmp", 32, 7},
    {"", "", "spinner-v-glyphs.bmp", 56, 4},
};
static_assert(std::size(kPictures) == 42);

// Like a skin picture: a light face with a gradient, darker edges, magenta corners.
TPixelBitmap SkinLikePicture(int w, int h, int seed) {
  TPixelBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool corner = (x < 2 || x >= w - 2) && (y < 2 || y >= h - 2);
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      const std::uint32_t face =
          std::uint32_t(0xEE - y % 24) << 16 | std::uint32_t(0xE9 - y % 24) << 8 | std::uint32_t((0xD5 + seed) & 0xFF);
      b.SetPixel(x, y, corner ? 0xFF00FF : edge ? 0x4A6F8C : face);
    }
  return b;
}

std::string MadeUpSkin() {
  std::string definition = "[TitlebarSkin]\r\nSkinName=Bench\r\n";
  std::vector<TSkinFile> files;
  std::string section;
  for (const TPictureShape& p : kPictures) {
    if (*p.FSection && section != p.FSection) {
      section = p.FSection;
      definition += "\r\n[" + section + "]\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n";
      if (section == "Button4") definition += "Action=3\r\n";
    }
    if (*p.FSection) definition += std::string(p.FKey) + "=" + p.FName + "\r\n";
    files.push_back({p.FName, WriteBmp24(SkinLikePicture(p.FWidth, p.FHeight, int(files.size())))});
  }
  definition += "\r\n[Colours]\r\nButtonFace=238 233 213\r\nHilight=133 174 194\r\n[Colour0]\r\ncolor=0 0 0\r\n";
  files.insert(files.begin(), TSkinFile{"bench.ini", definition});
  return BuildSkinContainer(files);
}

void LoadModel(benchmark::State& state, const std::string& container) {
  std::size_t pictures = 0;
  for (auto _ : state) {
    TSkinDefinition model;
    if (!LoadSkinModel(container, model, nullptr)) {
      state.SkipWithError("the container does not load");
      return;
    }
    pictures = model.SysButtons.size();
    benchmark::DoNotOptimize(model.Buttons.get());
  }
  state.counters["container_bytes"] = double(container.size());
  state.counters["caption_buttons"] = double(pictures);
}

// The skins the programs carry: the editor's own and the gallery's second one.
const std::string* StoredSkin(benchmark::State& state, const char* path) {
  static std::map<std::string, std::optional<std::string>> read;
  auto it = read.find(path);
  if (it == read.end()) it = read.emplace(path, ReadFileBytes(path)).first;
  if (!it->second) {
    state.SkipWithError((std::string("no skin at ") + path).c_str());
    return nullptr;
  }
  return &*it->second;
}

void BM_LoadSkin(benchmark::State& state, const char* path) {
  if (const std::string* stored = StoredSkin(state, path)) LoadModel(state, *stored);
}
BENCHMARK_CAPTURE(BM_LoadSkin, koravent, KV_STORED_SKIN)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, midnight, KV_MIDNIGHT_SKIN)->Unit(benchmark::kMillisecond);

// Load plus the copy a window at `dpi` draws from (every picture resampled, the
// double-size pictures read at 175 % and above): what a skin costs at 200 % against the
// 96-DPI load, where no copy is made. "scaled_pixels": the copy's frame and caption
// button pictures.
void BM_LoadSkinAtDpi(benchmark::State& state, const char* path) {
  const std::string* stored = StoredSkin(state, path);
  if (!stored) return;
  const int dpi = int(state.range(0));
  std::int64_t pixels = 0;
  for (auto _ : state) {
    TSkinReader reader;
    TSkinDefinition model;
    if (!reader.Open(*stored) || !LoadSkinModel(reader, model)) {
      state.SkipWithError("the container does not load");
      return;
    }
    if (dpi == kBaseDpi) continue;
    const auto scaled = ScaleDefinition(model, dpi, [&reader](std::string_view name) {
      std::string bytes;
      reader.ReadEntry(name, bytes);
      return bytes;
    });
    if (!scaled) {
      state.SkipWithError("no scaled copy");
      return;
    }
    pixels = 0;
    for (const auto& b : scaled->SysButtons) pixels += std::int64_t(b->Image.Width()) * b->Image.Height();
    for (const auto* e : {scaled->BorderLeft.get(), scaled->BorderRight.get(), scaled->BorderTop.get(),
                          scaled->BorderBottom.get()})
      pixels += std::int64_t(e->Image.Width()) * e->Image.Height();
    benchmark::DoNotOptimize(scaled.get());
  }
  state.counters["scaled_pixels"] = double(pixels);
}
BENCHMARK_CAPTURE(BM_LoadSkinAtDpi, koravent, KV_STORED_SKIN)
    ->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkinAtDpi, midnight, KV_MIDNIGHT_SKIN)
    ->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMillisecond);

// The unpacking share of the above: the LZH stream alone. Bytes per second count the
// unpacked image; "packed_per_unpacked" is the container's size over the image's.
void DecodeContainer(benchmark::State& state, const std::string& container) {
  std::string image;
  for (auto _ : state) {
    image.clear();
    if (!TSkinReader::Decompress(container, image)) {
      state.SkipWithError("the container does not unpack");
      return;
    }
    benchmark::DoNotOptimize(image.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(image.size()));
  state.counters["packed_bytes"] = double(container.size());
  state.counters["unpacked_bytes"] = double(image.size());
  state.counters["packed_per_unpacked"] = double(container.size()) / double(std::max<std::size_t>(1, image.size()));
}

void BM_UnpackSkin(benchmark::State& state, const char* path) {
  if (const std::string* stored = StoredSkin(state, path)) DecodeContainer(state, *stored);
}
BENCHMARK_CAPTURE(BM_UnpackSkin, koravent, KV_STORED_SKIN)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UnpackSkin, midnight, KV_MIDNIGHT_SKIN)->Unit(benchmark::kMillisecond);

// The same image packed again by our own encoder now, so the decode figure holds for
// what the tools make today whoever packed the stored file. "same_as_stored" is 1 when
// the encoder reproduces the stored container byte for byte.
void BM_UnpackRepacked(benchmark::State& state, const char* path) {
  const std::string* stored = StoredSkin(state, path);
  if (!stored) return;
  std::string image;
  if (!TSkinReader::Decompress(*stored, image)) {
    state.SkipWithError("the stored container does not unpack");
    return;
  }
  const std::string repacked = PackSkinImage(image);
  DecodeContainer(state, repacked);
  state.counters["same_as_stored"] = repacked == *stored ? 1 : 0;
}
BENCHMARK_CAPTURE(BM_UnpackRepacked, koravent, KV_STORED_SKIN)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UnpackRepacked, midnight, KV_MIDNIGHT_SKIN)->Unit(benchmark::kMillisecond);

// Opening the container: unpacking with the directory checks, names and sizes read.
void BM_OpenSkin(benchmark::State& state, const char* path) {
  const std::string* stored = StoredSkin(state, path);
  if (!stored) return;
  int entries = 0;
  for (auto _ : state) {
    TSkinReader reader;
    if (!reader.Open(*stored)) {
      state.SkipWithError("the container does not open");
      return;
    }
    entries = reader.EntryCount();
    benchmark::DoNotOptimize(reader.Data().data());
  }
  state.counters["entries"] = entries;
}
BENCHMARK_CAPTURE(BM_OpenSkin, koravent, KV_STORED_SKIN)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenSkin, midnight, KV_MIDNIGHT_SKIN)->Unit(benchmark::kMillisecond);

void BM_LoadMadeUpSkin(benchmark::State& state) {
  static const std::string container = MadeUpSkin();
  LoadModel(state, container);
}
BENCHMARK(BM_LoadMadeUpSkin)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kv
