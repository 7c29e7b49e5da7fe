#pragma once
// Move-only owners of the Windows handles we create. Borrowed handles stay plain
// parameters; every handle this program creates lives in one of these.
//
//   TUniqueHandle<H, Traits>  generic owner (Traits: Close, and Invalid when not null)
//   TGdiHandle<H>             GDI objects (DeleteObject): fonts, brushes, pens, bitmaps, regions
//   TMemoryDc                 CreateCompatibleDC / DeleteDC
//   TImageListHandle          ImageList_Destroy
//   TIconHandle, TWindowHandle, TMenuHandle, THookHandle, TKernelHandle, TFileHandle (INVALID_HANDLE_VALUE kind)
//   TComPtr<I>                a COM interface, released once
//   LiveHandleCounts          how many handles these owners hold now, by kind
//
// Device-context scope guards (window DCs, paint DCs, selections, buffers) are in Dc.h.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <utility>

namespace kv {

// What kind of system resource an owner holds: the counts below follow each kind, so a
// test can tell a leak of GDI objects from one of windows.
enum class THandleKind { hkGdi, hkUser, hkKernel, hkCount };

namespace detail {
inline std::atomic<long> GLiveHandles[int(THandleKind::hkCount)]{};
}

// Handles held by the owners of this file right now (not those the system made for us).
inline long LiveHandleCount(THandleKind kind) { return detail::GLiveHandles[int(kind)].load(); }

template <class H, class Traits>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H handle) { Reset(handle); }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, Invalid())) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, Invalid());
    }
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  H Get() const { return FHandle; }
  explicit operator bool() const { return Valid(FHandle); }
  // Gives the handle up (to a call that takes it over, such as SetWindowRgn).
  H Release() {
    if (Valid(FHandle)) --detail::GLiveHandles[int(Traits::kKind)];
    return std::exchange(FHandle, Invalid());
  }
  void Reset(H handle = Invalid()) {
    if (handle == FHandle) return;
    if (Valid(FHandle)) {
      Traits::Close(FHandle);
      --detail::GLiveHandles[int(Traits::kKind)];
    }
    FHandle = handle;
    if (Valid(FHandle)) ++detail::GLiveHandles[int(Traits::kKind)];
  }

 private:
  static H Invalid() {
    if constexpr (requires { Traits::Invalid(); }) {
      return Traits::Invalid();
    } else {
      return H{};
    }
  }
  static bool Valid(H handle) { return handle != H{} && handle != Invalid(); }
  H FHandle = Invalid();
};

struct TGdiTraits {
  static constexpr THandleKind kKind = THandleKind::hkGdi;
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct TMemoryDcTraits {
  static constexpr THandleKind kKind = THandleKind::hkGdi;
  static void Close(HDC h) { DeleteDC(h); }
};
struct TIconTraits {
  static constexpr THandleKind kKind = THandleKind::hkUser;
  static void Close(HICON h) { DestroyIcon(h); }
};
struct TWindowTraits {
  static constexpr THandleKind kKind = THandleKind::hkUser;
  static void Close(HWND h) { DestroyWindow(h); }
};
// DestroyMenu also destroys the submenus still attached: detach those owned elsewhere first.
struct TMenuTraits {
  static constexpr THandleKind kKind = THandleKind::hkUser;
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct THookTraits {
  static constexpr THandleKind kKind = THandleKind::hkUser;
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct TKernelTraits {
  static constexpr THandleKind kKind = THandleKind::hkKernel;
  static void Close(HANDLE h) { CloseHandle(h); }
};
// Image lists hold GDI bitmaps: counted with the GDI objects.
struct TImageListTraits {
  static constexpr THandleKind kKind = THandleKind::hkGdi;
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
// Kernel handles whose failure value is INVALID_HANDLE_VALUE, not null: files from
// CreateFile, Tool Help snapshots.
struct TFileTraits : TKernelTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};

template <class H>
using TGdiHandle = TUniqueHandle<H, TGdiTraits>;
using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TPenHandle = TGdiHandle<HPEN>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TRegionHandle = TGdiHandle<HRGN>;
using TMemoryDc = TUniqueHandle<HDC, TMemoryDcTraits>;
using TIconHandle = TUniqueHandle<HICON, TIconTraits>;
using TImageListHandle = TUniqueHandle<HIMAGELIST, TImageListTraits>;
using TWindowHandle = TUniqueHandle<HWND, TWindowTraits>;
using TMenuHandle = TUniqueHandle<HMENU, TMenuTraits>;
using THookHandle = TUniqueHandle<HHOOK, THookTraits>;
using TKernelHandle = TUniqueHandle<HANDLE, TKernelTraits>;
using TFileHandle = TUniqueHandle<HANDLE, TFileTraits>;

// A COM interface pointer that releases its reference once.
template <class I>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      FPtr = std::exchange(other.FPtr, nullptr);
    }
    return *this;
  }
  ~TComPtr() { Reset(); }

  I* operator->() const { return FPtr; }
  I* Get() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // For the creating call's out parameter; drops what was held first.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&FPtr);
  }
  void Reset() {
    if (FPtr) std::exchange(FPtr, nullptr)->Release();
  }

 private:
  I* FPtr = nullptr;
};

}  // namespace kv
