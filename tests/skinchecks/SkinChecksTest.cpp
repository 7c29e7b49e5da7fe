// Check boxes and radio buttons with their marks from the skin, on framework controls and
// bare dialog buttons under Wine: the mark of each state read back and compared with the
// frame it should show over the face, at the place the cell size gives, and everything
// else left as the platform painted it.
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinTestFixture.h"
#include "framework/ButtonCtrls.h"
#include "skin/controls/SkinChecks.h"
#include "support/HandleCount.h"

namespace kv {
namespace {

using test::CaptureClient;
using test::PixelsMatchAt;

// Unchecked, checked, disabled, disabled checked (or indeterminate).
const std::vector<std::uint32_t> kCheckColours{0x2040C0, 0x20C040, 0x808080, 0x404040};
const std::vector<std::uint32_t> kRadioColours{0xC02020, 0xC0C020, 0xA0A0A0, 0x303030};

class SkinChecksTest : public test::TSkinnedFormTest {
 protected:
  // Check and radio strips of 4 cells of `cell` x `cell`.
  void UseStrips(int cell) {
    TDataSkinButton& buttons = *Model().Buttons;
    buttons.CheckImage = test::CellStrip(4, cell, cell, kCheckColours);
    buttons.CheckFrameCount = 4;
    buttons.RadioImage = test::CellStrip(4, cell, cell, kRadioColours);
    buttons.RadioFrameCount = 4;
    Cell = cell;
  }
  // Frame `frame` of the strip over the face, as the window should show it at `mark`.
  ::testing::AssertionResult ShowsFrame(HWND wnd, const TPixelBitmap& strip, int frame, const RECT& mark,
                                        const std::string& name) {
    const TPixelBitmap expected = test::OverFace(RenderFrameStretched(Cell, Cell, strip, 4, frame), Face());
    return PixelsMatchAt(expected, CaptureClient(wnd), {mark.left, mark.top, mark.right, mark.bottom}, name);
  }
  RECT LeftMark(HWND wnd) {
    RECT r;
    GetClientRect(wnd, &r);
    return CheckMarkRect(r, Cell, Cell, false);
  }

