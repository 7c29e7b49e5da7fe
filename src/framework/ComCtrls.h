#pragma once
// Common controls: the page control with its tab sheets, and the status bar.
#include <vector>

#include "framework/Controls.h"

namespace kv {

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  TTabSheet();
  ~TTabSheet() override;
  std::string_view ClassName() const override { return "TTabSheet"; }
  TPageControl* PageControl() const { return FPageControl; }
  // Puts the sheet on a page control (as its last page) and inside its window.
  void SetPageControl(TPageControl* pageControl);
  int PageIndex() const;
  void SetCaption(std::wstring_view caption) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TPageControl* FPageControl = nullptr;
};

class TPageControl : public TWinControl {
 public:
  TPageControl();
  std::string_view ClassName() const override { return "TPageControl"; }
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(index); }
  TTabSheet* ActivePage() const { return FActivePage; }
  int ActivePageIndex() const;
  void SetActivePage(TTabSheet* page);
  void SetActivePageIndex(int index);
  void SelectNextPage(bool forward);
  // Tabs drawn as buttons; hot tracking.
  bool Buttons() const { return FButtons; }
  void SetButtons(bool value) { FButtons = value; }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value) { FHotTrack = value; }
  void SetBounds(int left, int top, int width, int height) override;
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  void LayoutPages();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  bool FButtons = false;
  bool FHotTrack = false;
};

struct TStatusPanel {
  int Width = 50;
  std::wstring Text;
  bool RightToLeft = false;  // right-to-left reading order
};

class TStatusBar : public TWinControl {
 public:
  TStatusBar();
  std::string_view ClassName() const override { return "TStatusBar"; }
  const std::vector<TStatusPanel>& Panels() const { return FPanels; }
  void SetPanels(std::vector<TStatusPanel> panels);
  void SetPanelText(int index, std::wstring_view text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Panel widths are 96-DPI units.
  void DpiChanged(int oldDpi) override;

 private:
  void UpdatePanels();
  std::vector<TStatusPanel> FPanels;
};

}  // namespace kv
