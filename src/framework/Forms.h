#pragma once
// Forms and the application.
//
//   TForm         a top-level window: caption, client size, border style, icon, position,
//                 dialog keyboard (Tab order, Enter, Ctrl+Tab), hints as tooltips
//   TApplication  title, COM for the main thread, the forms, the message loop, errors
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"

namespace kv {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

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
  // Gives the window a menu bar (or none) and tells whoever listens (CM_MENUCHANGED).
  void SetMenu(HMENU menu);

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
  void ControlFocused(TWinControl* control) { FActiveControl = control; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
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
