#pragma once
// TWinSkinForm: the skin of one top-level window (a framework form, or a foreign window
// such as a message box). It replaces the system frame with one drawn from the skin:
// border pieces, the caption strip with its text and caption buttons, a window region cut
// from the skin's magenta. It takes over non-client sizing, hit testing, activation and
// the caption buttons, follows the window's state (normal, maximised, minimised), handles
// MDI frames and children, and owns the control skins of its window.
//
// Without xcMainMenu in the skin data's SkinControls only the controls and colours are
// skinned; the system frame stays.
//
// Life: the manager makes it and attaches it (state fsNew), posts SM_SKINATTACHED, on
// which the window is fitted around its unchanged client area (fsFitting) and the region
// is cut (fsReady). Frames are painted in fsReady and fsRefreshing only. WM_NCDESTROY
// detaches it (fsClosing, fsClosed); the manager frees it at its next purge. Every entry
// into its handlers holds a TFormSkinUse: a skin the manager lets go of while one of its
// handlers or the modal loop it started still runs is detached at once and freed when
// the outermost use ends (WinSkinFormLife.cpp).
#include <windows.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/win/Handles.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "skin/core/SkinHosts.h"
#include "skin/core/SkinMessages.h"
#include "skin/data/SkinWindowFrame.h"
#include "skin/gdi/SkinFrameGdi.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/CaptionButtons.h"
#include "skin/windows/FormColours.h"
#include "skin/windows/FormMdi.h"

namespace kv {

class TControl;
class TControlSkins;
class TForm;
class TPopupMenu;
class TSkinData;
class TWinControl;
class TWinSkinForm;

enum TFormKind : std::uint8_t { fkNormal = 0, fkMdiFrame = 1, fkMdiChild = 2 };
enum TSkinWindowState : std::uint8_t { swsNormal = 0, swsMaximized = 1, swsMinimized = 2 };
enum TFormSkinState : std::uint32_t {
  fsNew = 0,
  fsReady = 1,
  fsRefreshing = 3,
  fsClosing = 4,
  fsFitting = 5,
  fsClosed = 6,
};

// One entry into a form skin's handlers (or a modal loop they run). The outermost one
// to end frees a skin that the manager let go of meanwhile: nothing after it may touch
// the skin.
class TFormSkinUse {
 public:
  explicit TFormSkinUse(TWinSkinForm& skin);
  ~TFormSkinUse();
  TFormSkinUse(const TFormSkinUse&) = delete;
  TFormSkinUse& operator=(const TFormSkinUse&) = delete;

 private:
  TWinSkinForm& FSkin;
  std::weak_ptr<char> FLife;
};

class TWinSkinForm : public TComponent, public TMenuBarHost {
 public:
  TWinSkinForm();
  ~TWinSkinForm() override;
  std::string_view ClassName() const override { return "TWinSkinForm"; }

  // ---- the manager's operations
  // Skins `window` (a framework form's when `form` is given) and posts SM_SKINATTACHED.
  // `activating`: the window is being activated (the manager's hook knows before the
  // window does), so its first frame is the active one.
  void Attach(HWND window, TSkinData* skinData, TForm* form, bool activating);
  // Deactivation: the window gets its own frame, size (client kept), styles, menu and
  // procedures back.
  void DetachRestoring();
  // Program end: the window is taken as going; only our hooks and objects go.
  void BeginShutdown();
  // The skin data is going: the window gets its own frame back (a closing one only loses
  // our hooks), and nothing here reaches the data any more.
  void LetGoOfSkinData();
  // The skin's records changed: the caption buttons go (ResetForNewSkin makes them again).
  void FreeButtons();
  // Caption buttons and frame metrics from the new skin, before ApplySkin.
  void ResetForNewSkin();
  // Colours, control skins, frame and region again after a skin change.
  void ApplySkin();
  // An MDI child's answer to its frame's children being maximised or no longer.
  void OnMdiMaximizeChanged(bool maximized);
  // The whole frame, on `dc` or the window's own.
  void PaintFrame(HDC dc);

  TControlSkins& ControlSkins() { return *FControlSkins; }

  // ---- lifetime (WinSkinFormLife.cpp)
  // Frees `skin` now, or, while one of its handlers or loops runs, once that has returned
  // (the caller has detached it already).
  static void Free(std::unique_ptr<TWinSkinForm> skin);
  bool InUse() const { return FUseDepth > 0; }
  // Let go of by the manager, waiting for its last use to end.
  bool FreePending() const { return FFreePending; }
  static std::size_t PendingFreeCount();
  // Form skins destroyed while a handler or loop of theirs still ran (a fault: it stays 0).
  static int FreedInUseCount();

