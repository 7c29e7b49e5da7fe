// The control-skin base on real windows (run under Wine): attaching to framework controls
// and bare windows, the before / own / after dispatch, detaching without disturbing other
// hooks, and the drawing routines every control skin shares, read back as pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/CtrlTestFixture.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinData.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinPacker.h"
#include "skin/gdi/SkinGdi.h"
#include "support/FakeSkinHost.h"
#include "support/HandleCount.h"
#include "support/MessageRecorder.h"
#include "support/PixelCheck.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using test::Pump;
using test::TFakeHost;
using test::TMessageRecorder;

constexpr UINT kRefused = WM_APP + 11;  // the probe skin keeps it from the control
constexpr UINT kPass = WM_APP + 12;
constexpr UINT kOuter = WM_APP + 13;  // the probe sends kInner to its window while it sees this
constexpr UINT kInner = WM_APP + 14;

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kMagenta = 0xFF00FF;

std::string MsgTag(UINT msg) {
  switch (msg) {
    case kRefused: return "refused";
    case kPass: return "pass";
    case kOuter: return "outer";
    case kInner: return "inner";
    default: return {};
  }
}

std::string SkinStream(std::string_view face) {
  const std::string container = BuildSkinContainer(
      {{"skin.ini", "[Colours]\r\nButtonFace=" + std::string(face) + "\r\n[Tabs]\r\nImage=tabs.bmp\r\n"},
       {"tabs.bmp", WriteBmp24(TPixelBitmap(10, 4, 0x123456))}});
  const auto n = static_cast<std::uint32_t>(container.size());
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + container;
}

// Logs what it sees of the test messages, refuses kRefused with 42, nests kInner inside
// kOuter, and records every DrawSkin with the caption it had then.
class TProbeSkin : public TSkinControl {
 public:
  using TSkinControl::DrawCaption;
  using TSkinControl::DrawElement;
  using TSkinControl::DrawElementOnScratch;
  using TSkinControl::DrawFrameTransparent;
  using TSkinControl::FillFace;
  using TSkinControl::ScratchDc;

  bool BeforeMessage(TMessage& m) override {
    Before.push_back(m.Msg);
    if (!MsgTag(m.Msg).empty()) Log.push_back("before " + MsgTag(m.Msg));
    if (m.Msg == kPass && ThrowBefore) throw std::runtime_error("before failed");
    if (m.Msg == kOuter) SendMessageW(Handle(), kInner, 0, 0);
    if (m.Msg == kRefused) {
      m.Result = 42;
      return false;
    }
    if (TakePaint && TakePaintMessages(m)) return false;
    return TSkinControl::BeforeMessage(m);
  }
  void AfterMessage(TMessage& m) override {
    After.push_back(m.Msg);
    if (!MsgTag(m.Msg).empty()) Log.push_back("after " + MsgTag(m.Msg) + " " + std::to_string(m.Result));
    TSkinControl::AfterMessage(m);
  }
  void DrawSkin(HDC dc, const RECT& rect) override {
    Draws.push_back(Caption());
    LastRect = rect;
    if (ThrowDraw) throw std::runtime_error("drawing failed");
    if (Paint) Paint(dc, rect);
  }
  bool SawBefore(UINT msg) const { return std::find(Before.begin(), Before.end(), msg) != Before.end(); }
  bool SawAfter(UINT msg) const { return std::find(After.begin(), After.end(), msg) != After.end(); }

  std::vector<UINT> Before, After;
  std::vector<std::string> Log;
  std::vector<std::wstring> Draws;
  RECT LastRect{};
  bool ThrowBefore = false, ThrowDraw = false, TakePaint = false;
  std::function<void(HDC, const RECT&)> Paint;
};

// A hook below the skin standing for the control's own handling of the test messages.
TMessageHook LowerHook(std::vector<std::string>& log) {
  return [&log](TMessage& m, TDefaultProc callDefault) {
    if (MsgTag(m.Msg).empty()) return callDefault(m);
    log.push_back("control " + MsgTag(m.Msg));
    m.Result = m.Msg == kOuter ? 77 : m.Msg == kInner ? 5 : 9;
  };
}

