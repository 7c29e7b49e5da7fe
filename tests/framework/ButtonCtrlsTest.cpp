// Radio buttons and their groups, check groups, bit buttons and speed buttons under Wine:
// clicks posted as the mouse sends them, states read back from the windows, pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/ButtonCtrls.h"
#include "framework/StdCtrls.h"
#include "support/PixelCheck.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::StyleOf;
using test::TMessageRecorder;

class ButtonCtrlsTest : public test::TControlTest {};

bool WindowChecked(TWinControl* c) { return SendMessageW(c->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A glyph of `count` frames of 16 x 16: fuchsia ground (the bottom-left pixel), a square
// of its frame's colour in the middle.
void MakeGlyph(TBitmap& glyph, std::initializer_list<std::uint32_t> colors) {
  const int count = static_cast<int>(colors.size());
  glyph.SetSize(16 * count, 16);
  int frame = 0;
  for (std::uint32_t color : colors) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        glyph.ScanLine(y)[frame * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? color : 0xFF00FF;
    ++frame;
  }
}

TEST_F(ButtonCtrlsTest, RadioButtonsOfOneParentAreExclusiveByClickAndByProperty) {
  std::vector<TRadioButton*> radios;
  for (int i = 0; i < 3; ++i) {
    radios.push_back(Add<TRadioButton>(10, 10 + 24 * i, 120, 20));
    radios.back()->SetCaption(L"Choice");
  }
  auto* panel = Add<TPanel>(160, 10, 140, 60);
  auto* elsewhere = Add<TRadioButton>(5, 5, 120, 20, panel);
  elsewhere->SetChecked(true);
  radios[0]->SetChecked(true);  // before any window: applied when it is made
  std::vector<int> clicks(3, 0);
  for (int i = 0; i < 3; ++i)
    radios[static_cast<std::size_t>(i)]->OnClick = [&clicks, i](TComponent*) { ++clicks[static_cast<std::size_t>(i)]; };
  ShowForm();
  EXPECT_TRUE(WindowChecked(radios[0]));
  EXPECT_EQ(StyleOf(radios[0]->Handle()) & 0x0F, BS_AUTORADIOBUTTON);

  TMessageRecorder skin(*radios[2]);
  ClickAt(radios[2]->Handle(), 6, 10);
  ASSERT_TRUE(PumpUntil([&] { return radios[2]->Checked(); }));
  EXPECT_FALSE(WindowChecked(radios[0])) << "the click unchecks the sibling";
  EXPECT_TRUE(elsewhere->Checked()) << "a radio button of another parent is another group";
  EXPECT_EQ(clicks, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(test::CommandCodes(skin), std::vector<int>{BN_CLICKED}) << "reflected once, as 0xBD11";

  radios[1]->SetChecked(true);
  EXPECT_TRUE(WindowChecked(radios[1]));
  EXPECT_FALSE(WindowChecked(radios[2])) << "checking by property unchecks the others too";
  EXPECT_EQ(clicks, (std::vector<int>{0, 0, 1})) << "a program's change is no click";

  // Text on the left takes a new window; the state survives it.
  radios[1]->SetAlignment(taLeftJustify);
  EXPECT_TRUE(StyleOf(radios[1]->Handle()) & BS_LEFTTEXT);
  EXPECT_TRUE(WindowChecked(radios[1]));
}

TEST_F(ButtonCtrlsTest, RadioGroupOwnsItsButtonsAndReportsTheChosenItem) {
  auto* group = Add<TRadioGroup>(10, 10, 220, 120);
  group->SetCaption(L"Size");
  group->SetColumns(2);
  for (const wchar_t* item : {L"Small", L"Medium", L"Large"}) group->Items().Add(item);
  group->SetItemIndex(1);
  int clicks = 0;
  group->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();

  ASSERT_EQ(group->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(group->Buttons(i)->Owner(), group) << "the form's walk must not meet the buttons";
    EXPECT_EQ(group->Buttons(i)->Parent(), group);
    EXPECT_EQ(group->Buttons(i)->Caption(), group->Items()[i]);
    EXPECT_EQ(GetParent(group->Buttons(i)->Handle()), group->Handle());
  }
  EXPECT_EQ(group->ControlCount(), 3);
  // Two columns, filled from the top down: 0 and 1 in the first, 2 in the second.
  EXPECT_EQ(group->Buttons(1)->Left(), group->Buttons(0)->Left());
  EXPECT_GT(group->Buttons(1)->Top(), group->Buttons(0)->Top());
  EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left() + 50);
  EXPECT_TRUE(WindowChecked(group->Buttons(1))) << "ItemIndex set before the windows existed";
  EXPECT_EQ(test::ScreenPixel(group->Handle(), 110, 105), 0x0000FFu) << "its ground in its colour (the form's)";

  ClickAt(group->Buttons(2)->Handle(), 6, 8);
  ASSERT_TRUE(PumpUntil([&] { return group->ItemIndex() == 2; }));
  EXPECT_FALSE(WindowChecked(group->Buttons(1)));
  EXPECT_EQ(clicks, 1);
  ClickAt(group->Buttons(2)->Handle(), 6, 8);
  EXPECT_EQ(clicks, 1) << "clicking the chosen item again changes nothing";

  group->Items().Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), -1) << "the chosen button went with its item";
  EXPECT_EQ(group->ControlCount(), 2);
}

