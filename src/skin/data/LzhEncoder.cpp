#include "skin/data/LzhEncoder.h"

#include <array>
#include <memory>
#include <vector>

#include "skin/data/LzhTree.h"

namespace kv {

namespace {

constexpr int kN = kLzhWindow;
constexpr int kF = kLzhMaxMatch;
constexpr int kNil = kN;  // "no node"

// Code of each upper-six-bit value: the first byte value that decodes to it, whose top
// bits (as many as the code length) are the code.
struct TPositionCodes {
  std::array<std::uint8_t, 64> FCode{};
  std::array<std::uint8_t, 64> FLength{};
};

constexpr TPositionCodes MakePositionCodes() {
  TPositionCodes t;
  for (int v = 255; v >= 0; --v) {
    const int upper = LzhUpperCode(std::uint8_t(v));
    t.FCode[upper] = std::uint8_t(v);
    t.FLength[upper] = LzhCodeLength(std::uint8_t(v));
  }
  return t;
}
constexpr TPositionCodes kPositionCodes = MakePositionCodes();

class TLzhEncoder {
 public:
  std::string Encode(std::string_view data);

 private:
  // Ring of the text; the first F - 1 bytes are mirrored past the end so a comparison
  // never has to wrap.
  std::array<std::uint8_t, kN + kF - 1> FText{};
  // Binary trees of ring positions; rson[N + 1 + b] is the root for first byte b.
  std::array<int, kN + 1> FLeft{};
  std::array<int, kN + 257> FRight{};
  std::array<int, kN + 1> FParent{};
  int FMatchLength = 0;
  int FMatchPosition = 0;  // distance back minus one
  TLzhTree FTree;
  std::string FOut;
  std::uint32_t FBitBuf = 0;  // pending bits at the top
  int FBitCount = 0;

