#pragma once
// Device-context scope guards: whatever a painting routine borrows or changes on a DC
// is given back when the guard goes out of scope, on every path.
//
//   TWindowDc       GetDC / GetWindowDC / GetDCEx, released with ReleaseDC
//   TPaintDc        BeginPaint / EndPaint
//   TSelectGuard    SelectObject, the previous object put back (nothing when it failed)
//   TSavedDc        SaveDC / RestoreDC
//   TTextStateGuard text colour, background mode and colour, font: restored at scope end
//   TBufferDc       an off-screen copy of part of a DC, copied to it once at scope end
#include <windows.h>

#include <optional>
#include <utility>

#include "base/win/Handles.h"

namespace kv {

// A DC of a window, released with ReleaseDC. Client() is the client area (GetDC),
// Whole() the whole window with its frame (GetWindowDC), Ex() the GetDCEx form that the
// non-client painting of a frame needs (a clip region and DCX_ flags).
class TWindowDc {
 public:
  static TWindowDc Client(HWND wnd) { return TWindowDc(wnd, GetDC(wnd)); }
  static TWindowDc Whole(HWND wnd) { return TWindowDc(wnd, GetWindowDC(wnd)); }
  static TWindowDc Ex(HWND wnd, HRGN clip, DWORD flags) { return TWindowDc(wnd, GetDCEx(wnd, clip, flags)); }
  // The screen's DC (for measuring text and making compatible bitmaps).
  static TWindowDc Screen() { return Client(nullptr); }

  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  TWindowDc(TWindowDc&& other) noexcept : FWnd(other.FWnd), FDc(std::exchange(other.FDc, nullptr)) {}
  TWindowDc& operator=(TWindowDc&& other) noexcept {
    if (this != &other) {
      Release();
      FWnd = other.FWnd;
      FDc = std::exchange(other.FDc, nullptr);
    }
    return *this;
  }
  ~TWindowDc() { Release(); }

  HDC Get() const { return FDc; }
  explicit operator bool() const { return FDc != nullptr; }

 private:
  TWindowDc(HWND wnd, HDC dc) : FWnd(wnd), FDc(dc) {
    if (FDc) ++detail::GLiveHandles[int(THandleKind::hkGdi)];
  }
  void Release() {
    if (!FDc) return;
    ReleaseDC(FWnd, std::exchange(FDc, nullptr));
    --detail::GLiveHandles[int(THandleKind::hkGdi)];
  }
  HWND FWnd = nullptr;
  HDC FDc = nullptr;
};

// The DC of one WM_PAINT, ended with EndPaint.
class TPaintDc {
 public:
  explicit TPaintDc(HWND wnd) : FWnd(wnd) { FDc = BeginPaint(wnd, &FPaint); }
  TPaintDc(const TPaintDc&) = delete;
  TPaintDc& operator=(const TPaintDc&) = delete;
  ~TPaintDc() { EndPaint(FWnd, &FPaint); }
  HDC Get() const { return FDc; }
  const RECT& PaintRect() const { return FPaint.rcPaint; }

 private:
  HWND FWnd;
  HDC FDc;
  PAINTSTRUCT FPaint{};
};

// Selects an object into a DC and puts the previous one back at scope end. A failed
// selection (a null object, a bitmap already selected elsewhere, a bad DC) leaves the
// DC as it was and restores nothing: Ok() tells.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ object) : FDc(dc) {
    if (!dc || !object) return;
    HGDIOBJ old = SelectObject(dc, object);
    if (old && old != HGDI_ERROR) FOld = old;
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;
  ~TSelectGuard() {
    if (FOld) SelectObject(FDc, FOld);
  }
  bool Ok() const { return FOld != nullptr; }

 private:
  HDC FDc;
  HGDIOBJ FOld = nullptr;
};

// SaveDC / RestoreDC.
class TSavedDc {
 public:
  explicit TSavedDc(HDC dc) : FDc(dc), FState(SaveDC(dc)) {}
  TSavedDc(const TSavedDc&) = delete;
  TSavedDc& operator=(const TSavedDc&) = delete;
  ~TSavedDc() {
    if (FState) RestoreDC(FDc, FState);
  }

 private:
  HDC FDc;
  int FState;
};

// What text drawing changes on a DC: put back at scope end, so a painter can set colours
// and a font on a DC it was lent without the owner seeing them afterwards.
class TTextStateGuard {
 public:
  explicit TTextStateGuard(HDC dc)
      : FDc(dc),
        FTextColor(GetTextColor(dc)),
        FBkColor(GetBkColor(dc)),
        FBkMode(GetBkMode(dc)),
        FFont(GetCurrentObject(dc, OBJ_FONT)) {}
  TTextStateGuard(const TTextStateGuard&) = delete;
  TTextStateGuard& operator=(const TTextStateGuard&) = delete;
  ~TTextStateGuard() {
    SetTextColor(FDc, FTextColor);
    SetBkColor(FDc, FBkColor);
    SetBkMode(FDc, FBkMode);
    if (FFont) SelectObject(FDc, FFont);
  }

 private:
  HDC FDc;
  COLORREF FTextColor, FBkColor;
  int FBkMode;
  HGDIOBJ FFont;
};

// The header of a 32-bit bitmap of width x height whose rows run from the top.
inline BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A 32-bit top-down bitmap for painting off screen and copying to a window. Not one
// compatible with a window or screen DC: asking the display for its format costs Wine
// three server round trips each time (a tenth of a skinned control's paint), and a copy
// from a 32-bit section is what every display takes. Null when the system refuses.
inline HBITMAP CreateBufferBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// An off-screen buffer for the `area` of a target DC (in the target's coordinates).
// Draw on Get() with the same coordinates as on the target; the buffer is copied to
// the target once, when the guard ends. Without memory for the buffer, Get() is the
// target itself, so painting still happens (with flicker) instead of not at all.
class TBufferDc {
 public:
  TBufferDc(HDC target, const RECT& area) : FTarget(target), FArea(area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    FDc.Reset(CreateCompatibleDC(target));
    FBitmap.Reset(CreateBufferBitmap(w, h));
    if (!FDc || !FBitmap) {
      FDc.Reset();
      return;
    }
    FSelect.emplace(FDc.Get(), FBitmap.Get());
    SetWindowOrgEx(FDc.Get(), area.left, area.top, nullptr);
  }
  TBufferDc(const TBufferDc&) = delete;
  TBufferDc& operator=(const TBufferDc&) = delete;
  ~TBufferDc() {
    if (!FDc) return;
    BitBlt(FTarget, FArea.left, FArea.top, FArea.right - FArea.left, FArea.bottom - FArea.top, FDc.Get(), FArea.left,
           FArea.top, SRCCOPY);
  }
  HDC Get() const { return FDc ? FDc.Get() : FTarget; }
  bool Buffered() const { return bool(FDc); }

 private:
  // Declared in destruction order: the selection ends before the bitmap and DC go.
  HDC FTarget;
  RECT FArea;
  TMemoryDc FDc;
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

}  // namespace kv
