#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv {
namespace {

using testing::Bytes;
using testing::TTempDir;
using testing::Utf16File;

// Text with NUL bytes in it.
class IniFileTest : public ::testing::Test {
 protected:
  std::string ReadKey(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view fallback = "<default>") {
    FDir.Write("k.ini", file);
    TIniFile ini(FDir / "k.ini");
    return ini.ReadString(section, key, fallback);
  }
  // Applies `writes` to `before` and returns the file's bytes afterwards.
  std::string AfterWrites(std::string_view before, std::initializer_list<std::array<std::string_view, 3>> writes) {
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

TEST_F(IniFileTest, LineBreaksAreCrOrLfOrCrLfInAnyMix) {
  // A CR LF file converted twice ends its lines with CR CR LF.
  EXPECT_EQ(ReadKey("[Koravent]\r\n0100=1\r\r\n0101=2\r\r\n", "Koravent", "0100"), "1");
  EXPECT_EQ(ReadKey("[Koravent]\r\n0100=1\r\r\n0101=2\r\r\n", "Koravent", "0101"), "2");
  EXPECT_EQ(ReadKey("[Koravent]\r0100=1\r0101=2\r", "Koravent", "0100"), "1");
  EXPECT_EQ(ReadKey("[Koravent]\r0100=1\r0101=2", "Koravent", "0101"), "2");
  EXPECT_EQ(ReadKey("[A]\rk=1\r[B]\rk=2\r", "B", "k"), "2");
  EXPECT_EQ(ReadKey("[A]\n\rx=0\r\r\n\nk=1\r\rj=2\n\r", "A", "k"), "1");
  EXPECT_EQ(ReadKey("[A]\n\rx=0\r\r\n\nk=1\r\rj=2\n\r", "A", "j"), "2");
  EXPECT_EQ(ReadKey("[A]\nk=1\r2\n", "A", "k"), "1");
}

TEST_F(IniFileTest, WritesKeepTheFilesOwnLineEnds) {
  EXPECT_EQ(AfterWrites("[Koravent]\r0100=1\r",
                        {{"Koravent", "0100", "0"}, {"Koravent", "0101", "2"}, {"WorkerDll", "Enable", "1"}}),
            "[Koravent]\r0100=0\r0101=2\r[WorkerDll]\rEnable=1\r");
  EXPECT_EQ(AfterWrites("[Koravent]\r\r\n0100=1\r\r\n\r\r\n[X]\r\r\n",
                        {{"Koravent", "0100", "0"}, {"Koravent", "0101", "2"}}),
            "[Koravent]\r\r\n0100=0\r\r\n0101=2\r\r\n\r\r\n[X]\r\r\n");
  EXPECT_EQ(AfterWrites("[A]\rx=1\r\r\ny=2\n\r", {{"A", "x", "3"}, {"A", "y", "4"}}), "[A]\rx=3\r\r\ny=4\n\r");
}

// What the platform's profile functions return for control characters in a line, as
// measured under Wine: the line is trimmed of blanks, tabs, CR, LF, VT, FF and ^Z; a
// name or value ends at its first NUL, after that trimming.
TEST_F(IniFileTest, ControlCharactersReadAsThePlatformReadsThem) {
  const std::pair<std::string, std::string> lines[] = {
      {"0100=1\f", "1"},
      {"0100=1\v", "1"},
      {"0100=1\x1A", "1"},
      {"0100=\f1", "1"},
      {"\f0100\f=1", "1"},
      {Bytes("0100=1\0\0\0"), "1"},
      {Bytes("0100=1\0junk"), "1"},
      {Bytes("0100=1 \0x"), "1 "},
      {Bytes("0100=\"a b\"\0x"), "a b"},
      {Bytes("0100=1\f\0"), "1\f"},
      {Bytes("0100=1\0\f"), "1"},
      {Bytes("0100\0=1"), "1"},
      {Bytes("0100\0x=1"), "1"},
      {"0100=1\xA1\xA1", "1\xA1\xA1"},  // the ideographic space is no blank
      {"0100", "<default>"},            // a key without '=' has no value
  };
  for (const auto& [line, value] : lines) {
    EXPECT_EQ(ReadKey("[Koravent]\r\n" + line + "\r\n", "Koravent", "0100"), value) << ::testing::PrintToString(line);
  }
  EXPECT_EQ(ReadKey(Bytes("[Koravent\0x]\r\n0100=1\r\n"), "Koravent", "0100"), "1");
  EXPECT_EQ(ReadKey("[\fKoravent\v]\f\r\n0100=1\r\n", "Koravent", "0100"), "1");
  EXPECT_EQ(ReadKey(Bytes("[Koravent]\r\n\0\r\n0100=1\r\n\0\0\0"), "Koravent", "0100"), "1");
}

TEST_F(IniFileTest, ControlCharactersAroundValuesAreReplacedOnWrite) {
  EXPECT_EQ(AfterWrites(Bytes("[Koravent]\r\n0100=1\0\0\f\r\n0101=\f2\r\n"),
                        {{"Koravent", "0100", "0"}, {"Koravent", "0101", "1"}}),
            "[Koravent]\r\n0100=0\r\n0101=1\r\n");
  EXPECT_EQ(AfterWrites("[Koravent]\r\n0100\r\n", {{"Koravent", "0100", "1"}}), "[Koravent]\r\n0100=1\r\n");
}

TEST_F(IniFileTest, Utf16FilesReadAsTextAndGiveGbk) {
  const std::string gbk = "\xB6\xD4\xBB\xB0\xBF\xF2";  // 对话框
  for (const bool bigEndian : {false, true}) {
    const std::string file = Utf16File(u"[Koravent]\r\n0301=对话框\r\n0100=1\r\n[WorkerDll]\rEnable=1", bigEndian);
    EXPECT_EQ(ReadKey(file, "Koravent", "0301"), gbk) << bigEndian;
    EXPECT_EQ(ReadKey(file, "Koravent", "0100"), "1") << bigEndian;
    EXPECT_EQ(ReadKey(file, "WorkerDll", "Enable"), "1") << bigEndian;
  }
  EXPECT_EQ(ReadKey(Utf16File(u"[Koravent]\r\n0301=\"x한\"\r\n"), "Koravent", "0301"), "x?");
}

TEST_F(IniFileTest, Utf16FilesAreWrittenBackAsUtf16KeepingEveryOtherByte) {
  const std::u16string before = u"; 한 note\r\n[Koravent]\r\n0100=1\r\nffff=x한\r\n\r\n[Other]\r\nk=v";
  for (const bool bigEndian : {false, true}) {
    EXPECT_EQ(AfterWrites(Utf16File(before, bigEndian), {{"Koravent", "0100", "0"},
                                                         {"Koravent", "0301", "\xB6\xD4"},
                                                         {"Koravent", "ffff", "x?"},  // as read: unchanged
                                                         {"WorkerDll", "Enable", "1"}}),
              Utf16File(u"; 한 note\r\n[Koravent]\r\n0100=0\r\nffff=x한\r\n0301=对\r\n\r\n[Other]\r\nk=v\r\n"
                        u"[WorkerDll]\r\nEnable=1\r\n",
                        bigEndian))
        << bigEndian;
  }
  // A stray last byte of an odd-length file stays where it was.
  EXPECT_EQ(AfterWrites(Utf16File(u"[A]\rk=1") + "x", {{"A", "k", "2"}}), Utf16File(u"[A]\rk=2") + "x");
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

TEST_F(IniFileTest, TheWholeValueIsThereForWritingItBack) {
  const std::string longValue = std::string(2046, 'v') + "\xB6\xD4" + std::string(1000, 'w');
  FDir.Write("k.ini", "[S]\nk= \"" + longValue + "\" \nj=short\n");
  TIniFile ini(FDir / "k.ini");
  EXPECT_EQ(ini.ReadString("S", "k", ""), longValue.substr(0, 2047));
  EXPECT_EQ(ini.ReadFullString("S", "k", ""), longValue);
  EXPECT_EQ(ini.ReadFullString("S", "j", ""), "short");
  EXPECT_EQ(ini.ReadFullString("S", "none", "d"), "d");
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
  EXPECT_EQ(AfterWrites("[A]\r\nx=1\ny=2\r\n", {{"A", "y", "3"}, {"A", "z", "4"}}), "[A]\r\nx=1\ny=3\r\nz=4\r\n");
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

#ifndef _WIN32
// Something that exists but cannot be read (here a pipe; on Windows a file another program
// holds without read sharing): writing would replace the user's settings with our keys.
TEST_F(IniFileTest, AnExistingFileThatCannotBeReadIsNeverReplaced) {
  const std::filesystem::path pipe = FDir / "k.ini";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  {
    TIniFile ini(pipe);
    EXPECT_EQ(ini.ReadString("Koravent", "0100", "<default>"), "<default>");
    ini.WriteString("Koravent", "0100", "1");
    try {
      ini.Close();
      FAIL() << "expected EIniWriteError";
    } catch (const EIniWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(pipe));
    }
  }
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
  EXPECT_EQ(FDir.Count(), 1u);
}
#endif

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

namespace kv {
namespace {

// Lookups use an index built once per parse: a file of many sections is parsed in time
// proportional to its size, however many sections are looked up or listed.
TEST(IniFileScaling, EachLineIsParsedAFixedNumberOfTimes) {
  constexpr int kSections = 20000;
  std::string text = "; many sections\r\n";
  for (int i = 0; i < kSections; ++i) text += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n\r\n";
  const std::size_t lines = 1 + 3 * kSections;
  TIniFile ini = TIniFile::FromText(text);
  const std::vector<std::string> sections = ini.ReadSections();
  ASSERT_EQ(sections.size(), static_cast<std::size_t>(kSections));
  EXPECT_EQ(sections.back(), "S" + std::to_string(kSections - 1));
  for (int i = 0; i < kSections; i += 7) {
    EXPECT_EQ(ini.ReadInteger("s" + std::to_string(i), "K", -1), i);
    EXPECT_EQ(ini.ReadString("S" + std::to_string(i), "missing", "d"), "d");
  }
  for (int i = 0; i < kSections; i += 13) ini.WriteString("S" + std::to_string(i), "new", "v");
  ini.WriteString("Brand New", "k", "v");
  EXPECT_EQ(ini.ReadSections().size(), static_cast<std::size_t>(kSections + 1));
  EXPECT_EQ(ini.ReadString("S13", "new", ""), "v");
  EXPECT_EQ(ini.ReadString("brand new", "K", ""), "v");
  EXPECT_LE(ini.LinesParsed(), 3 * lines);
}

}  // namespace
}  // namespace kv
