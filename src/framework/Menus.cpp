// Menu components and the platform menus under them: the command registry, the item
// tree kept in step with its platform entries, the menus, and the menu messages.
#include "framework/Menus.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <unordered_map>

#include "framework/Forms.h"
#include "framework/ImgList.h"

namespace kv {

namespace {

// Commands stay below the system commands (0xF000) and the MDI window list (0xFF00).
constexpr UINT kLastCommand = 0xEFFF;
// Our entries carry this tag and their command as item data. Entries the platform adds to
// our menus (the MDI window list, a maximised child's buttons) carry none: we leave them.
constexpr ULONG_PTR kEntryTag = 0x4B560000;

struct TRegistry {
  std::unordered_map<UINT, TMenuItem*> ByCommand;
  std::unordered_map<HMENU, TMenuItem*> ByHandle;
  UINT Next = 1;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

UINT AllocateCommand(TMenuItem* item) {
  TRegistry& r = Registry();
  for (UINT tries = 0; tries < kLastCommand; ++tries) {
    const UINT command = r.Next;
    r.Next = r.Next >= kLastCommand ? 1 : r.Next + 1;
    if (r.ByCommand.emplace(command, item).second) return command;
  }
  throw std::runtime_error("There are too many menu items");
}

TMenuItem* ItemByHandle(HMENU menu) {
  auto it = Registry().ByHandle.find(menu);
  return it == Registry().ByHandle.end() ? nullptr : it->second;
}

UINT EntryCommand(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return 0;
  return (info.dwItemData & ~ULONG_PTR{0xFFFF}) == kEntryTag ? static_cast<UINT>(info.dwItemData & 0xFFFF) : 0;
}

int EntryPosition(HMENU menu, UINT command) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (EntryCommand(menu, i) == command) return i;
  return -1;
}

struct TKeyName {
  WORD Key;
  const wchar_t* Name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},  {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},   {VK_END, L"End"},      {VK_HOME, L"Home"},  {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},      {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  // Punctuation and the like: what the keyboard layout calls the key.
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  wchar_t name[64] = {};
  if (scan && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0) return name;
  const UINT character = MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0xFFFF;
  return character ? std::wstring(1, static_cast<wchar_t>(character)) : std::wstring();
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

}  // namespace

// Only by the tag: a platform menu a skin made owner-drawn may use our numbers too.
TMenuItem* ItemFromEntry(ULONG_PTR data) {
  return (data & ~ULONG_PTR{0xFFFF}) == kEntryTag ? FindMenuItem(static_cast<UINT>(data & 0xFFFF)) : nullptr;
}

// ---- shortcuts and captions

std::wstring ShortCutToText(TShortCut shortCut) {
  const WORD key = shortCut & 0xFF;
  if (!key) return {};
  std::wstring name = KeyName(key);
  if (name.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + name;
}

TShortCut TextToShortCut(std::wstring_view text) {
  TShortCut modifiers = scNone;
  for (;;) {
    const auto plus = text.find(L'+');
    if (plus == std::wstring_view::npos || plus + 1 == text.size()) break;  // "Ctrl++" names the + key
    const std::wstring_view part = text.substr(0, plus);
    if (SameText(part, L"Shift")) {
      modifiers |= scShift;
    } else if (SameText(part, L"Ctrl")) {
      modifiers |= scCtrl;
    } else if (SameText(part, L"Alt")) {
      modifiers |= scAlt;
    } else {
      return scNone;
    }
    text.remove_prefix(plus + 1);
  }
  if (text.empty()) return scNone;
  for (WORD key = 1; key < 0xFF; ++key) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) continue;
    if (SameText(KeyName(key), text)) return ShortCut(key, modifiers);
  }
  return scNone;
}

TShortCut ShortCutFromKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return scNone;
  const WORD key = static_cast<WORD>(msg.wParam & 0xFF);
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN: return scNone;
    default: break;
  }
  TShortCut modifiers = scNone;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= scCtrl;
  if (GetKeyState(VK_MENU) < 0 || (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1 << 29)))) modifiers |= scAlt;
  return ShortCut(key, modifiers);
}

wchar_t AccessKey(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;  // "&&"
  }
  return 0;
}

namespace {

// The caption with its access-key marker dropped and its "&&" kept (still one ampersand).
std::wstring WithoutAccessKey(std::wstring_view caption) {
  std::wstring text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != L'&') {
      text += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == L'&') {
      text += L"&&";
      ++i;
    }
  }
  return text;
}

}  // namespace

