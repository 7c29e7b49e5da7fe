#pragma once
// Every key of Koravent.ini the editor shows, in the order the window loads and applies
// them: the three choices, the two texts, the seven quoted formats, the 26 flags of
// section "Koravent", then "Enable" of section "WorkerDll". Texts are UTF-8.
#include <array>
#include <string_view>

namespace kv {

enum TKeyKind { kkChoice, kkText, kkQuotedFormat, kkFlag };

using TChoiceItems = std::array<std::string_view, 3>;  // item texts for the values 0, 1, 2

struct TSettingsKey {
  std::string_view Key;
  std::string_view Section;
  TKeyKind Kind;
  std::string_view Control;
  std::string_view Caption;
  std::string_view Tab;
  std::string_view Absent;  // the text a text key shows when absent; empty otherwise
  const TChoiceItems* Choices;
};

inline constexpr std::string_view kMainSection = "Koravent";
inline constexpr std::string_view kWorkerSection = "WorkerDll";

extern const std::array<TSettingsKey, 39> kSettingsKeys;

const TSettingsKey* FindSettingsKey(std::string_view key);

}  // namespace kv
