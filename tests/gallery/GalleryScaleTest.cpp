// The gallery at the prefix's display scale (run at 96, 120, 144 and 192 DPI): every page
// comes up as its 96-DPI layout times the scale with no text cut, also after a change of
// scale while the window is open, and the MDI demo's children follow their frame's scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "TestUtil.h"
#include "gallery/Gallery.h"
#include "skin/core/SkinData.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/ScaledFrame.h"
#include "support/ScaledLayout.h"

namespace kv::test {
namespace {

class GalleryScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(kGalleryTitle);
    Gallery = App->CreateForm<TGalleryForm>();
    ASSERT_FALSE(Gallery->HandleAllocated()) << "the layout is read before the window exists";
    Design = DesignedLayout(*Gallery);
    ClientWidth = Gallery->ClientWidth();
    ClientHeight = Gallery->ClientHeight();
    Gallery->Show();
    Pump();
  }
  void TearDown() override {
    Gallery = nullptr;
    App.reset();
    TSkinManage::DestroyInstance();
  }
  void ExpectScaled(int dpi) {
    RECT client{};
    GetClientRect(Gallery->Handle(), &client);
    EXPECT_NEAR(client.right, Scale(ClientWidth, dpi), 1) << dpi << " DPI";
    EXPECT_NEAR(client.bottom, Scale(ClientHeight, dpi), 1) << dpi << " DPI";
    ExpectScaledLayout(*Gallery, Design, dpi);
    // Text is measured on every page as it is shown.
    auto* pages = Gallery->Control<TPageControl>("PageControl1");
    ASSERT_NE(pages, nullptr);
    for (int i = 0; i < pages->PageCount(); ++i) {
      pages->SetActivePageIndex(i);
      Pump();
      ExpectTextFits(*Gallery, dpi);
    }
    pages->SetActivePageIndex(0);
  }

  std::unique_ptr<TApplication> App;
  TGalleryForm* Gallery = nullptr;
  std::vector<TDesignedControl> Design;
  int ClientWidth = 0, ClientHeight = 0;
};

TEST_F(GalleryScaleTest, ComesUpAsItsLayoutTimesTheScaleWithNoTextCut) { ExpectScaled(PrefixDpi()); }

TEST_F(GalleryScaleTest, ScaleChangeLaysItOutAsAWindowMadeAtTheNewScale) {
  const int dpi = PrefixDpi();
  HWND wnd = Gallery->Handle();
  // There and back, the first way down: the test desktop has room at the prefix's scale.
  int from = dpi;
  for (const int to : {dpi == 96 ? 72 : 96, dpi}) {
    SendScaleChange(wnd, std::exchange(from, to), to);
    Pump();
    ExpectScaled(to);
  }
}

TEST_F(GalleryScaleTest, MdiChildrenFollowTheirFramesScaleWithTheirSkinnedFrames) {
  const int dpi = PrefixDpi(), to = dpi == 96 ? 144 : 96;
  Gallery->OpenMdiDemo();
  Pump();
  TForm* frame = Gallery->MdiDemo();
  ASSERT_NE(frame, nullptr);
  ASSERT_GT(frame->MDIChildCount(), 0);
  SendScaleChange(frame->Handle(), dpi, to);
  Pump();
  for (int i = 0; i < frame->MDIChildCount(); ++i) {
    TForm* child = frame->MDIChildren(i);
    SCOPED_TRACE(std::string("child ") + std::to_string(i) + ", " + std::to_string(dpi) + " to " + std::to_string(to) +
                 " DPI");
    EXPECT_EQ(child->Dpi(), to);
    for (int c = 0; c < child->ComponentCount(); ++c) {
      auto* control = dynamic_cast<TControl*>(child->Components(c));
      if (!control || control->Parent() != child) continue;
      const RECT design = control->DesignBounds();
      EXPECT_NEAR(control->Width(), Scale(design.right - design.left, to), 1) << control->Name();
      EXPECT_NEAR(control->Height(), Scale(design.bottom - design.top, to), 1) << control->Name();
    }
    const TSkinManage* manager = TSkinManage::Instance();
    const TWinSkinForm* skin = manager ? manager->FindFormSkin(child->Handle()) : nullptr;
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->SkinData(), nullptr);
    ExpectFrameAtScale(*skin, skin->SkinData()->ModelAt(kDefaultDpi), to);
  }
}

}  // namespace
}  // namespace kv::test
