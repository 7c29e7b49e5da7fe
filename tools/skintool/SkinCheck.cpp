#include "SkinCheck.h"

#include <cstdio>
#include <map>
#include <optional>
#include <ostream>

#include "base/ByteText.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinScaling.h"

namespace kv {
namespace {

std::string Format(const char* format, auto... args) {
  char line[512];
  std::snprintf(line, sizeof line, format, args...);
  return line;
}

std::string Where(const TPictureUse& use) { return "[" + use.FSection + "] " + use.FKey + "=" + use.FReference; }

std::string SizeText(const TPixelBitmap& b) { return Format("%d x %d", b.Width(), b.Height()); }

std::string MarginsText(const Margins& m) { return Format("%d,%d,%d,%d", m.Left, m.Top, m.Right, m.Bottom); }

std::string FramesText(const TPixelBitmap& b, int frames, bool vertical) {
  const char* noun = frames == 1 ? "frame" : "frames";
  if (b.Empty()) return Format("%d %s", frames, noun);
  const Rect f = FrameSize(b.Width(), b.Height(), frames, vertical);
  return Format("%d %s of %d x %d%s", frames, noun, f.Width(), f.Height(), vertical ? " (stacked)" : "");
}

// Whether a comment line of the definition names `lowerName` as a whole file name, as in
// ";Chunk=bg-progress-chunk.bmp": a picture kept for an option the author switched off.
bool NamedInComment(std::string_view definition, const std::string& lowerName) {
  std::size_t start = 0;
  while (start < definition.size()) {
    std::size_t end = definition.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = definition.size();
    const std::string_view line = TrimBlanks(definition.substr(start, end - start));
    start = end + 1;
    if (line.empty() || (line[0] != ';' && line[0] != '#')) continue;
    const std::string lower = AsciiLowerCase(line);
    for (std::size_t at = lower.find(lowerName); at != std::string::npos; at = lower.find(lowerName, at + 1)) {
      const auto boundary = [](char c) {
        return c == '=' || c == ';' || c == '#' || c == '\\' || c == '/' || c == ':' || IsBlank(c) || c == ',';
      };
      const std::size_t after = at + lowerName.size();
      if ((at == 0 || boundary(lower[at - 1])) && (after == lower.size() || boundary(lower[after]))) return true;
    }
  }
  return false;
}

void CheckGeometry(const TPictureUse& use, const Rect& picture, std::vector<TSkinProblem>& problems) {
  const auto problem = [&](TProblemKind kind, const std::string& text) {
    problems.push_back({kind, use.FEntry, use.FEntry + " (" + use.FRecord + "): " + text});
  };
  if (use.FFrames < 1) {
    problem(TProblemKind::pkFrameCount, Format("frame count %d; a strip needs at least one frame", use.FFrames));
    return;
  }
  const int extent = use.FVertical ? picture.Height() : picture.Width();
  if (extent % use.FFrames != 0)
    problem(TProblemKind::pkFrameWidth,
            Format("%d pixels %s do not divide into %d frames", extent, use.FVertical ? "high" : "wide", use.FFrames));
  if (!use.FHasMargins) return;
  const Margins& m = use.FMargins;
  const Rect frame = FrameSize(picture.Width(), picture.Height(), use.FFrames, use.FVertical);
  if (m.Left < 0 || m.Top < 0 || m.Right < 0 || m.Bottom < 0)
    problem(TProblemKind::pkNegativeMargin, "negative margin in " + MarginsText(m));
  else if (std::int64_t(m.Left) + m.Right > frame.Width() || std::int64_t(m.Top) + m.Bottom > frame.Height())
    problem(TProblemKind::pkMarginsTooLarge, "margins " + MarginsText(m) + " do not fit into a frame of " +
                                                 Format("%d x %d", frame.Width(), frame.Height()));
}

void WriteRecord(std::ostream& out, const std::string& label, const TDataSkinObject& o, const TPictureUse* use,
                 bool vertical) {
  const std::string picture = use ? use->FReference : std::string("(no picture)");
  out << Format("  %-20s %-28s %-10s %-30s margins %-14s Trans %d  Tile %d  Style %d\n", label.c_str(), picture.c_str(),
                o.Image.Empty() ? "-" : SizeText(o.Image).c_str(), FramesText(o.Image, o.FrameCount, vertical).c_str(),
                MarginsText(o.GetMargins()).c_str(), o.Trans, o.Tile, o.Style);
}

void WriteExtra(std::ostream& out, const std::string& label, const TPixelBitmap& b, int frames,
                const TPictureUse* use) {
  const std::string picture = use ? use->FReference : std::string("(no picture)");
  out << Format("      + %-14s %-28s %-10s %s\n", label.c_str(), picture.c_str(), b.Empty() ? "-" : SizeText(b).c_str(),
                FramesText(b, frames, false).c_str());
}

}  // namespace

std::string ColourText(TSkinColour colour) {
  if (colour == TDataSkinTitle::kNoColour) return "not given";
  if (IsSystemColour(colour)) return Format("system colour %u", colour & 0x00FFFFFFu);
  return Format("%u,%u,%u", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

std::vector<std::string> SpareEntries(const TOpenedSkin& skin) {
  std::vector<std::string> spare;
  for (const TSkinEntry& entry : skin.Entries()) {
    const std::string lower = AsciiLowerCase(entry.FName);
    if (!entry.FShadowed && lower != skin.DefinitionName() && !skin.Requested().contains(lower) &&
        NamedInComment(skin.DefinitionText(), lower))
      spare.push_back(entry.FName);
  }
  return spare;
}

// A double-size twin of a picture the definition uses: read at 175 % and above, and only
// when it is exactly twice the picture's size.
template <class TSizeOf>
void CheckTwin(const TSkinEntry& twin, const TSkinEntry* base, TSizeOf& sizeOf, std::vector<TSkinProblem>& problems) {
  const std::optional<Rect> size = sizeOf(twin);
  if (!size) {
    problems.push_back({TProblemKind::pkUnreadablePicture, twin.FName, twin.FName + ": not a readable BMP picture"});
    return;
  }
  const std::optional<Rect> baseSize = base ? sizeOf(*base) : std::nullopt;
  if (!baseSize) return;  // the base's own problem is reported where it is used
  if (size->Width() == 2 * baseSize->Width() && size->Height() == 2 * baseSize->Height()) return;
  problems.push_back({TProblemKind::pkHiResSize, twin.FName,
                      Format("%s: %d x %d, but a double-size picture of %s must be %d x %d; it is not used",
                             twin.FName.c_str(), size->Width(), size->Height(), base->FName.c_str(),
                             2 * baseSize->Width(), 2 * baseSize->Height())});
}

std::vector<TSkinProblem> FindSkinProblems(const TOpenedSkin& skin) {
  std::vector<TSkinProblem> problems;
  // Each entry decoded once, however many references name it; only its size is kept.
  std::map<const TSkinEntry*, std::optional<Rect>> sizes;
  const auto sizeOf = [&](const TSkinEntry& entry) -> const std::optional<Rect>& {
    const auto [at, added] = sizes.try_emplace(&entry);
    if (added)
      if (const auto picture = ReadBmp(entry.FData)) at->second = picture->Bounds();
    return at->second;
  };
  if (skin.DefinitionName().empty())
    problems.push_back({TProblemKind::pkNoDefinition, "", "no definition: no entry name contains \".ini\""});
  for (const TPictureUse& use : skin.Uses()) {
    if (use.FEntry.empty()) {
      problems.push_back({TProblemKind::pkNotBmpReference, use.FReference,
                          Where(use) + ": only a file name ending exactly in \".bmp\" gives a picture"});
      continue;
    }
    const TSkinEntry* entry = skin.FindEntry(use.FEntry);
    if (!entry || entry->FData.empty()) {
      problems.push_back({TProblemKind::pkMissingPicture, use.FEntry,
                          Where(use) + ": " + (entry ? "the entry is empty" : "no entry " + use.FEntry)});
      continue;
    }
    const std::optional<Rect>& picture = sizeOf(*entry);
    if (!picture) {
      problems.push_back({TProblemKind::pkUnreadablePicture, use.FEntry, Where(use) + ": not a readable BMP picture"});
      continue;
    }
    if (use.FDrawn) CheckGeometry(use, *picture, problems);
  }
  const TSkinEntry* definition = skin.DefinitionName().empty() ? nullptr : skin.FindEntry(skin.DefinitionName());
  for (const TSkinEntry& entry : skin.Entries()) {
    if (&entry == definition) continue;
    std::string baseName;
    const bool twin = IsHiResEntryName(AsciiLowerCase(entry.FName), &baseName);
    if (entry.FShadowed)
      problems.push_back({TProblemKind::pkShadowedEntry, entry.FName,
                          entry.FName + ": an earlier entry has the same name, so this one is never read"});
    else if (twin && skin.Requested().contains(baseName))
      CheckTwin(entry, skin.FindEntry(baseName), sizeOf, problems);
    else if (!skin.Requested().contains(AsciiLowerCase(entry.FName)) &&
             !NamedInComment(skin.DefinitionText(), AsciiLowerCase(entry.FName)))
      problems.push_back({TProblemKind::pkUnreferencedEntry, entry.FName, entry.FName + ": nothing refers to it"});
  }
  return problems;
}

void WriteSkinReport(const TOpenedSkin& skin, const std::vector<TSkinProblem>& problems, std::ostream& out) {
  const TSkinDefinition& m = skin.Model();
  const auto useOf = [&](const std::string& record) -> const TPictureUse* {
    for (const TPictureUse& u : skin.Uses())
      if (u.FRecord == record) return &u;
    return nullptr;
  };
  out << "Skin \"" << m.SkinName << "\": definition "
      << (skin.DefinitionName().empty() ? std::string("(none)") : skin.DefinitionName()) << ", "
      << skin.Entries().size() << " entries\n\n";

  out << "Records (picture, size, frames, margins L,T,R,B, Trans, Tile, Style):\n";
  std::vector<std::string> absent;
  const auto record = [&](const std::string& label, const TDataSkinObject* o, bool vertical = false) {
    if (o)
      WriteRecord(out, label, *o, useOf(label), vertical);
    else
      absent.push_back(label);
  };
  record("BorderLeft", m.BorderLeft.get());
  record("BorderRight", m.BorderRight.get());
  record("BorderTop", m.BorderTop.get(), true);
  record("BorderBottom", m.BorderBottom.get(), true);
  record("Buttons", m.Buttons.get());
  WriteExtra(out, "CheckImage", m.Buttons->CheckImage, m.Buttons->CheckFrameCount, useOf("Buttons.CheckImage"));
  WriteExtra(out, "RadioImage", m.Buttons->RadioImage, m.Buttons->RadioFrameCount, useOf("Buttons.RadioImage"));
  record("Progress", m.Progress.get());
  if (m.Progress && !m.Progress->Image2.Empty())
    WriteExtra(out, "Image2", m.Progress->Image2, 1, useOf("Progress.Image2"));
  record("MenuBar", m.MenuBar.get(), true);
  record("GroupBoxEdge", m.GroupBoxEdge.get());
  record("Toolbars", m.Toolbars.get());
  record("Tabs", m.Tabs.get());
  if (m.Tabs) WriteExtra(out, "Image2", m.Tabs->Image2, 1, useOf("Tabs.Image2"));
  record("StatusBarEdges", m.StatusBarEdges.get());
  record("ComboButton", m.ComboButton.get());
  if (m.ComboButton) {
    TPictureUse mirror;
    mirror.FReference = "(Image mirrored)";
    WriteExtra(out, "Image2", m.ComboButton->Image2, m.ComboButton->FrameCount, &mirror);
  }
  for (const auto& [label, o] : m.PlainRecords()) record(label, o);
  for (const auto& [label, o] :
       {std::pair{"UpDownHorz", m.UpDownHorz.get()}, std::pair{"UpDownVert", m.UpDownVert.get()}}) {
    record(label, o);
    if (o && useOf(std::string(label) + ".Image2"))
      WriteExtra(out, "Image2", o->Image2, 1, useOf(std::string(label) + ".Image2"));
  }
  if (!absent.empty()) {
    out << "  Not in this skin (the platform draws these):";
    for (const std::string& a : absent) out << " " << a;
    out << "\n";
  }

  out << "\nCaption buttons (in order):\n";
  for (std::size_t i = 0; i < m.SysButtons.size(); ++i) {
    const TDataSkinSysButton& b = *m.SysButtons[i];
    const TPictureUse* use = useOf("SysButtons[" + std::to_string(i) + "]");
    const bool mdi = i + 3 >= m.SysButtons.size();
    const std::string name = mdi ? "(MDI)" : b.Name;
    const std::string picture = use                                ? use->FReference
                                : mdi && useOf("SysButtons (MDI)") ? useOf("SysButtons (MDI)")->FReference + " (cut)"
                                                                   : "(no picture)";
    out << Format("  %-10s Action %-3d Align %-3d X %-4d Y %-4d Visibility %d/%d  CombineOp %-3d %-28s %-10s %s\n",
                  name.c_str(), b.Action, b.Align, b.XCoord, b.YCoord, b.Visibility, b.Visibility1, b.CombineOp,
                  picture.c_str(), b.Image.Empty() ? "-" : SizeText(b.Image).c_str(),
                  FramesText(b.Image, b.FrameCount, false).c_str());
  }

  const TDataSkinTitle& t = *m.Title;
  out << "\nTitle: picture " << (useOf("Title") ? useOf("Title")->FReference : std::string("(none)"))
      << (t.Image.Empty() ? "" : " " + SizeText(t.Image)) << ", text shift " << t.LeftWidth << ", vertical shift "
      << t.TopHeight << ", right clip " << t.RightWidth << ", alignment " << t.TextAlignment << ", background "
      << t.TextBackground << ", font height " << t.FontHeight << ", text back " << t.TextBackLeft << "/"
      << t.TextBackRight << ", active text " << ColourText(t.ActiveTextColour) << ", inactive text "
      << ColourText(t.InactiveTextColour) << "\n";

  const TSkinColours& c = m.Colours;
  out << "\nColours:\n";
  const std::pair<const char*, TSkinColour> colours[] = {
      {"WindowTextColour", c.WindowTextColour},
      {"ButtonFaceColour", c.ButtonFaceColour},
      {"ScrollbarColour", c.ScrollbarColour},
      {"HilightTextColour", c.HilightTextColour},
      {"HilightColour", c.HilightColour},
      {"MenubarColour", c.MenubarColour},
      {"MenuColour", c.MenuColour},
      {"MenuTextColour", c.MenuTextColour},
      {"ButtonTextColour", c.ButtonTextColour},
      {"ButtonHilightColour", c.ButtonHilightColour},
      {"ButtonLightColour", c.ButtonLightColour},
      {"ButtonShadowColour", c.ButtonShadowColour},
      {"ButtonDkShadowColour", c.ButtonDkShadowColour},
      {"MenuBarTextColour", c.MenuBarTextColour},
      {"TitleTextActiveColour", c.TitleTextActiveColour},
      {"TitleTextNoActiveColour", c.TitleTextNoActiveColour},
  };
  for (const auto& [name, value] : colours) out << Format("  %-24s %s\n", name, ColourText(value).c_str());
  out << "Extra colours:";
  if (m.ExtraColours.empty()) out << " none";
  for (std::size_t i = 0; i < m.ExtraColours.size(); ++i) out << (i ? "; " : " ") << ColourText(m.ExtraColours[i]);
  out << "\n\n";

  if (const std::vector<std::string> spare = SpareEntries(skin); !spare.empty()) {
    out << "Spare pictures (named only in comments of the definition):";
    for (const std::string& name : spare) out << " " << name;
    out << "\n";
  }
  if (problems.empty()) {
    out << "No problems.\n";
    return;
  }
  out << "Problems (" << problems.size() << "):\n";
  for (const TSkinProblem& p : problems) out << "  " << p.FText << "\n";
}

int CheckSkin(std::string_view container, std::ostream& out, std::ostream& err, std::int64_t pixelBudget) {
  TOpenedSkin skin;
  std::string error;
  if (skin.Open(container, error, pixelBudget) != TOpenStatus::isOpened) {
    err << "skintool: " << error << "\n";
    return 2;
  }
  const std::vector<TSkinProblem> problems = FindSkinProblems(skin);
  WriteSkinReport(skin, problems, out);
  return problems.empty() ? 0 : 1;
}

}  // namespace kv
