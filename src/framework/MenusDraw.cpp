// The plain look of an owner-drawn menu item, which a skin replaces: a glyph column with
// the image or the check mark, the caption, the shortcut at the right; mirrored for a
// right-to-left menu. Menu-bar items show their caption alone.
#include <algorithm>

#include "framework/ImgList.h"
#include "framework/Menus.h"

namespace kv {

namespace {

constexpr TColor kMenuColor = clSystemColor | COLOR_MENU;
constexpr TColor kMenuTextColor = clSystemColor | COLOR_MENUTEXT;
constexpr TColor kHighlightColor = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor kHighlightTextColor = clSystemColor | COLOR_HIGHLIGHTTEXT;

// 96-DPI units, scaled to the item's menu's scale.
constexpr int kGlyphLeft = 1;     // from the item's edge to the glyph column
constexpr int kGlyphSize = 16;    // the glyph column at least
constexpr int kTextGap = 3;       // from the glyph column to the caption
constexpr int kShortCutGap = 16;  // at least between the caption and the shortcut
constexpr int kRightMargin = 11;  // room for the platform's submenu arrow
constexpr int kSeparatorHeight = 8;
constexpr int kBarPadding = 10;

std::wstring Measurable(std::wstring_view caption) {
  std::wstring text = StripAccessMarks(caption);
  return text.empty() ? std::wstring(L" ") : text;  // an empty caption is one line high
}

// A tick of three strokes, or a round bullet for a radio item, in the text colour; drawn
// in 96-DPI pixels scaled to `dpi`.
void DrawCheckMark(TCanvas& canvas, const RECT& box, bool radio, TColor color, int dpi) {
  const auto px = [dpi](int units) { return ScaleToDpi(units, dpi); };
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  if (radio) {
    static constexpr int kHalfWidths[] = {1, 2, 3, 3, 2, 1};
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    for (int row = 0; row < 6; ++row)
      canvas.FillRect(RECT{cx - px(kHalfWidths[row]), cy + px(row - 3), cx + px(kHalfWidths[row]), cy + px(row - 2)});
    return;
  }
  canvas.Pen().SetColor(color);
  canvas.Pen().SetWidth(1);
  for (int stroke = 0; stroke < px(3); ++stroke) {
    canvas.MoveTo(cx - px(4), cy - px(1) + stroke);
    canvas.LineTo(cx - px(1), cy + px(2) + stroke);
    canvas.LineTo(cx + px(5), cy - px(4) + stroke);
  }
}

}  // namespace

int TMenuItem::GlyphSize() const {
  TImageList* images = GetImageList();
  return std::max(ScaleToDpi(kGlyphSize, Dpi()), images ? images->Width() : 0);
}

void TMenuItem::MeasureDefault(TCanvas& canvas, int& width, int& height) const {
  const int dpi = Dpi();
  const auto px = [dpi](int units) { return ScaleToDpi(units, dpi); };
  if (IsLine()) {
    width = std::max(width, 0);
    height = px(kSeparatorHeight);
    return;
  }
  const SIZE caption = canvas.TextExtent(Measurable(FCaption));
  if (IsBarItem()) {
    width = caption.cx + px(kBarPadding);
    height = std::max<int>(caption.cy + px(4), SystemMetricForDpi(SM_CYMENU, dpi));
    return;
  }
  const int glyph = GlyphSize();
  width = px(kGlyphLeft) + glyph + px(kTextGap) + caption.cx + px(kRightMargin);
  if (FShortCut) width += px(kShortCutGap) + canvas.TextExtent(ShortCutToText(FShortCut)).cx;
  height = std::max<int>(glyph + px(2), caption.cy + px(4));
}

void TMenuItem::DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) const {
  const bool selected = (state & (odSelected | odHotLight)) != 0;
  const bool disabled = (state & (odDisabled | odGrayed)) != 0 || !FEnabled;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(selected && !IsLine() ? kHighlightColor : kMenuColor);
  canvas.FillRect(rect);
  if (IsLine()) {
    RECT line = rect;
    line.top = (rect.top + rect.bottom) / 2 - 1;
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TColor textColor = disabled ? clGrayText : selected ? kHighlightTextColor : kMenuTextColor;
  const UINT hidePrefix = (state & odNoAccel) ? DT_HIDEPREFIX : 0;
  canvas.Font().SetColor(textColor);
  canvas.Font().SetStyle(FDefault ? unsigned{fsBold} : 0u);
  canvas.Brush().SetStyle(bsClear);
  if (IsBarItem()) {
    RECT text = rect;
    canvas.DrawTextIn(FCaption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | hidePrefix);
    return;
  }

  const bool rtl = IsRightToLeft();
  const int dpi = Dpi();
  const int glyphLeft = ScaleToDpi(kGlyphLeft, dpi), textGap = ScaleToDpi(kTextGap, dpi);
  const int rightMargin = ScaleToDpi(kRightMargin, dpi);
  const int glyph = GlyphSize();
  RECT box;
  box.top = rect.top + (rect.bottom - rect.top - glyph) / 2;
  box.bottom = box.top + glyph;
  box.left = rtl ? rect.right - glyphLeft - glyph : rect.left + glyphLeft;
  box.right = box.left + glyph;
  TImageList* images = GetImageList();
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    if (FChecked) DrawEdge(canvas.Handle(), &box, BDR_SUNKENOUTER, BF_RECT);
    images->Draw(canvas, box.left + (glyph - images->Width()) / 2, box.top + (glyph - images->Height()) / 2,
                 FImageIndex, !disabled);
  } else if (FChecked) {
    DrawCheckMark(canvas, box, FRadioItem, textColor, dpi);
    canvas.Brush().SetStyle(bsClear);
  }

  RECT text = rect;
  if (rtl) {
    text.right = box.left - textGap;
    text.left += rightMargin;
  } else {
    text.left = box.right + textGap;
    text.right -= rightMargin;
  }
  const UINT side = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  canvas.DrawTextIn(FCaption, text, DT_SINGLELINE | DT_VCENTER | side | hidePrefix);
  if (FShortCut) {
    canvas.Font().SetStyle(0);
    canvas.DrawTextIn(ShortCutToText(FShortCut), text,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (rtl ? DT_LEFT : DT_RIGHT));
  }
}

void TMenuItem::DrawImageOnly(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) const {
  TImageList* images = GetImageList();
  if (!images) return;
  const bool disabled = (state & (odDisabled | odGrayed)) != 0 || !FEnabled;
  images->Draw(canvas, rect.left + (rect.right - rect.left - images->Width()) / 2,
               rect.top + (rect.bottom - rect.top - images->Height()) / 2, FImageIndex, !disabled);
}

}  // namespace kv
