// What the gallery's windows cost, under Wine (or Windows):
//   repaint  a full repaint of the gallery window on each of its pages, skinned and not
//   switch   from one embedded skin to the other with every gallery window open (the
//            main window, the MDI demo with a maximised child, the modeless template
//            dialog): the skin read at the request, the skin manager's action delay, then
//            from the action tick to the last window repainted
// `gallery_bench --server-trace` switches for a trace of Wine's server requests instead.
// Run by scripts/bench-win.sh, never by the test command. Times come from
// QueryPerformanceCounter; the SUMMARY lines are the rows of the script's table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "gallery/Gallery.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/CallCount.h"

namespace kv {
namespace {

using namespace bench;

// How long a window may take to come up; a traced run (every server request written out)
// is many times slower.
int GPatienceMs = 10000;

constexpr UINT kFullRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

TWinSkinForm* FormSkin(HWND window) {
  TSkinManage* manager = TSkinManage::Instance();
  return manager ? manager->FindFormSkin(window) : nullptr;
}

bool PaintPending() { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) != 0; }

// Shown, nothing left to paint and, skinned, the frame fitted, cut and painted.
bool FirstFrameDone(TForm* form, bool skinned) {
  if (!IsWindowVisible(form->Handle()) || PaintPending()) return false;
  if (!skinned) return true;
  const TWinSkinForm* skin = FormSkin(form->Handle());
  return skin && skin->SkinState() == fsReady && skin->HasRegion();
}

void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A gallery window made as the program makes it, with its first skin or none from the
// start, shown and settled. Nullptr when it did not come up as asked.
TGalleryForm* OpenGallery(TApplication& app, bool skinned) {
  app.Initialize();
  app.SetTitle(kGalleryTitle);
  TGalleryForm::SetStartSkin(skinned ? L"" : L"none");
  auto* form = app.CreateForm<TGalleryForm>();
  form->Show();
  const bool up = PumpUntil([&] { return FirstFrameDone(form, skinned); }, GPatienceMs);
  SetForegroundWindow(form->Handle());
  PumpFor(300);
  return up && skinned == (FormSkin(form->Handle()) != nullptr) ? form : nullptr;
}

BOOL CALLBACK CountVisible(HWND child, LPARAM counter) {
  if (IsWindowVisible(child)) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

// The visible windows inside `parent`, all levels down.
int WindowsInside(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, &CountVisible, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct TPageRepaint {
  std::vector<double> Skinned, Plain;
  double SkinnedCpu = 0, PlainCpu = 0;  // the thread's CPU per repaint
  int Windows = 0;                      // visible windows of the whole gallery window on that page
};

// Each page shown in turn in a fresh gallery, then `count` timed full repaints after a
// few untimed ones. False when the gallery did not come up as asked.
bool RepaintPages(bool skinned, int count, std::vector<TPageRepaint>& pages) {
  auto app = std::make_unique<TApplication>();
  TGalleryForm* form = OpenGallery(*app, skinned);
  if (form) {
    // A still window: no clock ticking into the figures, the mouse away.
    TGalleryOptions still;
    still.Shot = true;
    form->ApplyOptions(still);
    for (std::size_t page = 0; page < pages.size(); ++page) {
      form->Pages()->SetActivePageIndex(int(page));
      PumpFor(300);
      const HWND window = form->Handle();
      pages[page].Windows = WindowsInside(window);
      for (int i = 0; i < 5; ++i) {
        RedrawWindow(window, nullptr, nullptr, kFullRepaint);
        DrainMessages();
      }
      std::vector<double>& samples = skinned ? pages[page].Skinned : pages[page].Plain;
      const double cpu0 = ThreadCpuMs();
      for (int i = 0; i < count; ++i) {
        DrainMessages();
        const double t0 = NowMs();
        RedrawWindow(window, nullptr, nullptr, kFullRepaint);
        samples.push_back(NowMs() - t0);
      }
      (skinned ? pages[page].SkinnedCpu : pages[page].PlainCpu) = (ThreadCpuMs() - cpu0) / count;
    }
  }
  app.reset();
  TSkinManage::DestroyInstance();
  return form != nullptr;
}

// One profiled repaint run of the page `page` (see TPaintProfile).
void ProfilePage(bool skinned, int page) {
  auto app = std::make_unique<TApplication>();
  if (TGalleryForm* form = OpenGallery(*app, skinned)) {
    TGalleryOptions still;
    still.Shot = true;
    still.Page = page;
    form->ApplyOptions(still);
    PumpFor(300);
    for (int i = 0; i < 5; ++i) {
      RedrawWindow(form->Handle(), nullptr, nullptr, kFullRepaint);
      DrainMessages();
    }
    TPaintProfile profile;
    profile.Start();
    for (int i = 0; i < 8; ++i) {
      DrainMessages();
      const double t0 = NowMs();
      RedrawWindow(form->Handle(), nullptr, nullptr, kFullRepaint);
      profile.AddCall(NowMs() - t0);
    }
    profile.Stop();
    std::printf("    profiled, %s:\n", skinned ? "skinned" : "unskinned");
    profile.Print(12);
  }
  app.reset();
  TSkinManage::DestroyInstance();
}

// ---- the skin switch

struct TSwitchTimes {
  double Request = 0;       // the request call: the skin read and its model built
  double Delay = 0;         // from the request's return to the action tick
  double Refresh = 0;       // from the tick to OnSkinChanged (every form skin refreshed)
  double Repaint = 0;       // from the tick to the end of the last message handled that was not a timer's
  std::size_t Windows = 0;  // top-level windows with a queued WM_PAINT after the tick
  bool Ok = false;
};

// Switches to the embedded skin `index` and follows it to the last repaint, pumping the
// messages itself: no hook is installed while timing (with one, Wine asks its server
// about the hook for every message sent, which would be most of the figure). The paints
// sent while a message is handled end with it, so the repaint ends with the last message
// that is not a timer tick (clock and hover timers change nothing here), or with the
// action tick itself. The window for late messages: `settleMs` after the change was
// announced. With `profile`, the messages sent from the request to the end are profiled
// as one call (that one is slower by the hooks).
TSwitchTimes SwitchOnce(TGalleryForm* form, int index, int settleMs, TPaintProfile* profile = nullptr) {
  TSwitchTimes t;
  bool changed = false;
  double changedAt = 0;
  form->SkinData()->OnSkinChanged = [&](TComponent*) {
    changed = true;
    changedAt = NowMs();
  };
  DrainMessages();
  if (profile) profile->Start();
  const double t0 = NowMs();
  if (!form->UseEmbeddedSkin(index)) {
    if (profile) profile->Stop();
    form->SkinData()->OnSkinChanged = nullptr;
    return t;
  }
  const double requested = NowMs();
  t.Request = requested - t0;
  double tick = 0, lastWork = 0;
  std::set<HWND> repainted;
  while (!changed || NowMs() - changedAt < settleMs) {
    if (!changed && NowMs() - requested > 5000) break;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      const bool before = changed;
      const double start = NowMs();
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      const double end = NowMs();
      if (changed && !before) tick = start;  // the timer dispatch that announced the change
      if (changed && (msg.message != WM_TIMER || !before)) lastWork = end;
      if (changed && msg.message == WM_PAINT) repainted.insert(GetAncestor(msg.hwnd, GA_ROOT));
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  if (profile) {
    profile->Stop();
    profile->AddCall(NowMs() - t0);
  }
  form->SkinData()->OnSkinChanged = nullptr;
  if (!changed) return t;
  t.Delay = tick - requested;
  t.Refresh = changedAt - tick;
  t.Repaint = lastWork - tick;
  t.Windows = repainted.size();
  t.Ok = true;
  return t;
}

// The skinned gallery on `page` with every window it has open: the MDI demo with its
// active child maximised and the modeless template dialog. `allSkinned`: each of them
// has its skin. Nullptr when the gallery did not come up.
TGalleryForm* OpenEveryWindow(TApplication& app, int page, bool* allSkinned) {
  TGalleryForm* form = OpenGallery(app, true);
  if (!form) return nullptr;
  TGalleryOptions options;
  options.Page = page;
  options.Shot = true;
  options.Mdi = true;
  options.Dialog = true;
  form->ApplyOptions(options);
  const auto skinned = [form] {
    TGalleryMdiFrame* mdi = form->MdiDemo();
    const HWND dialog = form->ModelessDialog().Handle();
    return mdi && mdi->ActiveMDIChild() && dialog && FormSkin(form->Handle()) && FormSkin(mdi->Handle()) &&
           FormSkin(dialog);
  };
  if (PumpUntil(skinned, GPatienceMs)) {
    form->MdiDemo()->ActiveMDIChild()->SetWindowState(wsMaximized);
    PumpUntil([] { return TSkinManage::Instance()->MdiMaximized(); }, GPatienceMs);
  }
  PumpFor(500);
  *allSkinned = skinned() && TSkinManage::Instance()->MdiMaximized();
  return form;
}

// For a trace of the Wine server's requests (WINEDEBUG=+server,+debugstr, see
// scripts/bench-win.sh --server-trace): one switch each way between marker lines, from
// the request to 500 ms after the change, nothing timed. The first switch each way reads
// its skin first, so two go before.
int ServerTrace() {
  GPatienceMs = 120000;
  auto app = std::make_unique<TApplication>();
  bool allSkinned = false;
  TGalleryForm* form = OpenEveryWindow(*app, 0, &allSkinned);
  if (!form || !allSkinned) {
    std::printf("the gallery's windows did not all come up skinned\n");
    return 1;
  }
  SwitchOnce(form, 1, 500);
  SwitchOnce(form, 0, 500);
  for (int target : {1, 0}) {
    OutputDebugStringA(target == 1 ? "KVTRACE begin switch-to-Midnight\n" : "KVTRACE begin switch-to-Koravent\n");
    testing::TCallCount count;
    SwitchOnce(form, target, 500);
    OutputDebugStringA("KVTRACE end\n");
    std::printf(
        "switch-to-%s: %d SetWindowPos, %d SetWindowRgn (%zu windows), %d WM_SETFONT, %d WM_WINDOWPOSCHANGING\n",
        target == 1 ? "Midnight" : "Koravent", count.WindowPositions, count.RegionCalls(), count.Regions.size(),
        count.MessageCount(WM_SETFONT), count.MessageCount(WM_WINDOWPOSCHANGING));
  }
  app.reset();
  TSkinManage::DestroyInstance();
  return 0;
}

void PrintSwitch(const char* name, const std::vector<TSwitchTimes>& runs, std::size_t windows) {
  std::vector<double> request, delay, refresh, repaint;
  std::size_t missed = 0;
  for (const TSwitchTimes& t : runs) {
    request.push_back(t.Request);
    delay.push_back(t.Delay);
    refresh.push_back(t.Refresh);
    repaint.push_back(t.Repaint);
    if (t.Windows < windows) ++missed;
  }
  std::printf("  %s (%zu switches; %zu of them left a top-level window without a queued WM_PAINT):\n", name,
              runs.size(), missed);
  PrintStats("    request (skin read, model)", Summarise(request), request.size());
  PrintStats("    action delay (request to tick)", Summarise(delay), delay.size());
  PrintStats("    tick to OnSkinChanged", Summarise(refresh), refresh.size());
  PrintStats("    tick to last window repainted", Summarise(repaint), repaint.size(), "<= 100 ms");
}

int Run(int argc, char** argv) {
  RegisterStandardProperties();
  if (argc > 1 && std::string(argv[1]) == "--server-trace") return ServerTrace();
  bool failed = false;
  PrintMachineState("at the start");

  // ---- full repaint of the gallery window, page by page
  std::vector<TPageRepaint> pages(kGalleryPages.size());
  for (bool skinned : {true, false})
    if (!RepaintPages(skinned, 20, pages)) {
      std::printf("the %s gallery did not come up\n", skinned ? "skinned" : "unskinned");
      failed = true;
    }
  std::printf("full repaint of the gallery window (RedrawWindow INVALIDATE|ERASE|FRAME|ALLCHILDREN|UPDATENOW):\n");
  std::size_t busiest = 0;
  for (std::size_t page = 0; page < pages.size(); ++page) {
    const TPageRepaint& p = pages[page];
    if (p.Windows > pages[busiest].Windows) busiest = page;
    const TStats s = Summarise(p.Skinned), u = Summarise(p.Plain);
    std::printf(
        "  %-8ls %3d windows: skinned median %8.2f ms (mean %8.2f, CPU %.1f), unskinned median %8.2f ms "
        "(mean %8.2f, CPU %.1f), ratio %.2f\n",
        kGalleryPages[page], p.Windows, s.Median, s.Mean, p.SkinnedCpu, u.Median, u.Mean, p.PlainCpu,
        s.Median / std::max(0.001, u.Median));
  }
  {
    const TStats s = Summarise(pages[busiest].Skinned), u = Summarise(pages[busiest].Plain);
    const double ratio = s.Median / std::max(0.001, u.Median);
    char measure[96];
    std::snprintf(measure, sizeof measure, "Full repaint, gallery's busiest page (%ls), skinned",
                  kGalleryPages[busiest]);
    SummaryRow(measure, "<= 2 ms", Verdict(s.Median <= 2), "%.1f ms", s.Median);
    std::snprintf(measure, sizeof measure, "Full repaint, gallery's busiest page (%ls), skinned / unskinned",
                  kGalleryPages[busiest]);
    SummaryRow(measure, "<= 1.5x", Verdict(ratio <= 1.5), "%.2fx (%.1f / %.1f ms)", ratio, s.Median, u.Median);
    std::printf("  where the time goes on the busiest page (%ls):\n", kGalleryPages[busiest]);
    ProfilePage(true, int(busiest));
    ProfilePage(false, int(busiest));
  }

  // ---- skin switch with every window open
  {
    auto app = std::make_unique<TApplication>();
    bool allSkinned = false;
    TGalleryForm* form = OpenEveryWindow(*app, int(busiest), &allSkinned);
    if (!form) {
      std::printf("the skinned gallery did not come up\n");
      return 1;
    }
    std::printf(
        "skin switch, %ls <-> %ls, with the main window, the MDI demo (child maximised) and the modeless "
        "dialog open%s:\n",
        kGallerySkins[0].Name, kGallerySkins[1].Name, allSkinned ? "" : " (NOT all of them skinned)");
    failed |= !allSkinned;
    constexpr std::size_t kTopLevel = 3;  // main window, MDI frame, dialog
    std::vector<TSwitchTimes> there, back;
    for (int i = 0; i < 2 * 10 + 2; ++i) {
      const int target = (i + 1) % 2;  // 1, 0, 1, 0, ...
      const TSwitchTimes t = SwitchOnce(form, target, 500);
      if (!t.Ok) {
        std::printf("  switch %d to %ls: no change announced\n", i, kGallerySkins[std::size_t(target)].Name);
        failed = true;
        continue;
      }
      if (i < 2) continue;  // the first of each direction reads the skin for the first time
      (target == 1 ? there : back).push_back(t);
    }
    // Where a switch's time goes: one more each way, profiled (slower by the hooks).
    for (int target : {1, 0}) {
      TPaintProfile profile;
      const TSwitchTimes t = SwitchOnce(form, target, 500, &profile);
      std::printf(
          "  profiled switch to %ls (request %.0f ms, tick to OnSkinChanged %.0f ms, to last repaint %.0f ms; "
          "the action delay and 500 ms of waiting for late messages are in the call):\n",
          kGallerySkins[std::size_t(target)].Name, t.Request, t.Refresh, t.Repaint);
      profile.Print(16);
    }
    PrintSwitch("Koravent -> Midnight", there, kTopLevel);
    PrintSwitch("Midnight -> Koravent", back, kTopLevel);
    auto repaintMedian = [](const std::vector<TSwitchTimes>& runs) {
      std::vector<double> v;
      for (const TSwitchTimes& t : runs) v.push_back(t.Repaint);
      return Summarise(v).Median;
    };
    auto delayMedian = [](const std::vector<TSwitchTimes>& runs) {
      std::vector<double> v;
      for (const TSwitchTimes& t : runs) v.push_back(t.Delay);
      return Summarise(v).Median;
    };
    const double a = repaintMedian(there), b = repaintMedian(back);
    SummaryRow("Skin switch Koravent -> Midnight, all gallery windows open (tick to last repaint)", "<= 100 ms",
               Verdict(a <= 100), "%.0f ms", a);
    SummaryRow("Skin switch Midnight -> Koravent, all gallery windows open (tick to last repaint)", "<= 100 ms",
               Verdict(b <= 100), "%.0f ms", b);
    SummaryRow("Skin switch: action timer delay before the tick (not in the figure above)", "-", "-", "%.0f ms",
               delayMedian(there));
    app.reset();
    TSkinManage::DestroyInstance();
  }
  PrintMachineState("at the end");
  if (failed) std::printf("some runs did not reach their end state (see above)\n");
  return failed ? 1 : 0;
}

}  // namespace
}  // namespace kv

int main(int argc, char** argv) {
  try {
    const int rc = kv::Run(argc, argv);
    kv::TSkinManage::DestroyInstance();
    return rc;
  } catch (const std::exception& e) {
    std::printf("error: %s\n", e.what());
    return 1;
  }
}
