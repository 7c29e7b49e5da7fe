#pragma once
// Conversion between the settings file's GBK bytes (code page 936) and the UTF-16 text
// the window shows. Windows uses code page 936 explicitly, never the system ANSI page;
// Linux uses iconv. Undecodable bytes become U+FFFD; unencodable characters become '?'.
#include <string>
#include <string_view>

namespace kv {

std::u16string GbkToUtf16(std::string_view bytes);
std::string Utf16ToGbk(std::u16string_view text);

// UTF-8 helpers for our own source texts (captions and messages are UTF-8 literals).
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace kv
