#pragma once
// Menus: trees of components over the platform's menus.
//
//   TMenuItem   one entry: caption ("-" a separator, "&" before the access key), shortcut,
//               check mark (radio items in groups), default, enabled, visible, image,
//               sub-items; a platform submenu while it has sub-items
//   TMenu       the root of a tree: image list, owner drawing, reading order, change events
//   TMainMenu   a form's menu bar (TForm::SetMenu)
//   TPopupMenu  a context menu, shown at a screen point or on a right click on a control
//               whose PopupMenu it is
//
// Every item has a command identifier unique in the program. A window that shows our
// menus hands its menu messages to HandleMenuMessage, which finds the item by it:
// WM_COMMAND clicks the item, WM_MEASUREITEM / WM_DRAWITEM measure and draw it,
// WM_INITMENU / WM_INITMENUPOPUP let items update themselves before they show, and
// WM_MENUCHAR finds the access keys of owner-drawn items (they carry no platform text).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Controls.h"

namespace kv {

class TMenu;
class TMenuItem;
class TForm;
class TImageList;

// A key with its modifiers: the virtual key in the low byte, the modifiers above it.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(WORD key, TShortCut modifiers) { return static_cast<TShortCut>((key & 0xFF) | modifiers); }
// "Ctrl+S", "Shift+Ctrl+F4", "Alt+Del"; empty for scNone.
std::wstring ShortCutToText(TShortCut shortCut);
// ShortCutToText backwards (case does not matter); scNone when the text names no key.
TShortCut TextToShortCut(std::wstring_view text);
// The shortcut a WM_KEYDOWN / WM_SYSKEYDOWN stands for, with the modifiers held now;
// scNone for other messages and for a modifier key alone.
TShortCut ShortCutFromKey(const MSG& msg);

// The character after a single "&" in a caption ("&&" is a plain ampersand), or 0.
wchar_t AccessKey(std::wstring_view caption);
// The caption as it reads: without the "&" markers.
std::wstring StripAccessMarks(std::wstring_view caption);
// The platform's menu font (bold for a default item) at `dpi`, the system's scale by
// default.
void AssignMenuFont(TFont& font, bool bold = false, int dpi = 0);

// The state of an owner-drawn item: the platform's ODS_ bits.
enum TOwnerDrawStateBit : unsigned {
  odSelected = ODS_SELECTED,
  odGrayed = ODS_GRAYED,
  odDisabled = ODS_DISABLED,
  odChecked = ODS_CHECKED,
  odFocused = ODS_FOCUS,
  odDefault = ODS_DEFAULT,
  odHotLight = ODS_HOTLIGHT,
  odInactive = ODS_INACTIVE,
  odNoAccel = ODS_NOACCEL,
};
using TOwnerDrawState = unsigned;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };

using TMenuMeasureItemEvent = std::function<void(TMenuItem* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState state)>;

class TMenuItem : public TComponent {
 public:
  TMenuItem();
  ~TMenuItem() override;
  std::string_view ClassName() const override { return "TMenuItem"; }

  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(std::wstring_view caption);
  bool IsLine() const { return FCaption == L"-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index) { FGroupIndex = index; }
  // A click checks the item (a radio item) or toggles its check mark before OnClick.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // A hidden item has no entry in the platform menu.
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // An image of the menu's image list; -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  int IndexOf(const TMenuItem* item) const;
  // A new sub-item owned by this item, last or at `index`.
  TMenuItem* Add(std::wstring_view caption = {});
  TMenuItem* Insert(int index, std::wstring_view caption = {});
  // Takes over an item made on its own (owned by nothing, in no menu).
  TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
  // Frees the sub-item at `index`, with its own sub-items.
  void Delete(int index);
  void Clear();
  // The first sub-item whose caption, without "&" markers, is `caption`.
  TMenuItem* Find(std::wstring_view caption) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu at the root of the tree, or none.
  TMenu* GetParentMenu() const;
  TImageList* GetImageList() const;
  // The scale of the window showing the item's menu: its sizes and font are made for it.
  int Dpi() const;
  bool IsRightToLeft() const;

  // Names the item in WM_COMMAND, WM_MEASUREITEM and WM_DRAWITEM; unique in the program.
  UINT Command() const { return FCommand; }
  // The platform submenu while the item has sub-items (made when first asked for), else
  // none. A menu's root item answers the menu's own handle.
  HMENU Handle();

  // AutoCheck, then OnClick. An item with sub-items is also clicked as its submenu opens.
  virtual void Click();
  // OnUpdate: the item sets its state before it shows or before its shortcut is taken.
  void InitiateAction();

  // Owner drawing. MeasureItem: the default size, which OnMeasureItem (the item's, else
  // the menu's) may change. AdvancedDrawItem: OnAdvancedDrawItem (the item's, else the
  // menu's), or DrawDefault without one.
  void MeasureItem(TCanvas& canvas, int& width, int& height);
  void AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
  // The plain look: a glyph column (the image, else the check mark), the caption, the
  // shortcut aligned right (all mirrored in a right-to-left menu); separators an etched
  // line; menu-bar items the caption alone.
  void MeasureDefault(TCanvas& canvas, int& width, int& height) const;
  void DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) const;

