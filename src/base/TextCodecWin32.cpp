// GBK conversion on Windows: code page 936 by number, whatever the system's ANSI page is.
#include <windows.h>

#include "base/TextCodec.h"

namespace kv {
namespace {
constexpr UINT kGbk = 936;
}

std::u16string GbkToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(kGbk, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(kGbk, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(kGbk, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, w, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace kv
