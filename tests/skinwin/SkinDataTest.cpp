// The skin data component and the skin manager, as far as they go without form skins.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "skin/core/SkinData.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinPacker.h"
#include "skin/windows/WinSkinManage.h"
#include "support/RecordingMessenger.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using testing::TRecordingMessenger;

std::string Definition(std::string_view face) {
  return "[Colours]\r\nButtonFace=" + std::string(face) + "\r\n[Tabs]\r\nImage=tabs.bmp\r\n";
}

std::string Container(std::string_view face) {
  return BuildSkinContainer({{"skin.ini", Definition(face)}, {"tabs.bmp", WriteBmp24(TPixelBitmap(10, 4, 0x123456))}});
}

std::string Stream(std::string_view container) {
  const auto n = static_cast<std::uint32_t>(container.size());
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + std::string(container);
}

// Pumps messages until `done` holds, for at most two seconds.
template <class F>
bool PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  return done();
}

class SkinDataTest : public ::testing::Test {
 protected:
  void TearDown() override {
    FOwner.reset();
    TSkinManage::DestroyInstance();
  }
  TSkinData* MakeSkinData() {
    TSkinData* data = FOwner->Make<TSkinData>();
    data->SetMessenger(&FMessenger);
    return data;
  }
  std::unique_ptr<TComponent> FOwner = std::make_unique<TComponent>();
  TRecordingMessenger FMessenger;
};

TEST_F(SkinDataTest, StartsWithItsDefaults) {
  TSkinData* data = MakeSkinData();
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(data->DisableTag(), 99);
  EXPECT_EQ(data->SkinControls().Bits(), 0x3FFFFu);
  EXPECT_EQ(data->SkinControls().Stored(), (std::array<std::uint8_t, 3>{0xFF, 0xFF, 0x03}));
  EXPECT_FALSE(data->SkinControls().Contains(xcFastReport));
  ASSERT_EQ(data->Skin3rd().Count(), 95);
  EXPECT_EQ(data->Skin3rd()[0], L"TTBDock=Panel");
  EXPECT_EQ(data->Skin3rd()[94], L"TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(data->SkinFormtype(), sfMainform);
  EXPECT_TRUE(data->MenuUpdate());
  EXPECT_EQ(data->SkinStore(), L"(none)");
  EXPECT_TRUE(data->NoSkin());
  EXPECT_TRUE(data->Model().Buttons && data->Model().Title && data->Model().BorderTop);
  EXPECT_EQ(TSkinManage::Instance(), nullptr) << "no manager before a component has loaded";
}

TEST_F(SkinDataTest, MenuGlyphsComeFromTheProgramsBitmap) {
  TSkinData* data = MakeSkinData();
  ASSERT_NE(data->MenuGlyphs(), nullptr);
  ASSERT_EQ(ImageList_GetImageCount(data->MenuGlyphs()), 4);
  // Draw the close glyph over green: its cross is black, its white corners let green show.
  TBitmap target(16, 16);
  HDC dc = target.Canvas().Handle();
  const TBrushHandle green(CreateSolidBrush(RGB(0, 200, 0)));
  RECT all{0, 0, 16, 16};
  FillRect(dc, &all, green.Get());
  ImageList_Draw(data->MenuGlyphs(), 3, dc, 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 200, 0));
  EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 0, 0));
}

TEST_F(SkinDataTest, TheStoredSkinIsParsedAsSoonAsItIsRead) {
  TSkinData* data = MakeSkinData();
  const std::string stream = Stream(Container("238 233 213"));
  data->ReadSkinStream(stream);
  EXPECT_FALSE(data->NoSkin());
  EXPECT_EQ(data->Model().Colours.ButtonFaceColour, 0xD5E9EEu);
  ASSERT_TRUE(data->Model().Tabs);
  EXPECT_EQ(data->Model().Tabs->Image.Width(), 10);
  EXPECT_NE(data->ButtonFaceBrush(), nullptr);
  EXPECT_EQ(data->WriteSkinStream(), stream);
  data->ReadSkinStream(std::string(4, '\0'));  // an empty stream changes nothing
  EXPECT_EQ(data->WriteSkinStream(), stream);
  EXPECT_TRUE(FMessenger.FMessages.empty());
}

