#pragma once
// Controls: the window-less kind (painted by its parent) and the windowed kind.
//
//   TControl         bounds, caption, font, colour, events, the hook chain
//   TGraphicControl  window-less; its parent paints it and hands it mouse messages
//   TWinControl      owns a window, created when its handle is first asked for
//
// Every message a control handles, window message or framework notification, goes
// through its hook chain and ends in the control's own WndProc. A skin adds a hook with
// HookWindowProc, calls the default it is handed to pass a message on, and removes its
// hook with the token it got, in any order relative to the other hooks.
#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace kv {

class TWinControl;
class TForm;
class TPopupMenu;

enum TCursor : int {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crHourGlass = -11,
  crDrag = -12,
  crMultiDrag = -16,
  crNo = -18,
  crHandPoint = -21,
  crSizeAll = -22,
};
// The cursor handle for a framework cursor. The drag cursors come from the program's
// resources ("KV_DRAG", "KV_MULTIDRAG") when it has them.
HCURSOR CursorHandle(TCursor cursor);

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, unsigned keys, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, unsigned keys, int x, int y)>;

// Reports the exception being handled (call only inside a catch block). The application
// installs its error box here; window procedures and timers never let an exception out.
void HandleCurrentException();
void SetExceptionHandler(std::function<void()> handler);

class TControl : public TComponent {
 public:
  TControl();
  ~TControl() override;
  std::string_view ClassName() const override { return "TControl"; }

  // Puts `hook` in front of every hook added before it. The hook lives until it is
  // removed or the control is destroyed.
  THookToken HookWindowProc(TMessageHook hook);
  // Removes exactly the hook `token` names, whatever the order of removal; safe from
  // inside that hook's own call (the call finishes, later messages skip it). A token
  // already removed, or of another control, changes nothing.
  void UnhookWindowProc(THookToken token);
  int HookCount() const;
  // Runs a message through the hooks, newest first, down to WndProc.
  void Dispatch(TMessage& message);
  // Sends a message to the control through Dispatch and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // The control's own handling, the end of the hook chain.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  TForm* ParentForm() const;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }

  virtual std::wstring Caption() const { return FCaption; }
  virtual void SetCaption(std::wstring_view caption);

  // Display scale. Bounds and font heights set before the control is scaled (a layout)
  // are 96-DPI units; ScaleForDpi turns them into pixels at `dpi`, always from those
  // units, so that a window scaled again looks as if it had been made at that DPI.
  // Bounds set while scaled are pixels (what a parent or a handler lays out at run time).
  int Dpi() const { return FDpi; }
  // `value` in 96-DPI units, in this control's pixels.
  int Scaled(int value) const { return ScaleToDpi(value, FDpi); }
  // The bounds in 96-DPI units.
  RECT DesignBounds() const;
  virtual void ScaleForDpi(int dpi);

  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  // Visible here and in every parent up to the form.
  bool Showing() const;

  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);

  const std::wstring& Hint() const { return FHint; }
  void SetHint(std::wstring_view hint) { FHint = hint; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor) { FCursor = cursor; }
  // Shown by a right click on the control (WM_CONTEXTMENU); a control without one leaves
  // the click to its parent.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  virtual void Invalidate();
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  virtual bool IsWindowed() const { return false; }

  virtual void Click();
  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  virtual void ColorChanged();
  virtual void FontChanged();
  virtual void ParentColorChanged();
  virtual void ParentFontChanged();
  // Sizes a control keeps in pixels of its own (item heights, panel widths) follow here.
  virtual void DpiChanged(int /*oldDpi*/) {}
  // A top-level form keeps the place and size the system gives it.
  virtual bool ScalesOwnBounds() const { return true; }
  // Sets the bounds (pixels), keeping the 96-DPI units of each one that moved.
  void StoreBounds(int left, int top, int width, int height);
  void Notification(TComponent* component, TOperation operation) override;
  // Controls that click on a mouse release inside them (labels, images, forms).
  bool FClickOnMouseUp = true;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::wstring FCaption;

 private:
  friend class TWinControl;
  TFont FFont;
  TColor FColor = clBtnFace;
  bool FParentColor = true;
  bool FParentFont = true;
  bool FEnabled = true;
  bool FVisible = true;
  bool FMouseDown = false;
  std::wstring FHint;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  int FDpi = kDefaultDpi;
  int FDesignLeft = 0, FDesignTop = 0, FDesignWidth = 0, FDesignHeight = 0;
  bool FScaling = false;

  struct THookEntry {
    THookToken Token;
    TMessageHook Hook;
    bool Removed = false;
  };
  // Runs the message through the live hooks below position `below`, then WndProc.
  void DispatchBelow(std::size_t below, TMessage& message);
  // Bottom first. Removed entries stay while a dispatch runs (a hook may be inside its
  // own call) and are dropped when the outermost dispatch ends.
  std::vector<std::unique_ptr<THookEntry>> FHooks;
  int FDispatchDepth = 0;
};

