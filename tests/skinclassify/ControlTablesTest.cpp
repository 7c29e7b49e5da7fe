// The tables classification runs on: the control-skin kinds (one row each: class name,
// Skin3rd word, factory) and the rule tables, checked for the mistakes a new row can bring.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ClassifyFixture.h"
#include "base/ByteText.h"
#include "base/win/WideText.h"
#include "framework/ButtonCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/ControlSkinKinds.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinData.h"
#include "skin/windows/ControlRules.h"
#include "skin/windows/ControlSkins.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

// Controls of another library, known to the skin only through a Skin3rd line.
class TForeignPane : public TPanel {
 public:
  std::string_view ClassName() const override { return "TForeignPane"; }
};
class TForeignGlyph : public TSpeedButton {
 public:
  std::string_view ClassName() const override { return "TForeignGlyph"; }
};

using ControlTablesTest = test::TClassifyTest;

TEST_F(ControlTablesTest, EveryKindHasOneRowWhoseNamesAndFactoryAgree) {
  const auto rows = ControlSkinKindRows();
  ASSERT_EQ(rows.size(), std::size_t(TControlSkinKind::skCount));
  std::set<std::string> names;
  for (int k = 0; k < int(TControlSkinKind::skCount); ++k) {
    const auto kind = TControlSkinKind(k);
    SCOPED_TRACE(::testing::Message() << "kind " << k);
    EXPECT_EQ(rows[k].Kind, kind) << "rows follow the kinds' order";
    const TControlSkinKindRow& row = ControlSkinKindRow(kind);
    EXPECT_EQ(row.Kind, kind);
    EXPECT_EQ(ControlSkinClassName(kind), row.ClassName);

    // Names are unique across class names and Skin3rd words, and each finds its row.
    for (std::string_view name : {row.ClassName, row.Skin3rdWord}) {
      if (name.empty()) continue;
      EXPECT_TRUE(names.insert(AsciiLowerCase(name)).second) << "named twice: " << name;
      for (const std::string& spelled : {std::string(name), AsciiUpperCase(name), AsciiLowerCase(name)}) {
        const TControlSkinKindRow* found = FindControlSkinKind(spelled);
        ASSERT_NE(found, nullptr) << spelled;
        EXPECT_EQ(found->Kind, kind) << spelled;
      }
    }
    EXPECT_EQ(row.Skin3rdWord, AsciiLowerCase(row.Skin3rdWord)) << "Skin3rd lines are compared lower case";

    TComponent owner;
    TSkinControl* skin = MakeControlSkin(owner, kind);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->Owner(), &owner);
    EXPECT_EQ(skin->Kind(), kind);
    EXPECT_EQ(skin->ClassName(), row.ClassName);
  }
  EXPECT_EQ(FindControlSkinKind(""), nullptr) << "a line ending in '=' names no kind";
  EXPECT_EQ(FindControlSkinKind("TSkinButtonX"), nullptr);
}

TEST_F(ControlTablesTest, ASkin3rdLineNamingAKindAttachesThatKind) {
  for (const TControlSkinKindRow& row : ControlSkinKindRows()) {
    for (std::string_view name : {row.ClassName, row.Skin3rdWord}) {
      if (name.empty()) continue;
      SCOPED_TRACE(std::string(name));
      const bool graphic = row.Way == TAttachWay::awGraphic;
      TControl* control = graphic ? static_cast<TControl*>(Form->Make<TForeignGlyph>()) : Form->Make<TForeignPane>();
      control->SetParent(Form);
      control->SetBounds(4, 4, 80, 40);
      const std::string foreign(control->ClassName());
      SkinData->SetSkin3rd(TStringList{WideFromUtf8(foreign + "=" + std::string(name))});

      EXPECT_TRUE(Skins->ApplySkin3rd(AsciiUpperCase(foreign), control));
      const std::vector<TSkinControl*> entries = EntriesOf(control);
      EXPECT_EQ(entries.size(), 1u);
      for (TSkinControl* skin : entries) {
        EXPECT_EQ(skin->Kind(), row.Kind);
        EXPECT_EQ(skin->Control() != nullptr, row.Way == TAttachWay::awControl);
      }
      Skins->FreeControlSkins();
      Form->DestroyComponent(control);
    }
  }
}

// Row `a` takes everything row `b` would: each of b's tests is one of a's, and a's switch
// is b's or none.
bool Covers(const TClassifyRule& a, const TClassifyRule& b) {
  if (a.Switch && a.Switch != b.Switch) return false;
  const TRuleMatch& x = a.Match;
  const TRuleMatch& y = b.Match;
  if ((y.Skin3rd && !x.Skin3rd) || (y.Is && y.Is != x.Is) || (y.Tag != 0 && y.Tag != x.Tag)) return false;
  return std::all_of(y.Names.begin(), y.Names.end(), [&x](std::string_view name) {
    return name.empty() || std::find(x.Names.begin(), x.Names.end(), name) != x.Names.end();
  });
}

TEST(ControlRulesTest, EveryRuleCanMatchAndNoneIsShadowedByAnEarlierOne) {
  const auto rules = ClassifyRules();
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const TClassifyRule& rule = rules[i];
    SCOPED_TRACE(std::string(rule.What));
    const TRuleMatch& match = rule.Match;
    const bool named = std::any_of(match.Names.begin(), match.Names.end(), [](auto n) { return !n.empty(); });
    EXPECT_TRUE(named || match.Is || match.Tag != 0 || match.Skin3rd) << "matches nothing";
    for (std::string_view name : match.Names)
      EXPECT_EQ(name, AsciiUpperCase(name)) << "class names are compared upper case";
    EXPECT_LT(std::abs(match.Tag), 100) << "a Tag remainder";
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Covers(rules[j], rule)) << "shadowed by '" << rules[j].What << "'";
  }

  const auto windows = ChildWindowRules();
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const std::wstring_view name = windows[i].ClassName;
    EXPECT_TRUE(std::none_of(name.begin(), name.end(), iswupper)) << "window classes are compared lower case";
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(windows[j].ClassName == name && !windows[j].Style) << "row " << i << " shadowed by row " << j;
  }
}

}  // namespace
}  // namespace kv