TEST_F(SkinDataTest, AnOlderOrBrokenSkinLeavesNoSkin) {
  TSkinData* data = MakeSkinData();
  std::string image = BuildSkinImage({{"skin.ini", Definition("1 2 3")}});
  image[0] = 0x10;  // version 10000 + ...
  data->ReadSkinStream(Stream(PackSkinImage(image)));
  EXPECT_TRUE(data->NoSkin());
  EXPECT_EQ(FMessenger.FMessages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
  data->ReadSkinStream(Stream("garbage that is no container"));
  EXPECT_TRUE(data->NoSkin());
  data->SetActive(true);
  data->Loaded();
  EXPECT_FALSE(data->Active()) << "a main-form component without a skin turns itself off";
  EXPECT_FALSE(TSkinManage::Instance()->Active());
}

TEST_F(SkinDataTest, LoadingRegistersAndActivatesAtOnceBeforeAnyWindowWasActivated) {
  TSkinData* data = MakeSkinData();
  data->SetActive(true);  // only stored while the form is being built
  data->ReadSkinStream(Stream(Container("1 2 3")));
  data->Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->SkinDataList(), std::vector<TSkinData*>{data});
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_TRUE(manager->Active());
  EXPECT_FALSE(manager->ActionTimer().Enabled()) << "no timer while no window was activated";
  FOwner->DestroyComponent(data);
  EXPECT_TRUE(manager->SkinDataList().empty());
}

TEST_F(SkinDataTest, ActiveOnAComponentWithoutSkinRequestsNothing) {
  TSkinData* data = MakeSkinData();
  data->Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  manager->IncrementActivationCounter();
  data->SetActive(true);
  EXPECT_TRUE(data->Active());
  EXPECT_FALSE(manager->ActionTimer().Enabled());
  EXPECT_EQ(manager->PendingSkinData(), nullptr);
}

TEST_F(SkinDataTest, ADialogComponentOnlyStoresActive) {
  TSkinData* data = MakeSkinData();
  data->SetSkinFormtype(sfDialog);
  data->ReadSkinStream(Stream(Container("1 2 3")));
  data->Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->ActivationCounter(), 1);
  data->SetActive(true);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(manager->PendingAction(), saNone);
  EXPECT_FALSE(manager->HookInstalled());
}

TEST_F(SkinDataTest, ClassFilter) {
  TSkinData* data = MakeSkinData();
  bool doSkin = true;
  data->DoFormSkin(L"TfrDesignerForm", doSkin);
  EXPECT_TRUE(doSkin);
  data->SetSkinControls(data->SkinControls().With(xcFastReport));
  data->DoFormSkin(L"TfrDesignerForm", doSkin);
  EXPECT_FALSE(doSkin);
  doSkin = true;
  data->DoFormSkin(L"SysMonthCal32", doSkin);
  EXPECT_FALSE(doSkin);
  data->OnFormSkin = [](TComponent*, std::wstring_view, bool& answer) { answer = true; };
  doSkin = false;
  data->DoFormSkin(L"SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
}

TEST_F(SkinDataTest, ASkinFileReloadsTheModelAndRefreshesThroughTheTimer) {
  testing::TTempDir dir;
  dir.Write("other.skn", Container("10 20 30"));
  TSkinData* data = MakeSkinData();
  data->ReadSkinStream(Stream(Container("1 2 3")));
  data->Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  manager->IncrementActivationCounter();  // as after the first window activation
  int changed = 0;
  data->OnSkinChanged = [&](TComponent* sender) { changed += sender == data; };
  data->SetSkinFile((dir / "other.skn").wstring());
  EXPECT_EQ(data->Model().Colours.ButtonFaceColour, 0x1E140Au);
  EXPECT_EQ(manager->PendingAction(), saRefresh);
  EXPECT_TRUE(manager->ActionTimer().Enabled());
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(PumpUntil([&] { return changed == 1; }));
  EXPECT_EQ(manager->PendingSkinData(), nullptr);

  // A file that is missing or holds no skin leaves the skin shown (and the stored skin)
  // as it was; only the path is taken.
  const std::string stored = data->WriteSkinStream();
  dir.Write("half.skn", Container("40 50 60").substr(0, 30));
  for (const char* name : {"missing.skn", "half.skn"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(data->SetSkinFile((dir / name).wstring()));
    EXPECT_EQ(data->SkinFile(), (dir / name).wstring());
    EXPECT_FALSE(data->NoSkin());
    EXPECT_EQ(data->Model().Colours.ButtonFaceColour, 0x1E140Au);
    EXPECT_EQ(data->WriteSkinStream(), stored);
  }
}

TEST_F(SkinDataTest, TheGoverningComponentOfAWindow) {
  TSkinData* main = MakeSkinData();
  TSkinData* dialog = MakeSkinData();
  dialog->SetSkinFormtype(sfDialog);
  main->Loaded();
  dialog->Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  HWND box = CreateWindowExW(0, L"#32770", L"box", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND plain = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(manager->FindSkinData(box), dialog);
  EXPECT_EQ(manager->FindSkinData(plain), main);
  EXPECT_TRUE(manager->CanSkinClass(L"TForm1"));
  EXPECT_FALSE(manager->CanSkinClass(L"SysMonthCal32"));
  FOwner->DestroyComponent(dialog);
  EXPECT_EQ(manager->FindSkinData(box), main) << "without a dialog component the main one governs boxes";
  DestroyWindow(box);
  DestroyWindow(plain);
}

}  // namespace
}  // namespace kv
