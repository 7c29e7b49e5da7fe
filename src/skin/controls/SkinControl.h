#pragma once
// TSkinControl: the skin object between one control's window and its own procedure. It
// sees each message before (BeforeMessage) and after (AfterMessage) the control does,
// keeps a little state (hot, pressed, focused, enabled, caption) and paints the control
// from the skin. The form skin that owns it (a TSkinControlHost) creates it, attaches it
// and frees it; every concrete control skin derives from it.
//
// Two ways in:
//   AttachControl  a framework control: a handler on its hook chain
//   AttachWindow   a window by its handle (a system dialog's button, an edit by handle): a
//                  hook through the platform's subclass service, or on the control's
//                  hook chain when the window is a framework control's
// Every change a skin makes to its control (hook, styles, double buffering, colours) goes
// through a helper here that records how to give it back; Detach gives back exactly
// those, last first. Hooks added after ours stay where they are.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "skin/controls/ControlSkinKinds.h"
#include "skin/core/SkinHosts.h"
#include "skin/data/SkinFrames.h"
#include "skin/data/SkinImage.h"

namespace kv {

class TCanvas;
class TControl;
class TDataSkinObject;
class TGraphicControl;
class TSkinControl;
class TSkinData;
class TWinControl;

// FState bits.
enum TSkinStateBit : std::uint8_t { sbHot = 1, sbPressed = 2 };

class TSkinControl : public TComponent {
 public:
  explicit TSkinControl(TControlSkinKind kind = TControlSkinKind::skControl);
  // Detaches first.
  ~TSkinControl() override;
  std::string_view ClassName() const override { return "TSkinControl"; }
  // The class this object stands for (classification's choice).
  TControlSkinKind Kind() const { return FKind; }

