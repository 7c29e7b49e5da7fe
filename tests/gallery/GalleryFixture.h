#pragma once
// What the gallery's in-process tests share: the real gallery window on the screen, its
// controls by name, the windows of this thread by class, and the platform menus' entries.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CtrlTestFixture.h"
#include "TestUtil.h"
#include "gallery/Gallery.h"
#include "skin/windows/WinSkinManage.h"

namespace kv::test {

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(kGalleryTitle);
    Gallery = App->CreateForm<TGalleryForm>();
    Gallery->Show();
    Pump();
  }
  void TearDown() override {
    Gallery = nullptr;
    App.reset();
    TSkinManage::DestroyInstance();
  }

  // The control of that name; the test stops when there is none.
  template <class T>
  T* Get(const char* name) const {
    T* control = Gallery->Control<T>(name);
    if (!control) ADD_FAILURE() << "no " << name;
    return control;
  }
  HWND Wnd(const char* name) const {
    auto* control = Get<TWinControl>(name);
    return control ? control->Handle() : nullptr;
  }
  std::wstring StatusText(int panel) const {
    wchar_t text[128] = {};
    SendMessageW(Gallery->StatusBar()->Handle(), SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Clicks a menu item as the platform does: its command posted to the form showing it.
  void ClickItem(TForm* form, TMenuItem* item) {
    ASSERT_NE(item, nullptr);
    PostMessageW(form->Handle(), WM_COMMAND, item->Command(), 0);
  }
  // An item of the gallery's menu bar by its captions from the bar down ("Edit", "Copy").
  TMenuItem* Item(std::initializer_list<const wchar_t*> path) const {
    TMenuItem* item = Gallery->MainMenu()->Items();
    for (const wchar_t* caption : path) {
      item = item ? item->Find(caption) : nullptr;
      if (!item) ADD_FAILURE() << "no menu item on the way to the last of " << path.size();
    }
    return item;
  }

  std::unique_ptr<TApplication> App;
  TGalleryForm* Gallery = nullptr;
};

// The top-level windows of a process (this one unless told) of a class, titled so when a
// title is given.
inline std::vector<HWND> TopWindows(const std::wstring& className, const std::wstring& title = {},
                                    DWORD process = GetCurrentProcessId()) {
  struct TSearch {
    std::wstring Class, Title;
    DWORD Process;
    std::vector<HWND> Found;
  } search{className, title, process, {}};
  EnumWindows(
      [](HWND wnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        wchar_t text[256] = {};
        GetWindowTextW(wnd, text, 256);
        if (pid == s->Process && IsWindowVisible(wnd) && _wcsicmp(ClassNameOf(wnd).c_str(), s->Class.c_str()) == 0 &&
            (s->Title.empty() || s->Title == text))
          s->Found.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// The entries of a platform menu as it holds them.
struct TMenuEntry {
  std::wstring Text;
  UINT Type = 0, State = 0;
  HMENU Submenu = nullptr;
  HBITMAP Bitmap = nullptr;
  ULONG_PTR Data = 0;
};

inline std::vector<TMenuEntry> MenuEntries(HMENU menu) {
  std::vector<TMenuEntry> entries;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    entries.push_back({text, info.fType, info.fState, info.hSubMenu, info.hbmpItem, info.dwItemData});
  }
  return entries;
}

// The entry whose text, before any tab, is `text`.
inline const TMenuEntry* FindEntry(const std::vector<TMenuEntry>& entries, const std::wstring& text) {
  for (const TMenuEntry& e : entries)
    if (e.Text.substr(0, e.Text.find(L'\t')) == text) return &e;
  return nullptr;
}

}  // namespace kv::test