std::wstring StripAccessMarks(std::wstring_view caption) {
  std::wstring text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

void AssignMenuFont(TFont& font, bool bold, int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (NonClientMetricsForDpi(metrics, dpi > 0 ? dpi : SystemDpi())) {
    font.SetName(metrics.lfMenuFont.lfFaceName);
    font.SetPixelsPerInch(kDefaultDpi);  // the height is in pixels of that scale already
    font.SetHeight(metrics.lfMenuFont.lfHeight);
    font.SetCharset(metrics.lfMenuFont.lfCharSet);
  }
  font.SetStyle(bold ? unsigned{fsBold} : 0u);
}

TMenuItem* FindMenuItem(UINT command) {
  auto it = Registry().ByCommand.find(command);
  return it == Registry().ByCommand.end() ? nullptr : it->second;
}

// ---- TMenuItem: the tree

TMenuItem::TMenuItem() { FCommand = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  // Sub-items leaving now need not update this item's entries: they all go.
  FDestroyingItems = true;
  RemoveAllEntries();
  FItems.clear();
  DestroyComponents();
  // Out of the parent's menu before the submenu goes, so no menu keeps a dead handle.
  if (FParent && !FParent->FDestroyingItems) {
    TMenuItem* parent = FParent;
    std::erase(parent->FItems, this);
    FParent = nullptr;
    parent->StructureChanged();
  }
  ReleaseHandle();
  Registry().ByCommand.erase(FCommand);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Add(std::wstring_view caption) { return Insert(Count(), caption); }

TMenuItem* TMenuItem::Insert(int index, std::wstring_view caption) {
  auto item = std::make_unique<TMenuItem>();
  item->FCaption = caption;
  return Insert(index, std::move(item));
}

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
  if (!item || item->FParent || item->Owner() || item->IsRoot())
    throw std::invalid_argument("A menu item can be inserted only when nothing owns it");
  TMenuItem* raw = item.get();
  InsertComponent(std::move(item));
  return Link(index, raw);
}

TMenuItem* TMenuItem::Link(int index, TMenuItem* item) {
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  StructureChanged();
  return item;
}

void TMenuItem::Delete(int index) { DestroyComponent(Items(index)); }

void TMenuItem::Clear() {
  while (!FItems.empty()) DestroyComponent(FItems.back());
}

TMenuItem* TMenuItem::Find(std::wstring_view caption) const {
  for (TMenuItem* item : FItems)
    if (SameText(StripAccessMarks(item->FCaption), StripAccessMarks(caption))) return item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

TImageList* TMenuItem::GetImageList() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

int TMenuItem::Dpi() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->Dpi() : SystemDpi();
}

bool TMenuItem::IsRightToLeft() const {
  TMenu* menu = GetParentMenu();
  return menu && menu->IsRightToLeft();
}

bool TMenuItem::IsBarItem() const { return FParent && FParent->IsRoot() && FParent->FMenu->FBar; }

bool TMenuItem::IsOwnerDrawn() const {
  TMenu* menu = GetParentMenu();
  return menu && menu->OwnerDraw();
}

// ---- TMenuItem: properties

void TMenuItem::SetCaption(std::wstring_view caption) {
  if (FCaption == caption) return;
  FCaption = caption;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (FShortCut == shortCut) return;
  FShortCut = shortCut;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  if (value && FRadioItem && FParent) {
    for (TMenuItem* sibling : FParent->FItems) {
      if (sibling == this || !sibling->FRadioItem || sibling->FGroupIndex != FGroupIndex || !sibling->FChecked)
        continue;
      sibling->FChecked = false;
      sibling->UpdateEntry();
    }
  }
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (FRadioItem == value) return;
  FRadioItem = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (FDefault == value) return;
  FDefault = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (FVisible == value) return;
  FVisible = value;
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  if (FImageIndex == index) return;
  FImageIndex = index;
  Changed();
}

void TMenuItem::SetListsWindows(bool value) {
  if (FListsWindows == value) return;
  FListsWindows = value;
  StructureChanged();
}

void TMenuItem::Click() {
  if (FAutoCheck && FItems.empty()) SetChecked(FRadioItem || !FChecked);
  if (OnClick) OnClick(this);
}

void TMenuItem::InitiateAction() {
  if (OnUpdate) OnUpdate(this);
}

// ---- TMenuItem: the platform entries

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    if (!IsRoot() && !HasSubmenu()) return nullptr;
    FHandle.Reset(IsRoot() && FMenu->FBar ? CreateMenu() : CreatePopupMenu());
    if (!FHandle) throw std::runtime_error("Unable to create a menu");
    Registry().ByHandle[FHandle.Get()] = this;
    if (!IsRoot() || !FMenu->FBar) {
      // Images and check marks share the glyph column.
      MENUINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = MIM_STYLE;
      info.dwStyle = MNS_CHECKORBMP;
      SetMenuInfo(FHandle.Get(), &info);
    }
    InsertEntries(0);
  }
  return FHandle.Get();
}