TEST_F(ButtonCtrlsTest, CheckGroupChecksEachItemOnItsOwn) {
  auto* group = Add<TCheckGroup>(10, 10, 200, 100);
  for (const wchar_t* item : {L"Bold", L"Italic", L"Underline"}) group->Items().Add(item);
  std::vector<int> itemClicks;
  int clicks = 0;
  group->OnClick = [&](TComponent*) { ++clicks; };
  group->OnItemClick = [&](TComponent*, int index) { itemClicks.push_back(index); };
  ShowForm();
  EXPECT_EQ(group->Buttons(0)->ClassName(), "TCheckBox");

  ClickAt(group->Buttons(0)->Handle(), 6, 8);
  ClickAt(group->Buttons(2)->Handle(), 6, 8);
  ASSERT_TRUE(PumpUntil([&] { return itemClicks.size() == 2; }));
  EXPECT_TRUE(group->Checked(0));
  EXPECT_FALSE(group->Checked(1));
  EXPECT_TRUE(group->Checked(2));
  EXPECT_EQ(itemClicks, (std::vector<int>{0, 2}));
  EXPECT_EQ(clicks, 2);

  group->SetChecked(1, true);
  EXPECT_TRUE(WindowChecked(group->Buttons(1)));
  group->Items().Add(L"Strike");
  EXPECT_TRUE(group->Checked(0) && group->Checked(1) && group->Checked(2)) << "existing items keep their state";
  EXPECT_FALSE(group->Checked(3));
}

TEST(GlyphPlacement, MarginAndSpacingShareTheFreeSpace) {
  const RECT client{0, 0, 75, 25};
  const SIZE glyph{16, 16}, text{30, 13};
  // Both automatic: the free 29 pixels in three.
  TGlyphPlacement p = PlaceGlyphAndText(client, glyph, text, blGlyphLeft, -1, -1);
  EXPECT_EQ(p.Glyph.x, 9);
  EXPECT_EQ(p.Glyph.y, 5);
  EXPECT_EQ(p.Text.left, 34);
  EXPECT_EQ(p.Text.top, 6);
  EXPECT_EQ(p.TextFormat, UINT(DT_LEFT));
  // Margin automatic, spacing 4: the rest in two.
  p = PlaceGlyphAndText(client, glyph, text, blGlyphRight, -1, 4);
  EXPECT_EQ(p.Glyph.x, 75 - 12 - 16);
  EXPECT_EQ(p.Text.left, p.Glyph.x - 4 - 30);
  EXPECT_EQ(p.TextFormat, UINT(DT_RIGHT));
  // Margin 2, spacing automatic, glyph above the text.
  p = PlaceGlyphAndText(RECT{0, 0, 60, 60}, glyph, text, blGlyphTop, 2, -1);
  EXPECT_EQ(p.Glyph.y, 2);
  EXPECT_EQ(p.Glyph.x, 22);
  EXPECT_EQ(p.Text.top, 2 + 16 + (60 - 18 - 13) / 2);
  // No caption: no spacing, the glyph centred.
  p = PlaceGlyphAndText(client, glyph, SIZE{0, 0}, blGlyphBottom, -1, 4);
  EXPECT_EQ(p.Glyph.y, 25 - (25 - 16) / 2 - 16);
  // Offsets follow the client rectangle.
  p = PlaceGlyphAndText(RECT{10, 20, 85, 45}, glyph, text, blGlyphLeft, -1, -1);
  EXPECT_EQ(p.Glyph.x, 19);
  EXPECT_EQ(p.Glyph.y, 25);
}

