#include "skin/data/SkinScaling.h"

#include <map>
#include <new>
#include <optional>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinImage.h"

namespace kv {
namespace {

constexpr std::string_view kBmp = ".bmp";
constexpr std::string_view kHiResSuffix = "@2x.bmp";

struct TOverBudget {};

template <class T>
std::unique_ptr<T> Clone(const std::unique_ptr<T>& record) {
  return record ? std::make_unique<T>(*record) : nullptr;
}

class TScaler {
 public:
  TScaler(int dpi, const TPictureSource& entries, std::int64_t budget)
      : FDpi(dpi), FEntries(dpi >= kHiResFromDpi ? entries : TPictureSource()), FLeft(budget) {}

  int Length(int value) const { return ScaleLength(value, FDpi); }

  void Picture(TPixelBitmap& bitmap, const TPictureOrigin& origin, int frames, bool vertical) {
    if (bitmap.Empty()) return;
    if (const TPixelBitmap* twin = HiResPart(origin, bitmap))
      bitmap = ScaleStrip(*twin, frames, vertical, FDpi, kHiResDpi);
    else
      bitmap = ScaleStrip(bitmap, frames, vertical, FDpi);
    const std::int64_t pixels = std::int64_t(bitmap.Width()) * bitmap.Height();
    if (pixels > FLeft) throw TOverBudget();
    FLeft -= pixels;
  }

  // Margins, and for the title its text offsets: every length a record holds.
  void Lengths(TDataSkinObject& record) {
    record.LeftWidth = Length(record.LeftWidth);
    record.TopHeight = Length(record.TopHeight);
    record.RightWidth = Length(record.RightWidth);
    record.BottomHeight = Length(record.BottomHeight);
  }

  void Object(TDataSkinObject* record, bool vertical = false) {
    if (!record) return;
    Lengths(*record);
    Picture(record->Image, record->ImageOrigin, record->FrameCount, vertical);
  }

  void Border(TDataSkinBorder* record, int secondFrames, bool vertical = false) {
    if (!record) return;
    Object(record, vertical);
    Picture(record->Image2, record->Image2Origin, secondFrames, false);
  }

 private:
  // The part of the entry's twin the picture was taken from, mirrored as it was; null
  // without a usable twin, or when the picture no longer is what its origin says.
  const TPixelBitmap* HiResPart(const TPictureOrigin& origin, const TPixelBitmap& picture) {
    if (!FEntries || origin.Entry.empty()) return nullptr;
    if (picture.Width() != origin.Part.Width() || picture.Height() != origin.Part.Height()) return nullptr;
    const TPixelBitmap* twin = Twin(origin);
    if (!twin) return nullptr;
    const Rect part = ScaleRect(origin.Part, kHiResDpi);
    FPart = TPixelBitmap(part.Width(), part.Height());
    CopyPixels(FPart, 0, 0, *twin, part);
    if (origin.Mirrored) MirrorHorizontal(FPart);
    return FPart.Empty() ? nullptr : &FPart;
  }

  const TPixelBitmap* Twin(const TPictureOrigin& origin) {
    const auto [at, added] = FTwins.try_emplace(origin.Entry);
    if (added) {
      const std::string bytes = FEntries(HiResEntryName(origin.Entry));
      if (!bytes.empty())
        if (auto picture = ReadBmp(bytes);
            picture && picture->Width() == 2 * origin.Width && picture->Height() == 2 * origin.Height)
          at->second = std::move(*picture);
    }
    return at->second ? &*at->second : nullptr;
  }

