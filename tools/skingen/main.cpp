// skingen: writes the program's own skin (definition and pictures), or looks at it.
//
//   skingen OUTDIR            koravent.ini and every BMP into OUTDIR
//   skingen --sheet OUT.bmp   the contact sheet (every picture at 3x, frames marked)
//   skingen --mockup OUT.bmp  the pieces put together
#include <iostream>
#include <string>

#include "SkinGen.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"

namespace {

int Usage() {
  std::cerr << "usage: skingen OUTDIR\n"
               "       skingen --sheet OUT.bmp\n"
               "       skingen --mockup OUT.bmp\n";
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
  if (argc == 3 && std::string(argv[1]) == "--sheet")
    return WritePicture(argv[2], RenderContactSheet(MakeSkinPictures(), 3));
  if (argc == 3 && std::string(argv[1]) == "--mockup") return WritePicture(argv[2], RenderMockups(MakeSkinPictures()));
  if (argc != 2 || std::string(argv[1]).starts_with("-")) return Usage();
  std::string error;
  if (!WriteSkinFolder(argv[1], error)) {
    std::cerr << "skingen: " << error << "\n";
    return 1;
  }
  std::cout << "wrote " << MakeSkinFiles().size() << " files into " << argv[1] << "\n";
  return 0;
}
