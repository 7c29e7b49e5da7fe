// The form skin's part in menus: owner drawing of the form's popup-menu components, the
// measuring and painting of menu items that reach the window, and the system menu.
#include <windows.h>

#include "base/win/Dc.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/menus/SkinMenuItems.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

TMenuSkinContext ContextOf(const TWinSkinForm& skin) {
  TMenuSkinContext context;
  context.Data = skin.SkinData();
  context.Window = skin.Window();
  context.Dpi = WindowDpi(skin.Window());
  if (TWinSkinMenu* bar = skin.MenuBar()) context.FallbackMenu = bar->MenuComponent();
  return context;
}

// Handlers outlive nothing: they find the window's skin when they run, and fall back to
// the framework's plain look when it has gone.
TWinSkinForm* SkinOf(HWND window) {
  TSkinManage* manager = TSkinManage::Instance();
  TWinSkinForm* skin = manager && window ? manager->FindFormSkin(window) : nullptr;
  return skin && skin->SkinData() && !skin->SkinData()->NoSkin() ? skin : nullptr;
}

void InstallSkinHandlers(TMenuItem* item, HWND window) {
  item->OnMeasureItem = [window](TMenuItem* sender, TCanvas& canvas, int& width, int& height) {
    if (TWinSkinForm* skin = SkinOf(window)) MeasureMenuItem(ContextOf(*skin), sender, canvas, width, height);
  };
  item->OnAdvancedDrawItem = [window](TMenuItem* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
    if (TWinSkinForm* skin = SkinOf(window))
      DrawMenuItem(ContextOf(*skin), sender, canvas, (state & odSelected) != 0, rect);
    else
      sender->DrawDefault(canvas, rect, state);
  };
}

void SetItemsOwnerDraw(TMenuItem* parent, bool on, HWND window) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!on)
      item->OnAdvancedDrawItem = nullptr;
    else if (!item->OnAdvancedDrawItem)  // an item drawing itself keeps its own measuring too
      InstallSkinHandlers(item, window);
    SetItemsOwnerDraw(item, on, window);
  }
}

// Items of the system menu by Tag.
enum TSystemItem { siRestore = 0, siMaximize = 1, siMinimize = 2, siClose = 3, siSeparator = 100 };

TMenuItem* ItemByTag(TPopupMenu* menu, int tag) {
  for (int i = 0; i < menu->Items()->Count(); ++i)
    if (menu->Items()->Items(i)->Tag() == tag) return menu->Items()->Items(i);
  return nullptr;
}

}  // namespace

void TWinSkinForm::SetPopupMenusOwnerDraw(bool on) {
  if (!FForm || !FSkinData) return;
  if (!FSkinData->SkinControls().Contains(xcPopupMenu)) return;
  const HWND window = FWindow;
  for (int i = 0; i < FForm->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TPopupMenu*>(FForm->Components(i));
    if (!menu || menu->Tag() % 100 == FSkinData->DisableTag()) continue;
    menu->SetOwnerDraw(on);
    SetItemsOwnerDraw(menu->Items(), on, window);
  }
}

