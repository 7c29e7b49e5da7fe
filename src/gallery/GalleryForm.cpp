// The gallery's main window: bars, pages, the skin, and what the start-up switches ask for.
#include <cwchar>
#include <string>

#include "framework/ListCtrls.h"
#include "gallery/Gallery.h"

namespace kv {
namespace {

constexpr int kClientWidth = 680, kClientHeight = 480;
constexpr int kToolBarHeight = 28, kStatusHeight = 20;
constexpr UINT kApplyOptionsMessage = WM_APP + 1;

}  // namespace

TGalleryForm::TGalleryForm() { BuildForm(); }

// The controls go after this body, last made first: nothing may reach the status bar then.
TGalleryForm::~TGalleryForm() {
  FFollowHover = false;
  FPages->OnChange = nullptr;
  FClock->SetEnabled(false);
}

void TGalleryForm::BuildForm() {
  SetName("GalleryForm");
  SetCaption(kGalleryTitle);
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poDesktopCenter);
  SetClientSize(kClientWidth, kClientHeight);
  Font().SetName(L"MS Sans Serif");
  Font().SetHeight(-11);
  SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));

  FImages = Make<TImageList>(16, 16);
  FImages->SetName("GalleryImages");
  {
    TBitmap strip;
    PaintGlyphStrip(strip);
    FImages->Add(strip, clFuchsia);
  }

  BuildToolBar();
  FPages = Make<TPageControl>();
  FPages->SetName("PageControl1");
  FPages->SetParent(this);
  FPages->SetBounds(4, kToolBarHeight + 4, kClientWidth - 8, kClientHeight - kToolBarHeight - kStatusHeight - 8);
  FPages->SetTabStop(true);
  BuildPages();
  FPages->OnChange = [this](TComponent*) { PageChanged(); };

  FStatusBar = Make<TStatusBar>();
  FStatusBar->SetName("StatusBar1");
  FStatusBar->SetParent(this);
  FStatusBar->SetBounds(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
  FStatusBar->SetPanels({{170, L"", false}, {340, L"Ready", false}, {170, L"", false}});

  BuildMenus();
  FPages->SetActivePageIndex(0);
  PageChanged();

  FClock = Make<TTimer>();
  FClock->SetName("ClockTimer");
  FClock->SetInterval(1000);
  FClock->OnTimer = [this](TComponent*) { ClockTick(); };
  ClockTick();
  FQuitTimer = Make<TTimer>();
  FQuitTimer->SetName("QuitTimer");
  FQuitTimer->SetEnabled(false);
  FQuitTimer->OnTimer = [this](TComponent*) { QuitNow(); };

  WatchHover(this);
  BuildSkin();
}

void TGalleryForm::BuildToolBar() {
  FToolBar = Make<TToolBar>();
  FToolBar->SetName("ToolBar1");
  FToolBar->SetParent(this);
  FToolBar->SetBounds(0, 0, kClientWidth, kToolBarHeight);
  FToolBar->SetFlat(true);
  FToolBar->SetImages(FImages);
  FToolBar->AddButton(L"", glMdi)->OnClick = [this](TComponent*) { OpenMdiDemo(); };
  FToolBar->AddButton(L"", glDialog)->OnClick = [this](TComponent*) { ShowTemplateDialog(); };
  FToolBar->AddButton(L"", -1, tbsSeparator);
  const UINT clipboard[] = {WM_CUT, WM_COPY, WM_PASTE};
  for (int i = 0; i < 3; ++i)
    FToolBar->AddButton(L"", glCut + i)->OnClick = [msg = clipboard[i]](TComponent*) {
      if (HWND focus = GetFocus()) SendMessageW(focus, msg, 0, 0);
    };
  FToolBar->AddButton(L"", -1, tbsSeparator);
  // A check button: it latches, and the list view's grid lines follow it.
  TToolButton* grid = FToolBar->AddButton(L"", glCheck, tbsCheck);
  grid->SetDown(true);
  grid->OnClick = [this, grid](TComponent*) { Control<TListView>("ListView1")->SetGridLines(grid->Down()); };
  FToolBar->AddButton(L"", -1, tbsSeparator);
  FToolBar->AddButton(L"", glInfo)->OnClick = [this](TComponent*) { ShowIconMessage(MB_ICONINFORMATION); };
}

