#pragma once
// What the check and bar tests share: a form with a loaded skin whose pictures each test
// sets in place, a fake form skin owning the control skins, bare child windows, and the
// expected look of one frame composed with the portable renderers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "framework/CtrlTestFixture.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinData.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinPacker.h"
#include "skin/gdi/SkinGdi.h"
#include "support/FakeSkinHost.h"
#include "support/PixelCheck.h"
#include "support/RecordingMessenger.h"

namespace kv::test {

inline constexpr std::uint32_t kMagentaPixel = 0xFF00FF;

// A strip of `frames` cells of w x h, cell k filled with colours[k], each with a magenta
// square in its middle (where the face must show through).
inline TPixelBitmap CellStrip(int frames, int w, int h, const std::vector<std::uint32_t>& colours) {
  TPixelBitmap strip(frames * w, h, 0);
  for (int k = 0; k < frames; ++k) {
    strip.FillRect({k * w, 0, (k + 1) * w, h}, colours[std::size_t(k)]);
    strip.FillRect({k * w + w / 2 - 1, h / 2 - 1, k * w + w / 2 + 1, h / 2 + 1}, kMagentaPixel);
  }
  return strip;
}

// Magenta of `bitmap` replaced by `face`: what a keyed copy over the face shows.
inline TPixelBitmap OverFace(TPixelBitmap bitmap, std::uint32_t face) {
  for (std::uint32_t& p : bitmap.Pixels())
    if (p == kMagentaPixel) p = face;
  return bitmap;
}

class TSkinnedFormTest : public TControlTest {
 protected:
  void SetUp() override {
    TControlTest::SetUp();
    RegisterStandardProperties();
    SetExceptionHandler([this] { ++Reported; });
    Data = Form->Make<TSkinData>();
    Data->SetMessenger(&Messenger);
    const std::string container =
        BuildSkinContainer({{"skin.ini", "[Colours]\r\nButtonFace=10 200 30\r\n[Tabs]\r\nImage=tabs.bmp\r\n"},
                            {"tabs.bmp", WriteBmp24(TPixelBitmap(10, 4, 0x123456))}});
    const auto n = static_cast<std::uint32_t>(container.size());
    Data->ReadSkinStream(std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + container);
    ASSERT_FALSE(Data->NoSkin());
    Host = Form->Make<TFakeHost>();
  }
  void TearDown() override {
    EXPECT_EQ(Reported, 0) << "an error escaped a skin's handling";
    TControlTest::TearDown();
  }
  TSkinDefinition& Model() { return Data->Model(); }
  std::uint32_t Face() const { return PixelOf(ResolveColor(Data->Model().Colours.ButtonFaceColour)); }
  TWindowHandle Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return TWindowHandle(CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Form->Handle(),
                                         nullptr, GetModuleHandleW(nullptr), nullptr));
  }

  kv::testing::TRecordingMessenger Messenger;
  TSkinData* Data = nullptr;
  TFakeHost* Host = nullptr;
  TCanvas Canvas;
  int Reported = 0;
};

}  // namespace kv::test
