// POSIX side of the file replacement: mkstemp beside the target, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/FileIo.h"

namespace kv {

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes) {
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // Honour a read-only file the way Windows does, even for a superuser.
  if (exists && (old.st_mode & S_IWUSR) == 0) return false;

  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
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
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace kv
