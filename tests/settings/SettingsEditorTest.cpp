#include <gtest/gtest.h>

#include <map>

#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "settings/SettingsEditor.h"
#include "settings/SettingsKeys.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv {
namespace {

using testing::TTempDir;

// The window as the settings logic sees it, starting with the designed contents.
class TFakeView : public ISettingsView {
 public:
  TFakeView() {
    FText["ComboBox1"] = u"无";
    FText["ComboBox2"] = u"居中";
    FText["ComboBox3"] = u"无功能";
  }
  std::u16string GetControlText(std::string_view control) const override {
    const auto it = FText.find(control);
    return it == FText.end() ? u"" : it->second;
  }
  void SetControlText(std::string_view control, std::u16string_view text) override {
    FText[std::string(control)] = std::u16string(text);
  }
  bool GetChecked(std::string_view control) const override {
    const auto it = FChecked.find(control);
    return it != FChecked.end() && it->second;
  }
  void SetChecked(std::string_view control, bool checked) override { FChecked[std::string(control)] = checked; }

  std::string Utf8(std::string_view control) const { return Utf16ToUtf8(GetControlText(control)); }
  void SetUtf8(std::string_view control, std::string_view text) { SetControlText(control, Utf8ToUtf16(text)); }

 private:
  std::map<std::string, std::u16string, std::less<>> FText;
  std::map<std::string, bool, std::less<>> FChecked;
};

class SettingsEditorTest : public ::testing::Test {
 protected:
  TFakeView Loaded(std::string_view ini) {
    FDir.Write("Koravent.ini", ini);
    TFakeView view;
    FEditor.Load(view);
    return view;
  }
  std::string Value(std::string_view section, std::string_view key) {
    TIniFile ini(FDir / "Koravent.ini");
    return ini.ReadString(section, key, "<absent>");
  }
  TTempDir FDir;
  TSettingsEditor FEditor{FDir.Path()};
};

TEST_F(SettingsEditorTest, WithoutAFileEveryControlShowsItsDefault) {
  TFakeView view;
  FEditor.Load(view);
  EXPECT_EQ(view.Utf8("ComboBox1"), "无");
  EXPECT_EQ(view.Utf8("ComboBox2"), "居中");
  EXPECT_EQ(view.Utf8("ComboBox3"), "无功能");
  EXPECT_EQ(view.Utf8("Edit1"), "1048578");
  EXPECT_EQ(view.Utf8("Edit2"), "45");
  for (const char* edit : {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10"})
    EXPECT_EQ(view.Utf8(edit), "\"\"") << edit;
  for (const TSettingsKey& k : kSettingsKeys) {
    if (k.Kind == kkFlag) {
      EXPECT_FALSE(view.GetChecked(k.Control)) << k.Control;
    }
  }
  EXPECT_EQ(FDir.Count(), 0u);
}

TEST_F(SettingsEditorTest, ChoicesGoThroughTheIntegerRule) {
  EXPECT_EQ(Loaded("[Koravent]\n0101=3\n").Utf8("ComboBox1"), "无");
  EXPECT_EQ(Loaded("[Koravent]\n0101=-1\n").Utf8("ComboBox1"), "无");
  EXPECT_EQ(Loaded("[Koravent]\n0101=0x2\n").Utf8("ComboBox1"), "不干涉");
  EXPECT_EQ(Loaded("[Koravent]\n0101=abc\n").Utf8("ComboBox1"), "无");
  EXPECT_EQ(Loaded("[Koravent]\n0305=$1\n").Utf8("ComboBox2"), "左对齐");
  EXPECT_EQ(Loaded("[KORAVENT]\n020A=2\n").Utf8("ComboBox3"), "复制IP信息");
}

TEST_F(SettingsEditorTest, FlagsReadAnyNonZeroNumberAndWriteOne) {
  TFakeView view = Loaded("[Koravent]\n0100=2\n0102=0x1\n0103=yes\n[WorkerDll]\nenable=1\n");
  EXPECT_TRUE(view.GetChecked("CheckBox1"));
  EXPECT_TRUE(view.GetChecked("CheckBox2"));
  EXPECT_FALSE(view.GetChecked("CheckBox3"));
  EXPECT_TRUE(view.GetChecked("CheckBox27"));
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0100"), "1");
  EXPECT_EQ(Value("Koravent", "0102"), "1");
  EXPECT_EQ(Value("Koravent", "0103"), "0");
  EXPECT_EQ(Value("WorkerDll", "Enable"), "1");
}

TEST_F(SettingsEditorTest, FormatsKeepTheirBlanksOnlyWhenQuoted) {
  TFakeView view = Loaded("[Koravent]\n0301=abc\n0401=\"  abc  \"\n0408=  abc  \n");
  EXPECT_EQ(view.Utf8("Edit4"), "\"abc\"");
  EXPECT_EQ(view.Utf8("Edit5"), "\"  abc  \"");
  EXPECT_EQ(view.Utf8("Edit6"), "\"abc\"");  // blanks lost on the first load
  for (int cycle = 0; cycle < 3; ++cycle) {
    FEditor.Apply(view);
    view = TFakeView();
    FEditor.Load(view);
  }
  EXPECT_EQ(view.Utf8("Edit5"), "\"  abc  \"");
  const std::string file = FDir.Read("Koravent.ini");
  EXPECT_NE(file.find("0301=\"abc\""), std::string::npos);
  EXPECT_NE(file.find("0401=\"  abc  \""), std::string::npos);
}

TEST_F(SettingsEditorTest, UnmatchedChoiceTextLeavesTheKeyAlone) {
  TFakeView view = Loaded("[Koravent]\n0101=1\n");
  view.SetUtf8("ComboBox1", "有 ");  // typed: a trailing blank matches no item
  view.SetUtf8("ComboBox2", "abc");
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0101"), "1");
  EXPECT_EQ(Value("Koravent", "0305"), "<absent>");
  EXPECT_EQ(Value("Koravent", "020a"), "0");
}

TEST_F(SettingsEditorTest, ApplyWithoutAFileCreatesEveryKeyAndNoBackup) {
  TFakeView view;
  FEditor.Load(view);
  FEditor.Apply(view);
  for (const TSettingsKey& k : kSettingsKeys) EXPECT_NE(Value(k.Section, k.Key), "<absent>") << k.Key;
  EXPECT_EQ(Value("Koravent", "0106"), "1048578");
  EXPECT_NE(FDir.Read("Koravent.ini").find("0301=\"\"\r\n"), std::string::npos);
  EXPECT_FALSE(FileExists(FEditor.BackupPath()));
  EXPECT_EQ(FEditor.IniPath(), FDir / "Koravent.ini");
}

TEST_F(SettingsEditorTest, ApplyWritesEverythingElseOfTheFileBack) {
  const std::string before = "; Koravent\r\n[Koravent]\r\nFFFF=keep me\r\n0100=0\r\n[Other]\r\nx=1\r\n";
  TFakeView view = Loaded(before);
  FEditor.Apply(view);
  const std::string after = FDir.Read("Koravent.ini");
  EXPECT_EQ(after.rfind("; Koravent\r\n[Koravent]\r\nFFFF=keep me\r\n0100=0\r\n", 0), 0u);
  EXPECT_NE(after.find("[Other]\r\nx=1\r\n"), std::string::npos);
  EXPECT_EQ(FDir.Read("Koravent.bak"), before);
}

TEST_F(SettingsEditorTest, ApplyKeepsWhatThePlatformReadsWhateverTheLineEnds) {
  for (const std::string_view end : {"\r\r\n", "\r"}) {
    const std::string e(end);
    TFakeView view = Loaded("[Koravent]" + e + "0100=1" + e + "0106=7" + e + "[WorkerDll]" + e + "Enable=1" + e);
    EXPECT_TRUE(view.GetChecked("CheckBox1")) << ::testing::PrintToString(e);
    EXPECT_EQ(view.Utf8("Edit1"), "7");
    FEditor.Apply(view);
    const std::string after = FDir.Read("Koravent.ini");
    EXPECT_EQ(after.rfind("[Koravent]" + e + "0100=1" + e + "0106=7" + e, 0), 0u) << ::testing::PrintToString(after);
    EXPECT_EQ(after.find("0100="), after.rfind("0100=")) << "no second key the platform never reads";
    EXPECT_EQ(after.find("[WorkerDll]"), after.rfind("[WorkerDll]"));
    EXPECT_NE(after.find("0102=0" + e), std::string::npos);
    EXPECT_EQ(Value("WorkerDll", "Enable"), "1");
  }
}

TEST_F(SettingsEditorTest, AUtf16FileIsReadAndStaysUtf16) {
  const std::string file = testing::Utf16File(u"[Koravent]\r\n0100=1\r\n0301=\"对话框\"\r\n; 한\r\n");
  TFakeView view = Loaded(file);
  EXPECT_TRUE(view.GetChecked("CheckBox1"));
  EXPECT_EQ(view.Utf8("Edit4"), "\"对话框\"");
  view.SetUtf8("Edit1", "标题");
  FEditor.Apply(view);
  const std::string after = FDir.Read("Koravent.ini");
  EXPECT_EQ(after.rfind(file, 0), 0u) << "every line of the file as it was, the new keys after it";
  EXPECT_EQ(after.size() % 2, 0u);
  EXPECT_EQ(Value("Koravent", "0106"), "\xB1\xEA\xCC\xE2");
  EXPECT_EQ(Value("Koravent", "0100"), "1");
  EXPECT_EQ(FDir.Read("Koravent.bak"), file);
}

TEST_F(SettingsEditorTest, UntouchedLongValuesAreWrittenBackWhole) {
  const std::string longText(3000, 'x');
  const std::string cutInACharacter = std::string(2046, 'a') + "\xB6\xD4" + "b";  // the cut leaves a lead byte
  TFakeView view = Loaded("[Koravent]\r\n0106=" + longText + "\r\n0301=\"" + cutInACharacter + "\"\r\n");
  EXPECT_EQ(view.GetControlText("Edit1").size(), 2047u) << "the control shows the cut text";
  FEditor.Apply(view);
  const std::string after = FDir.Read("Koravent.ini");
  EXPECT_NE(after.find("\r\n0106=" + longText + "\r\n"), std::string::npos);
  EXPECT_NE(after.find("\r\n0301=\"" + cutInACharacter + "\"\r\n"), std::string::npos);
  // A control the user changed writes what it shows.
  view.SetUtf8("Edit1", "12");
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0106"), "12");
}

TEST_F(SettingsEditorTest, TwoAppliesThenRestoreBringBackTheFirst) {
  TFakeView view = Loaded("[Koravent]\n0106=1\n");
  view.SetUtf8("Edit1", "2");
  FEditor.Apply(view);
  const std::string first = FDir.Read("Koravent.ini");
  view.SetUtf8("Edit1", "3");
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0106"), "3");
  EXPECT_TRUE(FEditor.Restore());
  EXPECT_EQ(FDir.Read("Koravent.ini"), first);
  // The window keeps its values; the next apply writes them over the restored file.
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0106"), "3");
}

TEST_F(SettingsEditorTest, RestoreWithoutBackupSaysSoAndChangesNothing) {
  FDir.Write("Koravent.ini", "[Koravent]\n0100=1\n");
  EXPECT_FALSE(FEditor.Restore());
  EXPECT_EQ(FDir.Read("Koravent.ini"), "[Koravent]\n0100=1\n");
}

TEST_F(SettingsEditorTest, TextIsGbkAndUntouchedBytesGoBackAsTheyWere) {
  // "对话框" in GBK, and a value that is not valid GBK at all.
  const std::string gbk = "\xB6\xD4\xBB\xB0\xBF\xF2";
  const std::string broken = "\x81\x20\xFF";
  TFakeView view = Loaded("[Koravent]\n0301=" + gbk + "\n0401=" + broken + "\n0407=x\n");
  EXPECT_EQ(view.Utf8("Edit4"), "\"对话框\"");
  view.SetUtf8("Edit10", "\"标题\"");
  FEditor.Apply(view);
  EXPECT_EQ(Value("Koravent", "0301"), gbk);
  EXPECT_EQ(Value("Koravent", "0401"), broken);
  EXPECT_EQ(Value("Koravent", "0407"), "\xB1\xEA\xCC\xE2");
}

TEST_F(SettingsEditorTest, AFailedWriteRaisesAndLeavesTheFileByteIdentical) {
  const std::string before = "[Koravent]\r\n0100=1\r\n";
  TFakeView view = Loaded(before);
  testing::MakeReadOnly(FDir / "Koravent.ini");
  view.SetChecked("CheckBox1", false);
  try {
    FEditor.Apply(view);
    FAIL() << "expected EIniWriteError";
  } catch (const EIniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(FDir / "Koravent.ini"));
  }
  EXPECT_EQ(FDir.Read("Koravent.ini"), before);
  EXPECT_EQ(FDir.Read("Koravent.bak"), before);
}

TEST_F(SettingsEditorTest, RestoreThatCannotWriteSaysWhy) {
  FDir.Write("Koravent.ini", "[Koravent]\n0100=1\n");
  FDir.Write("Koravent.bak", "[Koravent]\n0100=0\n");
  testing::MakeReadOnly(FDir / "Koravent.ini");
  try {
    FEditor.Restore();
    FAIL() << "expected EIniWriteError";
  } catch (const EIniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(FDir / "Koravent.ini"));
  }
  EXPECT_EQ(FDir.Read("Koravent.ini"), "[Koravent]\n0100=1\n");
  EXPECT_EQ(FDir.Read("Koravent.bak"), "[Koravent]\n0100=0\n");
}

#ifndef _WIN32
// A pipe stands for a file that exists but cannot be read (on Windows: held by another
// program without read sharing; tests/win covers that case).
TEST_F(SettingsEditorTest, AnUnreadableFileIsAnErrorAndNothingIsReplaced) {
  const std::filesystem::path ini = FDir / "Koravent.ini";
  ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
  FDir.Write("Koravent.bak", "[Koravent]\n0100=1\n");
  TFakeView view;
  FEditor.Load(view);
  try {
    FEditor.Apply(view);
    FAIL() << "expected EIniWriteError";
  } catch (const EIniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + PathToUtf8(ini));
  }
  EXPECT_TRUE(std::filesystem::is_fifo(ini));
  EXPECT_EQ(FDir.Read("Koravent.bak"), "[Koravent]\n0100=1\n");
  EXPECT_EQ(FDir.Count(), 2u);
}

