#include "skin/menus/SkinMenuItems.h"

#include <algorithm>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/Graphics.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinEngine.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/WinSkinPopMenu.h"

namespace kv {
namespace {

constexpr int kObmCheck = 32760;                     // the platform's check-mark bitmap
constexpr DWORD kRopPatternWhereBlack = 0x00B8074A;  // PSDPxax: source black → brush, else keep
constexpr UINT kMeasureFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT;  // 0x560
constexpr UINT kDrawFlags = DT_SINGLELINE | DT_EXPANDTABS;                               // 0x60
// Lengths in 96-DPI units, scaled to the menu's window.
constexpr int kGlyphSize = 16;
constexpr int kTextGap = 3;
constexpr int kShortCutRight = 11;  // room for the submenu arrow
constexpr int kSeparatorHeight = 8;

int Px(const TMenuSkinContext& context, int units) { return ScaleToDpi(units, context.Dpi); }

// The MenuItem record when it has a picture to draw.
const TDataSkinObject* ItemRecord(const TMenuSkinContext& context) {
  if (!context.Data) return nullptr;
  const TDataSkinObject* record = context.Data->ModelFor(context.Window).MenuItem.get();
  return record && !record->Image.Empty() ? record : nullptr;
}

int ItemLeftWidth(const TMenuSkinContext& context) {
  const TDataSkinObject* record = ItemRecord(context);
  return record ? record->LeftWidth : 0;
}

const TSkinColours& Colours(const TMenuSkinContext& context) { return context.Data->Model().Colours; }

// The background of the popup showing `menu`, with where its items' coordinates start.
struct TPopupBackground {
  const TPixelBitmap* Pixels = nullptr;
  POINT ClientOffset{};
};

TPopupBackground PopupBackground(HMENU menu) {
  TPopupBackground background;
  if (TSkinEngine* engine = TSkinEngine::Instance(); engine && menu)
    background.Pixels = engine->FindPopupBackground(menu, &background.ClientOffset);
  return background;
}

// The parent's submenu handle, or none (a free-standing item).
HMENU ParentHandle(TMenuItem* item) { return item->Parent() ? item->Parent()->Handle() : nullptr; }

// A work bitmap of the rectangle's size with the menu font, copied out at `rect` when done.
struct TWorkBitmap {
  TWorkBitmap(const RECT& rect, bool bold, int dpi) : Bitmap(rect.right - rect.left, rect.bottom - rect.top) {
    AssignMenuFont(Bitmap.Canvas().Font(), bold, dpi);
  }
  RECT Bounds() const { return {0, 0, Bitmap.Width(), Bitmap.Height()}; }
  void CopyTo(TCanvas& canvas, const RECT& rect) { Bitmap.Draw(canvas, rect); }
  TBitmap Bitmap;
};

// Behind the item: the popup's background at the item's place, else the menu colour.
TPixelBitmap ItemBackground(const TMenuSkinContext& context, const RECT& rect, const TPopupBackground& background) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPixelBitmap pixels(w, h, PixelOf(ResolveColor(Colours(context).MenuColour)));
  if (background.Pixels && !background.Pixels->Empty()) {
    const POINT o = background.ClientOffset;
    CopyPixels(pixels, 0, 0, *background.Pixels,
               {rect.left + o.x, rect.top + o.y, rect.right + o.x, rect.bottom + o.y});
  }
  return pixels;
}

// The MenuItem frame over the background, the content, one copy out. Separators, when
// `separatorApart`, get the background and the separator frame only.
void PaintSkinnedItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected,
                      const RECT& rect, const TPopupBackground& background, bool separatorApart) {
  const TDataSkinObject& record = *ItemRecord(context);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TPixelBitmap pixels = ItemBackground(context, rect, background);
  const bool separator = separatorApart && item->IsLine();
  if (!separator)
    DrawSkinImage(pixels, {0, 0, w, h}, record.Image, ElementImage(record).Flags(),
                  FixedFrameCount(TElementKind::ekMenuItem),
                  FrameIndex(TElementKind::ekMenuItem, selected ? TStateFlags::csSelected : TStateFlags::csNone),
                  record.GetMargins());
  TWorkBitmap work(rect, item->Default(), context.Dpi);
  CopyToDc(work.Bitmap.Canvas().Handle(), 0, 0, pixels);
  if (!separator) DrawMenuItemContent(context, item, work.Bitmap.Canvas(), selected, work.Bounds());
  work.CopyTo(canvas, rect);
  if (separator) DrawMenuSeparator(context, canvas, rect);
}

// The platform's two-colour dither (button face and highlight), as behind a checked glyph.
void FillDithered(HDC dc, const RECT& box) {
  static constexpr WORD kPattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  TBitmapHandle pattern(CreateBitmap(8, 8, 1, 1, kPattern));
  TBrushHandle brush(pattern ? CreatePatternBrush(pattern.Get()) : nullptr);
  if (!brush) return;
  TTextStateGuard state(dc);
  SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &box, brush.Get());
}

