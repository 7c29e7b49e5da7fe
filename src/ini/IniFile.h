#pragma once
// TIniFile: the settings file's reader and writer, with the profile-file rules the rest
// of the program relies on:
//  - section and key names compare without regard to ASCII letter case;
//  - a value is the text after '=', blanks trimmed, one matching pair of '"' or '\''
//    removed, cut to 2047 bytes; a missing file, section or key gives the default;
//  - a write replaces the key's line in place, or adds the key at the end of its
//    section, or the section at the end of the file, or creates the file; every other
//    line keeps its bytes, its order and its own line end; nothing is quoted;
//  - writes are buffered and Close() flushes them by replacing the whole file in one
//    step, so the file on disk is never torn.
// Text is bytes (GBK in the settings file); the file's UTF-8 byte-order mark is kept.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Raised when the file cannot be written: "Unable to write to <path>" (path in UTF-8).
class EIniWriteError : public std::runtime_error {
 public:
  explicit EIniWriteError(const std::filesystem::path& path);
};

class TIniFile {
 public:
  static constexpr std::size_t kMaxValueBytes = 2047;

  // Binds the object to the file; touches nothing on disk.
  explicit TIniFile(std::filesystem::path path);
  // An object over text held in memory (a skin's definition): reads only see `text`, and
  // writes stay in memory.
  static TIniFile FromText(std::string_view text);
  // Flushes pending writes unless an exception is unwinding through the caller (a half
  // done series of writes is then dropped); a failure here is swallowed: call Close().
  ~TIniFile();
  TIniFile(TIniFile&& other) noexcept;  // the moved-from object has nothing to flush
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::filesystem::path& FileName() const { return FPath; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback);
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback);
  bool ReadBool(std::string_view section, std::string_view key, bool fallback);
  // Every section name once, in the order of first appearance, as the file spells it.
  std::vector<std::string> ReadSections();

  // Line breaks in `value` would split the line; they are written as blanks.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Writes buffered changes to disk; throws EIniWriteError and keeps them buffered on
  // failure. Does nothing when nothing changed.
  void UpdateFile();
  // Flushes and forgets the buffered copy (a later call reads the file again).
  void Close();

 private:
  struct TLine {
    std::string Text;
    std::string End;  // "\r\n", "\n" or "" for a last line without a line end
  };
  struct TKeyLine {
    std::size_t Index;
    std::string_view Value;  // untrimmed text after '='
  };

  void EnsureLoaded();
  void Parse(std::string_view bytes);
  std::string_view NewLineEnd() const;
  // Index of the header line of the first section called `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // The key's line within the section starting at `header`, if present.
  bool FindKey(std::size_t header, std::string_view key, TKeyLine& found) const;
  std::size_t SectionEnd(std::size_t header) const;

  std::filesystem::path FPath;
  std::vector<TLine> FLines;
  bool FHasBom = false;
  bool FLoaded = false;
  bool FDirty = false;
  bool FInMemory = false;
  int FUncaughtAtStart;
};

}  // namespace kv