TWindowHandle RawChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style = 0) {
  return TWindowHandle(CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 20, 150, 100, 30, parent, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
}

TPixelBitmap Pixels(HDC dc, int w, int h) { return ReadDcPixels(dc, {0, 0, w, h}); }

class SkinControlTest : public test::TControlTest {
 protected:
  void SetUp() override {
    TControlTest::SetUp();
    // Anything that reaches the error box escaped a skin's own handling.
    SetExceptionHandler([this] { ++Reported; });
    Data = Form->Make<TSkinData>();
    Data->SetMessenger(&Messenger);
    Data->ReadSkinStream(SkinStream("10 200 30"));
    ASSERT_FALSE(Data->NoSkin());
    Host = Form->Make<TFakeHost>();
  }
  TProbeSkin* NewSkin() { return Host->Make<TProbeSkin>(); }
  std::uint32_t FacePixel() const { return PixelOf(ResolveColor(Data->Model().Colours.ButtonFaceColour)); }

  testing::TRecordingMessenger Messenger;
  TSkinData* Data = nullptr;
  TFakeHost* Host = nullptr;
  TCanvas Canvas;
  int Reported = 0;
};

TEST_F(SkinControlTest, FactoryMakesAnOwnedSkinOfTheKindAsked) {
  TSkinControl* skin = MakeControlSkin(*Host, TControlSkinKind::skCheckBox);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->Owner(), Host);
  EXPECT_EQ(skin->Kind(), TControlSkinKind::skCheckBox);
  EXPECT_FALSE(skin->Attached());
  EXPECT_EQ(ControlSkinClassName(TControlSkinKind::skControl), "TSkinControl");
  EXPECT_EQ(ControlSkinClassName(TControlSkinKind::skCheckBox), "TSkinCheckBox");
  EXPECT_EQ(ControlSkinClassName(TControlSkinKind::skScControl), "TSkinScControl");
}

TEST_F(SkinControlTest, AttachingHooksOnceAndDetachRemovesOnlyOurHook) {
  TButton* button = Add<TButton>(10, 10, 80, 24);
  button->SetCaption(L"Go");
  TEdit* edit = Add<TEdit>(10, 50, 80, 24);
  ShowForm();
  EnableWindow(button->Handle(), FALSE);
  const int hooks = button->HookCount();

  TProbeSkin* skin = NewSkin();
  skin->AttachControl(button, Data, false, &Canvas);
  EXPECT_TRUE(skin->Attached());
  EXPECT_EQ(skin->Handle(), button->Handle());
  EXPECT_EQ(button->HookCount(), hooks + 1);
  EXPECT_TRUE(button->DoubleBuffered());
  EXPECT_EQ(skin->Caption(), L"Go");
  EXPECT_FALSE(skin->Enabled());
  EXPECT_EQ(Host->Adds, 1);

  // A second attach, even to another control, changes nothing.
  skin->AttachControl(edit, Data, true, &Canvas);
  EXPECT_EQ(skin->Control(), button);
  EXPECT_EQ(button->HookCount(), hooks + 1);
  EXPECT_EQ(edit->HookCount(), 0);
  EXPECT_EQ(Host->Adds, 1);

  TMessageRecorder later(*button);  // a hook installed after ours
  skin->SendMouseLeave();
  EXPECT_TRUE(later.Saw(CM_MOUSELEAVE));
  skin->Detach();
  skin->Detach();
  EXPECT_EQ(button->HookCount(), hooks + 1) << "the later hook stays";
  button->Perform(kPass);
  EXPECT_TRUE(later.Saw(kPass));
  EXPECT_FALSE(skin->SawBefore(kPass));

  // A window-less control is only recorded and registered: no hooks.
  TLabel* label = Form->Make<TLabel>();
  label->SetParent(Form);
  TProbeSkin* graphic = NewSkin();
  graphic->AttachGraphic(label, Data, &Canvas);
  EXPECT_EQ(graphic->GraphicControl(), label);
  EXPECT_EQ(label->HookCount(), 0);
  EXPECT_EQ(Host->Skins.size(), 2u);
}

