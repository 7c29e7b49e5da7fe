#include "skin/menus/WinSkinMenu.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/win/Dc.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinWindowFrame.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/SkinMenuItems.h"

namespace kv {
namespace {

// 96-DPI units, scaled to the window's.
constexpr int kButtonPadding = 10;  // added to a caption's width
constexpr int kNarrowBarStart = 12;
constexpr int kPlainBarStart = 6;

// One drop-down at a time on the GUI thread: one loop state for the program.
struct TMenuLoopState {
  TMenuBarHost* Form = nullptr;
  int Index = -1;
  UINT ItemCommand = 0;  // the framework item last selected (found again by command)
  POINT LastMouse{};
  bool Switching = false;
  bool FirstKeyPosted = false;
  int PendingSwitch = -1;
  bool PendingByKeys = false;  // the switch came from an arrow key, not the mouse
  THookHandle Hook;
};

TMenuLoopState& Loop() {
  static TMenuLoopState state;
  return state;
}

int TextWidth(TCanvas& canvas, std::wstring_view text) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  canvas.DrawTextIn(text, r, DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  return r.right - r.left;
}

// The caption of a bar button in the bar's font and colours.
void DrawButtonCaption(TCanvas& canvas, const TMenuBtn& button, const TSkinColours& colours, int dpi) {
  AssignMenuFont(canvas.Font(), false, dpi);
  canvas.Font().SetColor(button.Enabled ? colours.MenuBarTextColour : colours.ButtonShadowColour);
  TSkinControl::DrawCaption(canvas, button.Bounds, DT_CENTER, button.Enabled, button.Caption);
}

TMenuBtn* ButtonByIndex(const TWinSkinMenu* bar, int index) {
  if (!bar || index < 0 || index >= bar->ButtonCount()) return nullptr;
  return bar->Buttons()[std::size_t(index)];
}

BOOL CALLBACK CollectOpenMenu(HWND window, LPARAM param) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && std::wstring_view(name) == L"#32768")
    if (auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)))
      reinterpret_cast<std::vector<HMENU>*>(param)->push_back(menu);
  return TRUE;
}

// The open drop-down the keyboard works in: from the tracked menu down the chain of
// highlighted items whose submenus are showing. `item` is its highlighted position, -1
// when none.
HMENU DeepestOpenMenu(HMENU tracked, int* item) {
  std::vector<HMENU> open;
  EnumThreadWindows(GetCurrentThreadId(), CollectOpenMenu, reinterpret_cast<LPARAM>(&open));
  HMENU menu = tracked;
  for (int depth = 0; depth < 32; ++depth) {
    *item = -1;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
      if (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_HILITE) {
        *item = i;
        break;
      }
    if (*item < 0) return menu;
    HMENU sub = GetSubMenu(menu, *item);
    if (!sub || std::find(open.begin(), open.end(), sub) == open.end()) return menu;
    menu = sub;
  }
  return menu;
}

bool ItemOpensSubmenu(HMENU menu, int item) {
  if (item < 0 || !GetSubMenu(menu, item)) return false;
  return (GetMenuState(menu, UINT(item), MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) == 0;
}

TMenuItem* CurrentFrameworkItem() { return Loop().ItemCommand ? FindMenuItem(Loop().ItemCommand) : nullptr; }

}  // namespace

// ---- TMenuBtn ----------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TWinSkinMenu& bar, TSkinData* skinData, int index)
    : TNCObject(bar.Host()), FBar(bar), FSkinData(skinData), FIndex(index) {}

