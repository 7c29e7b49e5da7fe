#include "framework/ListCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

// ---- TListBox

TListBox::TListBox() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
  FItems.OnChange = [this] { ItemsChanged(); };
}

void TListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"LISTBOX";
  // Both bars are allowed; the list box shows each only while it is needed.
  params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | (FMultiSelect ? LBS_EXTENDEDSEL : 0);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
  TWinControl::CreateWnd();
  FillWindow();
}

void TListBox::DestroyWnd() {
  FItemIndex = ItemIndex();
  FSelection.assign(static_cast<std::size_t>(FItems.Count()), false);
  for (int i = 0; i < FItems.Count(); ++i) FSelection[static_cast<std::size_t>(i)] = Selected(i);
  TWinControl::DestroyWnd();
}

void TListBox::FontChanged() {
  TWinControl::FontChanged();
  UpdateHorizontalExtent();
}

void TListBox::FillWindow() {
  SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : FItems.Lines())
    SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  FSelection.resize(static_cast<std::size_t>(FItems.Count()));
  if (FMultiSelect) {
    for (std::size_t i = 0; i < FSelection.size(); ++i)
      if (FSelection[i]) SendMessageW(FHandle, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (FItemIndex >= 0) SendMessageW(FHandle, LB_SETCARETINDEX, FItemIndex, FALSE);
  } else {
    SendMessageW(FHandle, LB_SETCURSEL, FItemIndex, 0);
  }
  SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateHorizontalExtent();
}

void TListBox::ItemsChanged() {
  if (FSorting) return;
  if (FSorted) {
    FSorting = true;
    FItems.Sort();
    FSorting = false;
  }
  // The list does not say what changed: selections stay by position, within the lines.
  const auto count = static_cast<std::size_t>(FItems.Count());
  if (FHandle) {
    FItemIndex = ItemIndex();
    std::vector<bool> selection(count, false);
    const int old = static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < std::min(old, FItems.Count()); ++i) selection[static_cast<std::size_t>(i)] = Selected(i);
    FSelection = std::move(selection);
  }
  FSelection.resize(count);
  if (FItemIndex >= static_cast<int>(count)) FItemIndex = -1;
  if (FHandle) FillWindow();
}

void TListBox::UpdateHorizontalExtent() {
  if (!FHandle) return;
  int widest = 0;
  {
    const TWindowDc dc = TWindowDc::Client(FHandle);
    TCanvas canvas(dc.Get());
    canvas.Font() = Font();
    for (const std::wstring& item : FItems.Lines())
      widest = std::max(widest, static_cast<int>(canvas.TextExtent(item).cx));
  }
  SendMessageW(FHandle, LB_SETHORIZONTALEXTENT, widest > 0 ? widest + 4 : 0, 0);
}

int TListBox::ItemIndex() const {
  if (!FHandle) return FItemIndex;
  if (FMultiSelect) {
    if (SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0) <= 0) return -1;
    return static_cast<int>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  }
  return static_cast<int>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  if (index < 0 || index >= FItems.Count()) index = -1;
  FItemIndex = index;
  FSelection.assign(static_cast<std::size_t>(FItems.Count()), false);
  if (index >= 0) FSelection[static_cast<std::size_t>(index)] = true;
  if (!FHandle) return;
  if (FMultiSelect) {
    SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
    if (index >= 0) {
      SendMessageW(FHandle, LB_SETSEL, TRUE, index);
      SendMessageW(FHandle, LB_SETCARETINDEX, index, FALSE);
    }
  } else {
    SendMessageW(FHandle, LB_SETCURSEL, index, 0);
  }
}

bool TListBox::Selected(int index) const {
  if (FHandle) return SendMessageW(FHandle, LB_GETSEL, index, 0) > 0;
  if (index < 0 || index >= static_cast<int>(FSelection.size())) return false;
  return FMultiSelect ? FSelection[static_cast<std::size_t>(index)] : index == FItemIndex;
}

