#pragma once
// The options a skin data component carries: which kinds of control are skinned, which
// windows it governs, the extra class mappings it starts with, and the class filter.
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "skin/data/SkinDefinition.h"

namespace kv {

enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcSystemMenu,
  xcFastReport
};

// A set of TSkinControlType, stored as 3 bytes: bit n is member n.
class TSkinControlTypes {
 public:
  static constexpr std::uint32_t kAllButFastReport = 0x3FFFF;
  constexpr TSkinControlTypes() = default;
  constexpr explicit TSkinControlTypes(std::uint32_t bits) : FBits(bits & 0xFFFFFF) {}
  constexpr bool Contains(TSkinControlType t) const { return (FBits >> t) & 1u; }
  constexpr TSkinControlTypes With(TSkinControlType t) const { return TSkinControlTypes(FBits | (1u << t)); }
  constexpr TSkinControlTypes Without(TSkinControlType t) const { return TSkinControlTypes(FBits & ~(1u << t)); }
  constexpr std::uint32_t Bits() const { return FBits; }
  std::array<std::uint8_t, 3> Stored() const {
    return {std::uint8_t(FBits), std::uint8_t(FBits >> 8), std::uint8_t(FBits >> 16)};
  }
  static TSkinControlTypes FromStored(const std::array<std::uint8_t, 3>& b) {
    return TSkinControlTypes(b[0] | (b[1] << 8) | (std::uint32_t(b[2]) << 16));
  }
  friend constexpr bool operator==(TSkinControlTypes, TSkinControlTypes) = default;

 private:
  std::uint32_t FBits = kAllButFastReport;
};

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// The 95 class mappings ("class=kind") a component starts with, in their order.
extern const std::array<std::string_view, 95> kDefaultSkin3rd;

// Whether a window class is skinned when no handler decides: never "SysMonthCal32", and
// not the report designer's "Tfr…" windows when xcFastReport is in the set.
bool DefaultFormSkin(std::string_view className, TSkinControlTypes controls);

class TSkinMessenger;
class TSkinReader;
// Unpacks a skin container and builds `model` from its definition text (the first entry
// whose name contains ".ini") and pictures, straight from memory. False when the
// container cannot be used (older version, malformed, not unpackable, pictures beyond
// `pixelBudget`, out of memory); the model is then left as it was. Only an older version
// shows a message.
bool LoadSkinModel(std::string_view container, TSkinDefinition& model, TSkinMessenger* messenger,
                   std::int64_t pixelBudget = kSkinMaxTotalPixels);

// The second half of the above, for an opened container. `requested`, when given,
// receives the name of every entry the definition asks for (lower-cased).
bool LoadSkinModel(const TSkinReader& reader, TSkinDefinition& model, std::int64_t pixelBudget = kSkinMaxTotalPixels,
                   std::set<std::string>* requested = nullptr);

}  // namespace kv
