#pragma once
// The Win32 API's wide strings (UTF-16 in wchar_t) and our UTF-8 and UTF-16 texts.
#include <string>
#include <string_view>

#include "base/TextCodec.h"

namespace kv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring WideFromUtf16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string Utf16FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
inline std::wstring WideFromUtf8(std::string_view utf8) { return WideFromUtf16(Utf8ToUtf16(utf8)); }
inline std::string Utf8FromWide(std::wstring_view text) { return Utf16ToUtf8(Utf16FromWide(text)); }

}  // namespace kv
