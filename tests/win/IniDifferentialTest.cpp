// The same reads and writes through the platform's profile functions and through
// TIniFile, compared wherever both promise the same result.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "base/ByteText.h"
#include "base/FileIo.h"
#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

namespace kv {
namespace {

using testing::Bytes;
using testing::TTempDir;
using testing::Utf16File;

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsUtf16(const std::filesystem::path& file) {
  const std::string bytes = ReadFileBytes(file).value_or("").substr(0, 2);
  return bytes == "\xFF\xFE" || bytes == "\xFE\xFF";
}

// What the add-on reads on a Chinese system, where its ANSI calls give GBK. The test
// prefix's ANSI page is 1252, which maps every byte to a character and back, so the ANSI
// call returns an 8-bit file's bytes unchanged, as code page 936 does for values (names
// here are ASCII). A UTF-16 file's text is converted to GBK as code page 936 would.
std::string PlatformRead(const std::filesystem::path& file, std::string_view section, std::string_view key) {
  if (IsUtf16(file)) {
    std::wstring buffer(4096, L'\0');
    const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"<default>", buffer.data(),
                                             2048, file.wstring().c_str());
    return Utf16ToGbk(std::u16string(buffer.begin(), buffer.begin() + n));
  }
  std::string buffer(4096, '\0');
  const DWORD n = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "<default>",
                                           buffer.data(), 2048, file.string().c_str());
  return buffer.substr(0, n);
}

void PlatformWrite(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  if (IsUtf16(file)) {
    const std::u16string text = GbkToUtf16(value);
    ASSERT_TRUE(WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                           reinterpret_cast<const wchar_t*>(text.c_str()), file.wstring().c_str()));
  } else {
    ASSERT_TRUE(WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                           std::string(value).c_str(), file.string().c_str()));
  }
}

std::string OwnRead(const std::filesystem::path& file, std::string_view section, std::string_view key) {
  TIniFile ini(file);
  return ini.ReadString(section, key, "<default>");
}

struct TProbe {
  const char* Section;
  const char* Key;
};

const TProbe kProbes[] = {
    {"Koravent", "0101"},    {"koravent", "020a"},    {"KORAVENT", "020A"}, {"Koravent", "0106"}, {"Koravent", "0301"},
    {"Koravent", "0401"},    {"Koravent", "0408"},    {"Koravent", "0108"}, {"Koravent", "0204"}, {"Koravent", "ffff"},
    {"WorkerDll", "Enable"}, {"workerdll", "ENABLE"}, {"Missing", "0101"},  {"Koravent", "long"}, {"Second", "k"},
    {"Koravent", "empty"},   {"Koravent", "0100"},    {"Koravent", "0407"}, {"Koravent", "bare"},
};

// "对话框", "标题" and "应用设置" in GBK.
#define KV_GBK_DIALOG "\xB6\xD4\xBB\xB0\xBF\xF2"
#define KV_GBK_TITLE "\xB1\xEA\xCC\xE2"
#define KV_GBK_APPLY "\xD3\xA6\xD3\xC3\xC9\xE8\xD6\xC3"

std::string LongFile() { return "[Koravent]\r\nlong=" + std::string(3000, 'z') + "\r\n"; }

const std::string kFiles[] = {
    "[Koravent]\r\n0101=2\r\n020A=1\r\n0106=  1048578  \r\n0301=\"  %ip%  \"\r\n0401='x'\r\n"
    "0408=\"unbalanced'\r\n0108=\"\"\r\n0204=a=b\r\nempty=\r\nbare\r\n[WorkerDll]\r\nEnable=1\r\n",
    "[Koravent]\r\n0101=0\r\n\r\n[Second]\r\nk=v\r\n[Koravent]\r\n0101=9\r\n",
    "  [ Koravent ]  \r\n  0101 = 1 \r\n",
    "",
    LongFile(),
    // A CR LF file converted twice, CR-only, and a mix of every line end.
    "[Koravent]\r\r\n0100=1\r\r\n0301=\"" KV_GBK_DIALOG "\"\r\r\n0407=" KV_GBK_TITLE
    "\r\r\n[WorkerDll]\r\r\nEnable=1\r\r\n",
    "[Koravent]\r0100=1\r0301=\"" KV_GBK_DIALOG "\"\r\r0407=" KV_GBK_TITLE "\r[WorkerDll]\rEnable=1\r",
    "[Koravent]\n\r0100=1\r\n0101=2\r\r\n\n020A=1\r0106=x\n\r[Second]\rk=v\r\n[WorkerDll]\n\rEnable=1",
    // Control characters after values, NUL padding at the end.
    Bytes("[Koravent]\r\n0100=1\f\r\n0101=1\0\0\0\r\n020A=2\x1A\r\n0106= 7 \0junk\r\n0301=\"a b\"\0x\r\n"
          "0401=1\v\r\n0408=\f\"q\"\f\r\n0108\0=5\r\n0204=x\0\f\r\n0407=\t" KV_GBK_APPLY "\f\r\n"
          "[WorkerDll\0]\r\nEnable=1\r\n\0\0\0\0"),
    // GBK text, blanks and quotes around it.
    "[Koravent]\r\n0301=" KV_GBK_DIALOG "\r\n0401=\"  " KV_GBK_APPLY "  \"\r\n0407=  " KV_GBK_TITLE
    "  \r\n"
    "ffff=\xA1\xA1" KV_GBK_TITLE "\xA1\xA1\r\n",
    // UTF-16 with a byte-order mark, little- and big-endian.
    Utf16File(u"; 设置\r\n[Koravent]\r\n0100=1\r\n0301=\"对话框\"\r\n0407=  标题  \r\n"
              u"[WorkerDll]\r\nEnable=1\r\n"),
    Utf16File(u"[Koravent]\r0100=1\r\r\n0301=对话框\f\r[WorkerDll]\nEnable=1"),
    Utf16File(u"[Koravent]\r\n0100=1\r\n0407=标题\r\n", true),
};

