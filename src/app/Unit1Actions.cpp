// What the window's buttons, links, clock and closing do.
#include "app/AuthorLinks.h"
#include "app/Unit1.h"
#include "messenger/Messenger.h"

namespace kv {
namespace {

constexpr TColor kHoverColour = 0x0000FF;  // red
constexpr UINT kInformation = MB_OK | MB_ICONINFORMATION;

}  // namespace

// 应用设置: back up, write every key, then offer to restart the messenger. A file that
// cannot be written raises "Unable to write to …", which the error box shows; the
// question is then not asked.
void TForm1::Button1Click() {
  Settings()->Apply(*this);
  if (MessageBoxW(Handle(), L"设置成功，是否重新启动QQ？", L"温馨提示", MB_YESNO | MB_ICONQUESTION) == IDYES)
    Button6Click();
  else
    Application->ShowMessageBox(L"设置下次重新启动QQ生效!", kInformation);
}

// 恢复上次设置. Without a backup there is nothing to restore, and the user is told so
// rather than told it worked. Any other failure raises "Unable to read <backup>" or
// "Unable to write to <path>", which the error box shows as it does for apply.
void TForm1::Button2Click() {
  if (Settings()->Restore())
    Application->ShowMessageBox(L"恢复成功，请重新启动QQ!", kInformation);
  else
    Application->ShowMessageBox(L"恢复失败：没有找到上次设置的备份 Koravent.bak！", MB_OK | MB_ICONWARNING);
}

// 创建快捷方式: a failing step raises the platform's error text and nothing is written.
void TForm1::Button3Click() {
  const std::wstring exe = ExePath();
  SaveShortcut(DesktopDirectory() + L"\\Koravent配置.lnk", {exe, ExeDirectory(), L"Tarnholm工作室制作", exe});
  Application->ShowMessageBox(L"创建快捷方式成功!", kInformation);
}

void TForm1::Button4Click() { TerminateProcessesByName("QQ.exe"); }
void TForm1::Button5Click() { StartMessenger(Handle()); }
void TForm1::Button6Click() { RestartMessenger(); }
void TForm1::Button7Click() { OpenInExplorer(Handle(), KV_BLOG); }

void TForm1::Label2Click() { Control<TEdit>("Edit1")->SetText(L"1048578"); }
void TForm1::Label3Click() { Control<TEdit>("Edit2")->SetText(L"45"); }
void TForm1::Label5Click() { OpenWithShell(Handle(), ExeDirectory()); }
void TForm1::Label6Click() { OpenWithShell(Handle(), L"tencent://Message/?Uin=" KV_CONTACT); }

// Red under the mouse; black again once the mouse crosses the window's bare surface.
void TForm1::Label6MouseMove(int, int) {
  if (Label6->Font().Color() != kHoverColour) Label6->Font().SetColor(kHoverColour);
}
void TForm1::FormMouseMove(int, int) {
  if (Label6->Font().Color() != clBlack) Label6->Font().SetColor(clBlack);
}

void TForm1::FormClose(TCloseAction&) {
  // No animation when the start-up check is ending the program.
  if (!Application->Terminated()) AnimateWindow(Handle(), 300, AW_HIDE | AW_CENTER);
}

void TForm1::Timer1Timer() { Label7->SetCaption(ClockCaption()); }

}  // namespace kv
