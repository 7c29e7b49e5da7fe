// Windows side of the file replacement: a temporary file beside the target, flushed,
// then ReplaceFileW (keeps the old file's attributes and security) or, for a new file,
// MoveFileExW.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/FileIo.h"
#include "base/FileIoStale.h"
#include "base/win/Handles.h"

namespace kv {
namespace {

// Replacing or renaming over a file needs delete access to it, which a program holding
// it without delete sharing denies. Asking first spares a write that cannot be put in
// place (and Wine's ReplaceFileW leaves an "rf*.tmp" file behind when it fails so).
bool CanReplace(const std::wstring& path) {
  TFileHandle file(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(file);
}

}  // namespace

// "<target name>.kv<process id>.tmp", as ReplaceFileContents names it.
bool IsOurTemporaryName(const std::filesystem::path& name, const std::filesystem::path& targetName) {
  const std::wstring_view n = name.native();
  const std::wstring prefix = targetName.native() + L".kv";
  const std::wstring_view suffix = L".tmp";
  if (n.size() <= prefix.size() + suffix.size() || !n.starts_with(prefix) || !n.ends_with(suffix)) return false;
  const std::wstring_view digits = n.substr(prefix.size(), n.size() - prefix.size() - suffix.size());
  return std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes) {
  const std::wstring path = target.wstring();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
  if (exists && !CanReplace(path)) return false;

  RemoveStaleTemporaries(target);
  const std::wstring temp = path + L".kv" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  bool ok;
  {
    TFileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    ok = exists
             ? ReplaceFileW(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
             : false;
    if (!ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace kv