  int Cell = 13;
};

TEST_F(SkinChecksTest, MarkRectangleFollowsTheCellSizeAndTheTextSide) {
  const RECT box{0, 0, 97, 17};
  const RECT small = CheckMarkRect(box, 13, 13, false);
  EXPECT_EQ(small.top, 2);   // (17 - 13) div 2
  EXPECT_EQ(small.left, 0);  // (14 - 13) div 2
  EXPECT_EQ(small.right, 13);
  const RECT tiny = CheckMarkRect(box, 10, 10, true);
  EXPECT_EQ(tiny.right, 95);  // centred in the 14-pixel column at the right edge
  EXPECT_EQ(tiny.left, 85);
  const RECT wide = CheckMarkRect(box, 16, 16, true);
  EXPECT_EQ(wide.right, 96) << "a wide cell ends one pixel before the right edge";
  EXPECT_EQ(CheckMarkRect(box, 16, 16, false).left, 0);
}

TEST_F(SkinChecksTest, BareCheckBoxShowsTheFrameOfEveryState) {
  UseStrips(13);
  ShowForm();
  TWindowHandle two = Child(L"BUTTON", L"Two state", BS_AUTOCHECKBOX, 10, 10, 120, 17);
  TWindowHandle three = Child(L"BUTTON", L"Three state", BS_AUTO3STATE, 10, 40, 120, 17);
  auto* skin = Host->Make<TSkinCheckBox>();
  skin->AttachWindow(two.Get(), Data, &Canvas);
  auto* skin3 = Host->Make<TSkinCheckBox>();
  skin3->AttachWindow(three.Get(), Data, &Canvas);
  EXPECT_EQ(skin->Kind(), TControlSkinKind::skCheckBox);
  test::Pump();
  const TPixelBitmap& strip = Model().Buttons->CheckImage;
  const RECT mark = LeftMark(two.Get());
  EXPECT_TRUE(ShowsFrame(two.Get(), strip, 1, mark, "check-unchecked"));

  // No pumping: BM_SETCHECK repaints the mark at once.
  SendMessageW(two.Get(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(ShowsFrame(two.Get(), strip, 2, mark, "check-checked"));
  EnableWindow(two.Get(), FALSE);
  test::Pump();
  EXPECT_TRUE(ShowsFrame(two.Get(), strip, 4, mark, "check-disabled-checked"));
  SendMessageW(two.Get(), BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_TRUE(ShowsFrame(two.Get(), strip, 3, mark, "check-disabled"));

  SendMessageW(three.Get(), BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_TRUE(ShowsFrame(three.Get(), strip, 4, mark, "check-indeterminate")) << "frame 4 though enabled";
}

TEST_F(SkinChecksTest, ClickTogglesOnceAndTheMarkFollows) {
  UseStrips(13);
  TCheckBox* box = Add<TCheckBox>(10, 10, 120, 17);
  box->SetCaption(L"Framework");
  int clicks = 0;
  box->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  auto* skin = Host->Make<TSkinCheckBox>();
  skin->AttachControl(box, Data, false, &Canvas);
  EXPECT_EQ(Host->Skins.size(), 1u);
  test::Pump();
  const HWND wnd = box->Handle();
  const TPixelBitmap& strip = Model().Buttons->CheckImage;
  const RECT mark = LeftMark(wnd);
  EXPECT_TRUE(ShowsFrame(wnd, strip, 1, mark, "fw-unchecked"));

  ClickAt(wnd, 60, 8);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(ShowsFrame(wnd, strip, 2, mark, "fw-clicked"));
  ClickAt(wnd, 60, 8);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box->Checked());
  EXPECT_TRUE(ShowsFrame(wnd, strip, 1, mark, "fw-clicked-twice"));

  box->SetChecked(true);
  box->SetEnabled(false);
  test::Pump();
  EXPECT_TRUE(ShowsFrame(wnd, strip, 4, mark, "fw-disabled-checked"));
}

TEST_F(SkinChecksTest, TheTextAndEverythingOutsideTheMarkStayAsThePlatformPaintedThem) {
  UseStrips(13);
  ShowForm();
  TWindowHandle plain = Child(L"BUTTON", L"Same text", BS_AUTOCHECKBOX, 10, 10, 120, 17);
  TWindowHandle skinned = Child(L"BUTTON", L"Same text", BS_AUTOCHECKBOX, 10, 40, 120, 17);
  auto* skin = Host->Make<TSkinCheckBox>();
  skin->AttachWindow(skinned.Get(), Data, &Canvas);
  RedrawWindow(skinned.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  test::Pump();
  const TPixelBitmap platform = CaptureClient(plain.Get());
  const TPixelBitmap shown = CaptureClient(skinned.Get());
  const Rect text{14, 0, platform.Width(), platform.Height()};
  TPixelBitmap expected(text.Width(), text.Height());
  CopyPixels(expected, 0, 0, platform, text);
  EXPECT_TRUE(PixelsMatchAt(expected, shown, text, "check-text"));
  EXPECT_TRUE(std::any_of(expected.Pixels().begin(), expected.Pixels().end(), [&](std::uint32_t p) {
    return p != expected.Pixel(expected.Width() - 1, 0);
  })) << "the text is there to compare";

  // Without a check strip the platform's look stays whole.
  Model().Buttons->CheckImage = TPixelBitmap();
  RedrawWindow(skinned.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  test::Pump();
  EXPECT_TRUE(test::PixelsMatch(platform, CaptureClient(skinned.Get()), "check-unskinned"));
}

TEST_F(SkinChecksTest, WideCellsAndBoxesOnTheRightSitAtTheEdge) {
  UseStrips(16);
  ShowForm();
  TWindowHandle right = Child(L"BUTTON", L"Left text", BS_AUTOCHECKBOX | BS_LEFTTEXT, 10, 10, 120, 20);
  auto* skin = Host->Make<TSkinCheckBox>();
  skin->AttachWindow(right.Get(), Data, &Canvas);
  SendMessageW(right.Get(), BM_SETCHECK, BST_CHECKED, 0);
  const RECT mark{120 - 1 - 16, 2, 120 - 1, 18};
  EXPECT_TRUE(ShowsFrame(right.Get(), Model().Buttons->CheckImage, 2, mark, "check-right-wide"));

  TRadioButton* radio = Add<TRadioButton>(10, 40, 120, 20);
  radio->SetCaption(L"Radio left text");
  radio->SetAlignment(taLeftJustify);
  auto* radioSkin = Host->Make<TSkinRadioButton>();
  radioSkin->AttachControl(radio, Data, false, &Canvas);
  radio->SetChecked(true);
  test::Pump();
  EXPECT_TRUE(ShowsFrame(radio->Handle(), Model().Buttons->RadioImage, 2, mark, "radio-right-wide"));
}

TEST_F(SkinChecksTest, RadioButtonsShowTheirFramesAndAClickMovesTheCheck) {
  UseStrips(13);
  ShowForm();
  TWindowHandle first = Child(L"BUTTON", L"First", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 120, 17);
  TWindowHandle second = Child(L"BUTTON", L"Second", BS_AUTORADIOBUTTON, 10, 40, 120, 17);
  for (HWND wnd : {first.Get(), second.Get()}) Host->Make<TSkinRadioButton>()->AttachWindow(wnd, Data, &Canvas);
  SendMessageW(first.Get(), BM_SETCHECK, BST_CHECKED, 0);
  test::Pump();
  const TPixelBitmap& strip = Model().Buttons->RadioImage;
  const RECT mark = LeftMark(first.Get());
  EXPECT_TRUE(ShowsFrame(first.Get(), strip, 2, mark, "radio-checked"));
  EXPECT_TRUE(ShowsFrame(second.Get(), strip, 1, mark, "radio-unchecked"));

  ClickAt(second.Get(), 60, 8);
  EXPECT_EQ(SendMessageW(second.Get(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(first.Get(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(ShowsFrame(second.Get(), strip, 2, mark, "radio-clicked"));
  EXPECT_TRUE(ShowsFrame(first.Get(), strip, 1, mark, "radio-released"));
  ClickAt(second.Get(), 60, 8);
  EXPECT_EQ(SendMessageW(second.Get(), BM_GETCHECK, 0, 0), BST_CHECKED) << "a radio button does not toggle off";

  EnableWindow(first.Get(), FALSE);
  EnableWindow(second.Get(), FALSE);
  test::Pump();
  EXPECT_TRUE(ShowsFrame(first.Get(), strip, 3, mark, "radio-disabled"));
  EXPECT_TRUE(ShowsFrame(second.Get(), strip, 4, mark, "radio-disabled-checked"));
}

TEST_F(SkinChecksTest, TheProgramSkinsMarksAreDrawnAtTheirCellSize) {
  Data->ReadSkinResource(L"KORAVENTSKIN");
  ASSERT_FALSE(Data->NoSkin());
  const TDataSkinButton& buttons = *Model().Buttons;
  ASSERT_FALSE(buttons.CheckImage.Empty());
  ShowForm();
  TWindowHandle box = Child(L"BUTTON", L"Program skin", BS_AUTOCHECKBOX, 10, 10, 120, 17);
  Host->Make<TSkinCheckBox>()->AttachWindow(box.Get(), Data, &Canvas);
  SendMessageW(box.Get(), BM_SETCHECK, BST_CHECKED, 0);
  const int n = buttons.CheckFrameCount, w = buttons.CheckImage.Width() / n, h = buttons.CheckImage.Height();
  const RECT mark = CheckMarkRect({0, 0, 120, 17}, w, h, false);
  TPixelBitmap expected(w, h, Face());
  DrawFrameStretched(expected, expected.Bounds(), buttons.CheckImage, TDrawFlags::dfTransparent, n, 2);
  EXPECT_TRUE(PixelsMatchAt(expected, CaptureClient(box.Get()), {mark.left, mark.top, mark.right, mark.bottom},
                            "program-checked"));
}

TEST_F(SkinChecksTest, TogglingAndRepaintingHoldNoHandles) {
  UseStrips(13);
  ShowForm();
  TWindowHandle box = Child(L"BUTTON", L"Leaks", BS_AUTOCHECKBOX, 10, 10, 120, 17);
  TWindowHandle radio = Child(L"BUTTON", L"Leaks", BS_AUTORADIOBUTTON, 10, 40, 120, 17);
  Host->Make<TSkinCheckBox>()->AttachWindow(box.Get(), Data, &Canvas);
  Host->Make<TSkinRadioButton>()->AttachWindow(radio.Get(), Data, &Canvas);
  int clicks = 0;
  EXPECT_TRUE(test::NoLeakOver(40, [&] {
    ClickAt(box.Get(), 60, 8);
    SendMessageW(radio.Get(), BM_SETCHECK, clicks++ % 2, 0);
  }));
  EXPECT_EQ(SendMessageW(box.Get(), BM_GETCHECK, 0, 0), BST_CHECKED) << "41 clicks, each one toggle";
}

}  // namespace
}  // namespace kv
