// The template dialog: the platform's own dialog window and controls, filled in here.
#include <windows.h>

#include <commctrl.h>

#include "gallery/Gallery.h"
#include "gallery/GalleryRes.h"

namespace kv {
namespace {

HWND GModal = nullptr;  // the modal dialog now open

constexpr const wchar_t* kComboItems[] = {L"Red", L"Green", L"Blue", L"中文文本", L"Cyan", L"Magenta"};
constexpr const wchar_t* kTabs[] = {L"General", L"Advanced", L"About"};

void FillDialog(HWND dialog) {
  CheckDlgButton(dialog, IDC_TPL_CHECK, BST_CHECKED);
  CheckDlgButton(dialog, IDC_TPL_CHECK3, BST_INDETERMINATE);
  CheckRadioButton(dialog, IDC_TPL_RADIO1, IDC_TPL_RADIO2, IDC_TPL_RADIO1);
  SetDlgItemTextW(dialog, IDC_TPL_STATIC, L"Static text: 中文文本");
  SetDlgItemTextW(dialog, IDC_TPL_EDIT, L"An edit control");
  for (int id : {IDC_TPL_SIMPLE, IDC_TPL_DROPDOWN, IDC_TPL_DROPLIST}) {
    for (const wchar_t* item : kComboItems)
      SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, id == IDC_TPL_DROPLIST ? 3 : 0, 0);
  }
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 40, 0};
  SetScrollInfo(GetDlgItem(dialog, IDC_TPL_SCROLL), SB_CTL, &info, TRUE);
  HWND tabs = GetDlgItem(dialog, IDC_TPL_TABS);
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kTabs[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

// A scroll-bar control moves only where its owner puts it.
void Scroll(HWND bar, int code) {
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  int pos = info.nPos;
  switch (code) {
    case SB_LINELEFT: pos -= 1; break;
    case SB_LINERIGHT: pos += 1; break;
    case SB_PAGELEFT: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGERIGHT: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_LEFT: pos = info.nMin; break;
    case SB_RIGHT: pos = info.nMax; break;
    default: return;
  }
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

// Plain: a raised (pressed: sunken) edge, the caption in the middle, the focus rectangle.
void DrawOwnerButton(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  wchar_t text[64] = {};
  GetWindowTextW(item.hwndItem, text, 64);
  TTextStateGuard textState(item.hDC);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  if (pressed) OffsetRect(&r, 1, 1);
  DrawTextW(item.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -2, -2);
    DrawFocusRect(item.hDC, &r);
  }
}

}  // namespace

HWND TTemplateDialog::ModalHandle() { return GModal; }

INT_PTR TTemplateDialog::RunModal(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GALLERY_TEMPLATE), owner, DialogProc, 0);
}

void TTemplateDialog::Show(HWND owner) {
  if (!FWindow)
    FWindow.Reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GALLERY_TEMPLATE), owner,
                                     DialogProc, reinterpret_cast<LPARAM>(this)));
  if (FWindow) ShowWindow(FWindow.Get(), SW_SHOW);
}

void TTemplateDialog::Close() {
  // Out of the owner first: the window's last message must not find it held.
  if (HWND window = FWindow.Release()) DestroyWindow(window);
}

// The create parameter is the modeless dialog's object; a modal dialog has none.
INT_PTR CALLBACK TTemplateDialog::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    auto* self = reinterpret_cast<TTemplateDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (!lParam) GModal = dialog;
        FillDialog(dialog);
        return TRUE;
      case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_TPL_SCROLL))
          Scroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return TRUE;
      case WM_DRAWITEM:
        if (wParam != IDC_TPL_OWNERDRAW) return FALSE;
        DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        if (self)
          self->Close();
        else
          EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      case WM_NCDESTROY:
        if (GModal == dialog) GModal = nullptr;
        // Gone some other way (with its owner): nothing of ours to destroy any more.
        if (self && self->FWindow.Get() == dialog) self->FWindow.Release();
        return FALSE;
      default: return FALSE;
    }
  } catch (...) {
    HandleCurrentException();
    return FALSE;
  }
}

}  // namespace kv