  int FDpi;
  TPictureSource FEntries;
  std::int64_t FLeft;
  std::map<std::string, std::optional<TPixelBitmap>, std::less<>> FTwins;
  TPixelBitmap FPart;
};

}  // namespace

std::string HiResEntryName(std::string_view entry) {
  if (entry.size() <= kBmp.size() || !entry.ends_with(kBmp)) return {};
  return std::string(entry.substr(0, entry.size() - kBmp.size())) + std::string(kHiResSuffix);
}

bool IsHiResEntryName(std::string_view entry, std::string* base) {
  if (entry.size() <= kHiResSuffix.size() || !entry.ends_with(kHiResSuffix)) return false;
  if (base) *base = std::string(entry.substr(0, entry.size() - kHiResSuffix.size())) + std::string(kBmp);
  return true;
}

std::unique_ptr<TSkinDefinition> ScaleDefinition(const TSkinDefinition& model, int dpi, const TPictureSource& entries,
                                                 std::int64_t pixelBudget) {
  try {
    auto m = std::make_unique<TSkinDefinition>();
    m->SkinName = model.SkinName;
    m->Colours = model.Colours;
    m->ExtraColours = model.ExtraColours;
    m->Title = Clone(model.Title);
    for (const auto& button : model.SysButtons) m->SysButtons.push_back(Clone(button));
    m->Buttons = Clone(model.Buttons);
    m->Tabs = Clone(model.Tabs), m->Progress = Clone(model.Progress);
    m->UpDownHorz = Clone(model.UpDownHorz), m->UpDownVert = Clone(model.UpDownVert);
    m->ComboButton = Clone(model.ComboButton);
    m->SunkEdge = Clone(model.SunkEdge), m->ExtraImages = Clone(model.ExtraImages);
    m->GroupBoxEdge = Clone(model.GroupBoxEdge), m->Toolbars = Clone(model.Toolbars);
    m->StatusBarEdges = Clone(model.StatusBarEdges), m->Headerbar = Clone(model.Headerbar);
    m->MenuBar = Clone(model.MenuBar), m->MenuItem = Clone(model.MenuItem);
    m->MenuBackground = Clone(model.MenuBackground);
    m->Scrollbar = Clone(model.Scrollbar), m->HorzScroll = Clone(model.HorzScroll);
    m->VertScroll = Clone(model.VertScroll);
    m->HorzScrollThumb = Clone(model.HorzScrollThumb), m->VertScrollThumb = Clone(model.VertScrollThumb);
    m->TrackbarThumbHorz = Clone(model.TrackbarThumbHorz), m->TrackbarThumbVert = Clone(model.TrackbarThumbVert);
    m->TrackbarThumbLeft = Clone(model.TrackbarThumbLeft), m->TrackbarThumbRight = Clone(model.TrackbarThumbRight);
    m->TrackbarThumbUp = Clone(model.TrackbarThumbUp), m->TrackbarThumbDown = Clone(model.TrackbarThumbDown);
    m->BorderLeft = Clone(model.BorderLeft), m->BorderRight = Clone(model.BorderRight);
    m->BorderTop = Clone(model.BorderTop), m->BorderBottom = Clone(model.BorderBottom);

    TScaler s(dpi, entries, pixelBudget);
    // Side edges hold their frames side by side, the top and bottom ones stacked.
    s.Border(m->BorderLeft.get(), 1);
    s.Border(m->BorderRight.get(), 1);
    s.Border(m->BorderTop.get(), 1, true);
    s.Border(m->BorderBottom.get(), 1, true);
    if (TDataSkinTitle* t = m->Title.get()) {
      s.Object(t, true);
      t->TextBackLeft = s.Length(t->TextBackLeft);
      t->TextBackRight = s.Length(t->TextBackRight);
      t->FontHeight = s.Length(t->FontHeight);
    }
    for (const auto& b : m->SysButtons) {
      s.Object(b.get());
      b->XCoord = s.Length(b->XCoord);
      b->YCoord = s.Length(b->YCoord);
    }
    if (TDataSkinButton* b = m->Buttons.get()) {
      s.Object(b);
      s.Picture(b->CheckImage, b->CheckOrigin, b->CheckFrameCount, false);
      s.Picture(b->RadioImage, b->RadioOrigin, b->RadioFrameCount, false);
    }
    // Second pictures: the tab page frame and the progress chunk are one frame, the
    // up-down glyphs eight, the combo button's mirror as many as the button.
    s.Border(m->Tabs.get(), 1);
    s.Border(m->Progress.get(), 1);
    s.Border(m->UpDownHorz.get(), 8);
    s.Border(m->UpDownVert.get(), 8);
    if (m->ComboButton) s.Border(m->ComboButton.get(), m->ComboButton->FrameCount);
    s.Object(m->MenuBar.get(), true);
    for (TDataSkinObject* o : {m->SunkEdge.get(), m->ExtraImages.get(), m->GroupBoxEdge.get(), m->Toolbars.get(),
                               m->StatusBarEdges.get(), m->Headerbar.get(), m->MenuItem.get(),
                               m->MenuBackground.get(), m->Scrollbar.get(), m->HorzScroll.get(), m->VertScroll.get(),
                               m->HorzScrollThumb.get(), m->VertScrollThumb.get(), m->TrackbarThumbHorz.get(),
                               m->TrackbarThumbVert.get(), m->TrackbarThumbLeft.get(), m->TrackbarThumbRight.get(),
                               m->TrackbarThumbUp.get(), m->TrackbarThumbDown.get()})
      s.Object(o);
    return m;
  } catch (const TOverBudget&) {
  } catch (const std::bad_alloc&) {
  }
  return nullptr;
}

}  // namespace kv
