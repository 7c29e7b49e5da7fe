#include "skin/controls/SkinBoxes.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The header picture, when the skin has one to draw.
const TDataSkinObject* HeaderbarOf(const TSkinData* data, HWND window) {
  const TDataSkinObject* bar = data ? data->ModelFor(window).Headerbar.get() : nullptr;
  return bar && !bar->Image.Empty() ? bar : nullptr;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

THeaderItem ReadHeaderItem(HWND header, int index) {
  THeaderItem result;
  // One unit more than the header may fill, so the text is always terminated.
  wchar_t text[kHeaderTextLength + 2] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kHeaderTextLength + 1;
  if (!SendMessageW(header, HDM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item))) return result;
  // Only our own buffer is read: a text kept for the parent to supply has no units here.
  if (item.pszText == text) {
    std::size_t length = wcsnlen(text, kHeaderTextLength);
    // A cut between the halves of a pair would leave half a character.
    if (length > 0 && IsHighSurrogate(text[length - 1])) --length;
    result.Text.assign(text, length);
  }
  const int justify = item.fmt & HDF_JUSTIFYMASK;
  result.Alignment = justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT;
  if (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) result.ImageIndex = item.iImage;
  return result;
}

// ---- header

void TSkinHeader::AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas) {
  const bool wasAttached = Attached();
  TSkinControl::AttachWindow(window, skinData, canvas);
  if (wasAttached || !Attached()) return;
  if (TSkinControlHost* host = Host()) host->AddControlSkin(this);
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
  if (message.Msg == WM_ERASEBKGND && HeaderbarOf(FSkinData, FHandle)) {
    message.Result = 1;
    return false;
  }
  return true;
}

void TSkinHeader::DrawHeaderItem(HIMAGELIST images, TCanvas& canvas, int index, const RECT& r) {
  const TDataSkinObject* bar = HeaderbarOf(FSkinData, FHandle);
  if (!bar) return;
  const THeaderItem item = ReadHeaderItem(FHandle, index);
  TElementImage image = ElementImage(*bar);
  image.FFrameCount = FixedFrameCount(TElementKind::ekHeader);
  image.FTransparent = false;  // each item covers its place whole
  kv::DrawElement(canvas.Handle(), ToRect(r), image, FrameIndex(TElementKind::ekHeader, TStateFlags::csNone));
  if (item.Text.empty()) return;  // no text: no image either
  // A long text stops at its own item rather than running into the next one.
  const TSavedDc saved(canvas.Handle());
  IntersectClipRect(canvas.Handle(), r.left, r.top, r.right, r.bottom);
  DrawImageCaption(canvas, r, item.Alignment, item.Text, item.ImageIndex, images);
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinObject* bar = HeaderbarOf(FSkinData, FHandle);
  if (!bar || !FHandle) return;
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  FEnabled = IsWindowEnabled(FHandle) != FALSE;

  const TBufferDc buffer(dc, rect);
  HDC work = buffer.Get();
  FillFace(work, rect);  // under the magenta of a transparent strip, not black
  TCanvas canvas(work);  // gives the buffer its own font back before the copy
  UseWindowFont(canvas, FHandle);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));

  LONG right = rect.left;
  const int count = int(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (!SendMessageW(FHandle, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
    DrawHeaderItem(images, canvas, i, r);
    right = std::max(right, r.right);
  }
  if (right < rect.right) {
    const RECT rest{right, rect.top, rect.right, rect.bottom};
    DrawElement(work, rest, FixedFrameCount(TElementKind::ekHeader),
                FrameIndex(TElementKind::ekHeader, TStateFlags::csNone), *bar);
  }
}

// ---- box

void TSkinBox::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (!BindControl(control, skinData, recolor, canvas)) return;
  if (TSkinControlHost* host = Host()) host->AddControlSkin(this);
  FEnabled = IsWindowEnabled(FHandle) != FALSE;
  if (recolor) ReplaceColor(control);
  // A group box draws its own caption: only one in a visual style needs us (see DrawCaption).
  if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) HookControl(control);
  FAttached = true;
}

void TSkinBox::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const auto dc = reinterpret_cast<HDC>(message.WParam);
      if (dc) {
        DrawGroupCaption(dc);
      } else if (FHandle) {
        const TWindowDc client = TWindowDc::Client(FHandle);
        if (client) DrawGroupCaption(client.Get());
      }
      break;
    }
    default: break;
  }
}

// A group box in a visual style writes its caption in the style's text colour, whatever
// the colour message asked for: black on a dark face. The caption is written again where
// the style put it (its font, eight pixels in, at the top), on the
// box's own ground, in the skin's text colour. A disabled caption keeps the style's grey.
void TSkinBox::DrawGroupCaption(HDC dc) {
  if (!FHandle || !FControl || !FSkinData || !IsWindowEnabled(FHandle)) return;
  const HTHEME theme = GetWindowTheme(FHandle);
  if (!theme) return;  // the classic paint takes the colour the colour message gives
  const int length = GetWindowTextLengthW(FHandle);
  if (length <= 0) return;
  std::wstring text(std::size_t(length) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(FHandle, text.data(), length + 1)));
  if (text.empty()) return;

  LOGFONTW log{};
  TFontHandle themeFont;
  if (SUCCEEDED(GetThemeFont(theme, dc, BP_GROUPBOX, GBS_NORMAL, TMT_FONT, &log))) themeFont.Reset(CreateFontIndirectW(&log));
  HGDIOBJ font = themeFont ? static_cast<HGDIOBJ>(themeFont.Get())
                           : reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  if (!font) font = GetStockObject(DEFAULT_GUI_FONT);

  const TSavedDc saved(dc);
  SelectObject(dc, font);
  SIZE extent{};
  if (!GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent)) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  RECT place{client.left + 8, client.top, client.left + 8 + extent.cx, client.top + extent.cy};
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  const TBrushHandle ground(CreateSolidBrush(ColorToRgb(FControl->Color())));
  if (ground) ::FillRect(dc, &place, ground.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(FSkinData->Model().Colours.ButtonTextColour));
  DrawTextW(dc, text.c_str(), int(text.size()), &place, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
}

// ---- sizer

bool TSkinSizer::BeforeMessage(TMessage& message) { return !TakePaintMessages(message); }

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const TSkinColour shadow =
      FSkinData ? FSkinData->Model().Colours.ButtonShadowColour : TSkinColours().ButtonShadowColour;
  const TBrushHandle brush(CreateSolidBrush(ResolveColor(shadow)));
  if (brush) ::FrameRect(dc, &rect, brush.Get());
}

}  // namespace kv