TEST_F(SkinControlTest, RecolorIsGivenBackOnDetachUnlessTheHostIsClosing) {
  TEdit* own = Add<TEdit>(10, 10, 80, 24);
  own->SetColor(0x123456);
  TEdit* inherited = Add<TEdit>(10, 50, 80, 24);
  inherited->SetParentColor(true);
  ShowForm();

  TProbeSkin* skin = NewSkin();
  skin->AttachControl(own, Data, true, &Canvas);
  EXPECT_EQ(own->Color(), Data->Model().Colours.ButtonFaceColour);
  Data->ReadSkinStream(SkinStream("1 2 3"));
  skin->SkinChanged();
  EXPECT_EQ(own->Color(), TColor(0x030201)) << "follows the new skin's face";
  skin->Detach();
  EXPECT_EQ(own->Color(), TColor(0x123456));
  EXPECT_FALSE(own->ParentColor());

  TProbeSkin* second = NewSkin();
  second->AttachControl(inherited, Data, true, &Canvas);
  second->Detach();
  EXPECT_TRUE(inherited->ParentColor());
  EXPECT_EQ(inherited->Color(), Form->Color());

  TProbeSkin* closing = NewSkin();
  closing->AttachControl(own, Data, true, &Canvas);
  Host->Closing = true;
  closing->Detach();
  EXPECT_EQ(own->Color(), Data->Model().Colours.ButtonFaceColour);
}

// The same dispatch whether the skin hooks a framework control or subclasses a window.
void CheckDispatch(TProbeSkin& skin, std::vector<std::string>& lower, const std::function<LRESULT(UINT)>& send) {
  skin.Log.clear();
  lower.clear();
  EXPECT_EQ(send(kRefused), 42);
  EXPECT_EQ(skin.Log, std::vector<std::string>{"before refused"}) << "AfterMessage must not see it";
  EXPECT_TRUE(lower.empty());

  skin.Log.clear();
  EXPECT_EQ(send(kPass), 9);
  EXPECT_EQ(skin.Log, (std::vector<std::string>{"before pass", "after pass 9"}));
  EXPECT_EQ(lower, std::vector<std::string>{"control pass"});

  // A message sent from inside a dispatch runs a dispatch of its own; the outer one then
  // still reaches the control.
  skin.Log.clear();
  lower.clear();
  EXPECT_EQ(send(kOuter), 77);
  EXPECT_EQ(skin.Log, (std::vector<std::string>{"before outer", "before inner", "after inner 5", "after outer 77"}));
  EXPECT_EQ(lower, (std::vector<std::string>{"control inner", "control outer"}));
}

TEST_F(SkinControlTest, RefusedMessagesNeverReachTheControlAndDispatchesNest) {
  TButton* button = Add<TButton>(10, 10, 80, 24);
  ShowForm();
  std::vector<std::string> lower;
  const THookToken below = button->HookWindowProc(LowerHook(lower));
  TProbeSkin* control = NewSkin();
  control->AttachControl(button, Data, false, &Canvas);
  CheckDispatch(*control, lower, [&](UINT msg) { return button->Perform(msg); });
  button->UnhookWindowProc(below);

  TWindowHandle raw = RawChild(Form->Handle(), L"BUTTON", L"Raw");
  SubclassWindow(raw.Get(), LowerHook(lower));
  TProbeSkin* window = NewSkin();
  window->AttachWindow(raw.Get(), Data, &Canvas);
  CheckDispatch(*window, lower, [&](UINT msg) { return SendMessageW(raw.Get(), msg, 0, 0); });

  // An error in a skin's handler ends in the error box, not in the sender.
  window->ThrowBefore = true;
  SendMessageW(raw.Get(), kPass, 0, 0);
  EXPECT_EQ(Reported, 1);
}

TEST_F(SkinControlTest, SetTextUpdatesTheCaptionBeforeTheRepaint) {
  TButton* button = Add<TButton>(10, 10, 80, 24);
  button->SetCaption(L"Early");
  ShowForm();
  TProbeSkin* skin = NewSkin();
  skin->AttachControl(button, Data, false, &Canvas);
  Pump();
  skin->Draws.clear();
  button->SetCaption(L"Later");
  EXPECT_EQ(skin->Caption(), L"Later");
  ASSERT_FALSE(skin->Draws.empty()) << "the new text is painted at once";
  EXPECT_EQ(skin->Draws.back(), L"Later");
}

