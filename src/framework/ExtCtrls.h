#pragma once
// TImage (a picture drawn at its natural size, top-left) and TTimer.
#include "framework/Controls.h"

namespace kv {

class TImage : public TGraphicControl {
 public:
  TImage();
  std::string_view ClassName() const override { return "TImage"; }
  TPicture& Picture() { return FPicture; }

 protected:
  void Paint() override;

 private:
  TPicture FPicture;
};

// Calls OnTimer every Interval milliseconds on the thread that created it.
class TTimer : public TComponent {
 public:
  TTimer();
  ~TTimer() override;
  std::string_view ClassName() const override { return "TTimer"; }
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned interval);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  TNotifyEvent OnTimer;

 private:
  static LRESULT CALLBACK TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void UpdateTimer();
  TWindowHandle FWindow;
  unsigned FInterval = 1000;
  bool FEnabled = true;
};

}  // namespace kv
