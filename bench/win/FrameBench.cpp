// What the skinned frame costs, measured on the real TForm1 under Wine (or Windows):
//   paint    one whole frame paint (four pieces, caption strip, buttons)
//   region   the window region of an 800x600 window from the program's skin
//   load     reading the program's skin (unpack, parse, model)
//   startup  creating the form to its first fully painted frame, skinned and not
//   idle     the program's CPU while nothing happens, active and inactive
// Run by scripts/bench-win.sh, never by the test command. Times come from
// QueryPerformanceCounter; each line gives the median and the mean.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "app/Unit1.h"
#include "skin/data/SkinFrameGdi.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / ticksPerMs;
}

struct TStats {
  double Median = 0, Mean = 0, Min = 0;
};

TStats Summarise(std::vector<double> samples) {
  TStats s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  s.Median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  s.Mean = std::accumulate(samples.begin(), samples.end(), 0.0) / double(n);
  s.Min = samples.front();
  return s;
}

void PrintStats(const char* name, const TStats& s, std::size_t n, const char* target) {
  std::printf("%-34s median %9.4f ms  mean %9.4f ms  min %9.4f ms  (n=%zu)%s%s\n", name, s.Median, s.Mean, s.Min, n,
              target ? "  target " : "", target ? target : "");
}

// Handles messages until `done` holds; false after `ms`.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  const double end = NowMs() + ms;
  while (!done()) {
    if (NowMs() > end) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// The editor wants a messenger folder: a temporary one with a stand-in Koravent.exe.
class TMessengerFolder {
 public:
  TMessengerFolder() : FDir(fs::temp_directory_path() / "kv-frame-bench") {
    fs::remove_all(FDir);
    fs::create_directories(FDir);
    std::ofstream(FDir / "Koravent.exe") << "MZ";
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    FOld = old;
    SetCurrentDirectoryW(FDir.c_str());
  }
  ~TMessengerFolder() {
    SetCurrentDirectoryW(FOld.c_str());
    std::error_code ec;
    fs::remove_all(FDir, ec);
    fs::remove(fs::path(TForm1::ExeDirectory()) / "Koravent.ini", ec);
  }
  TMessengerFolder(const TMessengerFolder&) = delete;
  TMessengerFolder& operator=(const TMessengerFolder&) = delete;

 private:
  fs::path FDir;
  std::wstring FOld;
};

TWinSkinForm* FormSkin(TForm1* form) {
  TSkinManage* manager = TSkinManage::Instance();
  return manager && form ? manager->FindFormSkin(form->Handle()) : nullptr;
}

bool PaintPending() { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) != 0; }

// Shown, nothing of the thread left to paint and, skinned, the frame fitted, cut and
// painted (cutting the region asks for the frame again, so that paint is pending until done).
bool FirstFrameDone(TForm1* form, bool skinned) {
  if (!IsWindowVisible(form->Handle()) || PaintPending()) return false;
  if (!skinned) return true;
  const TWinSkinForm* skin = FormSkin(form);
  return skin && skin->SkinState() == fsReady && skin->HasRegion();
}

// One editor from creation to its first fully painted frame, then gone again (with the
// skin manager, so every run starts as a program does). `systemFrameMs`: from Show until
// the form skin is ready, the time the window is up with the system's frame.
double StartUpOnce(bool skinned, bool* ok, double* systemFrameMs = nullptr) {
  auto app = std::make_unique<TApplication>();
  app->Initialize();
  app->SetTitle(kAppTitle);
  const double start = NowMs();
  TForm1* form = app->CreateForm<TForm1>();
  // Before any window has been activated this only switches the manager off: nothing is
  // skinned, though the skin has been read as in the skinned run.
  if (!skinned) form->SkinData1->SetActive(false);
  const double shown = NowMs();
  form->Show();
  double end = 0;
  for (;;) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      const TWinSkinForm* skin = skinned ? FormSkin(form) : nullptr;
      if (systemFrameMs && *systemFrameMs < 0 && skin && skin->SkinState() == fsReady) *systemFrameMs = NowMs() - shown;
    } else if (FirstFrameDone(form, skinned)) {
      end = NowMs();
      break;
    } else if (NowMs() - start > 10000) {
      break;
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  *ok = end > 0 && (skinned == (FormSkin(form) != nullptr));
  app.reset();
  TSkinManage::DestroyInstance();
  return end - start;
}

