#pragma once
// Colours, fonts, brushes, pens, the canvas and the pictures drawn on it.
//
//   TColor        0x00BBGGRR, or 0xFF000000 + system colour index
//   TFont/TBrush/TPen   descriptions with a lazily made, owned GDI handle
//   TCanvas       drawing on a borrowed DC with the current font, brush and pen
//   TGraphic      something drawable with a natural size
//   TBitmap       a 32-bit top-down DIB section with a canvas of its own
//   TPicture      holds one graphic (a JPEG now, GIFs later)
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "base/win/Handles.h"

namespace kv {

using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
inline constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
inline constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
inline constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;

// A system colour resolved to its current RGB value; RGB values pass unchanged.
COLORREF ColorToRgb(TColor color);

// Called just before a font, brush or pen lets its GDI handle go, so that a canvas that
// has it selected can put its DC's own object back first (a selected object must not be
// deleted). Belongs to the object, so copies do not carry it.
class THandleReleaseHook {
 public:
  THandleReleaseHook() = default;
  THandleReleaseHook(const THandleReleaseHook&) {}
  THandleReleaseHook& operator=(const THandleReleaseHook&) { return *this; }
  void Set(std::function<void()> hook) { FHook = std::move(hook); }
  void operator()() const {
    if (FHook) FHook();
  }

 private:
  std::function<void()> FHook;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
 public:
  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);  // copies the description, not the handle

  const std::wstring& Name() const { return FName; }
  void SetName(std::wstring_view name);
  // Negative: character height in pixels at 96 DPI (what we use); positive: cell height.
  int Height() const { return FHeight; }
  void SetHeight(int height);
  // The scale the handle is made at: the height above in pixels of this DPI.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int dpi);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  unsigned Style() const { return FStyle; }
  void SetStyle(unsigned style);
  BYTE Charset() const { return FCharset; }
  void SetCharset(BYTE charset);

  HFONT Handle() const;
  std::function<void()> OnChange;
  THandleReleaseHook BeforeHandleRelease;

 private:
  void Changed();
  std::wstring FName = L"MS Sans Serif";
  int FHeight = -11;
  int FPixelsPerInch = kDefaultDpi;
  TColor FColor = clWindowText;
  unsigned FStyle = 0;
  BYTE FCharset = DEFAULT_CHARSET;
  mutable TFontHandle FHandle;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle() const;  // null for a clear brush
  THandleReleaseHook BeforeHandleRelease;

 private:
  void DropHandle();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  mutable TBrushHandle FHandle;
};

class TPen {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Width() const { return FWidth; }
  void SetWidth(int width);
  HPEN Handle() const;
  THandleReleaseHook BeforeHandleRelease;

 private:
  void DropHandle();
  TColor FColor = clBlack;
  int FWidth = 1;
  mutable TPenHandle FHandle;
};

class TGraphic;

// Draws on a DC it does not own. Font, brush and pen are selected on each operation and
// the DC's own objects are put back when the canvas lets go of the DC, and also before
// the font, brush or pen drops a handle that is still selected.
class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(HDC dc) : TCanvas() { FDc = dc; }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas() { SetHandle(nullptr); }

  HDC Handle() const { return FDc; }
  void SetHandle(HDC dc);

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }

  void FillRect(const RECT& rect);
  void FrameRect(const RECT& rect);
  void Rectangle(const RECT& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextAt(int x, int y, std::wstring_view text);
  SIZE TextExtent(std::wstring_view text);
  int DrawTextIn(std::wstring_view text, RECT& rect, UINT format);
  void Draw(int x, int y, const TGraphic& graphic);
  COLORREF Pixel(int x, int y) const { return GetPixel(FDc, x, y); }

 private:
  void Select();
  // Puts the DC's own font, brush and pen back (the next operation selects ours again).
  void Deselect();
  HDC FDc = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() == 0 || Height() == 0; }
  virtual void Draw(TCanvas& canvas, const RECT& rect) const = 0;
};

class TBitmap : public TGraphic {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  void SetSize(int width, int height);  // clears to black
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void Draw(TCanvas& canvas, const RECT& rect) const override;

  HBITMAP Handle() const { return FBitmap.Get(); }
  TCanvas& Canvas() { return FCanvas; }
  // Rows are top-down, pixels 0x00RRGGBB.
  std::uint32_t* ScanLine(int y) { return FBits + static_cast<std::size_t>(y) * FWidth; }
  const std::uint32_t* ScanLine(int y) const { return FBits + static_cast<std::size_t>(y) * FWidth; }

 private:
  int FWidth = 0, FHeight = 0;
  std::uint32_t* FBits = nullptr;
  TBitmapHandle FBitmap;
  TMemoryDc FDc;
  TCanvas FCanvas;
};

class TPicture {
 public:
  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  std::function<void()> OnChange;

 private:
  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace kv
