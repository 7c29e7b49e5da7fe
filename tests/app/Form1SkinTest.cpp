// The skinned frame of the main window and of its message boxes from the first moment
// they show, under Wine: the screen is read back after every message the thread handles
// while a window is visible and until its frame has settled. Every frame pixel of every
// capture must be the settled skin's or what lay there before the window came; anything
// else showed on screen for a moment (the system's own caption and frame, above all).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Form1RunFixture.h"
#include "TestUtil.h"
#include "app/Unit1.h"
#include "skin/data/PixelBitmap.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/PixelCheck.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::PumpUntil;

// ---- reading the screen back ---------------------------------------------------------------

// Pixels (0x00RRGGBB) of a screen rectangle.
struct TShot {
  RECT Area{};
  std::vector<std::uint32_t> Pixels;

  int Width() const { return Area.right - Area.left; }
  int Height() const { return Area.bottom - Area.top; }
  bool Contains(POINT p) const { return PtInRect(&Area, p) != FALSE; }
  std::uint32_t At(POINT p) const { return Pixels[std::size_t(p.y - Area.top) * Width() + (p.x - Area.left)]; }
};

// `area` (screen coordinates) as `source` shows it; `origin` is where `area`'s top-left
// lies in the source DC.
TShot Grab(HDC source, const RECT& area, POINT origin) {
  TShot shot;
  shot.Area = area;
  const int w = shot.Width(), h = shot.Height();
  if (w <= 0 || h <= 0) return shot;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, source, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  shot.Pixels.assign(p, p + std::size_t(w) * h);
  for (std::uint32_t& px : shot.Pixels) px &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return shot;
}

