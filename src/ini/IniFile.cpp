#include "ini/IniFile.h"

#include <exception>
#include <utility>

#include "base/ByteText.h"
#include "base/FileIo.h"
#include "base/TextCodec.h"

namespace kv {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::size_t npos = std::string::npos;

// What the profile functions trim around lines, names and values: ^Z (the old end-of-file
// mark) counts as a blank too.
constexpr bool IsProfileSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view TrimSpace(std::string_view s) {
  while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileSpace(s.back())) s.remove_suffix(1);
  return s;
}

// The platform keeps names and values as C strings: a NUL ends them.
std::string_view CutAtNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// A section or key name as given by a caller, and the form both are compared in.
std::string_view CallerName(std::string_view name) { return CutAtNul(TrimSpace(name)); }
std::string Folded(std::string_view name) { return AsciiLowerCase(name); }

bool IsBlankLine(std::string_view text) { return TrimSpace(text).empty(); }

// "[name]" (blanks allowed around the brackets and the name); the name is what lies
// between '[' and the last ']'.
bool ParseSectionHeader(std::string_view text, std::string_view& name) {
  const std::string_view t = TrimSpace(text);
  if (t.empty() || t.front() != '[') return false;
  const std::size_t close = t.rfind(']');
  if (close == npos) return false;
  name = CutAtNul(TrimSpace(t.substr(1, close - 1)));
  return true;
}

// A key line: "key=value", or a bare "key", a key without a value. Blank lines and
// comments are no keys.
bool ParseKeyLine(std::string_view text, std::string_view& key, std::optional<std::string_view>& value) {
  const std::string_view t = TrimSpace(text);
  if (t.empty() || t.front() == ';' || t.front() == '#') return false;
  const std::size_t eq = t.find('=');
  key = CutAtNul(TrimSpace(t.substr(0, eq)));
  value = eq == npos ? std::nullopt : std::optional(t.substr(eq + 1));
  return !key.empty();
}

std::string ValueText(std::string_view raw, std::size_t limit) {
  std::string_view v = CutAtNul(TrimSpace(raw));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, limit));
}

