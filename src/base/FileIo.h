#pragma once
// Whole-file reads and crash-safe whole-file replacement. The settings file is always
// written to a sibling temporary file first and then put in place in one step, so a
// crash or a full disk leaves either the old file or the new one, never a torn one.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

enum TReadState { rsRead, rsMissing, rsUnreadable };

struct TFileRead {
  TReadState State;
  std::string Bytes;  // the file's contents when State is rsRead
};

// Reads the whole file, telling a missing file from one that exists but cannot be read
// (held by another program without read sharing, a folder, a pipe or a device, which are
// never opened).
TFileRead ReadWholeFile(const std::filesystem::path& path);

// The file's bytes, or nothing when it is missing or unreadable.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Replaces (or creates) `target` with `bytes`. A file marked read-only is not replaced.
// Returns false on any failure; the old file is then untouched and no temporary remains.
// Temporary files of ours that an earlier, killed save of `target` left behind are
// removed once they are older than a few minutes.
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes);

// Copies `from` over `to` through ReplaceFileContents; false when `from` is unreadable.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

bool FileExists(const std::filesystem::path& path);

// The path as UTF-8 text, for messages.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace kv