// A window of another thread (so our window hook does not skin it) that takes the
// activation from the editor.
class TOtherWindow {
 public:
  TOtherWindow() {
    FThread = std::thread([this] {
      WNDCLASSW cls{};
      cls.lpfnWndProc = DefWindowProcW;
      cls.hInstance = GetModuleHandleW(nullptr);
      cls.lpszClassName = L"KvFrameBenchOther";
      cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
      RegisterClassW(&cls);
      FWindow = CreateWindowExW(0, cls.lpszClassName, L"other", WS_OVERLAPPEDWINDOW, 500, 20, 200, 150, nullptr,
                                nullptr, cls.hInstance, nullptr);
      ShowWindow(FWindow, SW_SHOW);
      SetForegroundWindow(FWindow);
      SetActiveWindow(FWindow);
      FThreadId = GetCurrentThreadId();
      FReady = true;
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      DestroyWindow(FWindow);
    });
    while (!FReady) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TOtherWindow() {
    PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
    FThread.join();
  }
  TOtherWindow(const TOtherWindow&) = delete;
  TOtherWindow& operator=(const TOtherWindow&) = delete;

 private:
  std::thread FThread;
  HWND FWindow = nullptr;
  DWORD FThreadId = 0;
  std::atomic<bool> FReady = false;
};

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// The process's CPU share while the message loop idles for `ms`.
double IdleCpuPercent(int ms, double* wakeups, double* cpuMs) {
  int woken = 0;
  const double cpu0 = CpuMs(), t0 = NowMs();
  while (NowMs() - t0 < ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::max(1.0, ms - (NowMs() - t0))), QS_ALLINPUT);
    ++woken;
    Application->ProcessMessages();
  }
  const double wall = NowMs() - t0, cpu = CpuMs() - cpu0;
  *wakeups = woken * 1000.0 / wall;
  *cpuMs = cpu;
  return 100.0 * cpu / wall;
}

