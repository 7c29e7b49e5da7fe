#pragma once
// Forms and the application.
//
//   TForm         a top-level window: caption, client size, border style, icon, position,
//                 menu bar, dialog keyboard (menu shortcuts, Tab order, Enter, Ctrl+Tab),
//                 hints as tooltips; or an MDI frame with its client window and window
//                 list, or an MDI child inside such a frame
//   TApplication  title, COM for the main thread, the forms, the message loop, errors
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Menus.h"

namespace kv {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TTileMode { tbHorizontal, tbVertical };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;
  std::string_view ClassName() const override { return "TForm"; }

  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  void SetClientSize(int width, int height);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style) { FBorderStyle = style; }
  unsigned BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned icons) { FBorderIcons = icons; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  // Takes ownership of the icon.
  void SetIcon(HICON icon);
  // The menu bar (none: no bar). Setting it, and every later change of the menu or of one
  // of its items, sends the form CM_MENUCHANGED.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // A key-down whose shortcut is an item's: the popup menus of the focused control and
  // its parents, then the menu bar (an MDI child's, then its frame's), click it.
  bool IsShortCut(const MSG& msg);

  // Decided when the window is made (changing it later makes the window again). An MDI
  // child lives in the client window of the application's MDI frame form.
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle style);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);

  // ---- MDI frames
  // The "MDICLIENT" window: the client area less the bars along its edges.
  HWND ClientHandle() const { return FClientWindow.Get(); }
  // The item of the menu bar whose submenu lists the children.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* item);
  TForm* ActiveMDIChild() const;
  // The children, the active one first.
  int MDIChildCount() const;
  TForm* MDIChildren(int index) const;
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode mode) { FTileMode = mode; }
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  // Lays the client window out again: the client area less the visible windowed children
  // that span it along an edge (status bars, tool bars). Done on every WM_SIZE.
  void AlignClientWindow();

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  // Frees the form once the messages being handled are done with it.
  void Release();

  // The control with the keyboard focus (the windowed control around the focus window).
  TWinControl* FocusedControl() const;
  TControl* DefaultButton() const { return FDefaultButton; }
  void SetDefaultButton(TControl* button) { FDefaultButton = button; }
  // Moves the focus to the next (or previous) control in tab order; false if none can take it.
  bool SelectNext(bool forward);
  void SelectFirst();
  // Handles Tab, Enter and Ctrl+Tab for a key-down aimed at one of this form's windows.
  bool DialogKey(const MSG& msg);

  void DoCreate();
  TNotifyEvent OnCreate, OnDestroy;
  TCloseEvent OnClose;

  void WndProc(TMessage& message) override;
  // An MDI frame's windows end in DefFrameProc, an MDI child's in DefMDIChildProc.
  void DefaultHandler(TMessage& message) override;
  void ControlFocused(TWinControl* control) { FActiveControl = control; }
  // The image lists the form owns first: controls showing one take its size as they are
  // scaled themselves.
  void ScaleForDpi(int dpi) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  int CreationDpi() const override;
  bool ScalesOwnBounds() const override { return Parent() != nullptr; }
  HWND CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  void CreateWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMainMenu;
  friend class TApplication;
  void MenuChanged();
  void ApplyMenu();
  // WM_DPICHANGED: everything at the new scale, the window where the system suggests.
  void ChangeDpi(int dpi, const RECT& suggested);
  // MDI children are windows of the client, not controls: each is told the new scale as
  // a top-level window would be, its place in the client scaled with it.
  void ScaleMdiChildren(int from, int to);
  void CreateClientWindow();
  void MDIChildParams(TCreateParams& params);
  // The frame form an MDI child lives in.
  TForm* MDIFrame() const;
  // The form a key aimed at `wnd` concerns: the MDI child around it, else this form.
  TForm* KeyForm(HWND wnd);
  std::vector<TForm*> MDIChildList() const;
  void InstallHints();
  void AddHintTool(TControl* control);
  int FClientWidth = 0, FClientHeight = 0;
  TFormBorderStyle FBorderStyle = bsSizeable;
  unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = poDesigned;
  TIconHandle FIcon;
  TWindowHandle FHintWindow;
  TControl* FDefaultButton = nullptr;
  TWinControl* FActiveControl = nullptr;
  bool FHintsInstalled = false;
  TMainMenu* FMenu = nullptr;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  TTileMode FTileMode = tbHorizontal;
  TMenuItem* FWindowMenu = nullptr;
  TWindowHandle FClientWindow;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  std::string_view ClassName() const override { return "TApplication"; }

  // COM as a single-threaded apartment for this thread (undone at exit), common controls.
  void Initialize();
  const std::wstring& Title() const { return FTitle; }
  void SetTitle(std::wstring_view title) { FTitle = title; }

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    T* form = Make<T>(std::forward<Args>(args)...);
    if (!FMainForm) FMainForm = form;
    try {
      form->DoCreate();
    } catch (...) {
      HandleCurrentException();
    }
    return form;
  }
  TForm* MainForm() const { return FMainForm; }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int index) const { return FForms.at(index); }

  // Shows the main form and runs the message loop until the program is asked to end.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();
  // Waits for and handles one message; false once the quit message came.
  bool HandleMessage();

  int ShowMessageBox(std::wstring_view text, UINT flags);
  // The general error box: the message and a full stop, titled with the title.
  void ShowException(std::wstring_view message);
  void HandleException();

 private:
  friend class TForm;
  bool ProcessMessage(MSG& msg);
  void FreeReleasedForms();
  std::wstring FTitle;
  TForm* FMainForm = nullptr;
  std::vector<TForm*> FForms;
  std::vector<TForm*> FReleased;
  bool FTerminated = false;
  bool FQuit = false;
  bool FComInitialized = false;
};

// The one application object (set while it exists).
extern TApplication* Application;

}  // namespace kv
