// skintool end to end: pack, list and unpack a folder, and refuse hostile containers.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "PngFile.h"
#include "TestData.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinPacker.h"

namespace fs = std::filesystem;

namespace kv {
namespace {

class SkinTool : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("skintool-test-" + std::to_string(::getpid()));
    fs::remove_all(FRoot);
    fs::create_directories(FRoot / "in");
  }
  void TearDown() override { fs::remove_all(FRoot); }

  int Tool(const std::string& args) {
    const std::string command = std::string(KV_SKINTOOL) + " " + args + " >" + (FRoot / "log").string() + " 2>&1";
    return std::system(command.c_str());
  }
  void Put(const fs::path& p, const std::string& bytes) { ASSERT_TRUE(ReplaceFileContents(p, bytes)); }

  fs::path FRoot;
};

TEST_F(SkinTool, PackThenUnpackGivesTheSameFiles) {
  const fs::path in = FRoot / "in";
  Put(in / "Skin.ini", test::SampleText(3000));
  Put(in / "f-top.bmp", test::BmpLikeBytes(40, 30, 1));
  Put(in / "Noise.BMP", test::RandomBytes(7000, 4));
  Put(in / "empty.bmp", "");
  const std::string skn = (FRoot / "s.skn").string();
  ASSERT_EQ(Tool("pack " + in.string() + " " + skn), 0);
  ASSERT_EQ(Tool("list " + skn), 0);
  const std::string listing = ReadFileBytes(FRoot / "log").value_or("");
  EXPECT_NE(listing.find("7000  Noise.BMP"), std::string::npos) << listing;
  EXPECT_NE(listing.find("4 entries"), std::string::npos) << listing;
  ASSERT_EQ(Tool("unpack " + skn + " " + (FRoot / "out").string()), 0);
  for (const char* name : {"Skin.ini", "f-top.bmp", "Noise.BMP", "empty.bmp"})
    EXPECT_EQ(ReadFileBytes(FRoot / "out" / name), ReadFileBytes(in / name)) << name;
}

TEST_F(SkinTool, PackNeedsExactlyOneDefinition) {
  Put(FRoot / "in" / "a.bmp", "x");
  EXPECT_NE(Tool("pack " + (FRoot / "in").string() + " " + (FRoot / "s.skn").string()), 0);
  Put(FRoot / "in" / "a.ini", "x");
  Put(FRoot / "in" / "b.INI", "x");
  EXPECT_NE(Tool("pack " + (FRoot / "in").string() + " " + (FRoot / "s.skn").string()), 0);
  EXPECT_FALSE(fs::exists(FRoot / "s.skn"));
}

TEST_F(SkinTool, UnpackRefusesNamesThatLeaveTheFolder) {
  for (const char* evil : {"../evil.bmp", "sub/evil.bmp", "..", "c:evil.bmp"}) {
    Put(FRoot / "evil.skn", BuildSkinContainer({{"skin.ini", "x"}, {evil, "boom"}}));
    EXPECT_NE(Tool("unpack " + (FRoot / "evil.skn").string() + " " + (FRoot / "out").string()), 0) << evil;
    EXPECT_FALSE(fs::exists(FRoot / "evil.bmp"));
    EXPECT_FALSE(fs::exists(FRoot / "out" / "skin.ini"));  // nothing at all is unpacked
  }
  Put(FRoot / "junk.skn", "not a skin at all");
  EXPECT_NE(Tool("list " + (FRoot / "junk.skn").string()), 0);
}

