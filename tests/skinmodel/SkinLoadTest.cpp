// Whole skins through LoadSkinModel, the way the program loads one at run time: hostile
// containers end as "no skin", never as an abort or gigabytes of pictures.
#include <gtest/gtest.h>

#include "skin/data/SkinContainer.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinPacker.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using testing::TRecordingMessenger;

// A 1-bit BMP of width x height, all of colour 0: a few bytes per thousand pixels once
// packed.
std::string OneBitBmp(int width, int height) {
  const std::size_t stride = ((std::size_t(width) + 31) / 32) * 4;
  std::string b = "BM";
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
  };
  u32(std::uint32_t(62 + stride * std::size_t(height))), u32(0), u32(62);
  u32(40), u32(std::uint32_t(width)), u32(std::uint32_t(height));
  b.push_back(1), b.push_back(0), b.push_back(1), b.push_back(0);
  for (int i = 0; i < 6; ++i) u32(0);
  u32(0x00336699), u32(0x00FFFFFF);
  b.append(stride * std::size_t(height), '\0');
  return b;
}

// One picture named by `buttons` caption-button sections.
std::string ManyButtons(int side, int buttons) {
  std::string definition = "[TitlebarSkin]\r\nSkinName=Many\r\n";
  for (int i = 0; i < buttons; ++i)
    definition += "[Button" + std::to_string(i) + "]\r\nAction=1\r\nButtonImage=big.bmp\r\n";
  return BuildSkinContainer({{"many.ini", definition}, {"big.bmp", OneBitBmp(side, side)}});
}

TEST(SkinLoad, OnePictureNamedByManyButtonsStaysWithinTheBudget) {
  TSkinDefinition model;
  ASSERT_TRUE(LoadSkinModel(ManyButtons(200, 40), model, nullptr));
  ASSERT_EQ(model.SysButtons.size(), 40u + 3u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(model.SysButtons[std::size_t(i)]->Image.Width(), 200) << i;
  EXPECT_EQ(model.SysButtons[39]->Image.Pixel(199, 199), 0x336699u);
}

// 60 KB that once took 3.7 GB (23 million pixels copied for every button) and ended the
// program when memory ran out.
TEST(SkinLoad, OneHugePictureNamedByFortyButtonsIsNoSkin) {
  const std::string hostile = ManyButtons(4800, 40);
  ASSERT_LT(hostile.size(), 80u * 1024);
  TRecordingMessenger messenger;
  TSkinDefinition model;
  ASSERT_TRUE(LoadSkinModel(ManyButtons(20, 2), model, &messenger));
  EXPECT_FALSE(LoadSkinModel(hostile, model, &messenger));
  EXPECT_EQ(model.SkinName, "Many") << "the model is left as it was";
  EXPECT_EQ(model.SysButtons.size(), 2u + 3u);
  EXPECT_EQ(model.SysButtons[0]->Image.Width(), 20);
  EXPECT_TRUE(messenger.FMessages.empty()) << "only an older skin has a message";

  // The same through the reader the tools use, with a budget of their own.
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(ManyButtons(20, 2)));
  std::set<std::string> requested;
  EXPECT_TRUE(LoadSkinModel(reader, model, 20 * 20 * 3, &requested));
  EXPECT_EQ(requested, std::set<std::string>{"big.bmp"});
  EXPECT_FALSE(LoadSkinModel(reader, model, 20 * 20 * 3 - 1));
}

}  // namespace
}  // namespace kv