class TGraphicControl : public TControl {
 public:
  ~TGraphicControl() override;
  std::string_view ClassName() const override { return "TGraphicControl"; }
  void WndProc(TMessage& message) override;
  // Bound to the parent's DC while the control paints.
  TCanvas& Canvas() { return FCanvas; }

 protected:
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

// A window or its class could not be made; the text names the class and the system's reason.
class EWindowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a windowed control asks of CreateWindowEx.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // The system class we build on ("BUTTON"); empty for a window class of our own.
  std::wstring BaseClass;
  // Our class name; made from BaseClass when empty.
  std::wstring WinClassName;
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
 public:
  TWinControl();
  ~TWinControl() override;
  std::string_view ClassName() const override { return "TWinControl"; }

  // The window, created (with the parents' windows) the first time it is asked for.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // The framework control that owns `wnd`, or none.
  static TWinControl* FindControl(HWND wnd);

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(index); }
  // The topmost visible window-less child at a client point (enabled only, unless asked).
  TControl* ControlAtPos(POINT point, bool allowDisabled = false) const;

  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int order) { FTabOrder = order; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }

  bool IsWindowed() const override { return true; }
  std::wstring Caption() const override;
  void SetCaption(std::wstring_view caption) override;
  void SetBounds(int left, int top, int width, int height) override;
  // The children first (a parent's own layout of them wins), then this control.
  void ScaleForDpi(int dpi) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void Invalidate() override;
  void Update() override;

  virtual bool Focused() const;
  bool CanFocus() const;
  virtual void SetFocus();
  // The windowed descendants that Tab visits, in tab order (children sorted by TabOrder,
  // each followed by its own children).
  void GetTabOrderList(std::vector<TWinControl*>& list);

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // The scale a new window of this control is made at: its parent's.
  virtual int CreationDpi() const;
  // Makes the window CreateParams describes (CreateWindowEx; an MDI child asks its client).
  virtual HWND CreateWindowHandle(const TCreateParams& params);
  // Destroys the window (DestroyWindow; an MDI child asks its client).
  virtual void DestroyWindowHandle();
  // The window exists: give it what was set before (font, texts, items).
  virtual void CreateWnd();
  // The window is about to go: keep what it holds (text, check state) for a later one.
  virtual void DestroyWnd();
  // Destroys the window and makes a new one (after a style change).
  void RecreateWnd();
  // Paints the window itself, without its window-less children.
  virtual void PaintWindow(HDC dc);
  // For controls of our own window class: what to draw on the background.
  virtual void Paint(TCanvas&) {}
  void PaintControls(HDC dc);
  void FontChanged() override;
  void ColorChanged() override;
  // True for window classes of our own, which paint their background and content.
  bool FOwnPaint = false;
  HWND FHandle = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
  void CreateHandle();
  void MainWndProc(TMessage& message);
  void PaintHandler(TMessage& message);
  void MouseHandler(TMessage& message);
  void MouseLeaveHandler();
  bool ReflectToChild(TMessage& message);
  bool CursorHandler(TMessage& message);
  bool ContextMenuHandler(TMessage& message);
  void WindowGone();
  std::vector<TControl*> FControls;  // children, in z-order (bottom first)
  WNDPROC FDefWndProc = nullptr;
  TControl* FCaptureControl = nullptr;
  TBrushHandle FColorBrush;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  bool FTrackingLeave = false;
};

// The control the mouse is over; the enter/leave notifications follow its changes.
TControl* MouseControl();

}  // namespace kv
