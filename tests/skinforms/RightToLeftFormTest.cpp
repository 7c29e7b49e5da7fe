// Right-to-left forms, read back as the screen shows them. A form the system mirrors
// (WS_EX_LAYOUTRTL) shows the mirror image of the left-to-right frame, its texts reading
// the right way, and answers hit tests where things are drawn; a form with only the
// right-to-left bit 0x4000 keeps the left-to-right frame with its caption text at the
// right and its menu bar's items from the right.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SkinFormFixture.h"
#include "framework/Menus.h"
#include "skin/data/SkinDefinition.h"
#include "skin/gdi/SkinGdi.h"
#include "support/PixelCheck.h"

namespace kv::test {
namespace {

// A form made with extra extended styles.
class TStyledForm : public TForm {
 public:
  DWORD ExtraExStyle = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TForm::CreateParams(params);
    params.ExStyle |= ExtraExStyle;
  }
};

enum TTextPlace {
  tpSkin,     // where the skin puts it: its text shift from the left
  tpRight,    // right-aligned at the skin's right clip
  tpMirrored  // the mirror image of the left-to-right place
};

struct TDirectionCase {
  const char* Name;
  DWORD ExStyle;
  bool Mirrored;  // the screen shows the left-to-right frame mirrored
  TTextPlace Text;
  bool BarFromRight;
};

const TDirectionCase kDirections[] = {
    {"left to right", 0, false, tpSkin, false},
    {"right-to-left bit 0x4000", WS_EX_LEFTSCROLLBAR, false, tpRight, true},
    {"mirrored by the system", WS_EX_LAYOUTRTL, true, tpMirrored, true},
};

constexpr wchar_t kCaption[] = L"Skinned";

// The system fonts the frame writes in.
TFontHandle NonClientFont(bool menu) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return TFontHandle(CreateFontIndirectW(menu ? &metrics.lfMenuFont : &metrics.lfCaptionFont));
}

// The runs of ink columns, split where at least `gap` columns stay empty (positions
// relative to the measured area's left).
std::vector<std::pair<int, int>> InkRuns(const TInkColumns& ink, int gap) {
  std::vector<std::pair<int, int>> runs;
  int empty = gap;
  for (int x = 0; x < int(ink.Counts.size()); ++x) {
    if (ink.Counts[std::size_t(x)] == 0) {
      ++empty;
      continue;
    }
    if (empty >= gap || runs.empty())
      runs.push_back({x, x});
    else
      runs.back().second = x;
    empty = 0;
  }
  return runs;
}

// The ground a text in `zone` is written on: the median colour of its middle row.
std::uint32_t GroundOf(const TPixelBitmap& picture, const Rect& zone) {
  std::vector<std::uint32_t> row;
  const int y = (zone.Top + zone.Bottom) / 2;
  for (int x = zone.Left; x < zone.Right; ++x) row.push_back(picture.Pixel(x, y));
  std::nth_element(row.begin(), row.begin() + std::ptrdiff_t(row.size() / 2), row.end());
  return row[row.size() / 2];
}

// `shown` reads as `reference` does, not back to front.
::testing::AssertionResult ReadsForwards(const TInkColumns& shown, const TInkColumns& reference) {
  const int forwards = InkDistance(shown, reference, false), backwards = InkDistance(shown, reference, true);
  // The two are drawn on different grounds, so their strokes differ a little; back to
  // front they differ far more.
  if (std::abs(shown.Width() - reference.Width()) <= 1 && forwards * 2 < backwards && forwards * 2 <= reference.Total())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "ink " << shown.Width() << " columns wide, the text " << reference.Width()
                                       << "; stroke distance forwards " << forwards << ", backwards " << backwards
                                       << ", of " << reference.Total() << " ink pixels";
}

class RightToLeftFormTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
  }

  TStyledForm* MakeStyledForm(DWORD exStyle) {
    auto* form = App->CreateForm<TStyledForm>();
    form->ExtraExStyle = exStyle;
    form->SetBorderStyle(bsSizeable);
    form->SetPosition(poDesktopCenter);
    form->SetClientSize(320, 200);
    form->SetCaption(kCaption);
    return form;
  }

  // A small icon of one colour for `form`, so that the icon button shows something.
  void GiveIcon(TForm* form) {
    Icon = GreenSmallIcon();
    form->HandleNeeded();
    SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon.Get()));
  }

  // The caption button of that action, shown.
  TWinSysButton* ButtonOf(TWinSkinForm& skin, int action) const {
    const auto& records = Data->Model().SysButtons;
    for (TWinSysButton* button : skin.Buttons())
      if (button->Visible && records[button->Index()]->Action == action) return button;
    ADD_FAILURE() << "no caption button of action " << action << " shows";
    return nullptr;
  }

  // A frame rectangle (window coordinates) where the screen shows it.
  static RECT OnScreen(const RECT& frame, int width, bool mirrored) {
    if (!mirrored) return frame;
    return {width - frame.right, frame.top, width - frame.left, frame.bottom};
  }

  TSkinData* Data = nullptr;
  TIconHandle Icon;
};

TEST_F(RightToLeftFormTest, TheCaptionReadsRightWhereverItGoesAndHitsFollowTheDrawing) {
  const TFontHandle captionFont = NonClientFont(false);
  const std::uint32_t textColour = PixelOf(ResolveColor(Data->Model().Colours.TitleTextActiveColour));
  const TDataSkinTitle& title = *Data->Model().Title;
  TPixelBitmap leftToRight;                    // the first case's frame
  std::pair<int, int> leftToRightInk{-1, -1};  // its caption's first and last ink columns
  for (const TDirectionCase& c : kDirections) {
    SCOPED_TRACE(c.Name);
    TStyledForm* form = MakeStyledForm(c.ExStyle);
    GiveIcon(form);
    TWinSkinForm* skin = ShowSkinned(form);
    ASSERT_NE(skin, nullptr);
    const HWND window = form->Handle();
    const RECT w = WindowRect(window);
    const int width = w.right - w.left;
    const Margins b = skin->Borders();
    TWinSysButton* close = ButtonOf(*skin, 0);
    TWinSysButton* icon = ButtonOf(*skin, 3);
    ASSERT_TRUE(close && icon);
    const RECT closeShown = OnScreen(close->Bounds, width, c.Mirrored);
    const RECT iconShown = OnScreen(icon->Bounds, width, c.Mirrored);
    const TPixelBitmap shown = CaptureWindowShown(window);
    ASSERT_EQ(shown.Width(), width);

    // Buttons: close the outermost on its side, the icon at the other end.
    int leftmost = width, rightmost = 0;
    for (TWinSysButton* button : skin->Buttons()) {
      if (!button->Visible || button == icon || Data->Model().SysButtons[button->Index()]->Visibility == 100) continue;
      const RECT r = OnScreen(button->Bounds, width, c.Mirrored);
      leftmost = std::min(leftmost, int(r.left));
      rightmost = std::max(rightmost, int(r.right));
    }
    if (c.Mirrored) {
      EXPECT_EQ(closeShown.left, leftmost) << "close first at the left";
      EXPECT_GT(iconShown.left, width / 2) << "the icon at the right end";
    } else {
      EXPECT_EQ(closeShown.right, rightmost) << "close last at the right";
      EXPECT_LT(iconShown.right, width / 2) << "the icon at the left end";
    }

    // The caption's ink: between the icon and the other buttons, reading forwards.
    const Rect zone = c.Mirrored ? Rect{rightmost, 2, int(iconShown.left), b.Top - 2}
                                 : Rect{int(iconShown.right), 2, leftmost, b.Top - 2};
    const TInkColumns ink = InkColumns(shown, zone, textColour);
    ASSERT_GT(ink.Width(), 0) << "no caption ink";
    const TInkColumns reference = ReferenceInk(kCaption, captionFont.Get(), textColour, GroundOf(shown, zone));
    EXPECT_TRUE(ReadsForwards(ink, reference));
    const int inkFirst = zone.Left + ink.First, inkLast = zone.Left + ink.Last;
    switch (c.Text) {
      case tpSkin:
        EXPECT_GE(inkFirst, b.Left + title.LeftWidth);
        EXPECT_LT(inkLast, width / 2);
        leftToRightInk = {inkFirst, inkLast};
        break;
      case tpRight: EXPECT_NEAR(inkLast, width - b.Right - title.RightWidth, 3) << "right-aligned"; break;
      case tpMirrored:
        ASSERT_GE(leftToRightInk.first, 0);
        EXPECT_NEAR(inkLast, width - 1 - leftToRightInk.first, 2) << "where the mirror image puts it";
        break;
    }

    // Everything but the caption text is the left-to-right frame, mirrored or not.
    if (leftToRight.Empty()) {
      leftToRight = shown;
    } else {
      ASSERT_EQ(leftToRight.Width(), width);
      ASSERT_EQ(leftToRight.Height(), shown.Height());
      TPixelBitmap expected(width, shown.Height());
      for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < width; ++x) expected.SetPixel(x, y, leftToRight.Pixel(c.Mirrored ? width - 1 - x : x, y));
      // The caption text's columns, here and where the left-to-right text lies in the
      // expected picture, are taken from what is shown.
      const int otherFirst = c.Mirrored ? width - 1 - leftToRightInk.second : leftToRightInk.first;
      const int otherLast = c.Mirrored ? width - 1 - leftToRightInk.first : leftToRightInk.second;
      for (int y = 0; y < b.Top; ++y)
        for (int x = std::max(std::min(inkFirst, otherFirst) - 2, 0);
             x < std::min(std::max(inkLast, otherLast) + 3, width); ++x)
          expected.SetPixel(x, y, shown.Pixel(x, y));
      EXPECT_TRUE(PixelsMatch(expected, shown, std::string("frame-") + std::to_string(c.ExStyle), 8));
    }

    // The mouse finds the button the screen shows there.
    const auto hover = [&](const RECT& r) {
      const LPARAM at = MAKELPARAM(w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2);
      SendMessageW(window, WM_NCMOUSEMOVE, SendMessageW(window, WM_NCHITTEST, 0, at), at);
      return skin->CurrentObject();
    };
    EXPECT_EQ(hover(closeShown), close);
    EXPECT_EQ(hover(iconShown), icon);
    form->Close();
    Pump();
  }
}

