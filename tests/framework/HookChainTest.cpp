// Hooks in front of controls and raw windows: every order of adding and removing,
// removal from inside a hook, destruction with hooks still in place; the canvas and its
// selected objects; window creation errors; the DC guards of the handle layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "base/win/Dc.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "support/HandleCount.h"
#include "support/MessageRecorder.h"

namespace kv {
namespace {

constexpr UINT kProbe = WM_APP + 7;

// A control whose own handling leaves a mark, so the tests see where the chain ends.
class TProbeControl : public TControl {
 public:
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) {
      Log += 'C';
      m.Result = 100;
      return;
    }
    TControl::WndProc(m);
  }
  std::string Log;
};

// A hook that writes its letter, then passes the message on.
TMessageHook Marking(std::string& log, char letter) {
  return [&log, letter](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == kProbe) log += letter;
    callDefault(m);
  };
}

TEST(HookChain, EveryOrderOfAddingAndRemovingThreeHooksKeepsExactlyTheRest) {
  // For each order of removal, after each removal the remaining hooks run newest first,
  // then the control: nothing removed comes back, nothing remaining is lost.
  std::array<int, 3> order{0, 1, 2};
  int orders = 0;
  do {
    TProbeControl control;
    const std::array<THookToken, 3> tokens{control.HookWindowProc(Marking(control.Log, 'A')),
                                           control.HookWindowProc(Marking(control.Log, 'B')),
                                           control.HookWindowProc(Marking(control.Log, 'C' + 1))};
    std::string alive = "DBA";  // newest first ('D' stands for the third hook)
    EXPECT_EQ(control.Perform(kProbe), 100);
    EXPECT_EQ(control.Log, alive + "C");
    for (int index : order) {
      control.UnhookWindowProc(tokens[std::size_t(index)]);
      std::erase(alive, "ABD"[index]);
      control.Log.clear();
      EXPECT_EQ(control.Perform(kProbe), 100);
      EXPECT_EQ(control.Log, alive + "C") << "removal order " << order[0] << order[1] << order[2];
      EXPECT_EQ(control.HookCount(), int(alive.size()));
    }
    ++orders;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(orders, 6);
}

TEST(HookChain, AHookThatDoesNotPassOnAnswersAlone) {
  TProbeControl control;
  control.HookWindowProc(Marking(control.Log, 'A'));
  control.HookWindowProc([&](TMessage& m, TDefaultProc) {
    control.Log += 'S';
    m.Result = 7;
  });
  EXPECT_EQ(control.Perform(kProbe), 7);
  EXPECT_EQ(control.Log, "S") << "nothing below a hook that keeps the message sees it";
}

TEST(HookChain, RemovingAndAddingDuringDispatchIsSafe) {
  TProbeControl control;
  THookToken self, below;
  below = control.HookWindowProc(Marking(control.Log, 'B'));
  // Removes itself and the hook below it, then still passes the message on: the call
  // finishes, the removed hook below is skipped, the control answers.
  auto owned = std::make_shared<int>(1);
  std::weak_ptr<int> watch = owned;
  self = control.HookWindowProc([&, owned](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg != kProbe) return callDefault(m);
    control.Log += 'S';
    control.UnhookWindowProc(self);
    control.UnhookWindowProc(below);
    control.HookWindowProc(Marking(control.Log, 'N'));  // joins above: runs from the next message on
    callDefault(m);
    control.Log += std::to_string(*owned);  // the hook's own state is still alive here
  });
  owned.reset();
  EXPECT_EQ(control.Perform(kProbe), 100);
  EXPECT_EQ(control.Log, "SC1");
  EXPECT_TRUE(watch.expired()) << "the removed hook's state goes when the dispatch ends";
  control.Log.clear();
  control.Perform(kProbe);
  EXPECT_EQ(control.Log, "NC");
  EXPECT_EQ(control.HookCount(), 1);
  control.UnhookWindowProc(self);  // already gone: nothing happens
  control.UnhookWindowProc(THookToken{});
  EXPECT_EQ(control.HookCount(), 1);
}

TEST(HookChain, NestedMessagesRunTheWholeChainAgain) {
  TProbeControl control;
  int depth = 0;
  control.HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == kProbe && depth++ == 0) {
      control.Log += '(';
      control.Perform(kProbe);  // re-entered from inside a hook
      control.Log += ')';
    }
    callDefault(m);
  });
  control.Perform(kProbe);
  EXPECT_EQ(control.Log, "(C)C");
}

