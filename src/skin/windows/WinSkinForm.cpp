#include "skin/windows/WinSkinForm.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "base/win/WindowText.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "skin/core/SkinData.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

constexpr unsigned kHoverInterval = 250;
constexpr UINT_PTR kHoverTimerId = 0x3505;  // beside the skin's own message numbers
constexpr unsigned kActionDelay = 250;
constexpr DWORD kCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT kFrameChanged = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

}  // namespace

// ---- TWinSkinForm: attaching -------------------------------------------------------------

TWinSkinForm::TWinSkinForm() {
  FControlSkins = Make<TControlSkins>(this, [this] { return FSkinState == fsClosing; });
}

TWinSkinForm::~TWinSkinForm() {
  NoteDestroyed();
  // A form skin freed while its window lives (manager shutdown, tests) takes its hooks.
  if (Subclassed() || FFormHook) DetachForShutdown();
  FreeMenuBar(false);  // while this object is whole: the bar's buttons ask it about itself
  ForgetTrackingFormSkin(this);
  SetHoverTimer(false);
  if (TSkinManage* manager = TSkinManage::Instance()) manager->RemoveFormSkin(this);
}

bool TWinSkinForm::FrameSkinned() const { return FSkinData && FSkinData->SkinControls().Contains(xcMainMenu); }

// The skin at the window's DPI: borders, caption, buttons and region all scale with it.
FrameSkin TWinSkinForm::Skin() const { return FrameSkinOf(FSkinData->ModelFor(FWindow)); }

void TWinSkinForm::Attach(HWND window, TSkinData* skinData, TForm* form, bool activating) {
  FWindow = window;
  if (form)
    AttachForm(skinData, form);
  else
    AttachFrame(skinData);
  PostMessageW(window, SM_SKINATTACHED, 0, 1000);
  if (activating) FActive = true;
  // The window is usually on its way to the screen (shown, then activated): fitted and
  // framed now, the first frame the user sees is already the skin's.
  OnAttached();
}

void TWinSkinForm::AttachForm(TSkinData* skinData, TForm* form) {
  WatchReference(FForm, form);
  FSkinData = skinData;
  if (FrameSkinned())
    FFormHook = form->HookWindowProc([this](TMessage& m, TDefaultProc callDefault) { FormHandler(m, callDefault); });
  AttachFrame(skinData);
  if (FrameSkinned()) SetPopupMenusOwnerDraw(true);
  FColours.SaveFormColour(*form);
  ApplyFormColours();
}