// The platform's check mark centred in `box`, moved by (1, 1), in the button-text colour.
void DrawCheckMark(HDC dc, const RECT& box) {
  TBitmapHandle check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck)));
  if (!check) return;
  BITMAP info{};
  GetObjectW(check.Get(), sizeof(info), &info);
  TMemoryDc source(CreateCompatibleDC(dc));
  TBrushHandle brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
  if (!source || !brush) return;
  TSelectGuard selectBitmap(source.Get(), check.Get());
  TSelectGuard selectBrush(dc, brush.Get());
  TTextStateGuard state(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const int x = box.left + (box.right - box.left - info.bmWidth) / 2 + 1;
  const int y = box.top + (box.bottom - box.top - info.bmHeight) / 2 + 1;
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, kRopPatternWhereBlack);
}

bool IsLoneAmpersand(std::wstring_view text) { return text == L"&"; }

}  // namespace

// ---- measuring

void MeasureMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas&, int& width, int& height) {
  (void)height;
  width += ItemLeftWidth(context) + Px(context, item->GetImageList() ? 12 : 35);
}

void MeasureMainMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, int& width, int& height) {
  // The framework's default rules alone, whatever handler the item carries.
  item->MeasureDefault(canvas, width, height);
  width += ItemLeftWidth(context) + Px(context, item->GetImageList() ? 10 : 35);
}

void MeasurePlatformMenuItem(const TMenuSkinContext& context, HMENU menu, UINT command, TCanvas& canvas, int& width,
                             int& height) {
  const std::wstring text = menu ? ReadMenuText(menu, command) : std::wstring();
  width = canvas.TextExtent(text).cx + Px(context, 26) + ItemLeftWidth(context);
  height = text.empty() ? Px(context, kSeparatorHeight) : height + Px(context, 4);
}

// ---- painting

void DrawMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected, const RECT& rect) {
  if (!item) return;
  if (!ItemRecord(context)) {
    DrawPlainMenuItem(context, item, canvas, selected, rect);
    return;
  }
  HMENU parent = ParentHandle(item);
  if (parent) TWinSkinPopMenu::TakePending(parent);
  PaintSkinnedItem(context, item, canvas, selected, rect, PopupBackground(parent), true);
}

void DrawPlatformMenuItem(const TMenuSkinContext& context, HMENU menu, TMenuItem* item, bool selected, const RECT& rect,
                          TCanvas& canvas) {
  if (!item) return;
  if (!ItemRecord(context)) {
    DrawPlainMenuItem(context, item, canvas, selected, rect);
    return;
  }
  PaintSkinnedItem(context, item, canvas, selected, rect, PopupBackground(menu), false);
}

void DrawPlainMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected,
                       const RECT& rect) {
  if (!item || rect.right <= rect.left || rect.bottom <= rect.top) return;
  TWorkBitmap work(rect, item->Default(), context.Dpi);
  TCanvas& c = work.Bitmap.Canvas();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(selected ? Colours(context).HilightColour : Colours(context).MenuColour);
  c.FillRect(work.Bounds());
  DrawMenuItemContent(context, item, c, selected, work.Bounds());
  work.CopyTo(canvas, rect);
}

