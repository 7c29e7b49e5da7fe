// What the window's buttons, links and clock do, driven as a user would, under Wine:
// real clicks on the real TForm1, message boxes answered by the test, stand-in processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "TestUtil.h"
#include "app/Unit1.h"
#include "base/FileIo.h"
#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "messenger/Messenger.h"
#include "skin/windows/WinSkinManage.h"
#include "support/ShortcutRead.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::PumpUntil;

constexpr wchar_t kQuestionTitle[] = L"温馨提示";

std::string Ini(const fs::path& file, const char* section, const char* key) {
  TIniFile ini(file);
  return ini.ReadString(section, key, "<absent>");
}

class Form1ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FExeDir = fs::path(TForm1::ExeDirectory());
    FIni = FExeDir / "Koravent.ini";
    FBak = FExeDir / "Koravent.bak";
    Clean();
    FRunDir = fs::temp_directory_path() / "kv-actions-run";
    fs::remove_all(FRunDir);
    fs::create_directories(FRunDir);
    // A real program that notes it was started, as the add-on's Koravent.exe.
    fs::copy_file(FExeDir / "kv_standin.exe", FRunDir / "Koravent.exe");
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    FOldDir = old;
    SetCurrentDirectoryW(FRunDir.c_str());
    FApp = std::make_unique<TApplication>();
    FApp->Initialize();
    FApp->SetTitle(kAppTitle);
    FForm = FApp->CreateForm<TForm1>();
    FForm->Show();
    test::Pump();
  }
  void TearDown() override {
    FForm = nullptr;
    FApp.reset();
    TerminateProcessesByName("Koravent.exe");
    SetCurrentDirectoryW(FOldDir.c_str());
    Clean();
    fs::remove_all(FRunDir);
  }
  void Clean() {
    std::error_code ec;
    for (const fs::path& p : {FIni, FBak}) {
      fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
      fs::remove(p, ec);
    }
  }
  // Clicks a push button the way the mouse does.
  void Click(const char* name) {
    HWND button = FForm->Control<TWinControl>(name)->Handle();
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // Clicks, and answers the boxes that come in order; returns what each said. One
  // watcher answers them all: a later box opens inside the handler of an earlier one.
  std::vector<test::TBoxSeen> ClickAndAnswer(const char* name, std::vector<std::pair<std::wstring, int>> boxes) {
    auto answers = std::async(std::launch::async, [boxes] {
      std::vector<test::TBoxSeen> seen;
      for (const auto& [title, button] : boxes) seen.push_back(test::AnswerMessageBox(title, 10000, button).get());
      return seen;
    });
    Click(name);
    EXPECT_TRUE(PumpUntil([&] { return answers.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                          12000 * static_cast<int>(boxes.size())));
    std::vector<test::TBoxSeen> seen = answers.get();
    test::Pump();
    return seen;
  }
  // Mouse input on the first page, at its client coordinates, as the mouse gives it.
  void SheetMouse(UINT msg, int x, int y) {
    HWND sheet = FForm->Control<TWinControl>("TabSheet1")->Handle();
    POINT p{x, y};
    ClientToScreen(sheet, &p);
    SetCursorPos(p.x, p.y);
    PostMessageW(sheet, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    test::Pump();
  }
  void SheetClick(int x, int y) {
    SheetMouse(WM_MOUSEMOVE, x, y);
    SheetMouse(WM_LBUTTONDOWN, x, y);
    SheetMouse(WM_LBUTTONUP, x, y);
  }
  std::wstring Text(const char* name) const {
    const std::u16string text = FForm->GetControlText(name);
    return std::wstring(text.begin(), text.end());
  }

  fs::path FExeDir, FIni, FBak, FRunDir;
  std::wstring FOldDir;
  std::unique_ptr<TApplication> FApp;
  TForm1* FForm = nullptr;
};

TEST_F(Form1ActionsTest, ApplyWithoutAFileWritesEveryKeyAndNoMeansNextTime) {
  const auto boxes = ClickAndAnswer("Button1", {{kQuestionTitle, IDNO}, {kAppTitle, IDOK}});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].Found);
  EXPECT_EQ(boxes[0].Text, L"设置成功，是否重新启动QQ？");
  EXPECT_EQ(boxes[1].Text, L"设置下次重新启动QQ生效!");
  EXPECT_EQ(Ini(FIni, "Koravent", "0106"), "1048578");
  EXPECT_EQ(Ini(FIni, "Koravent", "0101"), "0");
  EXPECT_EQ(Ini(FIni, "WorkerDll", "Enable"), "0");
  EXPECT_FALSE(fs::exists(FBak)) << "no settings file, no backup";
  EXPECT_FALSE(fs::exists(FRunDir / "Koravent.exe.started"));
}