// What the screen shows there (only what Wine has put on the display).
TShot GrabScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  TShot shot = Grab(screen, area, {area.left, area.top});
  ReleaseDC(nullptr, screen);
  return shot;
}

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT ClientOnScreen(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- watching windows as they come up --------------------------------------------------------

struct TCapture {
  UINT Msg = 0;  // the message just handled (sent) or about to be dispatched (posted)
  bool Posted = false;
  int State = -1;       // the window's form skin state, -1 without one
  bool Region = false;  // the window had its region
  RECT Window{};
  RECT Client{};
  std::string Target;              // the class of the message's window
  TShot Shot;                      // the window rectangle on the screen
  int Repeats = 0;                 // later captures that showed the same frame
  double FirstMs = 0, LastMs = 0;  // since the window was first seen (for the report)
};

// A window's frame pixels (window rectangle less client rectangle) inside the screen.
template <class F>
void ForFramePixels(const TCapture& c, F&& f) {
  const RECT screen = ScreenRect();
  for (LONG y = c.Window.top; y < c.Window.bottom; ++y)
    for (LONG x = c.Window.left; x < c.Window.right; ++x) {
      const POINT p{x, y};
      if (PtInRect(&c.Client, p) || !PtInRect(&screen, p)) continue;
      f(p);
    }
}

bool SameFrame(const TCapture& a, const TCapture& b) {
  if (!EqualRect(&a.Window, &b.Window) || !EqualRect(&a.Client, &b.Client)) return false;
  bool same = true;
  ForFramePixels(a, [&](POINT p) { same = same && a.Shot.At(p) == b.Shot.At(p); });
  return same;
}

struct TWatched {
  HWND Wnd = nullptr;
  TShot Before;     // the whole screen before the window showed
  TShot Reference;  // the whole screen once its frame had settled
  RECT SettledWindow{}, SettledClient{};
  std::wstring Title;  // read when settled
  bool Settled = false;
  bool TimedOut = false;
  Clock::time_point FirstSeen, LastChange;
  std::vector<TCapture> Captures;  // distinct frames only
};

// Captures the watched windows after every message of this thread: a WH_GETMESSAGE hook
// sees the posted ones (and WM_PAINT, WM_TIMER) before they are dispatched, i.e. the
// screen after the previous one; a WH_CALLWNDPROCRET hook sees each sent one handled.
// Message boxes of the thread are added as they are created and answered (No if they
// have it, else OK) once settled, from a thread timer that also runs in their modal loop.
class TFrameWatch {
 public:
  TFrameWatch() {
    FInstance = this;
    FGetHook = SetWindowsHookExW(WH_GETMESSAGE, &GetHook, nullptr, GetCurrentThreadId());
    FRetHook = SetWindowsHookExW(WH_CALLWNDPROCRET, &RetHook, nullptr, GetCurrentThreadId());
    FTimer = SetTimer(nullptr, 0, 40, &TimerProc);
  }
  ~TFrameWatch() {
    KillTimer(nullptr, FTimer);
    UnhookWindowsHookEx(FGetHook);
    UnhookWindowsHookEx(FRetHook);
    FInstance = nullptr;
  }
  TFrameWatch(const TFrameWatch&) = delete;
  TFrameWatch& operator=(const TFrameWatch&) = delete;

  void Watch(HWND wnd) {
    TWatched w;
    w.Wnd = wnd;
    w.Before = GrabScreen(ScreenRect());
    w.FirstSeen = w.LastChange = Clock::now();
    FWatched.push_back(std::move(w));
  }
  // With `answerBoxes`, the timer settles message boxes and answers them.
  void SetAnswerBoxes(bool on) { FAnswerBoxes = on; }
  std::deque<TWatched>& Watched() { return FWatched; }
  TWatched* Find(HWND wnd) {
    for (TWatched& w : FWatched)
      if (w.Wnd == wnd) return &w;
    return nullptr;
  }

  // Settled: the skin's frame is up (form skin ready, region cut, nothing left to paint)
  // and the frame has not changed for a while.
  static bool FrameSettled(const TWatched& w) {
    const TSkinManage* manager = TSkinManage::Instance();
    const TWinSkinForm* skin = manager ? manager->FindFormSkin(w.Wnd) : nullptr;
    return skin && skin->SkinState() == fsReady && skin->HasRegion() && !GetUpdateRect(w.Wnd, nullptr, FALSE) &&
           Clock::now() - w.LastChange > std::chrono::milliseconds(400);
  }
  void Settle(TWatched& w) {
    w.Reference = GrabScreen(ScreenRect());
    GetWindowRect(w.Wnd, &w.SettledWindow);
    w.SettledClient = ClientOnScreen(w.Wnd);
    wchar_t title[128] = {};
    GetWindowTextW(w.Wnd, title, 128);
    w.Title = title;
    w.Settled = true;
  }

 private:
  static LRESULT CALLBACK GetHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && FInstance) {
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      FInstance->OnMessage(msg->hwnd, msg->message, true);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK RetHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && FInstance) {
      const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
      FInstance->OnMessage(msg->hwnd, msg->message, false);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (FInstance) FInstance->OnTimer();
  }

  void OnMessage(HWND wnd, UINT msg, bool posted) {
    if (FBusy) return;
    FBusy = true;
    FTarget = wnd;
    if (wnd && FAnswerBoxes) {
      const HWND root = GetAncestor(wnd, GA_ROOT);
      wchar_t cls[16] = {};
      if (root && !Find(root) && GetClassNameW(root, cls, 16) && std::wstring(cls) == L"#32770") Watch(root);
    }
    for (TWatched& w : FWatched)
      if (!w.Settled && IsWindow(w.Wnd) && IsWindowVisible(w.Wnd)) Capture(w, msg, posted);
    FBusy = false;
  }

  void Capture(TWatched& w, UINT msg, bool posted) {
    TCapture c;
    c.Msg = msg;
    c.Posted = posted;
    const TSkinManage* manager = TSkinManage::Instance();
    if (const TWinSkinForm* skin = manager ? manager->FindFormSkin(w.Wnd) : nullptr) c.State = int(skin->SkinState());
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    c.Region = GetWindowRgn(w.Wnd, rgn) != ERROR;
    DeleteObject(rgn);
    GetWindowRect(w.Wnd, &c.Window);
    c.Client = ClientOnScreen(w.Wnd);
    c.Shot = GrabScreen(c.Window);
    c.FirstMs = c.LastMs = std::chrono::duration<double, std::milli>(Clock::now() - w.FirstSeen).count();
    if (!w.Captures.empty() && SameFrame(w.Captures.back(), c)) {
      ++w.Captures.back().Repeats;
      w.Captures.back().LastMs = c.LastMs;
      return;
    }
    wchar_t cls[64] = {};
    if (FTarget) GetClassNameW(FTarget, cls, 64);
    c.Target = FTarget == w.Wnd ? "the window" : FTarget ? std::string(cls, cls + wcslen(cls)) : "the thread";
    w.LastChange = Clock::now();
    w.Captures.push_back(std::move(c));
  }

  void OnTimer() {
    if (!FAnswerBoxes) return;
    for (TWatched& w : FWatched) {
      if (w.Settled || !IsWindow(w.Wnd) || !IsWindowVisible(w.Wnd)) continue;
      const bool late = Clock::now() - w.FirstSeen > std::chrono::seconds(8);
      if (!FrameSettled(w) && !late) continue;
      Settle(w);
      w.TimedOut = late && !FrameSettled(w);
      PostMessageW(w.Wnd, WM_COMMAND, GetDlgItem(w.Wnd, IDNO) ? IDNO : IDOK, 0);
    }
  }

  static inline TFrameWatch* FInstance = nullptr;
  HHOOK FGetHook = nullptr, FRetHook = nullptr;
  UINT_PTR FTimer = 0;
  bool FBusy = false;
  HWND FTarget = nullptr;
  bool FAnswerBoxes = false;
  std::deque<TWatched> FWatched;
};

