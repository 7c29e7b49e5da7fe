#include "skin/windows/FormMdi.h"

#include "base/win/WindowText.h"
#include "framework/Subclass.h"
#include "skin/core/SkinData.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {

bool TFormMdi::FindClient(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowClassName(child) == L"MDIClient") {
      FMdiClient = child;
      return true;
    }
  return false;
}

void TFormMdi::HookClient(TSkinData& data) {
  FSavedMenuUpdate = data.MenuUpdate();
  FMdiClientHook =
      SubclassWindow(FMdiClient, [this](TMessage& m, TDefaultProc callDefault) { ClientHandler(m, callDefault); });
}

void TFormMdi::UnhookClient() {
  if (FMdiClientHook) UnsubclassWindow(FMdiClient, FMdiClientHook);
  FMdiClientHook = {};
}

void TFormMdi::Command(WPARAM command) {
  if (FForm.FormKind() != fkMdiFrame || !FMdiClient) return;
  if (const auto child = reinterpret_cast<HWND>(SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
  TSkinManage* manager = TSkinManage::Instance();
  if (manager && manager->MdiMaximized() && !ActiveChildMaximized()) manager->SetMdiMaximized(false);
}

bool TFormMdi::ActiveChildMaximized() const {
  if (FForm.FormKind() != fkMdiFrame || !FMdiClient) return false;
  BOOL maximized = FALSE;
  const auto child = reinterpret_cast<HWND>(SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, LPARAM(&maximized)));
  return child && maximized;
}

int TFormMdi::LiveChildSkins() {
  const TSkinManage* manager = TSkinManage::Instance();
  if (!manager) return 0;
  int count = 0;
  for (const TWinSkinForm* skin : manager->FormSkins())
    if (skin->FormKind() == fkMdiChild && skin->SkinState() != fsClosing && skin->SkinState() != fsClosed) ++count;
  return count;
}

void TFormMdi::ClientHandler(TMessage& message, TDefaultProc callDefault) {
  const TFormSkinUse use(FForm);
  TSkinManage* manager = TSkinManage::Instance();
  switch (message.Msg) {
    case WM_NCDESTROY:
      callDefault(message);
      UnsubclassWindow(FMdiClient, FMdiClientHook);
      FMdiClientHook = {};
      return;
    case WM_NCCALCSIZE:
      // The frame's skinned children never need the client's scroll bars.
      if (FForm.FrameSkinned())
        SetWindowLongW(FMdiClient, GWL_STYLE, GetWindowLongW(FMdiClient, GWL_STYLE) & ~LONG(WS_HSCROLL | WS_VSCROLL));
      callDefault(message);
      return;
    case WM_MDICREATE:
      FForm.FSkinData->SetMenuUpdate(false);
      callDefault(message);
      FNewMdiChild = reinterpret_cast<HWND>(message.Result);
      return;
    case WM_MDIDESTROY:
      callDefault(message);
      if (FForm.FrameSkinned() && manager) manager->SetMdiMaximized(ActiveChildMaximized());
      if (LiveChildSkins() == 0) {
        FForm.FSkinData->SetMenuUpdate(FSavedMenuUpdate);
        // The frame's own bar again, without a maximised child's buttons.
        if (FForm.FMenuBar && FForm.FrameSkinned()) {
          FForm.FMenuBar->BuildFromMenuComponent();
          FForm.RepaintMenuBar();
        }
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FForm.FrameSkinned() && manager && manager->MdiMaximized()) manager->SetMdiMaximized(false);
      callDefault(message);
      return;
    case WM_MDISETMENU: {
      callDefault(message);
      if (!FForm.FrameSkinned()) return;
      const auto menu = reinterpret_cast<HMENU>(message.WParam);
      if (menu && !FForm.FMenuBar) {
        FForm.CreateMenuBar(GetMenu(FForm.FWindow));
        FForm.FitWindowToFrame(true);
      } else if (menu && FForm.FMenuBar) {
        // A handle with its top bit set is never taken for the one we hold.
        const bool differs = menu != FForm.FMenuBar->MenuHandle() || (UINT_PTR(menu) >> (sizeof(UINT_PTR) * 8 - 1)) != 0;
        if (differs || FNewMdiChild) FForm.FMenuBar->RebuildFromMenuHandle(GetMenu(FForm.FWindow));
      }
      if (FForm.FMenuBar && GetMenu(FForm.FWindow)) SetMenu(FForm.FWindow, nullptr);
      FForm.RepaintMenuBar();
      return;
    }
    case WM_MDIREFRESHMENU:
      callDefault(message);
      if (FNewMdiChild && manager) {
        manager->SkinWindow(FNewMdiChild);
        PostMessageW(FForm.FWindow, SM_REPAINTFRAME, 0, 0);
        FNewMdiChild = nullptr;
      }
      return;
    default: callDefault(message);
  }
}

}  // namespace kv
