#pragma once
// A fresh directory for one test, removed with everything in it afterwards.
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "base/FileIo.h"

namespace kv::testing {

class TTempDir {
 public:
  TTempDir() {
    std::random_device rd;
    FPath = std::filesystem::temp_directory_path() / ("kv-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() {
    std::error_code ec;
    for (auto& entry : std::filesystem::recursive_directory_iterator(FPath, ec))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FPath, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path operator/(std::string_view name) const { return FPath / name; }

  void Write(std::string_view name, std::string_view bytes) const { ReplaceFileContents(FPath / name, bytes); }
  std::string Read(std::string_view name) const { return ReadFileBytes(FPath / name).value_or("<missing>"); }

  // Entries of the directory, to check that no temporary file was left behind.
  std::size_t Count() const {
    std::size_t n = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(FPath)) ++n;
    return n;
  }

 private:
  std::filesystem::path FPath;
};

inline void MakeReadOnly(const std::filesystem::path& p) {
  std::filesystem::permissions(
      p,
      std::filesystem::perms::owner_write | std::filesystem::perms::group_write | std::filesystem::perms::others_write,
      std::filesystem::perm_options::remove);
}

}  // namespace kv::testing
