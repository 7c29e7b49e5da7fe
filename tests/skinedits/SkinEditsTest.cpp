// Edit and combo-box skins on real windows (run under Wine): what each state shows, read
// back from the window's DC and compared with the skin frames rendered by the portable
// painters; the edit's frame, its printing and its spin button; the combo box's button.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "framework/CtrlTestFixture.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinEdits.h"
#include "skin/core/SkinData.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinPacker.h"
#include "skin/gdi/SkinGdi.h"
#include "support/FakeSkinHost.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using test::Pump;

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kShadow = 0x8040C0;  // "ButtonShadow=128 64 192"
constexpr std::uint32_t kEdge[4] = {0x101010, 0x202020, 0x303030, 0x404040};
constexpr std::uint32_t kEdgeCentre[4] = {0x111111, 0x212121, 0x313131, 0x414141};
constexpr std::uint32_t kButton[4] = {0xC00000, 0x00C000, 0x0000C0, 0xC0C000};
constexpr std::uint32_t kButtonLeftColumn[4] = {0x600000, 0x006000, 0x000060, 0x606000};
constexpr std::uint32_t kArrow[5] = {0xE01010, 0x10E010, 0x1010E0, 0xE0E010, 0x10E0E0};
constexpr int kArrowW = 7, kArrowH = 4;

// Four 6 x 6 frames: a two-pixel ring round a centre, each frame its own colours.
TPixelBitmap SunkEdgeStrip() {
  TPixelBitmap strip(24, 6);
  for (int i = 0; i < 4; ++i) {
    strip.FillRect({i * 6, 0, i * 6 + 6, 6}, kEdge[i]);
    strip.FillRect({i * 6 + 2, 2, i * 6 + 4, 4}, kEdgeCentre[i]);
  }
  return strip;
}

// Frames exactly as large as the button they fill (nothing is resampled), with a darker
// left column to tell the mirrored strip apart and a magenta corner to be left out.
TPixelBitmap ComboButtonStrip(int w, int h) {
  TPixelBitmap strip(4 * w, h);
  for (int i = 0; i < 4; ++i) {
    strip.FillRect({i * w, 0, i * w + w, h}, kButton[i]);
    strip.FillRect({i * w, 0, i * w + 1, h}, kButtonLeftColumn[i]);
    strip.FillRect({i * w + w - 3, 0, i * w + w, 3}, kMagenta);
  }
  return strip;
}

TPixelBitmap ArrowStrip() {
  TPixelBitmap strip(5 * kArrowW, kArrowH, kMagenta);
  for (int i = 0; i < 5; ++i)
    for (int row = 0; row < kArrowH; ++row)
      strip.FillRect({i * kArrowW + row, row, i * kArrowW + kArrowW - row, row + 1}, kArrow[i]);
  return strip;
}

std::string SkinStream(int buttonW, int buttonH) {
  const std::string ini =
      "[Colours]\r\nButtonShadow=128 64 192\r\n"
      "[SunkEdge]\r\nImage=sunk.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n"
      "[ComboButton]\r\nImage=combo.bmp\r\n[ExtraImages]\r\nImage=arrow.bmp\r\n";
  const std::string container = BuildSkinContainer({{"skin.ini", ini},
                                                    {"sunk.bmp", WriteBmp24(SunkEdgeStrip())},
                                                    {"combo.bmp", WriteBmp24(ComboButtonStrip(buttonW, buttonH))},
                                                    {"arrow.bmp", WriteBmp24(ArrowStrip())}});
  const auto n = static_cast<std::uint32_t>(container.size());
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + container;
}

using test::TFakeHost;

