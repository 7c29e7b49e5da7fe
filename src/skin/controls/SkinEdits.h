#pragma once
// Edit fields and combo boxes. Both let the control paint itself first and then paint
// only the frame parts over it, on the window's DC (non-client area included):
//
//   TSkinEdit    a flat two-pixel frame in skin colours instead of the sunken border,
//                and a skin for a spin button the edit carries inside it; a flat edit
//                (its line inside its client area) is painted composed off-screen
//   TSkinComBox  the border and drop-down button of a combo box from the skin's
//                SunkEdge, ComboButton and ExtraImages, hot / pressed / focused / disabled
#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinEdit : public TSkinControl {
 public:
  TSkinEdit() : TSkinControl(TControlSkinKind::skEdit) {}
  std::string_view ClassName() const override { return "TSkinEdit"; }

  // A printing DC's state is noted first; a flat edit's paints are composed and its focus
  // changes held (TSkinControl::PassHeld); every other message goes to the edit.
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Gives the first spin-button child of `window` (top of the order first) an up-down
  // skin of its own; nothing when there is none.
  void FindSpinButton(HWND window);
  // The frame into a DC the edit is printed into (WM_PRINT); errors are swallowed.
  void PrintFrame(HDC dc);
  // A flat framework edit or memo: its one-pixel border lies inside its client area.
  bool HasInnerBorder() const;

  // The up-down skin of the inner spin button, or null.
  TSkinControl* UpDown() const { return FUpDown; }

 protected:
  // The up-down skin belongs to our owner and may go first.
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSkinControl* FUpDown = nullptr;
  // The printing DCs of the WM_PRINTs running now, with their saved states: the edit
  // leaves its client clipping on the DC, and the frame lies outside it.
  std::vector<std::pair<HDC, int>> FPrinting;
};

class TSkinComBox : public TSkinControl {
 public:
  TSkinComBox() : TSkinControl(TControlSkinKind::skComBox) {}
  std::string_view ClassName() const override { return "TSkinComBox"; }

  void AfterMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The flat look (ComboButton Style 1): plain frames and the button always on the right.
  void DrawFlatCombo(HDC dc, const RECT& rect, TStateFlags state);
  // Focus in the combo box's edit counts as its own; the styles are read on the way.
  TStateFlags DrawState() override;

  // The window's style and extended style as the last draw read them.
  LONG_PTR Style() const { return FStyle; }
  LONG_PTR ExStyle() const { return FExStyle; }

 private:
  LONG_PTR FStyle = 0;
  LONG_PTR FExStyle = 0;
};

}  // namespace kv
