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
struct TLzhState {
  TLzhState(const TLzhReadProc& read, const TLzhWriteProc& write) : FRead(read), FWrite(write) {}

  const TLzhReadProc& FRead;
  const TLzhWriteProc& FWrite;
  TLzhTree FTree;
  std::array<std::uint8_t, kLzhWindow + kLzhMaxMatch - 1> FRing{};  // 4155; 4096 addressed
  // Written before they are read; left uninitialised, as clearing them costs more than
  // decoding a small skin.
  std::array<std::uint8_t, kInBlock> FIn;
  std::array<std::uint8_t, kOutBlock> FOut;
  std::size_t FInPos = 0;
  std::size_t FInEnd = 0;
  bool FInDry = false;              // the source has reported that nothing is left
  std::uint64_t FMissingBytes = 0;  // zero bytes handed out since then
  std::uint64_t FBits = 0;          // valid bits at the top, most significant first
  int FBitCount = 0;
  std::size_t FOutLen = 0;
  unsigned FR = kLzhStartR;    // next ring position
  std::uint64_t FWritten = 0;  // bytes decoded so far, the last match whole

  std::uint8_t NextInputByte() {
    if (FInPos == FInEnd) {
      if (FInDry) return MissingByte();
      std::uint16_t done = 0;
      FRead(FIn.data(), kInBlock, done);
      if (done == 0 || done > kInBlock) {
        FInDry = true;
        return MissingByte();
      }
      FInPos = 0;
      FInEnd = done;
    }
    return FIn[FInPos++];
  }

  std::uint8_t MissingByte() {
    ++FMissingBytes;
    return 0;
  }

  // Bits decoded that the input never held (the buffer reads ahead, so bytes fetched
  // past the end count only once their bits are used).
  std::uint64_t BitsPastInput() const {
    const std::uint64_t missing = FMissingBytes * 8;
    return missing > std::uint64_t(FBitCount) ? missing - std::uint64_t(FBitCount) : 0;
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

  void Start() {
    FTree.Start();
    std::fill_n(FRing.begin(), kLzhStartR, std::uint8_t(' '));
  }

  // Decodes until at least `total` bytes have been written in all, and hands them on.
  void DecodeTo(std::uint64_t total) {
    constexpr unsigned mask = kLzhWindow - 1;
    unsigned r = FR;
    while (FWritten < total) {
      // Room for a whole match, so the copies below need no check of their own.
      if (FOutLen + kLzhMaxMatch > FOut.size()) Flush();
      const int c = DecodeSymbol();
      if (c < 256) {
        FOut[FOutLen++] = std::uint8_t(c);
        FRing[r] = std::uint8_t(c);
        r = (r + 1) & mask;
        ++FWritten;
        continue;
      }
      const unsigned distance = unsigned(DecodePosition()) + 1;
      unsigned from = (r - distance) & mask;
      const unsigned length = unsigned(c - 255 + kLzhThreshold);
      std::uint8_t* out = FOut.data() + FOutLen;
      if (distance >= length && from + length <= kLzhWindow && r + length <= kLzhWindow) {
        // Neither side wraps and the copy does not read what it writes: one block.
        std::memcpy(out, &FRing[from], length);
        std::memcpy(&FRing[r], out, length);
        r = (r + length) & mask;
      } else {
        for (unsigned k = 0; k < length; ++k) {
          const std::uint8_t b = FRing[from];
          out[k] = b;
          FRing[r] = b;
          from = (from + 1) & mask;
          r = (r + 1) & mask;
        }
      }
      FOutLen += length;
      FWritten += length;
    }
    FR = r;
    Flush();
  }
};

namespace {
std::unique_ptr<TLzhState> NewState(const TLzhReadProc& read, const TLzhWriteProc& write) {
  std::unique_ptr<TLzhState> state;
  try {
    state = std::make_unique<TLzhState>(read, write);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryMessage);
  }
  state->Start();
  return state;
}
}  // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::Unpack(std::uint32_t textSize, const TLzhReadProc& read, const TLzhWriteProc& write) {
  // The tables go with the state, also when decoding throws.
  NewState(read, write)->DecodeTo(textSize);
}

TLzhDecoder::TLzhDecoder(std::string_view stream)
    : FStream(stream),
      FRead([this](std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        const std::size_t n = std::min<std::size_t>(count, FStream.size() - FPos);
        std::copy_n(FStream.data() + FPos, n, buffer);
        FPos += n;
        done = std::uint16_t(n);
      }),
      FWrite([this](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        FOutput.append(reinterpret_cast<const char*>(buffer), count);
        done = count;
      }),
      FState(NewState(FRead, FWrite)) {}

TLzhDecoder::~TLzhDecoder() = default;

void TLzhDecoder::DecodeTo(std::size_t size) { FState->DecodeTo(size); }

bool TLzhDecoder::RanPastInput() const { return FState->BitsPastInput() > kLzhSlackBits; }

std::string LzhDecode(std::string_view stream, std::uint32_t textSize) {
  TLzhDecoder decoder(stream);
  decoder.Output().reserve(std::min<std::uint32_t>(textSize, 1u << 24));
  decoder.DecodeTo(textSize);
  return std::move(decoder.Output());
}

}  // namespace kv
