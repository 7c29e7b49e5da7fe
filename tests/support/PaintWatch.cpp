#include "support/PaintWatch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "framework/Forms.h"

namespace kv::test {

namespace {

unsigned long long NowMs() {
  return static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now().time_since_epoch())
                                             .count());
}

std::string Hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06X", unsigned(v));
  return text;
}

std::string MessageName(UINT msg) {
  switch (msg) {
    case WM_PAINT: return "WM_PAINT";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_CHAR: return "WM_CHAR";
    case WM_TIMER: return "WM_TIMER";
    case WM_NOTIFY: return "WM_NOTIFY";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_CTLCOLORSTATIC: return "WM_CTLCOLORSTATIC";
    case WM_CTLCOLOREDIT: return "WM_CTLCOLOREDIT";
    case WM_CTLCOLORBTN: return "WM_CTLCOLORBTN";
    case BM_SETCHECK: return "BM_SETCHECK";
    case BM_SETSTATE: return "BM_SETSTATE";
    case TCM_GETITEMRECT: return "TCM_GETITEMRECT";
    case TCM_SETCURSEL: return "TCM_SETCURSEL";
    default: {
      char text[16];
      std::snprintf(text, sizeof(text), "0x%04X", msg);
      return text;
    }
  }
}

}  // namespace

std::vector<RECT> RingAreas(int w, int h, int width) {
  return AroundAreas(w, h, {width, width, w - width, h - width});
}

std::vector<RECT> AroundAreas(int w, int h, const RECT& inner) {
  std::vector<RECT> areas = {{0, 0, w, inner.top},
                             {0, inner.bottom, w, h},
                             {0, inner.top, inner.left, inner.bottom},
                             {inner.right, inner.top, w, inner.bottom}};
  std::erase_if(areas, [](const RECT& r) { return r.right <= r.left || r.bottom <= r.top; });
  return areas;
}

TPaintWatch::TPaintWatch(std::vector<TWatchedPart> parts) {
  for (TWatchedPart& watched : parts) {
    TPart part;
    part.Before = Read(watched);
    part.Watched = std::move(watched);
    FParts.push_back(std::move(part));
  }
  FInstance = this;
  FLastChange = NowMs();
  FGetHook = SetWindowsHookExW(WH_GETMESSAGE, &GetHook, nullptr, GetCurrentThreadId());
  FRetHook = SetWindowsHookExW(WH_CALLWNDPROCRET, &RetHook, nullptr, GetCurrentThreadId());
}

TPaintWatch::~TPaintWatch() { Unhook(); }

void TPaintWatch::Unhook() {
  if (FGetHook) UnhookWindowsHookEx(FGetHook);
  if (FRetHook) UnhookWindowsHookEx(FRetHook);
  FGetHook = FRetHook = nullptr;
  if (FInstance == this) FInstance = nullptr;
}

LRESULT CALLBACK TPaintWatch::GetHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && FInstance) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    FInstance->OnMessage(msg->hwnd, msg->message, true);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TPaintWatch::RetHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && FInstance) {
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    FInstance->OnMessage(msg->hwnd, msg->message, false);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TPaintWatch::OnMessage(HWND wnd, UINT msg, bool posted) {
  if (FBusy) return;
  FBusy = true;
  for (TPart& part : FParts) {
    if (!IsWindow(part.Watched.Wnd)) continue;
    std::vector<std::uint32_t> pixels = Read(part.Watched);
    const std::vector<std::uint32_t>& last = part.Pictures.empty() ? part.Before : part.Pictures.back().Pixels;
    if (pixels == last) continue;
    TPicture picture;
    picture.Msg = msg;
    picture.Posted = posted;
    wchar_t cls[64] = {};
    if (wnd) GetClassNameW(wnd, cls, 64);
    for (const wchar_t* c = cls; *c; ++c) picture.Target += char(*c < 128 ? *c : '?');
    picture.Pixels = std::move(pixels);
    part.Pictures.push_back(std::move(picture));
    FLastChange = NowMs();
  }
  FBusy = false;
}

namespace {

// The areas of `wnd` as `source` shows them, appended to `pixels`; `origin` is where the
// window's top-left lies in the source.
void ReadAreas(HDC source, POINT origin, const std::vector<RECT>& areas, std::vector<std::uint32_t>& pixels) {
  HDC memory = CreateCompatibleDC(source);
  for (const RECT& area : areas) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) continue;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) continue;
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, source, origin.x + area.left, origin.y + area.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < std::size_t(w) * h; ++i) pixels.push_back(p[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
}

}  // namespace