void TMenuBtn::Paint() {
  if (!FSkinData || FSkinData->NoSkin() || !FFrame.FrameShown()) return;
  const TPixelBitmap& background = FBar.Background();
  const RECT& barRect = FBar.BarRect();
  if (background.Empty() || Bounds.right <= Bounds.left) return;
  // Its own row of the background only: the rows above and below keep their captions.
  const int left = Bounds.left - barRect.left, right = Bounds.right - barRect.left;
  const int top = Bounds.top - barRect.top,
            bottom = std::min(int(Bounds.bottom + 1 - barRect.top), background.Height());
  if (bottom <= top) return;
  const TWindowDc dc = TWindowDc::Whole(FFrame.Window());
  if (!dc) return;
  try {
    TPixelBitmap column(right - left, bottom - top);
    CopyPixels(column, 0, 0, background, {left, top, right, bottom});
    CopyToWindowDc(dc.Get(), Bounds.left, Bounds.top, column);
    const TSkinColours& colours = FSkinData->Model().Colours;
    const TTextStateGuard textState(dc.Get());
    TCanvas canvas(dc.Get());
    if (State == nsPressed || State == nsHot) {
      canvas.Brush().SetStyle(bsSolid);
      canvas.Brush().SetColor(colours.ButtonHilightColour);
      canvas.FrameRect(Bounds);
    }
    DrawButtonCaption(canvas, *this, colours, FBar.Dpi());
  } catch (...) {
    // A button that cannot paint keeps what it showed; the next frame paint redraws it.
  }
}

// ---- TWinSkinMenu ------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TMenuBarHost& host) : FHost(host) {}

TWinSkinMenu::~TWinSkinMenu() { FreeButtons(); }

void TWinSkinMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FMenuComponent) FMenuComponent = nullptr;
  std::erase(FButtons, component);
}

void TWinSkinMenu::FreeButtons() {
  for (TMenuBtn* button : std::exchange(FButtons, {})) {
    if (FHost.CurrentObject() == button) FHost.SetCurrentObject(nullptr);
    if (!Destroying()) DestroyComponent(button);
  }
}

TMenuBtn* TWinSkinMenu::AddButton() {
  TMenuBtn* button = Make<TMenuBtn>(*this, FSkinData, int(FButtons.size()));
  button->Visible = true;
  FButtons.push_back(button);
  return button;
}

void TWinSkinMenu::BuildFromMenuHandle() { BuildFrom(nullptr, false); }

void TWinSkinMenu::RebuildFromMenuHandle(HMENU menu) { BuildFrom(menu, true); }

void TWinSkinMenu::BuildFrom(HMENU menu, bool matchByCommand) {
  const HWND window = FHost.Window();
  if (!menu) menu = GetMenu(window);
  if (menu) FMenuHandle = menu;
  if (FMenuHandle && !IsMenu(FMenuHandle)) FMenuHandle = nullptr;  // freed with its component
  FreeButtons();
  if (!FMenuHandle) return;
  const int count = GetMenuItemCount(FMenuHandle);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!GetMenuItemInfoW(FMenuHandle, UINT(i), TRUE, &info)) continue;
    TMenuBtn* button = AddButton();
    button->Submenu = info.hSubMenu;
    button->Command = info.wID;
    button->Enabled = (info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0;
    button->Caption = ReadMenuText(FMenuHandle, UINT(i), MF_BYPOSITION);
    if (!FMenuComponent || (!(info.fType & MFT_OWNERDRAW) && !button->Caption.empty())) continue;
    // An owner-drawn framework item is the component's: its caption, state and submenu.
    TMenuItem* root = FMenuComponent->Items();
    TMenuItem* item = nullptr;
    if (!matchByCommand) {
      if (i < root->Count()) item = root->Items(i);
    } else {
      for (int k = 0; k < root->Count(); ++k)
        if (root->Items(k)->Command() == info.wID) item = root->Items(k);
    }
    if (!item) continue;
    item->InitiateAction();
    button->Caption = item->Caption();
    button->Enabled = item->Enabled();
    button->Command = item->Command();
    button->Submenu = item->Count() > 0 ? item->Handle() : nullptr;
  }
  // The platform neither draws nor tracks its own bar from now on (an empty one either:
  // it would still take Alt into its menu mode).
  if (GetMenu(window)) SetMenu(window, nullptr);
}

