#pragma once
// What the Windows benches share: a millisecond clock, the process's CPU time, the
// summary of a run of samples, a message pump that waits, where the time of a repaint
// goes (by window class and message), and the lines of the run's summary table.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/win/Handles.h"
#include "framework/Forms.h"

namespace kv::bench {

inline double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / ticksPerMs;
}

// Kernel and user time of the whole process so far.
inline double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// Kernel and user time of the calling thread so far. Wine counts in 10 ms steps: divide
// the time of many calls.
inline double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// How busy the machine is while a bench runs, since every figure here is wall time:
//   share      the part of one core this thread got in a 300 ms busy loop (1.0 on a quiet
//              machine; less when other processes want the cores)
//   roundTrip  one request to the Wine server (GetQueueStatus asks it every time); a paint
//              makes many of them, and each waits until the server process is scheduled
inline void PrintMachineState(const char* when) {
  const double wall0 = NowMs(), cpu0 = ThreadCpuMs();
  volatile std::uint32_t x = 1;
  while (NowMs() - wall0 < 300) {
    for (int i = 0; i < 10000; ++i) x = x * 1664525u + 1013904223u;
  }
  const double share = (ThreadCpuMs() - cpu0) / (NowMs() - wall0);
  std::vector<double> trips;
  for (int batch = 0; batch < 50; ++batch) {
    const double t0 = NowMs();
    for (int i = 0; i < 20; ++i) GetQueueStatus(QS_ALLINPUT);
    trips.push_back((NowMs() - t0) * 1000.0 / 20);
  }
  std::sort(trips.begin(), trips.end());
  std::printf(
      "machine %s: this thread got %.0f %% of a core in a busy loop; a Wine server round trip takes %.1f us "
      "(median; p90 %.1f us)\n",
      when, 100.0 * share, trips[trips.size() / 2], trips[trips.size() * 9 / 10]);
}

struct TStats {
  double Median = 0, Mean = 0, Min = 0;
};

inline TStats Summarise(std::vector<double> samples) {
  TStats s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  s.Median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  s.Mean = std::accumulate(samples.begin(), samples.end(), 0.0) / double(n);
  s.Min = samples.front();
  return s;
}

inline void PrintStats(const char* name, const TStats& s, std::size_t n, const char* target = nullptr) {
  std::printf("%-34s median %9.4f ms  mean %9.4f ms  min %9.4f ms  (n=%zu)%s%s\n", name, s.Median, s.Mean, s.Min, n,
              target ? "  target " : "", target ? target : "");
}

