#pragma once
// TSkinCheckBox and TSkinRadioButton: the control paints itself (text, focus rectangle,
// its own mark); the skin then puts its check-box or radio frame over the platform's mark,
// at the same place, off-screen, so the platform's mark never shows. They serve framework
// controls and bare dialog buttons alike.
#include <windows.h>

#include <string_view>

#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinCheckBox : public TSkinControl {
 public:
  TSkinCheckBox() : TSkinControl(TControlSkinKind::skCheckBox) {}
  std::string_view ClassName() const override { return "TSkinCheckBox"; }

  // Paints composed; a state change the control would paint at once is held and painted
  // composed after it.
  bool BeforeMessage(TMessage& message) override;
  // Clicks, BM_SETCHECK and focus leaving repaint the mark at once.
  void AfterMessage(TMessage& message) override;
  // The mark of the current state over the platform's one; nothing without a check strip.
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  // Never the platform's pushed look: the skin has none.
  void PaintOwn(HDC dc) override;
};

class TSkinRadioButton : public TSkinControl {
 public:
  TSkinRadioButton() : TSkinControl(TControlSkinKind::skRadioButton) {}
  std::string_view ClassName() const override { return "TSkinRadioButton"; }

  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  void PaintOwn(HDC dc) override;
};

// Where a mark cell of w x h goes in a button of `rect`: centred vertically; a cell
// narrower than 14 pixels is centred in a 14-pixel column at the box's edge (left, or
// right when the text is on the left).
RECT CheckMarkRect(const RECT& rect, int cellWidth, int cellHeight, bool boxOnRight);

}  // namespace kv