void TMenuItem::FillEntry(MENUITEMINFOW& info, std::wstring& text) {
  const bool ownerDraw = IsOwnerDrawn();
  info = MENUITEMINFOW{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING | MIIM_BITMAP;
  if (IsLine()) info.fType |= MFT_SEPARATOR;
  if (ownerDraw) info.fType |= MFT_OWNERDRAW;
  if (FRadioItem) info.fType |= MFT_RADIOCHECK;
  if (IsRightToLeft()) info.fType |= MFT_RIGHTORDER;
  if (FChecked) info.fState |= MFS_CHECKED;
  if (!FEnabled) info.fState |= MFS_GRAYED;
  if (FDefault) info.fState |= MFS_DEFAULT;
  info.wID = FCommand;
  info.hSubMenu = HasSubmenu() ? Handle() : nullptr;
  info.dwItemData = kEntryTag | FCommand;
  // An owner-drawn item keeps its text too: its drawing reads the caption from the item,
  // assistive technology reads the entry. Disabled, it carries no access key: the
  // platform would close the menu on it, WM_MENUCHAR passes it over.
  text.clear();
  if (!IsLine()) {
    text = ownerDraw && !FEnabled ? WithoutAccessKey(FCaption) : FCaption;
    if (FShortCut) text += L'\t' + ShortCutToText(FShortCut);
    if (!ownerDraw && FImageIndex >= 0 && GetImageList()) info.hbmpItem = HBMMENU_CALLBACK;
  }
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
}

void TMenuItem::InsertEntries(int position) {
  HMENU menu = FHandle.Get();
  std::wstring text;
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    MENUITEMINFOW info;
    item->FillEntry(info, text);
    InsertMenuItemW(menu, static_cast<UINT>(position++), TRUE, &info);
  }
}

void TMenuItem::RebuildEntries() {
  HMENU menu = FHandle.Get();
  if (!menu) return;
  // Ours come out (their submenus stay: RemoveMenu does not destroy them) and go back in
  // where the first of them was, around whatever the platform added.
  int first = -1;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (!EntryCommand(menu, i)) continue;
    RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    first = i;
  }
  // With none of ours there, after a maximised MDI child's window menu, if any.
  if (first < 0) first = GetMenuItemCount(menu) > 0 && GetSubMenu(menu, 0) ? 1 : 0;
  InsertEntries(first);
}

void TMenuItem::UpdateEntry() {
  if (!FParent || !FParent->FHandle) return;
  HMENU menu = FParent->FHandle.Get();
  const int position = EntryPosition(menu, FCommand);
  if (FVisible != (position >= 0)) {
    FParent->RebuildEntries();
    return;
  }
  if (position < 0) return;
  MENUITEMINFOW info;
  std::wstring text;
  FillEntry(info, text);
  SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
}

bool TMenuItem::EntryOwnerDrawn() const {
  if (FParent && FParent->FHandle) {
    HMENU menu = FParent->FHandle.Get();
    const int position = EntryPosition(menu, FCommand);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    // A skin may have made the entry owner-drawn behind our back: the entry decides.
    if (position >= 0 && GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
      return (info.fType & MFT_OWNERDRAW) != 0;
  }
  return IsOwnerDrawn();
}

void TMenuItem::RemoveAllEntries() {
  if (!FHandle) return;
  // RemoveMenu, not DeleteMenu: the submenus belong to the sub-items.
  for (int i = GetMenuItemCount(FHandle.Get()) - 1; i >= 0; --i)
    RemoveMenu(FHandle.Get(), static_cast<UINT>(i), MF_BYPOSITION);
}

void TMenuItem::ReleaseHandle() {
  if (!FHandle) return;
  // The sub-items keep their submenus: detach them before DestroyMenu sees them.
  RemoveAllEntries();
  Registry().ByHandle.erase(FHandle.Get());
  FHandle.Reset();
}

void TMenuItem::Changed() {
  UpdateEntry();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

void TMenuItem::StructureChanged() {
  if (FHandle) RebuildEntries();
  if (!IsRoot()) {
    UpdateEntry();  // a submenu may have come or gone
    if (!HasSubmenu()) ReleaseHandle();
  }
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

// ---- TMenuItem: measuring and drawing (the defaults are in MenusDraw.cpp)

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  MeasureDefault(canvas, width, height);
  if (OnMeasureItem) {
    OnMeasureItem(this, canvas, width, height);
  } else if (TMenu* menu = GetParentMenu(); menu && menu->OnMeasureItem) {
    menu->OnMeasureItem(this, canvas, width, height);
  }
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, canvas, rect, state);
  } else if (TMenu* menu = GetParentMenu(); menu && menu->OnAdvancedDrawItem) {
    menu->OnAdvancedDrawItem(this, canvas, rect, state);
  } else {
    DrawDefault(canvas, rect, state);
  }
}

