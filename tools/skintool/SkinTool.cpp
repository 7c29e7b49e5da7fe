// skintool: builds, takes apart and lists skin containers.
//
//   skintool pack DIR OUT.skn     the definition (*.ini) and every *.bmp of DIR
//   skintool unpack IN.skn DIR    every entry into DIR, under its stored name
//   skintool list IN.skn          sizes and names
//   skintool check IN.skn         the model the program builds from it, and its problems
//   skintool sheet IN.skn OUT.bmp every picture on one contact sheet (OUT.png where the
//                                 build has libpng)
//   skintool preview IN.skn OUT.png [--size WxH] [--dpi N] [--inactive] [--caption TEXT]
//                                 a window in the skin: frame, caption, menu bar, controls
//                                 (OUT.bmp on builds without libpng)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "SheetPng.h"
#include "SkinCheck.h"
#include "SkinPreview.h"
#include "SkinSheet.h"
#include "base/ByteText.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/PixelScale.h"
#include "skin/data/SkinPacker.h"

namespace fs = std::filesystem;

namespace kv {
namespace {

int Usage() {
  std::cerr << "usage: skintool pack DIR OUT.skn\n"
               "       skintool unpack IN.skn DIR\n"
               "       skintool list IN.skn\n"
               "       skintool check IN.skn       (exit 0: no problems, 1: problems, 2: unreadable)\n"
               "       skintool sheet IN.skn OUT.bmp|OUT.png\n"
               "       skintool preview IN.skn OUT.png|OUT.bmp [--size WxH] [--dpi N] [--inactive] [--caption TEXT]\n";
  return 2;
}

int Fail(const std::string& message) {
  std::cerr << "skintool: " << message << "\n";
  return 1;
}

std::string Shown(const fs::path& p) {
  const auto u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// Windows opens a device, not a file, for these names, whatever extension follows and
// with trailing spaces before it: "con", "CON.bmp", "Com1 .ini", "lpt9.x.y". Refused on
// every system, as a skin unpacked here may be copied to Windows, where such a name also
// cannot be packed from. COM0, LPT0, CONIN$ and CONOUT$ are reserved there as well.
bool DeviceName(const std::string& name) {
  std::string base = AsciiUpperCase(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
    return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9';
}

// Entry names are plain ASCII file names: no path, no line break, nothing a file system
// could read as a place other than the folder it is unpacked into, and no device.
bool SafeEntryName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || DeviceName(name)) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|')
      return false;
  }
  return name.back() != '.' && name.back() != ' ';
}

int Pack(const fs::path& dir, const fs::path& out) {
  std::error_code ec;
  std::vector<std::string> definitions, pictures;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (!e.is_regular_file()) continue;
    const auto u8 = e.path().filename().u8string();
    const std::string name(u8.begin(), u8.end());
    const std::string ext = AsciiLowerCase(fs::path(e.path().extension()).string());
    if (ext != ".ini" && ext != ".bmp") {
      std::cerr << "skintool: leaving out " << name << "\n";
      continue;
    }
    if (!SafeEntryName(name)) return Fail("unusable file name for a skin entry: " + name);
    (ext == ".ini" ? definitions : pictures).push_back(name);
  }
  if (ec) return Fail("cannot read folder " + Shown(dir) + ": " + ec.message());
  if (definitions.size() != 1)
    return Fail("a skin folder needs exactly one definition (*.ini); " + Shown(dir) + " has " +
                std::to_string(definitions.size()));
  std::sort(pictures.begin(), pictures.end());
  std::vector<TSkinFile> files;
  for (const std::string& name : definitions) files.push_back({name, {}});
  for (const std::string& name : pictures) files.push_back({name, {}});
  for (TSkinFile& f : files) {
    auto bytes = ReadFileBytes(dir / PathOf(f.FName));
    if (!bytes) return Fail("cannot read " + f.FName);
    f.FData = std::move(*bytes);
  }
  std::string container;
  try {
    container = BuildSkinContainer(files);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  if (!ReplaceFileContents(out, container)) return Fail("cannot write " + Shown(out));
  std::cout << "packed " << files.size() << " files into " << Shown(out) << " (" << container.size() << " bytes)\n";
  return 0;
}

// Reads a container into its unpacked image and directory, names as stored.
int Load(const fs::path& in, std::string& image, TSkinDirectory& directory) {
  const auto bytes = ReadFileBytes(in);
  if (!bytes) return Fail("cannot read " + Shown(in));
  TSkinImageStatus status;
  try {
    status = UnpackSkinImage(*bytes, image, directory);
  } catch (const ElzhException& e) {
    return Fail(e.what());
  } catch (const std::bad_alloc&) {
    return Fail(Shown(in) + ": out of memory");
  }
  switch (status) {
    case TSkinImageStatus::isNotContainer: return Fail(Shown(in) + " is not a skin container");
    case TSkinImageStatus::isOversized:
      return Fail(Shown(in) + ": unpacks to more than " + std::to_string(kSkinMaxImageSize >> 20) + " MB");
    case TSkinImageStatus::isOlderVersion: return Fail(Shown(in) + ": older skin file (version is not 20000)");
    case TSkinImageStatus::isMalformed: return Fail(Shown(in) + ": damaged skin directory");
    case TSkinImageStatus::isValid: break;
  }
  return 0;
}

int Unpack(const fs::path& in, const fs::path& dir) {
  std::string image;
  TSkinDirectory directory;
  if (int rc = Load(in, image, directory)) return rc;
  for (const std::string& name : directory.FNames)
    if (!SafeEntryName(name)) return Fail("refusing entry name '" + name + "'; nothing unpacked");
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return Fail("cannot create " + Shown(dir) + ": " + ec.message());
  std::set<std::string> written;  // the reader finds the first of equal names only
  std::size_t offset = directory.FDataOffset;
  int count = 0;
  for (std::size_t i = 0; i < directory.FNames.size(); ++i) {
    const std::string& name = directory.FNames[i];
    const std::string_view data = std::string_view(image).substr(offset, std::size_t(directory.FSizes[i]));
    offset += std::size_t(directory.FSizes[i]);
    if (!written.insert(AsciiLowerCase(name)).second) {
      std::cerr << "skintool: skipping second entry named " << name << "\n";
      continue;
    }
    if (!ReplaceFileContents(dir / PathOf(name), data)) return Fail("cannot write " + name);
    ++count;
  }
  std::cout << "unpacked " << count << " files into " << Shown(dir) << "\n";
  return 0;
}

int List(const fs::path& in) {
  std::string image;
  TSkinDirectory directory;
  if (int rc = Load(in, image, directory)) return rc;
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < directory.FNames.size(); ++i) {
    char line[32];
    std::snprintf(line, sizeof line, "%10d  ", directory.FSizes[i]);
    std::cout << line << directory.FNames[i] << "\n";
    total += std::uint64_t(directory.FSizes[i]);
  }
  std::cout << directory.FNames.size() << " entries, " << total << " bytes of data, " << image.size()
            << " bytes unpacked\n";
  return 0;
}

