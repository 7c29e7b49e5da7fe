// Makes the caption glyphs the skinned menu bar draws for a maximised child window:
// restore, maximise, minimise and close, 16 x 16 each, side by side in one 64 x 16
// monochrome bitmap (black glyph on white; white is the mask colour).
// Usage: glyphgen OUT.bmp   (the program embeds it as the bitmap resource PELTRANMENU)
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 16;
using TGlyphs = std::array<std::array<bool, kWidth>, kHeight>;  // true: black

void Box(TGlyphs& g, int x0, int y0, int x1, int y1, int top) {
  for (int x = x0; x <= x1; ++x) {
    for (int t = 0; t < top; ++t) g[y0 + t][x] = true;
    g[y1][x] = true;
  }
  for (int y = y0; y <= y1; ++y) g[y][x0] = g[y][x1] = true;
}

TGlyphs Draw() {
  TGlyphs g{};
  // Restore: a window behind another, each with a thick title edge.
  Box(g, 6, 3, 12, 8, 2);
  for (int x = 3; x <= 9; ++x)
    for (int y = 6; y <= 12; ++y) g[y][x] = false;  // the front window hides what lies behind
  Box(g, 3, 6, 9, 12, 2);
  // Maximise: one window.
  Box(g, 16 + 3, 3, 16 + 12, 12, 2);
  // Minimise: a bar at the bottom.
  for (int x = 32 + 4; x <= 32 + 10; ++x) g[11][x] = g[12][x] = true;
  // Close: a cross two pixels thick.
  for (int i = 0; i < 8; ++i) {
    g[4 + i][48 + 4 + i] = g[4 + i][48 + 5 + i] = true;
    g[4 + i][48 + 11 - i] = g[4 + i][48 + 12 - i] = true;
  }
  return g;
}

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

std::string Bmp(const TGlyphs& g) {
  constexpr int stride = (kWidth / 8 + 3) / 4 * 4;
  std::string s = "BM";
  Put32(s, 14 + 40 + 8 + stride * kHeight);
  Put32(s, 0);
  Put32(s, 14 + 40 + 8);
  Put32(s, 40);
  Put32(s, kWidth);
  Put32(s, kHeight);
  s += std::string{1, 0, 1, 0};  // one plane, one bit per pixel
  Put32(s, 0);
  Put32(s, stride * kHeight);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 2);
  Put32(s, 2);
  Put32(s, 0x000000);                       // index 0: black
  Put32(s, 0xFFFFFF);                       // index 1: white
  for (int y = kHeight - 1; y >= 0; --y) {  // bottom row first
    std::string row(stride, '\0');
    for (int x = 0; x < kWidth; ++x)
      if (!g[y][x]) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    s += row;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen OUT.bmp\n");
    return 2;
  }
  const std::string bytes = Bmp(Draw());
  std::ofstream(argv[1], std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return 0;
}
