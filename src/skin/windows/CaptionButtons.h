#pragma once
// TCaptionButtons: a form skin's caption buttons, one per SysButtons record of the skin,
// with the places the last frame paint gave them. The buttons are components of the form
// skin (they are the frame's objects under the mouse); this holds and lays them out.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/core/SkinHosts.h"
#include "skin/data/SkinWindowFrame.h"

namespace kv {

class TCaptionButtons;
class TComponent;
class TDataSkinSysButton;
class TPixelBitmap;
class TWinSkinForm;

// One caption button: the SysButtons record of the same index.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TFrameHost& frame, const TCaptionButtons& buttons, std::size_t index);
  std::string_view ClassName() const override { return "TWinSysButton"; }
  void Paint() override;
  std::size_t Index() const { return FIndex; }
  const TDataSkinSysButton& Record() const;

 private:
  const TCaptionButtons& FButtons;
  std::size_t FIndex;
};

// What a caption button's record asks for when clicked.
enum TCaptionCommand : std::uint8_t {
  ccClose,
  ccMaximize,
  ccMinimize,
  ccSystemMenu,
  ccMdiMinimize,
  ccMdiRestore,
  ccMdiClose,
  ccApplication,  // posted to the window for the application to act on
};

class TCaptionButtons {
 public:
  // `icon`: the window's icon, shown by the icon buttons; both outlive this.
  TCaptionButtons(TWinSkinForm& form, const TPixelBitmap& icon);

  // One button per record of the form skin's skin data (the old ones freed first).
  void Rebuild();
  void Free();
  // A button the form skin heard going.
  void Forget(const TComponent* component);
  const std::vector<TWinSysButton*>& Buttons() const { return FButtons; }

  // Filled by the frame paint, then handed to the buttons.
  ButtonLayout& Layout() { return FLayout; }
  void PlaceFromLayout();
  // The visible button with an action at a point of the frame, or none.
  TWinSysButton* At(POINT framePoint) const;
  void Draw(const TWinSysButton& button, int state) const;
  // A maximised MDI child's buttons, on its frame's menu bar.
  void DrawOnMdiBar(HDC dc) const;

  const TDataSkinSysButton& Record(std::size_t index) const;
  static TCaptionCommand CommandOf(int action);

 private:
  TWinSkinForm& FForm;
  const TPixelBitmap& FIcon;
  std::vector<TWinSysButton*> FButtons;  // owned as components of the form skin
  ButtonLayout FLayout;                  // of the last paint
};

}  // namespace kv