void TListBox::SetSelected(int index, bool value) {
  if (index < 0 || index >= FItems.Count()) return;
  if (!FMultiSelect) {
    if (value) {
      SetItemIndex(index);
    } else if (ItemIndex() == index) {
      SetItemIndex(-1);
    }
    return;
  }
  FSelection.resize(static_cast<std::size_t>(FItems.Count()));
  FSelection[static_cast<std::size_t>(index)] = value;
  if (FHandle) SendMessageW(FHandle, LB_SETSEL, value, index);
}

int TListBox::SelCount() const {
  if (FHandle && FMultiSelect) return static_cast<int>(SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
  if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(std::count(FSelection.begin(), FSelection.end(), true));
}

void TListBox::SetMultiSelect(bool value) {
  if (FMultiSelect == value) return;
  // The window goes with the selection read under the old rule; the new one takes it.
  const bool hadWindow = FHandle != nullptr;
  DestroyHandle();
  FMultiSelect = value;
  if (hadWindow) HandleNeeded();
}

void TListBox::SetSorted(bool value) {
  if (FSorted == value) return;
  FSorted = value;
  if (value) ItemsChanged();
}

int TListBox::TopIndex() const { return FHandle ? static_cast<int>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0)) : 0; }

void TListBox::SetTopIndex(int index) {
  if (FHandle) SendMessageW(FHandle, LB_SETTOPINDEX, index, 0);
}

void TListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == LBN_SELCHANGE) Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TListView

namespace {

DWORD ViewBits(TViewStyle style) {
  switch (style) {
    case vsIcon: return LVS_ICON;
    case vsSmallIcon: return LVS_SMALLICON;
    case vsList: return LVS_LIST;
    case vsReport: return LVS_REPORT;
  }
  return LVS_ICON;
}

int ColumnFormat(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify: return LVCFMT_LEFT;
    case taRightJustify: return LVCFMT_RIGHT;
    case taCenter: return LVCFMT_CENTER;
  }
  return LVCFMT_LEFT;
}

void SetItemState(HWND wnd, int index, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(wnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SetItemText(HWND wnd, int index, int subItem, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(wnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

TListView::TListView() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

void TListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = WC_LISTVIEWW;
  // The image lists are the form's components: the list view must not destroy them.
  params.Style |= ViewBits(FViewStyle) | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | (FMultiSelect ? 0 : LVS_SINGLESEL);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  FFilling = true;
  UpdateExtendedStyle();
  if (FSmallImages)
    SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages->Handle()));
  if (FLargeImages)
    SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages->Handle()));
  for (int i = 0; i < ColumnCount(); ++i) InsertColumn(i);
  for (int i = 0; i < ItemCount(); ++i) InsertItem(i);
  FFilling = false;
}

void TListView::DestroyWnd() {
  for (int i = 0; i < ItemCount(); ++i) FItems[static_cast<std::size_t>(i)].Selected = Selected(i);
  if (FViewStyle == vsReport)
    for (int i = 0; i < ColumnCount(); ++i) FColumns[static_cast<std::size_t>(i)].Width = Column(i).Width;
  TWinControl::DestroyWnd();
}

void TListView::SetViewStyle(TViewStyle style) {
  if (FViewStyle == style) return;
  if (FHandle && FViewStyle == vsReport)
    for (int i = 0; i < ColumnCount(); ++i) FColumns[static_cast<std::size_t>(i)].Width = Column(i).Width;
  FViewStyle = style;
  if (!FHandle) return;
  const LONG_PTR old = GetWindowLongPtrW(FHandle, GWL_STYLE);
  SetWindowLongPtrW(FHandle, GWL_STYLE, (old & ~LONG_PTR{LVS_TYPEMASK}) | ViewBits(style));
}

