#include "PngFile.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/FileIo.h"

namespace kv {
namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
constexpr std::uint8_t kColorRgb = 2, kColorRgba = 6;
constexpr std::uint32_t kMaxChunk = 0x7FFFFFFFu;  // the format's own limit for a chunk's length

void PutU32(std::string& out, std::uint32_t v) {
  out.push_back(char(v >> 24));
  out.push_back(char(v >> 16));
  out.push_back(char(v >> 8));
  out.push_back(char(v));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
  return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
         (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

std::uint32_t Crc(std::string_view typeAndData) {
  // zlib's length is a uInt: chunks are below 2^31 bytes, which fits.
  return std::uint32_t(
      crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typeAndData.data()), uInt(typeAndData.size())));
}

void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  PutU32(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.append(type);
  out.append(data);
  PutU32(out, Crc(std::string_view(out).substr(start)));
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return std::uint8_t(a);
  return std::uint8_t(pb <= pc ? b : c);
}

// What row filter `type` predicts a byte from: its left neighbour `a`, the byte above `b`
// and the one above left `c` (0 beyond the picture's edges).
int Predict(int type, int a, int b, int c) {
  switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return Paeth(a, b, c);
    default: return 0;
  }
}

// Row `row` filtered with `type` into `out` (without the type byte). `prior` is the row
// above as stored, all zero for the first.
void FilterRow(int type, const std::uint8_t* row, const std::uint8_t* prior, std::size_t size, std::size_t bpp,
               std::uint8_t* out) {
  for (std::size_t i = 0; i < size; ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0, c = i >= bpp ? prior[i - bpp] : 0;
    out[i] = std::uint8_t(row[i] - Predict(type, a, prior[i], c));
  }
}

// The stored row as it was before `type` filtered it, in place; `prior` as above.
void UnfilterRow(int type, std::uint8_t* row, const std::uint8_t* prior, std::size_t size, std::size_t bpp) {
  for (std::size_t i = 0; i < size; ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0, c = i >= bpp ? prior[i - bpp] : 0;
    row[i] = std::uint8_t(row[i] + Predict(type, a, prior[i], c));
  }
}

// The filter whose output, read as signed bytes, sums to the least: a cheap guess at what
// the compressor packs best.
int ChooseFilter(const std::uint8_t* row, const std::uint8_t* prior, std::size_t size,
                 std::vector<std::uint8_t>& work) {
  int best = 0;
  std::uint64_t bestSum = UINT64_MAX;
  for (int type = 0; type <= 4; ++type) {
    FilterRow(type, row, prior, size, 3, work.data());
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += std::uint64_t(std::abs(int(std::int8_t(work[i]))));
    if (sum < bestSum) {
      bestSum = sum;
      best = type;
    }
  }
  return best;
}

std::optional<TPixelBitmap> Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
  return std::nullopt;
}

// The whole zlib stream inflated; it must give exactly `expected` bytes. A header may
// claim a large picture, but only data that really arrives takes memory.
bool Inflate(std::string_view data, std::size_t expected, std::vector<std::uint8_t>& out, const char*& reason) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) {
    reason = "the decompressor did not start";
    return false;
  }
  constexpr std::size_t kStep = 1 << 16;
  std::uint8_t spare = 0;  // room for one byte beyond the picture, to notice data to spare
  std::size_t fed = 0;
  out.clear();
  reason = nullptr;
  for (;;) {
    if (z.avail_in == 0 && fed < data.size()) {
      const std::size_t take = std::min<std::size_t>(data.size() - fed, 1u << 30);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed));
      z.avail_in = uInt(take);
      fed += take;
    }
    const std::size_t have = out.size();
    if (have < expected) {
      out.resize(std::min(expected, have + kStep));
      z.next_out = out.data() + have;
      z.avail_out = uInt(out.size() - have);
    } else {
      z.next_out = &spare;
      z.avail_out = 1;
    }
    const uInt room = z.avail_out;
    const int status = inflate(&z, Z_NO_FLUSH);
    const std::size_t wrote = room - z.avail_out;
    if (have < expected) {
      out.resize(have + wrote);
    } else if (wrote > 0) {
      reason = "the picture has more data than its size needs";
      break;
    }
    if (status == Z_STREAM_END) {
      if (out.size() != expected) reason = "the picture data ends early";
      break;
    }
    if (status == Z_OK) continue;
    // There is always room for output, so no progress means the input ran out.
    reason = status == Z_BUF_ERROR ? "the picture data ends early" : "the picture data is damaged";
    break;
  }
  inflateEnd(&z);
  return reason == nullptr;
}

}  // namespace