// ---- TMenu

TMenu::TMenu(bool bar) : FBar(bar), FItems(std::make_unique<TMenuItem>()) { FItems->FMenu = this; }

TMenu::~TMenu() { FItems.reset(); }

void TMenu::SetImages(TImageList* images) {
  if (FImages == images) return;
  WatchReference(FImages, images);
  RefreshEntries();
}

void TMenu::SetOwnerDraw(bool value) {
  if (FOwnerDraw == value) return;
  FOwnerDraw = value;
  RefreshEntries();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (FBiDiMode == mode) return;
  FBiDiMode = mode;
  RefreshEntries();
}

void TMenu::RefreshEntries() {
  std::vector<TMenuItem*> pending{FItems.get()};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->RebuildEntries();
    pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
  }
  MenuChanged(nullptr);
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
  std::vector<TMenuItem*> pending(FItems->FItems.rbegin(), FItems->FItems.rend());
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    switch (kind) {
      case fkCommand:
        if (item->FCommand == value) return item;
        break;
      case fkHandle:
        if (item->FHandle && reinterpret_cast<UINT_PTR>(item->FHandle.Get()) == value) return item;
        break;
      case fkShortCut:
        if (item->FShortCut && item->FShortCut == value) return item;
        break;
    }
    pending.insert(pending.end(), item->FItems.rbegin(), item->FItems.rend());
  }
  return nullptr;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  TMenuItem* item = FindItem(shortCut, fkShortCut);
  if (!item) return false;
  // Let the item and the items above it update first: any of them may disable it.
  std::vector<TMenuItem*> chain;
  for (TMenuItem* i = item; i && !i->IsRoot(); i = i->Parent()) chain.push_back(i);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->InitiateAction();
  for (TMenuItem* i : chain)
    if (!i->Enabled()) return false;
  item->Click();
  return true;
}

void TMenu::MenuChanged(TMenuItem* source) {
  if (OnChange) OnChange(this, source);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    RefreshEntries();
  }
}

int TMenu::Dpi() const { return SystemDpi(); }

// ---- TMainMenu

int TMainMenu::Dpi() const { return FForm ? FForm->Dpi() : TMenu::Dpi(); }

TMainMenu::~TMainMenu() {
  // The form lets go of the bar before its handle dies with the items.
  if (FForm) FForm->SetMenu(nullptr);
}

void TMainMenu::MenuChanged(TMenuItem* source) {
  TMenu::MenuChanged(source);
  if (FForm) FForm->MenuChanged();
}

// ---- TPopupMenu

namespace {

LRESULT CALLBACK MenuOwnerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    TMessage message{msg, wParam, lParam, 0};
    if (HandleMenuMessage(message)) return message.Result;
  } catch (...) {
    HandleCurrentException();
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

constexpr wchar_t kMenuOwnerClass[] = L"Kv.MenuOwner";

HWND CreateMenuOwnerWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kMenuOwnerClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MenuOwnerWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMenuOwnerClass;
    if (!RegisterClassExW(&wc)) throw EWindowError("Unable to register the window class Kv.MenuOwner");
  }
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, kMenuOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
  if (!wnd) throw EWindowError("Unable to create a window of class Kv.MenuOwner");
  return wnd;
}

// The form around a component (or its owners) with a window, if there is one.
TForm* ShowingFormOf(TComponent* component) {
  for (; component; component = component->Owner()) {
    auto* control = dynamic_cast<TControl*>(component);
    if (!control) continue;
    TForm* form = control->ParentForm();
    if (form && form->HandleAllocated()) return form;
  }
  return nullptr;
}

HWND FormWindowOf(TComponent* component) {
  TForm* form = ShowingFormOf(component);
  return form ? form->Handle() : nullptr;
}

}  // namespace

void TPopupMenu::SetPopupComponent(TComponent* component) { WatchReference(FPopupComponent, component); }

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

int TPopupMenu::Dpi() const {
  if (TForm* form = ShowingFormOf(FPopupComponent)) return form->Dpi();
  if (TForm* form = ShowingFormOf(Owner())) return form->Dpi();
  return TMenu::Dpi();
}

