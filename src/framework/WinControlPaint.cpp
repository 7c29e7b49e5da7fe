// TWinControl painting: its own window (double-buffered when asked), then its window-less
// children bottom first, each clipped to its bounds with the origin at its top-left.
#include <algorithm>

#include "framework/Controls.h"

namespace kv {

void TWinControl::PaintHandler(TMessage& m) {
  const bool hasGraphics =
      std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return !c->IsWindowed() && c->Visible(); });
  if (!FOwnPaint && !hasGraphics && !FDoubleBuffered) {
    DefaultHandler(m);
    return;
  }
  if (m.WParam) {  // someone hands us a DC (WM_PRINTCLIENT, or a parent painting us)
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (FOwnPaint) {
      PaintWindow(dc);
    } else {
      DefaultHandler(m);
    }
    PaintControls(dc);
    return;
  }
  TPaintDc paint(FHandle);
  RECT client;
  GetClientRect(FHandle, &client);
  if (FDoubleBuffered && client.right > 0 && client.bottom > 0) {
    TBitmap buffer(client.right, client.bottom);
    HDC dc = buffer.Canvas().Handle();
    if (!FOwnPaint) SendMessageW(FHandle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    PaintWindow(dc);
    PaintControls(dc);
    // The buffer holds no child windows: copying it over them (a list view's header, a
    // combo box's edit) would wipe what they painted, with or without WS_CLIPCHILDREN.
    for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child)) continue;
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
      ExcludeClipRect(paint.Get(), r.left, r.top, r.right, r.bottom);
    }
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  } else {
    PaintWindow(paint.Get());
    PaintControls(paint.Get());
  }
}

void TWinControl::PaintWindow(HDC dc) {
  if (FOwnPaint) {
    TCanvas canvas(dc);
    RECT client;
    GetClientRect(FHandle, &client);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    canvas.Font() = Font();
    Paint(canvas);
    return;
  }
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (c->IsWindowed() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    TSavedDc saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

}  // namespace kv