TEST_F(SkinControlTest, RedrawPaintsChildrenAtOnceWithoutErasingAndLeavesTopLevelWindowsAlone) {
  ShowForm();
  TWindowHandle child = RawChild(Form->Handle(), L"BUTTON", L"Child");
  TProbeSkin* skin = NewSkin();
  skin->AttachWindow(child.Get(), Data, &Canvas);
  TMessageRecorder recorder(child.Get());
  UpdateWindow(child.Get());
  skin->Draws.clear();
  recorder.Clear();
  skin->Redraw();
  EXPECT_EQ(skin->Draws.size(), 1u);
  EXPECT_TRUE(recorder.Saw(WM_PAINT));
  EXPECT_FALSE(recorder.Saw(WM_ERASEBKGND));
  EXPECT_FALSE(GetUpdateRect(child.Get(), nullptr, FALSE));

  TWindowHandle top(CreateWindowExW(0, L"BUTTON", L"Top", WS_POPUP | WS_VISIBLE, 0, 0, 80, 30, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
  TProbeSkin* topSkin = NewSkin();
  topSkin->AttachWindow(top.Get(), Data, &Canvas);
  UpdateWindow(top.Get());
  topSkin->Draws.clear();
  topSkin->Redraw();
  EXPECT_TRUE(topSkin->Draws.empty());
  EXPECT_FALSE(GetUpdateRect(top.Get(), nullptr, FALSE));
}

TEST_F(SkinControlTest, DrawCaptionSitsOnePixelAboveTheCentre) {
  constexpr int kW = 120, kH = 20;
  const std::wstring text = L"Ag";
  auto measure = [&](int height, UINT format, RECT& r) {
    TBitmap probe(kW, kH);
    probe.Canvas().Font().SetHeight(height);
    r = {0, 0, kW, kH};
    probe.Canvas().DrawTextIn(text, r, format | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  };
  // A font whose text is 13 pixels high, when the system has one.
  int height = -11;
  for (int h = -8; h >= -20; --h) {
    RECT r;
    measure(h, DT_CENTER, r);
    if (r.bottom - r.top == 13) {
      height = h;
      break;
    }
  }
  struct TCase {
    UINT Alignment;
    bool Enabled;
  };
  for (const TCase c : {TCase{DT_CENTER, true}, TCase{DT_LEFT, false}, TCase{DT_RIGHT, true}}) {
    SCOPED_TRACE(::testing::Message() << "alignment " << c.Alignment << ", enabled " << c.Enabled);
    RECT measured;
    measure(height, c.Alignment, measured);
    const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
    const int dy = (kH - th) / 2 - 1;
    if (th == 13) {
      EXPECT_EQ(dy, 2);
    }

    TBitmap actual(kW, kH);
    CopyToDc(actual.Canvas().Handle(), 0, 0, TPixelBitmap(kW, kH, 0xFFFFFF));
    actual.Canvas().Font().SetHeight(height);
    actual.Canvas().Font().SetColor(clBlack);
    actual.Canvas().Font().SetStyle(fsBold | fsUnderline);  // the caption is always plain
    TProbeSkin::DrawCaption(actual.Canvas(), {0, 0, kW, kH}, c.Alignment, c.Enabled, text);

    TBitmap expected(kW, kH);
    HDC dc = expected.Canvas().Handle();
    CopyToDc(dc, 0, 0, TPixelBitmap(kW, kH, 0xFFFFFF));
    TFont plain;
    plain.SetHeight(height);
    TSelectGuard font(dc, plain.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.Enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW));
    RECT place{0, dy, kW, dy + th};
    if (c.Alignment == DT_CENTER) place = {(kW - tw) / 2, dy, (kW - tw) / 2 + tw, dy + th};
    DrawTextW(dc, text.c_str(), int(text.size()), &place, c.Alignment | DT_EXPANDTABS);

    const TPixelBitmap got = Pixels(actual.Canvas().Handle(), kW, kH);
    EXPECT_TRUE(test::PixelsMatch(Pixels(dc, kW, kH), got, "caption" + std::to_string(c.Alignment)));
    EXPECT_TRUE(std::any_of(got.Pixels().begin(), got.Pixels().end(), [](std::uint32_t p) { return p != 0xFFFFFF; }));
  }
}

TEST_F(SkinControlTest, AfterOurDetachALaterSubclassStaysAndOnlyTheOriginalProcedureRemains) {
  ShowForm();
  TWindowHandle raw = RawChild(Form->Handle(), L"BUTTON", L"Raw");
  const LONG_PTR original = GetWindowLongPtrW(raw.Get(), GWLP_WNDPROC);
  TProbeSkin* skin = NewSkin();
  skin->AttachWindow(raw.Get(), Data, &Canvas);
  EXPECT_EQ(skin->Caption(), L"Raw");
  TMessageRecorder later(raw.Get());
  skin->Detach();

  SetWindowTextW(raw.Get(), L"After");
  EXPECT_TRUE(later.Saw(WM_SETTEXT));
  EXPECT_FALSE(skin->SawBefore(WM_SETTEXT));
  wchar_t text[32] = {};
  GetWindowTextW(raw.Get(), text, 32);
  EXPECT_STREQ(text, L"After") << "the original procedure handled it";

  later.Stop();
  skin->Detach();
  EXPECT_EQ(GetWindowLongPtrW(raw.Get(), GWLP_WNDPROC), original);
  SendMessageW(raw.Get(), kPass, 0, 0);
  EXPECT_FALSE(skin->SawBefore(kPass));
}

TEST_F(SkinControlTest, WindowDestructionDetachesAndAFreedControlIsForgotten) {
  TEdit* edit = Add<TEdit>(10, 10, 80, 24);
  TButton* button = Add<TButton>(10, 50, 80, 24);
  ShowForm();

  TWindowHandle raw = RawChild(Form->Handle(), L"BUTTON", L"Raw");
  TProbeSkin* window = NewSkin();
  window->AttachWindow(raw.Get(), Data, &Canvas);
  raw.Reset();
  EXPECT_TRUE(window->SawAfter(WM_NCDESTROY));
  EXPECT_EQ(window->Handle(), nullptr) << "a destroyed window's handle is not kept";
  window->Detach();  // nothing left to remove

  const int hooks = edit->HookCount();
  TProbeSkin* control = NewSkin();
  control->AttachControl(edit, Data, false, &Canvas);
  edit->DestroyHandle();
  EXPECT_TRUE(control->SawAfter(WM_NCDESTROY));
  EXPECT_EQ(control->Handle(), nullptr);
  EXPECT_EQ(edit->HookCount(), hooks);
  edit->HandleNeeded();
  edit->Perform(kPass);
  EXPECT_FALSE(control->SawBefore(kPass));

  // The control's own handling may free the skin: the dispatch must not touch it after.
  TProbeSkin* doomed = NewSkin();
  const THookToken below = edit->HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg != kPass) return callDefault(m);
    Host->DestroyComponent(doomed);
    m.Result = 9;
  });
  doomed->AttachControl(edit, Data, false, &Canvas);
  EXPECT_EQ(edit->Perform(kPass), 9);
  EXPECT_EQ(edit->HookCount(), hooks + 1);
  edit->UnhookWindowProc(below);

  TProbeSkin* orphan = NewSkin();
  orphan->AttachControl(button, Data, true, &Canvas);
  Form->DestroyComponent(button);
  EXPECT_EQ(orphan->Control(), nullptr);
  orphan->Detach();
  Host->DestroyComponent(orphan);
  EXPECT_EQ(Reported, 0);
}

