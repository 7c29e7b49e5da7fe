// skingen: writes one of the generator's skins (definition and pictures), or looks at it.
//
//   skingen [--skin koravent|midnight] OUTDIR            NAME.ini and every BMP into OUTDIR
//   skingen [--skin koravent|midnight] --sheet OUT.bmp   the contact sheet (every picture at 3x, frames marked)
//   skingen [--skin koravent|midnight] --mockup OUT.bmp  the pieces put together
// Without --skin: koravent, the program's own skin.
#include <iostream>
#include <string>
#include <vector>

#include "SkinGen.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"

namespace {

int Usage() {
  std::cerr << "usage: skingen [--skin koravent|midnight] OUTDIR\n"
               "       skingen [--skin koravent|midnight] --sheet OUT.bmp\n"
               "       skingen [--skin koravent|midnight] --mockup OUT.bmp\n";
  return 2;
}

int WritePicture(const std::string& path, const kv::TPixelBitmap& bitmap) {
  if (!kv::ReplaceFileContents(path, kv::WriteBmp24(bitmap))) {
    std::cerr << "skingen: cannot write " << path << "\n";
    return 1;
  }
  std::cout << "wrote " << path << " (" << bitmap.Width() << " x " << bitmap.Height() << ")\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kv::skingen;
  std::vector<std::string> args(argv + 1, argv + argc);
  TSkinName skin = TSkinName::snKoravent;
  if (args.size() >= 2 && args[0] == "--skin") {
    const auto named = SkinNamed(args[1]);
    if (!named) {
      std::cerr << "skingen: no skin named " << args[1] << " (koravent, midnight)\n";
      return 2;
    }
    skin = *named;
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() == 2 && args[0] == "--sheet")
    return WritePicture(args[1], RenderContactSheet(MakeSkinPictures(skin), 3));
  if (args.size() == 2 && args[0] == "--mockup")
    return WritePicture(args[1], RenderMockups(MakeSkinPictures(skin), skin));
  if (args.size() != 1 || args[0].starts_with("-")) return Usage();
  std::string error;
  if (!WriteSkinFolder(args[0], error, skin)) {
    std::cerr << "skingen: " << error << "\n";
    return 1;
  }
  std::cout << "wrote " << MakeSkinFiles(skin).size() << " files into " << args[0] << "\n";
  return 0;
}