TEST_F(ButtonCtrlsTest, BitButtonIsOwnerDrawnWithItsGlyphAndClicksOnce) {
  auto* button = Add<TBitBtn>(10, 10, 75, 25);
  TBitmap glyph;
  MakeGlyph(glyph, {0x00C000, 0x0000C0, 0xC00000});
  button->SetGlyph(glyph);
  int clicks = 0;
  button->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  HWND wnd = button->Handle();
  EXPECT_EQ(button->NumGlyphs(), 3) << "a strip of square glyphs tells its count";
  EXPECT_EQ(StyleOf(wnd) & 0x0F, BS_OWNERDRAW);

  // No caption: the 16-pixel glyph is centred, (29, 5); its ground is transparent.
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, 37, 13) == 0x00C000u; }));
  EXPECT_EQ(test::ScreenPixel(wnd, 30, 6), test::SystemPixel(COLOR_BTNFACE));

  TMessageRecorder skin(*button);
  button->Repaint();
  EXPECT_TRUE(skin.Saw(CN_DRAWITEM)) << "the parent reflects WM_DRAWITEM as 0xBD2B";
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(test::CommandCodes(skin), std::vector<int>{BN_CLICKED});

  // The second frame is the disabled look.
  button->SetEnabled(false);
  button->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 37, 13), 0x0000C0u);
  // A single glyph has no disabled frame: it is embossed in the shadow colour.
  button->SetNumGlyphs(1);
  button->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 37, 13), test::SystemPixel(COLOR_BTNSHADOW));
  button->SetEnabled(true);

  // Enter on a focused bit button presses it, as on any push button.
  button->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return button->Focused(); }));
  PressKey(wnd, VK_RETURN);
  EXPECT_EQ(clicks, 2);

  // Made the default button, it stays ours to draw.
  button->SetDefault(true);
  EXPECT_EQ(StyleOf(wnd) & 0x0F, BS_OWNERDRAW);
  EXPECT_EQ(Form->DefaultButton(), button);

  button->SetKind(bkCancel);
  EXPECT_EQ(button->Caption(), L"Cancel");
  EXPECT_FALSE(button->Glyph().Empty());
  EXPECT_EQ(button->NumGlyphs(), 1);
}

TEST_F(ButtonCtrlsTest, GlyphsAreDrawnAtTheFormsScaleWithTheirGroundKeptTransparent) {
  auto* bit = Add<TBitBtn>(10, 10, 75, 25);
  auto* speed = Add<TSpeedButton>(100, 10, 23, 22);
  TBitmap glyph;
  MakeGlyph(glyph, {0x00C000});
  bit->SetGlyph(glyph);
  MakeGlyph(glyph, {0xC00000});
  speed->SetGlyph(glyph);
  ShowForm();
  // Whole and uneven factors, and back: the glyph's 8-pixel square scales with the form,
  // drawn in its colour alone (never blended with the ground), the ground never showing.
  int from = 96;
  for (const int dpi : {192, 144, 120, 96}) {
    test::SendScaleChange(Form->Handle(), std::exchange(from, dpi), dpi);
    test::Pump();
    bit->Repaint();
    speed->Repaint();
    const TPixelBitmap bitShown = test::CaptureClient(bit->Handle());
    const TPixelBitmap formShown = test::CaptureClient(Form->Handle());
    const struct {
      const char* Kind;
      test::TDrawnSquare Square;
    } drawn[] = {
        {"bit button", test::DrawnSquare(bitShown, bitShown.Bounds(), 0x00C000)},
        {"speed button",
         test::DrawnSquare(
             formShown, {speed->Left(), speed->Top(), speed->Left() + speed->Width(), speed->Top() + speed->Height()},
             0xC00000)},
    };
    for (const auto& [kind, square] : drawn) {
      EXPECT_TRUE(square.Solid) << kind << " at " << dpi;
      EXPECT_FALSE(square.GroundLeaks) << kind << " at " << dpi;
      EXPECT_NEAR(square.Box.Width(), test::Scale(8, dpi), 1) << kind << " at " << dpi;
      EXPECT_NEAR(square.Box.Height(), test::Scale(8, dpi), 1) << kind << " at " << dpi;
    }
  }
  EXPECT_EQ(bit->Glyph().Width(), 16) << "the picture as given stays as it was";
}

