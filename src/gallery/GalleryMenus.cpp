// The gallery's menu bar and the page area's popup menu: every kind of item a menu skin
// draws (images, shortcuts, check marks, radio groups, disabled, default, deep submenus).
#include "gallery/Gallery.h"

namespace kv {
namespace {

TMenuItem* AddItem(TMenuItem* parent, const wchar_t* caption, TShortCut shortCut = scNone, int image = -1,
                   TNotifyEvent onClick = {}) {
  TMenuItem* item = parent->Add(caption);
  item->SetShortCut(shortCut);
  item->SetImageIndex(image);
  item->OnClick = std::move(onClick);
  return item;
}

// The clipboard commands act on the window with the focus: their shortcuts reach the
// menu before any edit sees them.
TNotifyEvent SendToFocus(UINT msg) {
  return [msg](TComponent*) {
    if (HWND focus = GetFocus()) SendMessageW(focus, msg, 0, 0);
  };
}

}  // namespace

void TGalleryForm::BuildMenus() {
  FMainMenu = Make<TMainMenu>();
  FMainMenu->SetName("MainMenu1");
  FMainMenu->SetImages(FImages);
  TMenuItem* bar = FMainMenu->Items();

  TMenuItem* file = bar->Add(L"&File");
  AddItem(file, L"Open &MDI demo", ShortCut('M', scCtrl), glMdi, [this](TComponent*) { OpenMdiDemo(); });
  AddItem(file, L"&Dialog from a template...", ShortCut('D', scCtrl), glDialog,
          [this](TComponent*) { ShowTemplateDialog(); });
  TMenuItem* boxes = file->Add(L"Message &boxes");
  const struct {
    const wchar_t* Caption;
    UINT Icon;
  } kBoxes[] = {{L"&Information", MB_ICONINFORMATION},
                {L"&Warning", MB_ICONWARNING},
                {L"&Error", MB_ICONERROR},
                {L"&Question", MB_ICONQUESTION}};
  for (const auto& box : kBoxes)
    AddItem(boxes, box.Caption, scNone, box.Icon == MB_ICONINFORMATION ? glInfo : -1,
            [this, icon = box.Icon](TComponent*) { ShowIconMessage(icon); });
  file->Add(L"-");
  AddItem(file, L"E&xit", ShortCut(VK_F4, scAlt), -1, [this](TComponent*) { Close(); });

  TMenuItem* edit = bar->Add(L"&Edit");
  AddItem(edit, L"&Undo", ShortCut('Z', scCtrl), glUndo, SendToFocus(WM_UNDO));
  edit->Add(L"-");
  AddItem(edit, L"Cu&t", ShortCut('X', scCtrl), glCut, SendToFocus(WM_CUT));
  AddItem(edit, L"&Copy", ShortCut('C', scCtrl), glCopy, SendToFocus(WM_COPY));
  AddItem(edit, L"&Paste", ShortCut('V', scCtrl), glPaste, SendToFocus(WM_PASTE));
  edit->Add(L"-");
  TMenuItem* wrap = AddItem(edit, L"&Word wrap");
  wrap->SetAutoCheck(true);
  wrap->SetChecked(true);
  edit->Add(L"-");
  for (const wchar_t* size : {L"&Small", L"&Medium", L"&Large"}) {
    TMenuItem* item = AddItem(edit, size);
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
    item->SetAutoCheck(true);
  }
  edit->Find(L"Medium")->SetChecked(true);
  edit->Add(L"-");
  AddItem(edit, L"Disabled item")->SetEnabled(false);
  AddItem(edit, L"Default item", scNone, glStar)->SetDefault(true);
  TMenuItem* level = AddItem(edit, L"&Nested");
  for (const wchar_t* caption : {L"Second level", L"Third level"}) level = AddItem(level, caption);
  AddItem(level, L"Deepest item", scNone, glFolder);
  AddItem(level, L"Another deep item");

  // The main window is no MDI frame: this menu steers the demo's frame.
  TMenuItem* window = bar->Add(L"&Window");
  AddItem(window, L"&Open MDI demo", scNone, glMdi, [this](TComponent*) { OpenMdiDemo(); });
  window->Add(L"-");
  const struct {
    const wchar_t* Caption;
    void (TForm::*Action)();
  } kArrange[] = {{L"&Cascade", &TForm::Cascade}, {L"&Tile", &TForm::Tile}, {L"&Next child", &TForm::Next}};
  for (const auto& arrange : kArrange) {
    TMenuItem* item = AddItem(window, arrange.Caption, scNone, -1, [this, action = arrange.Action](TComponent*) {
      if (FMdiDemo) (FMdiDemo->*action)();
    });
    item->OnUpdate = [this, item](TComponent*) { item->SetEnabled(FMdiDemo != nullptr); };
  }

  BuildSkinsMenu(bar);

  TMenuItem* help = bar->Add(L"&Help");
  AddItem(help, L"&About Koravent Gallery...", ShortCut(VK_F1, 0), glInfo, [this](TComponent*) {
    MessageBoxW(Handle(),
                L"Koravent Gallery\n\nEvery control kind of the framework in every state, its menus, an MDI "
                L"demo and a dialog from a template: to look at a skin.",
                kGalleryTitle, MB_OK | MB_ICONINFORMATION);
  });
  SetMenu(FMainMenu);

  // A right click anywhere on the pages (the sheets pass it on to the page control).
  FPagePopup = Make<TPopupMenu>();
  FPagePopup->SetName("PagePopup");
  FPagePopup->SetImages(FImages);
  TMenuItem* root = FPagePopup->Items();
  AddItem(root, L"&Next page", scNone, -1, [this](TComponent*) { FPages->SelectNextPage(true); });
  AddItem(root, L"&Previous page", scNone, -1, [this](TComponent*) { FPages->SelectNextPage(false); });
  root->Add(L"-");
  AddItem(root, L"Open &MDI demo", scNone, glMdi, [this](TComponent*) { OpenMdiDemo(); });
  AddItem(root, L"&Dialog from a template...", scNone, glDialog, [this](TComponent*) { ShowTemplateDialog(); });
  // What the skin paints in a popup: check marks with and without an image, a disabled
  // item, and an item that draws itself (the skin leaves it alone).
  root->Add(L"-");
  TMenuItem* pinned = AddItem(root, L"P&inned", scNone, glStar);
  pinned->SetAutoCheck(true);
  pinned->SetChecked(true);
  TMenuItem* grid = AddItem(root, L"Show &grid");
  grid->SetAutoCheck(true);
  grid->SetChecked(true);
  AddItem(root, L"Not available")->SetEnabled(false);
  TMenuItem* own = AddItem(root, L"Drawn by itself");
  own->OnAdvancedDrawItem = [](TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor((state & odSelected) ? TColor(0x4080FF) : TColor(0xC0F0FF));
    canvas.FillRect(rect);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clBlack);
    RECT text = rect;
    text.left += 24;
    canvas.DrawTextIn(item->Caption(), text, DT_SINGLELINE | DT_VCENTER);
  };
  FPages->SetPopupMenu(FPagePopup);
}

}  // namespace kv
