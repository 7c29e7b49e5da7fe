#pragma once
// Buttons beyond the push button and the check box.
//
//   TRadioButton  one of its parent's exclusive choices
//   TItemGroup    a group box whose buttons are made from Items, in columns
//   TRadioGroup   ... with radio buttons: one item chosen (ItemIndex)
//   TCheckGroup   ... with check boxes: each item checked on its own
//   TBitBtn       a push button we draw ourselves, with a glyph beside the caption
//   TSpeedButton  a window-less button with a glyph: latches down, works in groups
#include <vector>

#include "framework/CtrlTypes.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

namespace kv {

class TRadioButton : public TWinControl {
 public:
  TRadioButton();
  std::string_view ClassName() const override { return "TRadioButton"; }
  bool Checked() const;
  // Checking one unchecks the radio buttons beside it (same parent), as a click does.
  void SetChecked(bool value);
  // Where the caption sits: taRightJustify (the default) right of the circle,
  // taLeftJustify left of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void UncheckSiblings();
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// The buttons of an item group are its only children and are owned by it, not by the
// form: a walk over the form's components meets the group, the group's own walk its
// buttons. Their click events belong to the group.
class TItemGroup : public TGroupBox {
 public:
  TItemGroup();
  std::string_view ClassName() const override { return "TItemGroup"; }
  TStringList& Items() { return FItems; }
  int Columns() const { return FColumns; }
  void SetColumns(int columns);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  virtual TWinControl* MakeButton() = 0;
  virtual void ButtonClicked(int index) = 0;
  // The items changed: buttons beyond their count are gone, new ones are unchecked, the
  // others keep their state.
  virtual void ButtonsRebuilt() {}
  TWinControl* Button(int index) const { return FButtons.at(index); }
  void FontChanged() override;

 private:
  void UpdateButtons();
  void ArrangeButtons();
  TStringList FItems;
  std::vector<TWinControl*> FButtons;
  int FColumns = 1;
};

class TRadioGroup : public TItemGroup {
 public:
  std::string_view ClassName() const override { return "TRadioGroup"; }
  TRadioButton* Buttons(int index) const { return static_cast<TRadioButton*>(Button(index)); }
  // The checked button, -1 when none is.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // OnClick fires once when a click on a button changes ItemIndex.

 protected:
  TWinControl* MakeButton() override;
  void ButtonClicked(int index) override;
  void ButtonsRebuilt() override;

 private:
  int FItemIndex = -1;
};

using TItemEvent = std::function<void(TComponent* sender, int index)>;

class TCheckGroup : public TItemGroup {
 public:
  std::string_view ClassName() const override { return "TCheckGroup"; }
  TCheckBox* Buttons(int index) const { return static_cast<TCheckBox*>(Button(index)); }
  bool Checked(int index) const;
  void SetChecked(int index, bool value);
  // Both fire once when a click toggles a box (OnClick first).
  TItemEvent OnItemClick;

 protected:
  TWinControl* MakeButton() override;
  void ButtonClicked(int index) override;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where a glyph and a caption go in a button's client rectangle. Margin is the space
// from the edge to the glyph, spacing the space between glyph and caption; -1 for either
// centres: both -1 share the free space in three, a margin of -1 alone in two.
struct TGlyphPlacement {
  POINT Glyph{};
  RECT Text{};
  UINT TextFormat = DT_LEFT;
};
TGlyphPlacement PlaceGlyphAndText(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                  int spacing);

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// Glyph frames side by side: up, disabled, down (pressed), latched down. A glyph without
// a disabled frame is drawn embossed when disabled. The colour of the glyph's bottom-left
// pixel is transparent.
class TBitBtn : public TButton {
 public:
  TBitBtn();
  std::string_view ClassName() const override { return "TBitBtn"; }
  // The picture as given, 96-DPI pixels.
  TBitmap& Glyph() { return FGlyph.Source(); }
  const TBitmap& Glyph() const { return FGlyph.Source(); }
  // The glyph strip as it is drawn: at the button's scale.
  TBitmap& DrawnGlyph() { return FGlyph.At(Dpi(), FNumGlyphs); }
  // Copies the picture; a strip of 2 to 4 square glyphs sets NumGlyphs to match.
  void SetGlyph(const TBitmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout layout);
  // Margin and spacing are 96-DPI units (-1: centred); the Drawn ones pixels.
  int Margin() const { return FMargin; }
  int DrawnMargin() const { return FMargin < 0 ? FMargin : Scaled(FMargin); }
  void SetMargin(int margin);
  int Spacing() const { return FSpacing; }
  int DrawnSpacing() const { return FSpacing < 0 ? FSpacing : Scaled(FSpacing); }
  void SetSpacing(int spacing);
  // A standard kind gives the button its caption and glyph (bkCustom changes nothing).
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind kind);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  TGlyphStrip FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TBitBtnKind FKind = bkCustom;
};

enum TSpeedButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Buttons with the same non-zero GroupIndex on the same parent work as one group: the
// one latched down releases the others. Flat buttons let the parent show through and
// raise their edge only under the mouse.
class TSpeedButton : public TGraphicControl {
 public:
  TSpeedButton();
  std::string_view ClassName() const override { return "TSpeedButton"; }
  // The picture as given, 96-DPI pixels.
  TBitmap& Glyph() { return FGlyph.Source(); }
  const TBitmap& Glyph() const { return FGlyph.Source(); }
  // The glyph strip as it is drawn: at the button's scale.
  TBitmap& DrawnGlyph() { return FGlyph.At(Dpi(), FNumGlyphs); }
  void SetGlyph(const TBitmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout layout);
  // Margin and spacing are 96-DPI units (-1: centred); the Drawn ones pixels.
  int Margin() const { return FMargin; }
  int DrawnMargin() const { return FMargin < 0 ? FMargin : Scaled(FMargin); }
  void SetMargin(int margin);
  int Spacing() const { return FSpacing; }
  int DrawnSpacing() const { return FSpacing < 0 ? FSpacing : Scaled(FSpacing); }
  void SetSpacing(int spacing);

  bool Down() const { return FDown; }
  // Only a grouped button latches; releasing the down button of a group needs AllowAllUp.
  void SetDown(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  bool AllowAllUp() const { return FAllowAllUp; }
  // For the whole group.
  void SetAllowAllUp(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);

  // What the button shows now: pushed while the mouse holds it, latched, disabled, up.
  TSpeedButtonState State() const;
  bool MouseInControl() const { return FMouseInControl; }
  void Invalidate() override;
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  template <class F>
  void ForEachInGroup(F f);
  TGlyphStrip FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FTracking = false;     // the left button went down on us and is still held
  bool FMouseInside = false;  // ... and the mouse is over us
  bool FMouseInControl = false;
};

}  // namespace kv