TEST_F(RightToLeftFormTest, TheMenuBarStartsAtTheRightWhenTheFormReadsFromTheRight) {
  const TFontHandle menuFont = NonClientFont(true);
  const std::wstring first = L"Firstitem", second = L"Go";
  const std::uint32_t textColour = PixelOf(ResolveColor(Data->Model().Colours.MenuBarTextColour));
  for (const TDirectionCase& c : kDirections) {
    SCOPED_TRACE(c.Name);
    TStyledForm* form = MakeStyledForm(c.ExStyle);
    auto* menu = form->Make<TMainMenu>();
    menu->Items()->Add(first)->Add(L"Open");
    menu->Items()->Add(second)->Add(L"Back");
    form->SetMenu(menu);
    TWinSkinForm* skin = ShowSkinned(form);
    ASSERT_NE(skin, nullptr);
    ASSERT_GT(skin->MenuBarHeight(), 0);
    const Margins b = skin->Borders();
    const TPixelBitmap shown = CaptureWindowShown(form->Handle());
    const Rect bar{b.Left, b.Top, shown.Width() - b.Right, b.Top + skin->MenuBarHeight()};
    const TInkColumns ink = InkColumns(shown, bar, textColour);
    const TInkColumns reference = ReferenceInk(first, menuFont.Get(), textColour, GroundOf(shown, bar));
    const auto runs = InkRuns(ink, 6);
    ASSERT_EQ(runs.size(), 2u) << "two captions";
    // The first item's caption is the wider run.
    const bool firstIsLeft = runs[0].second - runs[0].first > runs[1].second - runs[1].first;
    const auto& firstRun = firstIsLeft ? runs[0] : runs[1];
    EXPECT_EQ(!firstIsLeft, c.BarFromRight) << "the first item's caption lies " << (firstIsLeft ? "left" : "right");
    if (c.BarFromRight) {
      EXPECT_GT(firstRun.first, bar.Width() / 2);
    }
    TInkColumns firstInk;
    firstInk.Counts.assign(ink.Counts.begin() + firstRun.first, ink.Counts.begin() + firstRun.second + 1);
    firstInk.First = 0;
    firstInk.Last = firstRun.second - firstRun.first;
    EXPECT_TRUE(ReadsForwards(firstInk, reference));
    form->Close();
    Pump();
  }
}

}  // namespace
}  // namespace kv::test
