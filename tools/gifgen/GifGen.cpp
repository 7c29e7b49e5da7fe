// Makes the two animated pictures of the page "QQ相关":
//   Image2.gif  100 x 100, 18 frames of 21 units, looping for ever: a ring of dots chasing
//               round a pulsing heart;
//   Image3.gif   80 x 89,   8 frames of 12 units, looping for ever: a penguin in a red
//               scarf bobbing and waving.
// Both on the face colour of the window, RGB(238, 233, 213). Usage: gifgen OUTDIR
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

#include "pictures/GifWriter.h"

namespace {

using kv::GifRgb;

struct Color {
  double R = 0, G = 0, B = 0;
};

constexpr Color Face{238, 233, 213};

Color Mix(Color a, Color b, double t) { return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t}; }

// A scene paints one point: it gets the colour so far and returns the new colour.
using Scene = std::function<Color(double x, double y)>;

// Coverage of a shape at one point, 0 or 1; the 4 x 4 supersampling smooths the edges.
bool InEllipse(double x, double y, double cx, double cy, double rx, double ry, double angle = 0) {
  const double dx = x - cx, dy = y - cy;
  const double c = std::cos(angle), s = std::sin(angle);
  const double u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
  return u * u + v * v <= 1.0;
}

bool InHeart(double x, double y, double cx, double cy, double size) {
  // The classic implicit heart (x^2 + y^2 - 1)^3 - x^2 y^3 <= 0, y pointing up.
  const double u = (x - cx) / size, v = -(y - cy) / size + 0.15;
  const double a = u * u + v * v - 1.0;
  return a * a * a - u * u * v * v * v <= 0.0;
}

std::vector<Color> Render(int width, int height, const Scene& scene) {
  std::vector<Color> pixels(std::size_t(width) * std::size_t(height));
  constexpr int n = 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Color sum;
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx) {
          const Color c = scene(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
          sum.R += c.R;
          sum.G += c.G;
          sum.B += c.B;
        }
      pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = {sum.R / (n * n), sum.G / (n * n),
                                                                      sum.B / (n * n)};
    }
  return pixels;
}

GifRgb ToRgb(Color c) {
  const auto clamp = [](double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
  return {clamp(c.R), clamp(c.G), clamp(c.B)};
}

// One table for all frames: the face colour exactly, then the most common colours of the
// frames (by 5-bit buckets, each the average of its members).
kv::GifPalette BuildPalette(const std::vector<std::vector<Color>>& frames) {
  struct Bucket {
    double R = 0, G = 0, B = 0;
    long Count = 0;
  };
  std::map<int, Bucket> buckets;
  const GifRgb face = ToRgb(Face);
  for (const auto& frame : frames)
    for (const Color& c : frame) {
      const GifRgb rgb = ToRgb(c);
      if (rgb == face) continue;
      Bucket& b = buckets[(rgb.R >> 3) << 10 | (rgb.G >> 3) << 5 | (rgb.B >> 3)];
      b.R += rgb.R;
      b.G += rgb.G;
      b.B += rgb.B;
      ++b.Count;
    }
  std::vector<Bucket> sorted;
  for (const auto& [key, b] : buckets) sorted.push_back(b);
  std::sort(sorted.begin(), sorted.end(), [](const Bucket& a, const Bucket& b) { return a.Count > b.Count; });
  kv::GifPalette palette{face};
  for (const Bucket& b : sorted) {
    if (palette.size() == 256) break;
    palette.push_back(ToRgb({b.R / b.Count, b.G / b.Count, b.B / b.Count}));
  }
  return palette;
}

std::vector<std::uint8_t> Quantize(const std::vector<Color>& frame, const kv::GifPalette& palette) {
  std::vector<std::uint8_t> indexes;
  indexes.reserve(frame.size());
  std::map<int, std::uint8_t> nearest;
  for (const Color& c : frame) {
    const GifRgb rgb = ToRgb(c);
    const int key = rgb.R << 16 | rgb.G << 8 | rgb.B;
    auto it = nearest.find(key);
    if (it == nearest.end()) {
      long best = -1;
      std::uint8_t bestIndex = 0;
      for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = long(rgb.R) - palette[i].R, dg = long(rgb.G) - palette[i].G, db = long(rgb.B) - palette[i].B;
        const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best < 0 || d < best) {
          best = d;
          bestIndex = std::uint8_t(i);
        }
      }
      it = nearest.emplace(key, bestIndex).first;
    }
    indexes.push_back(it->second);
  }
  return indexes;
}

