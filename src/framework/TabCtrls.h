#pragma once
// Tabs without pages.
//
//   TTabControl   the platform's tab control (SysTabControl32): a row of tabs over one
//                 client area that the program fills itself
//   TTabSet       the older strip of tabs hanging from a line, drawn by us, with a
//                 scroller of two arrow buttons when the tabs do not fit
#include <vector>

#include "framework/Controls.h"
#include "framework/ImgList.h"

namespace kv {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

using TTabChangingEvent = std::function<void(TComponent* sender, bool& allowChange)>;

class TTabControl : public TWinControl {
 public:
  TTabControl();
  std::string_view ClassName() const override { return "TTabControl"; }
  TStringList& Tabs() { return FTabs; }
  int TabIndex() const;
  void SetTabIndex(int index);
  TTabPosition TabPosition() const { return FTabPosition; }
  // Tabs at the left or right are stacked in rows (the platform has no arrows for them).
  void SetTabPosition(TTabPosition position);
  // Rows of tabs instead of one row with scroll arrows.
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool value);
  // Tab i shows image i of the list. Not owned.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // The part of the client area inside the tabs' frame, for the program's content.
  RECT DisplayRect();
  // OnChanging may refuse a change the user asks for; OnChange fires once after it.
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DpiChanged(int oldDpi) override;

 private:
  void UpdateTabs();
  TStringList FTabs;
  int FTabIndex = -1;
  TTabPosition FTabPosition = tpTop;
  bool FMultiLine = false;
  TImageList* FImages = nullptr;
};

enum TScrollButton { sbLeft, sbRight };
using TScrollButtonEvent = std::function<void(TComponent* sender, TScrollButton button)>;

// Two arrow buttons side by side, of our own window class. A press on either half fires
// OnScrollClick at once and again every tenth of a second after a pause while held.
class TTabScroller : public TWinControl {
 public:
  TTabScroller();
  std::string_view ClassName() const override { return "TTabScroller"; }
  bool CanScrollLeft() const { return FCanLeft; }
  bool CanScrollRight() const { return FCanRight; }
  void SetCanScroll(bool left, bool right);
  TScrollButtonEvent OnScrollClick;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(TCanvas& canvas) override;

 private:
  void Press(TScrollButton button);
  bool FCanLeft = false, FCanRight = false;
  bool FPressing = false;
  TScrollButton FPressed = sbLeft;
};

// Tab i is as wide as its text plus 9 pixels; the tabs run from StartMargin, from the
// first visible one on, as far as they fit before EndMargin (and the scroller, when it
// shows). The scroller is the tab set's first owned component.
class TTabSet : public TWinControl {
 public:
  TTabSet();
  std::string_view ClassName() const override { return "TTabSet"; }
  TStringList& Tabs() { return FTabs; }
  int TabIndex() const { return FTabIndex; }
  // Scrolls the tab into view when it is not.
  void SetTabIndex(int index);
  int FirstIndex() const { return FFirstIndex; }
  void SetFirstIndex(int index);
  // How many tabs, from FirstIndex on, fit.
  int VisibleTabs() const { return FVisibleTabs; }
  int StartMargin() const { return FStartMargin; }
  void SetStartMargin(int value);
  int EndMargin() const { return FEndMargin; }
  void SetEndMargin(int value);
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor color);
  TColor UnselectedColor() const { return FUnselectedColor; }
  void SetUnselectedColor(TColor color);
  TTabScroller* Scroller() const { return FScroller; }
  // The tab's rectangle in client coordinates; empty when it is not in view.
  RECT TabRect(int index) const;
  int TabAtPos(POINT point) const;
  void SetBounds(int left, int top, int width, int height) override;
  // OnChanging may refuse a change the user asks for (a click, an arrow key); OnChange
  // fires once after any change of TabIndex.
  std::function<void(TComponent* sender, int newTab, bool& allowChange)> OnChanging;
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

  static constexpr int kTabPadding = 9;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(TCanvas& canvas) override;
  void FontChanged() override;

 private:
  void Layout();
  void UserSelect(int index);
  TStringList FTabs;
  std::vector<RECT> FTabRects;  // of the tabs in view, from FirstIndex on
  TTabScroller* FScroller = nullptr;
  int FTabIndex = -1;
  int FFirstIndex = 0;
  int FVisibleTabs = 0;
  int FStartMargin = 5;
  int FEndMargin = 5;
  TColor FSelectedColor = clBtnFace;
  TColor FUnselectedColor = clWindow;
};

}  // namespace kv
