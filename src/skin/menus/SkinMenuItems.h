#pragma once
// Measuring and painting menu items from the skin: the MenuItem picture (five frames side
// by side: 1 normal, 2 separator, 4 selected) over the popup's MenuBackground, the glyph
// column, caption and shortcut in the skin's menu colours. The form skin calls these for
// the items that reach its window; framework items carry MeasureMenuItem / DrawMenuItem
// as their own measure and advanced-draw handlers.
//
// Items of platform menus (no framework component) are read into a temporary TMenuItem
// (MenuItemFromPlatform) and painted like ours.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/win/Dpi.h"

namespace kv {

class TCanvas;
class TMenu;
class TMenuItem;
class TSkinData;

// The most a menu text read from the platform keeps, counted in the program's Chinese
// code page (one byte for ASCII, two for anything else).
inline constexpr int kMenuTextLimit = 79;

// What item painting needs besides the item: the governing skin and, for items whose
// tree has no menu, the menu whose reading order counts (the menu bar's component).
struct TMenuSkinContext {
  const TSkinData* Data = nullptr;
  TMenu* FallbackMenu = nullptr;
  HWND Window = nullptr;  // the form the menu belongs to
  int Dpi = kDefaultDpi;  // its scale, which sizes the items and their font
};

// The measure handler of framework items: after the framework's own measuring, room for
// the MenuItem picture's left margin and the glyph column.
void MeasureMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, int& width, int& height);
// A menu-bar drop-down item: the framework's default size plus the same room.
void MeasureMainMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, int& width, int& height);
// An item of a platform menu, by its command in `menu`: the text's width in the menu
// font; separators (no text) 8 high.
void MeasurePlatformMenuItem(const TMenuSkinContext& context, HMENU menu, UINT command, TCanvas& canvas, int& width,
                             int& height);

// The advanced-draw handler of framework items (a plain look without a MenuItem record).
void DrawMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected, const RECT& rect);
// An item of the platform menu `menu`, separators included in the MenuItem frame.
void DrawPlatformMenuItem(const TMenuSkinContext& context, HMENU menu, TMenuItem* item, bool selected, const RECT& rect,
                          TCanvas& canvas);
// Highlight or menu colour behind the content; no pictures.
void DrawPlainMenuItem(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected,
                       const RECT& rect);
// Glyph (image, or a check mark), caption, shortcut; mirrored in a right-to-left menu.
void DrawMenuItemContent(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, bool selected,
                         const RECT& rect);
// The caption in the skin's menu colours (DrawText `flags`); "-" an etched line. With
// DT_CALCRECT `rect` receives the measured size.
void DrawMenuItemText(const TMenuSkinContext& context, TMenuItem* item, TCanvas& canvas, UINT flags, bool selected,
                      RECT& rect, std::wstring text);
// The separator frame of the MenuItem picture across `rect`, magenta left out.
void DrawMenuSeparator(const TMenuSkinContext& context, TCanvas& canvas, const RECT& rect);

// A free-standing item with the caption ("-" when empty), enabled and checked state of
// the platform menu's item of that command.
std::unique_ptr<TMenuItem> MenuItemFromPlatform(HMENU menu, UINT command);
// An item's text by command (MF_BYCOMMAND) or position (MF_BYPOSITION), read with the W
// functions and cut to `limit` bytes at a character boundary.
std::wstring ReadMenuText(HMENU menu, UINT item, UINT by = MF_BYCOMMAND, int limit = kMenuTextLimit);
// `text` cut to at most `limit` bytes as the Chinese code page counts them, never inside
// a character (a surrogate pair stays whole).
std::wstring CutToByteLimit(std::wstring_view text, int limit);

}  // namespace kv
