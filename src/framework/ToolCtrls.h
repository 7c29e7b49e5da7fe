#pragma once
// Containers and pickers.
//
//   TToolBar         the platform's tool bar (ToolbarWindow32) with its buttons
//   TScrollBox       a container of our own window class that scrolls its children
//   TDateTimePicker  the platform's date and time picker (SysDateTimePick32)
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"

namespace kv {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator };

// One button of a tool bar, owned by the tool bar and living in its window.
class TToolButton : public TComponent {
 public:
  std::string_view ClassName() const override { return "TToolButton"; }
  TToolBar* ToolBar() const { return FToolBar; }
  int Index() const;
  // The command number the tool bar reports the button by.
  int Command() const { return FCommand; }
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(std::wstring_view caption);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  TToolButtonStyle Style() const { return FStyle; }
  // A check button stays down after a click until the next one.
  bool Down() const;
  void SetDown(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // Fires once per click; a check button has its new state already.
  TNotifyEvent OnClick;

 private:
  friend class TToolBar;
  TToolBar* FToolBar = nullptr;
  int FCommand = 0;
  std::wstring FCaption;
  int FImageIndex = -1;
  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  bool FEnabled = true;
};

// Color paints the bar's background. Flat (the platform's flat look) makes the window
// again, so a change shows at once.
class TToolBar : public TWinControl {
 public:
  TToolBar();
  std::string_view ClassName() const override { return "TToolBar"; }
  TToolButton* AddButton(std::wstring_view caption, int imageIndex = -1, TToolButtonStyle style = tbsButton);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TToolButton* Buttons(int index) const { return FButtons.at(static_cast<std::size_t>(index)); }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  // Not owned.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // The button's rectangle in the bar's client area (empty before the window exists).
  RECT ButtonRect(int index);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DpiChanged(int oldDpi) override;

 private:
  friend class TToolButton;
  void AddToWindow(TToolButton* button);
  void UpdateButton(TToolButton* button);
  std::vector<TToolButton*> FButtons;
  TImageList* FImages = nullptr;
  bool FFlat = false;
  int FNextCommand = 1;
};

// The children keep their places relative to the scrolled content: scrolling moves them.
// The bars follow the children's extent after the box is sized or shown, and after
// UpdateScrollBars when children were moved or added later. Its Color is its own (it
// does not follow the parent's).
class TScrollBox : public TWinControl {
 public:
  TScrollBox();
  std::string_view ClassName() const override { return "TScrollBox"; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  // bsSingle: a sunken edge; anything else: none.
  void SetBorderStyle(TFormBorderStyle style);
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool value);
  // How far the content is scrolled.
  int HorzPosition() const { return FPosition[0]; }
  int VertPosition() const { return FPosition[1]; }
  void ScrollTo(int horizontal, int vertical);
  // Scrolls just enough to show the whole child (or its top-left part).
  void ScrollInView(TControl* control);
  void UpdateScrollBars();
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void Scroll(int bar, int code);
  TFormBorderStyle FBorderStyle = bsSingle;
  bool FAutoScroll = true;
  bool FUpdating = false;
  int FPosition[2] = {0, 0};  // horizontal, vertical
  int FRange[2] = {0, 0};     // the content's extent
  int FPage[2] = {0, 0};      // the client's extent
};

enum TDateTimeKind { dtkDate, dtkTime };
// The number of the mode matters: 1 is the spin-button look, which skins treat as an edit.
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
 public:
  TDateTimePicker();
  std::string_view ClassName() const override { return "TDateTimePicker"; }
  SYSTEMTIME DateTime() const;
  void SetDateTime(const SYSTEMTIME& value);
  // The date part (the time part stays) and the time part (the date stays).
  void SetDate(int year, int month, int day);
  void SetTime(int hour, int minute, int second);
  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind kind);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode mode);
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat format);
  // The drop-down calendar is open.
  bool DroppedDown() const;
  // Fires once for each change the user makes.
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  SYSTEMTIME FDateTime{};
  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  TDTDateFormat FDateFormat = dfShort;
};

}  // namespace kv
