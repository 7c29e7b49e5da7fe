#include <gtest/gtest.h>

#include "settings/ProcessMatch.h"

namespace kv {
namespace {

TEST(ProcessMatch, NameOrFileNamePartWithAsciiCaseIgnored) {
  for (const char* exe : {"QQ.exe", "qq.exe", "QQ.EXE", "C:\\Program Files\\Tencent\\QQ.exe", "D:QQ.exe"})
    EXPECT_TRUE(ProcessNameMatches(exe, "QQ.exe")) << exe;
  for (const char* exe : {"MyQQ.exe", "QQ.exe.bak", "QQ.ex", "", "C:\\QQ.exe\\other.exe", "QQ.exe "})
    EXPECT_FALSE(ProcessNameMatches(exe, "QQ.exe")) << exe;
  EXPECT_EQ(FileNamePart("C:\\a\\b.exe"), "b.exe");
  EXPECT_EQ(FileNamePart("c:b.exe"), "b.exe");
  EXPECT_EQ(FileNamePart("b.exe"), "b.exe");
}

}  // namespace
}  // namespace kv
