// Windows side of the file replacement: a temporary file beside the target, flushed,
// then ReplaceFileW (keeps the old file's attributes and security) or, for a new file,
// MoveFileExW.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/FileIo.h"
#include "base/win/Handles.h"

namespace kv {

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes) {
  const std::wstring path = target.wstring();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;

  const std::wstring temp = path + L".kv" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  bool ok;
  {
    TFileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      ok = WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) && written > 0;
      done += written;
    }
    ok = ok && FlushFileBuffers(file.Get());
    ok = CloseHandle(file.Release()) && ok;
  }
  if (ok) {
    ok = exists ? ReplaceFileW(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                               nullptr, nullptr) != 0
                : false;
    if (!ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace kv
