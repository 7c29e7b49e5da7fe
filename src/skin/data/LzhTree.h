#pragma once
// The adaptive Huffman tree and the fixed position tables of our LZH streams, shared by
// the decoder (TLZH) and the packing tool's encoder so that both stay in step.
//
//   TLzhTree     freq / son / prnt arrays, start, per-symbol update, rebuild
//   LzhUpperCode the upper six bits of a match position for its first byte
//   LzhCodeLength the number of bits that byte's position code takes in all (3..8)
#include <array>
#include <cstdint>

namespace kv {

inline constexpr int kLzhWindow = 4096;                                 // ring buffer, positions masked with 4095
inline constexpr int kLzhMaxMatch = 60;                                 // longest match
inline constexpr int kLzhThreshold = 2;                                 // a match is at least 3 bytes
inline constexpr int kLzhSymbols = 256 + kLzhMaxMatch - kLzhThreshold;  // 314
inline constexpr int kLzhNodes = 2 * kLzhSymbols - 1;                   // 627
inline constexpr int kLzhRoot = kLzhNodes - 1;                          // 626
inline constexpr std::uint16_t kLzhFreqLimit = 0x8000;
inline constexpr int kLzhStartR = kLzhWindow - kLzhMaxMatch;  // 4036, first write position

namespace lzh_detail {
struct TPositionTables {
  std::array<std::uint8_t, 256> FUpper{};
  std::array<std::uint8_t, 256> FLength{};
};

// Upper six bits by the first byte: 1 value of 32, 3 of 16, 8 of 8, 12 of 4, 24 of 2 and
// 16 of 1 byte value each; the code length follows the group size.
constexpr TPositionTables MakePositionTables() {
  TPositionTables t;
  struct Group {
    int FCodes;
    int FSpan;
    std::uint8_t FLength;
  };
  constexpr Group groups[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
  int v = 0;
  int code = 0;
  for (const Group& g : groups)
    for (int c = 0; c < g.FCodes; ++c, ++code)
      for (int k = 0; k < g.FSpan; ++k, ++v) {
        t.FUpper[v] = std::uint8_t(code);
        t.FLength[v] = g.FLength;
      }
  return t;
}
inline constexpr TPositionTables kPositionTables = MakePositionTables();
}  // namespace lzh_detail

constexpr std::uint8_t LzhUpperCode(std::uint8_t firstByte) { return lzh_detail::kPositionTables.FUpper[firstByte]; }
constexpr std::uint8_t LzhCodeLength(std::uint8_t firstByte) { return lzh_detail::kPositionTables.FLength[firstByte]; }

class TLzhTree {
 public:
  // freq has a sentinel 0xFFFF at index 627; son of a leaf is symbol + 627; prnt at
  // symbol + 627 is the leaf that holds the symbol.
  std::array<std::uint16_t, kLzhNodes + 1> FFreq{};
  std::array<std::uint16_t, kLzhNodes> FSon{};
  std::array<std::uint16_t, kLzhNodes + kLzhSymbols> FPrnt{};

  void Start();
  void Rebuild();

  // Counts one more occurrence of `symbol`, keeping the tree ordered by frequency.
  void Update(int symbol) {
    if (FFreq[kLzhRoot] == kLzhFreqLimit) Rebuild();
    int c = FPrnt[symbol + kLzhNodes];
    do {
      const std::uint16_t k = ++FFreq[c];
      int l = c + 1;
      if (k > FFreq[l]) {
        while (k > FFreq[++l]) {
        }
        --l;
        FFreq[c] = FFreq[l];
        FFreq[l] = k;
        const int i = FSon[c];
        FPrnt[i] = std::uint16_t(l);
        if (i < kLzhNodes) FPrnt[i + 1] = std::uint16_t(l);
        const int j = FSon[l];
        FSon[l] = std::uint16_t(i);
        FPrnt[j] = std::uint16_t(c);
        if (j < kLzhNodes) FPrnt[j + 1] = std::uint16_t(c);
        FSon[c] = std::uint16_t(j);
        c = l;
      }
      c = FPrnt[c];
    } while (c != 0);
  }
};

}  // namespace kv