TEST_F(SkinControlTest, PaintSkinCoversTheWholeWindowAndSwallowsDrawingErrors) {
  ShowForm();
  TWindowHandle edit = RawChild(Form->Handle(), L"STATIC", L"", WS_BORDER);
  RECT client;
  GetClientRect(edit.Get(), &client);
  TProbeSkin* skin = NewSkin();
  skin->AttachWindow(edit.Get(), Data, &Canvas);
  skin->Paint = [skin](HDC dc, const RECT& r) { skin->FillFace(dc, r); };
  Pump();
  skin->PaintSkin(nullptr);
  RECT window;
  GetWindowRect(edit.Get(), &window);
  EXPECT_TRUE(EqualRect(&skin->WindowRect(), &window));
  ASSERT_LT(client.right, window.right - window.left) << "the window needs a frame";
  EXPECT_EQ(skin->LastRect.left, 0);
  EXPECT_EQ(skin->LastRect.right, window.right - window.left);
  EXPECT_EQ(skin->LastRect.bottom, window.bottom - window.top);
  {
    const TWindowDc whole = TWindowDc::Whole(edit.Get());
    const TPixelBitmap shown = Pixels(whole.Get(), window.right - window.left, window.bottom - window.top);
    EXPECT_EQ(shown.Pixel(0, 0), FacePixel()) << "the border too";
    EXPECT_EQ(shown.Pixel(shown.Width() / 2, shown.Height() / 2), FacePixel());
  }

  skin->ThrowDraw = true;
  const std::size_t draws = skin->Draws.size();
  EXPECT_NO_THROW(skin->PaintSkin(nullptr));
  skin->Redraw();  // through a real WM_PAINT
  EXPECT_EQ(skin->Draws.size(), draws + 2);
  EXPECT_EQ(Reported, 0);
}

