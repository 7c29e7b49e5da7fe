#include "app/Unit1.h"

#include <filesystem>

#include "base/win/WideText.h"

namespace kv {

TForm1::TForm1() {
  BuildLayout();
  WireEvents();
}

TForm1::~TForm1() = default;

std::wstring TForm1::ExePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

std::wstring TForm1::ExeDirectory() {
  const std::wstring path = ExePath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void TForm1::WireEvents() {
  Image1 = Control<TImage>("Image1");
  Label7 = Control<TLabel>("Label7");
  Label6 = Control<TLabel>("Label6");
  Button1 = Control<TButton>("Button1");
  Button2 = Control<TButton>("Button2");
  Button3 = Control<TButton>("Button3");
  Button4 = Control<TButton>("Button4");
  Button5 = Control<TButton>("Button5");
  Button6 = Control<TButton>("Button6");
  Button7 = Control<TButton>("Button7");
  Edit3 = Control<TEdit>("Edit3");
  StatusBar1 = Control<TStatusBar>("StatusBar1");

  OnCreate = [this](TComponent*) { FormCreate(); };
  OnClose = [this](TComponent*, TCloseAction& action) { FormClose(action); };
  OnMouseMove = [this](TComponent*, unsigned, int x, int y) { FormMouseMove(x, y); };
  Button1->OnClick = [this](TComponent*) { Button1Click(); };
  Button2->OnClick = [this](TComponent*) { Button2Click(); };
  Button3->OnClick = [this](TComponent*) { Button3Click(); };
  Button4->OnClick = [this](TComponent*) { Button4Click(); };
  Button5->OnClick = [this](TComponent*) { Button5Click(); };
  Button6->OnClick = [this](TComponent*) { Button6Click(); };
  Button7->OnClick = [this](TComponent*) { Button7Click(); };
  Control<TLabel>("Label2")->OnClick = [this](TComponent*) { Label2Click(); };
  Control<TLabel>("Label3")->OnClick = [this](TComponent*) { Label3Click(); };
  Control<TLabel>("Label5")->OnClick = [this](TComponent*) { Label5Click(); };
  Label6->OnClick = [this](TComponent*) { Label6Click(); };
  Label6->OnMouseMove = [this](TComponent*, unsigned, int x, int y) { Label6MouseMove(x, y); };
  Timer1->OnTimer = [this](TComponent*) { Timer1Timer(); };
}

void TForm1::FormCreate() {
  const std::wstring exeDir = ExeDirectory();
  Edit3->SetText(exeDir);
  // The check looks in the current directory only, not beside the executable.
  const DWORD attributes = GetFileAttributesW(L"Koravent.exe");
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Application->ShowMessageBox(kMissingMessengerText, MB_OK | MB_ICONINFORMATION);
    // Takes effect when the message loop starts: the window comes and goes at once.
    Application->Terminate();
  }
  FSettings = std::make_unique<TSettingsEditor>(std::filesystem::path(exeDir));
  FSettings->Load(*this);
}

std::u16string TForm1::GetControlText(std::string_view control) const {
  if (auto* edit = Control<TEdit>(control)) return Utf16FromWide(edit->Text());
  if (auto* combo = Control<TComboBox>(control)) return Utf16FromWide(combo->Text());
  return {};
}

void TForm1::SetControlText(std::string_view control, std::u16string_view text) {
  if (auto* edit = Control<TEdit>(control)) {
    edit->SetText(WideFromUtf16(text));
  } else if (auto* combo = Control<TComboBox>(control)) {
    combo->SetText(WideFromUtf16(text));
  }
}

bool TForm1::GetChecked(std::string_view control) const {
  auto* check = Control<TCheckBox>(control);
  return check && check->Checked();
}

void TForm1::SetChecked(std::string_view control, bool checked) {
  if (auto* check = Control<TCheckBox>(control)) check->SetChecked(checked);
}

}  // namespace kv
