#include "settings/SettingsEditor.h"

#include "base/FileIo.h"
#include "base/TextCodec.h"
#include "ini/IniFile.h"
#include "settings/SettingsKeys.h"

namespace kv {

TSettingsEditor::TSettingsEditor(std::filesystem::path exeDir)
    : FIniPath(exeDir / "Koravent.ini"), FBackupPath(exeDir / "Koravent.bak") {}

void TSettingsEditor::Load(ISettingsView& view) {
  TIniFile ini(FIniPath);
  FLoaded.clear();
  for (const TSettingsKey& k : kSettingsKeys) {
    switch (k.Kind) {
      case kkChoice: {
        // The value goes through the integer rule and back to decimal text, so "0x2"
        // selects the item of "2"; any other value leaves the combo as designed.
        const std::string value = std::to_string(ini.ReadInteger(k.Section, k.Key, 0));
        for (std::size_t i = 0; i < k.Choices->size(); ++i)
          if (value == std::to_string(i)) view.SetControlText(k.Control, Utf8ToUtf16((*k.Choices)[i]));
        break;
      }
      case kkText:
      case kkQuotedFormat: {
        // The control shows the value cut as the platform reads it; left alone, it writes
        // back the whole value, which may be longer and end in the middle of a character.
        std::string shown = ini.ReadString(k.Section, k.Key, k.Absent);
        std::string whole = ini.ReadFullString(k.Section, k.Key, k.Absent);
        // A format is shown, and written back, with the quotes that keep its blanks.
        if (k.Kind == kkQuotedFormat) {
          shown = "\"" + shown + "\"";
          whole = "\"" + whole + "\"";
        }
        TLoadedText loaded{GbkToUtf16(shown), std::move(whole)};
        view.SetControlText(k.Control, loaded.Shown);
        FLoaded.insert_or_assign(std::string(k.Control), std::move(loaded));
        break;
      }
      case kkFlag: view.SetChecked(k.Control, ini.ReadBool(k.Section, k.Key, false)); break;
    }
  }
}

void TSettingsEditor::Apply(const ISettingsView& view) {
  // A file that is there but cannot be read (another program holds it) would be replaced
  // by one of our keys alone, and the backup with it: refuse, as for a read-only file.
  const TFileRead before = ReadWholeFile(FIniPath);
  if (before.State == rsUnreadable) throw EIniWriteError(FIniPath);
  // The backup holds the file as it was before this apply; no file, no backup.
  if (before.State == rsRead) ReplaceFileContents(FBackupPath, before.Bytes);
  TIniFile ini(FIniPath);
  for (const TSettingsKey& k : kSettingsKeys) {
    switch (k.Kind) {
      case kkChoice: {
        // Typed text that matches no item leaves the key as the file holds it.
        const std::u16string text = view.GetControlText(k.Control);
        for (std::size_t i = 0; i < k.Choices->size(); ++i)
          if (text == Utf8ToUtf16((*k.Choices)[i])) {
            ini.WriteString(k.Section, k.Key, std::to_string(i));
            break;
          }
        break;
      }
      case kkText:
      case kkQuotedFormat: {
        const std::u16string text = view.GetControlText(k.Control);
        const auto loaded = FLoaded.find(k.Control);
        const bool unchanged = loaded != FLoaded.end() && loaded->second.Shown == text;
        ini.WriteString(k.Section, k.Key, unchanged ? loaded->second.Bytes : Utf16ToGbk(text));
        break;
      }
      case kkFlag: ini.WriteBool(k.Section, k.Key, view.GetChecked(k.Control)); break;
    }
  }
  ini.Close();
}

bool TSettingsEditor::Restore() {
  const TFileRead backup = ReadWholeFile(FBackupPath);
  if (backup.State == rsMissing) return false;
  if (backup.State == rsUnreadable) throw EIniReadError(FBackupPath);
  if (!ReplaceFileContents(FIniPath, backup.Bytes)) throw EIniWriteError(FIniPath);
  return true;
}

}  // namespace kv