TEST(HookChain, AControlDestroyedWithHooksInPlaceFreesThem) {
  auto state = std::make_shared<int>(0);
  std::weak_ptr<int> watch = state;
  {
    TProbeControl control;
    control.HookWindowProc([state](TMessage& m, TDefaultProc callDefault) { callDefault(m); });
    control.HookWindowProc([state](TMessage& m, TDefaultProc callDefault) { callDefault(m); });
    state.reset();
    EXPECT_FALSE(watch.expired());
  }
  EXPECT_TRUE(watch.expired());
}

class RawSubclass : public ::testing::Test {
 protected:
  void SetUp() override {
    Wnd = CreateWindowExW(0, L"STATIC", L"raw", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(Wnd);
  }
  void TearDown() override {
    if (IsWindow(Wnd)) DestroyWindow(Wnd);
  }
  // What the hooks note of one probe message, and the window's answer.
  std::string Probe(LRESULT* result = nullptr) {
    Log.clear();
    const LRESULT r = SendMessageW(Wnd, kProbe, 0, 0);
    if (result) *result = r;
    return Log;
  }
  HWND Wnd = nullptr;
  std::string Log;
};

TEST_F(RawSubclass, HooksStackAndLeaveInAnyOrder) {
  std::array<int, 3> order{0, 1, 2};
  do {
    const std::array<THookToken, 3> tokens{SubclassWindow(Wnd, Marking(Log, 'A')),
                                           SubclassWindow(Wnd, Marking(Log, 'B')),
                                           SubclassWindow(Wnd, Marking(Log, 'D'))};
    std::string alive = "DBA";
    EXPECT_EQ(Probe(), alive);
    for (int index : order) {
      UnsubclassWindow(Wnd, tokens[std::size_t(index)]);
      EXPECT_FALSE(IsSubclassed(Wnd, tokens[std::size_t(index)]));
      std::erase(alive, "ABD"[index]);
      EXPECT_EQ(Probe(), alive);
    }
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(RawSubclass, AHookMayRemoveItselfAndItsStateGoesAfterItsCall) {
  auto owned = std::make_shared<int>(5);
  std::weak_ptr<int> watch = owned;
  THookToken self;
  self = SubclassWindow(Wnd, [&, owned](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == kProbe) {
      UnsubclassWindow(Wnd, self);
      Log += std::to_string(*owned);  // still alive inside the call
      m.Result = 42;
      return;
    }
    callDefault(m);
  });
  owned.reset();
  LRESULT result = 0;
  EXPECT_EQ(Probe(&result), "5");
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(Probe(), "");
  UnsubclassWindow(Wnd, self);  // twice: nothing happens
}

TEST_F(RawSubclass, StateIsFreedAtNcDestroyAndLateRemovalIsHarmless) {
  auto owned = std::make_shared<int>(0);
  std::weak_ptr<int> watch = owned;
  bool sawNcDestroy = false;
  const THookToken token = SubclassWindow(Wnd, [&, owned](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == WM_NCDESTROY) sawNcDestroy = true;
    callDefault(m);
  });
  owned.reset();
  ASSERT_TRUE(token);
  DestroyWindow(Wnd);
  EXPECT_TRUE(sawNcDestroy);
  EXPECT_TRUE(watch.expired());
  UnsubclassWindow(Wnd, token);  // the window is gone
  EXPECT_FALSE(SubclassWindow(Wnd, Marking(Log, 'A'))) << "no hook on a window that does not exist";
}

TEST_F(RawSubclass, AnErrorInAHookGoesToTheErrorHandlerAndTheHookStays) {
  int reported = 0;
  SetExceptionHandler([&] { ++reported; });
  SubclassWindow(Wnd, [](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == kProbe) throw std::runtime_error("broken");
    callDefault(m);
  });
  Probe();
  Probe();
  SetExceptionHandler(nullptr);
  EXPECT_EQ(reported, 2);
}

