#pragma once
// Byte-string helpers shared by the INI reader, the settings logic and the skin reader.
// Text here is bytes (GBK in the settings file); only ASCII letters are ever case-folded,
// so a trailing byte of a double-byte character is never altered.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string_view TrimBlanks(std::string_view s);
std::string AsciiUpperCase(std::string_view s);
std::string AsciiLowerCase(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);

// The integer rule of the settings file and of skin definitions: optional blanks and
// sign, then hexadecimal after "$", "x", "X", "0x" or "0X", decimal otherwise; the whole
// text must be the number and it must fit a signed 32-bit value.
std::optional<std::int32_t> ParseInteger(std::string_view text);
std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback);

}  // namespace kv