void TWinSkinForm::BuildSystemMenu() {
  FreeSystemMenu();
  if (!FSkinData) return;
  auto popup = std::make_shared<TPopupMenu>();
  popup->SetName("SystemPopup");
  // The skin's glyphs (restore, maximise, minimise, close) as the menu's image list.
  auto* glyphs = popup->Make<TImageList>(16, 16);
  if (HIMAGELIST source = FSkinData->MenuGlyphs()) {
    const int count = ImageList_GetImageCount(source);
    if (count > 0) {
      TBitmap strip(16 * count, 16);
      TCanvas& canvas = strip.Canvas();
      canvas.Brush().SetStyle(bsSolid);
      canvas.Brush().SetColor(clFuchsia);
      canvas.FillRect({0, 0, 16 * count, 16});
      for (int i = 0; i < count; ++i) ImageList_Draw(source, i, canvas.Handle(), 16 * i, 0, ILD_TRANSPARENT);
      glyphs->Add(strip, clFuchsia);
    }
  }
  glyphs->ScaleForDpi(WindowDpi(FWindow));
  popup->SetImages(glyphs);
  popup->SetOwnerDraw(true);

  const HWND window = FWindow;
  auto add = [&](const wchar_t* caption, int tag, TNotifyEvent onClick) {
    TMenuItem* item = popup->Items()->Add(caption);
    item->SetTag(tag);
    item->SetImageIndex(tag);
    item->OnClick = std::move(onClick);
    InstallSkinHandlers(item, window);
    return item;
  };
  // Clicks come after the menu loop (a posted WM_COMMAND): the skin may be gone by then.
  auto command = [window](void (TWinSkinForm::*action)()) {
    return [window, action](TComponent*) {
      if (TSkinManage* manager = TSkinManage::Instance())
        if (TWinSkinForm* skin = manager->FindFormSkin(window)) (skin->*action)();
    };
  };
  add(L" Restore ", siRestore, command(&TWinSkinForm::Restore));
  if (HasFlag(FCaptionFlags, TCaptionFlags::cfMaxBox))
    add(L" Maximize ", siMaximize, command(&TWinSkinForm::ToggleMaximize));
  if (HasFlag(FCaptionFlags, TCaptionFlags::cfMinBox))
    add(L" Minimize ", siMinimize, command(&TWinSkinForm::ToggleMinimize));
  add(L"-", siSeparator, {});
  TMenuItem* close = add(L" Close ", siClose, [window](TComponent*) {
    if (TSkinManage* manager = TSkinManage::Instance())
      if (TWinSkinForm* skin = manager->FindFormSkin(window)) skin->SetHoverTimer(false);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  close->SetShortCut(ShortCut(VK_F4, scAlt));  // shown only: the platform takes Alt+F4
  FSystemPopupOwner = std::move(popup);
  FSystemPopup = FSystemPopupOwner.get();
}

void TWinSkinForm::FreeSystemMenu() {
  FSystemPopup = nullptr;
  FSystemPopupOwner.reset();  // a ShowSystemMenu tracking it holds its own reference
}

void TWinSkinForm::OnMenuMeasureItem(TMessage& message) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
  if (!measure || measure->CtlType != ODT_MENU || !FWindowMenu) {
    PassOn(message);
    return;
  }
  TMenuItem* item = ItemFromEntry(measure->itemData);
  TMainMenu* bar = FMenuBar ? FMenuBar->MenuComponent() : nullptr;
  const bool barItem = item && bar && bar->FindItem(item->Command(), fkCommand) == item;
  // Another framework menu's item (a popup component, the system menu) is measured by
  // its own handler through the framework.
  if (item && !barItem) {
    PassOn(message);
    return;
  }
  try {
    TWindowDc dc = TWindowDc::Client(FWindow);
    TCanvas canvas(dc.Get());
    AssignMenuFont(canvas.Font(), item && item->Default(), WindowDpi(FWindow));
    int width = int(measure->itemWidth), height = int(measure->itemHeight);
    if (barItem)
      MeasureMainMenuItem(ContextOf(*this), item, canvas, width, height);
    else
      MeasurePlatformMenuItem(ContextOf(*this), FTrackedMenu, measure->itemID, canvas, width, height);
    measure->itemWidth = UINT(std::max(width, 0));
    measure->itemHeight = UINT(std::max(height, 0));
    message.Result = TRUE;
  } catch (...) {
    PassOn(message);
  }
}

void TWinSkinForm::OnMenuDrawItem(TMessage& message) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
  if (!draw || draw->CtlType != ODT_MENU || !FWindowMenu) {
    PassOn(message);
    return;
  }
  const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
  TWinSkinPopMenu::TakePending(menu);
  TMenuItem* item = ItemFromEntry(draw->itemData);
  TMainMenu* bar = FForm && FMenuBar ? FMenuBar->MenuComponent() : nullptr;
  const bool barItem = item && bar && bar->FindItem(item->Command(), fkCommand) == item;
  if (item && !barItem) {
    PassOn(message);  // its own advanced-draw handler paints it
    return;
  }
  try {
    TSavedDc saved(draw->hDC);
    TCanvas canvas(draw->hDC);
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    const TMenuSkinContext context = ContextOf(*this);
    if (barItem) {
      AssignMenuFont(canvas.Font(), item->Default(), context.Dpi);
      const TDataSkinObject* record = FSkinData->ModelFor(FWindow).MenuItem.get();
      if (record && !record->Image.Empty())
        DrawMenuItem(context, item, canvas, selected, draw->rcItem);
      else
        DrawPlainMenuItem(context, item, canvas, selected, draw->rcItem);
    } else {
      AssignMenuFont(canvas.Font(), false, context.Dpi);
      std::unique_ptr<TMenuItem> platform = MenuItemFromPlatform(menu, draw->itemID);
      DrawPlatformMenuItem(context, menu, platform.get(), selected, draw->rcItem, canvas);
    }
    message.Result = TRUE;
  } catch (...) {
    // Our painting errors are ours: the item keeps what it showed.
    message.Result = TRUE;
  }
}