void TListView::InsertColumn(int index) {
  const TListColumn& c = FColumns[static_cast<std::size_t>(index)];
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = ColumnFormat(c.Alignment);
  column.cx = Scaled(c.Width);
  column.pszText = const_cast<wchar_t*>(c.Caption.c_str());
  column.iSubItem = index;
  SendMessageW(FHandle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::InsertItem(int index) {
  const TListItem& i = FItems[static_cast<std::size_t>(index)];
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(i.Caption.c_str());
  item.iImage = i.ImageIndex;
  item.state = i.Selected ? LVIS_SELECTED : 0;
  item.stateMask = LVIS_SELECTED;
  SendMessageW(FHandle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (std::size_t s = 0; s < i.SubItems.size(); ++s)
    SetItemText(FHandle, index, static_cast<int>(s) + 1, i.SubItems[s]);
}

int TListView::AddColumn(std::wstring_view caption, int width, TAlignment alignment) {
  FColumns.push_back(TListColumn{std::wstring(caption), width, alignment});
  const int index = ColumnCount() - 1;
  if (FHandle) InsertColumn(index);
  return index;
}

TListColumn TListView::Column(int index) const {
  TListColumn column = FColumns.at(static_cast<std::size_t>(index));
  if (FHandle && FViewStyle == vsReport) column.Width = ShownColumnWidth(index, Dpi());
  return column;
}

int TListView::ShownColumnWidth(int index, int dpi) const {
  const int units = FColumns.at(static_cast<std::size_t>(index)).Width;
  const int shown = static_cast<int>(SendMessageW(FHandle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
  return shown == ScaleToDpi(units, dpi) ? units : UnscaleFromDpi(shown, dpi);
}

void TListView::DpiChanged(int oldDpi) {
  TWinControl::DpiChanged(oldDpi);
  if (!FHandle) return;
  // The view measures its rows and icons from the lists when it is given them.
  if (FSmallImages)
    SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages->Handle()));
  if (FLargeImages)
    SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages->Handle()));
  if (FViewStyle != vsReport) return;
  for (int i = 0; i < ColumnCount(); ++i) {
    FColumns[static_cast<std::size_t>(i)].Width = ShownColumnWidth(i, oldDpi);
    SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                 Scaled(FColumns[static_cast<std::size_t>(i)].Width));
  }
}

void TListView::SetColumnCaption(int index, std::wstring_view caption) {
  TListColumn& c = FColumns.at(static_cast<std::size_t>(index));
  c.Caption = caption;
  if (!FHandle) return;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = c.Caption.data();
  SendMessageW(FHandle, LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::SetColumnWidth(int index, int width) {
  FColumns.at(static_cast<std::size_t>(index)).Width = width;
  if (FHandle) SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), Scaled(width));
}

int TListView::AddItem(std::wstring_view caption, int imageIndex, std::vector<std::wstring> subItems) {
  FItems.push_back(TListItem{std::wstring(caption), std::move(subItems), imageIndex, false});
  const int index = ItemCount() - 1;
  if (FHandle) {
    FFilling = true;
    InsertItem(index);
    FFilling = false;
  }
  return index;
}

TListItem TListView::Item(int index) const {
  TListItem item = FItems.at(static_cast<std::size_t>(index));
  item.Selected = Selected(index);
  return item;
}

void TListView::SetItemCaption(int index, std::wstring_view caption) {
  TListItem& item = FItems.at(static_cast<std::size_t>(index));
  item.Caption = caption;
  if (FHandle) SetItemText(FHandle, index, 0, item.Caption);
}

void TListView::SetSubItem(int index, int subIndex, std::wstring_view text) {
  TListItem& item = FItems.at(static_cast<std::size_t>(index));
  if (subIndex < 0) return;
  if (item.SubItems.size() <= static_cast<std::size_t>(subIndex))
    item.SubItems.resize(static_cast<std::size_t>(subIndex) + 1);
  item.SubItems[static_cast<std::size_t>(subIndex)] = text;
  if (FHandle) SetItemText(FHandle, index, subIndex + 1, item.SubItems[static_cast<std::size_t>(subIndex)]);
}