void TWinSkinForm::AttachFrame(TSkinData* skinData) {
  if (Subclassed() || !FWindow) return;
  FSkinData = skinData;
  LoadCaptionFont();

  FStyle = DWORD(GetWindowLongW(FWindow, GWL_STYLE));
  const DWORD exStyle = DWORD(GetWindowLongW(FWindow, GWL_EXSTYLE));
  FRightToLeft = FrameReadsRightToLeft(exStyle);
  FMirrored = (exStyle & WS_EX_LAYOUTRTL) != 0;
  FSystemMenu = GetSystemMenu(FWindow, FALSE);
  bool hasIcon = false;
  FIconBitmap = BuildIconBitmap(FWindow, &hasIcon);
  if (hasIcon) {
    if (FSkinData->IconBitmap().Empty()) FSkinData->SetIconBitmap(FIconBitmap);
  } else if (!FSkinData->IconBitmap().Empty()) {
    FIconBitmap = FSkinData->IconBitmap();
  } else if (TSkinManage* manager = TSkinManage::Instance()) {
    for (TSkinData* data : manager->SkinDataList())
      if (data->SkinFormtype() == sfMainform && !data->IconBitmap().Empty()) FIconBitmap = data->IconBitmap();
  }
  FCaptionText = WindowText(FWindow);
  RECT window{};
  GetWindowRect(FWindow, &window);
  GetClientRect(FWindow, &FClientRect);
  POINT clientOrigin{0, 0};
  ClientToScreen(FWindow, &clientOrigin);
  // What the system frame adds to the client area, kept to give it back on detach.
  FSystemFrameExtra = {0, 0, (window.right - window.left) - FClientRect.right,
                       (window.bottom - window.top) - FClientRect.bottom};

  FCaptionFlags = TCaptionFlags::cfNone;
  if ((FStyle & WS_SYSMENU) || FSystemMenu) FCaptionFlags = FCaptionFlags | TCaptionFlags::cfSysMenu;
  if (FStyle & WS_MINIMIZEBOX) FCaptionFlags = FCaptionFlags | TCaptionFlags::cfMinBox;
  if (FStyle & WS_MAXIMIZEBOX) FCaptionFlags = FCaptionFlags | TCaptionFlags::cfMaxBox;

  BuildSystemMenu();
  ReadWindowState();
  if (FMdi.FindClient(FWindow)) {
    FFormKind = fkMdiFrame;
    if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMdiClient(FMdi.Client());
  }
  if (exStyle & WS_EX_MDICHILD) FFormKind = fkMdiChild;

  if ((FStyle & WS_POPUP) && (FStyle & WS_CAPTION) != WS_CAPTION)
    FFrameType = TFrameType::ftCaptionless;
  else if ((exStyle & WS_EX_WINDOWEDGE) || (FStyle & WS_THICKFRAME))
    FFrameType = TFrameType::ftEdged;
  else
    FFrameType = TFrameType::ftPlain;

  if (FFormKind == fkMdiFrame) FMdi.HookClient(*FSkinData);

  if (FrameSkinned()) {
    // The platform's bar gives way to ours (an MDI child's menu is its frame's business).
    FWindowMenu = GetMenu(FWindow);
    if (FWindowMenu && FFormKind != fkMdiChild) CreateMenuBar(FWindowMenu);
    const TSkinManage* manager = TSkinManage::Instance();
    const bool mdiMaximized = manager && manager->MdiMaximized();
    if (!(FFormKind == fkMdiChild && mdiMaximized) && FWindowState != swsMinimized) ShowCaptionStyles(false);
    LoadFrameMetrics();
  }

  const auto windowHook = [this](TMessage& m, TDefaultProc callDefault) { WindowHandler(m, callDefault); };
  // A form's window: the newest hook on its chain, in front of FormHandler; no lookup of
  // subclass data on each message. Other windows (a platform dialog) are subclassed.
  FWindowHookOnForm = FForm && FForm->HandleAllocated() && FForm->Handle() == FWindow;
  FWindowHook = FWindowHookOnForm ? FForm->HookWindowProc(windowHook) : SubclassWindow(FWindow, windowHook);
  FControlSkins->Bind(FSkinData, &FWorkCanvas);
  if (FForm)
    SkinChildren(FForm);
  else
    SkinChildWindows();
  RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::ApplyFormColours() { FColours.Apply(*FForm, FSkinData->Model().Colours); }

void TWinSkinForm::RestoreFormColours() {
  if (FForm && FSkinState != fsClosing) FColours.Restore(*FForm);
}

void TWinSkinForm::ShowCaptionStyles(bool show) {
  const TSkinManage* manager = TSkinManage::Instance();
  if (FFormKind == fkMdiChild && manager && manager->MdiMaximized() && !show) return;
  FCaptionStylesShown = show;
  DWORD style = DWORD(GetWindowLongW(FWindow, GWL_STYLE));
  if (show) {
    if (HasFlag(FCaptionFlags, TCaptionFlags::cfSysMenu)) style |= WS_SYSMENU;
    if (HasFlag(FCaptionFlags, TCaptionFlags::cfMinBox)) style |= WS_MINIMIZEBOX;
    if (HasFlag(FCaptionFlags, TCaptionFlags::cfMaxBox)) style |= WS_MAXIMIZEBOX;
  } else {
    // The system would draw its own buttons and icon over ours otherwise.
    style &= ~kCaptionStyles;
  }
  SetWindowLongW(FWindow, GWL_STYLE, LONG(style));
}

void TWinSkinForm::LoadFrameMetrics() {
  if (!FSkinData || FSkinData->NoSkin()) return;
  TSkinDefinition& model = FSkinData->ModelFor(FWindow);
  if (FFrameType == TFrameType::ftCaptionless) {
    FBorders = {};
    FMenuBarHeight = 0;
  } else {
    FBorders = FrameBordersOf(FrameSkinOf(model));
  }
  FreeButtons();
  FCaptionButtons.Rebuild();
}

// The system's caption font at the window's scale.
void TWinSkinForm::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  FCaptionFont = NonClientMetricsForDpi(metrics, WindowDpi(FWindow))
                     ? TFontHandle(CreateFontIndirectW(&metrics.lfCaptionFont))
                     : TFontHandle();
}

