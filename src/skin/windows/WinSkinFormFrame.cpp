// The skinned frame of TWinSkinForm: caption buttons and the window commands they run,
// frame painting and the window region.
#include <optional>

#include "base/win/Dc.h"
#include "framework/Forms.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinData.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

// user32's menu-bar painter into any rectangle (exported since Windows NT 4, not declared
// by the headers).
extern "C" DWORD WINAPI DrawMenuBarTemp(HWND window, HDC dc, LPRECT rect, HMENU menu, HFONT font);

namespace kv {

// ---- TNCObject ---------------------------------------------------------------------------

void TNCObject::Press() {
  if (TNCObject* current = FForm.CurrentObject(); current && current != this) current->Leave();
  if (!Visible) return;
  FForm.SetCurrentObject(this);
  State = nsPressed;
  Paint();
}

void TNCObject::Release() {
  if (!Visible) return;
  State = nsHot;
  Paint();
}

void TNCObject::Hover() {
  TNCObject* current = FForm.CurrentObject();
  if (current && current != this) current->Leave();
  if (current == this || !Visible) return;
  FForm.SetCurrentObject(this);
  State = nsHot;
  Paint();
}

void TNCObject::Leave() {
  if (!Visible) return;
  FForm.SetCurrentObject(nullptr);
  State = nsNormal;
  Paint();
}

void TWinSysButton::Paint() { FForm.DrawButton(*this, State); }

const TDataSkinSysButton& TWinSysButton::Record() const { return *FForm.SkinData()->Model().SysButtons.at(FIndex); }

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
  switch (action) {
    case 0:
      SetHoverTimer(false);
      PostMessageW(FWindow, WM_CLOSE, 0, 0);
      break;
    case 1:
    case 22: ToggleMaximize(); break;
    case 2:
    case 23: ToggleMinimize(); break;
    case 3:
    case 11:
    case 12: ShowSystemMenu({screen.x + 1, screen.y + 1}); break;
    case 7:
    case 60: MdiCommand(SC_MINIMIZE); break;
    case 8:
    case 61: MdiCommand(SC_RESTORE); break;
    case 9:
    case 62: MdiCommand(SC_CLOSE); break;
    default: PostMessageW(FWindow, SM_ISSKINNED, WPARAM(action), 0);  // the application's to act on
  }
}

void TWinSkinForm::MdiCommand(WPARAM command) {
  if (FFormKind != fkMdiFrame || !FMdiClient) return;
  if (const auto child = reinterpret_cast<HWND>(SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
  TSkinManage* manager = TSkinManage::Instance();
  if (manager && manager->MdiMaximized() && !ActiveMdiChildMaximized()) manager->SetMdiMaximized(false);
}

bool TWinSkinForm::ActiveMdiChildMaximized() const {
  if (FFormKind != fkMdiFrame || !FMdiClient) return false;
  BOOL maximized = FALSE;
  const auto child = reinterpret_cast<HWND>(SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, LPARAM(&maximized)));
  return child && maximized;
}

void TWinSkinForm::ApplySkin() {
  if (FForm) {
    const TColor face = FSkinData->Model().Colours.ButtonFaceColour;
    FForm->SetColor(face);
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

// ---- frame painting and region -----------------------------------------------------------

// Until the skinned menu bar arrives, a window's own menu bar is drawn by the system into
// its place under our caption; the system also tracks it there (its item rectangles are
// those of the last drawing, in window coordinates).
void TWinSkinForm::ReadWindowMenu() {
  FWindowMenu = GetMenu(FWindow);
  FMenuBarHeight = FWindowMenu && FFormKind != fkMdiChild ? GetSystemMetrics(SM_CYMENU) : 0;
}

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
  FramePainted painted = PaintSkinFrame(dc, Skin(), FSkinData->Model().Colours, MakeFrameWindow(width, height),
                                        FCaptionText, FCaptionFont.Get(), &FIconBitmap, FLayout);
  if (FMenuBarHeight > 0 && FWindowMenu) {
    RECT bar{FBorders.Left, FBorders.Top, width - FBorders.Right, FBorders.Top + FMenuBarHeight};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));  // the system fills only up to its items
    DrawMenuBarTemp(FWindow, dc, &bar, FWindowMenu, nullptr);
  }
  if (painted.Painted) {
    FCaptionBitmap = std::move(painted.Caption);
    for (std::size_t i = 0; i < FButtons.size() && i < FLayout.Buttons.size(); ++i) {
      const ButtonPlace& place = FLayout.Buttons[i];
      FButtons[i]->Visible = place.Visible;
      FButtons[i]->Bounds = {place.Bounds.Left, place.Bounds.Top, place.Bounds.Right, place.Bounds.Bottom};
      FButtons[i]->State = TNCObject::nsNormal;
    }
    if (FFramePending && IsWindowVisible(FWindow)) FFramePending = false;
  }
  // The next mouse move finds the hot button again over the fresh frame.
  FCurrentObject = nullptr;
}

void TWinSkinForm::DrawButton(TWinSysButton& button, int state) {
  if (FSkinState != fsReady && FSkinState != fsRefreshing) return;
  TStateFlags flags = TStateFlags::csNone;
  if (state == TNCObject::nsPressed) flags = TStateFlags::csPressed;
  if (state == TNCObject::nsHot) flags = TStateFlags::csHot;
  if (state == TNCObject::nsNormal && !FActive) flags = TStateFlags::csInactive;
  const TWindowDc dc = TWindowDc::Whole(FWindow);
  const RECT& b = button.Bounds;
  DrawSkinCaptionButton(dc.Get(), Skin(), button.Index(), {b.left, b.top, b.right, b.bottom}, flags, &FIconBitmap);
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
  // Once set, the region is the window's: the system deletes it.
  if (SetWindowRgn(FWindow, region.Get(), TRUE)) region.Release();
  FHasRegion = true;
}

void TWinSkinForm::DropRegion() {
  if (!FHasRegion) return;
  FCaptionBitmap = {};
  SetWindowRgn(FWindow, nullptr, FALSE);
  FHasRegion = false;
  FRegionSize = {};
}

}  // namespace kv