// Twice: as the display shows it (what was flushed to it, even in the middle of a
// message) and as the window's own surface holds it now (what the next flush shows).
std::vector<std::uint32_t> TPaintWatch::Read(const TWatchedPart& part) {
  std::vector<std::uint32_t> pixels;
  RECT window{};
  if (!GetWindowRect(part.Wnd, &window)) return pixels;
  HDC screen = GetDC(nullptr);
  ReadAreas(screen, {window.left, window.top}, part.Areas, pixels);
  ReleaseDC(nullptr, screen);
  HDC own = GetWindowDC(part.Wnd);
  ReadAreas(own, {0, 0}, part.Areas, pixels);
  ReleaseDC(part.Wnd, own);
  return pixels;
}

bool TPaintWatch::Settle(int boundMs) {
  const unsigned long long end = NowMs() + unsigned(boundMs);
  bool settled = false;
  while (NowMs() < end) {
    Application->ProcessMessages();  // dialog keys included
    const bool painting = std::any_of(FParts.begin(), FParts.end(), [](const TPart& p) {
      return IsWindow(p.Watched.Wnd) && GetUpdateRect(p.Watched.Wnd, nullptr, FALSE);
    });
    if (!painting && NowMs() - FLastChange > 300) {
      settled = true;
      break;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  Unhook();
  for (TPart& part : FParts) part.Settled = Read(part.Watched);
  return settled;
}

int TPaintWatch::Pictures() const {
  int count = 0;
  for (const TPart& part : FParts) count += int(part.Pictures.size());
  return count;
}

int TPaintWatch::WrongPixels(const TPart& part, const TPicture& picture, std::string* first) const {
  int wrong = 0;
  const std::size_t n = std::min({picture.Pixels.size(), part.Before.size(), part.Settled.size()});
  if (picture.Pixels.size() != part.Settled.size()) return int(picture.Pixels.size());  // the window moved
  // The index back to window coordinates, for the report.
  const auto where = [&](std::size_t i) {
    std::size_t total = 0;
    for (const RECT& area : part.Watched.Areas) total += std::size_t(area.right - area.left) * (area.bottom - area.top);
    const char* source = i < total ? " on screen" : " in the window";
    i %= std::max<std::size_t>(total, 1);
    for (const RECT& area : part.Watched.Areas) {
      const std::size_t size = std::size_t(area.right - area.left) * (area.bottom - area.top);
      if (i < size) {
        const int w = area.right - area.left;
        return std::to_string(area.left + int(i % w)) + "," + std::to_string(area.top + int(i / w)) + source;
      }
      i -= size;
    }
    return std::string("?");
  };
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t px = picture.Pixels[i];
    if (px == part.Before[i] || px == part.Settled[i]) continue;
    if (first && wrong < 3)
      *first += " (" + where(i) + ")=" + Hex(px) + " before " + Hex(part.Before[i]) + " settled " + Hex(part.Settled[i]);
    ++wrong;
  }
  return wrong;
}

int TPaintWatch::BadPictures() const {
  int bad = 0;
  for (const TPart& part : FParts)
    for (const TPicture& picture : part.Pictures)
      if (WrongPixels(part, picture, nullptr) > 0) ++bad;
  return bad;
}

std::string TPaintWatch::Report() const {
  std::ostringstream out;
  for (const TPart& part : FParts) {
    out << part.Watched.Name << ": " << part.Pictures.size() << " pictures\n";
    int index = 0;
    for (const TPicture& picture : part.Pictures) {
      std::string first;
      const int wrong = WrongPixels(part, picture, &first);
      ++index;
      if (!wrong) continue;
      out << "  picture " << index << (picture.Posted ? " before posted " : " after sent ")
          << MessageName(picture.Msg) << " to " << picture.Target << ": " << wrong << " wrong pixels" << first
          << "\n";
    }
  }
  return out.str();
}

}  // namespace kv::test
