// The editor at the prefix's display scale (run at 96, 120, 144 and 192 DPI): it comes up
// as its 96-DPI layout times the scale with no text cut, and a change of scale while it
// is open lays it out as a window made at the new scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>

#include "TestUtil.h"
#include "app/Unit1.h"
#include "skin/windows/WinSkinManage.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class Form1ScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunDir = fs::temp_directory_path() / "kv-form1-scale";
    fs::remove_all(RunDir);
    fs::create_directories(RunDir);
    std::ofstream(RunDir / "Koravent.exe") << "MZ";
    fs::remove(fs::path(TForm1::ExeDirectory()) / "Koravent.ini");
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    OldDir = old;
    SetCurrentDirectoryW(RunDir.c_str());
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(kAppTitle);
    Form = App->CreateForm<TForm1>();
    ASSERT_FALSE(Form->HandleAllocated()) << "the layout is read before the window exists";
    Design = test::DesignedLayout(*Form);
    ClientWidth = Form->ClientWidth();
    ClientHeight = Form->ClientHeight();
    Form->Show();
    test::Pump();
  }
  void TearDown() override {
    Form = nullptr;
    App.reset();
    TSkinManage::DestroyInstance();
    SetCurrentDirectoryW(OldDir.c_str());
    fs::remove(fs::path(TForm1::ExeDirectory()) / "Koravent.ini");
    fs::remove_all(RunDir);
  }
  void ExpectClient(int dpi) {
    RECT client{};
    GetClientRect(Form->Handle(), &client);
    EXPECT_NEAR(client.right, test::Scale(ClientWidth, dpi), 1) << dpi << " DPI";
    EXPECT_NEAR(client.bottom, test::Scale(ClientHeight, dpi), 1) << dpi << " DPI";
  }

  fs::path RunDir;
  std::wstring OldDir;
  std::unique_ptr<TApplication> App;
  TForm1* Form = nullptr;
  std::vector<test::TDesignedControl> Design;
  int ClientWidth = 0, ClientHeight = 0;
};

TEST_F(Form1ScaleTest, ComesUpAsItsLayoutTimesTheScaleWithNoTextCut) {
  const int dpi = test::PrefixDpi();
  ExpectClient(dpi);
  test::ExpectScaledLayout(*Form, Design, dpi);
  test::ExpectTextFits(*Form, dpi);
}

TEST_F(Form1ScaleTest, ScaleChangeLaysItOutAsAWindowMadeAtTheNewScale) {
  const int dpi = test::PrefixDpi();
  HWND wnd = Form->Handle();
  // There and back: the way back must land where the window started, not drift. Down to
  // a smaller scale: the test desktop has room for the window at its own scale only.
  int from = dpi;
  for (const int to : {dpi == 96 ? 72 : 96, dpi}) {
    const RECT suggested = test::SendScaleChange(wnd, std::exchange(from, to), to);
    test::Pump();
    RECT now{};
    GetWindowRect(wnd, &now);
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    ExpectClient(to);
    test::ExpectScaledLayout(*Form, Design, to);
    test::ExpectTextFits(*Form, to);
  }
}

}  // namespace
}  // namespace kv
