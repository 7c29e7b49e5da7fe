// The push-button skins on real windows (run under Wine) with the program's own skin: the
// face frame of every state a user can put a button in, read back and compared with the
// frame rendered by the portable painters; the clicks a skinned button reports (exactly
// one per click, none for a press dragged off); glyph frames and places; no handle growth.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/ButtonCtrls.h"
#include "framework/CtrlTestFixture.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "skin/controls/SkinButtons.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"
#include "support/FakeSkinHost.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using test::Pump;

constexpr int kRawId = 1234;
// Caption colours no skin picture uses, so their pixels can only be text.
constexpr TColor kNormalText = 0x2010F0, kHotText = 0x20F010, kPressedText = 0xF01020;
constexpr std::uint32_t kGlyphA = 0x3070B0, kGlyphB = 0xB07030, kGlyphC = 0x50D050, kGlyphKey = 0x00FFFF;

using test::TFakeHost;

// Gives the control a strip of 16 x 16 frames side by side, each solid in its colour but
// for a key-coloured top-left pixel.
template <class T>
void SetGlyphStrip(T& control, const std::vector<std::uint32_t>& colours) {
  TBitmap strip(16 * int(colours.size()), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < strip.Width(); ++x) strip.ScanLine(y)[x] = colours[std::size_t(x / 16)];
  for (std::size_t i = 0; i < colours.size(); ++i) strip.ScanLine(0)[16 * i] = kGlyphKey;
  control.SetGlyph(strip);
}

TPixelBitmap Crop(const TPixelBitmap& from, const Rect& area) {
  TPixelBitmap part(area.Width(), area.Height());
  for (int y = 0; y < area.Height(); ++y)
    for (int x = 0; x < area.Width(); ++x) part.SetPixel(x, y, from.Pixel(area.Left + x, area.Top + y));
  return part;
}

int CountPixels(const TPixelBitmap& bitmap, TColor colour) {
  const std::uint32_t pixel = PixelOf(ColorToRgb(colour));
  return int(std::count(bitmap.Pixels().begin(), bitmap.Pixels().end(), pixel));
}

class SkinButtonsTest : public test::TControlTest {
 protected:
  void SetUp() override {
    TControlTest::SetUp();
    SetExceptionHandler([this] { ++Reported; });
    // The real cursor away from the form: Wine would report it to whatever lies under it.
    test::MoveCursorTo(GetDesktopWindow(), 0, 0, [] { return true; });
    Data = Form->Make<TSkinData>();
    Data->SetMessenger(&Messenger);
    Data->ReadSkinResource(L"KORAVENTSKIN");
    ASSERT_FALSE(Data->NoSkin());
    ASSERT_TRUE(Data->Model().Buttons && !Data->Model().Buttons->Image.Empty());
    Host = Form->Make<TFakeHost>();
    // The first focusable control: buttons start without the focus.
    Focus = Add<TEdit>(200, 200, 60, 20);
  }
  void TearDown() override {
    EXPECT_EQ(Reported, 0) << "an error escaped a skin's handling";
    TControlTest::TearDown();
  }

  const TDataSkinButton& Buttons() const { return *Data->Model().Buttons; }
  std::uint32_t FacePixel() const { return PixelOf(ResolveColor(Data->Model().Colours.ButtonFaceColour)); }

  // Face frame `frame` of the Buttons strip over the face colour, as the skin must draw it.
  TPixelBitmap ExpectedFace(int width, int height, int frame) const {
    TPixelBitmap face(width, height, FacePixel());
    TElementImage image = ElementImage(Buttons());
    image.FFrameCount = 5;
    DrawElement(face, {0, 0, width, height}, image, frame);
    return face;
  }

  void FocusElsewhere() {
    SetFocus(Focus->Handle());
    Pump();
  }

