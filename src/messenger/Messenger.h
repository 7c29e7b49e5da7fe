#pragma once
// The conveniences around the messenger: ending every QQ process, starting QQ through
// Koravent.exe, the desktop shortcut, the links and the clock text. Plain functions over
// the platform; the main form calls them from its event handlers.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// A COM call that failed, with the platform's text for its result.
class EOleError : public std::runtime_error {
 public:
  explicit EOleError(HRESULT result);
  HRESULT Result() const { return FResult; }

 private:
  HRESULT FResult;
};

// Ends every process whose executable is called `name` (ASCII case ignored), each with
// exit code 0, without waiting. Returns the result of the last attempt; false when
// nothing matched or the process list cannot be read.
bool TerminateProcessesByName(std::string_view name);

// "启动QQ": Koravent.exe through the shell, in the current directory.
void StartMessenger(HWND owner);
// After an apply: end every QQ.exe, then start Koravent.exe (looked for beside this
// program first, then in the current directory and the search path), without waiting.
void RestartMessenger();

struct TShortcut {
  std::wstring Target;            // full path of the program
  std::wstring WorkingDirectory;  // with its trailing backslash
  std::wstring Description;
  std::wstring IconPath;  // icon index 0
};
// Writes (or replaces) the shell link `linkPath`. Raises EOleError when a step fails; a
// shortcut is then not written.
void SaveShortcut(const std::wstring& linkPath, const TShortcut& shortcut);
// The user's desktop directory, without a trailing backslash (empty when unknown).
std::wstring DesktopDirectory();

void OpenWithShell(HWND owner, const std::wstring& file);      // default verb
void OpenInExplorer(HWND owner, const std::wstring& address);  // "Explorer" + address

// "系统时间：" followed by the local time in the user's long time format.
std::wstring ClockCaption();

}  // namespace kv
