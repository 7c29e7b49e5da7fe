// The same reads and writes through the platform's profile functions and through
// TIniFile, compared wherever both promise the same result.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using testing::TTempDir;

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string PlatformRead(const std::filesystem::path& file, std::string_view section, std::string_view key) {
  std::wstring buffer(4096, L'\0');
  const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"<default>", buffer.data(),
                                           2048, file.wstring().c_str());
  return std::string(buffer.begin(), buffer.begin() + n);
}

void PlatformWrite(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  ASSERT_TRUE(WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                         file.wstring().c_str()));
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
    {"Koravent", "0101"}, {"koravent", "020a"}, {"KORAVENT", "020A"}, {"Koravent", "0106"},
    {"Koravent", "0301"}, {"Koravent", "0401"}, {"Koravent", "0408"}, {"Koravent", "0108"},
    {"Koravent", "0204"}, {"Koravent", "ffff"}, {"WorkerDll", "Enable"}, {"workerdll", "ENABLE"},
    {"Missing", "0101"},  {"Koravent", "long"}, {"Second", "k"},      {"Koravent", "empty"},
};

const char* const kFiles[] = {
    "[Koravent]\r\n0101=2\r\n020A=1\r\n0106=  1048578  \r\n0301=\"  %ip%  \"\r\n0401='x'\r\n"
    "0408=\"unbalanced'\r\n0108=\"\"\r\n0204=a=b\r\nempty=\r\n[WorkerDll]\r\nEnable=1\r\n",
    "[Koravent]\r\n0101=0\r\n\r\n[Second]\r\nk=v\r\n[Koravent]\r\n0101=9\r\n",
    "  [ Koravent ]  \r\n  0101 = 1 \r\n",
    "",
};

std::string LongFile() { return "[Koravent]\r\nlong=" + std::string(3000, 'z') + "\r\n"; }

class IniDifferential : public ::testing::TestWithParam<std::string> {};

TEST_P(IniDifferential, ReadsAgree) {
  TTempDir dir;
  dir.Write("a.ini", GetParam());
  for (const TProbe& p : kProbes)
    EXPECT_EQ(OwnRead(dir / "a.ini", p.Section, p.Key), PlatformRead(dir / "a.ini", p.Section, p.Key))
        << "[" << p.Section << "] " << p.Key;
}

TEST_P(IniDifferential, WritesAgree) {
  TTempDir dir;
  dir.Write("own.ini", GetParam());
  dir.Write("platform.ini", GetParam());
  const std::array<std::array<const char*, 3>, 7> writes = {{
      {"Koravent", "0101", "1"},
      {"koravent", "020a", "2"},
      {"Koravent", "0301", "\"  %ip%  \""},
      {"Koravent", "newkey", "new value"},
      {"WorkerDll", "Enable", "0"},
      {"Brand New", "k", "v"},
      {"Koravent", "0106", "1048578"},
  }};
  {
    TIniFile ini(dir / "own.ini");
    for (const auto& w : writes) ini.WriteString(w[0], w[1], w[2]);
    ini.Close();
  }
  for (const auto& w : writes) PlatformWrite(dir / "platform.ini", w[0], w[1], w[2]);
  for (const auto& w : writes) {
    const std::string platform = PlatformRead(dir / "platform.ini", w[0], w[1]);
    EXPECT_EQ(PlatformRead(dir / "own.ini", w[0], w[1]), platform) << w[1];
    EXPECT_EQ(OwnRead(dir / "own.ini", w[0], w[1]), platform) << w[1];
  }
  for (const TProbe& p : kProbes)
    EXPECT_EQ(OwnRead(dir / "own.ini", p.Section, p.Key), PlatformRead(dir / "platform.ini", p.Section, p.Key))
        << "[" << p.Section << "] " << p.Key;
}

INSTANTIATE_TEST_SUITE_P(Files, IniDifferential,
                         ::testing::Values(kFiles[0], kFiles[1], kFiles[2], kFiles[3], LongFile()));

TEST(IniDifferentialGbk, CodePage936IsUsedWhateverTheSystemPage) {
  // The prefix runs with a Western ANSI page; GBK must still decode as GBK.
  EXPECT_EQ(GbkToUtf16("\xD3\xA6\xD3\xC3\xC9\xE8\xD6\xC3"), u"应用设置");
  EXPECT_EQ(Utf16ToGbk(u"恢复上次设置"), "\xBB\xD6\xB8\xB4\xC9\xCF\xB4\xCE\xC9\xE8\xD6\xC3");
}

}  // namespace
}  // namespace kv
