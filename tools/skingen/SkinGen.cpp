#include "SkinGen.h"

#include <algorithm>

#include "SkinPalette.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"

namespace kv::skingen {

std::vector<TSkinPicture> MakeSkinPictures() {
  std::vector<TSkinPicture> pictures;
  AddFramePictures(pictures);
  AddMenuPictures(pictures);
  AddButtonPictures(pictures);
  AddControlPictures(pictures);
  std::sort(pictures.begin(), pictures.end(),
            [](const TSkinPicture& a, const TSkinPicture& b) { return a.Name < b.Name; });
  return pictures;
}

std::vector<TSkinFile> MakeSkinFiles() {
  std::vector<TSkinFile> files{{kDefinitionName, MakeSkinDefinition()}};
  for (const TSkinPicture& p : MakeSkinPictures()) files.push_back({p.Name, WriteBmp24(p.Bitmap)});
  return files;
}

bool WriteSkinFolder(const std::filesystem::path& dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    error = "cannot create " + PathToUtf8(dir) + ": " + ec.message();
    return false;
  }
  for (const TSkinFile& f : MakeSkinFiles())
    if (!ReplaceFileContents(dir / f.FName, f.FData)) {
      error = "cannot write " + PathToUtf8(dir / f.FName);
      return false;
    }
  return true;
}

}  // namespace kv::skingen
