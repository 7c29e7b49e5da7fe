#include "skin/windows/CaptionButtons.h"

#include <algorithm>
#include <utility>

#include "base/win/Dc.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinFrameGdi.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/WinSkinForm.h"

namespace kv {

TWinSysButton::TWinSysButton(TFrameHost& frame, const TCaptionButtons& buttons, std::size_t index)
    : TNCObject(frame), FButtons(buttons), FIndex(index) {}

void TWinSysButton::Paint() { FButtons.Draw(*this, State); }

const TDataSkinSysButton& TWinSysButton::Record() const { return FButtons.Record(FIndex); }

TCaptionButtons::TCaptionButtons(TWinSkinForm& form, const TPixelBitmap& icon) : FForm(form), FIcon(icon) {}

void TCaptionButtons::Rebuild() {
  Free();
  TSkinDefinition& model = FForm.SkinData()->ModelFor(FForm.Window());
  for (std::size_t i = 0; i < model.SysButtons.size(); ++i)
    FButtons.push_back(FForm.Make<TWinSysButton>(FForm, *this, i));
  FLayout = {};
  // Icon buttons show the window's icon as one frame; an empty picture takes the icon's
  // size, so that the button is laid out at all.
  for (const auto& record : model.SysButtons) {
    if (record->Action != 3 && record->Action != 11) continue;
    if (record->Image.Empty()) record->Image = FIcon;
    record->FrameCount = 1;
  }
}

void TCaptionButtons::Free() {
  for (TWinSysButton* button : std::exchange(FButtons, {})) FForm.DestroyComponent(button);
}

void TCaptionButtons::Forget(const TComponent* component) { std::erase(FButtons, component); }

void TCaptionButtons::PlaceFromLayout() {
  for (std::size_t i = 0; i < FButtons.size() && i < FLayout.Buttons.size(); ++i) {
    const ButtonPlace& place = FLayout.Buttons[i];
    FButtons[i]->Visible = place.Visible;
    FButtons[i]->Bounds = {place.Bounds.Left, place.Bounds.Top, place.Bounds.Right, place.Bounds.Bottom};
    FButtons[i]->State = TNCObject::nsNormal;
  }
}

TWinSysButton* TCaptionButtons::At(POINT p) const {
  for (TWinSysButton* button : FButtons)
    if (button->Visible && button->Record().Action >= 0 && PtInRect(&button->Bounds, p)) return button;
  return nullptr;
}

void TCaptionButtons::Draw(const TWinSysButton& button, int state) const {
  if (!FForm.FrameShown()) return;
  TStateFlags flags = TStateFlags::csNone;
  if (state == TNCObject::nsPressed) flags = TStateFlags::csPressed;
  if (state == TNCObject::nsHot) flags = TStateFlags::csHot;
  if (state == TNCObject::nsNormal && !FForm.IsActive()) flags = TStateFlags::csInactive;
  const TWindowDc dc = TWindowDc::Whole(FForm.Window());
  const RECT& b = button.Bounds;
  DrawSkinCaptionButton(dc.Get(), FrameSkinOf(FForm.SkinData()->ModelFor(FForm.Window())), button.Index(),
                        {b.left, b.top, b.right, b.bottom}, flags, &FIcon);
}

void TCaptionButtons::DrawOnMdiBar(HDC dc) const {
  for (TWinSysButton* button : FButtons) {
    const TDataSkinSysButton& record = button->Record();
    if (record.Visibility != 100 || record.Image.Empty() || !button->Visible) continue;
    const RECT& b = button->Bounds;
    const int frames = std::max(record.FrameCount, 1);
    DrawFrameStretched(dc, {b.left, b.top, b.right, b.bottom}, record.Image, TDrawFlags::dfTransparent, frames,
                       StripFrameIndex(TElementKind::ekMdiButton, TStateFlags::csNone, frames));
  }
}

const TDataSkinSysButton& TCaptionButtons::Record(std::size_t index) const {
  return *FForm.SkinData()->ModelFor(FForm.Window()).SysButtons.at(index);
}

TCaptionCommand TCaptionButtons::CommandOf(int action) {
  switch (action) {
    case 0: return ccClose;
    case 1:
    case 22: return ccMaximize;
    case 2:
    case 23: return ccMinimize;
    case 3:
    case 11:
    case 12: return ccSystemMenu;
    case 7:
    case 60: return ccMdiMinimize;
    case 8:
    case 61: return ccMdiRestore;
    case 9:
    case 62: return ccMdiClose;
    default: return ccApplication;
  }
}

}  // namespace kv
