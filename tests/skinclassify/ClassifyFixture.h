#pragma once
// What the classification tests share: a form with the program's own skin and a registry
// of control skins bound to it, and the entries that serve a control.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinData.h"
#include "skin/windows/ControlSkins.h"
#include "support/RecordingMessenger.h"

namespace kv::test {

class TClassifyTest : public TControlTest {
 protected:
  void SetUp() override {
    RegisterStandardProperties();
    TControlTest::SetUp();
    // The form's window first: a child asked for its window before its parent has one
    // gets two (the parent's creation makes the children's too).
    Form->HandleNeeded();
    SkinData = Form->Make<TSkinData>();
    SkinData->SetMessenger(&Messenger);
    SkinData->ReadSkinResource(L"KORAVENTSKIN");
    ASSERT_FALSE(SkinData->NoSkin());
    ASSERT_NE(SkinData->Model().Tabs, nullptr) << "the tab kinds need the skin's tabs";
    Skins = std::make_unique<TControlSkins>(&FormSkin, [] { return false; });
    Skins->Bind(SkinData, &Canvas);
  }
  void TearDown() override {
    Skins.reset();
    App.reset();
  }

  // The entries serving `c`: by framework control, window-less control or window handle.
  std::vector<TSkinControl*> EntriesOf(TControl* c) const {
    std::vector<TSkinControl*> found;
    auto* windowed = dynamic_cast<TWinControl*>(c);
    for (TSkinControl* skin : Skins->Items()) {
      const bool byControl = skin->Control() == c || skin->GraphicControl() == c;
      const bool byHandle =
          windowed && windowed->HandleAllocated() && !skin->Control() && skin->Handle() == windowed->Handle();
      if (byControl || byHandle) found.push_back(skin);
    }
    return found;
  }

  TComponent FormSkin;
  TCanvas Canvas;
  testing::TRecordingMessenger Messenger;
  TSkinData* SkinData = nullptr;
  std::unique_ptr<TControlSkins> Skins;
};

}  // namespace kv::test