TEST_F(RawSubclass, TheRecorderComparesSequences) {
  test::TMessageRecorder recorder(Wnd);
  SendMessageW(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  SendMessageW(Wnd, kProbe, 3, 0);
  const std::vector<UINT> seen = recorder.Messages({WM_SETTEXT, kProbe});
  EXPECT_TRUE(test::MatchesSequence(recorder.Seen(), {{WM_SETTEXT}, {kProbe, 3}}));
  EXPECT_TRUE(test::MatchesSequence(seen, {{WM_SETTEXT}, {WM_PAINT, {}, true}, {kProbe}}));
  const auto missing = test::MatchesSequence(seen, {{WM_SETTEXT}, {WM_PAINT}, {kProbe}});
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("expected WM_PAINT at place 1"), std::string::npos)
      << missing.message();
  EXPECT_FALSE(test::MatchesSequence(seen, {{WM_SETTEXT}}));
  EXPECT_FALSE(test::MatchesSequence(recorder.Seen(), {{WM_SETTEXT}, {kProbe, 4}})) << "wParam is compared";
}

// ---- the canvas and its selected objects

TEST(Canvas, AChangedFontBrushOrPenIsNeverDeletedWhileSelected) {
  const TWindowDc screen = TWindowDc::Screen();
  TMemoryDc dc(CreateCompatibleDC(screen.Get()));
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 20, 20));
  TSelectGuard select(dc.Get(), bitmap.Get());
  const HGDIOBJ ownFont = GetCurrentObject(dc.Get(), OBJ_FONT);
  const HGDIOBJ ownBrush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  const HGDIOBJ ownPen = GetCurrentObject(dc.Get(), OBJ_PEN);
  {
    TCanvas canvas(dc.Get());
    canvas.Rectangle(RECT{0, 0, 10, 10});  // selects font, brush and pen
    const HGDIOBJ usedFont = GetCurrentObject(dc.Get(), OBJ_FONT);
    ASSERT_EQ(usedFont, canvas.Font().Handle());
    canvas.Font().SetHeight(-20);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), ownFont) << "the DC's own font is back before ours goes";
    EXPECT_EQ(GetObjectType(usedFont), 0u) << "the old font is deleted, not leaked";

    canvas.Rectangle(RECT{0, 0, 10, 10});
    const HGDIOBJ usedBrush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    canvas.Brush().SetColor(0x0000FF);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), ownBrush);
    EXPECT_EQ(GetObjectType(usedBrush), 0u);

    canvas.Rectangle(RECT{0, 0, 10, 10});
    const HGDIOBJ usedPen = GetCurrentObject(dc.Get(), OBJ_PEN);
    canvas.Pen().SetWidth(3);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), ownPen);
    EXPECT_EQ(GetObjectType(usedPen), 0u);

    canvas.Rectangle(RECT{0, 0, 10, 10});  // selects the new ones
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), canvas.Font().Handle());
    TCanvas copyTarget;
    copyTarget.Font() = canvas.Font();  // a copy is a description: changing it leaves this DC alone
    copyTarget.Font().SetHeight(-30);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), canvas.Font().Handle());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), ownFont);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), ownBrush);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), ownPen);
}

