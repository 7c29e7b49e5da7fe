// The gallery at the prefix's display scale (run at 96, 120, 144 and 192 DPI): every page
// comes up as its 96-DPI layout times the scale with no text cut, also after a change of
// scale while the window is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <utility>

#include "TestUtil.h"
#include "gallery/Gallery.h"
#include "skin/windows/WinSkinManage.h"
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

}  // namespace
}  // namespace kv::test
