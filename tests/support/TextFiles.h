#pragma once
// The bytes of settings files as tests write them: literals with NULs kept, and UTF-16
// files with their byte-order mark.
#include <cstddef>
#include <string>
#include <string_view>

namespace kv::testing {

// A literal's bytes, embedded NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// A UTF-16 file with its byte-order mark, little- or big-endian.
inline std::string Utf16File(std::u16string_view text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace kv::testing