class SkinEditsTest : public test::TControlTest {
 protected:
  void SetUp() override {
    TControlTest::SetUp();
    SetExceptionHandler([this] { ++Reported; });
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&init);
    Host = Form->Make<TFakeHost>();
    ShowForm();
  }
  void TearDown() override {
    EXPECT_EQ(Reported, 0) << "an error escaped a skin";
    TControlTest::TearDown();
  }
  // The skin, its combo-button frames as large as a combo box of height `h` shows them.
  void LoadSkin(int h) {
    Data = Form->Make<TSkinData>();
    Data->SetMessenger(&Messenger);
    Data->ReadSkinStream(SkinStream(GetSystemMetrics(SM_CXHSCROLL) + 2, h));
    ASSERT_FALSE(Data->NoSkin());
  }
  // Each new window below the last, so that none covers another.
  TWindowHandle Raw(const wchar_t* cls, DWORD style, DWORD exStyle, int w, int h) {
    const int y = FNextTop;
    FNextTop += 30;
    return TWindowHandle(CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 170, y, w, h, Form->Handle(),
                                         nullptr, GetModuleHandleW(nullptr), nullptr));
  }
  static SIZE WindowSize(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  // What a combo box of the standard look shows in `frame`: the sunk edge all round, the
  // button and its arrow. The text area is the control's own, taken from `shown`, and so
  // are its child windows (a drop-down's edit), which paint themselves after the frame.
  TPixelBitmap ExpectedCombo(HWND combo, const TPixelBitmap& shown, int frame, bool buttonLeft) const {
    const TSkinDefinition& m = Data->Model();
    const int w = shown.Width(), h = shown.Height(), b = GetSystemMetrics(SM_CXHSCROLL);
    TPixelBitmap expected =
        RenderNineSlice(w, h, m.SunkEdge->Image, m.SunkEdge->GetMargins(), TDrawFlags::dfNone, 4, frame);
    const Rect button = buttonLeft ? Rect{0, 0, b + 2, h} : Rect{w - b - 2, 0, w, h};
    const Rect glyph = buttonLeft ? Rect{2, 0, b + 2, h} : Rect{w - b - 2, 0, w - 2, h};
    const Rect text = buttonLeft ? Rect{b + 4, 2, w - 2, h - 2} : Rect{2, 2, w - b - 4, h - 2};
    const TPixelBitmap& strip = buttonLeft ? m.ComboButton->Image2 : m.ComboButton->Image;
    DrawKeyed(expected, button.Left, button.Top, RenderFrameStretched(button.Width(), button.Height(), strip, 4, frame),
              button.Width(), button.Height(), kMagenta);
    const int x = glyph.Left + (glyph.Width() - kArrowW) / 2, y = glyph.Top + (glyph.Height() - kArrowH) / 2;
    DrawKeyed(expected, x, y, RenderFrameStretched(kArrowW, kArrowH, m.ExtraImages->Image, 5, frame), kArrowW, kArrowH,
              kMagenta);
    CopyPixels(expected, text.Left, text.Top, shown, text);
    RECT outer;
    GetWindowRect(combo, &outer);
    for (HWND child = GetWindow(combo, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
      OffsetRect(&r, -outer.left, -outer.top);
      CopyPixels(expected, r.left, r.top, shown, {r.left, r.top, r.right, r.bottom});
    }
    return expected;
  }
  ::testing::AssertionResult ShowsFrame(HWND combo, int frame, bool buttonLeft, const std::string& name) {
    Pump();
    const TPixelBitmap shown = test::CaptureWindow(combo);
    return test::PixelsMatch(ExpectedCombo(combo, shown, frame, buttonLeft), shown, name);
  }
  static bool HasFocusIn(HWND combo) {
    const HWND focus = GetFocus();
    return focus && (focus == combo || IsChild(combo, focus));
  }

  testing::TRecordingMessenger Messenger;
  TSkinData* Data = nullptr;
  TFakeHost* Host = nullptr;
  TCanvas Canvas;
  int Reported = 0;
  int FNextTop = 5;
};

TEST_F(SkinEditsTest, ComboBoxShowsTheFrameOfEveryStateOnBareAndFrameworkCombos) {
  TWindowHandle other = Raw(L"EDIT", 0, 0, 40, 20);  // somewhere for the focus to be
  TWindowHandle bare = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 0, 121, 200);
  TComboBox* framework = Add<TComboBox>(20, 150, 121, 21);
  framework->Items().Add(L"one");
  LoadSkin(WindowSize(bare.Get()).cy);

  for (const bool isFramework : {false, true}) {
    SCOPED_TRACE(isFramework ? "framework combo box" : "bare combo box");
    const HWND combo = isFramework ? framework->Handle() : bare.Get();
    TSkinComBox* skin = Host->Make<TSkinComBox>();
    if (isFramework) {
      skin->AttachControl(framework, Data, false, &Canvas);
    } else {
      skin->AttachWindow(combo, Data, &Canvas);
    }
    EXPECT_EQ(skin->Kind(), TControlSkinKind::skComBox);
    SetFocus(other.Get());
    skin->Redraw();
    EXPECT_TRUE(ShowsFrame(combo, 1, false, "combo-normal"));

    SendMessageW(combo, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(ShowsFrame(combo, 4, false, "combo-hot"));
    SendMessageW(combo, CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(ShowsFrame(combo, 1, false, "combo-left"));

    SetFocus(combo);
    EXPECT_TRUE(ShowsFrame(combo, 4, false, "combo-focused"));

    SetFocus(other.Get());
    EnableWindow(combo, FALSE);
    EXPECT_TRUE(ShowsFrame(combo, 3, false, "combo-disabled"));
    SendMessageW(combo, CM_MOUSEENTER, 0, 0);  // a disabled combo box does not turn hot
    EXPECT_TRUE(ShowsFrame(combo, 3, false, "combo-disabled-enter"));
    EnableWindow(combo, TRUE);
    // The platform takes the focus from a window it disables; the style alone leaves it.
    SetFocus(combo);
    ASSERT_TRUE(HasFocusIn(combo));
    const LONG_PTR style = GetWindowLongPtrW(combo, GWL_STYLE);
    SetWindowLongPtrW(combo, GWL_STYLE, style | WS_DISABLED);
    skin->Redraw();
    EXPECT_TRUE(ShowsFrame(combo, 4, false, "combo-disabled-focused")) << "focus outranks disabled";
    SetWindowLongPtrW(combo, GWL_STYLE, style);
    SetFocus(other.Get());

    // Pressed while the button is down; released, the open list keeps the focus look.
    const SIZE size = WindowSize(combo);
    PostMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(size.cx - 8, size.cy / 2));
    EXPECT_TRUE(ShowsFrame(combo, 2, false, "combo-pressed"));
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    PostMessageW(combo, WM_LBUTTONUP, 0, MAKELPARAM(size.cx - 8, size.cy / 2));
    EXPECT_TRUE(ShowsFrame(combo, 4, false, "combo-open"));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SetFocus(other.Get());
    EXPECT_TRUE(ShowsFrame(combo, 1, false, "combo-closed"));
  }
}

TEST_F(SkinEditsTest, DropDownComboKeepsItsEditAndOpensOnTheSkinnedButton) {
  TWindowHandle other = Raw(L"EDIT", 0, 0, 40, 20);
  TWindowHandle combo = Raw(L"COMBOBOX", CBS_DROPDOWN, 0, 121, 200);
  LoadSkin(WindowSize(combo.Get()).cy);
  TSkinComBox* skin = Host->Make<TSkinComBox>();
  skin->AttachWindow(combo.Get(), Data, &Canvas);
  SetFocus(other.Get());
  EXPECT_TRUE(ShowsFrame(combo.Get(), 1, false, "dropdown-normal"));

  // Focus in the combo box's edit is focus of the combo box; typing still reaches it.
  const HWND edit = GetWindow(combo.Get(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  for (const wchar_t c : std::wstring(L"abc")) SendMessageW(edit, WM_CHAR, c, 1);
  wchar_t text[16] = {};
  GetWindowTextW(combo.Get(), text, 16);
  EXPECT_STREQ(text, L"abc");
  EXPECT_TRUE(ShowsFrame(combo.Get(), 4, false, "dropdown-edit-focused"));
  SetFocus(other.Get());
  EXPECT_TRUE(ShowsFrame(combo.Get(), 1, false, "dropdown-edit-left"));

  const SIZE size = WindowSize(combo.Get());
  ClickAt(combo.Get(), size.cx - GetSystemMetrics(SM_CXHSCROLL) / 2 - 2, size.cy / 2);
  EXPECT_TRUE(SendMessageW(combo.Get(), CB_GETDROPPEDSTATE, 0, 0)) << "a click on the skinned button opens the list";
  EXPECT_TRUE(ShowsFrame(combo.Get(), 4, false, "dropdown-clicked"));
  SendMessageW(combo.Get(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
}

TEST_F(SkinEditsTest, LeftButtonUsesTheMirroredStripAndTheFlatLookKeepsItOnTheRight) {
  TWindowHandle other = Raw(L"EDIT", 0, 0, 40, 20);
  TWindowHandle combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, WS_EX_LEFTSCROLLBAR, 121, 200);
  LoadSkin(WindowSize(combo.Get()).cy);
  TSkinComBox* skin = Host->Make<TSkinComBox>();
  skin->AttachWindow(combo.Get(), Data, &Canvas);
  SetFocus(other.Get());
  skin->Redraw();
  EXPECT_TRUE(ShowsFrame(combo.Get(), 1, true, "combo-leftbutton"));
  EXPECT_NE(skin->ExStyle() & WS_EX_LEFTSCROLLBAR, 0);

  // The loader leaves the combo button's Style at 0, so the flat look is asked for here.
  Data->Model().ComboButton->Style = 1;
  const int thumb = GetSystemMetrics(SM_CYVTHUMB);
  for (const auto& [focused, frame] : {std::pair{false, 1}, std::pair{true, 4}}) {
    SetFocus(focused ? combo.Get() : other.Get());
    skin->Redraw();
    Pump();
    const TPixelBitmap shown = test::CaptureWindow(combo.Get());
    const int w = shown.Width(), h = shown.Height();
    // The text area is the control's; the rings and the button are ours. A window DC
    // starts with the white stock brush, the brush the flat look uses.
    TPixelBitmap expected = shown;
    expected.FillRect({1, 1, w - 1, h - 1}, 0xFFFFFF);
    CopyPixels(expected, 2, 2, shown, {2, 2, w - 2, h - 2});
    const Rect button{w - 2 - thumb, 2, w - 2, h - 2};
    CopyPixels(expected, button.Left, button.Top,
               RenderFrameStretched(button.Width(), button.Height(), Data->Model().ComboButton->Image, 4, frame),
               {0, 0, button.Width(), button.Height()});
    TPixelBitmap outer(w, h, kShadow);
    CopyPixels(outer, 1, 1, expected, {1, 1, w - 1, h - 1});
    EXPECT_TRUE(test::PixelsMatch(outer, shown, "flat-combo-" + std::to_string(frame)));
  }
}

// The edit's two rings: shadow outside, then the inner colour.
::testing::AssertionResult HasFrame(const TPixelBitmap& shown, std::uint32_t inner, const std::string& name) {
  const int w = shown.Width(), h = shown.Height();
  TPixelBitmap expected(w, h, kShadow);
  expected.FillRect({1, 1, w - 1, h - 1}, inner);
  CopyPixels(expected, 2, 2, shown, {2, 2, w - 2, h - 2});
  return test::PixelsMatch(expected, shown, name);
}

TEST_F(SkinEditsTest, EditFrameReplacesTheBorderKeepsTheTextEditableAndPrints) {
  LoadSkin(21);
  TEdit* framework = Add<TEdit>(20, 150, 100, 22);
  TWindowHandle bare = Raw(L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 100, 22);
  TWindowHandle borderless = Raw(L"EDIT", 0, 0, 100, 22);
  SetWindowTextW(borderless.Get(), L"plain");
  Pump();
  const TPixelBitmap plainBefore = test::CaptureWindow(borderless.Get());

  for (const bool isFramework : {false, true}) {
    SCOPED_TRACE(isFramework ? "framework edit" : "bare edit");
    const HWND edit = isFramework ? framework->Handle() : bare.Get();
    TSkinEdit* skin = Host->Make<TSkinEdit>();
    if (isFramework) {
      skin->AttachControl(framework, Data, false, &Canvas);
    } else {
      skin->AttachWindow(edit, Data, &Canvas);
    }
    EXPECT_EQ(skin->Kind(), TControlSkinKind::skEdit);
    skin->Redraw();
    Pump();
    EXPECT_TRUE(HasFrame(test::CaptureWindow(edit), 0xFFFFFF, "edit-frame"));

    SetFocus(edit);
    for (const wchar_t c : std::wstring(L"xy")) SendMessageW(edit, WM_CHAR, c, 1);
    Pump();
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"xy");
    EXPECT_TRUE(HasFrame(test::CaptureWindow(edit), 0xFFFFFF, "edit-typed"));
    EXPECT_EQ(skin->UpDown(), nullptr);

    // Printed: the frame goes into the printing DC, the inner ring in the brush it holds.
    const SIZE size = WindowSize(edit);
    TBitmap target(size.cx, size.cy);
    HDC dc = target.Canvas().Handle();
    CopyToDc(dc, 0, 0, TPixelBitmap(size.cx, size.cy, 0x00FF00));
    const TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    {
      const TSelectGuard brush(dc, red.Get());
      SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
    }
    EXPECT_TRUE(HasFrame(ReadDcPixels(dc, {0, 0, size.cx, size.cy}), 0xFF0000, "edit-printed"));

    // A paint into a lent DC is the control's business alone.
    CopyToDc(dc, 0, 0, TPixelBitmap(size.cx, size.cy, 0x00FF00));
    SendMessageW(edit, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    const TPixelBitmap painted = ReadDcPixels(dc, {0, 0, size.cx, size.cy});
    EXPECT_NE(painted.Pixel(0, 0), kShadow);
    EXPECT_NE(painted.Pixel(size.cx - 1, size.cy - 1), kShadow);
  }

  // Without a border there is nothing to replace.
  TSkinEdit* plain = Host->Make<TSkinEdit>();
  plain->AttachWindow(borderless.Get(), Data, &Canvas);
  plain->Redraw();
  plain->PaintSkin(nullptr);
  EXPECT_TRUE(test::PixelsMatch(plainBefore, test::CaptureWindow(borderless.Get()), "edit-borderless"));
}

TEST_F(SkinEditsTest, SpinButtonMadeAfterTheFirstPaintGetsAnUpDownSkinAtTheNextPaint) {
  LoadSkin(21);
  TWindowHandle edit = Raw(L"EDIT", 0, WS_EX_CLIENTEDGE, 100, 22);
  TSkinEdit* skin = Host->Make<TSkinEdit>();
  skin->AttachWindow(edit.Get(), Data, &Canvas);
  const TWindowHandle label(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, edit.Get(), nullptr,
                                            GetModuleHandleW(nullptr), nullptr));
  skin->PaintSkin(nullptr);
  EXPECT_EQ(skin->UpDown(), nullptr) << "other children are no spin button";

  const TWindowHandle spin(CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 80, 0, 16, 18, edit.Get(),
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(spin);
  skin->PaintSkin(nullptr);
  TSkinControl* upDown = skin->UpDown();
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(upDown->Kind(), TControlSkinKind::skUpDown);
  EXPECT_EQ(upDown->Owner(), Host);
  EXPECT_EQ(upDown->Handle(), spin.Get());
  EXPECT_TRUE(upDown->Attached());
  EXPECT_NE(std::find(Host->Skins.begin(), Host->Skins.end(), upDown), Host->Skins.end());
  skin->PaintSkin(nullptr);
  EXPECT_EQ(skin->UpDown(), upDown) << "found once";

  Host->DestroyComponent(upDown);
  EXPECT_EQ(skin->UpDown(), nullptr) << "a freed up-down skin is forgotten";
}

TEST_F(SkinEditsTest, RepeatedStateChangesAndPaintsHoldNoHandles) {
  TWindowHandle combo = Raw(L"COMBOBOX", CBS_DROPDOWN, 0, 121, 200);
  TWindowHandle edit = Raw(L"EDIT", 0, WS_EX_CLIENTEDGE, 100, 22);
  LoadSkin(WindowSize(combo.Get()).cy);
  TSkinComBox* comboSkin = Host->Make<TSkinComBox>();
  comboSkin->AttachWindow(combo.Get(), Data, &Canvas);
  TSkinEdit* editSkin = Host->Make<TSkinEdit>();
  editSkin->AttachWindow(edit.Get(), Data, &Canvas);
  TBitmap target(121, 40);
  const auto round = [&] {
    SendMessageW(combo.Get(), CM_MOUSEENTER, 0, 0);
    SendMessageW(combo.Get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 5));
    SendMessageW(combo.Get(), WM_LBUTTONUP, 0, MAKELPARAM(110, 5));
    SendMessageW(combo.Get(), CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageW(combo.Get(), CM_MOUSELEAVE, 0, 0);
    editSkin->Redraw();
    SendMessageW(edit.Get(), WM_PRINT, reinterpret_cast<WPARAM>(target.Canvas().Handle()), PRF_NONCLIENT);
  };
  EXPECT_TRUE(test::NoLeakOver(50, round));
}

}  // namespace
}  // namespace kv