  // ---- what others read
  HWND Window() const override { return FWindow; }
  TForm* Form() const { return FForm; }
  TSkinData* SkinData() const { return FSkinData; }
  TFormSkinState SkinState() const { return FSkinState; }
  TFormKind FormKind() const { return FFormKind; }
  TFrameType FrameType() const { return FFrameType; }
  TCaptionFlags CaptionFlags() const { return FCaptionFlags; }
  TSkinWindowState WindowState() const { return FWindowState; }
  bool IsActive() const override { return FActive; }
  bool FrameShown() const override { return FSkinState == fsReady || FSkinState == fsRefreshing; }
  const Margins& Borders() const { return FBorders; }
  int MenuBarHeight() const { return FMenuBarHeight; }
  bool HasRegion() const { return FHasRegion; }
  bool Subclassed() const { return bool(FWindowHook); }
  const std::vector<TWinSysButton*>& Buttons() const { return FCaptionButtons.Buttons(); }
  TNCObject* CurrentObject() const override { return FCurrentObject; }
  void SetCurrentObject(TNCObject* object) override { FCurrentObject = object; }
  void DrawMdiButtonsOnBar(HDC dc) override;
  int MdiButtonsReserve() const override;
  const std::wstring& CaptionText() const { return FCaptionText; }
  bool HoverTimerEnabled() const { return FHoverTimerOn; }
  bool ActiveMdiChildMaximized() const;
  // How often the region was built (tests: same-size resizes must not build it).
  int RegionBuilds() const { return FRegionBuilds; }

  // ---- window commands
  void ToggleMaximize();
  void Restore();
  void ToggleMinimize();
  // Shown by the mouse, a second showing within the double-click time closes the window
  // instead (a double click on the icon); shown by the keyboard, never.
  void ShowSystemMenu(POINT screen, bool byMouse);

