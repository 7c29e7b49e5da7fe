// Stand-in for the messenger add-on's Koravent.exe in the demo folder: it only records,
// in "Koravent.started" beside itself, that it was started, then ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring log(path, n);
  log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"Koravent.started";
  HANDLE file =
      CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  SYSTEMTIME t;
  GetLocalTime(&t);
  char line[64];
  const int length = wsprintfA(line, "started %04u-%02u-%02u %02u:%02u:%02u\r\n", t.wYear, t.wMonth, t.wDay, t.wHour,
                               t.wMinute, t.wSecond);
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  return 0;
}
