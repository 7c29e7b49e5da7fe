// The skinned frame of TWinSkinForm: caption buttons and the window commands they run,
// frame painting and the window region, and the menu bar's part in the form skin.
#include <algorithm>
#include <optional>
#include <utility>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {

// ---- window commands ---------------------------------------------------------------------

void TWinSkinForm::ToggleMaximize() {
  if (FWindowState == swsMaximized) {
    Restore();
    return;
  }
  FWindowState = swsMaximized;
  PostMessageW(FWindow, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FCurrentObject = nullptr;
}

void TWinSkinForm::Restore() {
  FWindowState = swsNormal;
  PostMessageW(FWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMinimize() {
  if (FWindowState == swsMinimized) {
    Restore();
    return;
  }
  FWindowState = swsMinimized;
  PostMessageW(FWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RunButtonAction(TWinSysButton& button, POINT screen) {
  const int action = button.Record().Action;
  switch (TCaptionButtons::CommandOf(action)) {
    case ccClose:
      SetHoverTimer(false);
      PostMessageW(FWindow, WM_CLOSE, 0, 0);
      break;
    case ccMaximize: ToggleMaximize(); break;
    case ccMinimize: ToggleMinimize(); break;
    case ccSystemMenu: ShowSystemMenu({screen.x + 1, screen.y + 1}, true); break;
    case ccMdiMinimize: FMdi.Command(SC_MINIMIZE); break;
    case ccMdiRestore: FMdi.Command(SC_RESTORE); break;
    case ccMdiClose: FMdi.Command(SC_CLOSE); break;
    case ccApplication: PostMessageW(FWindow, SM_ISSKINNED, WPARAM(action), 0); break;
  }
}

bool TWinSkinForm::ActiveMdiChildMaximized() const { return FMdi.ActiveChildMaximized(); }

void TWinSkinForm::ResetForNewSkin() {
  FreeButtons();
  LoadFrameMetrics();
}

void TWinSkinForm::ApplySkin() {
  if (FForm) {
    ApplyFormColours();
    const TColor face = FSkinData->Model().Colours.ButtonFaceColour;
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* embedded = dynamic_cast<TForm*>(FForm->Components(i))) embedded->SetColor(face);
  }
  if (FControlSkins) FControlSkins->SkinChanged();
  FSkinState = fsRefreshing;
  if (FrameSkinned()) {
    SetPopupMenusOwnerDraw(true);
    FitWindowToFrame(true);
    // The region is cut from the new pictures whatever the size, the caption's from the
    // strip as the new skin paints it.
    PaintFrame(nullptr);
    UpdateRegion();
  }
  FSkinState = fsReady;
}

// The window now shows at another DPI: the frame is measured from the skin at that DPI
// before the window takes the size the system suggests, then painted and cut again.
void TWinSkinForm::OnDpiChanged(TMessage& message) {
  // The skin hears of it before the form does: from here on both read the new scale.
  NoteWindowDpi(FWindow, LOWORD(message.WParam));
  LoadCaptionFont();
  // The window's own icon at the new size (one lent by the skin data stays as it is).
  bool hasIcon = false;
  if (TPixelBitmap icon = BuildIconBitmap(FWindow, &hasIcon); hasIcon) FIconBitmap = std::move(icon);
  LoadFrameMetrics();
  if (TImageList* glyphs = FSystemPopup ? FSystemPopup->Images() : nullptr) glyphs->ScaleForDpi(LOWORD(message.WParam));
  PassOn(message);
  if (FSkinState != fsReady || FWindowState == swsMinimized) return;
  FSkinState = fsRefreshing;
  ForceFrameRecalc();
  PaintFrame(nullptr);
  UpdateRegion();
  FSkinState = fsReady;
}

// Before WM_DPICHANGED the system asks for the window's size at the new DPI: the client
// area scaled inside the skin's frame at that DPI, which is not the frame scaled (each
// piece is rounded on its own).
void TWinSkinForm::OnGetDpiScaledSize(TMessage& message) {
  auto* size = reinterpret_cast<SIZE*>(message.LParam);
  const int to = static_cast<int>(message.WParam);
  if (!size || to <= 0 || FSkinState != fsReady || !FrameSkinned() || FFormKind == fkMdiChild ||
      FWindowState != swsNormal || FFrameType == TFrameType::ftCaptionless || FSkinData->NoSkin()) {
    PassOn(message);
    return;
  }
  const int from = WindowDpi(FWindow);
  RECT client{};
  GetClientRect(FWindow, &client);
  const Margins frame = FrameBordersOf(FrameSkinOf(FSkinData->ModelAt(to)));
  size->cx = MulDiv(client.right, to, from) + frame.Left + frame.Right;
  size->cy = MulDiv(client.bottom, to, from) + MulDiv(FMenuBarHeight, to, from) + frame.Top + frame.Bottom;
  message.Result = TRUE;
}

// ---- frame painting and region -----------------------------------------------------------

FrameWindow TWinSkinForm::MakeFrameWindow(int width, int height) const {
  FrameWindow w;
  w.FrameType = FFrameType;
  w.CaptionFlags = FCaptionFlags;
  w.Active = FActive;
  w.Maximized = FWindowState == swsMaximized;
  w.RightToLeft = FRightToLeft;
  w.ActiveMdiChildMaximized = ActiveMdiChildMaximized();
  w.Popup = (FStyle & WS_POPUP) != 0;
  w.MenuBarHeight = FMenuBarHeight;
  w.MenuRowHeight = TWinSkinMenu::RowHeight(WindowDpi(FWindow));
  w.Borders = FBorders;
  w.Width = width;
  w.Height = height;
  return w;
}

void TWinSkinForm::PaintFrame(HDC dc) {
  if (FSkinState != fsReady && FSkinState != fsRefreshing) return;
  if (FFrameType == TFrameType::ftCaptionless) return;
  if (FFormKind == fkMdiChild && FWindowState != swsNormal) return;
  if (!FSkinData || FSkinData->NoSkin()) return;
  std::optional<TWindowDc> own;
  if (!dc) dc = own.emplace(TWindowDc::Whole(FWindow)).Get();
  RECT r{};
  GetWindowRect(FWindow, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // Buttons that came or went since the frame was computed may take other rows: the frame
  // is computed again first, the client giving up or getting back rows.
  if (FMenuBar && FWindowState != swsMinimized && MenuBarHeightFor(width, height) != FMenuBarHeight) ForceFrameRecalc();
  FramePainted painted = PaintSkinFrame(dc, Skin(), FSkinData->Model().Colours, MakeFrameWindow(width, height),
                                        FCaptionText, FCaptionFont.Get(), &FIconBitmap, FCaptionButtons.Layout());
  if (painted.Painted) {
    FCaptionBitmap = std::move(painted.Caption);
    FCaptionButtons.PlaceFromLayout();
    if (FFramePending && IsWindowVisible(FWindow)) FFramePending = false;
  }
  // The bar after the layout: a maximised MDI child's buttons on it take their places there.
  if (FMenuBar && FMenuBarHeight > 0) {
    try {
      FMenuBar->PaintMenuBar(dc, {FBorders.Left, FBorders.Top, width - FBorders.Right, FBorders.Top + FMenuBarHeight});
    } catch (...) {
      // An unpainted bar shows at the next frame paint.
    }
  }
  // The next mouse move finds the hot button again over the fresh frame.
  FCurrentObject = nullptr;
}

void TWinSkinForm::UpdateRegion() {
  RECT r{};
  GetWindowRect(FWindow, &r);
  const Extent size{r.right - r.left, r.bottom - r.top};
  if (size.Width <= 0 || size.Height <= 0) return;
  if (FFormKind == fkMdiChild && FWindowState != swsNormal) return;
  TRegionFlags flags = TRegionFlags::rfNone;
  if (FFormKind == fkMdiChild) flags = flags | TRegionFlags::rfMdiChild;
  if (FSkinState == fsRefreshing) flags = flags | TRegionFlags::rfRefreshing;
  if (FHasRegion && !RegionRebuildNeeded(size, FRegionSize, flags)) return;
  if (!FSkinData || FSkinData->NoSkin()) return;
  FRegionSize = size;
  const TPixelBitmap* caption = FCaptionBitmap.Empty() ? nullptr : &FCaptionBitmap;
  TRegionHandle region = BuildFrameRegion(MakeFrameWindow(size.Width, size.Height), Skin(), caption);
  ++FRegionBuilds;
  if (!region) return;
  // The same shape again (a skin re-read, another skin cut alike): setting it would only
  // recompute and repaint the frame.
  if (FHasRegion && FRegionShape && EqualRgn(region.Get(), FRegionShape.Get())) return;
  TRegionHandle shape(CreateRectRgn(0, 0, 0, 0));
  if (shape && CombineRgn(shape.Get(), region.Get(), nullptr, RGN_COPY) == ERROR) shape = {};
  // Once set, the region is the window's: the system deletes it.
  if (SetWindowRgn(FWindow, region.Get(), TRUE)) region.Release();
  FHasRegion = true;
  FRegionShape = std::move(shape);
}

void TWinSkinForm::OnMdiMaximizeChanged(bool maximized) {
  if (maximized) {
    DropRegion();
    ShowCaptionStyles(true);
  } else if (FWindowState == swsMinimized) {
    ShowCaptionStyles(true);
  } else {
    FWindowState = swsNormal;
    UpdateRegion();
    ShowCaptionStyles(false);
    if (!FHasRegion) ForceFrameRecalc();
  }
}

void TWinSkinForm::DropRegion() {
  if (!FHasRegion) return;
  FCaptionBitmap = {};
  SetWindowRgn(FWindow, nullptr, FALSE);
  FHasRegion = false;
  FRegionSize = {};
  FRegionShape = {};
}

}  // namespace kv

// ---- the menu bar ------------------------------------------------------------------------

namespace kv {

void TWinSkinForm::CreateMenuBar(HMENU menu) {
  if (FMenuBar || !menu) return;
  FMenuBar = Make<TWinSkinMenu>(*this);
  FMenuBar->SetSkinData(FSkinData);
  if (FForm) FMenuBar->SetMenuComponent(FForm->Menu());
  FMenuBar->BuildFromMenuHandle();
  RECT r{};
  GetWindowRect(FWindow, &r);
  FMenuBarHeight = MenuBarHeightFor(r.right - r.left, r.bottom - r.top);
}

int TWinSkinForm::MenuBarHeightFor(int windowWidth, int windowHeight) const {
  if (!FMenuBar || FFrameType == TFrameType::ftCaptionless) return 0;
  const int height = FMenuBar->HeightFor(windowWidth - FBorders.Left - FBorders.Right);
  return std::clamp(height, 0, std::max(windowHeight - FBorders.Top - FBorders.Bottom, 0));
}

void TWinSkinForm::OnMenuChanged(TMessage& message, TDefaultProc callDefault) {
  // The system recomputes the frame for the new menu: our frame waits for the result.
  const bool painting = FSkinData->FramePainting();
  FSkinData->SetFramePainting(false);
  callDefault(message);
  FSkinData->SetFramePainting(painting);
  if (!FrameSkinned() || !Subclassed() || FFormKind == fkMdiChild) return;
  const HMENU menu = GetMenu(FWindow);
  if (!FMenuBar) {
    if (!menu) return;
    CreateMenuBar(menu);
    if (std::exchange(FMenuBarDropped, false)) {
      // The menu back after it was taken away: as the platform's bar, it takes its rows
      // from the client again and the window keeps its size.
      ForceFrameRecalc();
    } else {
      // A menu that came after attaching: the bar appears, the client keeps its size.
      FitWindowToFrame(true);
    }
  } else if (FForm && !FForm->Menu() && !menu) {
    // The menu taken away: no empty strip stays; its rows go to the client.
    FreeMenuBar(false);
    FMenuBarHeight = 0;
    FMenuBarDropped = true;
    ForceFrameRecalc();
    return;
  } else if (FSkinData->MenuUpdate()) {
    // A new menu, or a change of an item of the one the bar shows (the window no
    // longer holds that one, so the bar's own handle is read again).
    if (FForm) FMenuBar->SetMenuComponent(FForm->Menu());
    FMenuBar->BuildFromMenuHandle();
  }
  RepaintMenuBar();
}

int TWinSkinForm::MdiButtonsReserve() const {
  if (!ActiveMdiChildMaximized() || !FSkinData || FSkinData->NoSkin()) return 0;
  RECT r{};
  GetWindowRect(FWindow, &r);
  FrameWindow w = MakeFrameWindow(r.right - r.left, r.bottom - r.top);
  w.MenuBarHeight = std::max(w.MenuBarHeight, w.MenuRowHeight);  // the bar being measured shows
  return MenuBarButtonsReserve(Skin(), w);
}

void TWinSkinForm::FreeMenuBar(bool giveBack) {
  if (!FMenuBar) return;
  if (TrackingFormSkin() == this) EndMenu();
  const HMENU menu = FMenuBar->MenuHandle();
  if (dynamic_cast<TMenuBtn*>(FCurrentObject)) FCurrentObject = nullptr;
  if (giveBack && menu && IsMenu(menu) && !GetMenu(FWindow)) SetMenu(FWindow, menu);
  DestroyComponent(std::exchange(FMenuBar, nullptr));
}

void TWinSkinForm::DrawMdiButtonsOnBar(HDC dc) {
  if (!ActiveMdiChildMaximized()) return;
  FCaptionButtons.DrawOnMdiBar(dc);
  if (TSkinManage* manager = TSkinManage::Instance(); manager && !manager->MdiMaximized())
    manager->SetMdiMaximized(true);
}

void TWinSkinForm::RepaintMenuBar() {
  if (!FMenuBar || FSkinState == fsNew) return;
  RECT r{};
  GetWindowRect(FWindow, &r);
  if (FWindowState != swsMinimized && MenuBarHeightFor(r.right - r.left, r.bottom - r.top) != FMenuBarHeight)
    ForceFrameRecalc();
  PostMessageW(FWindow, SM_REPAINTFRAME, 0, 0);
}

void TWinSkinForm::PostMenuButtonClick(const TMenuBtn& button) {
  const POINT at = ScreenPoint({button.Bounds.left + 1, button.Bounds.top + 1});
  PostMessageW(FWindow, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(at.x, at.y));
}

TMenuBtn* TWinSkinForm::FindMenuButtonByAccel(wchar_t key) const {
  if (!FMenuBar || !key) return nullptr;
  const auto upper = [](wchar_t c) {
    return wchar_t(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(c)))));
  };
  for (TMenuBtn* button : FMenuBar->Buttons())
    if (button->Enabled && upper(AccessKey(button->Caption)) == upper(key) && AccessKey(button->Caption)) return button;
  return nullptr;
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn& button) {
  // Every button tells the window, with or without a drop-down.
  PostMessageW(FWindow, WM_COMMAND, button.Command, 0);
  if (!button.Submenu) return false;
  const HMENU submenu = button.Submenu;
  const bool enabled = button.Enabled;
  SetTrackingFormSkin(this, button.Index());
  MakeMenuOwnerDraw(submenu);
  FMenuTracking = true;
  // Under the button's start: its left edge, or on a mirrored window its right edge
  // (the drop-down hanging leftwards from there).
  const POINT at = FMirrored ? ScreenPoint({button.Bounds.left - 1, button.Bounds.bottom})
                             : ScreenPoint({button.Bounds.left, button.Bounds.bottom});
  const UINT align = FMirrored ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  TSkinManage* manager = TSkinManage::Instance();
  if (manager) manager->SetMenuTracking(true);
  FTrackedMenu = submenu;
  InstallMenuLoopHook();
  // `button` may be gone once this returns (the bar rebuilt meanwhile).
  if (enabled) TrackPopupMenu(submenu, TPM_NONOTIFY | TPM_RIGHTBUTTON | align, at.x, at.y, 0, FWindow, nullptr);
  bool byKeys = false;
  const int next = TakePendingMenuSwitch(&byKeys);
  RemoveMenuLoopHook();
  SetTrackingFormSkin(nullptr, -1);
  if ((manager = TSkinManage::Instance())) manager->SetMenuTracking(false);
  FMenuTracking = false;
  FTrackedMenu = nullptr;
  if (!IsWindow(FWindow)) return true;  // the window went while its drop-down was open
  if (next >= 0 && FMenuBar && next < FMenuBar->ButtonCount()) {
    // Moving onto a button opens its drop-down; a command button is only shown hot: a
    // click or its access key runs it, never the arrows or the mouse passing over it.
    TMenuBtn& target = *FMenuBar->Buttons()[std::size_t(next)];
    if (target.Submenu) {
      PostMenuButtonClick(target);
    } else if (byKeys) {
      HoldBarForKeys(next);
    } else {
      target.Hover();
      POINT cursor{};
      GetCursorPos(&cursor);
      FKeyboardHotAt = cursor;
    }
  }
  return true;
}

}  // namespace kv
