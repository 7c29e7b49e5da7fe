// The start-up switches.
#include <windows.h>

#include <shellapi.h>

#include <cwctype>
#include <memory>

#include "gallery/Gallery.h"

namespace kv {
namespace {

constexpr unsigned long kLongestWait = 24ul * 60 * 60 * 1000;  // a day

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

// Decimal digits only (no sign, no spaces); false when there are none or too many.
bool ReadNumber(std::wstring_view text, unsigned long limit, unsigned long& value) {
  if (text.empty()) return false;
  value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + static_cast<unsigned long>(c - L'0');
    if (value > limit) return false;
  }
  return true;
}

// A number counted from 1, or a page's name in any case; -1 for neither.
int PageIndex(std::wstring_view text) {
  unsigned long number = 0;
  if (ReadNumber(text, kGalleryPages.size(), number)) return number >= 1 ? static_cast<int>(number) - 1 : -1;
  for (std::size_t i = 0; i < kGalleryPages.size(); ++i)
    if (SameText(text, kGalleryPages[i])) return static_cast<int>(i);
  return -1;
}

}  // namespace

TParsedOptions ParseGalleryArgs(const std::vector<std::wstring>& args) {
  TParsedOptions parsed;
  TGalleryOptions& o = parsed.Options;
  auto fail = [&](std::wstring text) {
    if (parsed.Error.empty()) parsed.Error = std::move(text);
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    const std::wstring* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
    if (arg == L"--page") {
      if (!value) {
        fail(L"--page needs a page number or name.");
        continue;
      }
      ++i;
      const int page = PageIndex(*value);
      if (page < 0)
        fail(L"There is no page \"" + *value + L"\".");
      else
        o.Page = page;
    } else if (arg == L"--quit-after") {
      unsigned long ms = 0;
      if (!value || !ReadNumber(*value, kLongestWait, ms)) {
        fail(L"--quit-after needs a number of milliseconds (at most a day).");
        if (value) ++i;
        continue;
      }
      ++i;
      o.QuitAfter = static_cast<unsigned>(ms);
    } else if (arg == L"--skin") {
      if (!value || value->empty()) {
        fail(L"--skin needs a skin's name, \"none\" or a skin file.");
        if (value) ++i;
        continue;
      }
      ++i;
      o.Skin = *value;
    } else if (arg == L"--mdi") {
      o.Mdi = true;
    } else if (arg == L"--dialog") {
      o.Dialog = true;
    } else if (arg == L"--shot") {
      o.Shot = true;
    } else {
      fail(L"Unknown switch \"" + arg + L"\".");
    }
  }
  return parsed;
}

std::vector<std::wstring> CommandLineArgs() {
  struct TLocalFree {
    void operator()(LPWSTR* p) const { LocalFree(p); }
  };
  int count = 0;
  std::unique_ptr<LPWSTR, TLocalFree> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv.get()[i]);
  return args;
}

}  // namespace kv
