// The form skin's answers to assistive technology (WM_GETOBJECT): the menu bar it draws
// in the frame and its caption with the caption buttons, as accessible objects read from
// the live skin on every call. Everything else is the platform's.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Menus.h"
#include "skin/data/SkinDefinition.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/SkinAccessible.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

// The skin still drawing the window's frame, or none.
TWinSkinForm* LiveSkin(HWND window) {
  TSkinManage* manager = TSkinManage::Instance();
  TWinSkinForm* skin = manager && IsWindow(window) ? manager->FindFormSkin(window) : nullptr;
  return skin && skin->Subclassed() && skin->FrameShown() ? skin : nullptr;
}

// A rectangle of the frame on the screen (a mirrored frame's columns run the other way).
RECT ScreenRect(const TWinSkinForm& skin, const RECT& frame) {
  const POINT a = skin.ScreenPoint({frame.left, frame.top});
  if (frame.right <= frame.left || frame.bottom <= frame.top) return {a.x, a.y, a.x, a.y};
  const POINT b = skin.ScreenPoint({frame.right - 1, frame.bottom - 1});
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

// A caption as read aloud: without its access-key marker, nor a shortcut after a tab.
std::wstring SpokenCaption(std::wstring_view caption) {
  return StripAccessMarks(caption.substr(0, caption.find(L'\t')));
}

// ---- the menu bar

class TMenuBarAccessible : public TSkinAccessible {
 public:
  explicit TMenuBarAccessible(HWND window) : TSkinAccessible(window) {}

 protected:
  bool Read(TAccessibleView& view) const override {
    const TWinSkinForm* skin = LiveSkin(Window());
    const TWinSkinMenu* bar = skin ? skin->MenuBar() : nullptr;
    if (!bar) return false;
    view.Self.Role = ROLE_SYSTEM_MENUBAR;
    view.Self.Screen = ScreenRect(*skin, bar->BarRect());
    const bool tracking = skin->MenuTracking() && TrackingFormSkin() == skin;
    for (const TMenuBtn* button : bar->Buttons()) {
      TAccessiblePart& part = view.Children.emplace_back();
      part.Name = SpokenCaption(button->Caption);
      if (const wchar_t key = AccessKey(button->Caption)) part.Shortcut = std::wstring(L"Alt+") + wchar_t(std::towupper(key));
      part.Role = ROLE_SYSTEM_MENUITEM;
      part.DefaultAction = button->Submenu ? L"Open" : L"Execute";
      part.Screen = ScreenRect(*skin, button->Bounds);
      long state = button->Enabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
      if (button->Submenu) state |= STATE_SYSTEM_HASPOPUP;
      // A button without a caption has no place on the bar.
      if (button->Caption.empty() || !button->Visible) state |= STATE_SYSTEM_INVISIBLE;
      if (button->State == TNCObject::nsHot || button->State == TNCObject::nsPressed) state |= STATE_SYSTEM_HOTTRACKED;
      if (tracking && TrackedMenuButtonIndex() == button->Index()) state |= STATE_SYSTEM_FOCUSED;
      part.State = state;
    }
    return true;
  }

  bool DoDefaultAction(std::size_t index) override {
    TWinSkinForm* skin = LiveSkin(Window());
    TWinSkinMenu* bar = skin ? skin->MenuBar() : nullptr;
    if (!bar || index >= bar->Buttons().size()) return false;
    const TMenuBtn& button = *bar->Buttons()[index];
    if (button.Caption.empty() || !button.Visible) return false;
    // As a click would: the drop-down runs its loop after this call has returned.
    skin->PostMenuButtonClick(button);
    return true;
  }
};

// ---- the caption

// The caption buttons a title bar lists, left to right: those that move, size or close
// the window (the icon's system menu is an object of its own to the platform).
std::vector<const TWinSysButton*> TitleButtons(const TWinSkinForm& skin) {
  std::vector<const TWinSysButton*> buttons;
  for (const TWinSysButton* button : skin.Buttons()) {
    if (!button->Visible || button->Record().Action < 0) continue;
    switch (TCaptionButtons::CommandOf(button->Record().Action)) {
      case ccClose:
      case ccMaximize:
      case ccMinimize: buttons.push_back(button); break;
      default: break;
    }
  }
  std::stable_sort(buttons.begin(), buttons.end(), [&](const TWinSysButton* a, const TWinSysButton* b) {
    return ScreenRect(skin, a->Bounds).left < ScreenRect(skin, b->Bounds).left;
  });
  return buttons;
}

const wchar_t* TitleButtonName(const TWinSkinForm& skin, TCaptionCommand command) {
  switch (command) {
    case ccClose: return L"Close";
    case ccMaximize: return skin.WindowState() == swsMaximized ? L"Restore" : L"Maximize";
    case ccMinimize: return skin.WindowState() == swsMinimized ? L"Restore" : L"Minimize";
    default: return L"";
  }
}

class TTitleBarAccessible : public TSkinAccessible {
 public:
  explicit TTitleBarAccessible(HWND window) : TSkinAccessible(window) {}

 protected:
  bool Read(TAccessibleView& view) const override {
    const TWinSkinForm* skin = LiveSkin(Window());
    if (!skin) return false;
    RECT window{};
    GetWindowRect(Window(), &window);
    view.Self.Name = skin->CaptionText();
    view.Self.Role = ROLE_SYSTEM_TITLEBAR;
    view.Self.State = STATE_SYSTEM_FOCUSABLE;
    view.Self.Screen = ScreenRect(*skin, {0, 0, window.right - window.left, skin->Borders().Top});
    for (const TWinSysButton* button : TitleButtons(*skin)) {
      TAccessiblePart& part = view.Children.emplace_back();
      part.Name = TitleButtonName(*skin, TCaptionButtons::CommandOf(button->Record().Action));
      part.Role = ROLE_SYSTEM_PUSHBUTTON;
      part.DefaultAction = L"Press";
      part.Screen = ScreenRect(*skin, button->Bounds);
      if (button->State == TNCObject::nsPressed) part.State |= STATE_SYSTEM_PRESSED;
      if (button->State == TNCObject::nsHot) part.State |= STATE_SYSTEM_HOTTRACKED;
    }
    return true;
  }

  bool DoDefaultAction(std::size_t index) override {
    TWinSkinForm* skin = LiveSkin(Window());
    if (!skin) return false;
    const std::vector<const TWinSysButton*> buttons = TitleButtons(*skin);
    if (index >= buttons.size()) return false;
    // What a click on the button does, posted as it posts it.
    switch (TCaptionButtons::CommandOf(buttons[index]->Record().Action)) {
      case ccClose: PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0); return true;
      case ccMaximize: skin->ToggleMaximize(); return true;
      case ccMinimize: skin->ToggleMinimize(); return true;
      default: return false;
    }
  }
};

}  // namespace

void TWinSkinForm::OnGetObject(TMessage& message) {
  // The object number arrives as a DWORD: the platform's ids are negative LONGs.
  const auto id = LONG(DWORD(message.LParam));
  std::unique_ptr<TSkinAccessible> object;
  if (id == LONG(OBJID_MENU) && FMenuBar && FMenuBar->ButtonCount() > 0)
    object = std::make_unique<TMenuBarAccessible>(FWindow);
  else if (id == LONG(OBJID_TITLEBAR) && FFrameType != TFrameType::ftCaptionless)
    object = std::make_unique<TTitleBarAccessible>(FWindow);
  if (!object) {
    PassOn(message);
    return;
  }
  message.Result = AnswerGetObject(std::move(object), message.WParam);
}

}  // namespace kv