void TListView::SetImageIndex(int index, int imageIndex) {
  FItems.at(static_cast<std::size_t>(index)).ImageIndex = imageIndex;
  if (!FHandle) return;
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = imageIndex;
  SendMessageW(FHandle, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::DeleteItem(int index) {
  if (index < 0 || index >= ItemCount()) return;
  FItems.erase(FItems.begin() + index);
  if (FHandle) SendMessageW(FHandle, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TListView::ClearItems() {
  FItems.clear();
  if (FHandle) SendMessageW(FHandle, LVM_DELETEALLITEMS, 0, 0);
}

int TListView::ItemIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  for (int i = 0; i < ItemCount(); ++i)
    if (FItems[static_cast<std::size_t>(i)].Selected) return i;
  return -1;
}

void TListView::SetItemIndex(int index) {
  if (index >= ItemCount()) index = -1;
  // Item by item, so that each change is reported for the item it concerns.
  for (int i = 0; i < ItemCount(); ++i)
    if (i != index && Selected(i)) SetSelected(i, false);
  if (index < 0) return;
  SetSelected(index, true);
  if (FHandle) {
    SetItemState(FHandle, index, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(FHandle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  }
}

bool TListView::Selected(int index) const {
  if (index < 0 || index >= ItemCount()) return false;
  if (FHandle)
    return SendMessageW(FHandle, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED;
  return FItems[static_cast<std::size_t>(index)].Selected;
}

void TListView::SetSelected(int index, bool value) {
  if (index < 0 || index >= ItemCount()) return;
  FItems[static_cast<std::size_t>(index)].Selected = value;
  if (FHandle) SetItemState(FHandle, index, value ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int TListView::SelCount() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TListItem& i) { return i.Selected; }));
}

void TListView::SetMultiSelect(bool value) {
  if (FMultiSelect == value) return;
  FMultiSelect = value;
  RecreateWnd();
}

void TListView::SetRowSelect(bool value) {
  FRowSelect = value;
  UpdateExtendedStyle();
}

void TListView::SetGridLines(bool value) {
  FGridLines = value;
  UpdateExtendedStyle();
}

void TListView::UpdateExtendedStyle() {
  if (!FHandle) return;
  const DWORD value = (FRowSelect ? LVS_EX_FULLROWSELECT : 0) | (FGridLines ? LVS_EX_GRIDLINES : 0);
  SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, value);
}

void TListView::SetImages(TImageList*& field, TImageList* images, int which) {
  if (field == images) return;
  WatchReference(field, images);
  if (FHandle)
    SendMessageW(FHandle, LVM_SETIMAGELIST, static_cast<WPARAM>(which),
                 reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TListView::SetSmallImages(TImageList* images) { SetImages(FSmallImages, images, LVSIL_SMALL); }

void TListView::SetLargeImages(TImageList* images) { SetImages(FLargeImages, images, LVSIL_NORMAL); }

void TListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSmallImages) SetImages(FSmallImages, nullptr, LVSIL_SMALL);
  if (component == FLargeImages) SetImages(FLargeImages, nullptr, LVSIL_NORMAL);
}

HWND TListView::HeaderHandle() { return reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0)); }

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && reinterpret_cast<const NMHDR*>(m.LParam)->code == static_cast<UINT>(LVN_ITEMCHANGED)) {
    m.Result = 0;
    if (FFilling) return;
    const auto& change = *reinterpret_cast<const NMLISTVIEW*>(m.LParam);
    const int index = change.iItem;
    if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
      const bool selected = change.uNewState & LVIS_SELECTED;
      if (index >= 0 && index < ItemCount()) FItems[static_cast<std::size_t>(index)].Selected = selected;
      if (OnSelectItem) OnSelectItem(this, index, selected);
    }
    if (OnChange) OnChange(this, index);
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace kv
