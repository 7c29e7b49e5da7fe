#pragma once
// TIniFile: the settings file's reader and writer. The add-on reads the file with the
// platform's profile functions, so this reads it as they do:
//  - a line ends at CR, LF or CR LF in any mix (also CR CR LF, a CR LF file converted
//    twice); lines are trimmed of blanks, tabs, CR, LF, VT, FF and ^Z;
//  - section and key names compare without regard to ASCII letter case and end at their
//    first NUL; the first section of a name is the one read and written, and within it
//    the first line of a key;
//  - a value is the text after '=', trimmed, ended at its first NUL, one matching pair of
//    '"' or '\'' removed, cut to 2047 bytes; a missing file, section or key, or a key line
//    without '=', gives the default;
//  - a file that starts with a UTF-16 byte-order mark is UTF-16 text, seen here as GBK
//    bytes like any other file;
//  - a write replaces the key's value in place, or adds the key at the end of its
//    section, or the section at the end of the file, or creates the file; every other
//    line keeps its bytes, its order and its own line end, new lines take the file's
//    first line end and its encoding; nothing is quoted;
//  - writes are buffered and Close() flushes them by replacing the whole file in one
//    step, so the file on disk is never torn; a file that exists but could not be read
//    is never replaced.
// Text is bytes (GBK in the settings file); the file's UTF-8 byte-order mark is kept.
// Sections and keys are indexed once per parse, so lookups do not rescan the file.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

// Raised when the file cannot be written: "Unable to write to <path>" (path in UTF-8).
class EIniWriteError : public std::runtime_error {
 public:
  explicit EIniWriteError(const std::filesystem::path& path);
};

// Raised when a file that exists cannot be read: "Unable to read <path>".
class EIniReadError : public std::runtime_error {
 public:
  explicit EIniReadError(const std::filesystem::path& path);
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
  // ReadString without the 2047-byte cut: what a value nobody changed is written back as.
  std::string ReadFullString(std::string_view section, std::string_view key, std::string_view fallback);
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback);
  bool ReadBool(std::string_view section, std::string_view key, bool fallback);
  // Every section name once, in the order of first appearance, as the file spells it.
  std::vector<std::string> ReadSections();

  // Line breaks in `value` would split the line; they are written as blanks. Writing the
  // value a key already has changes nothing.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Writes buffered changes to disk; throws EIniWriteError and keeps them buffered on
  // failure, or when the file existed but could not be read. Does nothing when nothing
  // changed.
  void UpdateFile();
  // Flushes and forgets the buffered copy (a later call reads the file again).
  void Close();

  // How many times a line's text was parsed since the object was made: once per line
  // when loading, once more per line of a section whose keys are looked up, once per
  // key found. Tests use it to see that lookups do not rescan the file.
  std::size_t LinesParsed() const { return FLinesParsed; }

 private:
  enum TEncoding { enBytes, enUtf8Bom, enUtf16Le, enUtf16Be };
  struct TLine {
    std::string Text;  // GBK bytes, whatever the file's encoding
    std::string End;   // "\r\n", "\n", "\r", "\r\r\n", ... or "" for a last line without one
    std::string Wide;  // a UTF-16 file's own bytes of the line's text, until Text changes
  };
  struct TSection {
    std::string Name;          // as the file spells it, up to a NUL
    std::vector<TLine> Lines;  // the header line first
    // Folded key name -> index in Lines of the key's first line; built at the first lookup.
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> Keys;
  };

  void EnsureLoaded();
  void Clear();
  void Parse(std::string_view bytes);
  void AddParsedLine(TLine line);
  std::string Contents() const;
  TSection* FindSection(std::string_view section);
  // Index in `section.Lines` of the key's line, or npos.
  std::size_t FindKey(TSection& section, std::string_view key);
  // The untrimmed text after '=' of the key's line; nothing when the key is absent or has
  // no '='.
  std::optional<std::string_view> FindValue(std::string_view section, std::string_view key);
  TLine* LastLine();

  std::filesystem::path FPath;
  std::vector<TLine> FPreamble;  // the lines before the first section
  std::vector<TSection> FSections;
  std::unordered_map<std::string, std::size_t> FSectionIndex;  // folded name -> first section of that name
  std::string FLineEnd;                                        // for new lines: the file's first line end
  std::string FTrailer;                                        // the odd last byte of a UTF-16 file, kept as it was
  TEncoding FEncoding = enBytes;
  std::size_t FLinesParsed = 0;
  bool FLoaded = false;
  bool FDirty = false;
  bool FInMemory = false;
  bool FUnreadable = false;
  int FUncaughtAtStart;
};

}  // namespace kv
