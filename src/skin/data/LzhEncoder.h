#pragma once
// The encoder matching TLZH, for the tools that build skin containers (never used by the
// program itself). Longest matches come from binary search trees over the 4096-byte
// ring, one tree per first byte; literals and lengths go through the same adaptive
// Huffman tree as the decoder's.
#include <string>
#include <string_view>

namespace kv {

// Returns the stream alone, without any size header; decode with LzhDecode(stream,
// data.size()).
std::string LzhEncode(std::string_view data);

}  // namespace kv
