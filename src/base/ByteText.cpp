#include "base/ByteText.h"

namespace kv {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string AsciiUpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string AsciiLowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

namespace {
int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}
}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && (s.front() == '$' || s.front() == 'x' || s.front() == 'X')) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  // Accumulate in 64 bits and stop as soon as the magnitude leaves the 32-bit range.
  constexpr std::int64_t limit = std::int64_t{1} << 31;  // |INT32_MIN|
  std::int64_t magnitude = 0;
  for (char c : s) {
    const int d = DigitValue(c, base);
    if (d < 0) return std::nullopt;
    magnitude = magnitude * base + d;
    if (magnitude > limit) return std::nullopt;
  }
  if (!negative && magnitude == limit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback) {
  return ParseInteger(text).value_or(fallback);
}

}  // namespace kv
