#pragma once
// The control gallery: one window that shows every control kind of the framework in
// every state, its menus, an MDI demo and a dialog made from a template, so that a skin
// author sees at once what a skin does to each of them.
//
//   TGalleryOptions  the start-up switches (--page, --mdi, --dialog, --shot, --quit-after)
//   TGalleryForm     the main window: menus, tool bar, pages, status bar, the skin
//   TGalleryMdiFrame the MDI demo: a frame with three children and a window list
//   TTemplateDialog  the "#32770" dialog of Gallery.rc, modal or modeless
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/ToolCtrls.h"
#include "skin/core/SkinData.h"

namespace kv {

inline constexpr wchar_t kGalleryTitle[] = L"Koravent Gallery";
inline constexpr wchar_t kTemplateDialogTitle[] = L"Template dialog";
inline constexpr wchar_t kMdiFrameTitle[] = L"Koravent Gallery - MDI demo";

// The pages in their order; `--page` takes a number counted from 1 or one of these names.
inline constexpr std::array<const wchar_t*, 5> kGalleryPages = {L"Buttons", L"Edits", L"Lists", L"Ranges", L"Tabs"};

// The skins the gallery carries (RCDATA resources), in the Skins menu's order: the
// program's own and a dark one.
struct TGallerySkin {
  const wchar_t* Name;
  const wchar_t* Resource;
};
inline constexpr std::array<TGallerySkin, 2> kGallerySkins = {
    {{L"Koravent", L"SKINSTREAM"}, {L"Midnight", L"SKIN_MIDNIGHT"}}};
// What the gallery shows: an index into kGallerySkins, or one of these.
inline constexpr int kSkinFromFile = -2, kNoSkin = -1;

struct TGalleryOptions {
  int Page = 0;            // index into kGalleryPages
  bool Mdi = false;        // open the MDI demo at start
  bool Dialog = false;     // open the template dialog (modeless) at start
  bool Shot = false;       // a still picture: no clock, fixed focus, the mouse out of the way
  unsigned QuitAfter = 0;  // milliseconds until the program closes itself; 0: never
  // The look at start: a name of kGallerySkins, "none", or a skin file's path; empty
  // for the first embedded skin.
  std::wstring Skin;
};

struct TParsedOptions {
  TGalleryOptions Options;
  std::wstring Error;  // empty when every switch was understood
};

// The switches after the program's name.
TParsedOptions ParseGalleryArgs(const std::vector<std::wstring>& args);
// This process's switches, split as the platform splits a command line.
std::vector<std::wstring> CommandLineArgs();
inline constexpr wchar_t kGalleryUsage[] =
    L"Usage: KoraventGallery [--page N|NAME] [--skin NAME|none|FILE] [--mdi] [--dialog] [--shot]\n"
    L"                       [--quit-after MS]\n"
    L"Pages: 1 Buttons, 2 Edits, 3 Lists, 4 Ranges, 5 Tabs. Skins: Koravent, Midnight.";

// The pictures of the menus, the tool bar, the buttons and the lists: 16x16 each, side
// by side, fuchsia (clFuchsia) where they are transparent.
enum TGlyph { glMdi, glDialog, glUndo, glCut, glCopy, glPaste, glInfo, glCheck, glStar, glFolder, glCount };
void PaintGlyphStrip(TBitmap& strip);
void PaintGlyph(TBitmap& bitmap, TGlyph glyph);

// The dialog of the template IDD_GALLERY_TEMPLATE: a real "#32770" window of the platform,
// not a form, so that the skinning of windows that are not ours can be seen.
class TTemplateDialog {
 public:
  TTemplateDialog() = default;
  ~TTemplateDialog() { Close(); }
  TTemplateDialog(const TTemplateDialog&) = delete;
  TTemplateDialog& operator=(const TTemplateDialog&) = delete;
  // Runs the dialog until OK or Cancel; answers the button (IDOK, IDCANCEL), -1 on failure.
  static INT_PTR RunModal(HWND owner);
  // The modal dialog now open, if any (the quit timer ends it).
  static HWND ModalHandle();
  // Shows the dialog without waiting; OK, Cancel or Close() destroy it.
  void Show(HWND owner);
  void Close();
  HWND Handle() const { return FWindow.Get(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  TWindowHandle FWindow;
};

class TGalleryMdiFrame;

class TGalleryForm : public TForm {
 public:
  // The look the next gallery window starts with (the --skin switch), taken before the
  // window exists so that its first frame already shows it.
  static void SetStartSkin(std::wstring skin);

  TGalleryForm();
  ~TGalleryForm() override;
  std::string_view ClassName() const override { return "TGalleryForm"; }

  template <class T>
  T* Control(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  // Starts as the switches say: page, still picture, MDI demo, dialog, quit timer.
  void ApplyOptions(const TGalleryOptions& options);
  // The same once the message loop runs, after the window has come to the front.
  void ApplyOptionsLater(const TGalleryOptions& options);
  void WndProc(TMessage& message) override;

  void OpenMdiDemo();
  TGalleryMdiFrame* MdiDemo() const { return FMdiDemo; }
  void ShowTemplateDialog();  // modal
  void ShowTemplateDialogModeless();
  TTemplateDialog& ModelessDialog() { return FDialog; }
  // The platform's message box with this icon (MB_ICONINFORMATION ...), titled as the program.
  int ShowIconMessage(UINT icon);
  // Closes whatever is open and then the program.
  void QuitNow();

  // The look, changed while every window stays open. Each change takes effect on the skin
  // engine's next action tick, a quarter of a second later. A skin that does not load
  // (missing or damaged) changes nothing; the answer says whether it loaded.
  bool UseEmbeddedSkin(int index);
  bool UseSkinFile(const std::wstring& path);
  void UseNoSkin();
  // "Open skin file…": the platform's open dialog, then UseSkinFile.
  void ChooseSkinFile();
  int SkinChoice() const { return FSkinChoice; }

  TPageControl* Pages() const { return FPages; }
  TStatusBar* StatusBar() const { return FStatusBar; }
  TToolBar* ToolBar() const { return FToolBar; }
  TMainMenu* MainMenu() const { return FMainMenu; }
  TPopupMenu* PagePopup() const { return FPagePopup; }
  TImageList* Images() const { return FImages; }
  TSkinData* SkinData() const { return FSkinData; }

  // Status bar panels.
  static constexpr int kPagePanel = 0, kHoverPanel = 1, kClockPanel = 2;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void BuildForm();
  void BuildPages();  // GalleryPages.cpp
  void BuildMenus();  // GalleryMenus.cpp
  void BuildToolBar();
  void BuildSkin();
  bool UseSkinChoice(const std::wstring& choice);
  void BuildSkinsMenu(TMenuItem* bar);  // GallerySkins.cpp
  void WatchHover(TComponent* root);
  void PageChanged();
  void ClockTick();

  TPageControl* FPages = nullptr;
  TStatusBar* FStatusBar = nullptr;
  TToolBar* FToolBar = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TPopupMenu* FPagePopup = nullptr;
  TImageList* FImages = nullptr;
  TTimer* FClock = nullptr;
  TTimer* FQuitTimer = nullptr;
  TSkinData* FSkinData = nullptr;
  TGalleryMdiFrame* FMdiDemo = nullptr;
  TTemplateDialog FDialog;
  TGalleryOptions FPendingOptions;
  int FSkinChoice = 0;
  bool FFollowHover = true;  // the status bar names the control under the mouse
};

// The MDI demo: made by TGalleryForm::OpenMdiDemo, freed with its children when closed.
class TGalleryMdiFrame : public TForm {
 public:
  TGalleryMdiFrame();
  std::string_view ClassName() const override { return "TGalleryMdiFrame"; }
  // Shows the frame and makes its three children.
  void Open();
  // A child of one of the three kinds, by turns: a memo, a few controls, a list.
  TForm* AddChild();
  TMainMenu* FrameMenu() const { return FMenuBar; }
  void WndProc(TMessage& message) override;

 private:
  TMainMenu* FMenuBar = nullptr;
  TStatusBar* FStatus = nullptr;
  int FChildNumber = 0;
};

}  // namespace kv