bool WriteGif(const std::filesystem::path& path, int width, int height, int frameCount, std::uint16_t delay,
              const std::function<Scene(int frame)>& sceneOf) {
  std::vector<std::vector<Color>> frames;
  for (int i = 0; i < frameCount; ++i) frames.push_back(Render(width, height, sceneOf(i)));
  const kv::GifPalette palette = BuildPalette(frames);
  kv::TGifWriter writer(width, height, palette, 0);
  writer.AddLoop(0);
  for (const auto& frame : frames) {
    kv::GifWriterFrame f;
    f.Width = width;
    f.Height = height;
    f.Pixels = Quantize(frame, palette);
    f.WriteControl = true;
    f.Disposal = kv::gdDoNotDispose;
    f.Delay = delay;
    writer.AddFrame(f);
  }
  const std::vector<std::uint8_t> bytes = writer.Finish();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// Image2: twelve dots on a ring; a bright head chases round once per cycle with a fading
// tail, the dots' colours follow the ring like a soft rainbow, and a heart in the middle
// beats twice per cycle.
Scene DotRing(int frame, int frames) {
  const double pi = std::numbers::pi;
  const double t = double(frame) / frames;
  return [=](double x, double y) {
    Color c = Face;
    const double cx = 50, cy = 50;
    // faint halo ring
    const double r = std::hypot(x - cx, y - cy);
    if (std::fabs(r - 36) < 9) c = Mix(c, Color{250, 246, 234}, 0.55 * (1 - std::fabs(r - 36) / 9));
    for (int i = 0; i < 12; ++i) {
      const double a = 2 * pi * i / 12 - pi / 2;
      // how far behind the head this dot is, 0..1
      double behind = std::fmod(t - double(i) / 12 + 2.0, 1.0);
      const double glow = std::pow(1.0 - behind, 2.2);
      const double radius = 3.2 + 3.6 * glow;
      const double hue = double(i) / 12;
      const Color pastel{200 + 45 * std::cos(2 * pi * hue), 170 + 50 * std::cos(2 * pi * (hue - 1.0 / 3)),
                         185 + 50 * std::cos(2 * pi * (hue - 2.0 / 3))};
      const Color tone = Mix(Color{214, 206, 186}, pastel, 0.35 + 0.65 * glow);
      const double dx = cx + 36 * std::cos(a), dy = cy + 36 * std::sin(a);
      if (InEllipse(x, y, dx + 0.8, dy + 1.0, radius, radius)) c = Mix(c, Color{205, 198, 178}, 0.35);
      if (InEllipse(x, y, dx, dy, radius, radius)) c = tone;
      if (InEllipse(x, y, dx - radius * 0.3, dy - radius * 0.35, radius * 0.35, radius * 0.3))
        c = Mix(c, Color{255, 255, 255}, 0.5 * glow);
    }
    const double beat = 1.0 + 0.09 * std::pow(std::sin(2 * pi * t * 2), 2);
    if (InHeart(x, y, cx + 1, cy + 2, 15 * beat)) c = Mix(c, Color{200, 190, 170}, 0.4);
    if (InHeart(x, y, cx, cy, 15 * beat)) {
      const double shade = std::clamp((y - (cy - 15)) / 30, 0.0, 1.0);
      c = Mix(Color{246, 150, 160}, Color{222, 104, 124}, shade);
      if (InEllipse(x, y, cx - 6 * beat, cy - 5 * beat, 3.5 * beat, 2.4 * beat, -0.6))
        c = Mix(c, Color{255, 236, 238}, 0.7);
    }
    return c;
  };
}

// Image3: a penguin with a red scarf, bobbing on its feet and waving one flipper.
Scene Penguin(int frame, int frames) {
  const double pi = std::numbers::pi;
  const double phase = 2 * pi * frame / frames;
  return [=](double x, double y) {
    Color c = Face;
    const double bob = -2.5 * std::sin(phase);        // up is negative
    const double wave = 0.5 + 0.5 * std::sin(phase);  // flipper, 0 down .. 1 up
    const double cx = 40, by = 50 + bob;              // body centre
    const Color ink{54, 60, 78}, belly{252, 250, 244}, orange{246, 164, 72}, red{214, 66, 70};
    // shadow on the ground, smaller when the penguin is up
    const double sh = 1.0 + 0.08 * bob / 2.5;
    if (InEllipse(x, y, cx, 84, 22 * sh, 3.2 * sh)) c = Mix(c, Color{196, 188, 164}, 0.6);
    // feet
    if (InEllipse(x, y, cx - 10, 80.5, 8, 3.5)) c = orange;
    if (InEllipse(x, y, cx + 10, 80.5, 8, 3.5)) c = orange;
    // flippers: the left rests, the right waves
    if (InEllipse(x, y, cx - 22, by + 4, 5, 14, 0.35)) c = ink;
    {
      // turns about the shoulder: 0 points down, larger angles swing it out and up
      const double a = 0.4 + 1.7 * wave;
      const double sx = cx + 15, sy = by - 4;
      if (InEllipse(x, y, sx + 9 * std::sin(a), sy + 9 * std::cos(a), 5, 11.5, -a)) c = ink;
    }
    // body and belly
    if (InEllipse(x, y, cx, by + 6, 22, 26)) c = ink;
    if (InEllipse(x, y, cx, by + 11, 15, 19)) c = belly;
    // head
    const double hy = by - 20;
    if (InEllipse(x, y, cx, hy, 19, 16.5)) c = ink;
    if (InEllipse(x, y, cx, hy + 4, 14, 10.5)) c = belly;
    // eyes: a blink on one frame of the eight
    const bool blink = frame == frames / 2;
    for (int side : {-1, 1}) {
      const double ex = cx + side * 6.5, ey = hy - 1;
      if (blink) {
        if (InEllipse(x, y, ex, ey + 1, 3.6, 1.0)) c = ink;
      } else {
        if (InEllipse(x, y, ex, ey, 3.8, 4.6)) c = Color{255, 255, 255};
        if (InEllipse(x, y, ex + side * 0.8, ey + 0.8, 2.0, 2.6)) c = Color{30, 30, 40};
        if (InEllipse(x, y, ex + side * 0.2, ey - 0.6, 0.8, 0.8)) c = Color{255, 255, 255};
      }
      // rosy cheeks
      if (InEllipse(x, y, cx + side * 11, hy + 6, 3.2, 2)) c = Mix(c, Color{250, 150, 150}, 0.6);
    }
    // beak
    if (InEllipse(x, y, cx, hy + 5, 5.5, 2.6)) c = orange;
    if (InEllipse(x, y, cx, hy + 6.2, 4.5, 1.4)) c = Color{226, 136, 52};
    // scarf: a band under the head and a tail that swings with the bob
    if (InEllipse(x, y, cx, hy + 14.5, 19, 4.2)) c = red;
    if (InEllipse(x, y, cx + 12, hy + 22 + bob * 0.4, 3.8, 8, 0.25 + 0.1 * std::sin(phase))) c = red;
    if (InEllipse(x, y, cx, hy + 13.5, 17, 1.2)) c = Mix(c, Color{240, 110, 110}, 0.7);
    return c;
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gifgen OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const bool ok = WriteGif(dir / "Image2.gif", 100, 100, 18, 21, [](int f) { return DotRing(f, 18); }) &&
                  WriteGif(dir / "Image3.gif", 80, 89, 8, 12, [](int f) { return Penguin(f, 8); });
  if (!ok) {
    std::fprintf(stderr, "gifgen: cannot write to %s\n", dir.string().c_str());
    return 1;
  }
  return 0;
}
