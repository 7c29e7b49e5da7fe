#include "framework/StdCtrls.h"

#include "framework/ControlsInternal.h"
#include "framework/CtrlTypes.h"
#include "framework/Forms.h"

namespace kv {

// ---- TLabel

TLabel::TLabel() { SetBounds(0, 0, 65, 17); }

void TLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetCaption(std::wstring_view caption) {
  TControl::SetCaption(caption);
  AdjustBounds();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  RECT r{0, 0, 0, 0};
  {
    const TWindowDc screen = TWindowDc::Screen();
    TCanvas canvas(screen.Get());
    canvas.Font() = Font();
    const std::wstring text = FCaption.empty() ? std::wstring(L" ") : FCaption;
    canvas.DrawTextIn(text, r, DT_CALCRECT | DT_EXPANDTABS | DT_LEFT);
  }
  SetBounds(FLeft, FTop, r.right, r.bottom);
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  if (!FTransparent) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(bsClear);
  const UINT format = DT_EXPANDTABS | DT_LEFT;
  if (Enabled()) {
    canvas.DrawTextIn(FCaption, r, format);
  } else {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawTextIn(FCaption, shifted, format);
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawTextIn(FCaption, r, format);
  }
}

// ---- TButton

TButton::TButton() {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (TForm* form = ParentForm()) {
    if (value) {
      form->SetDefaultButton(this);
    } else if (form->DefaultButton() == this) {
      form->SetDefaultButton(nullptr);
    }
  }
  if (FHandle) SendMessageW(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TCheckBox

TCheckBox::TCheckBox() {
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

bool TCheckBox::Checked() const {
  if (FHandle) return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TCheckBox::SetChecked(bool value) {
  FChecked = value;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  RecreateWnd();
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.Style |= BS_AUTOCHECKBOX | (FFlat ? BS_FLAT : 0);
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::DestroyWnd() {
  FChecked = Checked();
  TWinControl::DestroyWnd();
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    FChecked = Checked();
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TEdit

TEdit::TEdit() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TEdit::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  RecreateWnd();
}

void TEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"EDIT";
  params.Style |= ES_AUTOHSCROLL | ES_LEFT | (FReadOnly ? ES_READONLY : 0);
  if (FFlat) {
    params.Style |= WS_BORDER;
  } else {
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TComboBox

TComboBox::TComboBox() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
  FItems.OnChange = [this] { ItemsChanged(); };
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
  // The closed height of the window is the platform's own: the one asked for is the
  // bounds' (the list's part only shows dropped down).
  const bool same = FHandle && left == FLeft && top == FTop && width == FWidth && height == FHeight &&
                    detail::WindowPlacedAt(FHandle, left, top, width, -1);
  StoreBounds(left, top, width, height);
  // The window's height includes the dropped-down list.
  if (FHandle && !same)
    SetWindowPos(FHandle, nullptr, left, top, width, height + Scaled(FItemHeight) * FDropDownCount + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"COMBOBOX";
  params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
  params.Height = FHeight + Scaled(FItemHeight) * FDropDownCount + 2;
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  const std::wstring text = FCaption;
  for (const std::wstring& item : FItems.Lines())
    SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, Scaled(FItemHeight));
  FitClosedHeight();
  if (FItemIndex >= 0) SendMessageW(FHandle, CB_SETCURSEL, FItemIndex, 0);
  SetWindowTextW(FHandle, text.c_str());
}

void TComboBox::DestroyWnd() {
  FItemIndex = ItemIndex();
  TWinControl::DestroyWnd();
}

void TComboBox::ItemsChanged() {
  if (!FHandle) return;
  const std::wstring text = Caption();
  SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : FItems.Lines())
    SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SetWindowTextW(FHandle, text.c_str());
}

int TComboBox::ItemIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TComboBox::SetItemIndex(int index) {
  FItemIndex = index;
  if (index >= 0 && index < FItems.Count()) FCaption = FItems[index];
  if (FHandle) SendMessageW(FHandle, CB_SETCURSEL, index, 0);
}

void TComboBox::SetItemHeight(int height) {
  FItemHeight = height;
  if (FHandle) SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, Scaled(height));
}

void TComboBox::DpiChanged(int oldDpi) {
  TWinControl::DpiChanged(oldDpi);
  if (FHandle) SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, Scaled(FItemHeight));
  FitClosedHeight();
}

void TComboBox::FitClosedHeight() {
  // At 96 DPI the platform's closed height is the layout's; scaled, the font's height
  // does not grow in step with it, so the edit part takes up the difference. What the
  // edit part's height counts differs between platforms (Wine reads back two more than it
  // was given): ask, look at the window, and ask again for what is still missing.
  if (!FHandle || Dpi() == kDefaultDpi) return;
  auto closedHeight = [this] {
    RECT r{};
    GetWindowRect(FHandle, &r);
    return int(r.bottom - r.top);
  };
  int missing = FHeight - closedHeight();
  int request = static_cast<int>(SendMessageW(FHandle, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int pass = 0; pass < 3 && missing != 0; ++pass) {
    request += missing;
    if (request <= 0) return;
    SendMessageW(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), request);
    // The window takes the new closed height at its next sizing, not at once.
    SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight + Scaled(FItemHeight) * FDropDownCount + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    missing = FHeight - closedHeight();
  }
}

bool TComboBox::Focused() const {
  HWND focus = GetFocus();
  return FHandle && focus && (focus == FHandle || IsChild(FHandle, focus));
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        return;
      case CBN_SETFOCUS:
        if (TForm* form = ParentForm()) form->ControlFocused(this);
        Perform(CM_ENTER);
        return;
      case CBN_KILLFOCUS: Perform(CM_EXIT); return;
      default: return;
    }
  }
  TWinControl::WndProc(m);
}

// ---- TMemo

TMemo::TMemo() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 185, 89);
  FLines.OnChange = [this] {
    if (FHandle && !FUpdating) SetWindowTextW(FHandle, FLines.Text().c_str());
  };
}

