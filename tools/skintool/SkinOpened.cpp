#include "SkinOpened.h"

#include <new>
#include <tuple>
#include <utility>

#include "base/ByteText.h"
#include "ini/IniFile.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinOptions.h"

namespace kv {

std::string ReferencedEntry(std::string_view reference) {
  const std::size_t cut = reference.find_last_of("\\/:");
  const std::string_view name = cut == std::string_view::npos ? reference : reference.substr(cut + 1);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return {};
  return AsciiLowerCase(name);
}

Rect FrameSize(int width, int height, int frames, bool vertical) {
  if (frames < 1) return {};
  return vertical ? Rect{0, 0, width, height / frames} : Rect{0, 0, width / frames, height};
}

void TOpenedSkin::Clear() {
  FImage.clear();
  FEntries.clear();
  FModel = std::make_unique<TSkinDefinition>();
  FDefinitionName.clear();
  FDefinitionText.clear();
  FRequested.clear();
  FUses.clear();
}

TOpenStatus TOpenedSkin::Open(std::string_view container, std::string& error, std::int64_t pixelBudget) {
  Clear();
  TSkinDirectory directory;
  TOpenStatus status = TOpenStatus::isOpened;
  try {
    switch (UnpackSkinImage(container, FImage, directory)) {
      case TSkinImageStatus::isValid: break;
      case TSkinImageStatus::isNotContainer:
        error = "not a skin container";
        status = TOpenStatus::isNotContainer;
        break;
      case TSkinImageStatus::isOversized:
        error = "unpacks to more than " + std::to_string(kSkinMaxImageSize >> 20) + " MB; no skin is that large";
        status = TOpenStatus::isNotContainer;
        break;
      case TSkinImageStatus::isOlderVersion:
        error = "older skin file (version is not 20000)";
        status = TOpenStatus::isOlderVersion;
        break;
      case TSkinImageStatus::isMalformed:
        error = "damaged skin directory";
        status = TOpenStatus::isMalformed;
        break;
    }
  } catch (const ElzhException& e) {
    error = std::string("cannot unpack: ") + e.what();
    status = TOpenStatus::isNotContainer;
  } catch (const std::bad_alloc&) {
    error = "cannot unpack: out of memory";
    status = TOpenStatus::isNotContainer;
  }
  if (status != TOpenStatus::isOpened) {
    Clear();
    return status;
  }
  std::set<std::string> seen;
  std::size_t offset = directory.FDataOffset;
  for (std::size_t i = 0; i < directory.FNames.size(); ++i) {
    const std::size_t size = std::size_t(directory.FSizes[i]);
    TSkinEntry entry{directory.FNames[i], std::string_view(FImage).substr(offset, size), false};
    entry.FShadowed = !seen.insert(AsciiLowerCase(entry.FName)).second;
    FEntries.push_back(entry);
    offset += size;
  }

  // The model exactly as the program builds it from the same image, noting every
  // picture the definition asks for.
  TSkinReader reader;
  reader.Assign(FImage, directory);
  if (!LoadSkinModel(reader, *FModel, pixelBudget, &FRequested)) {
    error = "the pictures take more than " + std::to_string(pixelBudget) +
            " pixels in all (or more memory than there is); the program keeps no skin";
    Clear();
    return TOpenStatus::isOverBudget;
  }
  reader.FindEntry(".ini", FDefinitionText, FDefinitionName);
  CollectUses();
  return TOpenStatus::isOpened;
}

const TSkinEntry* TOpenedSkin::FindEntry(std::string_view lowerName) const {
  for (const TSkinEntry& e : FEntries)
    if (!e.FShadowed && AsciiLowerCase(e.FName) == lowerName) return &e;
  return nullptr;
}

// Mirrors the definition reader: a picture key counts only where the reader reads it
// (an optional record's second picture only when the record exists).
void TOpenedSkin::CollectUses() {
  TIniFile ini = TIniFile::FromText(FDefinitionText);
  const TSkinDefinition& m = *FModel;
  const auto add = [&](std::string record, std::string_view section, std::string_view key, int frames, bool vertical,
                       const Margins* margins) {
    std::string value = ini.ReadString(section, key, "");
    if (value.empty()) return;
    TPictureUse use;
    use.FRecord = std::move(record);
    use.FSection = std::string(section);
    use.FKey = std::string(key);
    use.FEntry = ReferencedEntry(value);
    use.FReference = std::move(value);
    use.FFrames = frames;
    use.FVertical = vertical;
    use.FHasMargins = margins != nullptr;
    if (margins) use.FMargins = *margins;
    FUses.push_back(std::move(use));
  };
  const auto object = [&](std::string record, const TDataSkinObject* o, std::string_view key, bool vertical) {
    if (!o) return;
    const Margins margins = o->GetMargins();
    add(std::move(record), o->Name, key, o->FrameCount, vertical, &margins);
  };

  // The frame edges: top and bottom frames lie one above the other, left and right side by side.
  for (const auto& [label, border, vertical] :
       {std::tuple{"BorderLeft", m.BorderLeft.get(), false}, std::tuple{"BorderRight", m.BorderRight.get(), false},
        std::tuple{"BorderTop", m.BorderTop.get(), true}, std::tuple{"BorderBottom", m.BorderBottom.get(), true}}) {
    const Margins margins = border->GetMargins();
    add(label, "Personality", border->Name, border->FrameCount, vertical, &margins);
  }
  const std::size_t captionButtons = m.SysButtons.size() >= 3 ? m.SysButtons.size() - 3 : 0;
  for (std::size_t i = 0; i < captionButtons; ++i) {
    const TDataSkinSysButton& b = *m.SysButtons[i];
    add("SysButtons[" + std::to_string(i) + "]", b.Name, "ButtonImage", b.FrameCount, false, nullptr);
    // A button drawn without a picture (action 3 or 11 without "frame") still reads one.
    if (!FUses.empty() && FUses.back().FSection == b.Name) FUses.back().FDrawn = !b.Image.Empty();
  }
  add("SysButtons (MDI)", "MDICONTROLS", "Image", 12, false, nullptr);  // 12 cells, 4 per button

  const Margins buttonMargins = m.Buttons->GetMargins();
  add("Buttons", "Buttons", "Bitmap", m.Buttons->FrameCount, false, &buttonMargins);
  add("Buttons.CheckImage", "Buttons", "CheckButton", m.Buttons->CheckFrameCount, false, nullptr);
  add("Buttons.RadioImage", "Buttons", "RadioButton", m.Buttons->RadioFrameCount, false, nullptr);
  // Behind the caption text: two frames one above the other, only the sides fixed.
  const Margins titleMargins{m.Title->TextBackLeft, 0, m.Title->TextBackRight, 0};
  add("Title", "Personality", "TextBack", m.Title->FrameCount, true, &titleMargins);
  if (m.Progress) {
    const Margins margins = m.Progress->GetMargins();
    add("Progress", "Progress", "Bitmap", m.Progress->FrameCount, false, &margins);
    add("Progress.Image2", "Progress", "Chunk", 1, false, nullptr);
  }
  if (m.MenuBar) {
    const Margins margins = m.MenuBar->GetMargins();
    add("MenuBar", "Personality", "menuBar", m.MenuBar->FrameCount, true, &margins);
  }
  object("GroupBoxEdge", m.GroupBoxEdge.get(), "Image", false);
  object("Toolbars", m.Toolbars.get(), "Image", false);
  object("Tabs", m.Tabs.get(), "Image", false);
  if (m.Tabs) add("Tabs.Image2", m.Tabs->Name, "Border", 1, false, nullptr);
  object("StatusBarEdges", m.StatusBarEdges.get(), "Image", false);
  object("ComboButton", m.ComboButton.get(), "Image", false);
  for (const auto& [label, o] : m.PlainRecords()) object(label, o, "Image", false);
  for (const auto& [label, o] :
       {std::pair{"UpDownHorz", m.UpDownHorz.get()}, std::pair{"UpDownVert", m.UpDownVert.get()}}) {
    object(label, o, "Image", false);
    if (o) add(std::string(label) + ".Image2", o->Name, "GlyphImage", 1, false, nullptr);
  }
}

}  // namespace kv
