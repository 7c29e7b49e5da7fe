// Makes the editor's pictures: the 332x73 JPEG banner, the 16x16 window icon and the
// multi-drag cursor. Usage: assetgen OUTDIR  (writes banner.jpg, koravent.ico, multidrag.cur)
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>  // needs size_t and FILE first

namespace {

struct TRgb {
  double R, G, B;
};

TRgb Mix(TRgb a, TRgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

class TCanvasRgb {
 public:
  TCanvasRgb(int w, int h) : FW(w), FH(h), FPix(static_cast<std::size_t>(w) * h, {0, 0, 0}) {}
  int W() const { return FW; }
  int H() const { return FH; }
  TRgb& At(int x, int y) { return FPix[static_cast<std::size_t>(y) * FW + x]; }
  void Blend(int x, int y, TRgb c, double alpha) {
    if (x < 0 || y < 0 || x >= FW || y >= FH) return;
    At(x, y) = Mix(At(x, y), c, alpha);
  }

 private:
  int FW, FH;
  std::vector<TRgb> FPix;
};

// A 5x7 pixel font for the few letters the banner uses.
const char* Glyph(char c) {
  switch (c) {
    case 'K':
      return "10001"
             "10010"
             "10100"
             "11000"
             "10100"
             "10010"
             "10001";
    case 'O':
      return "01110"
             "10001"
             "10001"
             "10001"
             "10001"
             "10001"
             "01110";
    case 'R':
      return "11110"
             "10001"
             "10001"
             "11110"
             "10100"
             "10010"
             "10001";
    case 'A':
      return "01110"
             "10001"
             "10001"
             "11111"
             "10001"
             "10001"
             "10001";
    case 'V':
      return "10001"
             "10001"
             "10001"
             "10001"
             "10001"
             "01010"
             "00100";
    case 'E':
      return "11111"
             "10000"
             "10000"
             "11110"
             "10000"
             "10000"
             "11111";
    case 'N':
      return "10001"
             "11001"
             "10101"
             "10011"
             "10001"
             "10001"
             "10001";
    case 'T':
      return "11111"
             "00100"
             "00100"
             "00100"
             "00100"
             "00100"
             "00100";
    case 'S':
      return "01111"
             "10000"
             "10000"
             "01110"
             "00001"
             "00001"
             "11110";
    case 'I':
      return "01110"
             "00100"
             "00100"
             "00100"
             "00100"
             "00100"
             "01110";
    case 'G':
      return "01111"
             "10000"
             "10000"
             "10011"
             "10001"
             "10001"
             "01111";
    case 'C':
      return "01111"
             "10000"
             "10000"
             "10000"
             "10000"
             "10000"
             "01111";
    case 'F':
      return "11111"
             "10000"
             "10000"
             "11110"
             "10000"
             "10000"
             "10000";
    case '2':
      return "01110"
             "10001"
             "00001"
             "00010"
             "00100"
             "01000"
             "11111";
    case '0':
      return "01110"
             "10001"
             "10011"
             "10101"
             "11001"
             "10001"
             "01110";
    case 'B':
      return "11110"
             "10001"
             "10001"
             "11110"
             "10001"
             "10001"
             "11110";
    case '1':
      return "00100"
             "01100"
             "00100"
             "00100"
             "00100"
             "00100"
             "01110";
    case '.':
      return "00000"
             "00000"
             "00000"
             "00000"
             "00000"
             "01100"
             "01100";
    default:
      return "00000"
             "00000"
             "00000"
             "00000"
             "00000"
             "00000"
             "00000";
  }
}

void Text(TCanvasRgb& c, int x, int y, const std::string& s, int scale, TRgb colour, double alpha) {
  for (char ch : s) {
    const char* g = Glyph(ch);
    for (int gy = 0; gy < 7; ++gy)
      for (int gx = 0; gx < 5; ++gx)
        if (g[gy * 5 + gx] == '1')
          for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx) c.Blend(x + gx * scale + dx, y + gy * scale + dy, colour, alpha);
    x += 6 * scale;
  }
}

void Disc(TCanvasRgb& c, double cx, double cy, double r, TRgb colour, double alpha) {
  for (int y = static_cast<int>(cy - r - 1); y <= cy + r + 1; ++y)
    for (int x = static_cast<int>(cx - r - 1); x <= cx + r + 1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double cover = std::clamp(r - d + 0.5, 0.0, 1.0);
      if (cover > 0) c.Blend(x, y, colour, alpha * cover);
    }
}

TCanvasRgb Banner() {
  TCanvasRgb c(332, 73);
  const TRgb sky0{236, 244, 255}, sky1{150, 196, 238}, sea{40, 110, 170}, navy{18, 46, 96};
  for (int y = 0; y < c.H(); ++y)
    for (int x = 0; x < c.W(); ++x) {
      // Light on the left (the clock sits there), deeper blue to the right.
      const double t = std::pow(x / 331.0, 1.6) * 0.85 + y / 72.0 * 0.15;
      c.At(x, y) = Mix(sky0, sky1, t);
    }
  // Two soft waves along the bottom right.
  for (int x = 0; x < c.W(); ++x) {
    const double fade = std::clamp((x - 110) / 120.0, 0.0, 1.0);
    const double w1 = 58 + 5 * std::sin(x / 23.0) + 3 * std::sin(x / 9.0 + 1);
    const double w2 = 64 + 4 * std::sin(x / 17.0 + 2);
    for (int y = 0; y < c.H(); ++y) {
      if (y > w1) c.Blend(x, y, sea, 0.35 * fade);
      if (y > w2) c.Blend(x, y, navy, 0.35 * fade);
    }
  }
  // Bubbles.
  const double bubbles[][3] = {{262, 22, 13}, {292, 40, 8}, {240, 46, 6}, {312, 16, 5}, {222, 18, 4}};
  for (const auto& b : bubbles) {
    Disc(c, b[0], b[1], b[2], {255, 255, 255}, 0.35);
    Disc(c, b[0] - b[2] * 0.35, b[1] - b[2] * 0.35, b[2] * 0.3, {255, 255, 255}, 0.6);
  }
  // The name with a soft shadow, and the version line.
  Text(c, 14, 11, "KORAVENT", 3, {255, 255, 255}, 0.9);
  Text(c, 12, 9, "KORAVENT", 3, navy, 1.0);
  Text(c, 172, 15, "CONFIG", 2, sea, 0.9);
  Text(c, 174, 33, "2.0B2", 1, navy, 0.8);
  // A thin rule under the name.
  for (int x = 12; x < 160; ++x) c.Blend(x, 36, navy, 0.5 * (1 - (x - 12) / 148.0));
  return c;
}

bool WriteJpeg(const TCanvasRgb& c, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = static_cast<JDIMENSION>(c.W());
  info.image_height = static_cast<JDIMENSION>(c.H());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(c.W()) * 3);
  auto& canvas = const_cast<TCanvasRgb&>(c);
  for (int y = 0; y < c.H(); ++y) {
    for (int x = 0; x < c.W(); ++x) {
      const TRgb p = canvas.At(x, y);
      row[x * 3] = static_cast<unsigned char>(std::lround(std::clamp(p.R, 0.0, 255.0)));
      row[x * 3 + 1] = static_cast<unsigned char>(std::lround(std::clamp(p.G, 0.0, 255.0)));
      row[x * 3 + 2] = static_cast<unsigned char>(std::lround(std::clamp(p.B, 0.0, 255.0)));
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(f);
  return true;
}

void Put16(std::vector<unsigned char>& v, unsigned x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
void Put32(std::vector<unsigned char>& v, unsigned x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// Icon and cursor files share one layout: a directory entry then a DIB with its mask.
std::vector<unsigned char> IconFile(int type, int size, unsigned bits, unsigned hotX, unsigned hotY,
                                    const std::vector<unsigned char>& dib) {
  std::vector<unsigned char> v;
  Put16(v, 0);
  Put16(v, static_cast<unsigned>(type));
  Put16(v, 1);
  v.push_back(static_cast<unsigned char>(size));
  v.push_back(static_cast<unsigned char>(size));
  v.push_back(bits == 1 ? 2 : 0);
  v.push_back(0);
  if (type == 1) {
    Put16(v, 1);
    Put16(v, bits);
  } else {
    Put16(v, hotX);
    Put16(v, hotY);
  }
  Put32(v, static_cast<unsigned>(dib.size()));
  Put32(v, 22);
  v.insert(v.end(), dib.begin(), dib.end());
  return v;
}

void DibHeader(std::vector<unsigned char>& v, int size, unsigned bits) {
  Put32(v, 40);
  Put32(v, static_cast<unsigned>(size));
  Put32(v, static_cast<unsigned>(size * 2));
  Put16(v, 1);
  Put16(v, bits);
  for (int i = 0; i < 6; ++i) Put32(v, 0);
}

std::vector<unsigned char> Icon() {
  const int n = 16;
  std::vector<unsigned char> dib;
  DibHeader(dib, n, 32);
  const TRgb top{70, 150, 230}, bottom{20, 70, 150};
  const char* k = Glyph('K');
  for (int y = n - 1; y >= 0; --y) {  // bottom-up rows
    for (int x = 0; x < n; ++x) {
      // A rounded square, blue from top to bottom, with a white K.
      const double dx = std::max({1.5 - x, x - 13.5, 0.0}), dy = std::max({1.5 - y, y - 13.5, 0.0});
      const double edge = std::clamp(2.0 - std::hypot(dx, dy), 0.0, 1.0);
      TRgb c = Mix(top, bottom, y / 15.0);
      const int gx = (x - 3) / 2, gy = (y - 1);
      const bool glyph = x >= 3 && x < 13 && y >= 1 && y < 15 && gx < 5 && gy / 2 < 7 && k[(gy / 2) * 5 + gx] == '1';
      if (glyph) c = {255, 255, 255};
      dib.push_back(static_cast<unsigned char>(c.B));
      dib.push_back(static_cast<unsigned char>(c.G));
      dib.push_back(static_cast<unsigned char>(c.R));
      dib.push_back(static_cast<unsigned char>(std::lround(edge * 255)));
    }
  }
  for (int y = 0; y < n; ++y) Put32(dib, 0);  // the AND mask: alpha decides
  return IconFile(1, n, 32, 0, 0, dib);
}

std::vector<unsigned char> MultiDragCursor() {
  // '#' black, '.' white, ' ' transparent. An arrow with three stacked pages below it.
  const char* art[32] = {
      "#                               ", "##                              ", "#.#                             ",
      "#..#                            ", "#...#                           ", "#....#                          ",
      "#.....#                         ", "#......#                        ", "#.......#                       ",
      "#........#                      ", "#.....#####                     ", "#..#..#                         ",
      "#.# #..#                        ", "##  #..#                        ", "#    #..#    ##########         ",
      "     #..#    #........#         ", "      ##  ##########..#         ", "          #........#..#         ",
      "       ##########..#..#         ", "       #........#..#..#         ", "       #........#..#..#         ",
      "       #........#..#..#         ", "       #........#..####         ", "       #........#..#            ",
      "       #........####            ", "       #........#               ", "       ##########               ",
      "                                ", "                                ", "                                ",
      "                                ", "                                ",
  };
  std::vector<unsigned char> dib;
  DibHeader(dib, 32, 1);
  Put32(dib, 0x000000);  // palette: black, white
  Put32(dib, 0xFFFFFF);
  std::vector<unsigned char> xorBits, andBits;
  for (int y = 31; y >= 0; --y) {
    for (int byte = 0; byte < 4; ++byte) {
      unsigned char x8 = 0, a8 = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char p = art[y][byte * 8 + bit];
        if (p == '.') x8 |= static_cast<unsigned char>(0x80 >> bit);
        if (p == ' ') a8 |= static_cast<unsigned char>(0x80 >> bit);
      }
      xorBits.push_back(x8);
      andBits.push_back(a8);
    }
  }
  dib.insert(dib.end(), xorBits.begin(), xorBits.end());
  dib.insert(dib.end(), andBits.begin(), andBits.end());
  return IconFile(2, 32, 1, 0, 0, dib);
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = WriteJpeg(Banner(), dir + "/banner.jpg") && WriteFile(dir + "/koravent.ico", Icon()) &&
                  WriteFile(dir + "/multidrag.cur", MultiDragCursor());
  if (!ok) std::fprintf(stderr, "assetgen: cannot write to %s\n", dir.c_str());
  return ok ? 0 : 1;
}
