#pragma once
// Lists over the platform's controls.
//
//   TListBox   lines of text, one or several selected (LISTBOX)
//   TListView  items with images and sub-items, in four views; columns in the platform's
//              header in the report view (SysListView32)
#include <vector>

#include "framework/Controls.h"
#include "framework/CtrlTypes.h"
#include "framework/ImgList.h"

namespace kv {

// Scroll bars come and go as the lines need them: a vertical one when they do not fit,
// a horizontal one when the widest is wider than the box.
class TListBox : public TWinControl {
 public:
  TListBox();
  std::string_view ClassName() const override { return "TListBox"; }
  TStringList& Items() { return FItems; }
  // The selected line (with MultiSelect: the one with the focus), -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool Selected(int index) const;
  void SetSelected(int index, bool value);
  int SelCount() const;
  // Several lines, chosen with Shift and Ctrl.
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  // Lines kept in alphabetical order, whatever order they are added in.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  int TopIndex() const;
  void SetTopIndex(int index);
  // OnClick fires when the user changes the selection.
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void FontChanged() override;

 private:
  void ItemsChanged();
  void FillWindow();
  void UpdateHorizontalExtent();
  TStringList FItems;
  std::vector<bool> FSelection;  // kept while there is no window
  int FItemIndex = -1;
  bool FMultiSelect = false;
  bool FSorted = false;
  bool FSorting = false;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

struct TListColumn {
  std::wstring Caption;
  int Width = 50;  // 96-DPI units
  TAlignment Alignment = taLeftJustify;
};

struct TListItem {
  std::wstring Caption;
  std::vector<std::wstring> SubItems;
  int ImageIndex = -1;
  bool Selected = false;
};

using TLVChangeEvent = std::function<void(TComponent* sender, int index)>;
using TLVSelectItemEvent = std::function<void(TComponent* sender, int index, bool selected)>;

class TListView : public TWinControl {
 public:
  TListView();
  std::string_view ClassName() const override { return "TListView"; }

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle style);

  int AddColumn(std::wstring_view caption, int width, TAlignment alignment = taLeftJustify);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  // The column as it is (its width as the user left it).
  TListColumn Column(int index) const;
  void SetColumnCaption(int index, std::wstring_view caption);
  void SetColumnWidth(int index, int width);

  int AddItem(std::wstring_view caption, int imageIndex = -1, std::vector<std::wstring> subItems = {});
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  // The item as it is (its selection as the user left it).
  TListItem Item(int index) const;
  void SetItemCaption(int index, std::wstring_view caption);
  void SetSubItem(int index, int subIndex, std::wstring_view text);
  void SetImageIndex(int index, int imageIndex);
  void DeleteItem(int index);
  void ClearItems();

  // The first selected item, -1 for none; setting it selects that item alone.
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool Selected(int index) const;
  void SetSelected(int index, bool value);
  int SelCount() const;
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  // The whole row shows selected in the report view, not only its first column.
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool value);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool value);

  // Not owned: the lists are forms' components; a list going away is forgotten.
  TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* images);
  TImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TImageList* images);
  // The platform's header of the report view (none in the other views).
  HWND HeaderHandle();

  // OnChange fires once for each change the platform reports of an item (its state or
  // its text); OnSelectItem once for each item that gets or loses the selection.
  TLVChangeEvent OnChange;
  TLVSelectItemEvent OnSelectItem;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DpiChanged(int oldDpi) override;

 private:
  void InsertColumn(int index);
  // The column's width in 96-DPI units as the window shows it at `dpi`: ours until the
  // user drags it, so that a width scaled there and back comes back exactly.
  int ShownColumnWidth(int index, int dpi) const;
  void InsertItem(int index);
  void UpdateExtendedStyle();
  void SetImages(TImageList*& field, TImageList* images, int which);
  std::vector<TListColumn> FColumns;
  std::vector<TListItem> FItems;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false;
  bool FRowSelect = false;
  bool FGridLines = false;
  bool FFilling = false;  // our own pushes raise no events
  TImageList* FSmallImages = nullptr;
  TImageList* FLargeImages = nullptr;
};

}  // namespace kv
