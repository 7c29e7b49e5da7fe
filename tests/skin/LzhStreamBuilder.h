#pragma once
// Test helper: writes LZH streams symbol by symbol, so a test can state exactly which
// literals and matches a stream holds without going through the encoder's match finder.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/LzhTree.h"

namespace kv::test {

class TLzhStreamBuilder {
 public:
  TLzhStreamBuilder() { FTree.Start(); }

  void Literal(std::uint8_t byte) { Symbol(byte); }

  // A match of `length` bytes (3..60) starting `distance` bytes back (1..4096).
  void Match(int length, int distance) {
    Symbol(253 + length);
    const int position = distance - 1;
    const int upper = position >> 6;
    int first = 0;
    while (LzhUpperCode(std::uint8_t(first)) != upper) ++first;
    const int codeLength = LzhCodeLength(std::uint8_t(first));
    Bits(unsigned(first) >> (8 - codeLength), codeLength);
    Bits(unsigned(position & 0x3F), 6);
  }

  std::string Finish() const {
    std::string out(FBytes.begin(), FBytes.end());
    if (FCount > 0) out.push_back(char((FPending << (8 - FCount)) & 0xFF));
    return out;
  }

 private:
  void Symbol(int symbol) {
    std::vector<int> path;
    for (int k = FTree.FPrnt[symbol + kLzhNodes]; k != kLzhRoot; k = FTree.FPrnt[k]) path.push_back(k & 1);
    for (auto it = path.rbegin(); it != path.rend(); ++it) Bits(unsigned(*it), 1);
    FTree.Update(symbol);
  }
  void Bits(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      FPending = (FPending << 1) | ((value >> i) & 1u);
      if (++FCount == 8) {
        FBytes.push_back(char(FPending));
        FPending = 0;
        FCount = 0;
      }
    }
  }

  TLzhTree FTree;
  std::vector<char> FBytes;
  unsigned FPending = 0;
  int FCount = 0;
};

}  // namespace kv::test
