// Writes the seed inputs of the skin fuzzers: containers made by the packer, BMP files of
// every depth the reader takes and definition texts.
// Usage: skin_fuzz_seeds CONTAINER_DIR BMP_DIR [DEFINITION_DIR]
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinPacker.h"

namespace fs = std::filesystem;
using namespace kv;

namespace {

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
}

// A small palette BMP (1, 4 or 8 bits), bottom-up.
std::string PaletteBmp(int bpp, int w, int h) {
  const std::size_t stride = ((std::size_t(w) * std::size_t(bpp) + 31) / 32) * 4;
  const int colours = 1 << bpp;
  std::string out = "BM";
  Put32(out, std::uint32_t(54 + 4 * colours + stride * std::size_t(h)));
  Put32(out, 0);
  Put32(out, std::uint32_t(54 + 4 * colours));
  Put32(out, 40);
  Put32(out, std::uint32_t(w));
  Put32(out, std::uint32_t(h));
  out += std::string("\x01\x00", 2);
  out.push_back(char(bpp));
  out.push_back('\0');
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int i = 0; i < colours; ++i) Put32(out, std::uint32_t(i * 0x010305) & 0xFFFFFF);
  for (std::size_t i = 0; i < stride * std::size_t(h); ++i) out.push_back(char((i * 37) & 0xFF));
  return out;
}

TPixelBitmap Sample(int w, int h) {
  TPixelBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, (x + y) % 5 == 0 ? 0xFF00FF : std::uint32_t(x * 0x0A0000 + y * 0x0B00 + 7));
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return 2;
  const fs::path containers = argv[1], bmps = argv[2];
  fs::create_directories(containers);
  fs::create_directories(bmps);
  const std::string bmp24 = WriteBmp24(Sample(9, 5));
  bool ok = true;
  ok &= ReplaceFileContents(bmps / "24.bmp", bmp24);
  ok &= ReplaceFileContents(bmps / "1.bmp", PaletteBmp(1, 13, 3));
  ok &= ReplaceFileContents(bmps / "4.bmp", PaletteBmp(4, 7, 4));
  ok &= ReplaceFileContents(bmps / "8.bmp", PaletteBmp(8, 5, 6));
  std::string bmp32 = bmp24.substr(0, 54);
  bmp32[28] = 32;
  for (int i = 0; i < 9 * 5; ++i) Put32(bmp32, std::uint32_t(i * 0x01020304));
  ok &= ReplaceFileContents(bmps / "32.bmp", bmp32);

  const std::string ini = "[Form]\r\nPicture=f-top.bmp\r\nLeftWidth=4\r\n";
  ok &= ReplaceFileContents(containers / "skin.skn",
                            BuildSkinContainer({{"skin.ini", ini}, {"f-top.bmp", bmp24}, {"Empty.bmp", ""}}));
  ok &= ReplaceFileContents(containers / "empty.skn", BuildSkinContainer({}));
  std::string older = BuildSkinImage({{"a.ini", "x"}});
  older[0] = 0x1F;
  ok &= ReplaceFileContents(containers / "older.skn", PackSkinImage(older));

  // Unpacked images, marked 'I', for the model fuzzer to pack itself.
  const std::string caption = WriteBmp24(Sample(120, 15));
  const std::string full =
      "[TitlebarSkin]\r\nSkinName=Seed\r\n[Personality]\r\nTop=f-top.bmp\r\nTopFrame=1\r\n"
      "[Button0]\r\nAction=0\r\nButtonImage=c.bmp\r\n[Buttons]\r\nBitmap=f-top.bmp\r\nCheckButton=c.bmp\r\n"
      "[ComboButton]\r\nImage=c.bmp\r\n[MDICONTROLS]\r\nImage=c.bmp\r\n[Colours]\r\nButtonFace=238 233 213\r\n";
  ok &= ReplaceFileContents(containers / "image.skn",
                            "I" + BuildSkinImage({{"skin.ini", full}, {"f-top.bmp", bmp24}, {"c.bmp", caption}}));
  if (argc == 4) {
    // Hostile values next to ordinary ones: huge and negative numbers, a picture with a
    // directory part and one with capitals, frame counts of 0 and below.
    const fs::path definitions = argv[3];
    fs::create_directories(definitions);
    const std::string odd =
        "[TitlebarSkin]\r\nSkinName=Odd\r\n[Personality]\r\nTop=a\\f-top.bmp\r\nTopFrame=-3\r\n"
        "LeftFrame=0\r\nLeft=f-left.BMP\r\nActiveTextR=300\r\nActiveTextG=$7FFFFFFF\r\nActiveTextB=0\r\n"
        "[Button0]\r\nAction=-1\r\nButtonImage=c.bmp\r\nframe=0\r\n[BUTTON1]\r\nAction=3\r\nButtonImage=d.bmp\r\n"
        "[Buttons]\r\nBitmap=b.bmp\r\nCheckButton=x.bmp\r\nCheckButtonFrame=-2147483648\r\n"
        "[HorzScrollThumb]\r\nImage=h.bmp\r\nFrameCount=0\r\nTile=2\r\n[Progress]\r\nBitmap=p.bmp\r\nTile=7\r\n"
        "[MDICONTROLS]\r\nImage=m.bmp\r\n[Colours]\r\nButtonFace=1,2\r\nMenubar=x\r\n[Colour9]\r\ncolor=255\r\n";
    ok &= ReplaceFileContents(definitions / "odd.ini", odd);
    ok &= ReplaceFileContents(definitions / "plain.ini", ini);
  }
  return ok ? 0 : 1;
}
