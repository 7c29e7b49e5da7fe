#include "framework/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace kv {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we jump back
// to the decoder's frame. Warnings (corrupt data it papered over) are counted.
struct TJpegErrorManager {
  jpeg_error_mgr Public;
  std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<TJpegErrorManager*>(info->err);
  std::longjmp(err->Jump, 1);
}

// Counts warnings (level -1: corrupt or truncated data) without printing anything.
void JpegSilent(j_common_ptr info, int level) {
  if (level < 0) info->err->num_warnings++;
}
void JpegNoOutput(j_common_ptr) {}

// Decodes into `pixels` (0x00RRGGBB rows). Only plain data lives in this frame, so the
// longjmp from libjpeg skips no destructor.
bool Decode(const std::uint8_t* data, std::size_t size, std::vector<std::uint32_t>& pixels, int& width, int& height) {
  jpeg_decompress_struct info;
  TJpegErrorManager err;
  info.err = jpeg_std_error(&err.Public);
  err.Public.error_exit = JpegErrorExit;
  err.Public.emit_message = JpegSilent;
  err.Public.output_message = JpegNoOutput;
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  pixels.resize(static_cast<std::size_t>(width) * height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + static_cast<std::size_t>(info.output_scanline) * width);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  const bool clean = err.Public.num_warnings == 0;
  jpeg_destroy_decompress(&info);
  return clean;
}

}  // namespace

bool TJpegImage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  FBitmap.SetSize(0, 0);
  std::vector<std::uint32_t> pixels;
  int width = 0, height = 0;
  if (bytes.empty() || !Decode(bytes.data(), bytes.size(), pixels, width, height)) return false;
  if (width <= 0 || height <= 0) return false;
  FBitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* src = pixels.data() + static_cast<std::size_t>(y) * width;
    std::uint32_t* dst = FBitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) dst[x] = src[x] & 0x00FFFFFFu;
  }
  return true;
}

}  // namespace kv