void DrawMenuItemContent(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected,
                         const RECT& rect) {
  item->InitiateAction();
  TMenu* menu = item->GetParentMenu();
  if (!menu) menu = context.FallbackMenu;
  TImageList* images = item->GetImageList();
  int glyph = images ? images->Width() : Px(context, kGlyphSize);
  if (item->Checked()) glyph = std::max(glyph, Px(context, kGlyphSize));
  const bool rightToLeft = menu && menu->IsRightToLeft();
  const bool line = item->IsLine();
  const int leftWidth = ItemLeftWidth(context);

  RECT box{};
  if (line) {
    box.left = box.right = rightToLeft ? rect.right : 0;
    box.top = box.bottom = rect.top;
  } else {
    const int inset = Px(context, 1);
    box.top = rect.top + inset;
    box.bottom = box.top + glyph;
    if (rightToLeft) {
      box.right = rect.right - inset - leftWidth;
      box.left = box.right - glyph;
    } else {
      box.left = rect.left + inset + leftWidth;
      box.right = box.left + glyph;
    }
    HDC dc = canvas.Handle();
    const int index = item->ImageIndex();
    if (images && index >= 0 && index < images->Count()) {
      if (item->Checked()) {
        FillDithered(dc, box);
        RECT edge = box;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      images->Draw(canvas, box.left, box.top, index, item->Enabled());
    } else if (item->Checked()) {
      DrawCheckMark(dc, box);
    }
  }

  RECT text{rect.left + 1, rect.top, rect.right - 1, rect.bottom};
  if (rightToLeft)
    text.right = box.left - Px(context, kTextGap);
  else
    text.left = box.right + Px(context, kTextGap);
  const UINT side = rightToLeft ? DT_RIGHT : DT_LEFT;
  RECT measured = text;
  DrawMenuItemText(context, item, canvas, kMeasureFlags | side, selected, measured, item->Caption());
  const int measuredWidth = measured.right - measured.left, measuredHeight = measured.bottom - measured.top;
  RECT caption = text;
  caption.top = text.top + (text.bottom - text.top - measuredHeight) / 2;
  caption.bottom = caption.top + measuredHeight;
  if (rightToLeft)
    caption.left = caption.right - measuredWidth;
  else
    caption.right = caption.left + measuredWidth;
  DrawMenuItemText(context, item, canvas, kDrawFlags | side, selected, caption, item->Caption());

  if (item->ShortCut() != scNone && !line) {
    RECT shortCut = caption;
    if (rightToLeft) {
      shortCut.left = text.left + Px(context, 10);
      shortCut.right = caption.left;
      DrawMenuItemText(context, item, canvas, kDrawFlags | DT_LEFT, selected, shortCut,
                       ShortCutToText(item->ShortCut()));
    } else {
      shortCut.left = caption.right;
      shortCut.right = rect.right - Px(context, kShortCutRight);
      DrawMenuItemText(context, item, canvas, kDrawFlags | DT_RIGHT, selected, shortCut,
                       ShortCutToText(item->ShortCut()));
    }
  }
}

void DrawMenuItemText(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, UINT flags, bool selected,
                      RECT& rect, std::wstring text) {
  const bool calculate = (flags & DT_CALCRECT) != 0;
  // Measured as one line even when there is nothing to show.
  if (calculate && (text.empty() || IsLoneAmpersand(text))) text += L' ';
  if (text != L"-") {
    const TSkinColours& colours = Colours(context);
    TColor color;
    if (item->Enabled())
      color = selected ? colours.HilightTextColour : colours.MenuTextColour;
    else if (colours.ButtonShadowColour == colours.MenuTextColour)
      color = clSystemColor | COLOR_BTNSHADOW;  // the skin's shadow would not show
    else
      color = colours.ButtonShadowColour;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetStyle(item->Default() ? unsigned{fsBold} : 0u);
    canvas.Font().SetColor(color);
    canvas.DrawTextIn(text, rect, flags);
  } else if (!calculate) {
    RECT line = rect;
    OffsetRect(&line, 0, Px(context, 4));
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
  }
}

void DrawMenuSeparator(const TMenuSkinContext& context, TCanvas& canvas, const RECT& rect) {
  const TDataSkinObject* record = ItemRecord(context);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!record || w <= 0 || h <= 0) return;
  const TPixelBitmap& strip = record->Image;
  const int frame = strip.Width() / FixedFrameCount(TElementKind::ekMenuSeparator);
  const int index = FrameIndex(TElementKind::ekMenuSeparator, TStateFlags::csNone);
  const int firstRow = std::max(0, strip.Height() - h);
  const int rows = strip.Height() - firstRow;
  if (frame <= 0 || rows <= 0) return;
  // The bottom rows of the separator frame: its ends kept, its middle stretched.
  TPixelBitmap piece(frame, rows);
  CopyPixels(piece, 0, 0, strip, {frame * (index - 1), firstRow, frame * index, strip.Height()});
  const TPixelBitmap line =
      RenderNineSlice(w, rows, piece, {record->LeftWidth, 0, record->RightWidth, 0}, TDrawFlags::dfNone, 1, 1);
  TransparentBlit(canvas.Handle(), {rect.left, rect.top, rect.right, rect.top + rows}, line);
}

// ---- platform items

std::wstring CutToByteLimit(std::wstring_view text, int limit) {
  int bytes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    const bool pair =
        c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    const int size = c < 0x80 ? 1 : pair ? 4 : 2;
    if (bytes + size > limit) break;
    bytes += size;
    i += pair ? 2 : 1;
  }
  return std::wstring(text.substr(0, i));
}

std::wstring ReadMenuText(HMENU menu, UINT item, UINT by, int limit) {
  const int length = GetMenuStringW(menu, item, nullptr, 0, by);
  if (length <= 0) return {};
  std::wstring text(std::size_t(length) + 1, L'\0');
  const int read = GetMenuStringW(menu, item, text.data(), length + 1, by);
  text.resize(std::size_t(std::clamp(read, 0, length)));
  return CutToByteLimit(text, limit);
}

std::unique_ptr<TMenuItem> MenuItemFromPlatform(HMENU menu, UINT command) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_TYPE;
  // Only the state is wanted: no text buffer is given.
  if (!GetMenuItemInfoW(menu, command, FALSE, &info)) info.fState = 0;
  const std::wstring text = ReadMenuText(menu, command);
  auto item = std::make_unique<TMenuItem>();
  item->SetCaption(text.empty() ? std::wstring_view(L"-") : std::wstring_view(text));
  item->SetEnabled((info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0);
  item->SetChecked((info.fState & MFS_CHECKED) != 0);
  return item;
}

}  // namespace kv
