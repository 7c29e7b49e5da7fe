// The gallery's window, frame included, against its stored pictures: every page in each
// skin it carries, active and inactive, held still as for a screenshot (no clock, the
// focus on the tabs, the mouse away); at 96 DPI and at 144 (pictures NAME@144.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>

#include "GoldenPicture.h"
#include "TestUtil.h"
#include "support/ScaledLayout.h"
#include "gallery/Gallery.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

using test::PumpUntil;

std::string Lower(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out.push_back(char(std::towlower(*text)));
  return out;
}

// The parameter: an index into kGallerySkins, which the window starts with.
class GalleryGoldenTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    FApp = std::make_unique<TApplication>();
    FApp->Initialize();
    FApp->SetTitle(kGalleryTitle);
    TGalleryForm::SetStartSkin(kGallerySkins[std::size_t(GetParam())].Name);
    FGallery = FApp->CreateForm<TGalleryForm>();
    TGalleryForm::SetStartSkin(L"");
    ASSERT_EQ(FGallery->SkinChoice(), GetParam()) << "the skin did not load";
    FGallery->Show();
    ASSERT_TRUE(PumpUntil([this] { return Skin() && Skin()->HasRegion(); }, 10000)) << "never skinned";
  }
  void TearDown() override {
    FGallery = nullptr;
    FApp.reset();
    TSkinManage::DestroyInstance();
  }

  const TWinSkinForm* Skin() const {
    const TSkinManage* manager = TSkinManage::Instance();
    const TWinSkinForm* skin = manager ? manager->FindFormSkin(FGallery->Handle()) : nullptr;
    return skin && skin->SkinState() == fsReady ? skin : nullptr;
  }

  std::unique_ptr<TApplication> FApp;
  TGalleryForm* FGallery = nullptr;
};

TEST_P(GalleryGoldenTest, EveryPageActiveAndInactive) {
  test::TPagedWindow window;
  window.Window = FGallery->Handle();
  window.Name = "gallery-" + Lower(kGallerySkins[std::size_t(GetParam())].Name);
  for (const wchar_t* page : kGalleryPages) window.PageNames.push_back(Lower(page));
  window.ShowPage = [this](int page, bool active) {
    if (active) {
      TGalleryOptions still;
      still.Page = page;
      still.Shot = true;
      FGallery->ApplyOptions(still);
    } else {
      // The still options also move the focus, which would activate the window again.
      FGallery->Pages()->SetActivePageIndex(page);
    }
    ASSERT_EQ(FGallery->Pages()->ActivePageIndex(), page);
  };
  window.IsActive = [this] { return Skin() && Skin()->IsActive(); };
  window.Dpi = test::PrefixDpi();
  test::CheckEveryPage(window);
}

INSTANTIATE_TEST_SUITE_P(Skins, GalleryGoldenTest, ::testing::Range(0, int(kGallerySkins.size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return Lower(kGallerySkins[std::size_t(info.param)].Name);
                         });

}  // namespace
}  // namespace kv