  // ---- menus (menu bar: skin/menus/WinSkinMenu; popups, items and the system menu:
  // WinSkinFormMenus.cpp)
  TWinSkinMenu* MenuBar() const override { return FMenuBar; }
  HMENU WindowMenu() const { return FWindowMenu; }
  // The drop-down being tracked from the menu bar, and whether one is open.
  HMENU TrackedMenu() const override { return FTrackedMenu; }
  bool MenuTracking() const { return FMenuTracking; }
  // A screen point in window coordinates (the frame's), and back. A mirrored window's
  // frame coordinates run from its right edge.
  POINT FramePoint(POINT screen) const override;
  POINT ScreenPoint(POINT frame) const;
  // Presses a bar button as a click would: a WM_NCLBUTTONDOWN just inside it, posted.
  void PostMenuButtonClick(const TMenuBtn& button);
  // The first enabled bar button whose access key is `key` (any case), or none.
  TMenuBtn* FindMenuButtonByAccel(wchar_t key) const;
  void EndMenuTracking() override { FMenuTracking = false; }
  // Runs a pressed bar button: its WM_COMMAND, and its drop-down tracked until it closes
  // (false for a button without one).
  bool OpenMenuButton(TMenuBtn& button);
  // The arrows reached command button `index`: the keys stay with the bar, as the
  // platform's menu mode keeps them, until Enter or its access key runs a button, an arrow
  // opens a drop-down, or Esc, Alt, a click or another key ends it.
  void HoldBarForKeys(int index);
  // Owner drawing of the form's popup-menu components on or off.
  void SetPopupMenusOwnerDraw(bool on);
  void BuildSystemMenu();
  void FreeSystemMenu();
  TPopupMenu* SystemPopup() const { return FSystemPopup; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TFormSkinUse;
  // The MDI client's handler works the frame's menu bar.
  friend class TFormMdi;
  // The destructor's check that no use of this skin is still running.
  void NoteDestroyed() const;

  // ---- attaching and detaching
  void AttachForm(TSkinData* skinData, TForm* form);
  void AttachFrame(TSkinData* skinData);
  // Program end or the window going: only our hooks and objects go.
  void DetachForShutdown();
  // Without xcMainMenu: controls and colours only.
  void DetachClientOnly();
  void LoadFrameMetrics();
  void LoadCaptionFont();
  void ShowCaptionStyles(bool show);
  // SetWindowPos with SWP_FRAMECHANGED only: the system asks for the frame again.
  void ForceFrameRecalc();
  // Finishes attaching (SM_SKINATTACHED): the window fitted around its client area, its
  // region cut, the hover timer running. Later calls only restart the timer.
  void OnAttached();
  // Sizes the window so that its client area keeps the size it had when attached.
  void FitWindowToFrame(bool reread);
  void SkinChildren(TWinControl* container);
  void SkinChildWindows();

  // ---- region
  void UpdateRegion();
  void DropRegion();

  // The three-stage handler on the raw window, and the one on the framework form.
  void WindowHandler(TMessage& message, TDefaultProc callDefault);
  void FormHandler(TMessage& message, TDefaultProc callDefault);
  void PassOn(TMessage& message);

  void OnNcCalcSize(TMessage& message);
  void OnDpiChanged(TMessage& message);
  void OnGetDpiScaledSize(TMessage& message);
  void OnNcHitTest(TMessage& message);
  void OnNcActivate(TMessage& message);
  void OnNcPaint(TMessage& message);
  void OnSize(TMessage& message);
  void OnMinMax(TMessage& message);
  void OnSysCommand(TMessage& message);
  bool OnNcMouse(TMessage& message);
  void OnSystemMenuCommand(TMessage& message);
  void OnMenuMeasureItem(TMessage& message);
  void OnMenuDrawItem(TMessage& message);
  // The menu bar and the caption as accessible objects (FormAccessible.cpp).
  void OnGetObject(TMessage& message);
  void OnHoverTimer();
  void SetHoverTimer(bool on);
  void ReadWindowState();
  // A caption button or a menu-bar button.
  TNCObject* ButtonAt(POINT framePoint);
  void RunButtonAction(TWinSysButton& button, POINT screen);
  void SetCaptionQuietly(TMessage& message);
  // The skinned bar in place of the window's platform menu `menu`.
  void CreateMenuBar(HMENU menu);
  // The bar freed; with `giveBack` the window gets its platform menu again.
  void FreeMenuBar(bool giveBack);
  // Repaints the bar alone (its buttons changed); when they take other rows now, the
  // frame is recomputed around it first.
  void RepaintMenuBar();
  // The bar's height in a window of that size: its rows at that width, never more than
  // the frame holds inside it; 0 without a bar.
  int MenuBarHeightFor(int windowWidth, int windowHeight = INT_MAX) const;
  // CM_MENUCHANGED: the bar follows the form's menu, comes with one and goes without.
  void OnMenuChanged(TMessage& message, TDefaultProc callDefault);
  void UnsubclassAll();
  FrameWindow MakeFrameWindow(int width, int height) const;
  void ApplyFormColours();
  void RestoreFormColours();
  FrameSkin Skin() const;
  bool FrameSkinned() const;  // xcMainMenu

  std::shared_ptr<char> FLife = std::make_shared<char>();  // outlived by a use that saw it freed
  int FUseDepth = 0;
  bool FFreePending = false;
  // The default of the window handler's call running now (PassOn calls it).
  const TDefaultProc* FWindowDefault = nullptr;
  THookToken FFormHook;
  THookToken FWindowHook;
  bool FWindowHookOnForm = false;  // FWindowHook is on FForm's chain, not a subclass
  TFontHandle FCaptionFont;
  bool FHoverTimerOn = false;
  bool FFramePending = false;  // shown, frame not painted yet
  std::wstring FCaptionText;
  bool FCaptionStylesShown = true;
  RECT FClientRect{};  // kept around by FitWindowToFrame
  DWORD FLastSystemMenuTick = 0;
  bool FSystemMenuShown = false;
  Margins FBorders;
  RECT FSystemFrameExtra{};      // what the system frame added to the client area
  int FMenuBarHeight = 0;        // all the bar's rows
  bool FMenuBarDropped = false;  // the form's menu was taken away at run time
  bool FRightToLeft = false;     // FrameReadsRightToLeft
  bool FMirrored = false;        // WS_EX_LAYOUTRTL: the system mirrors the window's DC
  HMENU FWindowMenu = nullptr;
  HMENU FSystemMenu = nullptr;
  TFormColours FColours;
  DWORD FStyle = 0;
  TNCObject* FCurrentObject = nullptr;
  bool FHasRegion = false;
  TForm* FForm = nullptr;
  HWND FWindow = nullptr;
  TCanvas FWorkCanvas;  // handed to every control skin
  TSkinData* FSkinData = nullptr;
  TPixelBitmap FIconBitmap;
  TCaptionButtons FCaptionButtons{*this, FIconBitmap};
  TPixelBitmap FCaptionBitmap;
  TControlSkins* FControlSkins = nullptr;  // owned as a component
  Extent FRegionSize;                      // the window size the region was cut for
  TRegionHandle FRegionShape;              // a copy of the region the window has from us
  int FRegionBuilds = 0;
  bool FActive = false;
  TFormKind FFormKind = fkNormal;
  TFrameType FFrameType = TFrameType::ftEdged;
  TCaptionFlags FCaptionFlags = TCaptionFlags::cfNone;
  TSkinWindowState FWindowState = swsNormal;
  TFormSkinState FSkinState = fsNew;
  TFormMdi FMdi{*this};

  // ---- menu bar
  TWinSkinMenu* FMenuBar = nullptr;  // owned as a component
  HMENU FTrackedMenu = nullptr;
  bool FMenuTracking = false;
  // Where the cursor was when a drop-down's arrows or mouse moved on to a command button:
  // that button stays hot until the cursor moves.
  std::optional<POINT> FKeyboardHotAt;
  // ---- popup menus and the system menu (WinSkinFormMenus.cpp)
  // Shared with a ShowSystemMenu running: a window closed while its system menu is open
  // frees this skin, but not the menu being tracked.
  std::shared_ptr<TPopupMenu> FSystemPopupOwner;
  TPopupMenu* FSystemPopup = nullptr;
};

}  // namespace kv