// ---- judging the captures ----------------------------------------------------------------

// On the line from `a` to `b` (a caption gradient), give or take a little per channel.
bool NearGradient(std::uint32_t px, COLORREF a, COLORREF b) {
  const int pr = int(px >> 16 & 0xFF), pg = int(px >> 8 & 0xFF), pb = int(px & 0xFF);
  for (int i = 0; i <= 64; ++i) {
    const int r = GetRValue(a) + (GetRValue(b) - GetRValue(a)) * i / 64;
    const int g = GetGValue(a) + (GetGValue(b) - GetGValue(a)) * i / 64;
    const int bl = GetBValue(a) + (GetBValue(b) - GetBValue(a)) * i / 64;
    if (std::abs(pr - r) <= 6 && std::abs(pg - g) <= 6 && std::abs(pb - bl) <= 6) return true;
  }
  return false;
}

bool SystemCaptionColour(std::uint32_t px) {
  return NearGradient(px, GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_GRADIENTACTIVECAPTION)) ||
         NearGradient(px, GetSysColor(COLOR_INACTIVECAPTION), GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
}

const char* MessageName(UINT msg) {
  switch (msg) {
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_NCACTIVATE: return "WM_NCACTIVATE";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_ACTIVATEAPP: return "WM_ACTIVATEAPP";
    case WM_PAINT: return "WM_PAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_NCCALCSIZE: return "WM_NCCALCSIZE";
    case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_SIZE: return "WM_SIZE";
    case WM_MOVE: return "WM_MOVE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_TIMER: return "WM_TIMER";
    case WM_STYLECHANGING: return "WM_STYLECHANGING";
    case WM_STYLECHANGED: return "WM_STYLECHANGED";
    case WM_GETICON: return "WM_GETICON";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    case WM_NCHITTEST: return "WM_NCHITTEST";
    case WM_CTLCOLORDLG: return "WM_CTLCOLORDLG";
    case WM_CTLCOLORSTATIC: return "WM_CTLCOLORSTATIC";
    case WM_CTLCOLORBTN: return "WM_CTLCOLORBTN";
    case WM_INITDIALOG: return "WM_INITDIALOG";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
    case SM_SKINATTACHED: return "SM_SKINATTACHED";
    case SM_ISSKINNED: return "SM_ISSKINNED";
    default: return nullptr;
  }
}

