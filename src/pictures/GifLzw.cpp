#include "pictures/GifLzw.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kv {

namespace {

static_assert(std::endian::native == std::endian::little, "the code reader assumes little-endian loads");

constexpr std::uint32_t MaxCodes = 4096;
constexpr int MaxCodeSize = 12;

inline std::uint64_t LoadLittle64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Copies `len` bytes in sixteen-byte pieces. Valid when every piece reads only bytes that
// are final by then: the source ends before the destination starts, or lies at least
// sixteen bytes before it (a repeating pattern, copied forward).
inline void CopyPieces(std::uint8_t* dst, const std::uint8_t* src, std::size_t len) {
  std::uint8_t piece[16];
  for (std::size_t done = 0; done < len; done += 16) {
    std::memcpy(piece, src + done, 16);
    std::memcpy(dst + done, piece, 16);
  }
}

}  // namespace

// Every string in the table is a stretch of output already written: a new code stands
// for the previous code's string plus the first index of the current one, and those lie
// side by side in the output. So the table keeps only where each string starts and how
// long it is, and emitting a code is one copy from earlier output.
GifLzwResult GifLzwDecode(const std::uint8_t* data, std::size_t size, int minCodeSize, std::uint8_t* out,
                          std::size_t count) {
  GifLzwResult result;
  if (minCodeSize < 2 || minCodeSize > 8) {
    result.Error = geBadCodeSize;
    return result;
  }
  const std::uint32_t clearCode = 1u << minCodeSize;
  const std::uint32_t endCode = clearCode + 1;
  std::uint32_t starts[MaxCodes];
  std::uint16_t lengths[MaxCodes];

  std::uint32_t nextCode = clearCode + 2;
  int codeSize = minCodeSize + 1;
  std::uint32_t codeMask = (1u << codeSize) - 1;
  const std::uint64_t totalBits = std::uint64_t(size) * 8;
  std::uint64_t bitPos = 0;

  std::size_t pos = 0;
  bool havePrevious = false;
  std::size_t previousPos = 0;
  std::size_t previousLen = 0;

  while (pos < count) {
    if (bitPos + std::uint64_t(codeSize) > totalBits) break;  // data used up
    const std::uint32_t code = std::uint32_t(LoadLittle64(data + (bitPos >> 3)) >> (bitPos & 7)) & codeMask;
    bitPos += std::uint64_t(codeSize);

    if (code == clearCode) {
      nextCode = clearCode + 2;
      codeSize = minCodeSize + 1;
      codeMask = (1u << codeSize) - 1;
      havePrevious = false;
      continue;
    }
    if (code == endCode) break;

    const std::size_t room = count - pos;
    std::size_t len;
    if (code < clearCode) {
      out[pos] = std::uint8_t(code);
      len = 1;
    } else if (!havePrevious) {
      result.Error = geBadCode;  // a string code before any string exists
      break;
    } else if (code < nextCode) {
      len = lengths[code];
      CopyPieces(out + pos, out + starts[code], std::min(len, room));
    } else if (code == nextCode) {
      // The code being defined right now: previous string plus its own first index.
      // Source and destination overlap, `previousLen` apart.
      len = previousLen + 1;
      const std::size_t n = std::min(len, room);
      if (previousLen >= 16) {
        CopyPieces(out + pos, out + previousPos, n);
      } else {
        for (std::size_t i = 0; i < n; ++i) out[pos + i] = out[previousPos + i];
      }
    } else {
      result.Error = geBadCode;
      break;
    }

    if (havePrevious && nextCode < MaxCodes) {
      starts[nextCode] = std::uint32_t(previousPos);
      lengths[nextCode] = std::uint16_t(previousLen + 1);
      ++nextCode;
      if (nextCode == (1u << codeSize) && codeSize < MaxCodeSize) {
        ++codeSize;
        codeMask = (1u << codeSize) - 1;
      }
    }
    havePrevious = true;
    previousPos = pos;
    previousLen = len;
    if (len >= room) {
      pos = count;  // the frame is full; the rest of the stream is ignored
      break;
    }
    pos += len;
  }
  result.Produced = pos;
  return result;
}

}  // namespace kv
