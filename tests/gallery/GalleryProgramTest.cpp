// The real program as a child process: it comes up with the windows its switches ask for,
// closes itself after --quit-after with exit code 0, and refuses switches it does not know.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "GalleryFixture.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

fs::path ProgramPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / L"KoraventGallery.exe";
}

// The visible windows in `parent`, class and title each, for a failure to name them.
std::string ChildrenOf(HWND parent) {
  std::string list;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    wchar_t name[64] = {}, title[64] = {};
    GetClassNameW(c, name, 64);
    GetWindowTextW(c, title, 64);
    list += " [" + std::string(name, name + wcslen(name)) + " \"" + std::string(title, title + wcslen(title)) + "\"]";
  }
  return "visible:" + list;
}

class TGalleryProcess {
 public:
  explicit TGalleryProcess(const std::wstring& switches) {
    std::wstring commandLine = L"\"" + ProgramPath().wstring() + L"\" " + switches;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    FStarted = CreateProcessW(ProgramPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info);
    if (FStarted) {
      FProcess.Reset(info.hProcess);
      TKernelHandle thread(info.hThread);  // not needed
      FId = info.dwProcessId;
    }
  }
  bool Started() const { return FStarted; }
  // Waits (bounded) for a visible top-level window of the process.
  HWND WaitForWindow(const std::wstring& className, const std::wstring& title, int ms = 20000) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      const std::vector<HWND> found = TopWindows(className, title, FId);
      if (!found.empty()) return found.front();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
  }
  // The exit code, or -1 when the program is still running after `ms`.
  long ExitCode(int ms = 30000) const {
    if (WaitForSingleObject(FProcess.Get(), static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.Get(), &code);
    return static_cast<long>(code);
  }
  ~TGalleryProcess() {
    if (FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(FProcess.Get(), 99);
  }

 private:
  bool FStarted = false;
  TKernelHandle FProcess;
  DWORD FId = 0;
};

TEST(GalleryProgram, ShowsItsWindowOnTheAskedPageAndQuitsWithZero) {
  TGalleryProcess gallery(L"--shot --page lists --quit-after 2500");
  ASSERT_TRUE(gallery.Started());
  HWND main = gallery.WaitForWindow(L"Kv.Form", kGalleryTitle);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(SendMessageW(main, 0x3504, 0, 0), 1) << "skinned (SM_ISSKINNED)";
  EXPECT_EQ(GetMenu(main), nullptr) << "its menu bar is the skin's";
  EXPECT_EQ(gallery.ExitCode(), 0);
  EXPECT_FALSE(IsWindow(main));
}

TEST(GalleryProgram, OpensTheMdiDemoAndTheDialogAtStartAndStillQuitsWithZero) {
  TGalleryProcess gallery(L"--mdi --dialog --shot --quit-after 4000");
  ASSERT_TRUE(gallery.Started());
  EXPECT_NE(gallery.WaitForWindow(L"Kv.Form", kGalleryTitle), nullptr);
  HWND frame = gallery.WaitForWindow(L"Kv.Form", kMdiFrameTitle);
  ASSERT_NE(frame, nullptr);
  HWND client = FindChildOfClass(frame, L"MDIClient");
  ASSERT_NE(client, nullptr);
  auto children = [client] {
    int n = 0;
    for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) n += IsWindowVisible(c) != 0;
    return n;
  };
  // The frame shows first, its children a moment later (up to 15 s on a busy machine);
  // on a slow start the quit timer may already be closing them when the last shows.
  int most = 0;
  std::string seen;  // what was there when the most were
  for (int i = 0; i < 750 && most < 3; ++i) {
    if (const int n = children(); n > most) {
      most = n;
      seen = ChildrenOf(client);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(most, 3) << seen;
  EXPECT_NE(gallery.WaitForWindow(L"#32770", kTemplateDialogTitle), nullptr);
  EXPECT_EQ(gallery.ExitCode(), 0);
}

TEST(GalleryProgram, RefusesAnUnknownSwitchWithItsUsageAndExitCodeTwo) {
  TGalleryProcess gallery(L"--page 3 --bogus");
  ASSERT_TRUE(gallery.Started());
  HWND box = gallery.WaitForWindow(L"#32770", kGalleryTitle);
  ASSERT_NE(box, nullptr);
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  EXPECT_NE(std::wstring(text).find(L"--bogus"), std::wstring::npos);
  EXPECT_NE(std::wstring(text).find(L"Usage"), std::wstring::npos);
  EXPECT_EQ(gallery.WaitForWindow(L"Kv.Form", kGalleryTitle, 300), nullptr)
      << "no window before the switches are right";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(gallery.ExitCode(), 2);
}

}  // namespace
}  // namespace kv::test