void TWinSkinMenu::BuildFromMenuComponent() {
  const HWND window = FHost.Window();
  if (HMENU menu = GetMenu(window)) FMenuHandle = menu;
  if (!FMenuComponent) {
    // A foreign window has only its platform menu to go back to.
    BuildFrom(nullptr, false);
    FHost.SetCurrentObject(nullptr);
    return;
  }
  FreeButtons();
  TMenuItem* root = FMenuComponent->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    item->InitiateAction();
    TMenuBtn* button = AddButton();
    button->Caption = item->Caption();
    button->Enabled = item->Enabled();
    button->Visible = item->Visible();
    button->Command = item->Command();
    button->Submenu = item->Count() > 0 ? item->Handle() : nullptr;
  }
  if (GetMenu(window)) SetMenu(window, nullptr);
  FHost.SetCurrentObject(nullptr);
}

bool TWinSkinMenu::RightToLeft() const {
  return FrameReadsRightToLeft(std::uint32_t(GetWindowLongW(FHost.Window(), GWL_EXSTYLE)));
}

int TWinSkinMenu::StartOffset(int width) const {
  const int dpi = Dpi();
  if (!FSkinData || FSkinData->NoSkin()) return ScaleToDpi(kPlainBarStart, dpi);
  const TDataSkinObject* record = FSkinData->ModelFor(FHost.Window()).MenuBar.get();
  if (!record || record->Image.Empty()) return ScaleToDpi(kPlainBarStart, dpi);
  // In 64 bits: a skin may give any margin, and the sum must not overflow. The margins
  // are the scaled model's already.
  const std::int64_t start = RightToLeft() ? std::int64_t(record->RightWidth) + ScaleToDpi(8, dpi)
                                           : std::int64_t(record->LeftWidth) + ScaleToDpi(4, dpi);
  return start < 0 || start > width ? ScaleToDpi(kNarrowBarStart, dpi) : int(start);
}

TMenuBarRows TWinSkinMenu::Arrange(int width) const {
  std::vector<int> widths;
  widths.reserve(FButtons.size());
  if (!FButtons.empty()) {
    const TWindowDc screen = TWindowDc::Screen();
    TCanvas canvas(screen.Get());
    const int dpi = Dpi(), padding = ScaleToDpi(kButtonPadding, dpi);
    for (const TMenuBtn* button : FButtons) {
      AssignMenuFont(canvas.Font(), false, dpi);
      widths.push_back(button->Caption.empty() ? 0 : TextWidth(canvas, button->Caption) + padding);
    }
    canvas.SetHandle(nullptr);
  }
  return WrapMenuBar(widths, width, StartOffset(width), FHost.MdiButtonsReserve());
}

