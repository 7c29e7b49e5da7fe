// POSIX side of the file replacement: mkstemp beside the target, fsync, rename, then
// fsync of the folder so that the rename itself survives a crash.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/FileIo.h"
#include "base/FileIoStale.h"

namespace kv {
namespace {

constexpr std::string_view kTemplateTail = "XXXXXX";  // mkstemp puts six letters or digits here

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Best effort: the new file is in place either way; this only makes the rename durable.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// ".<target name>.XXXXXX", as ReplaceFileContents asks mkstemp for it.
bool IsOurTemporaryName(const std::filesystem::path& name, const std::filesystem::path& targetName) {
  const std::string_view n = name.native();
  const std::string prefix = "." + targetName.native() + ".";
  if (n.size() != prefix.size() + kTemplateTail.size() || !n.starts_with(prefix)) return false;
  for (const char c : n.substr(prefix.size()))
    if (!IsAsciiAlnum(c)) return false;
  return true;
}

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes) {
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // Honour a read-only file the way Windows does, even for a superuser.
  if (exists && (old.st_mode & S_IWUSR) == 0) return false;

  RemoveStaleTemporaries(target);
  std::string temp =
      (target.parent_path() / ("." + target.filename().string() + "." + std::string(kTemplateTail))).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644) == 0;
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(target.parent_path());
  return true;
}

}  // namespace kv