std::string Hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06X", unsigned(v));
  return text;
}

std::uint32_t ColourOf(int index) {
  const COLORREF c = GetSysColor(index);
  return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

std::string Describe(UINT msg) {
  const char* name = MessageName(msg);
  char text[32];
  std::snprintf(text, sizeof(text), "0x%04X", msg);
  return name ? name : text;
}

struct TVerdict {
  int Foreign = 0;        // frame pixels neither the settled skin's nor what lay there before
  int CaptionColour = 0;  // of those, in the system's caption colours
  std::string FirstPixels;
};

// `under`: the settled screen of the window this one came up over (a message box over the
// editor), or null.
TVerdict Judge(const TWatched& w, const TCapture& c, const TShot* under) {
  TVerdict v;
  std::string firstForeign, firstCaption;
  int foreignListed = 0, captionListed = 0;
  const auto list = [&](std::string& into, int& listed, POINT p, std::uint32_t px) {
    if (listed++ >= 3) return;
    into += " (" + std::to_string(p.x - c.Window.left) + "," + std::to_string(p.y - c.Window.top) + ")=" + Hex(px) +
            " settled " + (w.Reference.Contains(p) ? Hex(w.Reference.At(p)) : "-");
  };
  ForFramePixels(c, [&](POINT p) {
    const std::uint32_t px = c.Shot.At(p);
    if (w.Reference.Contains(p) && px == w.Reference.At(p)) return;
    if (w.Before.Contains(p) && px == w.Before.At(p)) return;
    // A window put on the screen shows what lies under it until its first paint, a moment
    // later: under a message box, the editor as it settled. Anything else is foreign.
    if (under && under->Contains(p) && px == under->At(p)) return;
    ++v.Foreign;
    list(firstForeign, foreignListed, p, px);
    if (SystemCaptionColour(px)) {
      ++v.CaptionColour;
      list(firstCaption, captionListed, p, px);
    }
  });
  v.FirstPixels = firstCaption.empty() ? firstForeign : firstCaption;
  return v;
}

// Every capture of `w`, judged; the report lists the bad ones with what they showed.
std::string Report(const TWatched& w, int* badCaptures, const TShot* under = nullptr) {
  std::ostringstream out;
  out << "(system caption colours: active " << Hex(ColourOf(COLOR_ACTIVECAPTION)) << " to "
      << Hex(ColourOf(COLOR_GRADIENTACTIVECAPTION)) << ", inactive " << Hex(ColourOf(COLOR_INACTIVECAPTION)) << " to "
      << Hex(ColourOf(COLOR_GRADIENTINACTIVECAPTION)) << "; pixels at window coordinates)\n";
  *badCaptures = 0;
  int index = 0;
  for (const TCapture& c : w.Captures) {
    const TVerdict v = Judge(w, c, under);
    out << "capture " << index++ << (c.Posted ? " before posted " : " after sent ") << Describe(c.Msg) << " to "
        << c.Target << " (x" << (c.Repeats + 1) << ", " << int(c.FirstMs) << ".." << int(c.LastMs) << " ms) state "
        << c.State << (c.Region ? " region" : "") << " window " << c.Window.right - c.Window.left << "x"
        << c.Window.bottom - c.Window.top << " client at " << c.Client.left - c.Window.left << ","
        << c.Client.top - c.Window.top << ": " << v.Foreign << " foreign frame pixels, " << v.CaptionColour
        << " in the system caption colours" << v.FirstPixels << "\n";
    if (v.Foreign > 0) ++*badCaptures;
  }
  return out.str();
}

// ---- the fixture ---------------------------------------------------------------------------

class Form1SkinTest : public test::TForm1Run<TForm1> {
 protected:
  Form1SkinTest() : TForm1Run("kv-form1-skin-run") {}
  void TearDown() override {
    FWatch.reset();
    TForm1Run::TearDown();
  }

  // Shows the form under watch and waits for its frame to settle.
  TWatched& ShowWatched() {
    FWatch = std::make_unique<TFrameWatch>();
    FWatch->Watch(FForm->Handle());
    FForm->Show();
    TWatched& w = FWatch->Watched().front();
    EXPECT_TRUE(PumpUntil([&] { return TFrameWatch::FrameSettled(w); }, 10000)) << "the form's frame never settled";
    FWatch->Settle(w);
    return w;
  }
  const TWinSkinForm* FormSkin() const {
    const TSkinManage* manager = TSkinManage::Instance();
    return manager ? manager->FindFormSkin(FForm->Handle()) : nullptr;
  }

  std::unique_ptr<TFrameWatch> FWatch;
};

TEST_F(Form1SkinTest, MainWindowShowsOnlyItsSkinnedFrameAndKeepsItsClientArea) {
  // Where the controls stand in the client area before the skin takes the frame.
  struct TPlace {
    HWND Wnd;
    RECT Bounds;
  };
  std::vector<TPlace> before;
  HWND wnd = FForm->Handle();
  EnumChildWindows(
      wnd,
      [](HWND child, LPARAM data) -> BOOL {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        reinterpret_cast<std::vector<TPlace>*>(data)->push_back({child, r});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&before));
  ASSERT_FALSE(before.empty());

  TWatched& w = ShowWatched();
  const TWinSkinForm* skin = FormSkin();
  ASSERT_NE(skin, nullptr);
  ASSERT_FALSE(w.Captures.empty()) << "the window was never seen visible";

  int bad = 0;
  const std::string report = Report(w, &bad);
  EXPECT_EQ(bad, 0) << "frames other than the skin's showed on screen while the window came up:\n" << report;

  // The frame is the skin's borders exactly, around the client area the layout asked for.
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 333);
  EXPECT_EQ(client.bottom, 541);
  const Margins& borders = skin->Borders();
  EXPECT_EQ(w.SettledClient.left - w.SettledWindow.left, borders.Left);
  EXPECT_EQ(w.SettledClient.top - w.SettledWindow.top, borders.Top);
  EXPECT_EQ(w.SettledWindow.right - w.SettledClient.right, borders.Right);
  EXPECT_EQ(w.SettledWindow.bottom - w.SettledClient.bottom, borders.Bottom);
  for (const TPlace& p : before) {
    RECT r{};
    GetWindowRect(p.Wnd, &r);
    MapWindowPoints(nullptr, GetParent(p.Wnd), reinterpret_cast<POINT*>(&r), 2);
    wchar_t cls[64] = {};
    GetClassNameW(p.Wnd, cls, 64);
    EXPECT_TRUE(EqualRect(&r, &p.Bounds)) << "a " << std::string(cls, cls + wcslen(cls)) << " moved from "
                                          << p.Bounds.left << "," << p.Bounds.top << " to " << r.left << "," << r.top;
  }
}

