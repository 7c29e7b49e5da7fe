// Messenger control with real processes: stand-in executables under the names the
// editor looks for, started in the test's own Wine prefix.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "base/TextCodec.h"
#include "messenger/Messenger.h"
#include "support/ShortcutRead.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using testing::TTempDir;

std::filesystem::path StandInPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / "kv_standin.exe";
}

// Waits, with a bound, for `done` to hold.
template <class F>
bool WaitFor(F done, DWORD milliseconds = 10000) {
  for (DWORD waited = 0; waited < milliseconds; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

struct TStandIn {
  std::filesystem::path Exe;
  PROCESS_INFORMATION Info{};
};

class MessengerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override {
    for (TStandIn& s : FStarted) {
      TerminateProcess(s.Info.hProcess, 1);
      WaitForSingleObject(s.Info.hProcess, 5000);
      CloseHandle(s.Info.hProcess);
      CloseHandle(s.Info.hThread);
    }
    CoUninitialize();
  }

  // Copies the stand-in to `folder\name` and starts it.
  TStandIn& Start(const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(FDir / folder);
    TStandIn s{FDir / folder / name};
    std::filesystem::copy_file(StandInPath(), s.Exe, std::filesystem::copy_options::overwrite_existing);
    std::wstring commandLine = L"\"" + s.Exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    EXPECT_TRUE(CreateProcessW(s.Exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &s.Info))
        << name;
    FStarted.push_back(s);
    return FStarted.back();
  }
  static bool Ended(const TStandIn& s) { return WaitForSingleObject(s.Info.hProcess, 0) == WAIT_OBJECT_0; }

  TTempDir FDir;
  std::vector<TStandIn> FStarted;
};

TEST_F(MessengerTest, EndsEveryQQProcessAndNoOther) {
  FStarted.reserve(8);
  Start("a", "QQ.exe");
  Start("b", "qq.exe");
  Start("c", "QQ.EXE");
  Start("d", "MyQQ.exe");
  Start("e", "QQ.exe.bak");
  for (const TStandIn& s : FStarted)
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(s.Exe.wstring() + L".started"); })) << s.Exe;

  EXPECT_TRUE(TerminateProcessesByName("QQ.exe"));
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(WaitForSingleObject(FStarted[i].Info.hProcess, 10000), WAIT_OBJECT_0) << FStarted[i].Exe;
    DWORD code = 99;
    GetExitCodeProcess(FStarted[i].Info.hProcess, &code);
    EXPECT_EQ(code, 0u);
  }
  EXPECT_FALSE(Ended(FStarted[3]));
  EXPECT_FALSE(Ended(FStarted[4]));
  EXPECT_FALSE(TerminateProcessesByName("QQ.exe")) << "nothing left to end";
}

TEST_F(MessengerTest, RestartStartsKoraventEvenWithoutAMessenger) {
  std::filesystem::copy_file(StandInPath(), FDir / "Koravent.exe");
  wchar_t saved[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, saved);
  SetCurrentDirectoryW(FDir.Path().c_str());
  RestartMessenger();
  SetCurrentDirectoryW(saved);
  EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(FDir / "Koravent.exe.started"); }));
  EXPECT_TRUE(TerminateProcessesByName("Koravent.exe"));
}

TEST_F(MessengerTest, ShortcutIsWrittenAndReplaced) {
  const std::wstring link = (FDir / "Koravent配置.lnk").wstring();
  const TShortcut fields{L"C:\\QQ\\KoraventConfig.exe", L"C:\\QQ\\", L"Tarnholm工作室制作",
                         L"C:\\QQ\\KoraventConfig.exe"};
  SaveShortcut(link, fields);
  SaveShortcut(link, fields);

  const auto read = testing::ReadShortcut(link);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Fields.Target, fields.Target);
  EXPECT_EQ(read->Fields.WorkingDirectory, fields.WorkingDirectory);
  EXPECT_EQ(read->Fields.Description, fields.Description);
  EXPECT_EQ(read->Fields.IconPath, fields.IconPath);
  EXPECT_EQ(read->IconIndex, 0);
}

TEST_F(MessengerTest, AShortcutThatCannotBeSavedRaisesTheError) {
  const std::wstring link = (FDir / "missing" / "x.lnk").wstring();
  EXPECT_THROW(SaveShortcut(link, {L"C:\\a.exe", L"C:\\", L"d", L"C:\\a.exe"}), EOleError);
  EXPECT_FALSE(std::filesystem::exists(FDir / "missing"));
  EXPECT_FALSE(DesktopDirectory().empty());
}

TEST(Clock, CaptionIsTheLabelFollowedByTheLocalTime) {
  const std::string caption = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(ClockCaption().c_str())));
  EXPECT_TRUE(std::regex_match(caption, std::regex("系统时间：(\\D*)\\d{1,2}:\\d{2}:\\d{2}(\\D*)"))) << caption;
}

}  // namespace
}  // namespace kv
