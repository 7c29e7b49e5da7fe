#include "skin/data/SkinContainer.h"

#include <cstring>

#include "base/ByteText.h"
#include "skin/data/Lzh.h"

namespace kv {

namespace {
std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
  return v;
}
std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
  return std::int32_t(ReadU32(bytes, at));
}
}  // namespace

std::vector<std::string> SplitNameList(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      ++i;
      if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TSkinImageStatus ParseSkinImage(std::string_view image, TSkinDirectory& directory) {
  directory = TSkinDirectory{};
  if (image.size() < 4) return TSkinImageStatus::isMalformed;
  if (ReadU32(image, 0) != kSkinVersion) return TSkinImageStatus::isOlderVersion;
  if (image.size() < kSkinHeaderSize) return TSkinImageStatus::isMalformed;
  std::memcpy(directory.FHeader.data(), image.data(), kSkinHeaderSize);

  const std::int32_t listLength = ReadI32(image, 4);
  if (listLength < 0 || std::uint64_t(listLength) > image.size() - kSkinHeaderSize)
    return TSkinImageStatus::isMalformed;
  std::vector<std::string> names = SplitNameList(image.substr(kSkinHeaderSize, std::size_t(listLength)));
  if (names.size() > std::size_t(kSkinMaxEntries)) return TSkinImageStatus::isMalformed;

  const std::size_t sizesAt = kSkinHeaderSize + std::size_t(listLength);
  const std::size_t dataAt = sizesAt + 4 * names.size();
  if (dataAt > image.size()) return TSkinImageStatus::isMalformed;
  std::vector<std::int32_t> sizes(names.size());
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadI32(image, sizesAt + 4 * i);
    if (sizes[i] < 0) return TSkinImageStatus::isMalformed;
    total += std::uint64_t(sizes[i]);
  }
  if (total > image.size() - dataAt) return TSkinImageStatus::isMalformed;

  directory.FNames = std::move(names);
  directory.FSizes = std::move(sizes);
  directory.FDataOffset = dataAt;
  return TSkinImageStatus::isValid;
}

bool TSkinReader::Decompress(std::string_view source, std::string& target) {
  target.clear();
  if (source.size() < 4) return false;
  const std::int32_t declared = ReadI32(source, 0);
  const std::string_view stream = source.substr(4);
  if (declared < 0 || std::uint64_t(declared) > kLzhMaxExpansion * stream.size() + kLzhMaxExpansion)
    return false;
  target = LzhDecode(stream, std::uint32_t(declared));
  // The decoder finishes its last match even past U; the image is U bytes.
  target.resize(std::size_t(declared));
  return true;
}

void TSkinReader::Clear() {
  FNames.clear();
  FEntrySizes.fill(0);
  FData.clear();
  FHeader.fill(0);
}

bool TSkinReader::Open(std::string_view container) {
  Clear();
  std::string image;
  if (!Decompress(container, image)) return false;
  TSkinDirectory directory;
  switch (ParseSkinImage(image, directory)) {
    case TSkinImageStatus::isOlderVersion:
      if (FMessenger) FMessenger->ShowSkinMessage(kOlderSkinMessage);
      return false;
    case TSkinImageStatus::isMalformed:
      return false;
    case TSkinImageStatus::isValid:
      break;
  }
  FHeader = directory.FHeader;
  FNames.reserve(directory.FNames.size());
  for (const std::string& name : directory.FNames) FNames.push_back(AsciiLowerCase(name));
  std::copy(directory.FSizes.begin(), directory.FSizes.end(), FEntrySizes.begin());
  FData.assign(image, directory.FDataOffset);
  return true;
}

void TSkinReader::CopyEntry(std::size_t index, std::string& out) const {
  std::size_t offset = 0;
  for (std::size_t i = 0; i < index; ++i) offset += std::size_t(FEntrySizes[i]);
  out.assign(FData, offset, std::size_t(FEntrySizes[index]));
}

void TSkinReader::ReadEntry(std::string_view name, std::string& out) const {
  out.clear();
  const std::string wanted = AsciiLowerCase(name);
  for (std::size_t i = 0; i < FNames.size(); ++i) {
    if (FNames[i] == wanted) {
      CopyEntry(i, out);
      return;
    }
  }
}

bool TSkinReader::FindEntry(std::string_view fragment, std::string& out, std::string& name) const {
  out.clear();
  if (fragment.empty()) return false;  // an empty fragment is contained nowhere, as in Pos
  for (std::size_t i = 0; i < FNames.size(); ++i) {
    if (FNames[i].find(fragment) != std::string::npos) {
      CopyEntry(i, out);
      name = FNames[i];
      return true;
    }
  }
  return false;
}

}  // namespace kv
