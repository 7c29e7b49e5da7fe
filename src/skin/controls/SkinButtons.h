#pragma once
// The push-button skins. All three draw the face from the skin's Buttons picture (five
// frames) and colour the caption the same way; they differ in where caption and glyph go
// and in how they hook the control.
//
//   TSkinButton       plain push buttons: framework buttons and bare dialog buttons. It
//                     takes the button-down from the button, so the platform never shows
//                     its own pressed look, and reports the click itself on button-up.
//   TSkinBitButton    framework buttons with a glyph beside the caption
//   TSkinSpeedButton  window-less speed buttons, painted on the parent's DC; the control
//                     keeps its own down, group and click logic, the skin mirrors it
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinFrames.h"

namespace kv {

class TBitmap;
class TDataSkinButton;

// Frame frameIndex (from 1) of a glyph strip of glyphCount frames at position, the colour
// of the frame's top-left pixel left out.
void DrawGlyph(TCanvas& canvas, POINT position, int glyphCount, int frameIndex, const TBitmap& glyph);

class TSkinButton : public TSkinControl {
 public:
  TSkinButton() : TSkinButton(TControlSkinKind::skButton) {}
  std::string_view ClassName() const override { return "TSkinButton"; }

  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  explicit TSkinButton(TControlSkinKind kind) : TSkinControl(kind) {}

  // The skin's Buttons element, or null when it is missing or has no picture: the
  // platform then draws the button.
  const TDataSkinButton* ButtonElement() const;
  // The caption colour of a face frame; the button-shadow colour when disabled.
  TColor CaptionColor(int frame, bool enabled) const;
  // The per-object off-screen bitmap, sized to width x height; null without memory.
  HDC Buffer(int width, int height);
  // The window's font (WM_GETFONT) as the canvas's font description.
  void TakeWindowFont(TCanvas& canvas) const;
  // Where the mouse message's point lies: inside the control or not.
  bool PointInside(const TMessage& message) const;
  // The caption as the window has it when a draw starts.
  void RefreshCaption();

 private:
  TMemoryDc FBufferDc;
  TBitmapHandle FBuffer;
  std::optional<TSelectGuard> FBufferSelect;  // ends before the bitmap goes
  int FBufferWidth = 0, FBufferHeight = 0;
};

class TSkinBitButton : public TSkinButton {
 public:
  TSkinBitButton() : TSkinBitButton(TControlSkinKind::skBitButton) {}
  std::string_view ClassName() const override { return "TSkinBitButton"; }

  void DrawSkin(HDC dc, const RECT& rect) override;
  // A speed button: its message chain is hooked, it has no window and keeps its colour.
  void AttachGraphic(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas) override;
  // Enabled as the framework control says.
  TStateFlags DrawState() override;

 protected:
  explicit TSkinBitButton(TControlSkinKind kind) : TSkinButton(kind) {}
};

class TSkinSpeedButton : public TSkinBitButton {
 public:
  TSkinSpeedButton() : TSkinBitButton(TControlSkinKind::skSpeedButton) {}
  std::string_view ClassName() const override { return "TSkinSpeedButton"; }

  // Latched down (Down) is a state of its own.
  TStateFlags DrawState() override;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  // Draws the button on the parent's DC now (dc when given, in the control's coordinates).
  void PaintSkin(HDC dc) override;

 private:
  // The whole button over rect of target, composed on the shared scratch bitmap.
  void DrawButton(HDC target, const RECT& rect);
};

}  // namespace kv