  // Counts BN_CLICKED of the window `button`, posted or sent to its parent.
  void CountClicksAt(HWND parent, HWND button, int& clicks) {
    SubclassWindow(parent, [button, &clicks](TMessage& m, TDefaultProc callDefault) {
      if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == BN_CLICKED && LOWORD(m.WParam) == kRawId &&
          reinterpret_cast<HWND>(m.LParam) == button)
        ++clicks;
      callDefault(m);
    });
  }

  testing::TRecordingMessenger Messenger;
  TSkinData* Data = nullptr;
  TFakeHost* Host = nullptr;
  TEdit* Focus = nullptr;
  TCanvas Canvas;
  int Reported = 0;
};

TEST_F(SkinButtonsTest, PushButtonShowsTheFaceFrameOfEveryState) {
  constexpr int kW = 80, kH = 26;
  // Otherwise the states could not be told apart on the screen.
  for (int a = 1; a <= 4; ++a)
    for (int b = a + 1; b <= 4; ++b)
      ASSERT_FALSE(std::ranges::equal(ExpectedFace(kW, kH, a).Pixels(), ExpectedFace(kW, kH, b).Pixels()))
          << "frames " << a << " and " << b << " look the same";

  TButton* button = Add<TButton>(10, 10, kW, kH);
  ShowForm();
  FocusElsewhere();
  HideFocusCues();  // a mouse user's look: the faces alone
  TSkinButton* skin = Host->Make<TSkinButton>();
  EXPECT_EQ(skin->Kind(), TControlSkinKind::skButton);
  skin->AttachControl(button, Data, false, &Canvas);
  Pump();
  const HWND wnd = button->Handle();
  auto shows = [&](int frame, const std::string& name) {
    Pump();
    return test::PixelsMatch(ExpectedFace(kW, kH, frame), test::CaptureWindow(wnd), name);
  };

  EXPECT_TRUE(shows(1, "normal"));
  button->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(shows(4, "hot"));
  EXPECT_EQ(Host->Hot, skin);
  Post(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_TRUE(shows(2, "pressed"));
  EXPECT_EQ(GetFocus(), wnd) << "a press focuses the button";
  Post(wnd, WM_LBUTTONUP, 5, 5);
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Host->Hot, nullptr);
  EXPECT_TRUE(shows(4, "focused")) << "focus shows the hot frame";
  FocusElsewhere();
  EXPECT_TRUE(shows(1, "unfocused"));

  // Disabled wins over whatever the hot and pressed bits say.
  button->Perform(CM_MOUSEENTER);
  Post(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  FocusElsewhere();
  button->SetEnabled(false);
  EXPECT_TRUE(shows(3, "disabled"));
  button->SetEnabled(true);
  button->Perform(CM_MOUSELEAVE);
  FocusElsewhere();
  EXPECT_TRUE(shows(1, "enabled again"));
}

TEST_F(SkinButtonsTest, CaptionTakesTheStateColourAndTheShadowWhenDisabled) {
  TDataSkinButton& buttons = *Data->Model().Buttons;
  buttons.NormalColour2 = kNormalText;
  buttons.MouseOverColour2 = kHotText;
  buttons.PressedColour2 = kPressedText;
  TButton* button = Add<TButton>(10, 10, 120, 30);
  button->Font().SetHeight(-16);
  button->Font().SetStyle(fsBold);
  button->SetCaption(L"MWMWM");
  ShowForm();
  FocusElsewhere();
  TSkinButton* skin = Host->Make<TSkinButton>();
  skin->AttachControl(button, Data, false, &Canvas);
  const HWND wnd = button->Handle();
  struct TSeen {
    int Normal, Hot, Pressed, Shadow;
  };
  auto seen = [&] {
    Pump();
    const TPixelBitmap shown = test::CaptureWindow(wnd);
    return TSeen{CountPixels(shown, kNormalText), CountPixels(shown, kHotText), CountPixels(shown, kPressedText),
                 CountPixels(shown, clBtnShadow)};
  };
  const int shadowInFace = CountPixels(ExpectedFace(120, 30, 3), clBtnShadow);

  TSeen s = seen();
  EXPECT_GT(s.Normal, 0);
  EXPECT_EQ(s.Hot + s.Pressed, 0);
  button->Perform(CM_MOUSEENTER);
  s = seen();
  EXPECT_GT(s.Hot, 0);
  EXPECT_EQ(s.Normal + s.Pressed, 0);
  Post(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  s = seen();
  EXPECT_GT(s.Pressed, 0);
  EXPECT_EQ(s.Normal + s.Hot, 0);
  button->SetEnabled(false);
  s = seen();
  EXPECT_GT(s.Shadow, shadowInFace);
  EXPECT_EQ(s.Normal + s.Hot + s.Pressed, 0);
}

TEST_F(SkinButtonsTest, FrameworkButtonClicksOncePerClickAndNotWhenDraggedOff) {
  TButton* button = Add<TButton>(10, 10, 80, 26);
  int clicks = 0;
  button->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  FocusElsewhere();
  HideFocusCues();  // a mouse user's look: the faces alone
  TSkinButton* skin = Host->Make<TSkinButton>();
  skin->AttachControl(button, Data, false, &Canvas);
  const HWND wnd = button->Handle();

  Post(wnd, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  EXPECT_EQ(clicks, 0) << "the click comes on button-up";
  EXPECT_NE(GetCapture(), wnd) << "the button itself never saw the press";
  Post(wnd, WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(skin->State() & sbPressed, 0);

  // Double click: down, up, double-click, up are two clicks.
  ClickAt(wnd, 10, 10);
  PostMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  Post(wnd, WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(clicks, 3);

  // Pressed, dragged off (the framework reports the leave), released elsewhere or back.
  Post(wnd, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(skin->State(), 0);
  Post(wnd, WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(clicks, 3);
  // A captured mouse would report the move and release from outside.
  Post(wnd, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  Post(wnd, WM_MOUSEMOVE, -20, -20, MK_LBUTTON);
  Post(wnd, WM_LBUTTONUP, -20, -20);
  Post(wnd, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  Post(wnd, WM_LBUTTONUP, 100, 10);
  EXPECT_EQ(clicks, 3);

  // Space: pressed look while held, one click from the button's own handling.
  SetFocus(wnd);
  PostMessageW(wnd, WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_NE(skin->State() & sbPressed, 0);
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(80, 26, 2), test::CaptureWindow(wnd), "space held"));
  PostMessageW(wnd, WM_KEYUP, VK_SPACE, 0xC0000001);
  Pump();
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(skin->State() & sbPressed, 0);
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(80, 26, 4), test::CaptureWindow(wnd), "space released"));
}

TEST_F(SkinButtonsTest, DialogButtonPostsOneClickedCommandToItsParent) {
  ShowForm();
  FocusElsewhere();
  TWindowHandle raw(CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 60, 90, 28,
                                    Form->Handle(), reinterpret_cast<HMENU>(kRawId), GetModuleHandleW(nullptr),
                                    nullptr));
  const HWND wnd = raw.Get();
  int clicks = 0;
  CountClicksAt(Form->Handle(), wnd, clicks);
  TSkinButton* skin = Host->Make<TSkinButton>();
  skin->AttachWindow(wnd, Data, &Canvas);
  HideFocusCues();  // a mouse user's look: the faces alone
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 1), test::CaptureWindow(wnd), "dialog normal"));

  Post(wnd, WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(Host->Hot, skin) << "the first move makes it hot";
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 4), test::CaptureWindow(wnd), "dialog hot"));

  // Moving on to another button takes the hot look from the first: nobody else tells it.
  TWindowHandle next(CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 100, 90, 28,
                                     Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
  TSkinButton* nextSkin = Host->Make<TSkinButton>();
  nextSkin->AttachWindow(next.Get(), Data, &Canvas);
  Post(next.Get(), WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(Host->Hot, nextSkin);
  EXPECT_EQ(skin->State(), 0);
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 1), test::CaptureWindow(wnd), "dialog left"));
  Post(wnd, WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(Host->Hot, skin);
  EXPECT_EQ(nextSkin->State(), 0);
  Post(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 2), test::CaptureWindow(wnd), "dialog pressed"));
  EXPECT_EQ(clicks, 0);
  Post(wnd, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks, 1);

  // Dragged off: the form skin's timer sends the leave, the release lands elsewhere.
  Post(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  Post(wnd, WM_MOUSEMOVE, 200, 5, MK_LBUTTON);
  SendMessageW(wnd, CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Host->Hot, nullptr);
  Post(wnd, WM_LBUTTONUP, 200, 5);
  Post(wnd, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks, 1);

  // Space: the platform's own click, exactly one.
  SetFocus(wnd);
  Pump();
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 4), test::CaptureWindow(wnd), "dialog focused"));
  PostMessageW(wnd, WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 2), test::CaptureWindow(wnd), "dialog space"));
  PostMessageW(wnd, WM_KEYUP, VK_SPACE, 0xC0000001);
  Pump();
  EXPECT_EQ(clicks, 2);

  EnableWindow(wnd, FALSE);
  Pump();
  EXPECT_TRUE(test::PixelsMatch(ExpectedFace(90, 28, 3), test::CaptureWindow(wnd), "dialog disabled"));
}

