#include "SkinGen.h"

#include <algorithm>

#include "SkinPalette.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"

namespace kv::skingen {

std::optional<TSkinName> SkinNamed(std::string_view name) {
  if (name == "koravent") return TSkinName::snKoravent;
  if (name == "midnight") return TSkinName::snMidnight;
  return std::nullopt;
}

std::string DefinitionName(TSkinName skin) { return skin == TSkinName::snMidnight ? "midnight.ini" : "koravent.ini"; }

std::string MakeSkinDefinition(TSkinName skin) {
  return skin == TSkinName::snMidnight ? MakeMidnightDefinition() : MakeKoraventDefinition();
}

std::vector<TSkinPicture> MakeSkinPictures(TSkinName skin) {
  std::vector<TSkinPicture> pictures;
  if (skin == TSkinName::snMidnight) {
    AddMidnightPictures(pictures);
  } else {
    AddFramePictures(pictures);
    AddMenuPictures(pictures);
    AddButtonPictures(pictures);
    AddControlPictures(pictures);
  }
  std::sort(pictures.begin(), pictures.end(),
            [](const TSkinPicture& a, const TSkinPicture& b) { return a.Name < b.Name; });
  return pictures;
}

std::vector<TSkinFile> MakeSkinFiles(TSkinName skin) {
  std::vector<TSkinFile> files{{DefinitionName(skin), MakeSkinDefinition(skin)}};
  for (const TSkinPicture& p : MakeSkinPictures(skin)) files.push_back({p.Name, WriteBmp24(p.Bitmap)});
  return files;
}

bool WriteSkinFolder(const std::filesystem::path& dir, std::string& error, TSkinName skin) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    error = "cannot create " + PathToUtf8(dir) + ": " + ec.message();
    return false;
  }
  for (const TSkinFile& f : MakeSkinFiles(skin))
    if (!ReplaceFileContents(dir / f.FName, f.FData)) {
      error = "cannot write " + PathToUtf8(dir / f.FName);
      return false;
    }
  return true;
}

}  // namespace kv::skingen
