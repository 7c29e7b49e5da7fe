#pragma once
// Classification as data. A framework form's components go through ClassifyRules, first
// match wins, in table order; the child windows of a window that is not a framework form
// go through ChildWindowRules by window class and style. A row names what it matches, the
// SkinControls switch that governs it and the kind it attaches (the kind's own row says
// how: skin/controls/ControlSkinKinds.h); the few rows that do more name a step of
// TControlSkins to run before or after attaching.
#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "skin/controls/ControlSkinKinds.h"
#include "skin/data/SkinOptions.h"

namespace kv {

class TComponent;
class TControlSkins;

// A row matches when any of its tests does.
struct TRuleMatch {
  std::array<std::string_view, 4> Names{};  // upper-case class names, exactly; unused ones empty
  bool (*Is)(TComponent*) = nullptr;        // a class or role test (derived classes too)
  int Tag = 0;                              // a Tag mod 100 that forces the row; 0: none
  bool Skin3rd = false;                     // a Skin3rd line names the class: the line says what to do
};

struct TClassifyRule {
  std::string_view What;  // for readers and test messages
  TRuleMatch Match;
  // Must be on, or the row is passed over (the tab switch also needs the skin's Tabs record).
  std::optional<TSkinControlType> Switch = std::nullopt;
  void (TControlSkins::*First)(TComponent*) = nullptr;
  std::optional<TControlSkinKind> Kind = std::nullopt;  // attached the way its kind row says
  bool Option = false;                                  // AttachControl's flag (recolour; scroll bars: own thumb drags)
  void (TControlSkins::*Then)(TComponent*) = nullptr;
};

std::span<const TClassifyRule> ClassifyRules();

// A child window of a foreign dialog. SkinControls, DisableTag and Skin3rd play no part.
struct TChildWindowRule {
  std::wstring_view ClassName;                          // lower case
  bool (*Style)(DWORD) = nullptr;                       // a condition on the window style; null: any
  std::optional<TControlSkinKind> Kind = std::nullopt;  // none: left alone
  bool OnFirstChild = false;                            // the skin goes on the window's first child
};

std::span<const TChildWindowRule> ChildWindowRules();

// The Skin3rd words that skin a group: the group gets a box, its buttons this kind.
struct TSkin3rdGroup {
  std::string_view Word;  // lower case
  TControlSkinKind Buttons;
};

std::span<const TSkin3rdGroup> Skin3rdGroups();

}  // namespace kv