std::string OneLine(std::string_view value) {
  std::string s(value);
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

// Calls `line(text, end)` for every line of `text`. A line ends at LF, at CR LF, at CRs
// followed by LF (a CR LF file converted twice) or at a lone CR, which ends an empty
// line when another CR follows.
template <class TChar, class TLineFn>
void SplitLines(std::basic_string_view<TChar> text, TLineFn line) {
  const std::size_t size = text.size();
  std::size_t start = 0;
  while (start < size) {
    std::size_t at = start;
    while (at < size && text[at] != TChar('\r') && text[at] != TChar('\n')) ++at;
    if (at == size) {
      line(text.substr(start), text.substr(size));
      return;
    }
    std::size_t next = at + 1;
    if (text[at] == TChar('\r')) {
      std::size_t crs = at;
      while (crs < size && text[crs] == TChar('\r')) ++crs;
      if (crs < size && text[crs] == TChar('\n')) {
        next = crs + 1;
      } else {
        // Lone CRs: this line, then an empty line for each further CR.
        line(text.substr(start, at - start), text.substr(at, 1));
        for (std::size_t cr = at + 1; cr < crs; ++cr) line(text.substr(cr, 0), text.substr(cr, 1));
        start = crs;
        continue;
      }
    }
    line(text.substr(start, at - start), text.substr(at, next - at));
    start = next;
  }
}

// UTF-16 text as bytes in the given order.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  bytes.reserve(2 * text.size());
  for (const char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::u16string AsciiToUtf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

EIniWriteError::EIniWriteError(const std::filesystem::path& path)
    : std::runtime_error("Unable to write to " + PathToUtf8(path)) {}

EIniReadError::EIniReadError(const std::filesystem::path& path)
    : std::runtime_error("Unable to read " + PathToUtf8(path)) {}

TIniFile::TIniFile(std::filesystem::path path) : FPath(std::move(path)), FUncaughtAtStart(std::uncaught_exceptions()) {}

TIniFile::TIniFile(TIniFile&& other) noexcept
    : FPath(std::move(other.FPath)),
      FPreamble(std::move(other.FPreamble)),
      FSections(std::move(other.FSections)),
      FSectionIndex(std::move(other.FSectionIndex)),
      FLineEnd(std::move(other.FLineEnd)),
      FTrailer(std::move(other.FTrailer)),
      FEncoding(other.FEncoding),
      FLinesParsed(other.FLinesParsed),
      FLoaded(other.FLoaded),
      FDirty(std::exchange(other.FDirty, false)),
      FInMemory(other.FInMemory),
      FUnreadable(other.FUnreadable),
      FUncaughtAtStart(other.FUncaughtAtStart) {}

TIniFile::~TIniFile() {
  if (std::uncaught_exceptions() != FUncaughtAtStart) return;
  try {
    UpdateFile();
  } catch (...) {
    // Nothing reaches the caller from a destructor; Close() reports failures.
  }
}

TIniFile TIniFile::FromText(std::string_view text) {
  TIniFile ini{std::filesystem::path()};
  ini.FInMemory = true;
  ini.FLoaded = true;
  ini.Parse(text);
  return ini;
}

void TIniFile::Clear() {
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
  FLineEnd.clear();
  FTrailer.clear();
  FEncoding = enBytes;
  FUnreadable = false;
}

void TIniFile::EnsureLoaded() {
  if (FLoaded) return;
  FLoaded = true;
  Clear();
  const TFileRead file = ReadWholeFile(FPath);
  // Reads then give defaults, and UpdateFile() refuses to replace what it never saw.
  FUnreadable = file.State == rsUnreadable;
  Parse(file.Bytes);
}

void TIniFile::AddParsedLine(TLine line) {
  ++FLinesParsed;
  if (FLineEnd.empty()) FLineEnd = line.End;
  std::string_view name;
  if (ParseSectionHeader(line.Text, name)) {
    FSectionIndex.try_emplace(Folded(name), FSections.size());
    FSections.push_back({std::string(name), {}, nullptr});
  }
  (FSections.empty() ? FPreamble : FSections.back().Lines).push_back(std::move(line));
}

void TIniFile::Parse(std::string_view bytes) {
  const bool littleEndian = bytes.starts_with(kUtf16LeBom), bigEndian = bytes.starts_with(kUtf16BeBom);
  if (littleEndian || bigEndian) {
    FEncoding = bigEndian ? enUtf16Be : enUtf16Le;
    const std::string_view body = bytes.substr(2);
    std::u16string text(body.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto first = static_cast<unsigned char>(body[2 * i]), second = static_cast<unsigned char>(body[2 * i + 1]);
      text[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (first | second << 8));
    }
    FTrailer = body.substr(2 * text.size());
    // One conversion for the whole text; CR and LF stay single bytes in GBK and no other
    // character yields their bytes, so both texts break into the same lines.
    const std::string gbk = Utf16ToGbk(text);
    std::vector<std::string_view> narrow;
    SplitLines(std::string_view(gbk), [&](std::string_view t, std::string_view) { narrow.push_back(t); });
    std::vector<std::pair<std::u16string_view, std::u16string_view>> lines;
    SplitLines(std::u16string_view(text),
               [&](std::u16string_view t, std::u16string_view e) { lines.emplace_back(t, e); });
    const bool aligned = narrow.size() == lines.size();  // else convert line by line
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const auto [t, e] = lines[i];
      const std::size_t offset = 2 * static_cast<std::size_t>(t.data() - text.data());
      AddParsedLine({aligned ? std::string(narrow[i]) : Utf16ToGbk(t), std::string(e.begin(), e.end()),
                     std::string(body.substr(offset, 2 * t.size()))});
    }
  } else {
    if (bytes.starts_with(kUtf8Bom)) {
      FEncoding = enUtf8Bom;
      bytes.remove_prefix(kUtf8Bom.size());
    }
    SplitLines(bytes, [&](std::string_view t, std::string_view e) {
      AddParsedLine({std::string(t), std::string(e), {}});
    });
  }
  if (FLineEnd.empty()) FLineEnd = "\r\n";
}

std::string TIniFile::Contents() const {
  const bool wide = FEncoding == enUtf16Le || FEncoding == enUtf16Be;
  const bool bigEndian = FEncoding == enUtf16Be;
  std::string bytes;
  if (FEncoding == enUtf8Bom) bytes = kUtf8Bom;
  if (wide) bytes = bigEndian ? kUtf16BeBom : kUtf16LeBom;
  const auto put = [&](const TLine& line) {
    if (!wide) {
      bytes += line.Text;
      bytes += line.End;
      return;
    }
    bytes += line.Wide.empty() ? Utf16Bytes(GbkToUtf16(line.Text), bigEndian) : line.Wide;
    bytes += Utf16Bytes(AsciiToUtf16(line.End), bigEndian);
  };
  for (const TLine& line : FPreamble) put(line);
  for (const TSection& section : FSections)
    for (const TLine& line : section.Lines) put(line);
  bytes += FTrailer;
  return bytes;
}

TIniFile::TSection* TIniFile::FindSection(std::string_view section) {
  const auto it = FSectionIndex.find(Folded(CallerName(section)));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

std::size_t TIniFile::FindKey(TSection& section, std::string_view key) {
  if (!section.Keys) {
    section.Keys = std::make_unique<std::unordered_map<std::string, std::size_t>>();
    for (std::size_t i = 1; i < section.Lines.size(); ++i) {
      ++FLinesParsed;
      std::string_view name;
      std::optional<std::string_view> value;
      if (ParseKeyLine(section.Lines[i].Text, name, value)) section.Keys->try_emplace(Folded(name), i);
    }
  }
  const auto it = section.Keys->find(Folded(CallerName(key)));
  return it == section.Keys->end() ? npos : it->second;
}

std::optional<std::string_view> TIniFile::FindValue(std::string_view section, std::string_view key) {
  EnsureLoaded();
  TSection* found = FindSection(section);
  const std::size_t at = found ? FindKey(*found, key) : npos;
  if (at == npos) return std::nullopt;
  ++FLinesParsed;
  std::string_view name;
  std::optional<std::string_view> value;
  ParseKeyLine(found->Lines[at].Text, name, value);
  return value;
}

TIniFile::TLine* TIniFile::LastLine() {
  if (!FSections.empty()) return &FSections.back().Lines.back();
  return FPreamble.empty() ? nullptr : &FPreamble.back();
}

std::vector<std::string> TIniFile::ReadSections() {
  EnsureLoaded();
  std::vector<std::string> names;
  for (std::size_t i = 0; i < FSections.size(); ++i)
    if (FSectionIndex.at(Folded(FSections[i].Name)) == i) names.push_back(FSections[i].Name);
  return names;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) {
  const auto value = FindValue(section, key);
  return value ? ValueText(*value, kMaxValueBytes) : std::string(fallback);
}

std::string TIniFile::ReadFullString(std::string_view section, std::string_view key, std::string_view fallback) {
  const auto value = FindValue(section, key);
  return value ? ValueText(*value, npos) : std::string(fallback);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) {
  const auto value = FindValue(section, key);
  return value ? ParseIntegerOr(ValueText(*value, kMaxValueBytes), fallback) : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  EnsureLoaded();
  const std::string keyName(CallerName(key));
  const std::string text = OneLine(value);
  TSection* found = FindSection(section);
  if (!found) {
    if (TLine* last = LastLine(); last && last->End.empty()) last->End = FLineEnd;
    const std::string name(CallerName(section));
    TSection added{name,
                   {{"[" + name + "]", FLineEnd, {}}, {keyName + "=" + text, FLineEnd, {}}},
                   std::make_unique<std::unordered_map<std::string, std::size_t>>()};
    added.Keys->emplace(Folded(keyName), 1);
    FSectionIndex.emplace(Folded(name), FSections.size());
    FSections.push_back(std::move(added));
  } else if (const std::size_t at = FindKey(*found, key); at != npos) {
    // Keep the key as the file spells it, and whatever stood before the '='.
    TLine& line = found->Lines[at];
    const std::size_t eq = line.Text.find('=');
    if (eq != npos && std::string_view(line.Text).substr(eq + 1) == text) return;
    line.Text = eq == npos ? line.Text + "=" + text : line.Text.substr(0, eq + 1) + text;
    line.Wide.clear();
  } else {
    // After the section's last non-blank line, so blank lines between sections stay put;
    // only blank lines move, so no key's index changes.
    std::size_t end = found->Lines.size();
    while (end > 1 && IsBlankLine(found->Lines[end - 1].Text)) --end;
    if (found->Lines[end - 1].End.empty()) found->Lines[end - 1].End = FLineEnd;
    found->Lines.insert(found->Lines.begin() + static_cast<std::ptrdiff_t>(end),
                        TLine{keyName + "=" + text, FLineEnd, {}});
    found->Keys->emplace(Folded(keyName), end);
  }
  FDirty = true;
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() {
  if (!FDirty || FInMemory) return;
  // A file we could not read would be replaced by our keys alone.
  if (FUnreadable || !ReplaceFileContents(FPath, Contents())) throw EIniWriteError(FPath);
  FDirty = false;
}

void TIniFile::Close() {
  UpdateFile();
  if (FInMemory) return;
  FLoaded = false;
  Clear();
}

}  // namespace kv