TEST_F(Form1SkinTest, ApplyQuestionBoxShowsOnlyItsSkinnedFrame) {
  ShowWatched();
  FWatch->SetAnswerBoxes(true);
  HWND button = FForm->Button1->Handle();
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  // The question, then the note after No: both answered by the watch once settled.
  ASSERT_TRUE(PumpUntil(
      [&] {
        int answered = 0;
        for (const TWatched& w : FWatch->Watched())
          if (w.Wnd != FForm->Handle() && w.Settled) ++answered;
        return answered >= 2;
      },
      30000));
  const std::deque<TWatched>& watched = FWatch->Watched();
  ASSERT_EQ(watched.size(), 3u);
  EXPECT_EQ(watched[1].Title, L"温馨提示");
  EXPECT_EQ(watched[2].Title, kAppTitle);
  for (std::size_t i = 1; i < watched.size(); ++i) {
    const TWatched& w = watched[i];
    EXPECT_FALSE(w.TimedOut) << "box " << i << " never settled";
    ASSERT_FALSE(w.Captures.empty());
    int bad = 0;
    const std::string report = Report(w, &bad, &watched[0].Reference);
    EXPECT_EQ(bad, 0) << "box " << i << ": frames other than the skin's showed on screen:\n" << report;
  }
}

// In its own skin and in Midnight, the flat edits (a one-pixel border) show the skin's
// shadow ring and not the platform's, and the boxes on the ip page caption in the skin's
// text colour.
TEST_F(Form1SkinTest, FlatEditsAndBoxCaptionsShowTheSkinInBothSkins) {
  ShowWatched();
  ASSERT_FALSE(HasFatalFailure());
  const auto loadMidnight = [this] {
    // The gallery's skin file, by the path Wine gives the source tree.
    std::string path = KV_MIDNIGHT_SKIN;
    std::replace(path.begin(), path.end(), '/', '\\');
    int changes = 0;
    FForm->SkinData1->OnSkinChanged = [&changes](TComponent*) { ++changes; };
    const bool loaded = FForm->SkinData1->SetSkinFile(L"Z:" + std::wstring(path.begin(), path.end()));
    const bool changed = PumpUntil([&] { return changes > 0; }, 5000);
    FForm->SkinData1->OnSkinChanged = nullptr;
    ASSERT_TRUE(loaded && changed) << KV_MIDNIGHT_SKIN << " never became the skin";
    ASSERT_TRUE(PumpUntil([this] { return FormSkin() != nullptr; }, 10000)) << "the window lost its skin";
  };
  struct TPage {
    int Index;
    std::vector<const char*> Edits, Boxes;
  };
  const TPage pages[] = {
      {0, {"Edit1", "Edit2", "Edit10", "Edit3"}, {}},
      {1, {"Edit4", "Edit5", "Edit9"}, {"GroupBox3", "GroupBox4", "GroupBox5", "GroupBox1", "GroupBox2", "GroupBox6"}},
  };
  for (const bool midnight : {false, true}) {
    SCOPED_TRACE(midnight ? "Midnight" : "own skin");
    if (midnight) loadMidnight();
    ASSERT_FALSE(HasFatalFailure());
    const TSkinColours& colours = FForm->SkinData1->Model().Colours;
    const std::uint32_t shadow = PixelOf(ResolveColor(colours.ButtonShadowColour));
    const std::uint32_t text = PixelOf(ResolveColor(colours.ButtonTextColour));
    const std::uint32_t face = PixelOf(ResolveColor(colours.ButtonFaceColour));
    for (const TPage& page : pages) {
      FForm->PageControl1->SetActivePageIndex(page.Index);
      RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PumpUntil([] { return false; }, 150);
      for (const char* name : page.Edits) {
        auto* edit = FForm->Control<TWinControl>(name);
        ASSERT_NE(edit, nullptr) << name;
        const TPixelBitmap shot = test::CaptureWindow(edit->Handle());
        EXPECT_TRUE(test::RingIs(shot, {0, 0, shot.Width(), shot.Height()}, shadow, name));
      }
      for (const char* name : page.Boxes) {
        auto* box = FForm->Control<TWinControl>(name);
        ASSERT_NE(box, nullptr) << name;
        const TPixelBitmap shot = test::CaptureClient(box->Handle());
        EXPECT_GE(test::CountInk(shot, test::BoxCaptionArea(box->Handle()), text, face), 12)
            << name << "'s caption is not in the text colour " << std::hex << text;
      }
    }
  }
}

}  // namespace
}  // namespace kv