int Run() {
  RegisterStandardProperties();
  TMessengerFolder folder;
  bool failed = false;

  // ---- start-up first, while nothing else has run in the process yet
  std::printf("start-up, creating TForm1 to its first fully painted frame (skin read in both runs):\n");
  bool ok = true;
  const double coldSkinned = StartUpOnce(true, &ok);
  failed |= !ok;
  const double coldPlain = StartUpOnce(false, &ok);
  failed |= !ok;
  std::printf("  first runs of the process: skinned %.1f ms, skin inactive %.1f ms\n", coldSkinned, coldPlain);
  std::vector<double> skinnedRuns, plainRuns, systemFrames;
  for (int i = 0; i < 12; ++i) {
    // Alternating, so drift of the machine hits both alike.
    double systemFrame = -1;
    skinnedRuns.push_back(StartUpOnce(true, &ok, &systemFrame));
    systemFrames.push_back(systemFrame);
    failed |= !ok;
    plainRuns.push_back(StartUpOnce(false, &ok));
    failed |= !ok;
  }
  const TStats skinned = Summarise(skinnedRuns), plain = Summarise(plainRuns);
  PrintStats("  skinned", skinned, skinnedRuns.size(), nullptr);
  PrintStats("  SkinData1 inactive", plain, plainRuns.size(), nullptr);
  std::printf("  ratio skinned / inactive: median %.3f, mean %.3f  (target <= 1.2)\n", skinned.Median / plain.Median,
              skinned.Mean / plain.Mean);
  PrintStats("  skinned: Show to form skin ready", Summarise(systemFrames), systemFrames.size(), nullptr);

  // ---- the skin read on its own (what the inactive run still pays)
  std::vector<double> loads;
  {
    TApplication app;
    app.Initialize();
    for (int i = 0; i < 20; ++i) {
      TSkinData data;
      const double t0 = NowMs();
      data.ReadSkinResource(L"SKINSTREAM");
      loads.push_back(NowMs() - t0);
      failed |= data.NoSkin();
    }
  }
  const TStats load = Summarise(loads);
  PrintStats("skin read (SKINSTREAM)", load, loads.size(), nullptr);
  std::printf("  ratio with the read taken out of the inactive run: median %.3f\n",
              skinned.Median / std::max(0.001, plain.Median - load.Median));

  // ---- one skinned editor for the rest
  TApplication app;
  app.Initialize();
  app.SetTitle(kAppTitle);
  TForm1* form = app.CreateForm<TForm1>();
  form->Show();
  if (!PumpUntil([&] { return FirstFrameDone(form, true); }, 10000)) {
    std::printf("the skinned frame never came up\n");
    return 1;
  }
  PumpFor(300);
  TWinSkinForm* skin = FormSkin(form);

  // (a) whole frame paint
  std::vector<double> paints;
  for (int i = 0; i < 20; ++i) skin->PaintFrame(nullptr);
  for (int i = 0; i < 1000; ++i) {
    const double t0 = NowMs();
    skin->PaintFrame(nullptr);
    paints.push_back(NowMs() - t0);
  }
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  std::printf("frame paint of TForm1 (%ldx%ld, PaintFrame(nullptr)):\n", window.right - window.left,
              window.bottom - window.top);
  PrintStats("  paint", Summarise(paints), paints.size(), "<= 2 ms");

  // (b) region of an 800x600 window from the program's skin
  const TSkinDefinition& model = form->SkinData1->Model();
  const FrameSkin frameSkin = FrameSkinOf(model);
  FrameWindow frame;
  frame.FrameType = skin->FrameType();
  frame.CaptionFlags = skin->CaptionFlags();
  frame.Active = true;
  frame.Popup = (GetWindowLongW(form->Handle(), GWL_STYLE) & WS_POPUP) != 0;
  frame.Borders = skin->Borders();
  frame.Width = 800;
  frame.Height = 600;
  TPixelBitmap caption;
  {
    // The caption strip of such a window, as a paint leaves it for the region.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ButtonLayout layout;
    FramePainted painted = PaintSkinFrame(memory, frameSkin, model.Colours, frame, skin->CaptionText(), nullptr,
                                          &form->SkinData1->IconBitmap(), layout);
    caption = std::move(painted.Caption);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  std::size_t rects = 0;
  for (const TRegionBatch& batch : FrameRegionRects(frame, frameSkin, &caption)) rects += batch.FRects.size();
  std::printf("region of an 800x600 window (BuildFrameRegion, %zu rectangles with the caption strip):\n", rects);
  for (const TPixelBitmap* strip :
       {static_cast<const TPixelBitmap*>(nullptr), static_cast<const TPixelBitmap*>(&caption)}) {
    std::vector<double> builds;
    for (int i = 0; i < 1000; ++i) {
      const double t0 = NowMs();
      TRegionHandle region = BuildFrameRegion(frame, frameSkin, strip);
      builds.push_back(NowMs() - t0);
      failed |= !region;
    }
    PrintStats(strip ? "  from the painted caption strip" : "  from the top piece", Summarise(builds), builds.size(),
               "<= 0.5 ms");
  }

  // (d) idle CPU, active (hover timer running) and with another window active
  // GetProcessTimes under Wine counts in 10 ms steps: the CPU time is printed as well.
  std::printf("idle CPU over 10 s (the editor's 1 s clock timer runs throughout):\n");
  SetForegroundWindow(form->Handle());
  PumpFor(300);
  double wakeups = 0, cpuMs = 0;
  const double activeCpu = IdleCpuPercent(10000, &wakeups, &cpuMs);
  std::printf("  active:   %.3f %% CPU (%.0f ms), %.1f wake-ups/s, hover timer %s\n", activeCpu, cpuMs, wakeups,
              skin->HoverTimerEnabled() ? "on" : "off");
  {
    TOtherWindow other;
    PumpUntil([&] { return !skin->IsActive(); }, 3000);
    const double inactiveCpu = IdleCpuPercent(10000, &wakeups, &cpuMs);
    std::printf("  inactive: %.3f %% CPU (%.0f ms), %.1f wake-ups/s, hover timer %s, form skin %s\n", inactiveCpu,
                cpuMs, wakeups, skin->HoverTimerEnabled() ? "on" : "off", skin->IsActive() ? "active" : "inactive");
  }
  if (failed) std::printf("some runs did not reach their end state (see above)\n");
  return failed ? 1 : 0;
}

}  // namespace
}  // namespace kv

int main() {
  try {
    const int rc = kv::Run();
    kv::TSkinManage::DestroyInstance();
    return rc;
  } catch (const std::exception& e) {
    std::printf("error: %s\n", e.what());
    return 1;
  }
}
