#include "messenger/Messenger.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "base/TextCodec.h"
#include "base/win/Handles.h"
#include "settings/ProcessMatch.h"

namespace kv {
namespace {

std::string ErrorText(HRESULT result) {
  wchar_t* text = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message;
  if (n && text) message.assign(reinterpret_cast<char16_t*>(text), n);
  LocalFree(text);
  while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u'.'))
    message.pop_back();
  if (message.empty()) {
    char hex[32];
    wsprintfA(hex, "OLE error %08X", static_cast<unsigned>(result));
    return hex;
  }
  return Utf16ToUtf8(message);
}

void Check(HRESULT result) {
  if (FAILED(result)) throw EOleError(result);
}

// The process snapshot functions, looked up once: a system without them lists nothing.
struct TToolHelp {
  decltype(&CreateToolhelp32Snapshot) Snapshot = nullptr;
  decltype(&Process32FirstW) First = nullptr;
  decltype(&Process32NextW) Next = nullptr;

  static const TToolHelp& Get() {
    static const TToolHelp functions = [] {
      TToolHelp t;
      if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        t.Snapshot = reinterpret_cast<decltype(t.Snapshot)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
        t.First =
            reinterpret_cast<decltype(t.First)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32FirstW")));
        t.Next = reinterpret_cast<decltype(t.Next)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32NextW")));
      }
      return t;
    }();
    return functions;
  }
  bool Available() const { return Snapshot && First && Next; }
};

}  // namespace

EOleError::EOleError(HRESULT result) : std::runtime_error(ErrorText(result)), FResult(result) {}

bool TerminateProcessesByName(std::string_view name) {
  const TToolHelp& toolHelp = TToolHelp::Get();
  if (!toolHelp.Available()) return false;
  TFileHandle snapshot(toolHelp.Snapshot(TH32CS_SNAPPROCESS, 0));  // INVALID_HANDLE_VALUE on failure
  if (!snapshot) return false;
  bool result = false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = toolHelp.First(snapshot.Get(), &entry); more; more = toolHelp.Next(snapshot.Get(), &entry)) {
    const std::u16string exeName(reinterpret_cast<const char16_t*>(entry.szExeFile));
    if (!ProcessNameMatches(Utf16ToUtf8(exeName), name)) continue;
    TKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    result = process && TerminateProcess(process.Get(), 0);
  }
  return result;
}

void StartMessenger(HWND owner) { ShellExecuteW(owner, L"Open", L"Koravent.exe", nullptr, nullptr, SW_SHOWNORMAL); }

void RestartMessenger() {
  TerminateProcessesByName("QQ.exe");
  // With no application name, CreateProcess searches this program's directory, then the
  // current directory, the system directories and the path.
  std::wstring commandLine = L"Koravent.exe";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    // Started, not waited for: nothing of the new process is kept.
    TKernelHandle thread(info.hThread), process(info.hProcess);
  }
}

void SaveShortcut(const std::wstring& linkPath, const TShortcut& shortcut) {
  TComPtr<IShellLinkW> link;
  Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out()));
  TComPtr<IPersistFile> file;
  Check(link->QueryInterface(IID_IPersistFile, file.Out()));
  Check(link->SetPath(shortcut.Target.c_str()));
  Check(link->SetWorkingDirectory(shortcut.WorkingDirectory.c_str()));
  Check(link->SetDescription(shortcut.Description.c_str()));
  Check(link->SetIconLocation(shortcut.IconPath.c_str(), 0));
  Check(file->Save(linkPath.c_str(), FALSE));
}

std::wstring DesktopDirectory() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  std::wstring result(path);
  while (!result.empty() && result.back() == L'\\') result.pop_back();
  return result;
}

void OpenWithShell(HWND owner, const std::wstring& file) {
  ShellExecuteW(owner, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenInExplorer(HWND owner, const std::wstring& address) {
  ShellExecuteW(owner, L"open", L"Explorer", address.c_str(), nullptr, SW_SHOW);
}

std::wstring ClockCaption() {
  wchar_t time[128] = {};
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return std::wstring(L"系统时间：") + time;
}

}  // namespace kv
