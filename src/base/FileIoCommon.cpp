#include <fstream>
#include <iterator>
#include <system_error>

#include "base/FileIo.h"
#include "base/FileIoStale.h"

namespace kv {

namespace fs = std::filesystem;

TFileRead ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return {rsMissing, {}};
  // Only a plain file is opened: a pipe or a device could block or never end.
  if (ec || status.type() != fs::file_type::regular) return {rsUnreadable, {}};
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    // Removed between the two looks, or there and not ours to read.
    const fs::file_status again = fs::status(path, ec);
    return {again.type() == fs::file_type::not_found ? rsMissing : rsUnreadable, {}};
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return {rsUnreadable, {}};
  return {rsRead, std::move(bytes)};
}

std::optional<std::string> ReadFileBytes(const fs::path& path) {
  TFileRead file = ReadWholeFile(path);
  if (file.State != rsRead) return std::nullopt;
  return std::move(file.Bytes);
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to) {
  const auto bytes = ReadFileBytes(from);
  return bytes && ReplaceFileContents(to, *bytes);
}

bool FileExists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string PathToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void RemoveStaleTemporaries(const fs::path& target) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const fs::path targetName = target.filename();
  const auto cutoff = fs::file_time_type::clock::now() - kStaleTemporaryAge;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsOurTemporaryName(it->path().filename(), targetName)) continue;
    std::error_code entryError;
    if (it->symlink_status(entryError).type() != fs::file_type::regular || entryError) continue;
    const auto written = it->last_write_time(entryError);
    if (!entryError && written < cutoff) fs::remove(it->path(), entryError);
  }
}

}  // namespace kv
