#include <gtest/gtest.h>

#include <chrono>

#include "base/FileIo.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace kv {
namespace {

using testing::TTempDir;

TEST(FileReplacement, CreatesReplacesAndLeavesNoTemporary) {
  TTempDir dir;
  ASSERT_TRUE(ReplaceFileContents(dir / "a.ini", "one"));
  EXPECT_EQ(dir.Read("a.ini"), "one");
  ASSERT_TRUE(ReplaceFileContents(dir / "a.ini", std::string("t\0wo", 4)));
  EXPECT_EQ(dir.Read("a.ini"), std::string("t\0wo", 4));
  EXPECT_EQ(dir.Count(), 1u);
}

TEST(FileReplacement, RefusesAReadOnlyFileAndKeepsIt) {
  TTempDir dir;
  dir.Write("a.ini", "old");
  testing::MakeReadOnly(dir / "a.ini");
  EXPECT_FALSE(ReplaceFileContents(dir / "a.ini", "new"));
  EXPECT_EQ(dir.Read("a.ini"), "old");
  EXPECT_EQ(dir.Count(), 1u);
}

// A save killed between writing its temporary file and renaming it leaves the temporary
// behind; the next save of the same file removes it once it is clearly abandoned (older
// than a few minutes), and nothing else.
TEST(FileReplacement, RemovesOurOwnStaleTemporariesOnly) {
  TTempDir dir;
#ifdef _WIN32
  const char* const stale = "a.ini.kv1234.tmp";
  const char* const fresh = "a.ini.kv99.tmp";
  const char* const others[] = {"a.ini.kv12x4.tmp",     "a.ini.kv.tmp",      "b.ini.kv1234.tmp",
                                "a.ini.kv1234.tmp.bak", "xa.ini.kv1234.tmp", "a.ini.kv1234.tm"};
#else
  const char* const stale = ".a.ini.Ab12Z9";
  const char* const fresh = ".a.ini.Xy34Q1";
  const char* const others[] = {".a.ini.Ab12Z", ".a.ini.Ab12Z9x", ".b.ini.Ab12Z9",
                                "a.ini.Ab12Z9", ".a.ini.Ab-2Z9",  "..a.ini.Ab12Z9"};
#endif
  dir.Write(stale, "half");
  dir.Write(fresh, "in progress");
  for (const char* name : others) dir.Write(name, "not ours");
  const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(dir / stale, hourAgo);
  for (const char* name : others) std::filesystem::last_write_time(dir / name, hourAgo);
  ASSERT_TRUE(ReplaceFileContents(dir / "a.ini", "new"));
  EXPECT_FALSE(std::filesystem::exists(dir / stale));
  EXPECT_EQ(dir.Read(fresh), "in progress");
  for (const char* name : others) EXPECT_EQ(dir.Read(name), "not ours") << name;
  EXPECT_EQ(dir.Read("a.ini"), "new");
}

TEST(FileReplacement, FailsInAMissingDirectory) {
  TTempDir dir;
  EXPECT_FALSE(ReplaceFileContents(dir / "no" / "a.ini", "x"));
  EXPECT_FALSE(ReadFileBytes(dir / "no" / "a.ini"));
  EXPECT_FALSE(CopyFileReplacing(dir / "missing", dir / "b"));
  EXPECT_FALSE(FileExists(dir / "b"));
}

#ifndef _WIN32
// A disk that fills up in the middle of the write: the old file must stay whole.
TEST(FileReplacement, AnInterruptedWriteKeepsTheOldFile) {
  TTempDir dir;
  dir.Write("a.ini", "[Koravent]\n0100=1\n");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = ReplaceFileContents(dir / "a.ini", std::string(1 << 20, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(ok);
  EXPECT_EQ(dir.Read("a.ini"), "[Koravent]\n0100=1\n");
  EXPECT_EQ(dir.Count(), 1u);
}
#endif

}  // namespace
}  // namespace kv
