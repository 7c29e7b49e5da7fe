#pragma once
// Which running processes "一键关闭QQ" ends: those whose executable name, or the file
// name part of it (after the last '\' or ':'), equals the wanted name once ASCII letters
// are upper-cased. So "qq.exe", "QQ.EXE" and "C:\QQ\QQ.exe" match "QQ.exe";
// "MyQQ.exe" and "QQ.exe.bak" do not.
#include <string_view>

namespace kv {

std::string_view FileNamePart(std::string_view exeName);
bool ProcessNameMatches(std::string_view exeName, std::string_view wanted);

}  // namespace kv
