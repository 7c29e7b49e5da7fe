#pragma once
// TLZH: the decompressor of the skin container's stream (LZSS over a 4096-byte ring of
// spaces, literals and match lengths in an adaptive Huffman tree, match positions in a
// fixed code for the upper six bits plus six raw bits).
//
// The stream has no header: the caller knows the unpacked size and passes it as
// textSize. Decoding writes at least textSize bytes (the last match is written whole);
// missing input reads as zero bits, so truncated or corrupt input yields wrong bytes but
// never an error of its own.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* kLzhFreeMessage = "LZH : Error freeing memory for dictionary tables";

// An encoder ends its stream on a whole byte; a few bits more are forgiven to one that
// drops a last zero byte.
inline constexpr std::uint64_t kLzhSlackBits = 8;

// Byte source and sink: a buffer, the count asked for, and the count actually moved.
// A source that has nothing left reports 0; the decoder then reads zero bits.
using TLzhReadProc = std::function<void(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done)>;
using TLzhWriteProc = std::function<void(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done)>;

struct TLzhState;

class TLZH {
 public:
  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Decodes until at least textSize bytes have gone to `write`. The source is read in
  // blocks and the sink fed in blocks. Exceptions of either end the run.
  void Unpack(std::uint32_t textSize, const TLzhReadProc& read, const TLzhWriteProc& write);
};

// An in-memory stream decoded a piece at a time: each call goes on where the last one
// stopped, so a reader can check the first bytes before it decodes the rest.
class TLzhDecoder {
 public:
  explicit TLzhDecoder(std::string_view stream);  // `stream` must outlive the decoder
  ~TLzhDecoder();
  TLzhDecoder(const TLzhDecoder&) = delete;
  TLzhDecoder& operator=(const TLzhDecoder&) = delete;

  // Decodes until at least `size` bytes have gone to Output() in all (the last match is
  // written whole, so up to 59 more may come).
  void DecodeTo(std::size_t size);
  std::string& Output() { return FOutput; }
  // Whether the output so far needed more input than the stream holds: the stream was
  // cut short (a truncated file), and what came out past its end is made up.
  bool RanPastInput() const;

 private:
  std::string_view FStream;
  std::size_t FPos = 0;
  std::string FOutput;
  TLzhReadProc FRead;
  TLzhWriteProc FWrite;
  std::unique_ptr<TLzhState> FState;
};

// Convenience for in-memory data: decodes `stream` to (at least) textSize bytes.
std::string LzhDecode(std::string_view stream, std::uint32_t textSize);

}  // namespace kv