class IniDifferential : public ::testing::TestWithParam<std::string> {};

TEST_P(IniDifferential, ReadsAgree) {
  TTempDir dir;
  dir.Write("a.ini", GetParam());
  for (const TProbe& p : kProbes)
    EXPECT_EQ(OwnRead(dir / "a.ini", p.Section, p.Key), PlatformRead(dir / "a.ini", p.Section, p.Key))
        << "[" << p.Section << "] " << p.Key;
}

// After the same writes, both files read the written values alike, and our file still
// reads every other key as the untouched file did.
TEST_P(IniDifferential, WritesAgree) {
  TTempDir dir;
  dir.Write("before.ini", GetParam());
  dir.Write("own.ini", GetParam());
  dir.Write("platform.ini", GetParam());
  const std::array<std::array<const char*, 3>, 9> writes = {{
      {"Koravent", "0101", "1"},
      {"koravent", "020a", "2"},
      {"Koravent", "0301", "\"  %ip%  \""},
      {"Koravent", "newkey", "new value"},
      {"WorkerDll", "Enable", "0"},
      {"Brand New", "k", "v"},
      {"Koravent", "0106", "1048578"},
      {"Koravent", "0407", "\"" KV_GBK_TITLE "\""},
      {"Koravent", "bare", "1"},
  }};
  {
    TIniFile ini(dir / "own.ini");
    for (const auto& w : writes) ini.WriteString(w[0], w[1], w[2]);
    ini.Close();
  }
  EXPECT_EQ(IsUtf16(dir / "own.ini"), IsUtf16(dir / "before.ini"));
  for (const auto& w : writes) PlatformWrite(dir / "platform.ini", w[0], w[1], w[2]);
  for (const auto& w : writes) {
    const std::string platform = PlatformRead(dir / "platform.ini", w[0], w[1]);
    EXPECT_EQ(PlatformRead(dir / "own.ini", w[0], w[1]), platform) << w[1];
    EXPECT_EQ(OwnRead(dir / "own.ini", w[0], w[1]), platform) << w[1];
  }
  for (const TProbe& p : kProbes) {
    bool written = false;
    for (const auto& w : writes) written = written || (SameTextAscii(w[0], p.Section) && SameTextAscii(w[1], p.Key));
    if (written) continue;
    const std::string before = PlatformRead(dir / "before.ini", p.Section, p.Key);
    EXPECT_EQ(PlatformRead(dir / "own.ini", p.Section, p.Key), before) << "[" << p.Section << "] " << p.Key;
    EXPECT_EQ(OwnRead(dir / "own.ini", p.Section, p.Key), before) << "[" << p.Section << "] " << p.Key;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, IniDifferential, ::testing::ValuesIn(kFiles));

// One line at a time, so that no line hides what another does: the characters the
// platform trims around names and values, and where a NUL ends them.
TEST(IniDifferentialLines, ControlCharactersReadAlike) {
  const std::string lines[] = {
      "0100=1\f",
      "0100=1\v",
      "0100=1\x1A",
      "0100=\f1",
      "\f0100\f=1",
      Bytes("0100=1\0"),
      Bytes("0100=1\0junk"),
      Bytes("0100=1 \0x"),
      Bytes("0100=\"a b\"\0x"),
      Bytes("0100=1\f\0"),
      Bytes("0100=1\0\f"),
      Bytes("0100\0=1"),
      Bytes("0100\0x=1"),
      "0100=1\xA1\xA1",
      "0100",
      "0100=\x1A\"1\"\x1A",
      Bytes("\0000100=1"),
      "0100=1\x1C",
      "0100=1\x85",
      "0100=1\xA0",
  };
  TTempDir dir;
  int n = 0;
  for (const std::string& line : lines) {
    for (const std::string& file : {"[Koravent]\r\n" + line + "\r\n", Bytes("[Koravent\0x]\r\n") + line}) {
      const std::string name = "l" + std::to_string(n++) + ".ini";  // one file each: no cached copy is read
      dir.Write(name, file);
      EXPECT_EQ(OwnRead(dir / name, "Koravent", "0100"), PlatformRead(dir / name, "Koravent", "0100"))
          << ::testing::PrintToString(file);
    }
  }
}

TEST(IniDifferentialGbk, CodePage936IsUsedWhateverTheSystemPage) {
  // The prefix runs with a Western ANSI page; GBK must still decode as GBK.
  EXPECT_EQ(GbkToUtf16("\xD3\xA6\xD3\xC3\xC9\xE8\xD6\xC3"), u"应用设置");
  EXPECT_EQ(Utf16ToGbk(u"恢复上次设置"), "\xBB\xD6\xB8\xB4\xC9\xCF\xB4\xCE\xC9\xE8\xD6\xC3");
}

}  // namespace
}  // namespace kv
