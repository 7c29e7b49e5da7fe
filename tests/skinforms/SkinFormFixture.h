#pragma once
// What the skinned-window tests share: an application, forms in the middle of the screen,
// skin data components holding the program's own skin (built in as "KORAVENTSKIN"), and
// waiting for a form skin to be ready.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/TestUtil.h"
#include "skin/core/SkinData.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv::test {

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
