#include "skin/controls/SkinBars.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/win/Dc.h"
#include "framework/Controls.h"
#include "skin/core/SkinData.h"
#include "skin/data/BarArithmetic.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The skin at the window's DPI.
const TSkinDefinition* ModelOf(const TSkinData* data, HWND window) { return data ? &data->ModelFor(window) : nullptr; }

bool HasPicture(const TDataSkinObject* record) { return record && !record->Image.Empty(); }

std::uint32_t FacePixel(const TSkinData* data) {
  const TSkinColour face = data ? data->Model().Colours.ButtonFaceColour : TSkinColours().ButtonFaceColour;
  return PixelOf(ResolveColor(face));
}

// One panel as the control reports it.
struct TPanelInfo {
  std::wstring Text;
  UINT Alignment = DT_LEFT;
  int Bevel = 1;  // 1 lowered, 2 raised, 3 none
  RECT Bounds{};
};

TElementKind BevelKind(int bevel) {
  return bevel == 2   ? TElementKind::ekStatusRaised
         : bevel == 3 ? TElementKind::ekStatusFlat
                      : TElementKind::ekStatusLowered;
}

// The text of part `index` (SB_SIMPLEID in simple mode) and its drawing flags. A tab
// before the text centres it, two right-align it, as the platform shows them.
TPanelInfo ReadPanel(HWND wnd, WPARAM index) {
  TPanelInfo panel;
  const LRESULT lengthAndFlags = SendMessageW(wnd, SB_GETTEXTLENGTHW, index, 0);
  const UINT flags = HIWORD(lengthAndFlags);
  if (!(flags & SBT_OWNERDRAW)) {
    std::vector<wchar_t> buffer(std::size_t(LOWORD(lengthAndFlags)) + 1, L'\0');
    SendMessageW(wnd, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(buffer.data()));
    panel.Text = buffer.data();
  }
  std::size_t tabs = 0;
  while (tabs < 2 && tabs < panel.Text.size() && panel.Text[tabs] == L'\t') ++tabs;
  panel.Text.erase(0, tabs);
  panel.Alignment = tabs == 1 ? DT_CENTER : tabs == 2 ? DT_RIGHT : DT_LEFT;
  if ((flags & SBT_RTLREADING) && panel.Alignment != DT_CENTER)
    panel.Alignment = panel.Alignment == DT_LEFT ? DT_RIGHT : DT_LEFT;
  panel.Bevel = (flags & SBT_NOBORDERS) ? 3 : (flags & SBT_POPOUT) ? 2 : 1;
  return panel;
}

// A one-pixel bevel: `raised` swaps the shadow and the highlight.
void DrawPlainBevel(HDC dc, const RECT& r, bool raised) {
  const HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW), light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  const HBRUSH topLeft = raised ? light : shadow, bottomRight = raised ? shadow : light;
  const RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &top, topLeft);
  FillRect(dc, &left, topLeft);
  FillRect(dc, &bottom, bottomRight);
  FillRect(dc, &right, bottomRight);
}

}  // namespace

// ---- status bar

void TSkinStatusBar::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(control, skinData, recolor, canvas);
  // Our status bar has no size-grip property: the grip is a style bit of its window.
  if (FAttached) ChangeStyle(GWL_STYLE, 0, SBARS_SIZEGRIP);
}

bool TSkinStatusBar::BeforeMessage(TMessage& message) { return !TakePaintMessages(message); }