void TWinSkinForm::FreeButtons() {
  FCurrentObject = nullptr;
  FCaptionButtons.Free();
}

void TWinSkinForm::SkinChildren(TWinControl* container) { FControlSkins->SkinChildren(container); }

void TWinSkinForm::SkinChildWindows() { FControlSkins->SkinChildWindows(FWindow); }

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FForm) {
    FForm = nullptr;
    FFormHook = {};  // went with the form
    if (FWindowHookOnForm) FWindowHook = {};
  }
  if (component == FCurrentObject) FCurrentObject = nullptr;
  FCaptionButtons.Forget(component);
  if (component == FControlSkins) FControlSkins = nullptr;
  if (component == FMenuBar) FMenuBar = nullptr;
}

// ---- detaching ---------------------------------------------------------------------------

void TWinSkinForm::UnsubclassAll() {
  if (FForm && FFormHook) FForm->UnhookWindowProc(FFormHook);
  FFormHook = {};
  if (FWindowHook && FWindowHookOnForm) {
    if (FForm) FForm->UnhookWindowProc(FWindowHook);
  } else if (FWindowHook) {
    UnsubclassWindow(FWindow, FWindowHook);
  }
  FWindowHook = {};
  FWindowHookOnForm = false;
}

void TWinSkinForm::DetachRestoring() {
  if (!FrameSkinned()) {
    DetachClientOnly();
    return;
  }
  SetHoverTimer(false);
  if (!Subclassed()) return;
  UnsubclassAll();
  if (FControlSkins) FControlSkins->FreeControlSkins();
  if (FForm) SetPopupMenusOwnerDraw(false);
  RestoreFormColours();
  ShowCaptionStyles(true);
  FreeMenuBar(true);
  FMdi.UnhookClient();
  FCaptionBitmap = {};

  // The system frame back around the same client area.
  RECT r{};
  GetWindowRect(FWindow, &r);
  const int width = (r.right - r.left) + FSystemFrameExtra.right - FBorders.Left - FBorders.Right;
  const int height = (r.bottom - r.top) + FSystemFrameExtra.bottom - FBorders.Top - FMenuBarHeight - FBorders.Bottom;
  POINT at{r.left, r.top};
  if (FFormKind == fkMdiChild) ScreenToClient(GetParent(FWindow), &at);
  const bool child = (GetWindowLongW(FWindow, GWL_STYLE) & WS_CHILD) != 0;
  if (FSkinState != fsClosing && (FFormKind == fkMdiChild || !child) && FWindowState == swsNormal)
    SetWindowPos(FWindow, nullptr, at.x, at.y, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ForceFrameRecalc();
  SetWindowRgn(FWindow, nullptr, TRUE);
  FHasRegion = false;
  FRegionSize = {};
  FRegionShape = {};
}

void TWinSkinForm::DetachForShutdown() {
  if (!FrameSkinned()) {
    DetachClientOnly();
    return;
  }
  FreeSystemMenu();
  SetHoverTimer(false);
  if (!Subclassed() && !FFormHook) return;
  UnsubclassAll();
  if (FControlSkins) FControlSkins->FreeControlSkins();
  FreeMenuBar(false);
  FMdi.UnhookClient();
  FCaptionBitmap = {};
}

void TWinSkinForm::BeginShutdown() {
  FSkinState = fsClosing;
  DetachForShutdown();
}

void TWinSkinForm::LetGoOfSkinData() {
  const bool closing = FSkinState == fsClosing || FSkinState == fsClosed;
  if (!closing && IsWindow(FWindow))
    DetachRestoring();
  else
    DetachForShutdown();
  FSkinData = nullptr;
}

void TWinSkinForm::DetachClientOnly() {
  SetHoverTimer(false);
  if (FControlSkins) FControlSkins->FreeControlSkins();
  if (FForm) SetPopupMenusOwnerDraw(false);
  RestoreFormColours();
  UnsubclassAll();
  FMdi.UnhookClient();
  if (FForm && FSkinState != fsClosing) RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---- message handlers --------------------------------------------------------------------

void TWinSkinForm::PassOn(TMessage& message) {
  if (FWindowDefault) (*FWindowDefault)(message);
}

// The system paints its own caption straight away when the text changes, past WM_NCPAINT,
// for windows whose style shows a caption: that style is taken off for the moment (no
// frame is recomputed meanwhile), so nothing of the system's shows before our frame.
void TWinSkinForm::SetCaptionQuietly(TMessage& message) {
  const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
  const bool caption = (style & WS_CAPTION) == WS_CAPTION;
  if (caption) SetWindowLongW(FWindow, GWL_STYLE, style & ~LONG(WS_DLGFRAME));
  PassOn(message);
  if (caption) SetWindowLongW(FWindow, GWL_STYLE, GetWindowLongW(FWindow, GWL_STYLE) | WS_DLGFRAME);
  FCaptionText = WindowText(FWindow);
  ForceFrameRecalc();
}

void TWinSkinForm::FormHandler(TMessage& message, TDefaultProc callDefault) {
  const TFormSkinUse use(*this);
  switch (message.Msg) {
    case SM_APPLYSKIN: ApplySkin(); return;
    case CM_MENUCHANGED: OnMenuChanged(message, callDefault); return;
    case CM_DIALOGCHAR: {
      // Alt+letter (and nothing else held) opens the bar's drop-down of that access key.
      const bool altOnly =
          (message.LParam & (1 << 29)) != 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
      if (FMenuBar && altOnly && FrameSkinned()) {
        if (TMenuBtn* button = FindMenuButtonByAccel(wchar_t(message.WParam))) {
          PostMenuButtonClick(*button);
          message.Result = 1;
          return;
        }
      }
      callDefault(message);
      return;
    }
    default: callDefault(message);
  }
}

void TWinSkinForm::ForceFrameRecalc() { SetWindowPos(FWindow, nullptr, 0, 0, 0, 0, kFrameChanged); }

void TWinSkinForm::WindowHandler(TMessage& message, TDefaultProc callDefault) {
  const TFormSkinUse use(*this);  // first: released after everything below
  const TDefaultProc* outer = std::exchange(FWindowDefault, &callDefault);
  struct TRestore {
    const TDefaultProc*& Field;
    const TDefaultProc* Value;
    ~TRestore() { Field = Value; }
  } restore{FWindowDefault, outer};

  // Stage 1: whatever the skin's switches.
  // A window is put on the screen before the system asks for its frame (the system may
  // even ask it something first): the first message it sees once visible paints it.
  if (FFramePending && IsWindowVisible(FWindow)) {
    FFramePending = false;
    PaintFrame(nullptr);
  }
  switch (message.Msg) {
    case WM_ERASEBKGND:
      PassOn(message);
      if (!FForm) {
        RECT client{};
        GetClientRect(FWindow, &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, FSkinData->ButtonFaceBrush());
        message.Result = 1;
      }
      return;
    case WM_SHOWWINDOW:
      FFramePending = message.WParam != 0;
      PassOn(message);
      return;
    case WM_STYLECHANGED:
      if (message.WParam == WPARAM(GWL_STYLE)) FStyle = reinterpret_cast<const STYLESTRUCT*>(message.LParam)->styleNew;
      PassOn(message);
      return;
    case WM_NCDESTROY: {
      FSkinState = fsClosing;
      // The window dies without the menu we took from it: a menu of its own goes too.
      if (FMenuBar && FrameSkinned()) {
        const HMENU menu = FMenuBar->MenuHandle();
        TMainMenu* component = FMenuBar->MenuComponent();
        if (menu && IsMenu(menu) && (!component || component->Handle() != menu)) DestroyMenu(menu);
        FMenuBar->ForgetMenuHandle();
      }
      DetachForShutdown();
      PassOn(message);
      ForgetWindowDpi(FWindow);
      // Freed by the purge, or, while a loop of ours still runs (a drop-down from which
      // the window was destroyed), when that has returned.
      FSkinState = fsClosed;
      if (TSkinManage* manager = TSkinManage::Instance()) manager->RequestAction(saPurge, kActionDelay);
      return;
    }
    case WM_CTLCOLORBTN:
      PassOn(message);
      if (!FForm) TFormColours::UseSkinTextColours(reinterpret_cast<HDC>(message.WParam), FSkinData->Model().Colours);
      return;
    case WM_CTLCOLORSTATIC:
      PassOn(message);
      if (!FForm) TFormColours::UseSkinTextColours(reinterpret_cast<HDC>(message.WParam), FSkinData->Model().Colours);
      message.Result = reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
      return;
    case WM_TIMER:
      if (message.WParam != kHoverTimerId) break;
      OnHoverTimer();
      return;
    case SM_ISSKINNED:
      // wParam 0 asks whether the window is skinned. Otherwise it is a caption button's
      // action posted for the application: that goes on to it.
      if (message.WParam != 0) PassOn(message);
      message.Result = 1;
      return;
    default: break;
  }
  if (message.Msg == WM_SETTEXT && FrameSkinned() && FSkinState != fsNew) {
    SetCaptionQuietly(message);
    return;
  }
  if (!FrameSkinned()) {
    PassOn(message);
    return;
  }

  // Stage 2: the frame is ours. A child window (other than an MDI child) keeps its own.
  if ((FStyle & WS_CHILD) && FFormKind != fkMdiChild) {
    PassOn(message);
    return;
  }
  switch (message.Msg) {
    case WM_SIZE: OnSize(message); return;
    case WM_ACTIVATE:
    case WM_NCACTIVATE: FActive = LOBYTE(message.WParam) != 0; break;
    case WM_GETMINMAXINFO: OnMinMax(message); return;
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      PassOn(message);
      return;
    case WM_COMMAND: OnSystemMenuCommand(message); return;
    case WM_DPICHANGED: OnDpiChanged(message); return;
    case WM_GETDPISCALEDSIZE: OnGetDpiScaledSize(message); return;
    case WM_SYSCOMMAND: OnSysCommand(message); return;
    case SM_SKINATTACHED: OnAttached(); return;
    case WM_MENUSELECT:
      // What the bar's drop-down has selected (the arrow keys depend on it).
      if (FMenuTracking && TrackingFormSkin() == this) MenuLoopSelect(message.WParam, message.LParam);
      PassOn(message);
      return;
    default: break;
  }

  // Stage 3: only while the frame is ours to draw.
  const bool mdiChildNotNormal = FFormKind == fkMdiChild && FWindowState != swsNormal;
  if (mdiChildNotNormal || FWindowState == swsMinimized || FSkinState == fsNew) {
    PassOn(message);
    return;
  }
  switch (message.Msg) {
    case WM_MEASUREITEM: OnMenuMeasureItem(message); return;
    case WM_DRAWITEM: OnMenuDrawItem(message); return;
    case WM_NCCALCSIZE: OnNcCalcSize(message); return;
    case WM_NCHITTEST: OnNcHitTest(message); return;
    case WM_GETOBJECT: OnGetObject(message); return;
    case WM_NCPAINT: OnNcPaint(message); return;
    case WM_NCACTIVATE: OnNcActivate(message); return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      if (OnNcMouse(message)) {
        message.Result = 0;
        message.Msg = 0;
      }
      return;
    case SM_REPAINTFRAME: PaintFrame(nullptr); return;
    default: PassOn(message);
  }
}

void TWinSkinForm::OnAttached() {
  if (FSkinState == fsNew) {
    const TSkinManage* manager = TSkinManage::Instance();
    if (FFormKind == fkMdiChild && manager && manager->MdiMaximized()) {
      ShowCaptionStyles(true);
      ForceFrameRecalc();
    } else if (FWindowState != swsMinimized && FFrameType != TFrameType::ftCaptionless) {
      FSkinState = fsFitting;
      FitWindowToFrame(false);
      FSkinState = fsReady;
      UpdateRegion();
      PaintFrame(nullptr);
    }
  }
  FSkinState = fsReady;
  SetHoverTimer(true);
}

void TWinSkinForm::FitWindowToFrame(bool reread) {
  if (FWindowState == swsMaximized) {
    ForceFrameRecalc();
    return;
  }
  // Both sides from the same client rectangle: a re-read one keeps the size the user gave.
  if (reread) GetClientRect(FWindow, &FClientRect);
  const int width = FClientRect.right - FClientRect.left + FBorders.Left + FBorders.Right;
  FMenuBarHeight = MenuBarHeightFor(width);  // as many rows as that width takes
  const int height = FClientRect.bottom - FClientRect.top + FBorders.Top + FBorders.Bottom + FMenuBarHeight;
  SetWindowPos(FWindow, nullptr, 0, 0, width, height, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::OnNcCalcSize(TMessage& message) {
  PassOn(message);
  if (!message.WParam) {
    message.Result = 0;
    return;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
  if ((FFormKind == fkMdiChild && FWindowState != swsNormal) || FFrameType == TFrameType::ftCaptionless) {
    params->rgrc[1] = params->rgrc[0];
  } else {
    const WINDOWPOS& pos = *params->lppos;
    // The bar wraps at the new width: the client gives up (or gets back) its rows.
    FMenuBarHeight = MenuBarHeightFor(pos.cx, pos.cy);
    // A mirrored window shows its frame's left piece at the right.
    const int left = FMirrored ? FBorders.Right : FBorders.Left, right = FMirrored ? FBorders.Left : FBorders.Right;
    const RECT client{pos.x + left, pos.y + FBorders.Top + FMenuBarHeight, pos.x + pos.cx - right,
                      pos.y + pos.cy - FBorders.Bottom};
    params->rgrc[0] = client;
    params->rgrc[1] = client;
  }
  message.Result = WVR_VALIDRECTS;
}

// A timer of the skinned window itself: no window of its own per skinned form.
void TWinSkinForm::SetHoverTimer(bool on) {
  if (on == FHoverTimerOn || !FWindow) return;
  FHoverTimerOn = on;
  if (on)
    SetTimer(FWindow, kHoverTimerId, kHoverInterval, nullptr);
  else
    KillTimer(FWindow, kHoverTimerId);
}

void TWinSkinForm::OnHoverTimer() {
  if (FMenuTracking) return;  // the drop-down's button stays pressed
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = FramePoint(cursor);
  // A button the keyboard moved to stays hot until the mouse moves.
  const bool heldByKeyboard = FKeyboardHotAt && FKeyboardHotAt->x == cursor.x && FKeyboardHotAt->y == cursor.y;
  if (!heldByKeyboard) FKeyboardHotAt.reset();
  if (FCurrentObject && !heldByKeyboard && !PtInRect(&FCurrentObject->Bounds, p)) FCurrentObject->Leave();
  if (!FForm && FControlSkins) {
    TSkinControl* hot = FControlSkins->HotControlSkin();
    if (hot && !PtInRect(&hot->WindowRect(), cursor)) {
      FControlSkins->SetHotControlSkin(nullptr);
      hot->SendMouseLeave();
    }
  }
}

}  // namespace kv