// A skin that paints the whole control and fails: no error box, and the control then
// paints itself (here: green) as if it had no skin, whichever way the skin is hooked.
TEST_F(SkinControlTest, AFailedPaintLeavesTheControlToThePlatformWithoutAnErrorBox) {
  ShowForm();
  const auto paintGreen = [](HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT r;
    GetClientRect(wnd, &r);
    const TBrushHandle green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(dc, &r, green.Get());
    EndPaint(wnd, &ps);
  };
  TButton* button = Add<TButton>(10, 10, 80, 24);
  TWindowHandle raw = RawChild(Form->Handle(), L"STATIC", L"");
  const HWND rawWnd = raw.Get(), buttonWnd = button->Handle();
  const THookToken below = button->HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg != WM_PAINT) return callDefault(m);
    paintGreen(buttonWnd);
  });
  SubclassWindow(rawWnd, [&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg != WM_PAINT) return callDefault(m);
    paintGreen(rawWnd);
  });
  TProbeSkin* onControl = NewSkin();
  onControl->AttachControl(button, Data, false, &Canvas);
  TProbeSkin* onWindow = NewSkin();
  onWindow->AttachWindow(rawWnd, Data, &Canvas);
  for (TProbeSkin* skin : {onControl, onWindow}) {
    SCOPED_TRACE(skin == onControl ? "framework control" : "bare window");
    skin->TakePaint = skin->ThrowDraw = true;
    const std::size_t draws = skin->Draws.size();
    InvalidateRect(skin->Handle(), nullptr, TRUE);
    UpdateWindow(skin->Handle());
    EXPECT_GT(skin->Draws.size(), draws) << "the skin tried";
    const TPixelBitmap shown = test::CaptureClient(skin->Handle());
    EXPECT_TRUE(std::all_of(shown.Pixels().begin(), shown.Pixels().end(), [](std::uint32_t p) {
      return (p & 0xFFFFFF) == kGreen;
    })) << "the control's own painting shows";
    EXPECT_FALSE(GetUpdateRect(skin->Handle(), nullptr, FALSE));
  }
  EXPECT_EQ(Reported, 0) << "a paint error reached the error box";
  button->UnhookWindowProc(below);
}

