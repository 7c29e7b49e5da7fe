// What the skinned scroll bars cost, measured on real windows under Wine (or Windows):
//   hold     the process's CPU while a thumb drag is held for 5 s, once without a move and
//            once with a mouse move every 250 ms (each move scrolls and repaints)
//   poll     for comparison: a loop that polls the queue without waiting, for 2 s
//   repaint  a whole repaint of a report list view with a header and both scroll bars,
//            skinned and not
// Run by hand (never by the test command), like the frame bench, with the program's own
// skin. Times come from QueryPerformanceCounter, CPU from GetProcessTimes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "framework/Forms.h"
#include "framework/ListCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinData.h"
#include "skin/windows/ControlSkins.h"

namespace kv {
namespace {

using namespace bench;

// ---- the held drag: a timer inside the drag's own loop moves the mouse and ends it

struct THold {
  HWND Window = nullptr;
  POINT Thumb{};  // client coordinates of the press
  int Moves = 0;  // mouse moves to make, one per tick
  int Done = 0;
  int Ticks = 0;  // ticks of 250 ms until the release
};
THold gHold;

void CALLBACK HoldTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ++gHold.Done;
  if (gHold.Done >= gHold.Ticks) {
    KillTimer(nullptr, id);
    PostMessageW(gHold.Window, WM_LBUTTONUP, 0, MAKELPARAM(gHold.Thumb.x, gHold.Thumb.y));
    return;
  }
  if (gHold.Moves > 0) {
    // One pixel down and back: each move scrolls one position or two.
    const int dy = (gHold.Done % 2) ? 3 : 0;
    PostMessageW(gHold.Window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(gHold.Thumb.x, gHold.Thumb.y + dy));
  }
}

// Holds the thumb of `skin` for `ms`; the CPU share of one core over that time.
double HoldCpuPercent(TSkinScrollBar& skin, HWND wnd, int ms, bool moves, double* wallMs) {
  RECT w;
  GetWindowRect(wnd, &w);
  const RECT bar = skin.BarRect(1);
  const int y =
      bar.top + skin.Geometry(1).ArrowLength + skin.Geometry(1).ThumbOffset + skin.Geometry(1).ThumbLength / 2;
  const POINT screen{w.left + (bar.left + bar.right) / 2, w.top + y};
  POINT client = screen;
  ScreenToClient(wnd, &client);
  gHold = {wnd, client, moves ? 1 : 0, 0, ms / 250};
  SetTimer(nullptr, 0, 250, HoldTimer);
  PostMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
  const double cpu0 = CpuMs(), t0 = NowMs();
  MSG msg;
  // The press starts the drag loop inside this dispatch; it returns at the release.
  while (!PeekMessageW(&msg, wnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) Sleep(1);
  DispatchMessageW(&msg);
  *wallMs = NowMs() - t0;
  return 100.0 * (CpuMs() - cpu0) / *wallMs;
}

// A loop that takes messages without waiting, as a drag loop that polls would.
double PollCpuPercent(int ms) {
  const double cpu0 = CpuMs(), t0 = NowMs();
  MSG msg;
  while (NowMs() - t0 < ms) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 100.0 * (CpuMs() - cpu0) / (NowMs() - t0);
}

// ---- the list view

TListView* MakeList(TForm* form) {
  auto* list = form->Make<TListView>();
  list->SetParent(form);
  list->SetBounds(10, 10, 360, 300);
  list->SetViewStyle(vsReport);
  list->AddColumn(L"Name", 160);
  list->AddColumn(L"Size", 120);
  list->AddColumn(L"Kind", 200);
  for (int i = 0; i < 200; ++i)
    list->AddItem(L"Row " + std::to_wstring(i), -1, {std::to_wstring(i * 128) + L" KB", L"Document"});
  return list;
}

std::vector<double> RepaintTimes(HWND list, int n) {
  std::vector<double> times;
  for (int i = 0; i < n; ++i) {
    const double t0 = NowMs();
    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    times.push_back(NowMs() - t0);
  }
  return times;
}

int Run() {
  RegisterStandardProperties();
  TApplication app;
  app.Initialize();
  TForm* form = app.CreateForm<TForm>();
  form->SetBounds(40, 40, 640, 420);
  TSkinData* data = form->Make<TSkinData>();
  data->ReadSkinResource(L"SKINSTREAM");
  if (data->NoSkin()) {
    std::printf("the program's skin could not be read\n");
    return 1;
  }
  TCanvas canvas;
  TComponent formSkin;
  TControlSkins skins(&formSkin, [] { return false; });
  skins.Bind(data, &canvas);

  // ---- repaint: the unskinned list view first, then a second one skinned
  TListView* plainList = MakeList(form);
  form->Show();
  PumpFor(300);
  std::printf("repaint of a 360x300 report list view (header, 200 rows, both bars), RedrawWindow to done:\n");
  std::vector<double> plain, skinned;
  for (int round = 0; round < 3; ++round) {
    std::vector<double> p = RepaintTimes(plainList->Handle(), 60);
    plain.insert(plain.end(), p.begin(), p.end());
  }
  plainList->SetVisible(false);
  TListView* skinnedList = MakeList(form);
  skins.SkinChildren(form);  // the list view gets its scroll-bar skin and its header's
  PumpFor(300);
  for (int round = 0; round < 3; ++round) {
    std::vector<double> s = RepaintTimes(skinnedList->Handle(), 60);
    skinned.insert(skinned.end(), s.begin(), s.end());
  }
  const TStats p = Summarise(plain), s = Summarise(skinned);
  std::printf("  unskinned  median %8.3f ms  mean %8.3f ms  (n=%zu)\n", p.Median, p.Mean, plain.size());
  std::printf("  skinned    median %8.3f ms  mean %8.3f ms  (n=%zu)\n", s.Median, s.Mean, skinned.size());
  std::printf("  ratio skinned / unskinned: median %.2f\n", s.Median / std::max(0.001, p.Median));
  skinnedList->SetVisible(false);

  // ---- the held drag
  auto* panel = form->Make<TPanel>();
  panel->SetParent(form);
  panel->SetBounds(400, 10, 200, 300);
  const HWND wnd = panel->Handle();
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 999, 50, 400, 0};
  SetScrollInfo(wnd, SB_VERT, &info, TRUE);
  auto* barSkin = static_cast<TSkinScrollBar*>(MakeControlSkin(skins, TControlSkinKind::skScrollBar));
  barSkin->AttachScrollBars(panel, data, true, &canvas);
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(300);
  std::printf("CPU of the process while a thumb drag is held (one core = 100 %%; target < 5 %%):\n");
  double wall = 0;
  const double still = HoldCpuPercent(*barSkin, wnd, 5000, false, &wall);
  std::printf("  held 5 s, no move:               %6.2f %%  (%.0f ms)\n", still, wall);
  PumpFor(300);
  const int before = GetScrollPos(wnd, SB_VERT);
  const double moving = HoldCpuPercent(*barSkin, wnd, 5000, true, &wall);
  std::printf("  held 5 s, a move every 250 ms:   %6.2f %%  (%.0f ms; position %d -> %d at the end)\n", moving, wall,
              before, GetScrollPos(wnd, SB_VERT));
  std::printf("for comparison, a loop polling without waiting, 2 s: %6.2f %%\n", PollCpuPercent(2000));
  skins.FreeControlSkins();
  return 0;
}

}  // namespace
}  // namespace kv

int main() { return kv::Run(); }
