#pragma once
// The skin definition model: one record per skinned element, read from the skin's INI
// definition text, with its pictures taken from the skin container. Everything that
// draws reads this model and nothing else of the skin.
//
//   TDataSkinObject     one element: margins, picture strip, transparency, tiling, frames
//   TDataSkinBorder     ... with a second picture
//   TDataSkinButton     ... with the check-box and radio-button strips
//   TDataSkinTitle      the caption text settings
//   TDataSkinSysButton  one caption button
//   TSkinColours        the colour set
//   TSkinDefinition     the whole model and LoadDefinitions
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/PixelBitmap.h"

namespace kv {

class TIniFile;

// A Windows colour value 0x00BBGGRR, or 0xFF000000 plus a system-colour index.
using TSkinColour = std::uint32_t;
constexpr TSkinColour SystemColour(int index) { return 0xFF000000u | static_cast<std::uint32_t>(index); }
constexpr bool IsSystemColour(TSkinColour c) { return (c & 0xFF000000u) == 0xFF000000u; }

// Where a record's picture was taken from: the container entry (of Width x Height), the
// part of it, and whether it was mirrored. A scaled copy of the skin takes the same part
// of the entry's double-size twin when there is one. No entry: a picture made otherwise.
struct TPictureOrigin {
  std::string Entry;
  int Width = 0;
  int Height = 0;
  Rect Part;
  bool Mirrored = false;
};

class TDataSkinObject {
 public:
  virtual ~TDataSkinObject() = default;
  Margins GetMargins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }

  std::int32_t LeftWidth = 0;
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  TPixelBitmap Image;
  TPictureOrigin ImageOrigin;
  std::int32_t Trans = 0;
  std::int32_t Tile = 0;
  std::string Name;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  std::int32_t NormalColour = 0;
  std::int32_t MouseOverColour = 0;
  std::int32_t PressedColour = 0;
  TSkinColour NormalColour2 = 0;
  TSkinColour MouseOverColour2 = 0;
  TSkinColour PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  TPixelBitmap Image2;
  TPictureOrigin Image2Origin;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  TPixelBitmap CheckImage;
  TPixelBitmap RadioImage;
  TPictureOrigin CheckOrigin, RadioOrigin;
  std::int32_t RadioFrameCount = 0;
  std::int32_t CheckFrameCount = 0;
};

// LeftWidth, TopHeight and RightWidth hold the caption text's shift, vertical shift and
// right clip; Image is the picture behind the text.
class TDataSkinTitle : public TDataSkinObject {
 public:
  static constexpr TSkinColour kNoColour = 0x1FFFFFFF;
  std::int32_t TextAlignment = 0;
  std::int32_t TextBackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TextBackLeft = 0;
  std::int32_t TextBackRight = 0;
  TSkinColour ActiveTextColour = kNoColour;
  TSkinColour InactiveTextColour = kNoColour;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

struct TSkinColours {
  TSkinColour WindowTextColour = SystemColour(8);
  TSkinColour ButtonFaceColour = SystemColour(15);
  TSkinColour ScrollbarColour = SystemColour(0);
  TSkinColour HilightTextColour = SystemColour(14);
  TSkinColour HilightColour = SystemColour(13);
  TSkinColour MenubarColour = SystemColour(15);
  TSkinColour MenuColour = SystemColour(4);
  TSkinColour MenuTextColour = SystemColour(7);
  TSkinColour ButtonTextColour = SystemColour(18);
  TSkinColour ButtonHilightColour = SystemColour(20);
  TSkinColour ButtonLightColour = SystemColour(20);
  TSkinColour ButtonShadowColour = SystemColour(16);
  TSkinColour ButtonDkShadowColour = SystemColour(16);
  TSkinColour MenuBarTextColour = SystemColour(7);
  TSkinColour TitleTextActiveColour = SystemColour(9);
  TSkinColour TitleTextNoActiveColour = SystemColour(19);
};

// The bytes of the container entry of that (lower-cased) name; empty when missing.
using TPictureSource = std::function<std::string(std::string_view name)>;

// The most pixels one load of a skin may hold, as one largest TPixelBitmap (and as the
// GIF reader allows a whole animation). Every entry decoded counts once, and every copy a
// record keeps counts again (a picture several records name, the MDI buttons' cells, the
// combo button's mirror): the load never holds more than this many pixels at once. A
// skin beyond it is no skin.
inline constexpr std::int64_t kSkinMaxTotalPixels = std::int64_t(1) << 26;

// "238 233 213" → 0x00D5E9EE. Runs of digits are numbers, anything else separates them;
// the first two count only when a separator follows them. Empty text gives `fallback`,
// text without digits black.
TSkinColour ParseColourTriple(std::string_view text, TSkinColour fallback);
// Sets `target` from the keys base+"R", base+"G", base+"B" when all three are given.
void ReadComponentColour(TIniFile& ini, std::string_view section, std::string_view base, TSkinColour& target);
// Loads the picture a reference names (file name part only, extension exactly ".bmp");
// anything else, or a missing or unreadable entry, leaves the picture empty.
void LoadSkinBitmap(TPixelBitmap& bitmap, std::string_view reference, const TPictureSource& pictures);

// A key of the definition text: the section and the key name as the reader asks for them.
struct TSkinKey {
  std::string Section, Key;
};

struct TNamedRecord {
  const char* Name;  // the model's field name
  const TDataSkinObject* Record;
};

class TSkinDefinition {
 public:
  // Replaces the whole model by the one `definition` describes. Each entry is asked for
  // and decoded once however many records name it. False when the pictures would take
  // more than `pixelBudget` pixels or memory runs out: the model is then what an empty
  // definition gives (the records every model has, no pictures).
  bool LoadDefinitions(std::string_view definition, const TPictureSource& pictures,
                       std::int64_t pixelBudget = kSkinMaxTotalPixels);

  // Every section and key the reader asks for while it reads `definition` (its pictures
  // not decoded), in reading order: what a skin file can say. Sections the reader finds
  // by a name prefix (the caption buttons', the extra colours') are asked for only when
  // `definition` has them.
  static std::vector<TSkinKey> KeysRead(std::string_view definition);

  // The sixteen plain element records, from SunkEdge to TrackbarThumbDown, in the order
  // they are read (absent ones as null), for tools that walk the model.
  std::array<TNamedRecord, 16> PlainRecords() const;

  std::string SkinName;
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Tabs, Progress, UpDownHorz, UpDownVert, ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, GroupBoxEdge, Toolbars, StatusBarEdges, Headerbar;
  std::unique_ptr<TDataSkinObject> MenuBar, MenuItem, MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
      TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
  TSkinColours Colours;
  std::vector<TSkinColour> ExtraColours;

 private:
  class TReader;
};

}  // namespace kv
