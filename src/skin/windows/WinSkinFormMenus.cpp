// The form skin's part in menus: owner drawing of the form's popup-menu components, the
// measuring and painting of menu items that reach the window, and the system menu.
#include <windows.h>

#include "skin/windows/WinSkinForm.h"

namespace kv {

void TWinSkinForm::SetPopupMenusOwnerDraw([[maybe_unused]] bool on) {}

void TWinSkinForm::BuildSystemMenu() {}

void TWinSkinForm::FreeSystemMenu() {}

void TWinSkinForm::OnMenuMeasureItem(TMessage& message) { PassOn(message); }

void TWinSkinForm::OnMenuDrawItem(TMessage& message) { PassOn(message); }

void TWinSkinForm::ShowSystemMenu(POINT screen) {
  if (FSystemMenu) {
    EnableMenuItem(FSystemMenu, SC_RESTORE, FWindowState != swsNormal ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(FSystemMenu, SC_MAXIMIZE, FWindowState != swsMaximized ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(FSystemMenu, SC_MINIMIZE, FWindowState != swsMinimized ? MF_ENABLED : MF_GRAYED);
  }
  const DWORD now = GetTickCount();
  // A second showing within the double-click time is a double click on the icon: close.
  if (FSystemMenuShown && now - FLastSystemMenuTick <= GetDoubleClickTime()) {
    SetHoverTimer(false);
    PostMessageW(FWindow, WM_CLOSE, 0, 0);
    return;
  }
  FSystemMenuShown = true;
  FLastSystemMenuTick = now;
  // The skinned system menu comes with the skinned popup menus; the window's own menu
  // until then. Its commands come back as WM_COMMAND (OnSystemMenuCommand).
  if (FSystemMenu) TrackPopupMenu(FSystemMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, FWindow, nullptr);
}

void TWinSkinForm::OnSystemMenuCommand(TMessage& message) {
  switch (LOWORD(message.WParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE: PostMessageW(FWindow, WM_SYSCOMMAND, LOWORD(message.WParam), 0); return;
    default: PassOn(message);
  }
}

}  // namespace kv
