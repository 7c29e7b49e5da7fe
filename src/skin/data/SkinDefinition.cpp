#include "skin/data/SkinDefinition.h"

#include <map>
#include <new>

#include "base/ByteText.h"
#include "ini/IniFile.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinImage.h"

namespace kv {
namespace {

constexpr TSkinColour Rgb(std::int64_t r, std::int64_t g, std::int64_t b) {
  return static_cast<TSkinColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

bool StartsWithUpper(std::string_view name, std::string_view prefix) {
  return AsciiUpperCase(name.substr(0, prefix.size())) == prefix;
}

std::int64_t Pixels(const TPixelBitmap& bitmap) { return std::int64_t(bitmap.Width()) * bitmap.Height(); }

// The entry a picture reference names: its file name part, lower-cased, when that ends
// exactly in ".bmp"; empty otherwise.
std::string PictureEntryName(std::string_view reference) {
  const std::size_t cut = reference.find_last_of("\\/:");
  const std::string_view name = cut == std::string_view::npos ? reference : reference.substr(cut + 1);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return {};
  return AsciiLowerCase(name);
}

// Ends a load whose pictures would take more than its budget.
struct TOverBudget {};

// The pictures of one load: each entry asked for and decoded once, and every pixel the
// load keeps counted against the budget before it is allocated.
class TPictureCache {
 public:
  TPictureCache(const TPictureSource& source, std::int64_t budget) : FSource(source), FLeft(budget) {}

  // The decoded picture a reference names; an empty one when it names none, or an entry
  // that is missing, empty or no readable BMP.
  const TPixelBitmap& Find(std::string_view reference) {
    std::string name = PictureEntryName(reference);
    if (name.empty()) return FNone;
    const auto [at, added] = FDecoded.try_emplace(std::move(name));
    if (added) {
      const std::string bytes = FSource(at->first);
      if (!bytes.empty()) {
        if (BmpHeaderPixels(bytes) > FLeft) throw TOverBudget();
        if (auto picture = ReadBmp(bytes)) {
          Charge(Pixels(*picture));
          at->second = std::move(*picture);
        }
      }
    }
    return at->second;
  }

  // A record's own copy of the picture a reference names, and where it came from.
  void Copy(TPixelBitmap& bitmap, TPictureOrigin& origin, std::string_view reference) {
    const TPixelBitmap& picture = Find(reference);
    Charge(Pixels(picture));
    bitmap = picture;
    origin = {};
    if (!picture.Empty()) origin = {PictureEntryName(reference), picture.Width(), picture.Height(), picture.Bounds()};
  }

  void Charge(std::int64_t pixels) {
    if (pixels > FLeft) throw TOverBudget();
    FLeft -= pixels;
  }

 private:
  const TPictureSource& FSource;
  std::int64_t FLeft;
  std::map<std::string, TPixelBitmap, std::less<>> FDecoded;
  const TPixelBitmap FNone;
};

}  // namespace

TSkinColour ParseColourTriple(std::string_view text, TSkinColour fallback) {
  const std::string_view t = TrimBlanks(text);
  if (t.empty()) return fallback;
  std::int64_t parts[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (i < t.size() && count < 3) {
    while (i < t.size() && !(t[i] >= '0' && t[i] <= '9')) ++i;
    if (i == t.size()) break;
    // A number too large to convert counts as 0.
    std::int64_t value = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
      value = value > INT32_MAX ? value : value * 10 + (t[i] - '0');
    if (value > INT32_MAX) value = 0;
    // The first two numbers need a separator after them; the third does not.
    if (count < 2 && i == t.size()) break;
    parts[count++] = value;
  }
  return Rgb(parts[0], parts[1], parts[2]);
}

void ReadComponentColour(TIniFile& ini, std::string_view section, std::string_view base, TSkinColour& target) {
  const std::string key(base);
  const std::int32_t r = ini.ReadInteger(section, key + "R", -1);
  const std::int32_t g = ini.ReadInteger(section, key + "G", -1);
  const std::int32_t b = ini.ReadInteger(section, key + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) target = Rgb(r, g, b);
}

void LoadSkinBitmap(TPixelBitmap& bitmap, std::string_view reference, const TPictureSource& pictures) {
  bitmap = TPixelBitmap();
  const std::string name = PictureEntryName(reference);
  if (name.empty()) return;
  const std::string bytes = pictures(name);
  if (bytes.empty()) return;
  if (auto picture = ReadBmp(bytes)) bitmap = std::move(*picture);
}

// The readers, in the order LoadDefinitions runs them, over one definition text.
class TSkinDefinition::TReader {
 public:
  TReader(TSkinDefinition& model, std::string_view text, const TPictureSource& pictures, std::int64_t pixelBudget,
          std::vector<TSkinKey>* keysRead = nullptr)
      : FModel(model),
        FIni(TIniFile::FromText(text)),
        FPictures(pictures, pixelBudget),
        FSections(FIni.ReadSections()),
        FKeysRead(keysRead) {}

  void Run() {
    TSkinDefinition& m = FModel;
    m.SkinName = Text("TitlebarSkin", "SkinName");
    ReadFrameBorders();
    ReadColours();
    ReadSysButtons();
    ReadButtons();
    ReadTitle();
    ReadProgress();
    ReadMenuBar();
    m.GroupBoxEdge = ReadObject("GroupBoxEdge");
    m.Toolbars = ReadObject("Toolbars");
    m.Tabs = ReadBorderObject("Tabs", "Border");
    m.StatusBarEdges = ReadObject("StatusBarEdges");
    // The combo button's second picture is its mirror, not a key of its own.
    m.ComboButton = ReadBorderObject("ComboButton", "");
    if (m.ComboButton && !m.ComboButton->Image.Empty()) {
      FPictures.Charge(Pixels(m.ComboButton->Image));
      m.ComboButton->Image2 = m.ComboButton->Image;
      MirrorHorizontal(m.ComboButton->Image2);
      m.ComboButton->Image2Origin = m.ComboButton->ImageOrigin;
      m.ComboButton->Image2Origin.Mirrored = true;
    }
    m.SunkEdge = ReadObject("SunkEdge");
    m.ExtraImages = ReadObject("ExtraImages");
    m.Headerbar = ReadObject("Headerbar");
    m.MenuItem = ReadObject("MenuItem");
    m.MenuBackground = ReadObject("MenuBackground");
    m.Scrollbar = ReadObject("Scrollbar");
    m.HorzScroll = ReadObject("HorzScroll");
    m.VertScroll = ReadObject("VertScroll");
    m.HorzScrollThumb = ReadObject("HorzScrollThumb");
    m.VertScrollThumb = ReadObject("VertScrollThumb");
    m.TrackbarThumbHorz = ReadObject("Trackbar.ThumbHorz");
    m.TrackbarThumbVert = ReadObject("Trackbar.ThumbVert");
    m.TrackbarThumbLeft = ReadObject("Trackbar.ThumbLeft");
    m.TrackbarThumbRight = ReadObject("Trackbar.ThumbRight");
    m.TrackbarThumbUp = ReadObject("Trackbar.ThumbUp");
    m.TrackbarThumbDown = ReadObject("Trackbar.ThumbDown");
    m.UpDownHorz = ReadBorderObject("UpDown.Horz", "GlyphImage");
    m.UpDownVert = ReadBorderObject("UpDown.Vert", "GlyphImage");
    SetFrameCounts();
  }

 private:
  std::int32_t Int(std::string_view section, std::string_view key, std::int32_t fallback) {
    Note(section, key);
    return FIni.ReadInteger(section, key, fallback);
  }
  std::string Text(std::string_view section, std::string_view key) {
    Note(section, key);
    return FIni.ReadString(section, key, "");
  }
  void Note(std::string_view section, std::string_view key) {
    if (FKeysRead) FKeysRead->push_back({std::string(section), std::string(key)});
  }
  void ComponentColour(std::string_view section, std::string_view base, TSkinColour& target) {
    for (const char* part : {"R", "G", "B"}) Note(section, std::string(base) + part);
    ReadComponentColour(FIni, section, base, target);
  }
  void Picture(TPixelBitmap& bitmap, TPictureOrigin& origin, std::string_view reference) {
    FPictures.Copy(bitmap, origin, reference);
  }
  TSkinColour Triple(std::string_view section, std::string_view key, TSkinColour fallback) {
    return ParseColourTriple(Text(section, key), fallback);
  }

  // The fields ReadObject and ReadBorderObject share.
  void ReadCommon(TDataSkinObject& o, std::string_view section, const std::string& image) {
    o.Name = std::string(section);
    Picture(o.Image, o.ImageOrigin, image);
    o.LeftWidth = Int(section, "LeftWidth", 0);
    o.RightWidth = Int(section, "RightWidth", 0);
    o.TopHeight = Int(section, "TopHeight", 0);
    o.BottomHeight = Int(section, "BottomHeight", 0);
    o.Trans = Int(section, "Trans", 0);
    o.Tile = Int(section, "Tile", 0);
    if (o.Tile > 1) o.Tile = 0;
    o.NormalColour = Int(section, "NormalColour", -1);
    o.MouseOverColour = Int(section, "MouseOverColour", -1);
    o.PressedColour = Int(section, "PressedColour", -1);
    const TSkinColour text = FModel.Colours.ButtonTextColour;
    o.NormalColour2 = Triple(section, "NormalColour2", text);
    o.MouseOverColour2 = Triple(section, "MouseOverColour2", text);
    o.PressedColour2 = Triple(section, "PressedColour2", text);
  }

  std::unique_ptr<TDataSkinObject> ReadObject(std::string_view section) {
    const std::string image = Text(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinObject>();
    ReadCommon(*o, section, image);
    o->Style = Int(section, "Style", 0);
    return o;
  }

  std::unique_ptr<TDataSkinBorder> ReadBorderObject(std::string_view section, std::string_view secondKey) {
    const std::string image = Text(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinBorder>();
    ReadCommon(*o, section, image);
    o->Style = Int(section, "Style", 0);
    if (secondKey.empty()) return o;
    if (const std::string second = Text(section, secondKey); !second.empty()) Picture(o->Image2, o->Image2Origin, second);
    return o;
  }

  void ReadProgress() {
    const std::string bitmap = Text("Progress", "Bitmap");
    FModel.Progress.reset();
    if (bitmap.empty()) return;
    auto o = std::make_unique<TDataSkinBorder>();
    o->Name = "Progress";
    Picture(o->Image, o->ImageOrigin, bitmap);
    if (const std::string chunk = Text("Progress", "Chunk"); !chunk.empty()) Picture(o->Image2, o->Image2Origin, chunk);
    o->Style = Int("Progress", "Style", 0);
    o->LeftWidth = Int("Progress", "LeftWidth", 0);
    o->RightWidth = Int("Progress", "RightWidth", 0);
    o->TopHeight = Int("Progress", "TopHeight", 0);
    o->BottomHeight = Int("Progress", "BottomHeight", 0);
    o->Trans = Int("Progress", "Trans", 0);
    o->Tile = Int("Progress", "Tile", 0);  // not limited here
    FModel.Progress = std::move(o);
  }

  void ReadButtons() {
    constexpr std::string_view s = "Buttons";
    auto b = std::make_unique<TDataSkinButton>();
    b->Name = "Buttons";
    b->LeftWidth = Int(s, "LeftWidth", 0);
    b->RightWidth = Int(s, "RightWidth", 0);
    b->TopHeight = Int(s, "TopHeight", 0);
    b->BottomHeight = Int(s, "BottomHeight", 0);
    b->Trans = Int(s, "Trans", 0);
    Picture(b->Image, b->ImageOrigin, Text(s, "Bitmap"));
    b->Tile = Int(s, "Tile", 0);
    Picture(b->CheckImage, b->CheckOrigin, Text(s, "CheckButton"));
    Picture(b->RadioImage, b->RadioOrigin, Text(s, "RadioButton"));
    b->NormalColour = Int(s, "NormalColour", -1);
    b->MouseOverColour = Int(s, "MouseOverColour", -1);
    b->PressedColour = Int(s, "PressedColour", -1);
    b->RadioFrameCount = Int(s, "RadioButtonFrame", 0);
    b->CheckFrameCount = Int(s, "CheckButtonFrame", 0);
    const TSkinColour text = FModel.Colours.ButtonTextColour;
    b->NormalColour2 = Triple(s, "NormalColour2", text);
    b->MouseOverColour2 = Triple(s, "MouseOverColour2", text);
    b->PressedColour2 = Triple(s, "PressedColour2", text);
    FModel.Buttons = std::move(b);
  }

  void ReadMenuBar() {
    const std::string image = Text("Personality", "menuBar");
    FModel.MenuBar.reset();
    if (image.empty()) return;
    auto o = std::make_unique<TDataSkinObject>();
    o->Name = "Personality";
    Picture(o->Image, o->ImageOrigin, image);
    o->Tile = Int("Personality", "TileMenu", 0);
    o->LeftWidth = Int("Personality", "TileLeftMenu", 1);
    o->RightWidth = Int("Personality", "TileRightMenu", 1);
    FModel.MenuBar = std::move(o);
  }

  void ReadTitle() {
    constexpr std::string_view s = "Personality";
    auto t = std::make_unique<TDataSkinTitle>();
    t->Name = "Title";
    Picture(t->Image, t->ImageOrigin, Text(s, "TextBack"));
    t->LeftWidth = Int(s, "TextShift", 0);
    t->TopHeight = Int(s, "TextShiftVert", 0);
    t->RightWidth = Int(s, "TextRightClip", 0);
    t->TextAlignment = Int(s, "TextAlignment", 0);
    t->TextBackground = Int(s, "Textbackground", 0);
    t->FontHeight = Int("Fonts", "FontHeight", 14);
    t->TextBackLeft = Int(s, "TXTBackleft", 0);
    t->TextBackRight = Int(s, "TXTBackRight", 0);
    ComponentColour(s, "ActiveText", t->ActiveTextColour);
    ComponentColour(s, "InActiveText", t->InactiveTextColour);
    FModel.Title = std::move(t);
  }

  std::unique_ptr<TDataSkinBorder> ReadFrameBorder(const std::string& edge, bool vertical) {
    constexpr std::string_view s = "Personality";
    auto b = std::make_unique<TDataSkinBorder>();
    b->Name = edge;
    // Along a horizontal edge the two keys give the fixed left and right parts.
    (vertical ? b->TopHeight : b->LeftWidth) = Int(s, edge + "TopHeight", 0);
    (vertical ? b->BottomHeight : b->RightWidth) = Int(s, edge + "BotHeight", 0);
    b->FrameCount = Int(s, edge + "Frame", 1);
    b->Tile = Int(s, edge + "Stretch", 1);
    b->Trans = Int(s, edge + "Trans", 1);
    Picture(b->Image, b->ImageOrigin, Text(s, edge));
    return b;
  }

  void ReadFrameBorders() {
    FModel.BorderLeft = ReadFrameBorder("Left", true);
    FModel.BorderRight = ReadFrameBorder("Right", true);
    FModel.BorderTop = ReadFrameBorder("Top", false);
    FModel.BorderBottom = ReadFrameBorder("Bottom", false);
  }

  void ReadColours() {
    constexpr std::string_view s = "Colours";
    TSkinColours& c = FModel.Colours;
    c = TSkinColours();
    c.WindowTextColour = Triple(s, "WindowText", SystemColour(8));
    c.ButtonFaceColour = Triple(s, "ButtonFace", SystemColour(15));
    c.ScrollbarColour = Triple(s, "Scrollbar", SystemColour(0));
    c.HilightTextColour = Triple(s, "HilightText", SystemColour(14));
    c.HilightColour = Triple(s, "Hilight", SystemColour(13));
    c.MenubarColour = Triple(s, "Menubar", c.ButtonFaceColour);
    c.MenuColour = Triple(s, "Menu", SystemColour(4));
    c.MenuTextColour = Triple(s, "MenuText", SystemColour(7));
    c.ButtonTextColour = Triple(s, "ButtonText", SystemColour(18));
    c.ButtonHilightColour = Triple(s, "ButtonHilight", SystemColour(20));
    c.ButtonLightColour = Triple(s, "Buttonlight", SystemColour(20));
    c.ButtonShadowColour = Triple(s, "ButtonShadow", SystemColour(16));
    c.ButtonDkShadowColour = Triple(s, "ButtonDkShadow", SystemColour(16));
    c.MenuBarTextColour = Triple(s, "MenuBarText", SystemColour(7));
    c.TitleTextActiveColour = Triple(s, "TitleTextActive", SystemColour(9));
    c.TitleTextNoActiveColour = Triple(s, "TitleTextNoActive", SystemColour(19));
    FModel.ExtraColours.clear();
    for (const std::string& section : FSections)
      if (StartsWithUpper(section, "COLOUR") && AsciiUpperCase(section) != "COLOURS")
        FModel.ExtraColours.push_back(Triple(section, "color", SystemColour(8)));
  }

  void ReadSysButtons() {
    auto& buttons = FModel.SysButtons;
    buttons.clear();
    for (const std::string& section : FSections) {
      const std::string upper = AsciiUpperCase(section);
      if (!StartsWithUpper(section, "BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX")
        continue;
      auto b = std::make_unique<TDataSkinSysButton>();
      b->Name = upper;
      b->Action = Int(section, "Action", 0);
      b->Align = Int(section, "Align", 0);
      b->XCoord = Int(section, "Xcoord", 0);
      b->YCoord = Int(section, "Ycoord", 0);
      b->Visibility = Int(section, "Visibility", 0);
      b->Visibility1 = Int(section, "Visibility1", 0);
      b->CombineOp = Int(section, "CombineOp", -1);
      b->FrameCount = Int(section, "frame", 0);
      Picture(b->Image, b->ImageOrigin, Text(section, "ButtonImage"));
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Image.Empty()) b->FrameCount = static_cast<double>(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
        if (b->Action < 0) b->FrameCount = 6;
        if (b->Action == 3 || b->Action == 11) {
          b->Image = TPixelBitmap();
          b->ImageOrigin = {};
        }
      }
      buttons.push_back(std::move(b));
    }
    for (int action = 7; action <= 9; ++action) {
      auto b = std::make_unique<TDataSkinSysButton>();
      b->Action = action;
      b->Align = b->Visibility = b->Visibility1 = 100;
      b->FrameCount = 4;
      buttons.push_back(std::move(b));
    }
    ReadMdiControls();
  }

  // The MDI strip holds 12 equal cells; each of the three buttons takes four of them.
  void ReadMdiControls() {
    const std::string image = Text("MDICONTROLS", "Image");
    if (image.empty()) return;
    const TPixelBitmap& strip = FPictures.Find(image);
    const int cell = strip.Width() / 12;
    const std::size_t first = FModel.SysButtons.size() - 3;
    for (int i = 0; i < 3; ++i) {
      TDataSkinSysButton& b = *FModel.SysButtons[first + i];
      if (cell > 0) {
        FPictures.Charge(std::int64_t(4) * cell * strip.Height());
        b.Image = TPixelBitmap(4 * cell, strip.Height());
        const Rect part{4 * i * cell, 0, 4 * (i + 1) * cell, strip.Height()};
        CopyPixels(b.Image, 0, 0, strip, part);
        b.ImageOrigin = {PictureEntryName(image), strip.Width(), strip.Height(), part};
      }
      b.XCoord = (cell + 4) * (3 - i);
    }
  }

  static std::int32_t CellFrames(const TPixelBitmap& strip) {
    const int cell = strip.Height() < 16 ? 13 : 16;
    return std::max(strip.Width() / cell, 4);
  }

  void SetFrameCounts() {
    TSkinDefinition& m = FModel;
    m.Buttons->FrameCount = 5;
    if (m.Buttons->RadioFrameCount == 0) m.Buttons->RadioFrameCount = CellFrames(m.Buttons->RadioImage);
    if (m.Buttons->CheckFrameCount == 0) m.Buttons->CheckFrameCount = CellFrames(m.Buttons->CheckImage);
    const auto set = [](auto& record, std::int32_t count) {
      if (record) record->FrameCount = count;
    };
    set(m.Title, 2);
    set(m.Tabs, 5);
    set(m.Progress, 2);
    set(m.UpDownHorz, 8);
    set(m.UpDownVert, 8);
    set(m.SunkEdge, 4);
    set(m.ExtraImages, 5);
    set(m.ComboButton, 4);
    set(m.GroupBoxEdge, 2);
    set(m.Toolbars, 5);
    set(m.StatusBarEdges, 3);
    set(m.Headerbar, 5);
    set(m.MenuBar, 2);
    set(m.MenuItem, 5);
    set(m.MenuBackground, 1);
    set(m.Scrollbar, 23);
    set(m.HorzScroll, 4);
    set(m.VertScroll, 4);
    set(m.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(m.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    for (auto* thumb : {&m.TrackbarThumbHorz, &m.TrackbarThumbVert, &m.TrackbarThumbLeft, &m.TrackbarThumbRight,
                        &m.TrackbarThumbUp, &m.TrackbarThumbDown})
      set(*thumb, 5);
  }

  TSkinDefinition& FModel;
  TIniFile FIni;
  TPictureCache FPictures;
  std::vector<std::string> FSections;
  std::vector<TSkinKey>* FKeysRead;
};

std::array<TNamedRecord, 16> TSkinDefinition::PlainRecords() const {
  return {{{"SunkEdge", SunkEdge.get()},
           {"ExtraImages", ExtraImages.get()},
           {"Headerbar", Headerbar.get()},
           {"MenuItem", MenuItem.get()},
           {"MenuBackground", MenuBackground.get()},
           {"Scrollbar", Scrollbar.get()},
           {"HorzScroll", HorzScroll.get()},
           {"VertScroll", VertScroll.get()},
           {"HorzScrollThumb", HorzScrollThumb.get()},
           {"VertScrollThumb", VertScrollThumb.get()},
           {"TrackbarThumbHorz", TrackbarThumbHorz.get()},
           {"TrackbarThumbVert", TrackbarThumbVert.get()},
           {"TrackbarThumbLeft", TrackbarThumbLeft.get()},
           {"TrackbarThumbRight", TrackbarThumbRight.get()},
           {"TrackbarThumbUp", TrackbarThumbUp.get()},
           {"TrackbarThumbDown", TrackbarThumbDown.get()}}};
}

std::vector<TSkinKey> TSkinDefinition::KeysRead(std::string_view definition) {
  std::vector<TSkinKey> keys;
  TSkinDefinition model;
  TReader(
      model, definition, [](std::string_view) { return std::string(); }, kSkinMaxTotalPixels, &keys)
      .Run();
  return keys;
}

bool TSkinDefinition::LoadDefinitions(std::string_view definition, const TPictureSource& pictures,
                                      std::int64_t pixelBudget) {
  try {
    *this = TSkinDefinition();
    TReader(*this, definition, pictures, pixelBudget).Run();
    return true;
  } catch (const TOverBudget&) {
  } catch (const std::bad_alloc&) {
  }
  // No skin: what an empty definition gives, so the drawing code still finds its records.
  *this = TSkinDefinition();
  TReader(
      *this, "", [](std::string_view) { return std::string(); }, 0)
      .Run();
  return false;
}

}  // namespace kv
