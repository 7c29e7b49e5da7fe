// The settings file while another program holds it open: what it lets us do depends on
// the sharing that program chose, and nothing may be lost either way.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "base/FileIo.h"
#include "ini/IniFile.h"
#include "settings/SettingsEditor.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using testing::TTempDir;

// Another program's handle on the file.
class THeldFile {
 public:
  THeldFile(const std::filesystem::path& path, DWORD share)
      : FHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~THeldFile() { Release(); }
  THeldFile(const THeldFile&) = delete;
  THeldFile& operator=(const THeldFile&) = delete;
  bool Held() const { return FHandle != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE FHandle;
};

// A window whose controls are all empty and unchecked.
class TBlankView : public ISettingsView {
 public:
  std::u16string GetControlText(std::string_view) const override { return u""; }
  void SetControlText(std::string_view, std::u16string_view) override {}
  bool GetChecked(std::string_view) const override { return false; }
  void SetChecked(std::string_view, bool) override {}
};

class IniHeldFile : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir.Write("Koravent.ini", kBefore);
    FDir.Write("Koravent.bak", "old backup");
  }
  void ExpectWriteError(const std::function<void()>& write) {
    try {
      write();
      ADD_FAILURE() << "expected EIniWriteError";
    } catch (const EIniWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(FIni));
    }
  }
  void ExpectUntouched() {
    EXPECT_EQ(FDir.Read("Koravent.ini"), kBefore);
    EXPECT_EQ(FDir.Read("Koravent.bak"), "old backup");
    EXPECT_EQ(FDir.Count(), 2u);
  }
  static constexpr std::string_view kBefore = "[Koravent]\r\n0100=1\r\nFFFF=keep me\r\n";
  TTempDir FDir;
  std::filesystem::path FIni = FDir / "Koravent.ini";
  TSettingsEditor FEditor{FDir.Path()};
};

TEST_F(IniHeldFile, WithoutReadSharingNothingIsReadOrReplaced) {
  THeldFile held(FIni, FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_TRUE(held.Held());
  {
    TIniFile ini(FIni);
    EXPECT_EQ(ini.ReadString("Koravent", "0100", "<default>"), "<default>");
    ini.WriteString("Koravent", "0100", "0");
    ExpectWriteError([&] { ini.Close(); });
  }
  ExpectWriteError([&] { FEditor.Apply(TBlankView()); });
  held.Release();
  ExpectUntouched();
}

TEST_F(IniHeldFile, WithReadSharingOnlyItIsReadButNotReplaced) {
  THeldFile held(FIni, FILE_SHARE_READ);
  ASSERT_TRUE(held.Held());
  {
    TIniFile ini(FIni);
    EXPECT_EQ(ini.ReadString("Koravent", "0100", "<default>"), "1");
    ini.WriteString("Koravent", "0100", "0");
    ExpectWriteError([&] { ini.Close(); });
  }
  ExpectWriteError([&] { FEditor.Apply(TBlankView()); });
  ExpectWriteError([&] { FEditor.Restore(); });
  held.Release();
  EXPECT_EQ(FDir.Read("Koravent.ini"), kBefore);
  EXPECT_EQ(FDir.Count(), 2u);
}

}  // namespace
}  // namespace kv
