#include "ini/IniFile.h"

#include <exception>
#include <utility>

#include "base/ByteText.h"
#include "base/FileIo.h"

namespace kv {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t npos = std::string::npos;

// "[name]" (blanks allowed around the brackets and the name); the name is what lies
// between '[' and the last ']'.
bool ParseSectionHeader(std::string_view text, std::string_view& name) {
  const std::string_view t = TrimBlanks(text);
  if (t.empty() || t.front() != '[') return false;
  const std::size_t close = t.rfind(']');
  if (close == npos || close == 0) return false;
  name = TrimBlanks(t.substr(1, close - 1));
  return true;
}

bool IsComment(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// Key name of a key line ("key=value", or a bare "key" that has an empty value).
bool ParseKeyLine(std::string_view text, std::string_view& key, std::string_view& value) {
  if (TrimBlanks(text).empty() || IsComment(text)) return false;
  const std::size_t eq = text.find('=');
  key = TrimBlanks(text.substr(0, eq));
  value = eq == npos ? std::string_view() : text.substr(eq + 1);
  return !key.empty();
}

std::string Unquote(std::string_view raw) {
  std::string_view v = TrimBlanks(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  if (v.size() > TIniFile::kMaxValueBytes) v = v.substr(0, TIniFile::kMaxValueBytes);
  return std::string(v);
}

std::string OneLine(std::string_view value) {
  std::string s(value);
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

EIniWriteError::EIniWriteError(const std::filesystem::path& path)
    : std::runtime_error("Unable to write to " + PathToUtf8(path)) {}

TIniFile::TIniFile(std::filesystem::path path)
    : FPath(std::move(path)), FUncaughtAtStart(std::uncaught_exceptions()) {}

TIniFile::TIniFile(TIniFile&& other) noexcept
    : FPath(std::move(other.FPath)),
      FLines(std::move(other.FLines)),
      FHasBom(other.FHasBom),
      FLoaded(other.FLoaded),
      FDirty(std::exchange(other.FDirty, false)),
      FInMemory(other.FInMemory),
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

void TIniFile::EnsureLoaded() {
  if (FLoaded) return;
  FLoaded = true;
  FLines.clear();
  FHasBom = false;
  if (const auto bytes = ReadFileBytes(FPath)) Parse(*bytes);
}

void TIniFile::Parse(std::string_view bytes) {
  std::string_view rest = bytes;
  if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    FHasBom = true;
    rest.remove_prefix(kUtf8Bom.size());
  }
  while (!rest.empty()) {
    const std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    std::string_view end;
    if (lf == npos) {
      rest = {};
    } else {
      rest.remove_prefix(lf + 1);
      end = "\n";
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
        end = "\r\n";
      }
    }
    FLines.push_back({std::string(line), std::string(end)});
  }
}

std::string_view TIniFile::NewLineEnd() const {
  for (const TLine& line : FLines)
    if (!line.End.empty()) return line.End;
  return "\r\n";
}

std::size_t TIniFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    std::string_view name;
    if (ParseSectionHeader(FLines[i].Text, name) && SameTextAscii(name, TrimBlanks(section))) return i;
  }
  return npos;
}

std::size_t TIniFile::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  std::string_view name;
  while (i < FLines.size() && !ParseSectionHeader(FLines[i].Text, name)) ++i;
  return i;
}

bool TIniFile::FindKey(std::size_t header, std::string_view key, TKeyLine& found) const {
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string_view name, value;
    if (ParseKeyLine(FLines[i].Text, name, value) && SameTextAscii(name, TrimBlanks(key))) {
      found = {i, value};
      return true;
    }
  }
  return false;
}

std::vector<std::string> TIniFile::ReadSections() {
  EnsureLoaded();
  std::vector<std::string> names;
  for (const TLine& line : FLines) {
    std::string_view name;
    if (!ParseSectionHeader(line.Text, name)) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || SameTextAscii(n, name);
    if (!seen) names.emplace_back(name);
  }
  return names;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) {
  EnsureLoaded();
  const std::size_t header = FindSection(section);
  TKeyLine found;
  if (header == npos || !FindKey(header, key, found)) return std::string(fallback);
  return Unquote(found.Value);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) {
  EnsureLoaded();
  const std::size_t header = FindSection(section);
  TKeyLine found;
  if (header == npos || !FindKey(header, key, found)) return fallback;
  return ParseIntegerOr(Unquote(found.Value), fallback);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  EnsureLoaded();
  const std::string line = std::string(TrimBlanks(key)) + "=" + OneLine(value);
  const std::string end(NewLineEnd());
  std::size_t header = FindSection(section);
  if (header == npos) {
    if (!FLines.empty() && FLines.back().End.empty()) FLines.back().End = end;
    FLines.push_back({"[" + std::string(TrimBlanks(section)) + "]", end});
    FLines.push_back({line, end});
  } else if (TKeyLine found; FindKey(header, key, found)) {
    // Keep the key as the file spells it, and whatever stood before the '='.
    std::string& text = FLines[found.Index].Text;
    const std::size_t eq = text.find('=');
    text = eq == npos ? text + "=" + OneLine(value) : text.substr(0, eq + 1) + OneLine(value);
  } else {
    // After the section's last non-blank line, so blank lines between sections stay put.
    std::size_t at = SectionEnd(header);
    while (at > header + 1 && TrimBlanks(FLines[at - 1].Text).empty()) --at;
    if (FLines[at - 1].End.empty()) FLines[at - 1].End = end;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), TLine{line, end});
  }
  FDirty = true;
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() {
  if (!FDirty || FInMemory) return;
  std::string bytes;
  if (FHasBom) bytes = kUtf8Bom;
  for (const TLine& line : FLines) {
    bytes += line.Text;
    bytes += line.End;
  }
  if (!ReplaceFileContents(FPath, bytes)) throw EIniWriteError(FPath);
  FDirty = false;
}

void TIniFile::Close() {
  UpdateFile();
  if (FInMemory) return;
  FLoaded = false;
  FLines.clear();
}

}  // namespace kv