// The program's own skin, set up exactly as the editor sets up its own.
// Every control tells the status bar its class when the mouse comes to it.
void TGalleryForm::WatchHover(TComponent* root) {
  if (auto* control = dynamic_cast<TControl*>(root)) {
    control->HookWindowProc([this, control](TMessage& m, TDefaultProc callDefault) {
      callDefault(m);
      if (m.Msg == CM_MOUSEENTER && FStatusBar && FFollowHover)
        FStatusBar->SetPanelText(kHoverPanel, std::wstring(control->ClassName().begin(), control->ClassName().end()));
    });
  }
  for (int i = 0; i < root->ComponentCount(); ++i) WatchHover(root->Components(i));
}

void TGalleryForm::PageChanged() {
  if (TTabSheet* page = FPages->ActivePage()) FStatusBar->SetPanelText(kPagePanel, L"Page: " + page->Caption());
}

void TGalleryForm::ClockTick() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t text[16];
  swprintf(text, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  FStatusBar->SetPanelText(kClockPanel, text);
}

void TGalleryForm::ApplyOptions(const TGalleryOptions& options) {
  FPages->SetActivePageIndex(options.Page);
  if (options.Shot) {
    // A still picture: no clock, the focus on the tabs (no caret), the mouse away from us.
    FClock->SetEnabled(false);
    FFollowHover = false;
    FStatusBar->SetPanelText(kClockPanel, L"Ready");
    FStatusBar->SetPanelText(kHoverPanel, L"");
    FPages->SetFocus();
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  if (options.Mdi) OpenMdiDemo();
  if (options.Dialog) ShowTemplateDialogModeless();
  if (options.QuitAfter) {
    FQuitTimer->SetInterval(options.QuitAfter);
    FQuitTimer->SetEnabled(true);
  }
}

void TGalleryForm::ApplyOptionsLater(const TGalleryOptions& options) {
  FPendingOptions = options;
  PostMessageW(Handle(), kApplyOptionsMessage, 0, 0);
}

void TGalleryForm::WndProc(TMessage& m) {
  if (m.Msg == kApplyOptionsMessage) {
    ApplyOptions(FPendingOptions);
    return;
  }
  TForm::WndProc(m);
}

void TGalleryForm::OpenMdiDemo() {
  if (FMdiDemo) {
    SetForegroundWindow(FMdiDemo->Handle());
    return;
  }
  FMdiDemo = Application->CreateForm<TGalleryMdiFrame>();
  FMdiDemo->FreeNotification(this);
  FMdiDemo->Open();
}

void TGalleryForm::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == opRemove && component == FMdiDemo) FMdiDemo = nullptr;
}

void TGalleryForm::ShowTemplateDialog() { TTemplateDialog::RunModal(Handle()); }

void TGalleryForm::ShowTemplateDialogModeless() { FDialog.Show(Handle()); }

int TGalleryForm::ShowIconMessage(UINT icon) {
  const wchar_t* text = L"";
  UINT buttons = MB_OK;
  switch (icon) {
    case MB_ICONINFORMATION: text = L"Information: the platform's message box with its information icon."; break;
    case MB_ICONWARNING: text = L"Warning: the platform's message box with its warning icon."; break;
    case MB_ICONERROR: text = L"Error: the platform's message box with its error icon."; break;
    case MB_ICONQUESTION:
      text = L"Question: the platform's message box with its question icon. Do you like the skin?";
      buttons = MB_YESNO;
      break;
    default: break;
  }
  return MessageBoxW(Handle(), text, kGalleryTitle, buttons | icon);
}

void TGalleryForm::QuitNow() {
  FQuitTimer->SetEnabled(false);
  EndMenu();
  if (HWND modal = TTemplateDialog::ModalHandle()) EndDialog(modal, IDCANCEL);
  FDialog.Close();
  Close();
}

}  // namespace kv
