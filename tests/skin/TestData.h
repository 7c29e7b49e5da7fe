#pragma once
// Deterministic sample data for the skin tests and benchmarks.
#include <cstdint>
#include <random>
#include <string>

namespace kv::test {

inline std::string RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s) c = char(rng() & 0xFF);
  return s;
}

// Looks like an uncompressed 24-bit BMP of a skin picture: a header, then rows with long
// runs of a few colours (magenta background, gradients, edges).
inline std::string BmpLikeBytes(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s = "BM";
  s.append(52, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool edge = x < 3 || x >= width - 3 || y < 3 || y >= height - 3;
      const bool key = (x + y) % 97 < 20;
      std::uint8_t b = 255, g = 0, r = 255;
      if (edge) {
        b = g = r = std::uint8_t(40 + (x + y) % 7);
      } else if (!key) {
        b = std::uint8_t(200 - y % 50);
        g = std::uint8_t(180 - y % 50);
        r = std::uint8_t((rng() % 16 == 0) ? rng() & 0xFF : 150);
      }
      s.push_back(char(b));
      s.push_back(char(g));
      s.push_back(char(r));
    }
    for (int pad = (width * 3) % 4; pad != 0 && pad < 4; ++pad) s.push_back('\0');
  }
  return s;
}

inline std::string SampleText(std::size_t size) {
  static const char* const words[] = {
      "[Button]\r\n", "LeftWidth=4\r\n",     "TopHeight=3\r\n", "picture=button.bmp\r\n",
      "Trans=1\r\n",  "FrameCount=5\r\n",    "tile=0\r\n",      "\r\n",
      "[Form]\r\n",   "colour=$00FF00FF\r\n"};
  std::string s;
  std::size_t i = 0;
  while (s.size() < size) s += words[(i * 7 + i / 3) % 10], ++i;
  s.resize(size);
  return s;
}

}  // namespace kv::test