void TSkinStatusBar::DrawPanel(HDC dc, TCanvas& canvas, RECT r, std::wstring_view text, UINT alignment, int bevel) {
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  if (model && HasPicture(model->StatusBarEdges.get())) {
    TElementImage image = ElementImage(*model->StatusBarEdges);
    image.FFrameCount = FixedFrameCount(TElementKind::ekStatusLowered);
    image.FTransparent = false;  // the bevel covers the panel whole
    kv::DrawElement(dc, ToRect(r), image, FrameIndex(BevelKind(bevel), TStateFlags::csNone));
  } else if (bevel != 3) {
    DrawPlainBevel(dc, r, bevel == 2);
    InflateRect(&r, -1, -1);
  }
  r.left += 2;
  r.right -= 2;
  DrawCaption(canvas, r, alignment, true, text.empty() ? std::wstring_view(L" ") : text);
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || !FHandle) return;
  HDC scratch = ScratchDc(width, height);
  if (!scratch) return;
  const RECT local{0, 0, width, height};
  FillFace(scratch, local);
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  {
    // Gives the scratch DC its own font back when it goes.
    TCanvas canvas(scratch);
    if (FControl) canvas.Font() = FControl->Font();
    UseWindowFont(canvas, FHandle);
    if (model && model->StatusBarEdges) canvas.Font().SetColor(model->StatusBarEdges->NormalColour2);

    const int parts = int(SendMessageW(FHandle, SB_GETPARTS, 0, 0));
    if (SendMessageW(FHandle, SB_ISSIMPLE, 0, 0) || parts <= 0) {
      // In simple mode the control answers for its one panel at index 0.
      const TPanelInfo simple = ReadPanel(FHandle, 0);
      DrawPanel(scratch, canvas, local, simple.Text, DT_LEFT, 1);
    } else {
      for (int i = 0; i < parts; ++i) {
        TPanelInfo panel = ReadPanel(FHandle, WPARAM(i));
        if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&panel.Bounds))) continue;
        if (i == parts - 1) panel.Bounds.right = local.right;
        DrawPanel(scratch, canvas, panel.Bounds, panel.Text, panel.Alignment, panel.Bevel);
      }
    }
  }

  const TDataSkinObject* extra = model ? model->ExtraImages.get() : nullptr;
  if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && HasPicture(extra)) {
    const int frames = std::max(extra->FrameCount, 1);
    const int cellWidth = extra->Image.Width() / frames, cellHeight = extra->Image.Height();
    const RECT grip{local.right - 1 - cellWidth, local.bottom - 1 - cellHeight, local.right - 1, local.bottom - 1};
    DrawFrameTransparent(scratch, grip, extra->Image, frames,
                         FrameIndex(TElementKind::ekSizeGrip, TStateFlags::csNone));
  }
  BitBlt(dc, rect.left, rect.top, width, height, scratch, 0, 0, SRCCOPY);
}

// ---- progress bar

int ProgressFillWidth(int position, int upper, int width) {
  if (position <= 0 || upper <= 0 || width <= 0) return 0;
  return int(std::int64_t(position) * width / upper);
}

bool TSkinProgress::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
      if (!model || !HasPicture(model->Progress.get())) return true;  // the platform paints
      return !TakePaintMessages(message);
    }
    default: return !TakePaintMessages(message);
  }
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  if (!model || !HasPicture(model->Progress.get()) || !FHandle) return;
  const TDataSkinBorder& progress = *model->Progress;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const bool chunks = progress.Style == 1;
  if (chunks && progress.Image2.Empty()) return;

  const int position = int(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int upper = int(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
  const int filled = std::min(ProgressFillWidth(position, upper, width), width);

  // Composed in memory whatever the style, then shown in one transfer.
  TPixelBitmap work(width, height, FacePixel(FSkinData));
  TElementImage image = ElementImage(progress);
  image.FTransparent = true;  // the face shows through magenta in either style
  if (!chunks) {
    image.FFrameCount = FixedFrameCount(TElementKind::ekProgressBar);
    kv::DrawElement(work, work.Bounds(), image, FrameIndex(TElementKind::ekProgressBar, TStateFlags::csNone));
    if (filled > 0)
      kv::DrawElement(work, {0, 0, filled, height}, image,
                      FrameIndex(TElementKind::ekProgressFill, TStateFlags::csNone));
  } else {
    image.FFrameCount = 1;  // the chunk style's bar is one picture
    kv::DrawElement(work, work.Bounds(), image, StripFrameIndex(TElementKind::ekProgressBar, TStateFlags::csNone, 1));
    // The chunks stay inside the groove: a full bar would otherwise run over its right edge.
    const int inside = std::min(filled, InsideLength(width, progress.LeftWidth, progress.RightWidth));
    if (inside > 0) {
      const TPixelBitmap& chunk = progress.Image2;
      TPixelBitmap row(inside, chunk.Height());
      for (int i = 0, n = inside / chunk.Width() + 1; i < n; ++i)
        CopyPixels(row, i * chunk.Width(), 0, chunk, chunk.Bounds());
      DrawKeyed(work, progress.LeftWidth, (height - chunk.Height()) / 2, row, row.Width(), row.Height(),
                PixelOf(kKeyColor));
    }
  }
  CopyToDc(dc, rect.left, rect.top, work);
}

}  // namespace kv
