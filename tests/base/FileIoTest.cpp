#include <gtest/gtest.h>

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