TEST_F(Form1ActionsTest, YesRestartsTheMessengerThroughKoravent) {
  const auto boxes = ClickAndAnswer("Button1", {{kQuestionTitle, IDYES}});
  EXPECT_TRUE(boxes[0].Found);
  EXPECT_TRUE(PumpUntil([&] { return fs::exists(FRunDir / "Koravent.exe.started"); }, 10000));
}

TEST_F(Form1ActionsTest, OnePressEndsEveryQQAndNoOtherProgram) {
  std::vector<PROCESS_INFORMATION> started;
  int folder = 0;
  for (const wchar_t* name : {L"QQ.exe", L"qq.exe", L"QQ.EXE", L"MyQQ.exe", L"QQ.exe.bak"}) {
    const fs::path dir = FRunDir / std::to_wstring(folder++);
    fs::create_directories(dir);
    fs::copy_file(FExeDir / "kv_standin.exe", dir / name);
    std::wstring commandLine = L"\"" + (dir / name).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW((dir / name).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    started.push_back(info);
    ASSERT_TRUE(PumpUntil([&] { return fs::exists((dir / name).wstring() + L".started"); }, 10000));
  }
  Click("Button4");
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(started[i].hProcess, 0) == WAIT_OBJECT_0; }, 10000));
  EXPECT_EQ(WaitForSingleObject(started[3].hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(started[4].hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  for (PROCESS_INFORMATION& info : started) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
}

TEST_F(Form1ActionsTest, AReadOnlyFileShowsTheErrorAndStaysAsItWas) {
  const std::string before = "[Koravent]\r\n0100=1\r\n";
  std::ofstream(FIni, std::ios::binary) << before;
  fs::permissions(FIni, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const auto boxes = ClickAndAnswer("Button1", {{kAppTitle, IDOK}});
  EXPECT_EQ(boxes[0].Text, L"Unable to write to " + FIni.wstring() + L".");
  EXPECT_EQ(ReadFileBytes(FIni).value_or(""), before);
}

// Another program holds the file open for itself without read sharing: the editor cannot
// read it, so it must not replace it (nor the backup) with a file of only its own keys.
TEST_F(Form1ActionsTest, AFileThatCannotBeReadShowsTheErrorAndStaysAsItWas) {
  const std::string before = "[Koravent]\r\n0100=1\r\nFFFF=keep me\r\n";
  std::ofstream(FIni, std::ios::binary) << before;
  std::ofstream(FBak, std::ios::binary) << "old backup";
  HANDLE held = CreateFileW(FIni.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto boxes = ClickAndAnswer("Button1", {{kAppTitle, IDOK}});
  CloseHandle(held);
  EXPECT_EQ(boxes[0].Text, L"Unable to write to " + FIni.wstring() + L".");
  EXPECT_EQ(ReadFileBytes(FIni).value_or(""), before);
  EXPECT_EQ(ReadFileBytes(FBak).value_or(""), "old backup");
}

TEST_F(Form1ActionsTest, RestoreBringsBackTheFirstOfTwoApplies) {
  FForm->SetControlText("Edit1", u"111");
  ClickAndAnswer("Button1", {{kQuestionTitle, IDNO}, {kAppTitle, IDOK}});
  FForm->SetControlText("Edit1", u"222");
  ClickAndAnswer("Button1", {{kQuestionTitle, IDNO}, {kAppTitle, IDOK}});
  EXPECT_EQ(Ini(FIni, "Koravent", "0106"), "222");
  const auto boxes = ClickAndAnswer("Button2", {{kAppTitle, IDOK}});
  EXPECT_EQ(boxes[0].Text, L"恢复成功，请重新启动QQ!");
  EXPECT_EQ(Ini(FIni, "Koravent", "0106"), "111");
  EXPECT_EQ(Text("Edit1"), L"222") << "restore reloads nothing into the window";
}

TEST_F(Form1ActionsTest, RestoreWithoutABackupSaysSo) {
  const auto boxes = ClickAndAnswer("Button2", {{kAppTitle, IDOK}});
  EXPECT_TRUE(boxes[0].Found);
  EXPECT_NE(boxes[0].Text, L"恢复成功，请重新启动QQ!");
  EXPECT_FALSE(fs::exists(FIni));
}

// Only a missing backup gets the "no backup" text; a file that cannot be written says so.
TEST_F(Form1ActionsTest, RestoreOverAReadOnlyFileSaysWhy) {
  std::ofstream(FBak, std::ios::binary) << "[Koravent]\r\n0100=0\r\n";
  std::ofstream(FIni, std::ios::binary) << "[Koravent]\r\n0100=1\r\n";
  fs::permissions(FIni, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const auto boxes = ClickAndAnswer("Button2", {{kAppTitle, IDOK}});
  EXPECT_EQ(boxes[0].Text, L"Unable to write to " + FIni.wstring() + L".");
  EXPECT_EQ(ReadFileBytes(FIni).value_or(""), "[Koravent]\r\n0100=1\r\n");
}

TEST_F(Form1ActionsTest, TheShortcutIsMadeAndReplaced) {
  const fs::path link = fs::path(DesktopDirectory()) / L"Koravent配置.lnk";
  std::error_code ec;
  fs::remove(link, ec);
  for (int press = 0; press < 2; ++press) {
    const auto boxes = ClickAndAnswer("Button3", {{kAppTitle, IDOK}});
    EXPECT_EQ(boxes[0].Text, L"创建快捷方式成功!");
  }
  ASSERT_TRUE(fs::exists(link));
  const auto read = testing::ReadShortcut(link.wstring());
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Fields.Target, TForm1::ExeDirectory() + L"app_form1_actions.exe");
  EXPECT_EQ(read->Fields.WorkingDirectory, TForm1::ExeDirectory());
  EXPECT_EQ(read->Fields.Description, L"Tarnholm工作室制作");
  EXPECT_EQ(read->IconIndex, 0);
  fs::remove(link, ec);
}

TEST_F(Form1ActionsTest, LabelsResetTheirEditsAndTheClockTicks) {
  FForm->SetControlText("Edit1", u"9");
  FForm->SetControlText("Edit2", u"");
  SheetClick(175, 12);  // Label2 "老板键设置"
  SheetClick(175, 36);  // Label3 "内存整理间隔"
  EXPECT_EQ(Text("Edit1"), L"1048578");
  EXPECT_EQ(Text("Edit2"), L"45");
  EXPECT_TRUE(PumpUntil([&] { return FForm->Label7->Caption().starts_with(L"系统时间："); }, 3000));
}

TEST_F(Form1ActionsTest, TheContactLabelTurnsRedAndBlackAgainOnTheBareWindow) {
  SheetMouse(WM_MOUSEMOVE, 20, 325);
  EXPECT_TRUE(PumpUntil([&] { return FForm->Label6->Font().Color() == 0x0000FFu; }));
  // The strip between the page control and the buttons is bare window surface.
  POINT bare{100, 452};
  ClientToScreen(FForm->Handle(), &bare);
  SetCursorPos(bare.x, bare.y);
  PostMessageW(FForm->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 452));
  EXPECT_TRUE(PumpUntil([&] { return FForm->Label6->Font().Color() == 0u; }));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST_F(Form1ActionsTest, TheSkinComponentHoldsTheStoredSkinAndTheManagerIsActive) {
  TSkinData* skin = FForm->SkinData1;
  ASSERT_NE(skin, nullptr);
  EXPECT_FALSE(skin->NoSkin());
  EXPECT_TRUE(skin->Active());
  EXPECT_EQ(skin->Model().Colours.ButtonFaceColour, 0xD5E9EEu);
  ASSERT_TRUE(skin->Model().Tabs);
  EXPECT_EQ(skin->Model().Tabs->Image.Width(), 200);
  EXPECT_EQ(skin->Model().SysButtons.size(), 8u);
  ASSERT_NE(skin->MenuGlyphs(), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(skin->MenuGlyphs()), 4);
  ASSERT_NE(TSkinManage::Instance(), nullptr);
  EXPECT_TRUE(TSkinManage::Instance()->Active());
}

}  // namespace
}  // namespace kv