HWND TPopupMenu::OwnerWindow() {
  if (HWND wnd = FormWindowOf(FPopupComponent)) return wnd;
  if (HWND wnd = FormWindowOf(Owner())) return wnd;
  HWND active = GetActiveWindow();
  if (dynamic_cast<TForm*>(TWinControl::FindControl(active))) return active;
  if (!FOwnerWindow) FOwnerWindow.Reset(CreateMenuOwnerWindow());
  return FOwnerWindow.Get();
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  for (int i = 0; i < Items()->Count(); ++i) Items()->Items(i)->InitiateAction();
  TPopupAlignment alignment = FAlignment;
  UINT flags = TPM_RIGHTBUTTON;
  if (IsRightToLeft()) {
    flags |= TPM_LAYOUTRTL;
    if (alignment != paCenter) alignment = alignment == paLeft ? paRight : paLeft;
  }
  flags |= alignment == paRight ? TPM_RIGHTALIGN : alignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  HWND owner = OwnerWindow();
  TrackPopupMenuEx(Handle(), flags, x, y, owner, nullptr);
}

// ---- the menu messages

bool HandleMenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND: {
      // From a menu (0) or an accelerator (1); controls send their window in LParam.
      if (m.LParam != 0 || HIWORD(m.WParam) > 1) return false;
      TMenuItem* item = FindMenuItem(LOWORD(m.WParam));
      if (!item || item->IsRoot()) return false;
      // A disabled item (or one under a disabled item) is not chosen, whoever sent its
      // command: the command is taken and dropped.
      bool enabled = true;
      for (const TMenuItem* it = item; it && !it->IsRoot(); it = it->Parent()) enabled = enabled && it->Enabled();
      if (enabled) item->Click();
      m.Result = 0;
      return true;
    }
    case WM_INITMENU:
      if (TMenuItem* root = ItemByHandle(reinterpret_cast<HMENU>(m.WParam)); root && root->IsRoot()) {
        for (int i = 0; i < root->Count(); ++i) root->Items(i)->InitiateAction();
      }
      return false;
    case WM_INITMENUPOPUP:
      if (HIWORD(m.LParam)) return false;  // the window menu
      if (TMenuItem* item = ItemByHandle(reinterpret_cast<HMENU>(m.WParam))) {
        if (!item->IsRoot()) item->Click();
        for (int i = 0; i < item->Count(); ++i) item->Items(i)->InitiateAction();
      }
      return false;
    case WM_MENUCHAR: {
      HMENU menu = reinterpret_cast<HMENU>(m.LParam);
      TMenuItem* parent = ItemByHandle(menu);
      const wchar_t key = static_cast<wchar_t>(std::towupper(LOWORD(m.WParam)));
      if (!parent || !key) return false;
      for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        // A disabled item's key does nothing (the platform would close the menu on it).
        if (!item->Visible() || !item->Enabled() || item->IsLine() || std::towupper(AccessKey(item->Caption())) != key)
          continue;
        const int position = EntryPosition(menu, item->Command());
        if (position < 0) continue;
        m.Result = MAKELRESULT(position, MNC_EXECUTE);
        return true;
      }
      return false;
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (!measure || measure->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemFromEntry(measure->itemData);
      if (!item) return false;
      TWindowDc screen = TWindowDc::Screen();
      TCanvas canvas(screen.Get());
      AssignMenuFont(canvas.Font(), item->Default(), item->Dpi());
      int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
      if (item->EntryOwnerDrawn()) {
        item->MeasureItem(canvas, width, height);
      } else if (TImageList* images = item->GetImageList()) {  // the image of a text item
        width = images->Width();
        height = images->Height();
      }
      measure->itemWidth = static_cast<UINT>(std::max(width, 0));
      measure->itemHeight = static_cast<UINT>(std::max(height, 0));
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (!draw || draw->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemFromEntry(draw->itemData);
      if (!item) return false;
      TSavedDc saved(draw->hDC);
      TCanvas canvas(draw->hDC);
      AssignMenuFont(canvas.Font(), item->Default(), item->Dpi());
      if (item->EntryOwnerDrawn()) {
        // Not every platform reports the default item: the item knows.
        const TOwnerDrawState state = draw->itemState | (item->Default() ? unsigned{odDefault} : 0u);
        item->AdvancedDrawItem(canvas, draw->rcItem, state);
      } else {
        item->DrawImageOnly(canvas, draw->rcItem, draw->itemState);
      }
      m.Result = TRUE;
      return true;
    }
    default: return false;
  }
}

}  // namespace kv
