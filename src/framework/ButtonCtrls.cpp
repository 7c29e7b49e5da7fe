#include "framework/ButtonCtrls.h"

#include <algorithm>
#include <cstring>

#include "framework/ImgList.h"

namespace kv {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;

void CopyBitmap(TBitmap& target, const TBitmap& source) {
  target.SetSize(source.Width(), source.Height());
  if (target.Empty()) return;
  GdiFlush();
  for (int y = 0; y < source.Height(); ++y)
    std::memcpy(target.ScanLine(y), source.ScanLine(y), sizeof(std::uint32_t) * source.Width());
}

// A strip of 2 to 4 square glyphs tells its own count.
int GuessGlyphCount(const TBitmap& glyph, int current) {
  if (glyph.Height() > 0 && glyph.Width() % glyph.Height() == 0) {
    const int count = glyph.Width() / glyph.Height();
    if (count >= 1 && count <= 4) return count;
  }
  return current;
}

SIZE CaptionSize(TCanvas& canvas, const std::wstring& caption) {
  if (caption.empty()) return SIZE{0, 0};
  RECT r{0, 0, 0, 0};
  canvas.DrawTextIn(caption, r, DT_CALCRECT | DT_SINGLELINE);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// A disabled caption is embossed: highlight one pixel down and right, shadow above it.
void DrawCaption(TCanvas& canvas, const std::wstring& caption, RECT r, UINT format, bool enabled, TColor color) {
  if (caption.empty()) return;
  canvas.Brush().SetStyle(bsClear);
  format |= DT_SINGLELINE;
  if (enabled) {
    canvas.Font().SetColor(color);
    canvas.DrawTextIn(caption, r, format);
    return;
  }
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  canvas.Font().SetColor(clBtnHighlight);
  canvas.DrawTextIn(caption, shifted, format);
  canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextIn(caption, r, format);
}

// Draws glyph and caption of a button face; `frame` is the glyph frame wanted, which
// falls back to the first (embossed when the button is disabled).
void DrawButtonFace(TCanvas& canvas, RECT client, TBitmap& glyph, int numGlyphs, int frame, const std::wstring& caption,
                    TButtonLayout layout, int margin, int spacing, bool enabled, TColor textColor) {
  numGlyphs = std::max(numGlyphs, 1);
  const SIZE glyphSize = glyph.Empty() ? SIZE{0, 0} : SIZE{glyph.Width() / numGlyphs, glyph.Height()};
  const SIZE textSize = CaptionSize(canvas, caption);
  const TGlyphPlacement place = PlaceGlyphAndText(client, glyphSize, textSize, layout, margin, spacing);
  if (!glyph.Empty()) {
    const bool emboss = !enabled && (frame >= numGlyphs || frame != 1);
    if (frame >= numGlyphs) frame = 0;
    DrawGlyphFrame(canvas.Handle(), place.Glyph.x, place.Glyph.y, glyph, numGlyphs, frame, emboss);
  }
  DrawCaption(canvas, caption, place.Text, place.TextFormat, enabled, textColor);
}

// Pictures for the standard kinds: drawn, 16 x 16, on a fuchsia background.
void MakeKindGlyph(TBitmap& glyph, TBitBtnKind kind) {
  enum { gkNone, gkCheck, gkCross, gkQuestion } shape = gkNone;
  TColor color = clBlack;
  switch (kind) {
    case bkOK:
    case bkYes:
    case bkAll:
      shape = gkCheck;
      color = 0x008000;
      break;
    case bkCancel:
    case bkNo:
    case bkAbort:
      shape = gkCross;
      color = 0x0000C0;
      break;
    case bkHelp:
      shape = gkQuestion;
      color = 0x800000;
      break;
    default: break;
  }
  if (shape == gkNone) {
    glyph.SetSize(0, 0);
    return;
  }
  glyph.SetSize(16, 16);
  TCanvas& canvas = glyph.Canvas();
  canvas.Brush().SetColor(clFuchsia);
  canvas.FillRect(RECT{0, 0, 16, 16});
  canvas.Pen().SetColor(color);
  canvas.Pen().SetWidth(2);
  if (shape == gkCheck) {
    canvas.MoveTo(3, 8);
    canvas.LineTo(6, 11);
    canvas.LineTo(13, 4);
  } else if (shape == gkCross) {
    canvas.MoveTo(4, 4);
    canvas.LineTo(12, 12);
    canvas.MoveTo(12, 4);
    canvas.LineTo(4, 12);
  } else {
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetHeight(-14);
    canvas.Font().SetColor(color);
    canvas.Brush().SetStyle(bsClear);
    RECT r{0, 0, 16, 16};
    canvas.DrawTextIn(L"?", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

const wchar_t* KindCaption(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return L"OK";
    case bkCancel: return L"Cancel";
    case bkHelp: return L"&Help";
    case bkYes: return L"&Yes";
    case bkNo: return L"&No";
    case bkClose: return L"&Close";
    case bkAbort: return L"Abort";
    case bkRetry: return L"&Retry";
    case bkIgnore: return L"&Ignore";
    case bkAll: return L"&All";
    case bkCustom: break;
  }
  return nullptr;
}

}  // namespace

// ---- TRadioButton

TRadioButton::TRadioButton() {
  SetTabStop(true);
  SetBounds(0, 0, 113, 17);
}

bool TRadioButton::Checked() const {
  if (FHandle) return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TRadioButton::SetChecked(bool value) {
  FChecked = value;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (value) UncheckSiblings();
}

void TRadioButton::UncheckSiblings() {
  if (!FParent) return;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i));
    if (other && other != this && other->Checked()) other->SetChecked(false);
  }
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (FAlignment == value) return;
  FAlignment = value;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.Style |= BS_AUTORADIOBUTTON | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::DestroyWnd() {
  FChecked = Checked();
  TWinControl::DestroyWnd();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    FChecked = Checked();
    // The platform unchecks the automatic radio buttons of the window group; ours are
    // grouped by parent, whatever else lies between them.
    if (FChecked) UncheckSiblings();
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TItemGroup

TItemGroup::TItemGroup() {
  FItems.OnChange = [this] { UpdateButtons(); };
}

void TItemGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (FColumns == columns) return;
  FColumns = columns;
  ArrangeButtons();
}

void TItemGroup::SetBounds(int left, int top, int width, int height) {
  TGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TItemGroup::FontChanged() {
  TGroupBox::FontChanged();
  ArrangeButtons();
}

void TItemGroup::UpdateButtons() {
  const auto count = static_cast<std::size_t>(FItems.Count());
  while (FButtons.size() > count) {
    TWinControl* last = FButtons.back();
    FButtons.pop_back();
    DestroyComponent(last);
  }
  while (FButtons.size() < count) {
    TWinControl* button = MakeButton();
    button->SetParent(this);
    button->OnClick = [this, button](TComponent*) {
      auto it = std::find(FButtons.begin(), FButtons.end(), button);
      if (it != FButtons.end()) ButtonClicked(static_cast<int>(it - FButtons.begin()));
    };
    FButtons.push_back(button);
  }
  for (std::size_t i = 0; i < count; ++i) FButtons[i]->SetCaption(FItems[static_cast<int>(i)]);
  ArrangeButtons();
  ButtonsRebuilt();
}

void TItemGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  int textHeight = 13;
  {
    const TWindowDc screen = TWindowDc::Screen();
    TCanvas canvas(screen.Get());
    canvas.Font() = Font();
    textHeight = canvas.TextExtent(L"0").cy;
  }
  // Below the caption, inside the frame, column after column from the top down.
  const int count = ButtonCount();
  const int columns = std::min(FColumns, count);
  const int rows = (count + columns - 1) / columns;
  const int left = 8, top = textHeight + 2;
  const int columnWidth = std::max((Width() - 2 * left) / columns, 1);
  const int rowHeight = std::max((Height() - 4 - top) / rows, 1);
  const int buttonHeight = std::min(textHeight + 4, rowHeight);
  for (int i = 0; i < count; ++i) {
    const int column = i / rows, row = i % rows;
    FButtons[static_cast<std::size_t>(i)]->SetBounds(left + column * columnWidth,
                                                     top + row * rowHeight + (rowHeight - buttonHeight) / 2,
                                                     columnWidth - 2, buttonHeight);
  }
}

// ---- TRadioGroup

TWinControl* TRadioGroup::MakeButton() { return Make<TRadioButton>(); }

int TRadioGroup::ItemIndex() const {
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Checked()) return i;
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  FItemIndex = index >= 0 && index < ButtonCount() ? index : -1;
  if (FItemIndex >= 0) {
    Buttons(FItemIndex)->SetChecked(true);
  } else {
    for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->SetChecked(false);
  }
}

void TRadioGroup::ButtonClicked(int index) {
  if (index == FItemIndex || !Buttons(index)->Checked()) return;
  FItemIndex = index;
  Click();
}

void TRadioGroup::ButtonsRebuilt() { FItemIndex = ItemIndex(); }

// ---- TCheckGroup

TWinControl* TCheckGroup::MakeButton() { return Make<TCheckBox>(); }

bool TCheckGroup::Checked(int index) const { return Buttons(index)->Checked(); }

void TCheckGroup::SetChecked(int index, bool value) { Buttons(index)->SetChecked(value); }

void TCheckGroup::ButtonClicked(int index) {
  Click();
  if (OnItemClick) OnItemClick(this, index);
}

// ---- glyph placement

TGlyphPlacement PlaceGlyphAndText(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                  int spacing) {
  const int width = client.right - client.left, height = client.bottom - client.top;
  const bool across = layout == blGlyphLeft || layout == blGlyphRight;
  const int room = across ? width : height;
  const int glyphLength = across ? glyph.cx : glyph.cy;
  const int textLength = across ? text.cx : text.cy;
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  if (margin == -1 && spacing == -1) {
    margin = (room - (glyphLength + textLength)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (room - (glyphLength + spacing + textLength)) / 2;
  } else if (spacing == -1) {
    spacing = (room - (margin + glyphLength) - textLength) / 2;
  }
  POINT g{}, t{};
  TGlyphPlacement place;
  if (across) {
    g.y = (height - glyph.cy + 1) / 2;
    t.y = (height - text.cy + 1) / 2;
  } else {
    g.x = (width - glyph.cx + 1) / 2;
    t.x = (width - text.cx + 1) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      g.x = margin;
      t.x = margin + glyph.cx + spacing;
      place.TextFormat = DT_LEFT;
      break;
    case blGlyphRight:
      g.x = width - margin - glyph.cx;
      t.x = g.x - spacing - text.cx;
      place.TextFormat = DT_RIGHT;
      break;
    case blGlyphTop:
      g.y = margin;
      t.y = margin + glyph.cy + spacing;
      place.TextFormat = DT_CENTER;
      break;
    case blGlyphBottom:
      g.y = height - margin - glyph.cy;
      t.y = g.y - spacing - text.cy;
      place.TextFormat = DT_CENTER;
      break;
  }
  place.Glyph = POINT{client.left + g.x, client.top + g.y};
  place.Text = RECT{client.left + t.x, client.top + t.y, client.left + t.x + text.cx, client.top + t.y + text.cy};
  return place;
}

// ---- TBitBtn

TBitBtn::TBitBtn() { SetBounds(0, 0, 75, 25); }

void TBitBtn::SetGlyph(const TBitmap& glyph) {
  CopyBitmap(FGlyph.Source(), glyph);
  FNumGlyphs = GuessGlyphCount(FGlyph.Source(), FNumGlyphs);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
  FLayout = layout;
  Invalidate();
}

void TBitBtn::SetMargin(int margin) {
  FMargin = std::max(margin, -1);
  Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
  FSpacing = std::max(spacing, -1);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  FKind = kind;
  if (kind == bkCustom) return;
  MakeKindGlyph(FGlyph.Source(), kind);
  FNumGlyphs = 1;
  SetCaption(KindCaption(kind));
  Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~kButtonTypeMask) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case BM_SETSTYLE:
      // Being made the default button must not turn the drawing back to the platform's.
      m.WParam = (m.WParam & ~WPARAM{kButtonTypeMask}) | BS_OWNERDRAW;
      TButton::WndProc(m);
      Invalidate();
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click instead of a second press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    default: break;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  TSavedDc saved(dc);
  TCanvas canvas(dc);
  const bool pushed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool enabled = !(item.itemState & ODS_DISABLED);
  RECT r = item.rcItem;
  if (focused || Default()) {
    canvas.Brush().SetColor(clBlack);
    canvas.FrameRect(r);
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
  canvas.Font() = Font();
  RECT client = item.rcItem;
  if (pushed) OffsetRect(&client, 1, 1);
  const int frame = !enabled ? 1 : pushed ? 2 : 0;
  DrawButtonFace(canvas, client, DrawnGlyph(), FNumGlyphs, frame, Caption(), FLayout, DrawnMargin(), DrawnSpacing(),
                 enabled, Font().Color());
  if (focused) {
    RECT f = item.rcItem;
    InflateRect(&f, -4, -4);
    canvas.SetHandle(nullptr);
    DrawFocusRect(dc, &f);
  }
}

// ---- TSpeedButton

TSpeedButton::TSpeedButton() { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
  CopyBitmap(FGlyph.Source(), glyph);
  FNumGlyphs = GuessGlyphCount(FGlyph.Source(), FNumGlyphs);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
  FLayout = layout;
  Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
  FMargin = std::max(margin, -1);
  Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
  FSpacing = std::max(spacing, -1);
  Invalidate();
}

template <class F>
void TSpeedButton::ForEachInGroup(F f) {
  if (!FParent || FGroupIndex == 0) return;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex) f(*other);
  }
}

void TSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  if (value) {
    ForEachInGroup([](TSpeedButton& other) {
      if (other.FDown) {
        other.FDown = false;
        other.Invalidate();
      }
    });
  }
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
  FGroupIndex = index;
  if (index == 0) {
    FDown = false;
  } else if (FDown) {
    // Joining a group with a button latched already: this one stays down alone.
    ForEachInGroup([](TSpeedButton& other) {
      if (other.FDown) {
        other.FDown = false;
        other.Invalidate();
      }
    });
  }
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  FAllowAllUp = value;
  ForEachInGroup([value](TSpeedButton& other) { other.FAllowAllUp = value; });
}

void TSpeedButton::SetFlat(bool value) {
  FFlat = value;
  Invalidate();
}

TSpeedButtonState TSpeedButton::State() const {
  if (FTracking && FMouseInside) return bsDown;
  if (FDown) return bsExclusive;
  if (!Enabled()) return bsDisabled;
  return bsUp;
}

void TSpeedButton::Invalidate() {
  // Flat buttons leave the parent's pixels: the parent paints its background under us.
  if (FParent && FParent->HandleAllocated() && Visible()) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, TRUE);
  }
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) {
        FTracking = true;
        FMouseInside = true;
        Invalidate();
      }
      break;
    case WM_MOUSEMOVE:
      if (FTracking) {
        const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        const RECT r = ClientRect();
        const bool inside = PtInRect(&r, p) != FALSE;
        if (inside != FMouseInside) {
          FMouseInside = inside;
          Invalidate();
        }
      }
      break;
    case WM_LBUTTONUP:
      if (FTracking) {
        const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        const RECT r = ClientRect();
        FTracking = false;
        FMouseInside = false;
        // The new state first: the click handler sees it.
        if (PtInRect(&r, p) && FGroupIndex != 0) SetDown(!(FDown && FAllowAllUp));
        Invalidate();
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = m.Msg == CM_MOUSEENTER;
      if (FFlat && Enabled()) Invalidate();
      break;
    default: break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  const TSpeedButtonState state = State();
  const bool sunken = state == bsDown || state == bsExclusive;
  RECT r = ClientRect();
  if (!FFlat) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (sunken ? DFCS_PUSHED : 0));
    if (state == bsExclusive) {
      canvas.Brush().SetColor(clBtnHighlight);
      canvas.FillRect(r);
    }
  } else if (sunken) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  } else if (FMouseInControl && Enabled()) {
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  RECT client = ClientRect();
  if (sunken) OffsetRect(&client, 1, 1);
  int frame = 0;
  switch (state) {
    case bsUp: frame = 0; break;
    case bsDisabled: frame = 1; break;
    case bsDown: frame = FNumGlyphs > 2 ? 2 : 0; break;
    case bsExclusive: frame = FNumGlyphs > 3 ? 3 : FNumGlyphs > 2 ? 2 : 0; break;
  }
  DrawButtonFace(canvas, client, DrawnGlyph(), FNumGlyphs, frame, FCaption, FLayout, DrawnMargin(), DrawnSpacing(),
                 Enabled(), Font().Color());
}

}  // namespace kv
