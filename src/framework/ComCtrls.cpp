#include "framework/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Forms.h"

namespace kv {

// ---- TTabSheet

TTabSheet::TTabSheet() {
  FOwnPaint = true;
  FClickOnMouseUp = true;
  TControl::SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (FPageControl == pageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = pageControl;
  SetParent(pageControl);
  if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetCaption(std::wstring_view caption) {
  TWinControl::SetCaption(caption);
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.WinClassName = L"Kv.TabSheet";
}

// ---- TPageControl

TPageControl::TPageControl() {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

void TPageControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN | (FButtons ? TCS_BUTTONS : TCS_TABS) | (FHotTrack ? TCS_HOTTRACK : 0);
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateTabs();
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  if (!FActivePage) FActivePage = page;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  std::erase(FPages, page);
  if (FActivePage == page) FActivePage = FPages.empty() ? nullptr : FPages.front();
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (FHandle) {
    SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < FPages.size(); ++i) {
      std::wstring text = FPages[i]->Caption();
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(FHandle, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(FHandle, TCM_SETCURSEL, ActivePageIndex(), 0);
  }
  LayoutPages();
}

void TPageControl::LayoutPages() {
  RECT display{0, 0, Width(), Height()};
  if (FHandle) {
    GetClientRect(FHandle, &display);
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  }
  for (TTabSheet* page : FPages) {
    page->SetBounds(display.left, display.top, display.right - display.left, display.bottom - display.top);
    page->SetVisible(page == FActivePage);
  }
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  LayoutPages();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page == FActivePage || (page && page->PageControl() != this)) return;
  // The focus must not stay on a page that goes out of sight.
  HWND focus = GetFocus();
  const bool focusOnOldPage =
      FActivePage && FActivePage->HandleAllocated() && focus && IsChild(FActivePage->Handle(), focus);
  FActivePage = page;
  if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, ActivePageIndex(), 0);
  LayoutPages();
  if (focusOnOldPage && CanFocus()) SetFocus();
  if (OnChange) OnChange(this);
}

void TPageControl::SetActivePageIndex(int index) {
  if (index >= 0 && index < PageCount()) SetActivePage(FPages[index]);
}

void TPageControl::SelectNextPage(bool forward) {
  if (FPages.empty()) return;
  const int count = PageCount();
  const int current = std::max(ActivePageIndex(), 0);
  SetActivePageIndex(forward ? (current + 1) % count : (current + count - 1) % count);
}

void TPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
        const int index = static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
        if (index >= 0 && index < PageCount()) SetActivePage(FPages[index]);
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && Showing() && !FPages.empty()) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      LayoutPages();
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TStatusBar

TStatusBar::TStatusBar() { SetBounds(0, 0, 200, 19); }

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = STATUSCLASSNAMEW;
  // We place it ourselves, exactly where the form says.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::SetPanels(std::vector<TStatusPanel> panels) {
  FPanels = std::move(panels);
  UpdatePanels();
}

void TStatusBar::SetPanelText(int index, std::wstring_view text) {
  FPanels.at(index).Text = text;
  UpdatePanels();
}

void TStatusBar::DpiChanged(int oldDpi) {
  TWinControl::DpiChanged(oldDpi);
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!FHandle || FPanels.empty()) return;
  std::vector<int> edges;
  int edge = 0;
  for (const TStatusPanel& panel : FPanels) edges.push_back(edge += Scaled(panel.Width));
  edges.back() = -1;  // the last panel takes the rest of the bar
  SendMessageW(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < FPanels.size(); ++i) {
    const WPARAM flags = i | (FPanels[i].RightToLeft ? SBT_RTLREADING : 0);
    SendMessageW(FHandle, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(FPanels[i].Text.c_str()));
  }
}

}  // namespace kv