void TWinSkinMenu::PaintMenuBar(HDC dc, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  FBarRect = r;
  if (width <= 0 || height <= 0 || !FSkinData || FSkinData->NoSkin()) return;
  const TSkinDefinition& model = FSkinData->ModelFor(FHost.Window());
  const bool rightToLeft = RightToLeft();
  // A mirrored window's DC turns the bar round with the buffer's copy: the captions are
  // drawn turned, so that they read right there.
  const bool mirrored = IsMirroredDc(dc);
  const TMenuBarRows rows = Arrange(width);
  const int dpi = Dpi();
  const int rowHeight = RowHeight(dpi);

  TPixelBitmap work(width, height);
  if (const TDataSkinObject* record = model.MenuBar.get(); record && !record->Image.Empty()) {
    const int frames = std::max(record->FrameCount, 1);
    const int frame = StripFrameIndex(TElementKind::ekFramePiece,
                                      FHost.IsActive() ? TStateFlags::csNone : TStateFlags::csInactive, frames);
    // Each row shows the picture at a row's height; the last takes what is left.
    for (int row = 0; row < rows.RowCount && row * rowHeight < height; ++row) {
      const int bottom = row + 1 == rows.RowCount ? height : std::min(height, (row + 1) * rowHeight);
      const Rect target{0, row * rowHeight, width, bottom};
      if (record->Tile == 1)
        DrawSkinImage(work, target, record->Image, TDrawFlags::dfVertical, frames, frame, record->GetMargins());
      else
        DrawThreeSliceTiled(work, target, record->Image, TDrawFlags::dfVertical, frames, frame, record->GetMargins());
    }
  } else {
    work.Fill(PixelOf(ResolveColor(model.Colours.MenubarColour)));
  }
  FBackground = work;

  FPainting = true;
  struct TPaintingOff {
    bool& Flag;
    ~TPaintingOff() { Flag = false; }
  } paintingOff{FPainting};
  const TBufferDc buffer(dc, r);
  const bool turned = mirrored && buffer.Buffered();
  if (turned) SetLayout(buffer.Get(), 0);
  CopyToDc(buffer.Get(), r.left, r.top, work);
  TCanvas canvas(buffer.Get());
  AssignMenuFont(canvas.Font(), false, dpi);
  canvas.Brush().SetStyle(bsClear);
  for (std::size_t i = 0; i < FButtons.size() && i < rows.Cells.size(); ++i) {
    TMenuBtn* button = FButtons[i];
    const TMenuBarCell& cell = rows.Cells[i];
    const int left = rightToLeft ? r.right - cell.Offset - cell.Width : r.left + cell.Offset;
    const int top = r.top + cell.Row * rowHeight;
    // Never past the bar: beyond it lies the frame (a caption wider than a row is cut).
    const int clippedTop = std::min(top, int(r.bottom));
    button->Bounds = {std::clamp(left, int(r.left), int(r.right)), clippedTop,
                      std::clamp(left + cell.Width, int(r.left), int(r.right)),
                      std::max(clippedTop, std::min(top + rowHeight - 1, int(r.bottom) - 1))};
    button->State = TNCObject::nsNormal;
    if (cell.Width > 0 && button->Bounds.right > button->Bounds.left) {
      const Rect bounds{button->Bounds.left, button->Bounds.top, button->Bounds.right, button->Bounds.bottom};
      if (turned) MirrorDcColumns(buffer.Get(), bounds);
      DrawButtonCaption(canvas, *button, model.Colours, dpi);
      if (turned) MirrorDcColumns(buffer.Get(), bounds);
    }
  }
  canvas.SetHandle(nullptr);

  // A maximised MDI child's buttons sit at the first row's end.
  FHost.DrawMdiButtonsOnBar(buffer.Get());
}

// ---- finding buttons ---------------------------------------------------------------------

TMenuBtn* MenuButtonAt(const TWinSkinMenu* bar, POINT p) {
  if (!bar || !PtInRect(&bar->BarRect(), p)) return nullptr;
  for (TMenuBtn* button : bar->Buttons())
    if (!button->Caption.empty() && PtInRect(&button->Bounds, p)) return button;
  return nullptr;
}

TMenuBtn* AdjacentMenuButton(const TWinSkinMenu* bar, int from, bool next) {
  if (!bar || bar->ButtonCount() == 0) return nullptr;
  const int count = bar->ButtonCount();
  // A button without a caption has no place on the bar: it is passed over.
  int index = from;
  do index = ((next ? index + 1 : index - 1) % count + count) % count;
  while (index != from && bar->Buttons()[std::size_t(index)]->Caption.empty());
  return ButtonByIndex(bar, index);
}

// ---- the menu loop -----------------------------------------------------------------------

int TrackedMenuButtonIndex() { return Loop().Index; }
TMenuBarHost* TrackingFormSkin() { return Loop().Form; }
bool MenuLoopHookInstalled() { return bool(Loop().Hook); }

void SetTrackingFormSkin(TMenuBarHost* form, int buttonIndex) {
  Loop().Form = form;
  Loop().Index = buttonIndex;
}

void ForgetTrackingFormSkin(const TMenuBarHost* form) {
  if (Loop().Form != form) return;
  Loop().Form = nullptr;
  Loop().Index = -1;
  Loop().PendingSwitch = -1;
}

int TakePendingMenuSwitch(bool* byKeys) {
  if (byKeys) *byKeys = Loop().PendingByKeys;
  return std::exchange(Loop().PendingSwitch, -1);
}

void InstallMenuLoopHook() {
  TMenuLoopState& loop = Loop();
  loop.Switching = false;
  loop.FirstKeyPosted = false;
  loop.PendingSwitch = -1;
  GetCursorPos(&loop.LastMouse);
  if (!loop.Hook) loop.Hook.Reset(SetWindowsHookExW(WH_MSGFILTER, MenuLoopHook, nullptr, GetCurrentThreadId()));
}

