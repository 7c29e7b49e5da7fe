#include "skin/controls/SkinBoxes.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/Controls.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The header picture, when the skin has one to draw.
const TDataSkinObject* HeaderbarOf(const TSkinData* data) {
  const TDataSkinObject* bar = data ? data->Model().Headerbar.get() : nullptr;
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
  if (message.Msg == WM_ERASEBKGND && HeaderbarOf(FSkinData)) {
    message.Result = 1;
    return false;
  }
  return true;
}

void TSkinHeader::DrawHeaderItem(HIMAGELIST images, TCanvas& canvas, int index, const RECT& r) {
  const TDataSkinObject* bar = HeaderbarOf(FSkinData);
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
  const TDataSkinObject* bar = HeaderbarOf(FSkinData);
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
  FAttached = true;
}

void TSkinBox::AfterMessage(TMessage&) {}

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