TEST_F(ButtonCtrlsTest, SpeedButtonsLatchInTheirGroupByMouse) {
  std::vector<TSpeedButton*> group;
  std::vector<int> clicks(3, 0);
  for (int i = 0; i < 3; ++i) {
    group.push_back(Add<TSpeedButton>(10 + 30 * i, 10, 25, 25));
    group.back()->SetGroupIndex(1);
    group.back()->OnClick = [&clicks, i](TComponent*) { ++clicks[static_cast<std::size_t>(i)]; };
  }
  auto* single = Add<TSpeedButton>(10, 50, 25, 25);
  int singleClicks = 0;
  single->OnClick = [&](TComponent*) { ++singleClicks; };
  ShowForm();
  HWND wnd = Form->Handle();

  ClickAt(wnd, 20, 20);
  EXPECT_TRUE(group[0]->Down());
  EXPECT_EQ(clicks, (std::vector<int>{1, 0, 0}));
  ClickAt(wnd, 50, 20);
  EXPECT_TRUE(group[1]->Down());
  EXPECT_FALSE(group[0]->Down()) << "one latched button per group";
  ClickAt(wnd, 50, 20);
  EXPECT_TRUE(group[1]->Down()) << "without AllowAllUp the down button stays down";
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
  group[0]->SetAllowAllUp(true);
  EXPECT_TRUE(group[1]->AllowAllUp()) << "AllowAllUp is the whole group's";
  ClickAt(wnd, 50, 20);
  EXPECT_FALSE(group[1]->Down());

  // Pushed while held, up again after, clicked once; released outside: no click.
  Post(wnd, WM_LBUTTONDOWN, 20, 60, MK_LBUTTON);
  EXPECT_EQ(single->State(), bsDown);
  Post(wnd, WM_LBUTTONUP, 20, 60);
  EXPECT_EQ(single->State(), bsUp);
  EXPECT_FALSE(single->Down()) << "an ungrouped button does not latch";
  Post(wnd, WM_LBUTTONDOWN, 20, 60, MK_LBUTTON);
  Post(wnd, WM_MOUSEMOVE, 200, 200, MK_LBUTTON);
  EXPECT_EQ(single->State(), bsUp) << "dragged off, it shows up";
  Post(wnd, WM_LBUTTONUP, 200, 200);
  EXPECT_EQ(singleClicks, 1);

  single->SetEnabled(false);
  ClickAt(wnd, 20, 60);
  EXPECT_EQ(singleClicks, 1) << "a disabled button takes no clicks";
  EXPECT_EQ(single->State(), bsDisabled);
}

TEST_F(ButtonCtrlsTest, SpeedButtonsPaintThroughTheHookChainWithGlyphAndFlatLook) {
  auto* plain = Add<TSpeedButton>(10, 10, 30, 30);
  plain->SetGroupIndex(1);
  auto* flat = Add<TSpeedButton>(50, 10, 30, 30);
  flat->SetFlat(true);
  auto* glyphed = Add<TSpeedButton>(90, 10, 30, 30);
  TBitmap glyph;
  MakeGlyph(glyph, {0x00C000, 0x808080, 0xC00000, 0xC0C000});
  glyphed->SetGlyph(glyph);
  glyphed->SetGroupIndex(2);
  ShowForm();
  HWND wnd = Form->Handle();
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, 25, 25) == test::SystemPixel(COLOR_BTNFACE); }));
  EXPECT_EQ(test::ScreenPixel(wnd, 65, 25), 0x0000FFu) << "a flat button lets the form's blue through";
  // The glyph is centred: (7, 7) in the button, its middle square at 11..18.
  EXPECT_EQ(test::ScreenPixel(wnd, 90 + 15, 25), 0x00C000u);

  plain->SetDown(true);
  glyphed->SetDown(true);
  Form->Update();
  EXPECT_EQ(test::ScreenPixel(wnd, 25, 25), test::SystemPixel(COLOR_BTNHIGHLIGHT)) << "latched down";
  EXPECT_EQ(test::ScreenPixel(wnd, 90 + 16, 26), 0xC0C000u) << "the fourth frame, moved by the pushed look";

  // A skin paints a window-less button by taking its WM_PAINT (the parent's DC in WParam).
  TMessageRecorder skin(*plain);
  skin.Swallow(WM_PAINT);
  plain->Invalidate();
  Form->Update();
  ASSERT_TRUE(skin.Saw(WM_PAINT));
  for (const TMessage& m : skin.Seen()) {
    if (m.Msg == WM_PAINT) {
      EXPECT_NE(m.WParam, 0u);
    }
  }
}

TEST_F(ButtonCtrlsTest, PublishedPropertiesOfButtonsAreReachableByName) {
  RegisterStandardProperties();
  auto* radio = Add<TRadioButton>(10, 10, 100, 20);
  auto* speed = Add<TSpeedButton>(10, 40, 25, 25);
  auto* bit = Add<TBitBtn>(10, 80, 75, 25);
  ShowForm();
  EXPECT_TRUE(SetPropertyByName(*radio, "Checked", "True"));
  EXPECT_TRUE(WindowChecked(radio));
  EXPECT_EQ(GetPropertyText(*radio, "Checked"), "True");
  EXPECT_TRUE(SetPropertyByName(*speed, "Flat", "True"));
  EXPECT_TRUE(speed->Flat());
  EXPECT_FALSE(SetPropertyByName(*speed, "Transparent", "True")) << "not a property of speed buttons";
  EXPECT_TRUE(SetPropertyByName(*bit, "Layout", "blGlyphTop"));
  EXPECT_EQ(bit->Layout(), blGlyphTop);
  EXPECT_EQ(GetPropertyText(*bit, "Default"), "False") << "a bit button is a button";
}

}  // namespace
}  // namespace kv