void RemoveMenuLoopHook() {
  TMenuLoopState& loop = Loop();
  loop.Hook.Reset();
  loop.ItemCommand = 0;
  loop.Index = -1;
  loop.FirstKeyPosted = false;
}

void MenuLoopSelect(WPARAM wParam, LPARAM lParam) {
  TMenuLoopState& loop = Loop();
  if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
    // The menu closes: unless we are moving to another button, tracking ends.
    if (!loop.Switching && loop.Form) loop.Form->EndMenuTracking();
    return;
  }
  loop.Switching = false;
  loop.ItemCommand = 0;
  TWinSkinMenu* bar = loop.Form ? loop.Form->MenuBar() : nullptr;
  TMainMenu* component = bar ? bar->MenuComponent() : nullptr;
  if (!component) return;
  TMenuItem* item = nullptr;
  if (HIWORD(wParam) & MF_POPUP) {
    if (HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam)))
      item = component->FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle);
  } else {
    item = component->FindItem(LOWORD(wParam), fkCommand);
  }
  if (item) loop.ItemCommand = item->Command();
}

LRESULT CALLBACK MenuLoopHook(int code, WPARAM wParam, LPARAM lParam) {
  TMenuLoopState& loop = Loop();
  auto* msg = reinterpret_cast<MSG*>(lParam);
  try {
    // A right-to-left menu runs the other way: the arrows swap before anyone sees them.
    if (code >= 0 && msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
      TMenuItem* item = CurrentFrameworkItem();
      TMenu* menu = item ? item->GetParentMenu() : nullptr;
      if (menu && menu->IsRightToLeft()) msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    }
    const LRESULT result = CallNextHookEx(loop.Hook.Get(), code, wParam, lParam);
    if (result != 0 || code != MSGF_MENU || !msg) return result;
    TMenuBarHost* form = loop.Form;
    if (!form) return result;
    if (!loop.FirstKeyPosted) {
      // The drop-down opens with its first item selected, as a bar's does.
      loop.FirstKeyPosted = true;
      PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    TMenuBtn* target = nullptr;
    switch (msg->message) {
      case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
          loop.Switching = false;
        } else if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
          int item = -1;
          const HMENU deepest = DeepestOpenMenu(form->TrackedMenu(), &item);
          if (msg->wParam == VK_LEFT && deepest == form->TrackedMenu())
            target = AdjacentMenuButton(form->MenuBar(), loop.Index, false);
          if (msg->wParam == VK_RIGHT && !ItemOpensSubmenu(deepest, item))
            target = AdjacentMenuButton(form->MenuBar(), loop.Index, true);
        }
        break;
      case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) form->EndMenuTracking();
        return result;
      case WM_MENUSELECT: MenuLoopSelect(msg->wParam, msg->lParam); return result;
      case WM_MOUSEMOVE:
        if (msg->pt.x != loop.LastMouse.x || msg->pt.y != loop.LastMouse.y) {
          target = MenuButtonAt(form->MenuBar(), form->FramePoint(msg->pt));
          loop.LastMouse = msg->pt;
        }
        break;
      default: break;
    }
    if (target && target->Index() != loop.Index) {
      // Close this drop-down; the form opens the target's once tracking has returned
      // (a click posted now could be taken by the closing menu).
      loop.Switching = true;
      loop.PendingSwitch = target->Index();
      loop.PendingByKeys = msg->message == WM_KEYDOWN;
      EndMenu();
    }
    return result;
  } catch (...) {
    return 0;
  }
}

// ---- owner drawing -----------------------------------------------------------------------

void MakeMenuOwnerDraw(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      // The type alone: the text, bitmap and item data the items are found by stay.
      MENUITEMINFOW type{};
      type.cbSize = sizeof(type);
      type.fMask = MIIM_FTYPE;
      type.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, UINT(i), TRUE, &type);
    }
    if (info.hSubMenu && info.hSubMenu != menu) MakeMenuOwnerDraw(info.hSubMenu);
  }
}

}  // namespace kv
