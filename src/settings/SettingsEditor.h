#pragma once
// Load, apply and restore of Koravent.ini, written once against ISettingsView.
#include <filesystem>
#include <map>
#include <string>

#include "settings/SettingsView.h"

namespace kv {

class TSettingsEditor {
 public:
  // `exeDir` is the directory of the editor's executable; the settings file and its
  // backup are the files "Koravent.ini" and "Koravent.bak" in it.
  explicit TSettingsEditor(std::filesystem::path exeDir);

  const std::filesystem::path& IniPath() const { return FIniPath; }
  const std::filesystem::path& BackupPath() const { return FBackupPath; }

  // Fills the view from the settings file (every key; absent keys get their defaults).
  void Load(ISettingsView& view);
  // Copies the settings file to the backup, then writes every control back. Throws
  // EIniWriteError ("Unable to write to <path>") when the file cannot be written, or
  // exists but cannot be read; the file is then left exactly as it was, and so is the
  // backup of a file that could not be read.
  void Apply(const ISettingsView& view);
  // Copies the backup over the settings file. False when there is no backup; throws
  // EIniReadError ("Unable to read <backup>") when the backup cannot be read and
  // EIniWriteError ("Unable to write to <path>") when the settings file cannot be
  // written, which is then left as it was.
  bool Restore();

 private:
  std::filesystem::path FIniPath;
  std::filesystem::path FBackupPath;
  // The bytes each text control was loaded from, whole, and the text it showed then: a
  // text the user left alone is written back byte for byte, even if it is not clean GBK
  // or longer than a read gives.
  struct TLoadedText {
    std::u16string Shown;
    std::string Bytes;
  };
  std::map<std::string, TLoadedText, std::less<>> FLoaded;
};

}  // namespace kv