TEST_F(SettingsEditorTest, RestoreFromAnUnreadableBackupSaysWhy) {
  FDir.Write("Koravent.ini", "[Koravent]\n0100=1\n");
  ASSERT_EQ(::mkfifo((FDir / "Koravent.bak").c_str(), 0644), 0);
  try {
    FEditor.Restore();
    FAIL() << "expected EIniReadError";
  } catch (const EIniReadError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to read " + PathToUtf8(FDir / "Koravent.bak"));
  }
  EXPECT_EQ(FDir.Read("Koravent.ini"), "[Koravent]\n0100=1\n");
}
#endif

TEST(SettingsKeys, TableHoldsEveryKeyOnceWithItsControl) {
  std::map<std::string, int> controls, keys;
  int flags = 0, main = 0;
  for (const TSettingsKey& k : kSettingsKeys) {
    ++controls[std::string(k.Control)];
    ++keys[std::string(k.Key)];
    flags += k.Kind == kkFlag;
    main += k.Section == kMainSection;
    EXPECT_EQ(k.Choices != nullptr, k.Kind == kkChoice) << k.Key;
  }
  EXPECT_EQ(controls.size(), 39u);
  EXPECT_EQ(keys.size(), 39u);
  EXPECT_EQ(flags, 27);
  EXPECT_EQ(main, 38);
  EXPECT_EQ(FindSettingsKey("020A")->Control, "ComboBox3");
  EXPECT_EQ(FindSettingsKey("enable")->Section, kWorkerSection);
  EXPECT_EQ(FindSettingsKey("0000"), nullptr);
}

}  // namespace
}  // namespace kv
