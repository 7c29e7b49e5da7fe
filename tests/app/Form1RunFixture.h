#pragma once
// What the editor's window tests share: TForm1 (or a test's subclass of it) made in a
// fresh application that runs from a temporary messenger folder (with a stand-in
// Koravent.exe), and the settings files it may write removed again afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "TestUtil.h"
#include "app/Unit1.h"
#include "framework/Forms.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv::test {

template <class TFormClass>
class TForm1Run : public ::testing::Test {
 protected:
  explicit TForm1Run(const char* runFolder) : FRunFolder(runFolder) {}

  void SetUp() override {
    FExeDir = std::filesystem::path(TForm1::ExeDirectory());
    std::filesystem::remove(FExeDir / "Koravent.ini");
    FRunDir = std::filesystem::temp_directory_path() / FRunFolder;
    std::filesystem::remove_all(FRunDir);
    std::filesystem::create_directories(FRunDir);
    std::ofstream(FRunDir / "Koravent.exe") << "MZ";
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    FOldDir = old;
    SetCurrentDirectoryW(FRunDir.c_str());
    FApp = std::make_unique<TApplication>();
    FApp->Initialize();
    FApp->SetTitle(kAppTitle);
    FForm = FApp->CreateForm<TFormClass>();
  }
  void TearDown() override {
    FForm = nullptr;
    FApp.reset();
    SetCurrentDirectoryW(FOldDir.c_str());
    std::filesystem::remove(FExeDir / "Koravent.ini");
    std::filesystem::remove(FExeDir / "Koravent.bak");
    std::filesystem::remove_all(FRunDir);
  }

  // Shows the window with the cursor away from it and waits for the skin to take it.
  void ShowSkinned() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    FForm->Show();
    HWND wnd = FForm->Handle();
    ASSERT_TRUE(PumpUntil(
        [&] {
          const TSkinManage* manager = TSkinManage::Instance();
          const TWinSkinForm* skin = manager ? manager->FindFormSkin(wnd) : nullptr;
          return skin && skin->SkinState() == fsReady && skin->HasRegion();
        },
        10000))
        << "the window was never skinned";
  }

  std::string FRunFolder;
  std::filesystem::path FExeDir, FRunDir;
  std::wstring FOldDir;
  std::unique_ptr<TApplication> FApp;
  TFormClass* FForm = nullptr;
};

}  // namespace kv::test
