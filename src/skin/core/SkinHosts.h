#pragma once
// What a skin object asks of whoever hosts it, so that control skins and menus know their
// form skin only through these small interfaces and never include skin/windows:
//
//   TSkinControlHost  a control skin's owner (the form skin's control-skin registry)
//   TFrameHost        a skinned frame, for the objects on it (caption buttons, the menu bar)
//   TNCObject         something on the frame that hovers and presses
#include <windows.h>

#include "framework/Classes.h"

namespace kv {

class TNCObject;
class TSkinControl;

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

class TFrameHost {
 public:
  virtual HWND Window() const = 0;
  // The window shows itself active (the frame's active pictures).
  virtual bool IsActive() const = 0;
  // The frame is painted by us now (attached and fitted, not closing): objects on it may
  // repaint themselves.
  virtual bool FrameShown() const = 0;
  // The object hot or pressed now, at most one per frame.
  virtual TNCObject* CurrentObject() const = 0;
  virtual void SetCurrentObject(TNCObject* object) = 0;

 protected:
  ~TFrameHost() = default;
};

class TNCObject : public TComponent {
 public:
  enum TNCState : int { nsNormal = 1, nsPressed = 2, nsHot = 3 };
  explicit TNCObject(TFrameHost& frame) : FFrame(frame) {}

  virtual void Press();
  virtual void Release();
  virtual void Hover();
  virtual void Leave();
  virtual void Paint() {}

  RECT Bounds{};  // window coordinates
  bool Visible = false;
  int State = nsNormal;

 protected:
  TFrameHost& FFrame;
};

}  // namespace kv
