#pragma once
// What the Windows benches share: a millisecond clock, the process's CPU time, the
// summary of a run of samples, and a message pump that waits.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

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

}  // namespace kv::bench
