#include "skin/data/SkinContainer.h"

#include <algorithm>
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
std::int32_t ReadI32(std::string_view bytes, std::size_t at) { return std::int32_t(ReadU32(bytes, at)); }
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

namespace {

// U from a container's first four bytes; false when it is missing, negative or more
// than the stream behind it could ever expand to.
bool DeclaredSize(std::string_view container, std::uint32_t& declared) {
  if (container.size() < 4) return false;
  const std::int32_t size = ReadI32(container, 0);
  const std::uint64_t streamSize = container.size() - 4;
  if (size < 0 || std::uint64_t(size) > kLzhMaxExpansion * streamSize + kLzhMaxExpansion) return false;
  declared = std::uint32_t(size);
  return true;
}

// The directory rules over an image of `imageSize` bytes that becomes readable piece by
// piece: `need(n)` returns the image with at least its first n bytes (n <= imageSize)
// present. Each rule is checked as soon as its bytes are there.
template <class Need>
TSkinImageStatus ReadDirectory(std::uint64_t imageSize, Need&& need, TSkinDirectory& directory) {
  directory = TSkinDirectory{};
  if (imageSize < 4) return TSkinImageStatus::isMalformed;
  std::string_view image = need(std::min<std::uint64_t>(imageSize, kSkinHeaderSize));
  if (ReadU32(image, 0) != kSkinVersion) return TSkinImageStatus::isOlderVersion;
  if (imageSize < kSkinHeaderSize) return TSkinImageStatus::isMalformed;
  if (imageSize > kSkinMaxImageSize) return TSkinImageStatus::isOversized;
  std::memcpy(directory.FHeader.data(), image.data(), kSkinHeaderSize);

  const std::int32_t listLength = ReadI32(image, 4);
  if (listLength < 0 || std::uint64_t(listLength) > imageSize - kSkinHeaderSize) return TSkinImageStatus::isMalformed;
  image = need(kSkinHeaderSize + std::size_t(listLength));
  std::vector<std::string> names = SplitNameList(image.substr(kSkinHeaderSize, std::size_t(listLength)));
  if (names.size() > std::size_t(kSkinMaxEntries)) return TSkinImageStatus::isMalformed;

  const std::size_t sizesAt = kSkinHeaderSize + std::size_t(listLength);
  const std::size_t dataAt = sizesAt + 4 * names.size();
  if (dataAt > imageSize) return TSkinImageStatus::isMalformed;
  image = need(dataAt);
  std::vector<std::int32_t> sizes(names.size());
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadI32(image, sizesAt + 4 * i);
    if (sizes[i] < 0) return TSkinImageStatus::isMalformed;
    total += std::uint64_t(sizes[i]);
  }
  if (total > imageSize - dataAt) return TSkinImageStatus::isMalformed;

  directory.FNames = std::move(names);
  directory.FSizes = std::move(sizes);
  directory.FDataOffset = dataAt;
  return TSkinImageStatus::isValid;
}

}  // namespace

TSkinImageStatus ParseSkinImage(std::string_view image, TSkinDirectory& directory) {
  const TSkinImageStatus status = ReadDirectory(
      image.size(), [image](std::size_t) { return image; }, directory);
  if (status != TSkinImageStatus::isValid) directory = TSkinDirectory{};
  return status;
}

TSkinImageStatus UnpackSkinImage(std::string_view container, std::string& image, TSkinDirectory& directory) {
  image.clear();
  directory = TSkinDirectory{};
  std::uint32_t declared = 0;
  if (!DeclaredSize(container, declared)) return TSkinImageStatus::isNotContainer;
  TLzhDecoder decoder(container.substr(4));
  std::string& out = decoder.Output();
  // The decoder finishes its last match even past U; the image is U bytes at most.
  const auto need = [&](std::size_t size) {
    decoder.DecodeTo(size);
    return std::string_view(out).substr(0, declared);
  };
  const TSkinImageStatus status = ReadDirectory(declared, need, directory);
  if (status != TSkinImageStatus::isValid) {
    directory = TSkinDirectory{};
    return status;
  }
  std::size_t end = directory.FDataOffset;
  for (const std::int32_t size : directory.FSizes) end += std::size_t(size);
  decoder.DecodeTo(end);
  if (decoder.RanPastInput()) return TSkinImageStatus::isMalformed;  // cut short
  out.resize(end);
  image = std::move(out);
  return TSkinImageStatus::isValid;
}

bool TSkinReader::Decompress(std::string_view source, std::string& target) {
  target.clear();
  std::uint32_t declared = 0;
  if (!DeclaredSize(source, declared) || declared > kSkinMaxImageSize) return false;
  TLzhDecoder decoder(source.substr(4));
  decoder.Output().reserve(declared);
  decoder.DecodeTo(declared);
  // A stream cut short decodes to made-up bytes: no skin rather than half of one.
  if (decoder.RanPastInput()) return false;
  target = std::move(decoder.Output());
  // The decoder finishes its last match even past U; the image is U bytes.
  target.resize(declared);
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
  TSkinDirectory directory;
  switch (UnpackSkinImage(container, image, directory)) {
    case TSkinImageStatus::isOlderVersion:
      if (FMessenger) FMessenger->ShowSkinMessage(kOlderSkinMessage);
      return false;
    case TSkinImageStatus::isMalformed:
    case TSkinImageStatus::isNotContainer:
    case TSkinImageStatus::isOversized: return false;
    case TSkinImageStatus::isValid: break;
  }
  Assign(std::move(image), directory);
  return true;
}

void TSkinReader::Assign(std::string image, const TSkinDirectory& directory) {
  Clear();
  FHeader = directory.FHeader;
  FNames.reserve(directory.FNames.size());
  for (const std::string& name : directory.FNames) FNames.push_back(AsciiLowerCase(name));
  std::copy(directory.FSizes.begin(), directory.FSizes.end(), FEntrySizes.begin());
  image.erase(0, directory.FDataOffset);
  FData = std::move(image);
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
