// GBK conversion on Linux (tests and tools), through glibc's iconv "CP936" table, the
// same mapping as the Windows code page 936.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "base/TextCodec.h"

namespace kv {
namespace {

class TIconv {
 public:
  TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~TIconv() { iconv_close(FHandle); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // Converts what it can; on a sequence it cannot convert it emits `replacement` and
  // skips `skipUnit` input bytes.
  std::string Convert(std::string_view in, std::string_view replacement, std::size_t skipUnit) {
    std::string out;
    std::string buffer(4 * in.size() + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (true) {
      char* dst = buffer.data();
      std::size_t dstLeft = buffer.size();
      const std::size_t r = iconv(FHandle, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
      out.append(buffer.data(), buffer.size() - dstLeft);
      if (r != static_cast<std::size_t>(-1)) {
        if (srcLeft == 0) break;
        continue;
      }
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end): replace and go on.
      out.append(replacement);
      const std::size_t skip = std::min(skipUnit, srcLeft);
      src += skip;
      srcLeft -= skip;
      iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
      if (srcLeft == 0) break;
    }
    return out;
  }

 private:
  iconv_t FHandle;
};

}  // namespace

std::u16string GbkToUtf16(std::string_view bytes) {
  static const char kReplacement[2] = {'\xFD', '\xFF'};  // U+FFFD, little-endian
  std::string raw = TIconv("UTF-16LE", "CP936").Convert(bytes, std::string_view(kReplacement, 2), 1);
  std::u16string out(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                   (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
  std::string raw(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    raw[2 * i] = static_cast<char>(text[i] & 0xFF);
    raw[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return TIconv("CP936", "UTF-16LE").Convert(raw, "?", 2);
}

}  // namespace kv