TEST(Canvas, PaintingLoopsLeaveNoHandlesBehind) {
  const TWindowDc screen = TWindowDc::Screen();
  TBitmap target(40, 40);
  const test::THandleLeakCheck check;
  for (int i = 0; i < 200; ++i) {
    TCanvas canvas(target.Canvas().Handle());
    canvas.Font().SetHeight(-10 - i % 5);
    canvas.Brush().SetColor(TColor(i));
    canvas.Pen().SetColor(TColor(i * 3));
    canvas.Rectangle(RECT{0, 0, 30, 30});
    canvas.TextAt(2, 2, L"x");
    const RECT area{0, 0, 8, 8};
    TBufferDc buffer(screen.Get(), area);
    FillRect(buffer.Get(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  EXPECT_TRUE(check.NothingLeaked());
}

// ---- DC guards

TEST(DcGuards, TheBufferReachesItsTargetOnceAtScopeEnd) {
  TBitmap target(30, 30);
  HDC dc = target.Canvas().Handle();
  target.Canvas().Brush().SetColor(0x000000);
  target.Canvas().FillRect(RECT{0, 0, 30, 30});
  {
    TBufferDc buffer(dc, RECT{10, 10, 20, 20});
    ASSERT_TRUE(buffer.Buffered());
    TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT inside{10, 10, 20, 20};  // the target's coordinates
    FillRect(buffer.Get(), &inside, red.Get());
    GdiFlush();
    EXPECT_EQ(target.ScanLine(15)[15] & 0xFFFFFF, 0u) << "nothing reaches the target before the end";
  }
  GdiFlush();
  EXPECT_EQ(target.ScanLine(15)[15] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(target.ScanLine(10)[10] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(target.ScanLine(9)[9] & 0xFFFFFF, 0u) << "only the buffered area is copied";
  EXPECT_EQ(target.ScanLine(20)[20] & 0xFFFFFF, 0u);
}

TEST(DcGuards, TextStateAndFailedSelectionsAreHandedBack) {
  TBitmap target(4, 4);
  HDC dc = target.Canvas().Handle();
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  {
    TTextStateGuard guard(dc);
    SetTextColor(dc, RGB(9, 9, 9));
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
  }
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);

  // A bitmap can be in one DC only: the second selection fails and restores nothing.
  TBitmapHandle bitmap(CreateCompatibleBitmap(dc, 4, 4));
  const TWindowDc screen = TWindowDc::Screen();
  TMemoryDc first(CreateCompatibleDC(screen.Get())), second(CreateCompatibleDC(screen.Get()));
  TSelectGuard ok(first.Get(), bitmap.Get());
  EXPECT_TRUE(ok.Ok());
  const HGDIOBJ before = GetCurrentObject(second.Get(), OBJ_BITMAP);
  {
    TSelectGuard refused(second.Get(), bitmap.Get());
    EXPECT_FALSE(refused.Ok());
  }
  EXPECT_EQ(GetCurrentObject(second.Get(), OBJ_BITMAP), before);
  EXPECT_FALSE(TSelectGuard(first.Get(), nullptr).Ok());
}

TEST(Handles, OwnersCountWhatTheyHoldAndMovesKeepOneOwner) {
  const long before = LiveHandleCount(THandleKind::hkGdi);
  {
    TBrushHandle a(CreateSolidBrush(0));
    EXPECT_EQ(LiveHandleCount(THandleKind::hkGdi), before + 1);
    TBrushHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(LiveHandleCount(THandleKind::hkGdi), before + 1);
    const HBRUSH raw = b.Get();
    b = TBrushHandle(CreateSolidBrush(1));
    EXPECT_EQ(GetObjectType(raw), 0u) << "the replaced handle is deleted";
    EXPECT_EQ(LiveHandleCount(THandleKind::hkGdi), before + 1);
    HRGN given = TRegionHandle(CreateRectRgn(0, 0, 1, 1)).Release();
    EXPECT_EQ(LiveHandleCount(THandleKind::hkGdi), before + 1) << "a released handle is no longer ours";
    DeleteObject(given);
    TFileHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
  }
  EXPECT_EQ(LiveHandleCount(THandleKind::hkGdi), before);
}

// ---- window creation and destruction

class TBrokenClassControl : public TWinControl {
 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.BaseClass = L"NoSuchSystemClass";
  }
};

TEST(WinControl, AWindowThatCannotBeMadeRaisesAClearError) {
  TApplication app;
  app.Initialize();
  auto* form = app.CreateForm<TForm>();
  auto* broken = form->Make<TBrokenClassControl>();
  broken->SetParent(form);
  try {
    broken->Handle();
    FAIL() << "no error raised";
  } catch (const EWindowError& e) {
    EXPECT_NE(std::string(e.what()).find("NoSuchSystemClass"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(broken->HandleAllocated());
}

TEST(WinControl, AFreedWindowlessControlHasItsParentShowItsAreaAgain) {
  TApplication app;
  app.Initialize();
  auto* form = app.CreateForm<TForm>();
  form->SetClientSize(100, 60);
  auto* label = form->Make<TLabel>();
  label->SetParent(form);
  label->SetBounds(60, 10, 30, 20);
  form->Show();
  test::Pump();
  ValidateRect(form->Handle(), nullptr);
  form->DestroyComponent(label);
  RECT dirty{};
  ASSERT_TRUE(GetUpdateRect(form->Handle(), &dirty, FALSE));
  EXPECT_EQ(dirty.left, 60);
  EXPECT_EQ(dirty.top, 10);
  EXPECT_EQ(dirty.right, 90);
  EXPECT_EQ(dirty.bottom, 30);
}

}  // namespace
}  // namespace kv
