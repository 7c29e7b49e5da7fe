// The control-skin base's ways of answering a control's paint messages: the skin alone,
// or the control's own painting and the skin's composed off-screen and copied once, and
// a state change the control would paint at once held until one repaint.
#include <optional>

#include "base/win/Dc.h"
#include "skin/controls/SkinControl.h"

namespace kv {

void TSkinControl::PaintFromMessage(TMessage& message) {
  if (!FHandle) return;
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  std::optional<TPaintDc> paint;
  if (!dc) {
    paint.emplace(FHandle);
    dc = paint->Get();
  }
  RECT r;
  if (!dc || !GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  DrawSkin(dc, r);
}

bool TSkinControl::TakePaintMessages(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintFromMessage(message);
      message.Result = 0;
      return true;
    case WM_ERASEBKGND: message.Result = 1; return true;
    default: return false;
  }
}

bool TSkinControl::ComposePaintMessages(TMessage& message) {
  if (!FHandle || FPlatformPaint) return false;
  if (message.Msg == WM_ERASEBKGND) {
    // Only the screen's erase waits for the paint; a picture made elsewhere (printing,
    // a composed paint) gets its background. Until the first composed paint the erase is
    // the control's: a window coming up shows nothing of ours to keep yet, and under Wine
    // an unerased page control then leaves its form's caption unpainted for a while.
    if (!FComposed || WindowFromDC(reinterpret_cast<HDC>(message.WParam)) != FHandle) return false;
    message.Result = 1;
    return true;
  }
  if (message.Msg != WM_PAINT || message.WParam) return false;
  RECT window, client;
  if (!GetWindowRect(FHandle, &window) || !GetClientRect(FHandle, &client)) return false;
  // A frame of the window's own is painted on WM_NCPAINT, apart: such a window paints as before.
  if (client.right != window.right - window.left || client.bottom != window.bottom - window.top) return false;
  const TPaintDc paint(FHandle);
  if (!paint.Get()) return true;
  {
    const TBufferDc buffer(paint.Get(), client);
    {
      // The control may leave its clipping on the DC (an edit's text area): not for us.
      const TSavedDc saved(buffer.Get());
      PaintOwn(buffer.Get());
    }
    FWindowRect = window;
    DrawSkin(buffer.Get(), client);
  }
  FComposed = true;
  message.Result = 0;
  return true;
}

void TSkinControl::PaintOwn(HDC dc) {
  TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, 0};
  CallOldProc(erase);
  TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  CallOldProc(own);
}

bool TSkinControl::PassHeld(TMessage& message) {
  const HWND wnd = FHandle;
  // Held already by an outer call, or out of sight: nothing the control paints shows.
  const bool hold = wnd && IsWindowVisible(wnd);
  const auto release = [wnd, hold] {
    if (!hold || !IsWindow(wnd)) return;
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  if (hold) SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  try {
    CallOldProc(message);
  } catch (...) {
    release();
    throw;
  }
  release();
  return false;
}

}  // namespace kv
