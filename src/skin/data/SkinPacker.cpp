#include "skin/data/SkinPacker.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinContainer.h"

namespace kv {

namespace {
void AppendU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
}  // namespace

std::string BuildSkinImage(const std::vector<TSkinFile>& files) {
  if (files.size() > std::size_t(kSkinMaxEntries)) throw std::invalid_argument("a skin holds at most 1001 files");
  std::string list;
  std::uint64_t total = 0;
  for (const TSkinFile& f : files) {
    if (f.FName.empty() || f.FName.find_first_of("\r\n") != std::string::npos)
      throw std::invalid_argument("unusable file name in a skin: '" + f.FName + "'");
    list += f.FName;
    list += "\r\n";
    total += f.FData.size();
  }
  constexpr std::uint64_t limit = std::numeric_limits<std::int32_t>::max();
  if (total + list.size() + 4 * files.size() + kSkinHeaderSize > limit)
    throw std::invalid_argument("a skin must stay below 2 GB");

  std::string image;
  image.reserve(kSkinHeaderSize + list.size() + 4 * files.size() + std::size_t(total));
  AppendU32(image, kSkinVersion);
  AppendU32(image, std::uint32_t(list.size()));
  // The two words the reader skips: we store the entry count and the data length.
  AppendU32(image, std::uint32_t(files.size()));
  AppendU32(image, std::uint32_t(total));
  image += list;
  for (const TSkinFile& f : files) AppendU32(image, std::uint32_t(f.FData.size()));
  for (const TSkinFile& f : files) image += f.FData;
  return image;
}

std::string PackSkinImage(std::string_view image) {
  if (image.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
    throw std::invalid_argument("a skin must stay below 2 GB");
  std::string out;
  AppendU32(out, std::uint32_t(image.size()));
  out += LzhEncode(image);
  return out;
}

std::string BuildSkinContainer(const std::vector<TSkinFile>& files) { return PackSkinImage(BuildSkinImage(files)); }

}  // namespace kv
