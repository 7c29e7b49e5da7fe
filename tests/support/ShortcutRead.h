#pragma once
// Reads a shell link back through the platform's own shell-link object (tests only).
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "messenger/Messenger.h"

namespace kv::testing {

struct TShortcutRead {
  TShortcut Fields;
  int IconIndex = -1;
};

inline std::optional<TShortcutRead> ReadShortcut(const std::wstring& linkPath) {
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell))))
    return std::nullopt;
  std::optional<TShortcutRead> result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
      TShortcutRead read;
      wchar_t text[MAX_PATH] = {};
      shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
      read.Fields.Target = text;
      shell->GetWorkingDirectory(text, MAX_PATH);
      read.Fields.WorkingDirectory = text;
      shell->GetDescription(text, MAX_PATH);
      read.Fields.Description = text;
      shell->GetIconLocation(text, MAX_PATH, &read.IconIndex);
      read.Fields.IconPath = text;
      result = read;
    }
    file->Release();
  }
  shell->Release();
  return result;
}

}  // namespace kv::testing
