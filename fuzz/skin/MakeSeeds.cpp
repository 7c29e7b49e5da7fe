// Writes the seed inputs of the skin fuzzers into SEED_ROOT: containers made by the
// packer (container/), BMP files of every depth the reader takes (bmp/), definition texts
// (definition/, with the definition of STORED_SKIN when given) and the inputs that once
// exhausted a fuzzer, run whole by the regression tests (regress/).
// Usage: skin_fuzz_seeds SEED_ROOT [STORED_SKIN]
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinContainer.h"
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

// A 1-bit BMP, all of one colour: a few bytes per thousand pixels once packed.
std::string OneBitBmp(int w, int h) {
  std::string out = PaletteBmp(1, w, h);
  const std::size_t pixelsAt = 54 + 8;
  out.replace(pixelsAt, out.size() - pixelsAt, out.size() - pixelsAt, '\0');
  return out;
}

// One picture named by `buttons` caption-button sections: every button keeps its own
// copy, so the pixels of a load grow with the number of sections, not with the file.
std::string ManyButtons(int w, int h, int buttons) {
  std::string definition = "[TitlebarSkin]\r\nSkinName=Many\r\n";
  for (int i = 0; i < buttons; ++i)
    definition += "[Button" + std::to_string(i) + "]\r\nAction=1\r\nButtonImage=big.bmp\r\n";
  return BuildSkinContainer({{"many.ini", definition}, {"big.bmp", OneBitBmp(w, h)}});
}

TPixelBitmap Sample(int w, int h) {
  TPixelBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, (x + y) % 5 == 0 ? 0xFF00FF : std::uint32_t(x * 0x0A0000 + y * 0x0B00 + 7));
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) return 2;
  const fs::path root = argv[1];
  const fs::path containers = root / "container", bmps = root / "bmp", definitions = root / "definition",
                 regress = root / "regress";
  for (const fs::path& dir : {containers, bmps, definitions, regress}) fs::create_directories(dir);
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

  // A small picture named by ten buttons: within a fuzzer's pixel budget once, not ten
  // times.
  ok &= ReplaceFileContents(containers / "many-buttons.skn", ManyButtons(128, 128, 10));

  // Unpacked images, marked 'I', for the model fuzzer to pack itself.
  const std::string caption = PaletteBmp(4, 120, 15);
  const std::string full =
      "[TitlebarSkin]\r\nSkinName=Seed\r\n[Personality]\r\nTop=f-top.bmp\r\nTopFrame=1\r\n"
      "[Button0]\r\nAction=0\r\nButtonImage=c.bmp\r\n[Buttons]\r\nBitmap=f-top.bmp\r\nCheckButton=c.bmp\r\n"
      "[ComboButton]\r\nImage=c.bmp\r\n[MDICONTROLS]\r\nImage=c.bmp\r\n[Colours]\r\nButtonFace=238 233 213\r\n";
  ok &= ReplaceFileContents(containers / "image.skn",
                            "I" + BuildSkinImage({{"skin.ini", full}, {"f-top.bmp", bmp24}, {"c.bmp", caption}}));
  // Hostile values next to ordinary ones: huge and negative numbers, a picture with a
  // directory part and one with capitals, frame counts of 0 and below.
  const std::string odd =
      "[TitlebarSkin]\r\nSkinName=Odd\r\n[Personality]\r\nTop=a\\f-top.bmp\r\nTopFrame=-3\r\n"
      "LeftFrame=0\r\nLeft=f-left.BMP\r\nActiveTextR=300\r\nActiveTextG=$7FFFFFFF\r\nActiveTextB=0\r\n"
      "[Button0]\r\nAction=-1\r\nButtonImage=c.bmp\r\nframe=0\r\n[BUTTON1]\r\nAction=3\r\nButtonImage=d.bmp\r\n"
      "[Buttons]\r\nBitmap=b.bmp\r\nCheckButton=x.bmp\r\nCheckButtonFrame=-2147483648\r\n"
      "[HorzScrollThumb]\r\nImage=h.bmp\r\nFrameCount=0\r\nTile=2\r\n[Progress]\r\nBitmap=p.bmp\r\nTile=7\r\n"
      "[MDICONTROLS]\r\nImage=m.bmp\r\n[Colours]\r\nButtonFace=1,2\r\nMenubar=x\r\n[Colour9]\r\ncolor=255\r\n";
  ok &= ReplaceFileContents(definitions / "odd.ini", odd);
  ok &= ReplaceFileContents(definitions / "plain.ini", ini);
  if (argc == 3) {
    const auto stored = ReadFileBytes(argv[2]);
    TSkinReader reader;
    std::string text, name;
    ok &= stored && reader.Open(*stored) && reader.FindEntry(".ini", text, name);
    ok &= ReplaceFileContents(definitions / "stored.ini", text);
  }

  // 60 KB that took 3.7 GB before a load had a pixel budget: a 4800 x 4800 picture for
  // forty caption buttons.
  ok &= ReplaceFileContents(regress / "many-buttons-4800.skn", ManyButtons(4800, 4800, 40));
  // A header fit for a skin, then a claim of more than any skin may unpack to, made
  // plausible by zero bytes: refused after the header, not after decoding 64 MB.
  std::string oversized;
  Put32(oversized, std::uint32_t(kSkinMaxImageSize + 1));
  oversized += LzhEncode(BuildSkinImage({{"a.ini", ini}}));
  oversized.resize(4 + kSkinMaxImageSize / kLzhMaxExpansion, '\0');
  ok &= ReplaceFileContents(regress / "oversized.skn", oversized);
  return ok ? 0 : 1;
}