void TMemo::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  RecreateWnd();
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (FScrollBars == value) return;
  FScrollBars = value;
  RecreateWnd();
}

void TMemo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"EDIT";
  params.Caption = FLines.Text();
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_LEFT | (FReadOnly ? ES_READONLY : 0);
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  if (FFlat) {
    params.Style |= WS_BORDER;
  } else {
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TMemo::DestroyWnd() {
  FUpdating = true;
  FLines.SetText(Caption());
  FUpdating = false;
  TWinControl::DestroyWnd();
}

// ---- TGroupBox

TGroupBox::TGroupBox() { SetBounds(0, 0, 185, 105); }

void TGroupBox::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    // The platform's group box draws its frame and caption only; the ground is ours.
    TCanvas canvas(reinterpret_cast<HDC>(m.WParam));
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

void TGroupBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.WinClassName = L"Kv.GroupBox";
  params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

// ---- TPanel

TPanel::TPanel() {
  FOwnPaint = true;
  FClickOnMouseUp = true;
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetFlat(bool value) {
  FFlat = value;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.WinClassName = L"Kv.Panel";
}

void TPanel::Paint(TCanvas& canvas) {
  RECT r = ClientRect();
  if (!FFlat) DrawEdge(canvas.Handle(), &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawTextIn(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- properties by name

void RegisterStandardProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterBooleanProperty<TControl>("Visible", &TControl::Visible, &TControl::SetVisible);
  RegisterBooleanProperty<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled);
  RegisterBooleanProperty<TWinControl>("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered);
  RegisterBooleanProperty<TLabel>("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
  RegisterBooleanProperty<TLabel>("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize);
  RegisterBooleanProperty<TButton>("Default", &TButton::Default, &TButton::SetDefault);
  RegisterBooleanProperty<TCheckBox>("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked);
  RegisterBooleanProperty<TCheckBox>("Flat", &TCheckBox::Flat, &TCheckBox::SetFlat);
  RegisterBooleanProperty<TEdit>("Flat", &TEdit::Flat, &TEdit::SetFlat);
  RegisterBooleanProperty<TComboBox>("Flat", &TComboBox::Flat, &TComboBox::SetFlat);
  RegisterBooleanProperty<TMemo>("Flat", &TMemo::Flat, &TMemo::SetFlat);
  RegisterBooleanProperty<TPanel>("Flat", &TPanel::Flat, &TPanel::SetFlat);
  RegisterControlKindProperties();
}

}  // namespace kv
