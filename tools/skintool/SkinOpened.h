#pragma once
// A skin container opened for a skin author: its entries as stored, the model the program
// builds from it, which pictures the definition asked for, and where each picture is used
// (record, section and key, frame count and direction). `check` and `sheet` work on this.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinContainer.h"
#include "skin/data/SkinDefinition.h"

namespace kv {

struct TSkinEntry {
  std::string FName;       // as stored
  std::string_view FData;  // into TOpenedSkin::FImage
  bool FShadowed = false;  // an earlier entry has the same name: the reader never finds this one
};

// One place where the model takes a picture from the definition.
struct TPictureUse {
  std::string FRecord;   // model field, e.g. "Tabs" or "SysButtons[2]"
  std::string FSection;  // as the model names it
  std::string FKey;
  std::string FReference;  // the key's value as written
  std::string FEntry;      // the entry it names (lower-cased), empty when it can name none
  int FFrames = 1;
  bool FVertical = false;  // frames one above the other
  bool FHasMargins = false;
  Margins FMargins;
  bool FDrawn = true;  // false where the model drops the picture it read
};

enum class TOpenStatus { isOpened, isNotContainer, isOlderVersion, isMalformed, isOverBudget };

class TOpenedSkin {
 public:
  TOpenedSkin() = default;
  // Entries point into the unpacked image, so the object stays where it was made.
  TOpenedSkin(const TOpenedSkin&) = delete;
  TOpenedSkin& operator=(const TOpenedSkin&) = delete;

  // Unpacks and parses `container` and builds its model as the program does, with
  // `pixelBudget` for its pictures; anything but isOpened leaves the object empty and
  // puts the reason into `error`.
  TOpenStatus Open(std::string_view container, std::string& error, std::int64_t pixelBudget = kSkinMaxTotalPixels);

  const std::vector<TSkinEntry>& Entries() const { return FEntries; }
  const TSkinDefinition& Model() const { return *FModel; }
  // The definition entry's (lower-cased) name; empty when the container has none.
  const std::string& DefinitionName() const { return FDefinitionName; }
  const std::string& DefinitionText() const { return FDefinitionText; }
  // Every entry name the definition reader asked the container for (lower-cased).
  const std::set<std::string>& Requested() const { return FRequested; }
  const std::vector<TPictureUse>& Uses() const { return FUses; }
  // The first entry of that (lower-cased) name that is not shadowed, or null.
  const TSkinEntry* FindEntry(std::string_view lowerName) const;

 private:
  void Clear();
  void CollectUses();

  std::string FImage;
  std::vector<TSkinEntry> FEntries;
  std::unique_ptr<TSkinDefinition> FModel = std::make_unique<TSkinDefinition>();
  std::string FDefinitionName;
  std::string FDefinitionText;
  std::set<std::string> FRequested;
  std::vector<TPictureUse> FUses;
};

// The entry name a picture reference leads to, the way the definition reader finds it
// (file name part, lower-cased); empty when the reference cannot give a picture.
std::string ReferencedEntry(std::string_view reference);

// Frame size of a strip of `frames` frames; 0 x 0 for a count below 1.
Rect FrameSize(int width, int height, int frames, bool vertical);

}  // namespace kv