void TWinSkinForm::ShowSystemMenu(POINT screen, bool byMouse) {
  if (FSystemPopup) {
    const auto enable = [this](int tag, bool on) {
      if (TMenuItem* item = ItemByTag(FSystemPopup, tag)) item->SetEnabled(on);
    };
    enable(siRestore, FWindowState != swsNormal);
    enable(siMaximize, FWindowState != swsMaximized);
    enable(siMinimize, FWindowState != swsMinimized);
  }
  const DWORD now = GetTickCount();
  // A second showing by the mouse within the double-click time is a double click on the
  // icon: close. Alt+Space twice is only the menu twice.
  if (byMouse && FSystemMenuShown && now - FLastSystemMenuTick <= GetDoubleClickTime()) {
    SetHoverTimer(false);
    PostMessageW(FWindow, WM_CLOSE, 0, 0);
    return;
  }
  FSystemMenuShown = byMouse;
  FLastSystemMenuTick = now;
  const bool skinned = FSkinData && FSkinData->SkinControls().Contains(xcSystemMenu) && FFormKind != fkMdiChild;
  if (skinned && FSystemPopupOwner) {
    // The menu's messages go to the framework form (else the framework's own window),
    // which hands them to the items' handlers.
    std::shared_ptr<TPopupMenu> popup = FSystemPopupOwner;
    if (FForm) popup->SetPopupComponent(FForm);
    popup->Popup(screen.x, screen.y);
    return;  // this skin may be gone now
  }
  // The window's own menu; its commands come back as WM_COMMAND (OnSystemMenuCommand).
  if (FSystemMenu) {
    EnableMenuItem(FSystemMenu, SC_RESTORE, FWindowState != swsNormal ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(FSystemMenu, SC_MAXIMIZE, FWindowState != swsMaximized ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(FSystemMenu, SC_MINIMIZE, FWindowState != swsMinimized ? MF_ENABLED : MF_GRAYED);
    TrackPopupMenu(FSystemMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, FWindow, nullptr);
  }
}

void TWinSkinForm::OnSystemMenuCommand(TMessage& message) {
  // Only a menu's command (no control, no notification code) can be a system command: a
  // control whose identifier happens to be SC_CLOSE closes nothing.
  if (message.LParam != 0 || HIWORD(message.WParam) != 0) {
    PassOn(message);
    return;
  }
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

void TWinSkinForm::HoldBarForKeys(int index) {
  const HWND wnd = FWindow;
  const auto buttonAt = [this](int i) -> TMenuBtn* {
    return FMenuBar && i >= 0 && i < FMenuBar->ButtonCount() ? FMenuBar->Buttons()[std::size_t(i)] : nullptr;
  };
  const auto showHot = [&](int i) {
    TMenuBtn* button = buttonAt(i);
    if (!button) return;
    button->Hover();
    POINT cursor{};
    GetCursorPos(&cursor);
    FKeyboardHotAt = cursor;  // the hover timer leaves it hot until the mouse moves
  };
  enum TKeyOutcome { koStay, koEndSwallowed, koEndPassed };
  TMenuBtn* run = nullptr;  // clicked once the hold is over
  const auto onKey = [&](WPARAM key) {
    if (key == VK_LEFT || key == VK_RIGHT) {
      // The bar runs from the right when the frame reads from the right.
      TMenuBtn* next = AdjacentMenuButton(FMenuBar, index, (key == VK_RIGHT) != FRightToLeft);
      if (!next) return koEndSwallowed;
      if (TMenuBtn* current = buttonAt(index)) current->Leave();
      index = next->Index();
      if (buttonAt(index)->Submenu) {
        run = buttonAt(index);
        return koEndSwallowed;
      }
      showHot(index);
      return koStay;
    }
    if (key == VK_RETURN || key == VK_DOWN || key == VK_UP) {
      run = buttonAt(index);
      return koEndSwallowed;
    }
    if (key == VK_ESCAPE || key == VK_MENU || key == VK_F10) return koEndSwallowed;
    if (TMenuBtn* button = FindMenuButtonByAccel(wchar_t(MapVirtualKeyW(UINT(key), MAPVK_VK_TO_CHAR)))) {
      run = button;
      return koEndSwallowed;
    }
    return koEndPassed;
  };

  showHot(index);
  MSG msg{};
  TKeyOutcome outcome = koStay;
  while (outcome == koStay) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));  // the program's own loop ends it
      return;
    }
    if (!IsWindow(wnd) || GetActiveWindow() != wnd || !buttonAt(index)) {
      outcome = koEndPassed;
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: outcome = onKey(msg.wParam); break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN: outcome = koEndPassed; break;
      default: TranslateMessage(&msg); DispatchMessageW(&msg);
    }
  }
  if (!IsWindow(wnd)) return;
  if (TMenuBtn* current = buttonAt(index)) current->Leave();
  FKeyboardHotAt.reset();
  if (outcome == koEndPassed) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (run && IsWindow(wnd)) PostMenuButtonClick(*run);
}

}  // namespace kv