int Check(const fs::path& in) {
  const auto bytes = ReadFileBytes(in);
  if (!bytes) {
    std::cerr << "skintool: cannot read " << Shown(in) << "\n";
    return 2;
  }
  return CheckSkin(*bytes, std::cout, std::cerr);
}

int Sheet(const fs::path& in, const fs::path& out) {
  const auto bytes = ReadFileBytes(in);
  if (!bytes) return Fail("cannot read " + Shown(in));
  TOpenedSkin skin;
  std::string error;
  if (skin.Open(*bytes, error) != TOpenStatus::isOpened) return Fail(Shown(in) + ": " + error);
  const TContactSheet sheet = BuildContactSheet(skin);
  for (const TSheetRow& row : sheet.FRows) {
    char line[160];
    std::snprintf(line, sizeof line, "%4d  %-28s %5d x %-5d %3d frame%s%s\n", row.FNumber, row.FName.c_str(),
                  row.FWidth, row.FHeight, row.FFrames, row.FFrames == 1 ? "" : "s", row.FVertical ? ", stacked" : "");
    std::cout << line;
  }
  for (const std::string& name : sheet.FSkipped)
    std::cout << "   -  " << name << ": not a readable picture or too large for a sheet, left out\n";
  if (sheet.FSheet.Empty()) return Fail("the pictures do not fit on one sheet");
  std::string file;
  if (AsciiLowerCase(Shown(out.extension())) == ".png") {
    auto png = EncodePng(sheet.FSheet);
    if (!png) return Fail("this skintool writes no PNG files; name a .bmp file instead");
    file = std::move(*png);
  } else {
    file = WriteBmp24(sheet.FSheet);
  }
  if (!ReplaceFileContents(out, file)) return Fail("cannot write " + Shown(out));
  std::cout << sheet.FRows.size() << " pictures on a sheet of " << sheet.FSheet.Width() << " x "
            << sheet.FSheet.Height() << ", written to " << Shown(out) << "\n";
  return 0;
}

