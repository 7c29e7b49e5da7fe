#pragma once
// What the skinned-window tests share: an application, forms in the middle of the screen,
// skin data components holding the program's own skin (built in as "KORAVENTSKIN"), and
// waiting for a form skin to be ready.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/win/Handles.h"
#include "framework/Forms.h"
#include "framework/TestUtil.h"
#include "skin/core/SkinData.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv::test {

// A small icon of one colour (green, opaque), for the caption's icon button to show.
inline TIconHandle GreenSmallIcon() {
  const int size = GetSystemMetrics(SM_CXSMICON);
  std::vector<std::uint32_t> green(std::size_t(size * size), 0x0000C000);
  TBitmapHandle colour(CreateBitmap(size, size, 1, 32, green.data()));
  std::vector<std::uint8_t> opaque(std::size_t(size * size / 8 + size * 2), 0);
  TBitmapHandle mask(CreateBitmap(size, size, 1, 1, opaque.data()));
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return TIconHandle(CreateIconIndirect(&info));
}

class TSkinFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"Skin form test");
    Host = App->CreateForm<TForm>();  // owns the skin data components
  }
  void TearDown() override {
    TSkinManage::DestroyInstance();
    App.reset();
  }

  // A component holding the program's skin (or none), loaded as a form loads it.
  TSkinData* AddSkinData(TSkinFormType type = sfMainform, bool withSkin = true, TComponent* owner = nullptr) {
    auto* data = (owner ? owner : Host)->Make<TSkinData>();
    data->SetSkinFormtype(type);
    if (withSkin) data->ReadSkinResource(L"KORAVENTSKIN");
    data->SetActive(true);
    data->Loaded();
    return data;
  }

  TForm* MakeForm(TFormBorderStyle style = bsSizeable, int clientWidth = 320, int clientHeight = 200) {
    TForm* form = App->CreateForm<TForm>();
    form->SetBorderStyle(style);
    form->SetPosition(poDesktopCenter);
    form->SetClientSize(clientWidth, clientHeight);
    form->SetCaption(L"Skinned");
    return form;
  }

  static TSkinManage& Manager() { return *TSkinManage::Instance(); }

  // Shows the form and waits until its form skin has fitted the frame.
  static TWinSkinForm* ShowSkinned(TForm* form) {
    form->Show();
    TWinSkinForm* skin = nullptr;
    PumpUntil([&] {
      skin = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(form->Handle()) : nullptr;
      return skin && skin->SkinState() == fsReady;
    });
    Pump();
    return skin;
  }

  // The platform's frame: no skin, no region, the system's non-client size at the sides
  // and the bottom (a menu bar may wrap, which only the top shows).
  static ::testing::AssertionResult ShowsPlatformFrame(HWND window) {
    if (TSkinManage::Instance() && TSkinManage::Instance()->FindFormSkin(window))
      return ::testing::AssertionFailure() << "still skinned";
    if (SendMessageW(window, SM_ISSKINNED, 0, 0) == 1) return ::testing::AssertionFailure() << "answers skinned";
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    const int region = GetWindowRgn(window, probe);
    DeleteObject(probe);
    if (region != ERROR) return ::testing::AssertionFailure() << "keeps a window region";
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    RECT adjusted = client;
    AdjustWindowRectEx(&adjusted, DWORD(GetWindowLongW(window, GWL_STYLE)), GetMenu(window) != nullptr,
                       DWORD(GetWindowLongW(window, GWL_EXSTYLE)));
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int left = origin.x - outer.left, right = outer.right - (origin.x + client.right);
    const int bottom = outer.bottom - (origin.y + client.bottom);
    if (left != -adjusted.left || right != adjusted.right - client.right || bottom != adjusted.bottom - client.bottom)
      return ::testing::AssertionFailure()
             << "frame " << left << "/" << right << "/" << bottom << ", the platform's " << -adjusted.left << "/"
             << adjusted.right - client.right << "/" << adjusted.bottom - client.bottom;
    return ::testing::AssertionSuccess();
  }

  static RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  static SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
  }

  std::unique_ptr<TApplication> App;
  TForm* Host = nullptr;
};

}  // namespace kv::test
