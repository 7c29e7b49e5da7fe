// A stand-in for QQ.exe or Koravent.exe: notes that it was started (a file named after
// itself plus ".started") and then waits to be ended, for at most a minute.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring marker = std::wstring(self) + L".started";
  HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  Sleep(60000);
  return 0;
}
