#pragma once
// TSkinTrackBar lets the platform draw the channel and the ticks and puts the skin's thumb
// in place of its own, through the control's custom-draw notification. TSkinUpDown paints
// both arrow buttons of a spin control, from the skin or, without one, as flat boxes with
// line-drawn arrows; edit and tab skins make their own for the spin buttons inside them.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string_view>

#include "skin/controls/SkinControl.h"
#include "skin/data/SkinFrames.h"

namespace kv {

class TSkinTrackBar : public TSkinControl {
 public:
  TSkinTrackBar() : TSkinControl(TControlSkinKind::skTrackBar) {}
  std::string_view ClassName() const override { return "TSkinTrackBar"; }

  // Takes WM_ERASEBKGND and the control's own custom-draw notification (plain or
  // reflected by the framework).
  bool BeforeMessage(TMessage& message) override;
  // The answer to one custom-draw stage; the thumb is drawn here.
  LRESULT TrackCustomDraw(const NMCUSTOMDRAW& draw);

 private:
  void DrawThumb(HDC dc, UINT itemState);
};

class TSkinUpDown : public TSkinControl {
 public:
  TSkinUpDown() : TSkinControl(TControlSkinKind::skUpDown) {}
  std::string_view ClassName() const override { return "TSkinUpDown"; }

  // Paints itself; a press or release is handed to the control first, then shown.
  bool BeforeMessage(TMessage& message) override;
  // Both buttons, composed off-screen and copied once.
  void DrawSkin(HDC dc, const RECT& rect) override;

  // One pixel of face around the buttons: for spin buttons sitting inside an edit's frame.
  bool Inset() const { return FInset; }
  void SetInset(bool value) { FInset = value; }
  // Side by side whatever the style says: for the tab-set scroller.
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool value) { FHorizontal = value; }

 private:
  void DrawButton(HDC dc, const RECT& button, bool second, bool horizontal, TStateFlags state);

  bool FInset = false;
  bool FHorizontal = false;
  // The control's handling of a click may free us (its parent reacting to the step).
  std::shared_ptr<char> FAlive = std::make_shared<char>();
};

}  // namespace kv
