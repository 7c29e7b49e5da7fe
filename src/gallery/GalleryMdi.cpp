// The MDI demo: a sizeable frame with a menu bar whose Window menu lists the children,
// a status bar, and three children of different kinds.
#include <string>

#include "framework/ListCtrls.h"
#include "gallery/Gallery.h"

namespace kv {
namespace {

constexpr int kStatusHeight = 20;
constexpr int kChildWidth = 280, kChildHeight = 150;

HICON ProgramIcon() {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0));
}

// A child's one control fills it, whatever size Cascade or Tile give the child.
void FillChild(TForm& child, TControl* control) {
  control->SetBounds(0, 0, kChildWidth, kChildHeight);
  child.HookWindowProc([control](TMessage& m, TDefaultProc callDefault) {
    callDefault(m);
    if (m.Msg == WM_SIZE && m.WParam != SIZE_MINIMIZED) control->SetBounds(0, 0, LOWORD(m.LParam), HIWORD(m.LParam));
  });
}

void BuildNotes(TForm& child) {
  auto* memo = child.Make<TMemo>();
  memo->SetName("ChildMemo");
  memo->SetParent(&child);
  FillChild(child, memo);
  memo->SetScrollBars(ssBoth);
  for (int i = 1; i <= 20; ++i)
    memo->Lines().Add(L"Note " + std::to_wstring(i) + L": an MDI child holding a memo that scrolls both ways.");
}

void BuildControls(TForm& child) {
  auto* label = child.Make<TLabel>();
  label->SetParent(&child);
  label->SetBounds(12, 14, 60, 13);
  label->SetCaption(L"Name:");
  auto* edit = child.Make<TEdit>();
  edit->SetName("ChildEdit");
  edit->SetParent(&child);
  edit->SetBounds(76, 10, 180, 21);
  edit->SetText(L"中文文本");
  auto* check = child.Make<TCheckBox>();
  check->SetParent(&child);
  check->SetBounds(12, 44, 200, 17);
  check->SetCaption(L"A check box in a child");
  check->SetChecked(true);
  auto* button = child.Make<TButton>();
  button->SetParent(&child);
  button->SetBounds(12, 76, 96, 25);
  button->SetCaption(L"Button");
}

void BuildList(TForm& child) {
  auto* list = child.Make<TListBox>();
  list->SetName("ChildList");
  list->SetParent(&child);
  FillChild(child, list);
  for (int i = 1; i <= 30; ++i) list->Items().Add(L"Child list item " + std::to_wstring(i));
  list->SetItemIndex(0);
}

}  // namespace

TGalleryMdiFrame::TGalleryMdiFrame() {
  SetName("MdiFrame");
  SetFormStyle(fsMDIForm);
  SetCaption(kMdiFrameTitle);
  SetPosition(poDesktopCenter);
  SetClientSize(600, 380);
  Font().SetName(L"MS Sans Serif");
  Font().SetHeight(-11);
  SetIcon(ProgramIcon());

  FMenuBar = Make<TMainMenu>();
  FMenuBar->SetName("MdiMenu");
  TMenuItem* file = FMenuBar->Items()->Add(L"&File");
  file->Add(L"&New child")->OnClick = [this](TComponent*) { AddChild()->Show(); };
  TMenuItem* closeChild = file->Add(L"&Close child");
  closeChild->OnClick = [this](TComponent*) {
    if (TForm* child = ActiveMDIChild()) child->Close();
  };
  closeChild->OnUpdate = [this, closeChild](TComponent*) { closeChild->SetEnabled(ActiveMDIChild() != nullptr); };
  file->Add(L"-");
  file->Add(L"Close &demo")->OnClick = [this](TComponent*) { Close(); };
  TMenuItem* window = FMenuBar->Items()->Add(L"&Window");
  window->Add(L"&Cascade")->OnClick = [this](TComponent*) { Cascade(); };
  window->Add(L"&Tile")->OnClick = [this](TComponent*) { Tile(); };
  window->Add(L"&Arrange icons")->OnClick = [this](TComponent*) { ArrangeIcons(); };
  window->Add(L"&Next")->OnClick = [this](TComponent*) { Next(); };
  SetMenu(FMenuBar);
  SetWindowMenu(window);  // the platform lists the children after our items

  FStatus = Make<TStatusBar>();
  FStatus->SetName("MdiStatus");
  FStatus->SetParent(this);
  FStatus->SetBounds(0, 380 - kStatusHeight, 600, kStatusHeight);
  FStatus->SetPanels({{600, L"Maximise a child: its buttons move into the menu bar.", false}});

  // The children go with the frame.
  OnClose = [this](TComponent*, TCloseAction& action) {
    for (int i = MDIChildCount() - 1; i >= 0; --i) MDIChildren(i)->Release();
    action = caFree;
  };
}

void TGalleryMdiFrame::WndProc(TMessage& m) {
  // The status bar keeps to the bottom edge; the client window is laid out after it.
  if (m.Msg == WM_SIZE && FStatus && m.WParam != SIZE_MINIMIZED)
    FStatus->SetBounds(0, HIWORD(m.LParam) - FStatus->Scaled(kStatusHeight), LOWORD(m.LParam),
                       FStatus->Scaled(kStatusHeight));
  TForm::WndProc(m);
}

void TGalleryMdiFrame::Open() {
  Show();
  for (int i = 0; i < 3; ++i) AddChild()->Show();
  Cascade();
}

TForm* TGalleryMdiFrame::AddChild() {
  static const wchar_t* const kTitles[] = {L"Notes", L"Controls", L"List"};
  const int kind = FChildNumber % 3;
  ++FChildNumber;
  auto* child = Application->CreateForm<TForm>();
  child->SetName("MdiChild" + std::to_string(FChildNumber));
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(std::wstring(kTitles[kind]) + L" " + std::to_wstring(FChildNumber));
  child->SetClientSize(kChildWidth, kChildHeight);
  child->SetIcon(ProgramIcon());
  if (kind == 0) BuildNotes(*child);
  if (kind == 1) BuildControls(*child);
  if (kind == 2) BuildList(*child);
  return child;
}

}  // namespace kv