// preview's options may come anywhere after the command; exactly two paths remain.
int Preview(const std::vector<fs::path>& args) {
  TPreviewOptions options;
  bool sized = false;
  std::vector<fs::path> paths;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string arg = Shown(args[i]);
    if (arg == "--inactive") {
      options.FInactive = true;
    } else if (arg == "--size" && i + 1 < args.size()) {
      if (!ParsePreviewSize(Shown(args[++i]), options.FWidth, options.FHeight))
        return Fail("--size wants WIDTHxHEIGHT, each 1 to " + std::to_string(kPreviewMaxSide) + ", not " +
                    Shown(args[i]));
      sized = true;
    } else if (arg == "--dpi" && i + 1 < args.size()) {
      const std::string text = Shown(args[++i]);
      const bool digits = !text.empty() && text.size() <= 4 && text.find_first_not_of("0123456789") == std::string::npos;
      options.FDpi = digits ? std::stoi(text) : 0;
      if (options.FDpi < 48 || options.FDpi > 480) return Fail("--dpi wants 48 to 480, not " + text);
    } else if (arg == "--caption" && i + 1 < args.size()) {
      options.FCaption = Shown(args[++i]);
    } else if (arg.starts_with("--")) {
      return Usage();
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.size() != 2) return Usage();
  // Without a size, the default window as large as it shows at that DPI.
  if (!sized) {
    options.FWidth = std::min(ScaleLength(options.FWidth, options.FDpi), kPreviewMaxSide);
    options.FHeight = std::min(ScaleLength(options.FHeight, options.FDpi), kPreviewMaxSide);
  }
  return PreviewSkin(paths[0], paths[1], options, std::cout, std::cerr);
}

int Run(const std::vector<fs::path>& args) {
  if (args.empty()) return Usage();
  const std::string command = Shown(args[0]);
  if (command == "pack" && args.size() == 3) return Pack(args[1], args[2]);
  if (command == "unpack" && args.size() == 3) return Unpack(args[1], args[2]);
  if (command == "list" && args.size() == 2) return List(args[1]);
  if (command == "check" && args.size() == 2) return Check(args[1]);
  if (command == "sheet" && args.size() == 3) return Sheet(args[1], args[2]);
  if (command == "preview") return Preview(args);
  return Usage();
}

}  // namespace
}  // namespace kv

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<fs::path> args(argv + 1, argv + argc);
  return kv::Run(args);
}
#else
int main(int argc, char** argv) {
  std::vector<fs::path> args(argv + 1, argv + argc);
  return kv::Run(args);
}
#endif