  void InitTrees();
  void InsertNode(int r);
  void DeleteNode(int p);
  void PutBits(std::uint32_t bits, int count);  // low `count` bits, most significant first
  void EncodeSymbol(int symbol);
  void EncodePosition(int position);
};

void TLzhEncoder::InitTrees() {
  for (int i = kN + 1; i <= kN + 256; ++i) FRight[i] = kNil;
  for (int i = 0; i < kN; ++i) FParent[i] = kNil;
}

// Puts the string at r into its tree and finds the longest earlier string sharing its
// start (the nearest one among equally long ones). A string as long as the longest match
// takes the older node's place, so the tree never holds two equal strings.
void TLzhEncoder::InsertNode(int r) {
  int cmp = 1;
  const std::uint8_t* key = &FText[r];
  int p = kN + 1 + key[0];
  FRight[r] = FLeft[r] = kNil;
  FMatchLength = 0;
  for (;;) {
    if (cmp >= 0) {
      if (FRight[p] != kNil) {
        p = FRight[p];
      } else {
        FRight[p] = r;
        FParent[r] = p;
        return;
      }
    } else {
      if (FLeft[p] != kNil) {
        p = FLeft[p];
      } else {
        FLeft[p] = r;
        FParent[r] = p;
        return;
      }
    }
    int i = 1;
    for (; i < kF; ++i) {
      cmp = int(key[i]) - int(FText[p + i]);
      if (cmp != 0) break;
    }
    if (i > kLzhThreshold) {
      const int position = ((r - p) & (kN - 1)) - 1;
      if (i > FMatchLength) {
        FMatchPosition = position;
        FMatchLength = i;
        if (i >= kF) break;
      } else if (i == FMatchLength && position < FMatchPosition) {
        FMatchPosition = position;
      }
    }
  }
  FParent[r] = FParent[p];
  FLeft[r] = FLeft[p];
  FRight[r] = FRight[p];
  FParent[FLeft[p]] = r;
  FParent[FRight[p]] = r;
  if (FRight[FParent[p]] == p) {
    FRight[FParent[p]] = r;
  } else {
    FLeft[FParent[p]] = r;
  }
  FParent[p] = kNil;
}

void TLzhEncoder::DeleteNode(int p) {
  if (FParent[p] == kNil) return;
  int q;
  if (FRight[p] == kNil) {
    q = FLeft[p];
  } else if (FLeft[p] == kNil) {
    q = FRight[p];
  } else {
    // Replace p by its predecessor: the rightmost node of its left subtree.
    q = FLeft[p];
    if (FRight[q] != kNil) {
      while (FRight[q] != kNil) q = FRight[q];
      FRight[FParent[q]] = FLeft[q];
      FParent[FLeft[q]] = FParent[q];
      FLeft[q] = FLeft[p];
      FParent[FLeft[p]] = q;
    }
    FRight[q] = FRight[p];
    FParent[FRight[p]] = q;
  }
  FParent[q] = FParent[p];
  if (FRight[FParent[p]] == p) {
    FRight[FParent[p]] = q;
  } else {
    FLeft[FParent[p]] = q;
  }
  FParent[p] = kNil;
}

void TLzhEncoder::PutBits(std::uint32_t bits, int count) {
  for (int i = count - 1; i >= 0; --i) {
    FBitBuf = (FBitBuf << 1) | ((bits >> i) & 1u);
    if (++FBitCount == 8) {
      FOut.push_back(char(FBitBuf & 0xFF));
      FBitBuf = 0;
      FBitCount = 0;
    }
  }
}

void TLzhEncoder::EncodeSymbol(int symbol) {
  // Walk from the leaf to the root; a node at an odd index is its parent's second child.
  std::array<std::uint8_t, kLzhNodes> path;
  int depth = 0;
  int k = FTree.FPrnt[symbol + kLzhNodes];
  do {
    path[depth++] = std::uint8_t(k & 1);
    k = FTree.FPrnt[k];
  } while (k != kLzhRoot);
  while (depth > 0) PutBits(path[--depth], 1);
  FTree.Update(symbol);
}

void TLzhEncoder::EncodePosition(int position) {
  const int upper = position >> 6;
  const int length = kPositionCodes.FLength[upper];
  PutBits(std::uint32_t(kPositionCodes.FCode[upper]) >> (8 - length), length);
  PutBits(std::uint32_t(position & 0x3F), 6);
}

std::string TLzhEncoder::Encode(std::string_view data) {
  FOut.clear();
  FOut.reserve(data.size() / 2 + 16);
  FTree.Start();
  InitTrees();
  std::size_t in = 0;
  int s = 0;
  int r = kN - kF;
  for (int i = s; i < r; ++i) FText[i] = ' ';
  int len = 0;
  for (; len < kF && in < data.size(); ++len) FText[r + len] = std::uint8_t(data[in++]);
  if (len == 0) return FOut;
  // The F spaces just before r can already be matched.
  for (int i = 1; i <= kF; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (FMatchLength > len) FMatchLength = len;
    if (FMatchLength <= kLzhThreshold) {
      FMatchLength = 1;
      EncodeSymbol(FText[r]);
    } else {
      EncodeSymbol(255 - kLzhThreshold + FMatchLength);
      EncodePosition(FMatchPosition);
    }
    const int last = FMatchLength;
    int i = 0;
    for (; i < last && in < data.size(); ++i) {
      const auto c = std::uint8_t(data[in++]);
      DeleteNode(s);
      FText[s] = c;
      if (s < kF - 1) FText[s + kN] = c;
      s = (s + 1) & (kN - 1);
      r = (r + 1) & (kN - 1);
      InsertNode(r);
    }
    for (; i < last; ++i) {
      DeleteNode(s);
      s = (s + 1) & (kN - 1);
      r = (r + 1) & (kN - 1);
      if (--len > 0) InsertNode(r);
    }
  } while (len > 0);
  if (FBitCount > 0) FOut.push_back(char((FBitBuf << (8 - FBitCount)) & 0xFF));
  return FOut;
}

}  // namespace

std::string LzhEncode(std::string_view data) {
  auto encoder = std::make_unique<TLzhEncoder>();
  return encoder->Encode(data);
}

}  // namespace kv