TEST_F(SkinControlTest, DrawingRoutinesDrawTheRequestedFrameAndLeaveTheKeyOut) {
  // Two 4 x 4 frames: red with a magenta 2 x 2 centre, then blue.
  TDataSkinObject element;
  element.Image = TPixelBitmap(8, 4, kRed);
  element.Image.FillRect({1, 1, 3, 3}, kMagenta);
  element.Image.FillRect({4, 0, 8, 4}, kBlue);
  element.Trans = 1;
  TButton* anchor = Add<TButton>(0, 0, 10, 10);
  TProbeSkin* skin = NewSkin();
  skin->AttachControl(anchor, Data, false, &Canvas);  // for the skin's face colour

  TBitmap target(12, 12);
  HDC dc = target.Canvas().Handle();
  auto clear = [&] { CopyToDc(dc, 0, 0, TPixelBitmap(12, 12, kGreen)); };
  clear();
  TProbeSkin::DrawElement(dc, {2, 2, 6, 6}, 2, 2, element);
  TPixelBitmap got = Pixels(dc, 12, 12);
  EXPECT_EQ(got.Pixel(2, 2), kBlue);
  EXPECT_EQ(got.Pixel(5, 5), kBlue);
  EXPECT_EQ(got.Pixel(6, 6), kGreen);
  clear();
  TProbeSkin::DrawElement(dc, {2, 2, 6, 6}, 2, 1, element);
  TProbeSkin::DrawElement(dc, {9, 9, 5, 5}, 2, 2, element);  // inverted: nothing
  got = Pixels(dc, 12, 12);
  EXPECT_EQ(got.Pixel(2, 2), kRed);
  EXPECT_EQ(got.Pixel(3, 3), kGreen);
  EXPECT_EQ(got.Pixel(8, 8), kGreen);

  clear();
  TProbeSkin::DrawFrameTransparent(dc, {0, 0, 8, 8}, element.Image, 2, 1);    // stretched twice
  TProbeSkin::DrawFrameTransparent(dc, {8, 8, 12, 12}, element.Image, 2, 3);  // no such frame
  got = Pixels(dc, 12, 12);
  EXPECT_EQ(got.Pixel(1, 1), kRed);
  EXPECT_EQ(got.Pixel(2, 2), kGreen);
  EXPECT_EQ(got.Pixel(5, 5), kGreen);
  EXPECT_EQ(got.Pixel(6, 6), kRed);
  EXPECT_EQ(got.Pixel(10, 10), kGreen);

  skin->DrawElementOnScratch({0, 0, 4, 4}, element, true, 2, 1);
  got = Pixels(TProbeSkin::ScratchDc(), 4, 4);
  EXPECT_EQ(got.Pixel(0, 0), kRed);
  EXPECT_EQ(got.Pixel(1, 1), FacePixel()) << "the key shows the face colour";
  skin->DrawElementOnScratch({0, 0, 4, 4}, element, false, 2, 1);
  EXPECT_EQ(Pixels(TProbeSkin::ScratchDc(), 4, 4).Pixel(1, 1), kMagenta);
  skin->DrawElementOnScratch({0, 0, 300, 120}, element, false, 2, 2);
  EXPECT_EQ(Pixels(TProbeSkin::ScratchDc(), 300, 120).Pixel(299, 119), kBlue) << "the scratch bitmap grows";

  skin->FillFace(dc, {0, 0, 12, 12});
  EXPECT_EQ(Pixels(dc, 12, 12).Pixel(11, 11), FacePixel());
  TSkinData* unloaded = Form->Make<TSkinData>();  // the face is the system's button face
  TProbeSkin* system = NewSkin();
  system->AttachGraphic(Form->Make<TLabel>(), unloaded, &Canvas);
  system->FillFace(dc, {0, 0, 12, 12});
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(Pixels(dc, 12, 12).Pixel(5, 5), PixelOf(face));
}

TEST_F(SkinControlTest, ManyPaintsAndAttachmentsHoldNoHandles) {
  TDataSkinObject element;
  element.Image = TPixelBitmap(8, 4, kRed);
  element.Image.FillRect({1, 1, 3, 3}, kMagenta);
  element.Trans = 1;
  TButton* button = Add<TButton>(10, 10, 90, 26);
  button->SetCaption(L"Paint");
  ShowForm();
  TProbeSkin* skin = NewSkin();
  skin->AttachControl(button, Data, false, &Canvas);
  skin->Paint = [&](HDC dc, const RECT& r) {
    skin->FillFace(dc, r);
    TProbeSkin::DrawElement(dc, r, 2, 1, element);
    skin->DrawElementOnScratch(r, element, true, 2, 1);
    BitBlt(dc, 0, 0, r.right, r.bottom, TProbeSkin::ScratchDc(), 0, 0, SRCCOPY);
    Canvas.SetHandle(dc);
    TProbeSkin::DrawCaption(Canvas, r, DT_CENTER, skin->Enabled(), skin->Caption());
    Canvas.SetHandle(nullptr);
  };
  skin->PaintSkin(nullptr);  // the scratch bitmap and the canvas's objects are made once
  const int hooks = button->HookCount();
  const test::THandleLeakCheck check;
  const std::size_t draws = skin->Draws.size();
  for (int i = 0; i < 100; ++i) {
    skin->Redraw();
    skin->PaintSkin(nullptr);
  }
  EXPECT_GE(skin->Draws.size(), draws + 200);
  for (int i = 0; i < 30; ++i) {
    TProbeSkin* other = NewSkin();
    other->AttachControl(button, Data, true, &Canvas);
    other->Detach();
    Host->DestroyComponent(other);
  }
  EXPECT_EQ(button->HookCount(), hooks);
  EXPECT_TRUE(check.NothingLeaked());
}

}  // namespace
}  // namespace kv
