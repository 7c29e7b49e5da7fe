#include "framework/Graphics.h"

namespace kv {

COLORREF ColorToRgb(TColor color) {
  if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

// ---- TFont

TFont::TFont() = default;
TFont::TFont(const TFont& other)
    : FName(other.FName),
      FHeight(other.FHeight),
      FPixelsPerInch(other.FPixelsPerInch),
      FColor(other.FColor),
      FStyle(other.FStyle),
      FCharset(other.FCharset) {}

TFont& TFont::operator=(const TFont& other) {
  if (this == &other) return *this;
  if (FName == other.FName && FHeight == other.FHeight && FPixelsPerInch == other.FPixelsPerInch &&
      FStyle == other.FStyle && FCharset == other.FCharset) {
    // The same face: the handle stays, whatever the colour (a parent's colour change).
    FColor = other.FColor;
    if (OnChange) OnChange();
    return *this;
  }
  FName = other.FName;
  FHeight = other.FHeight;
  FPixelsPerInch = other.FPixelsPerInch;
  FColor = other.FColor;
  FStyle = other.FStyle;
  FCharset = other.FCharset;
  Changed();
  return *this;
}

void TFont::Changed() {
  if (FHandle) BeforeHandleRelease();
  FHandle.Reset();
  if (OnChange) OnChange();
}

void TFont::SetName(std::wstring_view name) {
  FName = name;
  Changed();
}
void TFont::SetHeight(int height) {
  FHeight = height;
  Changed();
}
void TFont::SetPixelsPerInch(int dpi) {
  if (dpi == FPixelsPerInch) return;
  FPixelsPerInch = dpi;
  Changed();
}
void TFont::SetColor(TColor color) {
  FColor = color;
  if (OnChange) OnChange();  // colour lives outside the HFONT
}
void TFont::SetStyle(unsigned style) {
  FStyle = style;
  Changed();
}
void TFont::SetCharset(BYTE charset) {
  FCharset = charset;
  Changed();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleToDpi(FHeight, FPixelsPerInch);
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = FCharset;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectW(&lf));
  }
  return FHandle.Get();
}

// ---- TBrush, TPen

void TBrush::DropHandle() {
  if (FHandle) BeforeHandleRelease();
  FHandle.Reset();
}
void TBrush::SetColor(TColor color) {
  FColor = color;
  DropHandle();
}
void TBrush::SetStyle(TBrushStyle style) {
  FStyle = style;
  DropHandle();
}
HBRUSH TBrush::Handle() const {
  if (FStyle == bsClear) return nullptr;
  if (!FHandle) FHandle.Reset(CreateSolidBrush(ColorToRgb(FColor)));
  return FHandle.Get();
}

void TPen::DropHandle() {
  if (FHandle) BeforeHandleRelease();
  FHandle.Reset();
}
void TPen::SetColor(TColor color) {
  FColor = color;
  DropHandle();
}
void TPen::SetWidth(int width) {
  FWidth = width;
  DropHandle();
}
HPEN TPen::Handle() const {
  if (!FHandle) FHandle.Reset(CreatePen(PS_SOLID, FWidth, ColorToRgb(FColor)));
  return FHandle.Get();
}

// ---- TCanvas

TCanvas::TCanvas() {
  FFont.BeforeHandleRelease.Set([this] { Deselect(); });
  FBrush.BeforeHandleRelease.Set([this] { Deselect(); });
  FPen.BeforeHandleRelease.Set([this] { Deselect(); });
}

void TCanvas::SetHandle(HDC dc) {
  Deselect();
  FDc = dc;
}

void TCanvas::Deselect() {
  if (FDc && FOldFont) {
    SelectObject(FDc, FOldFont);
    SelectObject(FDc, FOldBrush);
    SelectObject(FDc, FOldPen);
  }
  FOldFont = FOldBrush = FOldPen = nullptr;
}

void TCanvas::Select() {
  HGDIOBJ font = SelectObject(FDc, FFont.Handle());
  HGDIOBJ brush =
      SelectObject(FDc, FBrush.Handle() ? static_cast<HGDIOBJ>(FBrush.Handle()) : GetStockObject(NULL_BRUSH));
  HGDIOBJ pen = SelectObject(FDc, FPen.Handle());
  if (!FOldFont) {
    FOldFont = font;
    FOldBrush = brush;
    FOldPen = pen;
  }
  SetTextColor(FDc, ColorToRgb(FFont.Color()));
  if (FBrush.Style() == bsClear) {
    SetBkMode(FDc, TRANSPARENT);
  } else {
    SetBkMode(FDc, OPAQUE);
    SetBkColor(FDc, ColorToRgb(FBrush.Color()));
  }
}

void TCanvas::FillRect(const RECT& rect) {
  if (HBRUSH brush = FBrush.Handle()) ::FillRect(FDc, &rect, brush);
}

void TCanvas::FrameRect(const RECT& rect) {
  if (HBRUSH brush = FBrush.Handle()) ::FrameRect(FDc, &rect, brush);
}

void TCanvas::Rectangle(const RECT& rect) {
  Select();
  ::Rectangle(FDc, rect.left, rect.top, rect.right, rect.bottom);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(FDc, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  Select();
  ::LineTo(FDc, x, y);
}

void TCanvas::TextAt(int x, int y, std::wstring_view text) {
  Select();
  TextOutW(FDc, x, y, text.data(), static_cast<int>(text.size()));
}

SIZE TCanvas::TextExtent(std::wstring_view text) {
  Select();
  SIZE size{};
  GetTextExtentPoint32W(FDc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

int TCanvas::DrawTextIn(std::wstring_view text, RECT& rect, UINT format) {
  Select();
  return ::DrawTextW(FDc, text.data(), static_cast<int>(text.size()), &rect, format);
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  graphic.Draw(*this, RECT{x, y, x + graphic.Width(), y + graphic.Height()});
}

// ---- TBitmap

void TBitmap::SetSize(int width, int height) {
  FCanvas.SetHandle(nullptr);
  FDc.Reset();
  FBitmap.Reset();
  FBits = nullptr;
  FWidth = FHeight = 0;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!FBitmap) return;
  FBits = static_cast<std::uint32_t*>(bits);
  FWidth = width;
  FHeight = height;
  FDc.Reset(CreateCompatibleDC(nullptr));
  SelectObject(FDc.Get(), FBitmap.Get());  // the DC dies first; nothing to put back
  FCanvas.SetHandle(FDc.Get());
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) const {
  if (!FDc) return;
  GdiFlush();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w == FWidth && h == FHeight) {
    BitBlt(canvas.Handle(), rect.left, rect.top, w, h, FDc.Get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    StretchBlt(canvas.Handle(), rect.left, rect.top, w, h, FDc.Get(), 0, 0, FWidth, FHeight, SRCCOPY);
  }
}

// ---- TPicture

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (OnChange) OnChange();
}

}  // namespace kv
