#include <gtest/gtest.h>

#include "ini/IniFile.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using testing::TTempDir;

class IniFileTest : public ::testing::Test {
 protected:
  std::string ReadKey(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view fallback = "<default>") {
    FDir.Write("k.ini", file);
    TIniFile ini(FDir / "k.ini");
    return ini.ReadString(section, key, fallback);
  }
  // Applies `writes` to `before` and returns the file's bytes afterwards.
  std::string AfterWrites(std::string_view before,
                          std::initializer_list<std::array<std::string_view, 3>> writes) {
    FDir.Write("k.ini", before);
    TIniFile ini(FDir / "k.ini");
    for (const auto& w : writes) ini.WriteString(w[0], w[1], w[2]);
    ini.Close();
    return FDir.Read("k.ini");
  }
  TTempDir FDir;
};

TEST_F(IniFileTest, ReadingTrimsBlanksAndOnePairOfMatchingQuotes) {
  EXPECT_EQ(ReadKey("[S]\nk=  a b \t\n", "S", "k"), "a b");
  EXPECT_EQ(ReadKey("[S]\nk=\"  abc  \"\n", "S", "k"), "  abc  ");
  EXPECT_EQ(ReadKey("[S]\nk= 'x' \n", "S", "k"), "x");
  EXPECT_EQ(ReadKey("[S]\nk=\"\"x\"\"\n", "S", "k"), "\"x\"");
  EXPECT_EQ(ReadKey("[S]\nk=\"x'\n", "S", "k"), "\"x'");
  EXPECT_EQ(ReadKey("[S]\nk=\"\n", "S", "k"), "\"");
  EXPECT_EQ(ReadKey("[S]\nk=\"\"\n", "S", "k"), "");
  EXPECT_EQ(ReadKey("[S]\nk=a=b\n", "S", "k"), "a=b");
  EXPECT_EQ(ReadKey("[S]\r\nk=v\r\n", "S", "k"), "v");
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndFirstOccurrenceWins) {
  EXPECT_EQ(ReadKey("[Koravent]\n020A=2\n", "koravent", "020a"), "2");
  EXPECT_EQ(ReadKey("  [ WorkerDll ]  \n  Enable = 1\n", "WORKERDLL", "enable"), "1");
  EXPECT_EQ(ReadKey("[S]\nk=1\nK=2\n[S]\nk=3\n", "S", "k"), "1");
  EXPECT_EQ(ReadKey("[T]\nk=1\n[S]\nj=2\n", "S", "k"), "<default>");
  EXPECT_EQ(ReadKey("k=0\n[S]\n", "S", "k"), "<default>");
  EXPECT_EQ(ReadKey("[S]\n;k=1\n#k=2\nk=3\n", "S", "k"), "3");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  TIniFile ini(FDir / "none.ini");
  EXPECT_EQ(ini.ReadString("Koravent", "0106", "1048578"), "1048578");
  EXPECT_EQ(ini.ReadInteger("Koravent", "0202", 45), 45);
  EXPECT_FALSE(ini.ReadBool("Koravent", "0100", false));
  EXPECT_TRUE(ini.ReadBool("Koravent", "0100", true));
  EXPECT_EQ(FDir.Count(), 0u) << "opening and reading must not create the file";
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Bytes) {
  const std::string longValue(3000, 'v');
  EXPECT_EQ(ReadKey("[S]\nk=" + longValue + "\n", "S", "k").size(), 2047u);
  EXPECT_EQ(ReadKey("[S]\nk=\"" + std::string(2047, 'q') + "\"\n", "S", "k").size(), 2047u);
}

TEST_F(IniFileTest, IntegersAndFlagsFollowTheIntegerRule) {
  FDir.Write("k.ini", "[K]\na=2\nb=0x1\nc=yes\nd=-1\ne=\"$10\"\nf=0\ng=\n");
  TIniFile ini(FDir / "k.ini");
  EXPECT_EQ(ini.ReadInteger("K", "a", 0), 2);
  EXPECT_TRUE(ini.ReadBool("K", "b", false));
  EXPECT_FALSE(ini.ReadBool("K", "c", false));
  EXPECT_TRUE(ini.ReadBool("K", "c", true));  // a malformed value yields the default
  EXPECT_TRUE(ini.ReadBool("K", "d", false));
  EXPECT_EQ(ini.ReadInteger("K", "e", 0), 16);
  EXPECT_FALSE(ini.ReadBool("K", "f", true));
  EXPECT_EQ(ini.ReadInteger("K", "g", 7), 7);
}

TEST_F(IniFileTest, WriteReplacesTheLineInPlaceAndKeepsEverythingElse) {
  EXPECT_EQ(AfterWrites("; settings\n[Koravent]\n0100=0\n; note\n020A = 1\n[WorkerDll]\nEnable=0\n",
                        {{"Koravent", "020a", "2"}, {"koravent", "0100", "1"}}),
            "; settings\n[Koravent]\n0100=1\n; note\n020A =2\n[WorkerDll]\nEnable=0\n");
}

