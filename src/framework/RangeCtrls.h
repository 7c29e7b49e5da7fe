#pragma once
// Controls that show or pick a value in a range, over the platform's common controls.
//
//   TProgressBar  a bar filled up to Position (msctls_progress32)
//   TTrackBar     a thumb on a channel with ticks (msctls_trackbar32)
//   TUpDown       a pair of arrow buttons, optionally driving an edit (msctls_updown32)
//   TScrollBar    a scroll bar that is a control of its own (SCROLLBAR)
//
// Every value is kept in the control before its window exists and given to the window
// when it is made; the window's own value is read back while it exists.
#include <vector>

#include "framework/Controls.h"
#include "framework/CtrlTypes.h"

namespace kv {

class TProgressBar : public TWinControl {
 public:
  TProgressBar();
  std::string_view ClassName() const override { return "TProgressBar"; }
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetMin(int value) { SetRange(value, FMax); }
  void SetMax(int value) { SetRange(FMin, value); }
  void SetRange(int min, int max);
  int Position() const;
  void SetPosition(int value);
  int Step() const { return FStep; }
  void SetStep(int value);
  // Advances by Step (by `delta`), wrapping to Min past Max as the platform does.
  void StepIt();
  void StepBy(int delta);
  // One continuous bar instead of blocks.
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool value);
  TOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TOrientation value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  bool FSmooth = false;
  TOrientation FOrientation = orHorizontal;
};

enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
 public:
  TTrackBar();
  std::string_view ClassName() const override { return "TTrackBar"; }
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetMin(int value) { SetRange(value, FMax); }
  void SetMax(int value) { SetRange(FMin, value); }
  void SetRange(int min, int max);
  int Position() const;
  void SetPosition(int value);
  TOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TOrientation value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark value);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle value);
  // A tick every Frequency values (automatic ticks).
  int Frequency() const { return FFrequency; }
  void SetFrequency(int value);
  // A tick of its own at `value` (manual ticks).
  void SetTick(int value);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int value);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int value);
  // Shows what the parent paints under it (pictures, a colour) instead of its own Color.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // Fires once for each change of Position by the user (mouse or keys).
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ParentBackgroundBrush(TMessage& m);
  int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FLineSize = 1, FPageSize = 2;
  TOrientation FOrientation = orHorizontal;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
  bool FTransparent = false;
  std::vector<int> FTicks;
  TBrushHandle FParentBrush;
};

enum TUDBtnType { btNext, btPrev };
enum TUDAlignButton { udLeft, udRight };
using TUDClickEvent = std::function<void(TComponent* sender, TUDBtnType button)>;

// With an associated control (an edit), the arrows sit at its side and its text shows
// the position.
class TUpDown : public TWinControl {
 public:
  TUpDown();
  std::string_view ClassName() const override { return "TUpDown"; }
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* control);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetMin(int value) { SetRange(value, FMax); }
  void SetMax(int value) { SetRange(FMin, value); }
  void SetRange(int min, int max);
  int Position() const;
  void SetPosition(int value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int value);
  TOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TOrientation value);
  // Past Max comes Min (and the other way round) instead of a stop.
  bool Wrap() const { return FWrap; }
  void SetWrap(bool value);
  bool ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool value);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton value);
  // Fires once for each change of Position by an arrow: btNext up (right), btPrev down
  // (left). It hides TControl's OnClick, which an up-down does not fire.
  TUDClickEvent OnClick;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AttachBuddy();
  TWinControl* FAssociate = nullptr;
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  int FLastDelta = 0;
  TOrientation FOrientation = orVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false;
  bool FArrowKeys = true;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
// The platform's scroll request codes (SB_LINEUP ... SB_ENDSCROLL), in their order.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TComponent* sender, TScrollCode code, int& position)>;

// The scroll bar moves only where we put it: each request (arrow, page, thumb) arrives
// reflected (0xBD14 / 0xBD15), becomes a new position and fires OnScroll, which may
// change it, then OnChange when the position really changed.
class TScrollBar : public TWinControl {
 public:
  TScrollBar();
  std::string_view ClassName() const override { return "TScrollBar"; }
  TScrollBarKind Kind() const { return FKind; }
  // Turns the bar, swapping its width and height.
  void SetKind(TScrollBarKind kind);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int PageSize() const { return FPageSize; }
  int Position() const;
  void SetMin(int value) { SetParams(FPosition, value, FMax); }
  void SetMax(int value) { SetParams(FPosition, FMin, value); }
  void SetPageSize(int value);
  void SetPosition(int value) { SetParams(value, FMin, FMax); }
  void SetParams(int position, int min, int max);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int value) { FSmallChange = value; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int value) { FLargeChange = value; }
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  // The last position the thumb can take: Max, less the page beyond the first.
  int MaxPosition() const;
  void UpdateScrollInfo();
  void Scroll(TScrollCode code);
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPageSize = 0, FPosition = 0;
  int FSmallChange = 1, FLargeChange = 1;
};

}  // namespace kv
