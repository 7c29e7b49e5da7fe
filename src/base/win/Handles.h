#pragma once
// Move-only owners of the Windows handles we create. Borrowed handles stay plain.
//
//   TUniqueHandle<H, Deleter>  generic owner
//   TGdiHandle<H>              GDI objects (DeleteObject)
//   TMemoryDc                  CreateCompatibleDC / DeleteDC
//   TWindowDc                  GetDC / ReleaseDC
//   TPaintDc                   BeginPaint / EndPaint
//   TSelectGuard               SelectObject, restored at scope end
//   TIconHandle, TWindowHandle, TKernelHandle
#include <windows.h>

#include <utility>

namespace kv {

template <class H, class Deleter>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H handle) : FHandle(handle) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, H{})) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, H{}));
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != H{}; }
  H Release() { return std::exchange(FHandle, H{}); }
  void Reset(H handle = H{}) {
    if (FHandle != H{}) Deleter{}(FHandle);
    FHandle = handle;
  }

 private:
  H FHandle{};
};

struct TGdiDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct TDcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct TIconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct TWindowDeleter {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct TKernelDeleter {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

template <class H>
using TGdiHandle = TUniqueHandle<H, TGdiDeleter>;
using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TPenHandle = TGdiHandle<HPEN>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TRegionHandle = TGdiHandle<HRGN>;
using TMemoryDc = TUniqueHandle<HDC, TDcDeleter>;
using TIconHandle = TUniqueHandle<HICON, TIconDeleter>;
using TWindowHandle = TUniqueHandle<HWND, TWindowDeleter>;
using TKernelHandle = TUniqueHandle<HANDLE, TKernelDeleter>;

// A window's DC from GetDC, released with ReleaseDC.
class TWindowDc {
 public:
  explicit TWindowDc(HWND wnd) : FWnd(wnd), FDc(GetDC(wnd)) {}
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  ~TWindowDc() {
    if (FDc) ReleaseDC(FWnd, FDc);
  }
  HDC Get() const { return FDc; }

 private:
  HWND FWnd;
  HDC FDc;
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

// Selects an object into a DC and puts the previous one back at scope end.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ obj) : FDc(dc), FOld(obj ? SelectObject(dc, obj) : nullptr) {}
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;
  ~TSelectGuard() {
    if (FOld) SelectObject(FDc, FOld);
  }

 private:
  HDC FDc;
  HGDIOBJ FOld;
};

// SaveDC/RestoreDC pair.
class TSavedDc {
 public:
  explicit TSavedDc(HDC dc) : FDc(dc), FState(SaveDC(dc)) {}
  TSavedDc(const TSavedDc&) = delete;
  TSavedDc& operator=(const TSavedDc&) = delete;
  ~TSavedDc() { RestoreDC(FDc, FState); }

 private:
  HDC FDc;
  int FState;
};

}  // namespace kv