TEST_F(IniFileTest, WriteAddsMissingKeysAtTheEndOfTheirSection) {
  EXPECT_EQ(AfterWrites("[A]\nx=1\n\n[B]\ny=2\n", {{"A", "z", "3"}, {"B", "w", "4"}}),
            "[A]\nx=1\nz=3\n\n[B]\ny=2\nw=4\n");
  EXPECT_EQ(AfterWrites("[A]", {{"A", "z", "3"}}), "[A]\r\nz=3\r\n");
}

TEST_F(IniFileTest, WriteAddsMissingSectionsAtTheEndOfTheFile) {
  EXPECT_EQ(AfterWrites("[A]\nx=1", {{"WorkerDll", "Enable", "1"}}), "[A]\nx=1\n[WorkerDll]\nEnable=1\n");
}

TEST_F(IniFileTest, WriteCreatesAMissingFileWithWindowsLineEnds) {
  TIniFile ini(FDir / "new.ini");
  ini.WriteString("Koravent", "0106", "1048578");
  ini.WriteBool("WorkerDll", "Enable", true);
  ini.Close();
  EXPECT_EQ(FDir.Read("new.ini"), "[Koravent]\r\n0106=1048578\r\n[WorkerDll]\r\nEnable=1\r\n");
}

TEST_F(IniFileTest, EachLineKeepsItsOwnLineEnd) {
  EXPECT_EQ(AfterWrites("[A]\r\nx=1\ny=2\r\n", {{"A", "y", "3"}, {"A", "z", "4"}}),
            "[A]\r\nx=1\ny=3\r\nz=4\r\n");
}

TEST_F(IniFileTest, ByteOrderMarkIsKeptAndDoesNotHideTheFirstSection) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(ReadKey(bom + "[Koravent]\n0100=1\n", "Koravent", "0100"), "1");
  EXPECT_EQ(AfterWrites(bom + "[Koravent]\n0100=1\n", {{"Koravent", "0100", "0"}}), bom + "[Koravent]\n0100=0\n");
}

TEST_F(IniFileTest, ValuesAreWrittenVerbatimButStayOnOneLine) {
  EXPECT_EQ(AfterWrites("[S]\n", {{"S", "q", "\"  a  \""}, {"S", "n", "a\r\n[Evil]\nk=1"}}),
            "[S]\nq=\"  a  \"\nn=a  [Evil] k=1\n");
}

TEST_F(IniFileTest, WritesAreBufferedUntilClose) {
  FDir.Write("k.ini", "[S]\nk=1\n");
  {
    TIniFile ini(FDir / "k.ini");
    ini.WriteString("S", "k", "2");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "2");
    EXPECT_EQ(FDir.Read("k.ini"), "[S]\nk=1\n");
    ini.Close();
    EXPECT_EQ(FDir.Read("k.ini"), "[S]\nk=2\n");
    ini.WriteString("S", "k", "3");
  }  // the destructor flushes what Close() did not see
  EXPECT_EQ(FDir.Read("k.ini"), "[S]\nk=3\n");
}

TEST_F(IniFileTest, AnExceptionUnwindingDropsHalfDoneWrites) {
  FDir.Write("k.ini", "[S]\nk=1\n");
  try {
    TIniFile ini(FDir / "k.ini");
    ini.WriteString("S", "k", "2");
    throw std::runtime_error("stop");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(FDir.Read("k.ini"), "[S]\nk=1\n");
}

TEST_F(IniFileTest, AFailedFlushRaisesTheErrorAndLeavesTheFileWhole) {
  const std::string before = "[Koravent]\r\n0100=0\r\n";
  FDir.Write("k.ini", before);
  testing::MakeReadOnly(FDir / "k.ini");
  TIniFile ini(FDir / "k.ini");
  ini.WriteString("Koravent", "0100", "1");
  try {
    ini.Close();
    FAIL() << "expected EIniWriteError";
  } catch (const EIniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(FDir / "k.ini"));
  }
  EXPECT_EQ(FDir.Read("k.ini"), before);
  EXPECT_EQ(FDir.Count(), 1u);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(IniFileInMemory, ReadsTextAndListsSectionsOnceInFileOrder) {
  TIniFile ini = TIniFile::FromText("[Button0]\r\nAction=0\r\n[ToolBars]\r\n[button0]\r\nAction=9\r\n[Colours]\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Button0", "ToolBars", "Colours"}));
  EXPECT_EQ(ini.ReadInteger("BUTTON0", "action", -1), 0);
  EXPECT_EQ(ini.ReadString("Toolbars", "Image", ""), "");
  ini.WriteString("New", "k", "v");  // stays in memory
  EXPECT_EQ(ini.ReadString("new", "K", ""), "v");
  ini.Close();
  EXPECT_EQ(ini.ReadString("new", "K", ""), "v");
}

TEST(IniFileInMemory, MovingKeepsPendingWritesWithTheNewOwnerOnly) {
  TTempDir dir;
  {
    TIniFile first(dir / "m.ini");
    first.WriteString("S", "k", "1");
    TIniFile second(std::move(first));
  }
  EXPECT_EQ(dir.Read("m.ini"), "[S]\r\nk=1\r\n");
}

}  // namespace
}  // namespace kv
