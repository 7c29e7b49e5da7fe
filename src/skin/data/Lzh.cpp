#include "skin/data/Lzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "skin/data/LzhTree.h"

namespace kv {

namespace {
constexpr std::uint16_t kInBlock = 32768;
constexpr std::uint16_t kOutBlock = 32768;
}  // namespace

// Everything one run needs; allocated at the start of a run and freed at its end.
struct TLZH::TState {
  TState(const TLzhReadProc& read, const TLzhWriteProc& write) : FRead(read), FWrite(write) {}

  const TLzhReadProc& FRead;
  const TLzhWriteProc& FWrite;
  TLzhTree FTree;
  std::array<std::uint8_t, kLzhWindow + kLzhMaxMatch - 1> FRing{};  // 4155; 4096 addressed
  std::array<std::uint8_t, kInBlock> FIn{};
  std::array<std::uint8_t, kOutBlock> FOut{};
  std::size_t FInPos = 0;
  std::size_t FInEnd = 0;
  bool FInDry = false;       // the source has reported that nothing is left
  std::uint64_t FBits = 0;   // valid bits at the top, most significant first
  int FBitCount = 0;
  std::size_t FOutLen = 0;

  std::uint8_t NextInputByte() {
    if (FInPos == FInEnd) {
      if (FInDry) return 0;
      std::uint16_t done = 0;
      FRead(FIn.data(), kInBlock, done);
      if (done == 0 || done > kInBlock) {
        FInDry = true;
        return 0;
      }
      FInPos = 0;
      FInEnd = done;
    }
    return FIn[FInPos++];
  }

  // Tops the bit buffer up to at least 57 bits; bytes past the end of input are zero.
  void Refill() {
    while (FBitCount <= 56) {
      FBits |= std::uint64_t(NextInputByte()) << (56 - FBitCount);
      FBitCount += 8;
    }
  }

  unsigned GetBit() {
    if (FBitCount == 0) Refill();
    const unsigned bit = unsigned(FBits >> 63);
    FBits <<= 1;
    --FBitCount;
    return bit;
  }

  unsigned GetBits(int count) {  // count 1..8
    if (FBitCount < count) Refill();
    const unsigned v = unsigned(FBits >> (64 - count));
    FBits <<= count;
    FBitCount -= count;
    return v;
  }

  int DecodeSymbol() {
    int c = FTree.FSon[kLzhRoot];
    while (c < kLzhNodes) {
      c += int(GetBit());
      c = FTree.FSon[c];
    }
    c -= kLzhNodes;
    FTree.Update(c);
    return c;
  }

  int DecodePosition() {
    unsigned v = GetBits(8);
    const unsigned upper = LzhUpperCode(std::uint8_t(v));
    const int extra = LzhCodeLength(std::uint8_t(v)) - 2;
    v = (v << extra) | GetBits(extra);
    return int((upper << 6) | (v & 0x3F));
  }

  void Flush() {
    std::size_t pos = 0;
    while (pos < FOutLen) {
      std::uint16_t done = 0;
      const auto count = std::uint16_t(FOutLen - pos);
      FWrite(FOut.data() + pos, count, done);
      if (done == 0 || done > count) throw ElzhException("LZH : output refused");
      pos += done;
    }
    FOutLen = 0;
  }
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::Unpack(std::uint32_t textSize, const TLzhReadProc& read, const TLzhWriteProc& write) {
  std::unique_ptr<TState> state;
  try {
    state = std::make_unique<TState>(read, write);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryMessage);
  }
  Run(*state, textSize);
  // The tables go with `state`, also when decoding throws.
}

void TLZH::Run(TState& s, std::uint32_t textSize) {
  s.FTree.Start();
  for (int i = 0; i < kLzhStartR; ++i) s.FRing[i] = ' ';
  unsigned r = kLzhStartR;
  std::uint64_t written = 0;
  constexpr unsigned mask = kLzhWindow - 1;
  while (written < textSize) {
    // Room for a whole match, so the copies below need no check of their own.
    if (s.FOutLen + kLzhMaxMatch > s.FOut.size()) s.Flush();
    const int c = s.DecodeSymbol();
    if (c < 256) {
      s.FOut[s.FOutLen++] = std::uint8_t(c);
      s.FRing[r] = std::uint8_t(c);
      r = (r + 1) & mask;
      ++written;
      continue;
    }
    const unsigned distance = unsigned(s.DecodePosition()) + 1;
    unsigned from = (r - distance) & mask;
    const unsigned length = unsigned(c - 255 + kLzhThreshold);
    std::uint8_t* out = s.FOut.data() + s.FOutLen;
    if (distance >= length && from + length <= kLzhWindow && r + length <= kLzhWindow) {
      // Neither side wraps and the copy does not read what it writes: one block.
      std::memcpy(out, &s.FRing[from], length);
      std::memcpy(&s.FRing[r], out, length);
      r = (r + length) & mask;
    } else {
      for (unsigned k = 0; k < length; ++k) {
        const std::uint8_t b = s.FRing[from];
        out[k] = b;
        s.FRing[r] = b;
        from = (from + 1) & mask;
        r = (r + 1) & mask;
      }
    }
    s.FOutLen += length;
    written += length;
  }
  s.Flush();
}

std::string LzhDecode(std::string_view stream, std::uint32_t textSize) {
  std::string out;
  out.reserve(std::min<std::uint32_t>(textSize, 1u << 24));
  std::size_t pos = 0;
  TLZH lzh;
  lzh.Unpack(
      textSize,
      [&](std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        const std::size_t n = std::min<std::size_t>(count, stream.size() - pos);
        std::copy_n(stream.data() + pos, n, buffer);
        pos += n;
        done = std::uint16_t(n);
      },
      [&](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        out.append(reinterpret_cast<const char*>(buffer), count);
        done = count;
      });
  return out;
}

}  // namespace kv
