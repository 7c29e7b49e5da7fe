// The skinned frame at the prefix's display scale (run at 96 and 144 DPI): borders and
// caption strip are the skin's 96-DPI pieces times the scale, the caption text is whole
// inside its strip, and the window region is cut from the scaled pictures' key.
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinFormFixture.h"
#include "base/win/Dpi.h"
#include "support/ScaledFrame.h"
#include "support/ScaledLayout.h"

namespace kv::test {
namespace {

class ScaledFrameTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
    Dpi = PrefixDpi();
  }

  TSkinData* Data = nullptr;
  int Dpi = kDefaultDpi;
};

TEST_F(ScaledFrameTest, BordersAndCaptionStripAreTheSkinsTimesTheScale) {
  TForm* form = MakeForm(bsSizeable, 320, 200);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  ExpectFrameAtScale(*skin, Data->ModelAt(kDefaultDpi), Dpi);
}

TEST_F(ScaledFrameTest, CaptionTextIsWholeInsideItsStrip) {
  TForm* form = MakeForm(bsSizeable, 320, 200);
  form->SetCaption(L"Skinned Wg|");
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  ASSERT_TRUE(skin->IsActive());
  ExpectCaptionTextWhole(*skin, *Data, Dpi);
}

TEST_F(ScaledFrameTest, RegionIsCutFromTheScaledKey) {
  TForm* form = MakeForm(bsSizeable, 320, 200);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  ASSERT_TRUE(skin->HasRegion());
  ExpectRegionFromScaledKey(*skin, Data->ModelAt(kDefaultDpi), Data->ModelAt(Dpi), Dpi);
}

}  // namespace
}  // namespace kv::test
