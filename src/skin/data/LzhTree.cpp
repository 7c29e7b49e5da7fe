#include "skin/data/LzhTree.h"

#include <algorithm>

namespace kv {

namespace {

// Every symbol counted once. Made at compile time: starting a stream is one copy.
constexpr TLzhTree MakeStartTree() {
  TLzhTree t;
  for (int i = 0; i < kLzhSymbols; ++i) {
    t.FFreq[i] = 1;
    t.FSon[i] = std::uint16_t(i + kLzhNodes);
    t.FPrnt[i + kLzhNodes] = std::uint16_t(i);
  }
  for (int i = 0, j = kLzhSymbols; j < kLzhNodes; i += 2, ++j) {
    t.FFreq[j] = std::uint16_t(t.FFreq[i] + t.FFreq[i + 1]);
    t.FSon[j] = std::uint16_t(i);
    t.FPrnt[i] = t.FPrnt[i + 1] = std::uint16_t(j);
  }
  t.FFreq[kLzhNodes] = 0xFFFF;
  t.FPrnt[kLzhRoot] = 0;
  return t;
}
constexpr TLzhTree kStartTree = MakeStartTree();

}  // namespace

void TLzhTree::Start() { *this = kStartTree; }

void TLzhTree::Rebuild() {
  // Leaves first, in their present order, with halved counts (never below 1).
  int j = 0;
  for (int i = 0; i < kLzhNodes; ++i) {
    if (FSon[i] >= kLzhNodes) {
      FFreq[j] = std::uint16_t((FFreq[i] + 1) / 2);
      FSon[j] = FSon[i];
      ++j;
    }
  }
  // Then the inner nodes from consecutive pairs, each slid in after every node whose
  // count is not above its own.
  for (int i = 0, node = kLzhSymbols; node < kLzhNodes; i += 2, ++node) {
    const std::uint16_t f = std::uint16_t(FFreq[i] + FFreq[i + 1]);
    int k = node - 1;
    while (f < FFreq[k]) --k;
    ++k;
    std::copy_backward(FFreq.begin() + k, FFreq.begin() + node, FFreq.begin() + node + 1);
    std::copy_backward(FSon.begin() + k, FSon.begin() + node, FSon.begin() + node + 1);
    FFreq[k] = f;
    FSon[k] = std::uint16_t(i);
  }
  for (int i = 0; i < kLzhNodes; ++i) {
    const int k = FSon[i];
    if (k >= kLzhNodes) {
      FPrnt[k] = std::uint16_t(i);
    } else {
      FPrnt[k] = FPrnt[k + 1] = std::uint16_t(i);
    }
  }
}

}  // namespace kv