TEST_F(SkinButtonsTest, WithoutTheButtonsPictureThePlatformDrawsAndClicks) {
  Data->Model().Buttons->Image = TPixelBitmap();
  TButton* button = Add<TButton>(10, 10, 80, 26);
  int clicks = 0;
  button->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  TSkinButton* skin = Host->Make<TSkinButton>();
  skin->AttachControl(button, Data, false, &Canvas);
  Pump();
  const TPixelBitmap shown = test::CaptureWindow(button->Handle());
  EXPECT_GT(CountPixels(shown, clBtnFace), shown.Width() * shown.Height() / 2) << "the platform drew its face";
  ClickAt(button->Handle(), 10, 10);
  EXPECT_EQ(clicks, 1) << "one click, the platform's";
}

TEST_F(SkinButtonsTest, BitButtonPlacesItsFirstGlyphFrameBesideTheCaption) {
  constexpr int kW = 75, kH = 25;
  TBitBtn* button = Add<TBitBtn>(10, 10, kW, kH);
  SetGlyphStrip(*button, {kGlyphA, kGlyphB});
  ASSERT_EQ(button->NumGlyphs(), 2);
  button->SetLayout(blGlyphLeft);
  button->SetMargin(-1);
  button->SetSpacing(-1);
  button->SetCaption(L"Save");
  ShowForm();
  FocusElsewhere();
  HideFocusCues();  // a mouse user's look: the faces alone
  TSkinBitButton* skin = Host->Make<TSkinBitButton>();
  skin->AttachControl(button, Data, false, &Canvas);
  const HWND wnd = button->Handle();

  // Margin and spacing share the free width in three; both centred vertically.
  SIZE text{};
  {
    const TWindowDc screen = TWindowDc::Screen();
    const TSelectGuard font(screen.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
    RECT r{0, 0, kW, kH};
    DrawTextW(screen.Get(), L"Save", 4, &r, DT_CALCRECT);
    text = {r.right - r.left, r.bottom - r.top};
  }
  const int margin = (kW - 16 - text.cx) / 3;
  const Rect glyph{margin, (kH - 16 + 1) / 2, margin + 16, (kH - 16 + 1) / 2 + 16};
  const Rect edge{kW - 4, 0, kW, kH};  // neither glyph nor text
  auto check = [&](int frame, const std::string& name) {
    Pump();
    const TPixelBitmap shown = test::CaptureWindow(wnd);
    TPixelBitmap expected = ExpectedFace(kW, kH, frame);
    const TPixelBitmap face = expected;
    TransparentBlit(expected, glyph, Crop(PixelsFromBitmap(button->Glyph().Handle()), {0, 0, 16, 16}),
                    ColorOf(kGlyphKey));
    EXPECT_TRUE(test::PixelsMatchAt(Crop(expected, glyph), shown, glyph, name + ".glyph"));
    EXPECT_TRUE(test::PixelsMatchAt(Crop(face, edge), shown, edge, name + ".edge"));
    // The caption starts one spacing right of the glyph.
    const int textLeft = margin + 16 + margin;
    const Rect before{glyph.Right, 0, textLeft, kH};
    EXPECT_TRUE(test::PixelsMatchAt(Crop(face, before), shown, before, name + ".gap"));
  };
  check(1, "bit normal");
  Post(wnd, WM_LBUTTONDOWN, 3, 3, MK_LBUTTON);
  check(2, "bit pressed");
  Post(wnd, WM_LBUTTONUP, 3, 3);
  check(4, "bit focused");
  FocusElsewhere();
  button->SetEnabled(false);
  check(3, "bit disabled");
}

TEST_F(SkinButtonsTest, SpeedButtonMirrorsTheControlsStateAndGlyphFrames) {
  constexpr int kW = 40, kH = 30;
  TSpeedButton* speed = Form->Make<TSpeedButton>();
  speed->SetParent(Form);
  speed->SetBounds(100, 100, kW, kH);
  SetGlyphStrip(*speed, {kGlyphA, kGlyphB, kGlyphC});
  ASSERT_EQ(speed->NumGlyphs(), 3);
  speed->SetGroupIndex(1);
  speed->SetAllowAllUp(true);
  int clicks = 0;
  speed->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  TSkinSpeedButton* skin = Host->Make<TSkinSpeedButton>();
  skin->AttachGraphic(speed, Data, &Canvas);
  EXPECT_EQ(Host->Skins, std::vector<TSkinControl*>{skin});
  speed->Invalidate();

  // Alone, the glyph sits one pixel right of the centre and centred vertically.
  const Rect glyph{(kW - 16) / 2 + 1, (kH - 16 + 1) / 2, (kW - 16) / 2 + 17, (kH - 16 + 1) / 2 + 16};
  const Rect bounds{100, 100, 100 + kW, 100 + kH};
  auto shows = [&](int frame, std::uint32_t glyphColour, const std::string& name) {
    Pump();
    TPixelBitmap expected = ExpectedFace(kW, kH, frame);
    TPixelBitmap glyphPixels(16, 16, glyphColour);
    glyphPixels.SetPixel(0, 0, kGlyphKey);
    TransparentBlit(expected, glyph, glyphPixels, ColorOf(kGlyphKey));
    return test::PixelsMatchAt(expected, test::CaptureClient(Form->Handle()), bounds, name);
  };
  const HWND form = Form->Handle();
  EXPECT_TRUE(shows(1, kGlyphA, "speed normal"));
  speed->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(shows(4, kGlyphA, "speed hot"));
  Post(form, WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
  EXPECT_TRUE(shows(2, kGlyphC, "speed pressed"));
  Post(form, WM_LBUTTONUP, 110, 110);
  EXPECT_EQ(clicks, 1) << "the control's own click";
  EXPECT_TRUE(speed->Down());
  speed->Perform(CM_MOUSELEAVE);
  EXPECT_TRUE(shows(2, kGlyphC, "speed latched"));

  // Down wins over disabled; a disabled button that is up shows the disabled frames.
  speed->SetEnabled(false);
  EXPECT_TRUE(shows(2, kGlyphC, "speed latched disabled"));
  speed->SetDown(false);
  EXPECT_TRUE(shows(3, kGlyphB, "speed disabled"));
  speed->SetEnabled(true);

  // A strip of two frames has no pressed picture: the first one stands in.
  SetGlyphStrip(*speed, {kGlyphA, kGlyphB});
  ASSERT_EQ(speed->NumGlyphs(), 2);
  speed->SetDown(true);
  EXPECT_TRUE(shows(2, kGlyphA, "speed two frames"));
  speed->SetDown(false);

  // Pressed and dragged off: no click, and the up look again.
  Post(form, WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
  speed->Perform(CM_MOUSELEAVE);
  Post(form, WM_LBUTTONUP, 300, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(speed->Down());
  EXPECT_TRUE(shows(1, kGlyphA, "speed dragged off"));

  skin->Detach();
  EXPECT_EQ(speed->HookCount(), 0);
}

// Without the face picture a speed button keeps the control's own painting, as push
// buttons do, rather than vanishing.
TEST_F(SkinButtonsTest, SpeedButtonWithoutTheButtonsPictureShowsTheControlsOwnLook) {
  Data->Model().Buttons->Image = TPixelBitmap();
  TSpeedButton* speed = Form->Make<TSpeedButton>();
  speed->SetParent(Form);
  speed->SetBounds(100, 100, 40, 30);
  speed->SetCaption(L"Go");
  ShowForm();
  Pump();
  const Rect bounds{100, 100, 140, 130};
  const TPixelBitmap own = Crop(test::CaptureClient(Form->Handle()), bounds);
  ASSERT_GT(CountPixels(own, clBtnShadow), 0) << "the control draws its own edges";
  TSkinSpeedButton* skin = Host->Make<TSkinSpeedButton>();
  skin->AttachGraphic(speed, Data, &Canvas);
  speed->Invalidate();
  Pump();
  EXPECT_TRUE(test::PixelsMatchAt(own, test::CaptureClient(Form->Handle()), bounds, "speed unskinned"));
  skin->Detach();
}

TEST_F(SkinButtonsTest, ManyPaintsAndAttachmentsHoldNoHandles) {
  TButton* button = Add<TButton>(10, 10, 80, 26);
  button->SetCaption(L"Paint");
  TBitBtn* bit = Add<TBitBtn>(10, 50, 90, 28);
  SetGlyphStrip(*bit, {kGlyphA, kGlyphB});
  bit->SetCaption(L"Glyph");
  TSpeedButton* speed = Form->Make<TSpeedButton>();
  speed->SetParent(Form);
  speed->SetBounds(120, 10, 40, 30);
  SetGlyphStrip(*speed, {kGlyphA});
  ShowForm();
  TSkinButton* plain = Host->Make<TSkinButton>();
  plain->AttachControl(button, Data, false, &Canvas);
  TSkinBitButton* glyph = Host->Make<TSkinBitButton>();
  glyph->AttachControl(bit, Data, false, &Canvas);
  TSkinSpeedButton* graphic = Host->Make<TSkinSpeedButton>();
  graphic->AttachGraphic(speed, Data, &Canvas);
  auto paintAll = [&] {
    plain->Redraw();
    glyph->PaintSkin(nullptr);
    graphic->PaintSkin(nullptr);
    bit->Perform(CM_MOUSEENTER);
    bit->Perform(CM_MOUSELEAVE);
    speed->Perform(CM_MOUSEENTER);
    speed->Perform(CM_MOUSELEAVE);
  };
  paintAll();  // buffers and the scratch bitmap are made once
  Pump();
  const int hooks = button->HookCount();
  const test::THandleLeakCheck check;
  for (int i = 0; i < 50; ++i) {
    paintAll();
    ClickAt(button->Handle(), 5, 5);
  }
  for (int i = 0; i < 20; ++i) {
    auto* other = Host->Make<TSkinButton>();
    other->AttachControl(button, Data, false, &Canvas);
    other->PaintSkin(nullptr);
    auto* otherSpeed = Host->Make<TSkinSpeedButton>();
    otherSpeed->AttachGraphic(speed, Data, &Canvas);
    otherSpeed->PaintSkin(nullptr);
    Host->DestroyComponent(otherSpeed);
    Host->DestroyComponent(other);
  }
  Pump();
  EXPECT_EQ(button->HookCount(), hooks);
  EXPECT_EQ(speed->HookCount(), 1);
  EXPECT_TRUE(check.NothingLeaked());
}

}  // namespace
}  // namespace kv
