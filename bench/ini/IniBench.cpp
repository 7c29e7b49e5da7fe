// TIniFile over files of many sections: parse, list the sections, look up a key of each
// (a skin definition's start-up), and apply's 39 writes to a settings file that has grown
// huge. The fitted complexity should read O(N).
#include <benchmark/benchmark.h>

#include <string>

#include "ini/IniFile.h"

namespace kv {
namespace {

std::string ManySections(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "[Section" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
  return text;
}

void BM_ReadEverySection(benchmark::State& state) {
  const std::string text = ManySections(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TIniFile ini = TIniFile::FromText(text);
    std::int64_t sum = 0;
    for (const std::string& name : ini.ReadSections()) sum += ini.ReadInteger(name, "key", 0);
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadEverySection)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity(benchmark::oN);

void BM_ApplyToAHugeFile(benchmark::State& state) {
  const std::string text = ManySections(static_cast<int>(state.range(0))) + "[Koravent]\r\n0100=1\r\n";
  for (auto _ : state) {
    TIniFile ini = TIniFile::FromText(text);
    for (int key = 0; key < 38; ++key) ini.WriteString("Koravent", "0" + std::to_string(100 + key), "1");
    ini.WriteString("WorkerDll", "Enable", "1");
    benchmark::DoNotOptimize(ini.ReadString("Koravent", "0100", ""));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ApplyToAHugeFile)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity(benchmark::oN);

}  // namespace
}  // namespace kv