// Windows opens a device for these names whatever follows them; refused everywhere, as
// a folder unpacked here may be copied there.
TEST_F(SkinTool, DeviceNamesAreRefusedOnEverySystem) {
  for (const char* device : {"CON", "con.bmp", "Aux.ini", "nul .bmp", "PRN.", "prn  ", "COM1.bmp", "com9", "LPT1.x.bmp",
                             "lpt5 .bmp", "CONIN$.bmp", "com0.bmp"}) {
    Put(FRoot / "device.skn", BuildSkinContainer({{"skin.ini", "x"}, {device, "boom"}}));
    EXPECT_NE(Tool("unpack " + (FRoot / "device.skn").string() + " " + (FRoot / "out").string()), 0) << device;
    EXPECT_FALSE(fs::exists(FRoot / "out" / "skin.ini")) << device;
    EXPECT_FALSE(fs::exists(FRoot / "out" / device)) << device;
  }
  // Names that only begin like a device are files like any other, and pack as well.
  const fs::path in = FRoot / "in";
  for (const char* name : {"console.bmp", "com10.bmp", "lpt.bmp", "auxiliary.bmp", "nul_.bmp", "con-x.bmp"})
    Put(in / name, name);
  Put(in / "skin.ini", "x");
  const std::string skn = (FRoot / "s.skn").string();
  ASSERT_EQ(Tool("pack " + in.string() + " " + skn), 0);
  ASSERT_EQ(Tool("unpack " + skn + " " + (FRoot / "out").string()), 0);
  EXPECT_EQ(ReadFileBytes(FRoot / "out" / "com10.bmp"), "com10.bmp");
  EXPECT_EQ(ReadFileBytes(FRoot / "out" / "con-x.bmp"), "con-x.bmp");
  Put(in / "Com1.bmp", "x");
  EXPECT_NE(Tool("pack " + in.string() + " " + (FRoot / "t.skn").string()), 0);
}

// The exit codes tell a build script what it needs to know: 0 fine, 1 problems, 2 no skin.
TEST_F(SkinTool, CheckExitCodesAndSheetFile) {
  const std::string bmp = WriteBmp24(TPixelBitmap(10, 4, 0x336699));
  Put(FRoot / "clean.skn", BuildSkinContainer({{"skin.ini", "[Buttons]\r\nBitmap=b.bmp\r\n"}, {"b.bmp", bmp}}));
  Put(FRoot / "faulty.skn", BuildSkinContainer({{"skin.ini", "[Buttons]\r\nBitmap=gone.bmp\r\n"}, {"b.bmp", bmp}}));
  Put(FRoot / "junk.skn", "not a skin at all");
  EXPECT_EQ(WEXITSTATUS(Tool("check " + (FRoot / "clean.skn").string())), 0);
  EXPECT_EQ(WEXITSTATUS(Tool("check " + (FRoot / "faulty.skn").string())), 1);
  const std::string report = ReadFileBytes(FRoot / "log").value_or("");
  EXPECT_NE(report.find("no entry gone.bmp"), std::string::npos) << report;
  EXPECT_NE(report.find("b.bmp: nothing refers to it"), std::string::npos) << report;
  EXPECT_EQ(WEXITSTATUS(Tool("check " + (FRoot / "junk.skn").string())), 2);
  EXPECT_EQ(WEXITSTATUS(Tool("check " + (FRoot / "absent.skn").string())), 2);

  ASSERT_EQ(Tool("sheet " + (FRoot / "clean.skn").string() + " " + (FRoot / "sheet.bmp").string()), 0);
  EXPECT_NE(ReadFileBytes(FRoot / "log").value_or("").find("   1  b.bmp"), std::string::npos);
  const auto sheet = ReadBmp(ReadFileBytes(FRoot / "sheet.bmp").value_or(""));
  ASSERT_TRUE(sheet.has_value());
  EXPECT_EQ(sheet->Width(), 8 + 40 + (20 + 4 + 2) + 8);  // 5 frames of 2 at 2x, 4 separators, outline
  EXPECT_EQ(sheet->Height(), 8 + (8 + 2) + 8);
  EXPECT_NE(Tool("sheet " + (FRoot / "junk.skn").string() + " " + (FRoot / "x.bmp").string()), 0);

  // The same sheet as PNG, read back pixel for pixel.
  ASSERT_EQ(Tool("sheet " + (FRoot / "clean.skn").string() + " " + (FRoot / "sheet.PNG").string()), 0);
  std::string error;
  const auto png = ReadPng(ReadFileBytes(FRoot / "sheet.PNG").value_or(""), &error);
  ASSERT_TRUE(png.has_value()) << error;
  ASSERT_EQ(png->Width(), sheet->Width());
  ASSERT_EQ(png->Height(), sheet->Height());
  EXPECT_TRUE(std::equal(png->Pixels().begin(), png->Pixels().end(), sheet->Pixels().begin()));
}

}  // namespace
}  // namespace kv
