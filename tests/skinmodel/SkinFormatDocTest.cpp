// docs/skin-format.md names every section and key the skin reader asks for, under its
// section: a key the reader learns without the page saying so fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/ByteText.h"
#include "skin/data/SkinDefinition.h"

namespace kv {
namespace {

std::string ReadPage() {
  std::ifstream in(KV_SOURCE_DIR "/docs/skin-format.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The part of the page about a section: from its heading or its mention in the list of
// element sections to the next heading of the same level.
std::string SectionPart(const std::string& page, const std::string& heading) {
  const std::size_t at = page.find("## `[" + heading + "]`");
  if (at == std::string::npos) return {};
  const std::size_t end = page.find("\n## ", at + 1);
  return page.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// How the page names a section: the caption buttons and extra colours by their prefix.
std::string PageHeading(const std::string& section) {
  const std::string upper = AsciiUpperCase(section);
  if (upper.starts_with("BUTTON") && upper != "BUTTONS") return "Button…";
  if (upper.starts_with("COLOUR") && upper != "COLOURS") return "Colour…";
  return section;
}

// The frame edges' keys are written with E for the edge: "TopFrame" is `EFrame`.
std::string PageKey(const std::string& section, const std::string& key) {
  if (section != "Personality") return key;
  for (const std::string edge : {"Left", "Right", "Top", "Bottom"}) {
    if (key == edge) return "E";
    for (const std::string part : {"TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
      if (key == edge + part) return "E" + part;
  }
  return key;
}

TEST(SkinFormatPage, NamesEveryKeyTheReaderAsksForUnderItsSection) {
  const std::string page = ReadPage();
  ASSERT_FALSE(page.empty()) << "docs/skin-format.md";
  const std::size_t from = page.find("## Element sections"), to = page.find("## Frames");
  ASSERT_LT(from, to);
  const std::string elements = page.substr(from, to - from);
  // A picture for every record, one caption button and one extra colour: the reader reads
  // a record's other keys only when it has its picture.
  std::string definition =
      "[ButtonClose]\nAction=0\n[Colour1]\ncolor=1 2 3\n[Progress]\nBitmap=p.bmp\n"
      "[Personality]\nmenuBar=m.bmp\n[MDICONTROLS]\nImage=c.bmp\n";
  for (const char* section : {"GroupBoxEdge",        "Toolbars",           "StatusBarEdges",     "SunkEdge",
                              "ExtraImages",         "Headerbar",          "MenuItem",           "MenuBackground",
                              "Scrollbar",           "HorzScroll",         "VertScroll",         "HorzScrollThumb",
                              "VertScrollThumb",     "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight", "Trackbar.ThumbUp",   "Trackbar.ThumbDown", "Tabs",
                              "ComboButton",         "UpDown.Horz",        "UpDown.Vert"})
    definition += std::string("[") + section + "]\nImage=i.bmp\n";
  const auto keys = TSkinDefinition::KeysRead(definition);
  ASSERT_GT(keys.size(), 300u);
  for (const TSkinKey& key : keys) {
    std::string part = SectionPart(page, PageHeading(key.Section));
    if (part.empty() && elements.find("`[" + key.Section + "]`") != std::string::npos) part = elements;
    ASSERT_FALSE(part.empty()) << "section [" << key.Section << "] is not on the page";
    EXPECT_NE(part.find("`" + PageKey(key.Section, key.Key) + "`"), std::string::npos)
        << "[" << key.Section << "] " << key.Key;
  }
}

}  // namespace
}  // namespace kv
