#pragma once
// Display-scale checks shared by the editor's and the gallery's tests: the layout a form
// was built with (96-DPI units, read before its window exists), the scale the test
// prefix was made with, and what the windows on the screen must then look like.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/win/Dpi.h"
#include "framework/ButtonCtrls.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"

namespace kv::test {

// The scale the prefix was made with (its LogPixels), independent of what the program
// under test believes.
inline int PrefixDpi() {
  DWORD value = 0, size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS || value == 0)
    return 96;
  return static_cast<int>(value);
}

inline int Scale(int value, int dpi) { return MulDiv(value, dpi, 96); }

// What the system does when `wnd` moves to a monitor of scale `to` from one of `from`:
// it asks the window for its size there (WM_GETDPISCALEDSIZE; the window scaled when it
// does not answer), then tells it the scale and that rectangle, which it returns.
inline RECT SendScaleChange(HWND wnd, int from, int to) {
  RECT window{};
  GetWindowRect(wnd, &window);
  SIZE size{MulDiv(window.right - window.left, to, from), MulDiv(window.bottom - window.top, to, from)};
  SendMessageW(wnd, WM_GETDPISCALEDSIZE, WPARAM(to), reinterpret_cast<LPARAM>(&size));
  RECT suggested{window.left, window.top, window.left + size.cx, window.top + size.cy};
  SendMessageW(wnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

struct TDesignedControl {
  std::string Name;
  RECT Bounds;  // 96-DPI units, in the parent's client area
  int FontHeight;
};

// Every named control of `form` as built, before any window of it exists.
inline std::vector<TDesignedControl> DesignedLayout(const TForm& form) {
  std::vector<TDesignedControl> out;
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(form.Components(i)); c && !c->Name().empty())
      out.push_back({std::string(c->Name()), c->BoundsRect(), c->Font().Height()});
  return out;
}

// Where a control is on the screen now: a window's rectangle in its parent's client area,
// a window-less control's bounds.
inline RECT PlacedRect(TControl& control) {
  auto* win = dynamic_cast<TWinControl*>(&control);
  if (!win) return control.BoundsRect();
  RECT r{};
  GetWindowRect(win->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(win->Handle()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Controls placed by others: pages fill the page control, group buttons are laid out by
// the group, an up-down takes its place beside its edit out of the edit's width.
inline bool PlacedByOthers(const TForm& form, const TControl& c) {
  if (dynamic_cast<const TTabSheet*>(&c) || dynamic_cast<const TItemGroup*>(c.Parent())) return true;
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* upDown = dynamic_cast<const TUpDown*>(form.Components(i)); upDown && upDown->Associate())
      if (upDown == &c || upDown->Associate() == &c) return true;
  return false;
}

// The font a control shows its text in.
inline HFONT FontOf(TControl& c) {
  if (auto* win = dynamic_cast<TWinControl*>(&c))
    return reinterpret_cast<HFONT>(SendMessageW(win->Handle(), WM_GETFONT, 0, 0));
  return c.Font().Handle();
}

// Every control within a pixel of its 96-DPI place times the scale (labels that size
// themselves to their text: their place), its font made at the scale.
inline void ExpectScaledLayout(const TForm& form, const std::vector<TDesignedControl>& design, int dpi) {
  for (const TDesignedControl& d : design) {
    auto* c = dynamic_cast<TControl*>(form.FindComponent(d.Name));
    ASSERT_NE(c, nullptr) << d.Name;
    if (PlacedByOthers(form, *c)) continue;
    const RECT r = PlacedRect(*c);
    const auto* label = dynamic_cast<const TLabel*>(c);
    const bool sized = !(label && label->AutoSize());
    SCOPED_TRACE(d.Name + " at " + std::to_string(dpi) + " DPI");
    EXPECT_NEAR(r.left, Scale(d.Bounds.left, dpi), 1);
    EXPECT_NEAR(r.top, Scale(d.Bounds.top, dpi), 1);
    if (sized) {
      EXPECT_NEAR(r.right - r.left, Scale(d.Bounds.right - d.Bounds.left, dpi), 1);
      EXPECT_NEAR(r.bottom - r.top, Scale(d.Bounds.bottom - d.Bounds.top, dpi), 1);
    }
    LOGFONTW font{};
    if (GetObjectW(FontOf(*c), sizeof(font), &font)) {
      EXPECT_NEAR(font.lfHeight, Scale(d.FontHeight, dpi), 1) << "font";
    }
  }
}

// The extent of one line of `text` in `font`.
inline SIZE TextSize(HFONT font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}


// No caption of a label, button, check box, radio button or group box is cut, and no tab
// or status panel text is cut or runs out of its control.
inline void ExpectTextFits(const TForm& form, int dpi) {
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(form.Components(i));
    if (!c) continue;
    SCOPED_TRACE(std::string(c->Name()) + " at " + std::to_string(dpi) + " DPI");
    const RECT r = PlacedRect(*c);
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::wstring text = c->Caption();
    std::erase(text, L'&');
    const SIZE s = TextSize(FontOf(*c), text);
    if (text.empty() || !c->Visible()) {
      // nothing to fit
    } else if (dynamic_cast<TLabel*>(c)) {
      EXPECT_LE(s.cx, width) << "label text";
      EXPECT_LE(s.cy, height) << "label text";
    } else if (dynamic_cast<TButton*>(c)) {
      EXPECT_LE(s.cx + 2 * Scale(3, dpi), width) << "button caption";
      EXPECT_LE(s.cy + 2 * Scale(2, dpi), height) << "button caption";
    } else if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c)) {
      EXPECT_LE(Scale(13, dpi) + Scale(3, dpi) + s.cx, width) << "box and caption";
      EXPECT_LE(s.cy, height) << "box caption";
    } else if (dynamic_cast<TGroupBox*>(c)) {
      EXPECT_LE(s.cx + Scale(16, dpi), width) << "group caption";
    }
    if (auto* pages = dynamic_cast<TPageControl*>(c)) {
      RECT client{};
      GetClientRect(pages->Handle(), &client);
      const int count = TabCtrl_GetItemCount(pages->Handle());
      for (int t = 0; t < count; ++t) {
        RECT tab{};
        TabCtrl_GetItemRect(pages->Handle(), t, &tab);
        const SIZE ts = TextSize(FontOf(*pages), pages->Pages(t)->Caption());
        EXPECT_LE(ts.cx, tab.right - tab.left) << "tab " << t;
        EXPECT_LE(ts.cy, tab.bottom - tab.top) << "tab " << t;
        EXPECT_LE(tab.right, client.right) << "tab " << t << " inside the control";
      }
    }
    if (auto* status = dynamic_cast<TStatusBar*>(c)) {
      const int parts = static_cast<int>(SendMessageW(status->Handle(), SB_GETPARTS, 0, 0));
      for (int p = 0; p < parts; ++p) {
        wchar_t buffer[256] = {};
        SendMessageW(status->Handle(), SB_GETTEXTW, p, reinterpret_cast<LPARAM>(buffer));
        RECT part{};
        SendMessageW(status->Handle(), SB_GETRECT, p, reinterpret_cast<LPARAM>(&part));
        const SIZE ps = TextSize(FontOf(*status), buffer);
        if (ps.cx && part.right > part.left) {
          EXPECT_LE(ps.cy, part.bottom - part.top) << "panel " << p;
        }
      }
    }
  }
}

}  // namespace kv::test