// Handles messages until `done` holds; false after `ms`.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  const double end = NowMs() + ms;
  while (!done()) {
    if (NowMs() > end) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

inline void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// One row of the summary table scripts/bench-win.sh prints at the end: what was measured,
// its target, the figure and the verdict, as a line the script picks out of the output.
inline void SummaryRow(const char* measure, const char* target, const char* verdict, const char* format, ...) {
  char figure[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(figure, sizeof figure, format, args);
  va_end(args);
  std::printf("SUMMARY|%s|%s|%s|%s\n", measure, target, figure, verdict);
}
inline const char* Verdict(bool met) { return met ? "met" : "missed"; }

// Where a repaint's time goes: every message sent to a window of this thread is timed
// from the call hook to the return hook, by window class and message, with the time of
// the messages sent from inside it taken out (exclusive) and left in (inclusive). Paint
// messages dispatched from the queue are not seen: measure with RDW_UPDATENOW, which
// sends them. The hooks cost time themselves, so a profiled run is not a figure.
class TPaintProfile {
 public:
  TPaintProfile() = default;
  ~TPaintProfile() { Stop(); }
  TPaintProfile(const TPaintProfile&) = delete;
  TPaintProfile& operator=(const TPaintProfile&) = delete;

  void Start() {
    Stop();
    Current() = this;
    FStack.clear();
    FCall.Reset(SetWindowsHookExW(WH_CALLWNDPROC, &CallHook, nullptr, GetCurrentThreadId()));
    FReturn.Reset(SetWindowsHookExW(WH_CALLWNDPROCRET, &ReturnHook, nullptr, GetCurrentThreadId()));
  }
  void Stop() {
    FCall.Reset();
    FReturn.Reset();
    if (Current() == this) Current() = nullptr;
  }
  // Marks one timed call (a RedrawWindow) for the sums, and the time outside every message.
  void AddCall(double ms) {
    ++FCalls;
    FCallMs += ms;
  }

  // The `rows` costliest entries by exclusive time, per call.
  void Print(std::size_t rows) const {
    std::vector<std::pair<std::pair<std::string, UINT>, TEntry>> sorted(FEntries.begin(), FEntries.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.second.Exclusive > b.second.Exclusive; });
    const double calls = std::max(1, FCalls);
    double topLevel = 0, exclusive = 0;
    for (const auto& [key, e] : sorted) {
      topLevel += e.TopLevel;
      exclusive += e.Exclusive;
    }
    std::printf("      per call %.3f ms: in messages %.3f ms, outside them (the platform's own work) %.3f ms\n",
                FCallMs / calls, topLevel / calls, (FCallMs - topLevel) / calls);
    std::printf("      %-24s %-16s %8s %10s %10s\n", "window class", "message", "count", "excl. ms", "incl. ms");
    for (std::size_t i = 0; i < sorted.size() && i < rows; ++i) {
      const auto& [key, e] = sorted[i];
      std::printf("      %-24s %-16s %8.1f %10.3f %10.3f\n", key.first.c_str(), MessageName(key.second).c_str(),
                  e.Count / calls, e.Exclusive / calls, e.Inclusive / calls);
    }
  }

 private:
  struct TEntry {
    double Count = 0, Exclusive = 0, Inclusive = 0, TopLevel = 0;
  };
  struct TFrame {
    HWND Window;
    UINT Message;
    double Start, Nested;
  };

  static TPaintProfile*& Current() {
    static TPaintProfile* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Current()) {
      const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
      Current()->FStack.push_back({m->hwnd, m->message, NowMs(), 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK ReturnHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Current()) Current()->Returned(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  void Returned(const CWPRETSTRUCT& m) {
    // A return whose call came before Start (or one the platform did not report) is skipped.
    while (!FStack.empty() && (FStack.back().Window != m.hwnd || FStack.back().Message != m.message)) FStack.pop_back();
    if (FStack.empty()) return;
    const TFrame frame = FStack.back();
    FStack.pop_back();
    const double inclusive = NowMs() - frame.Start;
    TEntry& e = FEntries[{ClassOf(frame.Window), frame.Message}];
    e.Count += 1;
    e.Inclusive += inclusive;
    e.Exclusive += inclusive - frame.Nested;
    if (FStack.empty())
      e.TopLevel += inclusive;
    else
      FStack.back().Nested += inclusive;
  }
  const std::string& ClassOf(HWND window) {
    auto it = FClasses.find(window);
    if (it != FClasses.end()) return it->second;
    char name[64] = "?";
    GetClassNameA(window, name, sizeof name);
    return FClasses.emplace(window, name).first->second;
  }
  static std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {{WM_PAINT, "WM_PAINT"},
                                                      {WM_NCPAINT, "WM_NCPAINT"},
                                                      {WM_ERASEBKGND, "WM_ERASEBKGND"},
                                                      {WM_CTLCOLORBTN, "CTLCOLORBTN"},
                                                      {WM_CTLCOLORSTATIC, "CTLCOLORSTATIC"},
                                                      {WM_CTLCOLOREDIT, "CTLCOLOREDIT"},
                                                      {WM_CTLCOLORLISTBOX, "CTLCOLORLISTBOX"},
                                                      {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
                                                      {WM_NOTIFY, "WM_NOTIFY"},
                                                      {WM_DRAWITEM, "WM_DRAWITEM"},
                                                      {WM_SETREDRAW, "WM_SETREDRAW"},
                                                      {WM_GETTEXT, "WM_GETTEXT"},
                                                      {WM_GETFONT, "WM_GETFONT"},
                                                      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
                                                      {WM_WINDOWPOSCHANGED, "WINDOWPOSCHANGED"},
                                                      {WM_SIZE, "WM_SIZE"},
                                                      {WM_TIMER, "WM_TIMER"},
                                                      {WM_NCHITTEST, "WM_NCHITTEST"}};
    const auto it = names.find(message);
    if (it != names.end()) return it->second;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", message);
    return hex;
  }

  THookHandle FCall, FReturn;
  std::vector<TFrame> FStack;
  std::map<std::pair<std::string, UINT>, TEntry> FEntries;
  std::unordered_map<HWND, std::string> FClasses;
  int FCalls = 0;
  double FCallMs = 0;
};

}  // namespace kv::bench
