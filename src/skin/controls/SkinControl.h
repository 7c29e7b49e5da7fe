#pragma once
// TSkinControl: the skin object between one control's window and its own procedure. It
// sees each message before (BeforeMessage) and after (AfterMessage) the control does,
// keeps a little state (hot, pressed, focused, enabled, caption) and paints the control
// from the skin. The form skin that owns it (a TSkinControlHost) creates it, attaches it
// and frees it; every concrete control skin derives from it.
//
// Two ways in:
//   AttachControl  a framework control: a handler on its hook chain
//   AttachWindow   a bare window (a system dialog's button, an edit by handle): a hook
//                  through the platform's subclass service
// Detach removes exactly what was added; hooks added after ours stay where they are.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "skin/controls/ControlSkinKinds.h"
#include "skin/data/SkinImage.h"

namespace kv {

class TCanvas;
class TControl;
class TDataSkinObject;
class TGraphicControl;
class TImageList;
class TSkinControl;
class TSkinData;
class TWinControl;

// What a control skin needs of the form skin that owns it.
class TSkinControlHost {
 public:
  // Registers `skin` once; true when it was registered already.
  virtual bool AddControlSkin(TSkinControl* skin) = 0;
  // At most one control skin of a form is hot (under the mouse) at a time.
  virtual TSkinControl* HotControlSkin() const = 0;
  virtual void SetHotControlSkin(TSkinControl* skin) = 0;
  // The form skin is being torn down: control colours are not given back.
  virtual bool HostClosing() const = 0;

 protected:
  ~TSkinControlHost() = default;
};

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
  // Undoes the attachment; a second call finds nothing left to do.
  virtual void Detach();
  // Sees a message first; false keeps it from the control (the Result set here stands).
  virtual bool BeforeMessage(TMessage& message);
  // Sees the message after the control's own procedure ran.
  virtual void AfterMessage(TMessage& message);
  // Paints the whole window now; a null dc means the window's own (non-client included).
  virtual void PaintSkin(HDC dc);
  // Draws the skin into dc over rect (origin 0, 0, the window's size). The base draws nothing.
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // The skin was replaced or re-read.
  virtual void SkinChanged();

  // The replacement message procedure: BeforeMessage, the control's own, AfterMessage.
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
  TSkinControlHost* Host() const;
  // The control we serve going away first: forget it (its hooks went with it).
  void Notification(TComponent* component, TOperation operation) override;

  // The first step of attaching to a framework control: its window made, the control,
  // skin data, canvas and recolour switch kept. False when attached already or no control.
  bool BindControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas);
  // The control shows the skin's face colour until RestoreColor (Detach calls it) gives
  // its own colour back, unless the form skin is closing. FSkinData must be set.
  void ReplaceColor(TWinControl* control);
  void RestoreColor();

  // ---- drawing routines the control skins share
  // The canvas takes the font the window draws its text with (WM_GETFONT), plain; the
  // canvas's own stays when the window has none.
  static void UseWindowFont(TCanvas& canvas, HWND window);
  // An image-list image followed by a text, as one group placed by alignment in rect.
  void DrawImageCaption(TCanvas& canvas, const RECT& rect, UINT alignment, std::wstring_view text, int imageIndex,
                        const TImageList* images);
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
  TColor FSavedColor = 0;
  bool FAttached = false;
  // What every hook of a control skin runs: SkinWindowProc with `callDefault` as the old
  // procedure (CallOldProc), errors to the error handler.
  void HookMessage(TMessage& message, TDefaultProc callDefault);
  // Expires with the object: code that hands a message on checks it afterwards.
  std::weak_ptr<char> Life() const { return FLife; }

 private:
  THookToken FControlHook;  // on FControl's hook chain
  THookToken FWindowHook;   // on FHandle through the subclass service
  // The default of the dispatch running now (valid only during it); CallOldProc calls it.
  const TDefaultProc* FCurrentDefault = nullptr;
  // The control shows the face colour we gave it (given back once, by Detach).
  bool FColorReplaced = false;
  bool FSavedParentColor = false;
  // Expires with the object: a dispatch checks it after handing the message on, since the
  // control's own handling may free this skin.
  std::shared_ptr<char> FLife = std::make_shared<char>();
};

}  // namespace kv