  TNotifyEvent OnClick;
  TNotifyEvent OnUpdate;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnAdvancedDrawItem;

 private:
  friend class TMenu;
  friend class TForm;
  friend bool HandleMenuMessage(TMessage& message);
  bool IsRoot() const { return FMenu != nullptr; }
  bool IsBarItem() const;
  bool IsOwnerDrawn() const;
  bool HasSubmenu() const { return !FItems.empty() || FListsWindows; }
  int GlyphSize() const;
  TMenuItem* Link(int index, TMenuItem* item);
  // The platform side.
  void FillEntry(MENUITEMINFOW& info, std::wstring& text);
  void InsertEntries(int position);
  void RebuildEntries();
  void UpdateEntry();
  bool EntryOwnerDrawn() const;
  void RemoveAllEntries();
  void ReleaseHandle();
  void Changed();
  void StructureChanged();
  void SetListsWindows(bool value);
  void DrawImageOnly(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) const;

  std::wstring FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false, FRadioItem = false, FAutoCheck = false, FDefault = false;
  bool FEnabled = true, FVisible = true;
  bool FListsWindows = false;  // the MDI window list needs a submenu, even an empty one
  bool FDestroyingItems = false;
  int FGroupIndex = 0;
  int FImageIndex = -1;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;          // set on a menu's root item only
  std::vector<TMenuItem*> FItems;  // owned as components, kept here in menu order
  TMenuHandle FHandle;
};

class TMenu : public TComponent {
 public:
  ~TMenu() override;
  TMenuItem* Items() const { return FItems.get(); }
  HMENU Handle() const { return FItems->Handle(); }
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // Every item owner-drawn (MFT_OWNERDRAW): measured and drawn by its events or the defaults.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  // The scale of the form the menu shows on (the system's when there is none).
  virtual int Dpi() const;
  // By command identifier, by submenu handle (cast to UINT_PTR) or by shortcut.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // Clicks the item with this shortcut after letting it update, when it and its parents
  // are enabled; false when there is none.
  bool IsShortCut(TShortCut shortCut);

  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnAdvancedDrawItem;
  // After every change of the menu (`source` none) or of one of its items.
  std::function<void(TMenu* sender, TMenuItem* source)> OnChange;

 protected:
  explicit TMenu(bool bar);
  virtual void MenuChanged(TMenuItem* source);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenuItem;
  void RefreshEntries();
  bool FBar;
  std::unique_ptr<TMenuItem> FItems;
  TImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

class TMainMenu : public TMenu {
 public:
  TMainMenu() : TMenu(true) {}
  ~TMainMenu() override;
  std::string_view ClassName() const override { return "TMainMenu"; }
  // The form whose menu bar it is, or none.
  TForm* Form() const { return FForm; }
  int Dpi() const override;

 protected:
  void MenuChanged(TMenuItem* source) override;

 private:
  friend class TForm;
  TForm* FForm = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  TPopupMenu() : TMenu(false) {}
  std::string_view ClassName() const override { return "TPopupMenu"; }
  // Shows the menu at a screen point and returns when it closes. The chosen item's
  // WM_COMMAND goes to the window of the form it is shown for (the popup component's or
  // the owner's, else the active form) and clicks the item after this returns.
  void Popup(int x, int y);
  // Shown by a right click (WM_CONTEXTMENU) on a control whose PopupMenu it is.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment alignment) { FAlignment = alignment; }
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  // The scale of the form it is shown for: the popup component's, else its owner's.
  int Dpi() const override;
  // Before the menu shows.
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  HWND OwnerWindow();
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TComponent* FPopupComponent = nullptr;
  TWindowHandle FOwnerWindow;  // only when no form can take the menu's messages
};

// Handles a menu message that reached a window showing our menus: forms call it, and so
// may any window that tracks one of our menus. False when the message concerns none of
// our items (pass it on then). Also false for the notifications (WM_INITMENU,
// WM_INITMENUPOPUP), which others may want to see as well.
bool HandleMenuMessage(TMessage& message);
// The item with this command identifier, or none.
TMenuItem* FindMenuItem(UINT command);
// The item an entry's item data names (only our entries carry such data), or none.
TMenuItem* ItemFromEntry(ULONG_PTR itemData);

}  // namespace kv