std::optional<std::string> WritePng(const TPixelBitmap& bitmap, int level) {
  if (bitmap.Empty()) return std::nullopt;
  const std::size_t width = std::size_t(bitmap.Width()), height = std::size_t(bitmap.Height());
  const std::size_t stride = width * 3;
  std::vector<std::uint8_t> raw((stride + 1) * height);
  std::vector<std::uint8_t> row(stride), prior(stride, 0), work(stride);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint32_t* pixels = bitmap.Row(int(y));
    for (std::size_t x = 0; x < width; ++x) {
      row[x * 3] = std::uint8_t(pixels[x] >> 16);
      row[x * 3 + 1] = std::uint8_t(pixels[x] >> 8);
      row[x * 3 + 2] = std::uint8_t(pixels[x]);
    }
    const int type = ChooseFilter(row.data(), prior.data(), stride, work);
    std::uint8_t* out = raw.data() + y * (stride + 1);
    out[0] = std::uint8_t(type);
    FilterRow(type, row.data(), prior.data(), stride, 3, out + 1);
    row.swap(prior);
  }

  uLongf packedSize = compressBound(uLong(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, raw.data(), uLong(raw.size()), level) != Z_OK)
    return std::nullopt;
  packed.resize(packedSize);
  if (packed.size() > kMaxChunk) return std::nullopt;

  std::string header;
  PutU32(header, std::uint32_t(width));
  PutU32(header, std::uint32_t(height));
  header += std::string{char(8), char(kColorRgb), 0, 0, 0};  // depth, colour type, deflate, filter set 0, no interlace

  std::string file(kSignature);
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", packed);
  PutChunk(file, "IEND", {});
  return file;
}

std::optional<TPixelBitmap> ReadPng(std::string_view file, std::string* error) {
  if (file.size() < kSignature.size() || file.substr(0, kSignature.size()) != kSignature)
    return Fail(error, "not a PNG file");
  std::size_t at = kSignature.size();
  std::uint32_t width = 0, height = 0;
  std::uint8_t colorType = 0;
  bool haveHeader = false, ended = false;
  std::string data;  // every IDAT chunk's data, in order
  while (!ended) {
    if (file.size() - at < 12) return Fail(error, "the file ends inside a chunk");
    const std::uint32_t length = GetU32(file, at);
    if (length > kMaxChunk || file.size() - at - 12 < length) return Fail(error, "the file ends inside a chunk");
    const std::string_view type = file.substr(at + 4, 4), body = file.substr(at + 8, length);
    if (GetU32(file, at + 8 + length) != Crc(file.substr(at + 4, 4 + std::size_t(length))))
      return Fail(error, "a chunk's checksum is wrong");
    at += 12 + std::size_t(length);
    for (char c : type)
      if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return Fail(error, "a chunk's name is not a name");

    if (!haveHeader) {
      if (type != "IHDR" || length != 13) return Fail(error, "the file does not start with its header");
      width = GetU32(body, 0);
      height = GetU32(body, 4);
      const auto depth = std::uint8_t(body[8]);
      colorType = std::uint8_t(body[9]);
      if (width == 0 || height == 0 || width > kMaxChunk || height > kMaxChunk)
        return Fail(error, "the picture has no valid size");
      if (depth != 8 || (colorType != kColorRgb && colorType != kColorRgba))
        return Fail(error, "only 8-bit RGB and RGBA pictures are read");
      if (body[10] != 0 || body[11] != 0) return Fail(error, "unknown compression or filter method");
      if (body[12] != 0) return Fail(error, "interlaced pictures are not read");
      if (!TPixelBitmap::SizeAllowed(width, height)) return Fail(error, "the picture is too large");
      haveHeader = true;
    } else if (type == "IDAT") {
      data.append(body);
    } else if (type == "IEND") {
      ended = true;
    } else if (type == "IHDR") {
      return Fail(error, "a second header");
    } else if (type == "PLTE") {
      // a suggested palette for displays with few colours: nothing to do here
    } else if (type[0] >= 'A' && type[0] <= 'Z') {
      return Fail(error, "a chunk this reader does not know is marked as needed");
    }
  }
  if (data.empty()) return Fail(error, "the picture has no data");

  const std::size_t bpp = colorType == kColorRgba ? 4 : 3;
  const std::size_t stride = std::size_t(width) * bpp;
  std::vector<std::uint8_t> raw;
  const char* reason = nullptr;
  if (!Inflate(data, (stride + 1) * height, raw, reason)) return Fail(error, reason);

  TPixelBitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  if (bitmap.Empty()) return Fail(error, "the picture is too large");
  std::vector<std::uint8_t> zero(stride, 0);
  const std::uint8_t* prior = zero.data();
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* row = raw.data() + y * (stride + 1);
    if (row[0] > 4) return Fail(error, "a row names an unknown filter");
    UnfilterRow(row[0], row + 1, prior, stride, bpp);
    std::uint32_t* pixels = bitmap.Row(int(y));
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t* p = row + 1 + x * bpp;
      pixels[x] = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
    prior = row + 1;
  }
  if (error) error->clear();
  return bitmap;
}

bool SavePngFile(const std::filesystem::path& path, const TPixelBitmap& bitmap, int level) {
  const std::optional<std::string> file = WritePng(bitmap, level);
  return file && ReplaceFileContents(path, *file);
}

std::optional<TPixelBitmap> LoadPngFile(const std::filesystem::path& path, std::string* error) {
  const std::optional<std::string> file = ReadFileBytes(path);
  if (!file) return Fail(error, "the file cannot be read");
  return ReadPng(*file, error);
}

}  // namespace kv