  // Attaches to a framework windowed control (creating its window). A second attach
  // changes nothing.
  virtual void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas);
  // Attaches to a bare window by its handle. Registering with the host is the caller's.
  virtual void AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas);
  // Serves a window-less control (a speed button): it has no window of its own, its parent
  // paints it. The base only records it and registers with the host; the speed-button
  // skin hooks the painting.
  virtual void AttachGraphic(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas);
  // Gives back every recorded change, last first, child skins' included; a second call
  // finds nothing left to do.
  virtual void Detach();
  // Sees a message first; false keeps it from the control (the Result set here stands).
  virtual bool BeforeMessage(TMessage& message);
  // Sees the message after the control's own procedure ran.
  virtual void AfterMessage(TMessage& message);
  // Paints the whole window now; a null dc means the window's own (non-client included).
  virtual void PaintSkin(HDC dc);
  // Draws the skin into dc over rect (origin 0, 0, the window's size). The base draws nothing.
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // The skin was replaced or re-read: pictures prepared from the old one are made again.
  virtual void SkinChanged();
  // The control's state for one paint, read from the window once: enabled, focused, hot,
  // pressed; classes add what only they know (checked, selected). Which frame that shows
  // is the frame module's business (FrameIndex).
  virtual TStateFlags DrawState();

  // The keyboard focus cue shows now: the control has the focus and its window shows
  // keyboard cues (WM_QUERYUISTATE), as the platform decides for its own controls.
  bool ShowsFocusCue() const;
  // The dotted focus ring along the inside of rect, when ShowsFocusCue(): every skin that
  // paints over the platform's cue draws its own through this.
  void DrawFocusCue(HDC dc, const RECT& rect) const;

  // The replacement message procedure: BeforeMessage, the control's own, AfterMessage.
  // A paint the skin fails at is left to the control's own procedure (no error box); at
  // WM_NCDESTROY the skin detaches and forgets the window. A change of the keyboard cues
  // (WM_UPDATEUISTATE) is handed on held and the control repainted from the skin.
  void SkinWindowProc(TMessage& message);
  // The control's own procedure (whatever was installed before us).
  void CallOldProc(TMessage& message);
  // The framework's mouse-leave notification (0xB014) to the window.
  void SendMouseLeave();
  // Invalidates the window without erasing and updates it at once; top-level windows are
  // left alone.
  void Redraw();
  // Fills rect with the skin's button face colour.
  void FillFace(HDC dc, const RECT& rect);
  // WM_PAINT taken over: draws into the wParam DC, or between BeginPaint and EndPaint.
  void PaintFromMessage(TMessage& message);
  // For a skin that draws the whole window: WM_PAINT painted through PaintFromMessage,
  // WM_ERASEBKGND answered 1 (both kept from the control); false for any other message.
  bool TakePaintMessages(TMessage& message);
  // For a skin that paints over the control's own painting: a WM_PAINT of the screen is
  // composed off-screen (the control's background and painting, then the skin's), and
  // reaches the screen in one copy; after the first such paint the screen's WM_ERASEBKGND
  // is left to the next. True when the message was answered so; false leaves it to the
  // control (a window with a frame of its own, a paint into someone's DC).
  bool ComposePaintMessages(TMessage& message);
  // Hands the message on with the window's drawing held (WM_SETREDRAW), so what the
  // control paints at once for a state change never shows; the outermost hold repaints
  // the window once when it ends. Answers false, for BeforeMessage to return.
  bool PassHeld(TMessage& message);
  // The control's own background and painting into dc (a composed paint's first step).
  virtual void PaintOwn(HDC dc);

  HWND Handle() const { return FHandle; }
  TWinControl* Control() const { return FControl; }
  TGraphicControl* GraphicControl() const { return FGraphicControl; }
  TSkinData* SkinData() const { return FSkinData; }
  const RECT& WindowRect() const { return FWindowRect; }
  bool Attached() const { return FAttached; }
  std::uint8_t State() const { return FState; }
  bool Enabled() const { return FEnabled; }
  bool Focused() const { return FFocused; }
  const std::wstring& Caption() const { return FCaption; }
  bool Recolor() const { return FRecolor; }

  // Text in rect, alignment DT_LEFT / DT_CENTER / DT_RIGHT, vertically one pixel above the
  // centre; the button-shadow colour when not enabled (also the menu bar's captions).
  static void DrawCaption(TCanvas& canvas, const RECT& rect, UINT alignment, bool enabled, std::wstring_view text);

 protected:
  // The owner's host; a child skin's owner is its parent's.
  TSkinControlHost* Host() const;
  // The control we serve going away first: forget it (its hooks went with it).
  void Notification(TComponent* component, TOperation operation) override;

  // The first step of attaching to a framework control: its window made, the control,
  // skin data, canvas and recolour switch kept. False when attached already or no control.
  bool BindControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas);

  // ---- changes to the control, each recorded for Detach
  // Our handler on the framework control's chain, the window's procedure, or the
  // window-less control's chain.
  void HookControl(TWinControl* control);
  void HookWindow(HWND window);
  void HookGraphic(TGraphicControl* control);
  // Sets and clears bits of GWL_STYLE or GWL_EXSTYLE; only the bits that changed are
  // given back, so others' changes to the rest stand.
  void ChangeStyle(int index, LONG_PTR set, LONG_PTR clear);
  void SetDoubleBuffered(bool on);
  // The control shows the skin's face colour (and no longer its parent's) until Detach
  // gives both back, unless the form skin is closing then. FSkinData must be set.
  void ReplaceColor(TWinControl* control);
  // Any other change: `undo` gives it back at Detach.
  void RecordChange(std::function<void()> undo);
  // A skin of its own for a window of the control (scroll arrows, a header), made by our
  // owner and registered with the host; detached with us, and skin changes reach it.
  template <class T>
  T* MakeChildSkin() {
    if (!Owner()) return nullptr;
    T* child = Owner()->template Make<T>();
    AdoptChild(child);
    return child;
  }

  // ---- drawing routines the control skins share
  // The canvas takes the font the window draws its text with (WM_GETFONT), plain; the
  // canvas's own stays when the window has none.
  static void UseWindowFont(TCanvas& canvas, HWND window);
  // An image-list image followed by a text, as one group placed by alignment in rect.
  // The list is the one the control holds, whoever made it.
  void DrawImageCaption(TCanvas& canvas, const RECT& rect, UINT alignment, std::wstring_view text, int imageIndex,
                        HIMAGELIST images);
  // Frame frameIndex (from 1) of the element's strip of frameCount frames, by nine slices
  // with its margins, tile switch and transparency; nothing for an empty rect.
  static void DrawElement(HDC dc, const RECT& rect, int frameCount, int frameIndex, const TDataSkinObject& element);
  // Frame frameIndex of a strip stretched whole to rect, magenta left out.
  static void DrawFrameTransparent(HDC dc, const RECT& rect, const TPixelBitmap& strip, int frameCount, int frameIndex);
  // The element rendered over the skin's face colour on the shared scratch bitmap, at
  // (0, 0) .. rect's size; the caller copies it out.
  void DrawElementOnScratch(const RECT& rect, const TDataSkinObject& element, bool transparent, int frameCount,
                            int frameIndex);
  // The one off-screen bitmap the program's control skins compose in.
  static HDC ScratchDc();
  // The same, grown first to at least that size (what it held is then lost); null when
  // the system refuses the memory.
  static HDC ScratchDc(int minWidth, int minHeight);

  TControlSkinKind FKind;
  std::uint8_t FState = 0;
  TCanvas* FCanvas = nullptr;
  bool FEnabled = true;
  bool FFocused = false;
  std::wstring FCaption;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  TGraphicControl* FGraphicControl = nullptr;
  bool FRecolor = false;
  bool FAttached = false;
  // What every hook of a control skin runs: SkinWindowProc with `callDefault` as the old
  // procedure (CallOldProc), errors to the error handler.
  void HookMessage(TMessage& message, TDefaultProc callDefault);
  // Expires with the object: code that hands a message on checks it afterwards.
  std::weak_ptr<char> Life() const { return FLife; }

 private:
  void AdoptChild(TSkinControl* child);
  // The paint the skin failed at, done again by the control's own procedure alone.
  void PaintByPlatform(TMessage& message);

  THookToken FControlHook;                // on FControl's hook chain
  THookToken FWindowHook;                 // on FHandle: FWindowControl's chain, else the subclass service
  TWinControl* FWindowControl = nullptr;  // the framework control FHandle belongs to
  THookToken FGraphicHook;                // on FGraphicControl's hook chain
  // The default of the dispatch running now (valid only during it); CallOldProc calls it.
  const TDefaultProc* FCurrentDefault = nullptr;
  // How to give back each change made to the control, in the order made.
  std::vector<std::function<void()>> FUndo;
  std::vector<TSkinControl*> FChildren;
  // The control shows the face colour we gave it (given back once, by Detach).
  bool FColorReplaced = false;
  // Messages go straight to the control while it paints in the skin's place.
  bool FPlatformPaint = false;
  // A paint was composed (ComposePaintMessages): the screen's erase waits for the next.
  bool FComposed = false;
  // Expires with the object: a dispatch checks it after handing the message on, since the
  // control's own handling may free this skin.
  std::shared_ptr<char> FLife = std::make_shared<char>();
};

}  // namespace kv
