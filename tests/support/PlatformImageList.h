#pragma once
// An image list made by the platform alone, with no framework component behind it: what a
// dialog or another program hands a header or a tab control.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "base/win/Dc.h"
#include "base/win/Handles.h"

namespace kv::test {

// One size x size image, solid in `pixel` (0xRRGGBB).
inline TImageListHandle PlatformImageList(int size, std::uint32_t pixel) {
  TImageListHandle list(ImageList_Create(size, size, ILC_COLOR24, 1, 1));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const std::vector<std::uint32_t> bits(std::size_t(size) * std::size_t(size), pixel);
  const TWindowDc screen = TWindowDc::Screen();
  const TBitmapHandle picture(
      CreateDIBitmap(screen.Get(), &info.bmiHeader, CBM_INIT, bits.data(), &info, DIB_RGB_COLORS));
  if (list && picture) ImageList_Add(list.Get(), picture.Get(), nullptr);
  return list;
}

}  // namespace kv::test
