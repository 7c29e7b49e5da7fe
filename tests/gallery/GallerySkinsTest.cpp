// Skins switched while the gallery's windows stay open: the main window, the MDI demo
// with a maximised child and the template dialog (a window of the platform) follow each
// switch, keep their client areas and menus, and give back every handle; damaged skin
// files keep the look that is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GalleryFixture.h"
#include "base/FileIo.h"
#include "base/win/Resources.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinPacker.h"
#include "skin/data/SkinWindowFrame.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinForm.h"
#include "support/CallCount.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"
#include "support/RecordingMessenger.h"
#include "support/TempDir.h"

namespace kv {
namespace {

using test::PumpUntil;

std::string EmbeddedSkin(int index) {
  const auto bytes = ResourceBytes(kGallerySkins[std::size_t(index)].Resource);
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TSkinDefinition ModelOf(const std::string& container) {
  TSkinDefinition model;
  testing::TRecordingMessenger messenger;
  EXPECT_TRUE(LoadSkinModel(container, model, &messenger));
  return model;
}

SIZE ClientSize(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return {r.right, r.bottom};
}

bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

class GallerySkinsTest : public test::GalleryTest {
 protected:
  void SetUp() override {
    GalleryTest::SetUp();
    Gallery->SkinData()->OnSkinChanged = [this](TComponent*) { ++FChanges; };
    ASSERT_TRUE(PumpUntil([this] { return SkinOf(Gallery->Handle()) != nullptr; }, 10000)) << "never skinned";
    FModels.push_back(ModelOf(EmbeddedSkin(0)));
    FModels.push_back(ModelOf(EmbeddedSkin(1)));
  }

  static TWinSkinForm* SkinOf(HWND wnd) {
    TSkinManage* manager = TSkinManage::Instance();
    TWinSkinForm* skin = manager ? manager->FindFormSkin(wnd) : nullptr;
    return skin && skin->SkinState() == fsReady ? skin : nullptr;
  }

  // The gallery with the MDI demo (one child maximised) and the template dialog open,
  // the dialog in front.
  void OpenEveryWindow() {
    Gallery->OpenMdiDemo();
    TGalleryMdiFrame* frame = Gallery->MdiDemo();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(PumpUntil([frame] { return frame->MDIChildCount() == 3; }, 15000));
    HWND child = reinterpret_cast<HWND>(SendMessageW(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0));
    ASSERT_NE(child, nullptr);
    SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Gallery->ShowTemplateDialogModeless();
    ASSERT_NE(Gallery->ModelessDialog().Handle(), nullptr);
    ASSERT_TRUE(PumpUntil([this] { return SkinOf(Gallery->ModelessDialog().Handle()) != nullptr; }, 10000));
    ASSERT_TRUE(PumpUntil([this] { return SkinOf(Gallery->MdiDemo()->Handle()) != nullptr; }, 10000));
    Windows = {Gallery->Handle(), frame->Handle(), Gallery->ModelessDialog().Handle()};
  }

  // Makes a change and waits for the engine's action timer to carry it out.
  void Switch(const std::function<void()>& change) {
    const int before = FChanges;
    change();
    ASSERT_TRUE(PumpUntil([&] { return FChanges > before; }, 5000)) << "the switch never ran";
    for (HWND wnd : Windows) RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::PumpUntil([] { return false; }, 100);
  }

  // The window's left and right border pieces, below the caption and above the bottom
  // edge, are `model`'s as the portable renderer makes them for this window.
  ::testing::AssertionResult ShowsFrameOf(HWND wnd, const TSkinDefinition& model, const std::string& name) {
    TWinSkinForm* skin = SkinOf(wnd);
    if (!skin) return ::testing::AssertionFailure() << name << " has no skin";
    SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    test::PumpUntil([] { return false; }, 60);
    const TPixelBitmap seen = test::CaptureWindow(wnd);
    const Margins b = skin->Borders();
    const FrameSkin frame = FrameSkinOf(model);
    if (!frame.Left || !frame.Right || !frame.Top) return ::testing::AssertionFailure() << "the skin has no edges";
    // The border sizes are the model's edge pictures' frame sizes, not another skin's.
    const int left = frame.Left->Image.Width() / std::max(frame.Left->FrameCount, 1);
    const int top = frame.Top->Image.Height() / std::max(frame.Top->FrameCount, 1);
    if (b.Left != left || b.Top != top)
      return ::testing::AssertionFailure()
             << name << " is framed " << b.Left << "/" << b.Top << " instead of " << left << "/" << top;
    const int w = seen.Width(), h = seen.Height(), rows = h - b.Top - skin->MenuBarHeight() - b.Bottom;
    const bool active = skin->IsActive();
    const TPixelBitmap leftPiece = RenderBorderPiece(TFrameEdge::feLeft, b.Left, h, *frame.Left, active);
    const TPixelBitmap rightPiece = RenderBorderPiece(TFrameEdge::feRight, b.Right, h, *frame.Right, active);
    const int firstRow = b.Top + skin->MenuBarHeight();
    TPixelBitmap leftRows(b.Left, rows), rightRows(b.Right, rows);
    CopyPixels(leftRows, 0, 0, leftPiece, {0, firstRow, b.Left, firstRow + rows});
    CopyPixels(rightRows, 0, 0, rightPiece, {0, firstRow, b.Right, firstRow + rows});
    // Magenta is cut out of the window's region: whatever shows there is not the frame.
    const auto outsideRegion = [&seen](TPixelBitmap& piece, int x0, int y0) {
      for (int y = 0; y < piece.Height(); ++y)
        for (int x = 0; x < piece.Width(); ++x)
          if (piece.Pixel(x, y) == 0xFF00FF) piece.SetPixel(x, y, seen.Pixel(x0 + x, y0 + y));
    };
    outsideRegion(leftRows, 0, firstRow);
    outsideRegion(rightRows, w - b.Right, firstRow);
    auto result = test::PixelsMatchAt(leftRows, seen, {0, firstRow, b.Left, firstRow + rows}, name + "_left");
    if (!result) return result;
    return test::PixelsMatchAt(rightRows, seen, {w - b.Right, firstRow, w, firstRow + rows}, name + "_right");
  }

  // The platform's frame: no skin, no region, the system's non-client size.
  static ::testing::AssertionResult ShowsPlatformFrame(HWND wnd, const std::string& name) {
    if (TSkinManage::Instance()->FindFormSkin(wnd)) return ::testing::AssertionFailure() << name << " is skinned";
    if (SendMessageW(wnd, SM_ISSKINNED, 0, 0) == 1) return ::testing::AssertionFailure() << name << " answers skinned";
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    const int region = GetWindowRgn(wnd, probe);
    DeleteObject(probe);
    if (region != ERROR) return ::testing::AssertionFailure() << name << " keeps a window region";
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    RECT adjusted = client;
    const auto style = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE));
    AdjustWindowRectEx(&adjusted, style, GetMenu(wnd) != nullptr, exStyle);
    // A menu bar wraps to more rows than AdjustWindowRectEx knows when the window is narrow:
    // compare the sides and the bottom, which the platform alone decides.
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    if (origin.x - window.left != -adjusted.left ||
        window.right - (origin.x + client.right) != adjusted.right - client.right ||
        window.bottom - (origin.y + client.bottom) != adjusted.bottom - client.bottom)
      return ::testing::AssertionFailure()
             << name << " has no platform frame: left " << origin.x - window.left << ", right "
             << window.right - (origin.x + client.right) << ", bottom " << window.bottom - (origin.y + client.bottom)
             << "; the platform's " << -adjusted.left << ", " << adjusted.right - client.right << ", "
             << adjusted.bottom - client.bottom << " (style " << std::hex << style << ")";
    return ::testing::AssertionSuccess();
  }

  // Each window in skin `index`, or in the platform's look for kNoSkin.
  void ExpectLook(int index) {
    const char* names[] = {"gallery", "mdi_frame", "dialog"};
    for (std::size_t i = 0; i < Windows.size(); ++i) {
      const std::string name = std::string(names[i]) + "_skin" + std::to_string(index);
      if (index == kNoSkin)
        EXPECT_TRUE(ShowsPlatformFrame(Windows[i], name));
      else
        EXPECT_TRUE(ShowsFrameOf(Windows[i], FModels[std::size_t(index)], name));
    }
    // No window lost its menu: the skin's bar or the platform's, with every title.
    const int titles = GetMenuItemCount(Gallery->MainMenu()->Handle());
    EXPECT_EQ(titles, 5);
    TWinSkinForm* gallery = SkinOf(Gallery->Handle());
    TWinSkinForm* frame = SkinOf(Gallery->MdiDemo()->Handle());
    if (index == kNoSkin) {
      EXPECT_EQ(GetMenu(Gallery->Handle()), Gallery->MainMenu()->Handle());
      EXPECT_NE(GetMenu(Gallery->MdiDemo()->Handle()), nullptr);
    } else {
      ASSERT_TRUE(gallery && gallery->MenuBar());
      ASSERT_TRUE(frame && frame->MenuBar());
      EXPECT_GT(gallery->MenuBarHeight(), 0);
      // The maximised child's buttons sit in the frame's bar.
      EXPECT_TRUE(frame->ActiveMdiChildMaximized());
    }
  }

  std::vector<TSkinDefinition> FModels;
  std::vector<HWND> Windows;
  int FChanges = 0;
};

TEST_F(GallerySkinsTest, EveryWindowFollowsEachSwitchAndKeepsItsClientAreaAndMenu) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  {
    SCOPED_TRACE("the program's own skin");
    ExpectLook(0);
  }
  std::vector<SIZE> clients;
  for (HWND wnd : Windows) clients.push_back(ClientSize(wnd));
  const auto clientsKept = [&] {
    for (std::size_t i = 0; i < Windows.size(); ++i)
      EXPECT_TRUE(ClientSize(Windows[i]) == clients[i])
          << "window " << i << " is " << ClientSize(Windows[i]).cx << "x" << ClientSize(Windows[i]).cy << ", was "
          << clients[i].cx << "x" << clients[i].cy;
  };

  struct TStep {
    const char* Name;
    int Look;
    std::function<void()> Change;
  };
  const TStep steps[] = {
      {"to Midnight", 1, [this] { Gallery->UseEmbeddedSkin(1); }},
      {"to no skin", kNoSkin, [this] { Gallery->UseNoSkin(); }},
      {"back to Koravent", 0, [this] { Gallery->UseEmbeddedSkin(0); }},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    Switch(step.Change);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Gallery->SkinChoice(), step.Look);
    ExpectLook(step.Look);
    clientsKept();
  }
}

// A dark skin's light text reaches what sits on its face, not what has a face of its own,
// and goes when the skin does.
TEST_F(GallerySkinsTest, TextOnTheFaceTakesTheSkinsColourAndGivesItBack) {
  auto* heading = Get<TControl>("HeadListBox");
  auto* list = Get<TControl>("ListBox1");
  ASSERT_TRUE(heading && list);
  const TColor listColour = list->Font().Color();
  Switch([this] { Gallery->UseNoSkin(); });
  const TColor headingPlain = heading->Font().Color();
  // The tool bar, given the face without a skin object of its own, has its colour back.
  EXPECT_NE(Gallery->ToolBar()->Color(), FModels[0].Colours.ButtonFaceColour);
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  const TColor light = FModels[1].Colours.ButtonTextColour;
  EXPECT_EQ(heading->Font().Color(), light);
  EXPECT_EQ(Get<TControl>("CheckUnchecked")->Font().Color(), light);
  EXPECT_EQ(list->Font().Color(), listColour) << "a list keeps its own text on its own face";
  EXPECT_EQ(Gallery->ToolBar()->Color(), FModels[1].Colours.ButtonFaceColour) << "the tool bar shows the new face";
  // A colour the program gives while skinned stays the program's.
  auto* label = Get<TControl>("HeadMemo");
  ASSERT_NE(label, nullptr);
  label->Font().SetColor(TColor(0x0000FF));
  Switch([this] { Gallery->UseNoSkin(); });
  EXPECT_EQ(heading->Font().Color(), headingPlain);
  EXPECT_EQ(label->Font().Color(), TColor(0x0000FF));
  EXPECT_EQ(list->Font().Color(), listColour);
  // From one skin straight to the other.
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  Switch([this] { Gallery->UseEmbeddedSkin(0); });
  EXPECT_EQ(Gallery->ToolBar()->Color(), FModels[0].Colours.ButtonFaceColour);
  EXPECT_EQ(heading->Font().Color(), FModels[0].Colours.ButtonTextColour);
}

// The captions the boxes draw (group box, radio group, check group) are in the skin's text
// colour: light on Midnight's dark face, and still the program's own in its own skin.
TEST_F(GallerySkinsTest, BoxCaptionsAreInTheSkinsTextColour) {
  Gallery->Pages()->SetActivePageIndex(0);  // Buttons
  for (const int skin : {1, 0}) {
    SCOPED_TRACE(skin == 1 ? "Midnight" : "Koravent");
    Switch([this, skin] { Gallery->UseEmbeddedSkin(skin); });
    ASSERT_FALSE(HasFatalFailure());
    const std::uint32_t text = PixelOf(ResolveColor(FModels[std::size_t(skin)].Colours.ButtonTextColour));
    const std::uint32_t face = PixelOf(ResolveColor(FModels[std::size_t(skin)].Colours.ButtonFaceColour));
    for (const char* name : {"RadioGroup1", "CheckGroup1", "GroupBox1"}) {
      const HWND box = Wnd(name);
      ASSERT_NE(box, nullptr);
      const TPixelBitmap shot = test::CaptureClient(box);
      // Strokes of a dozen letters: far more than a few stray pixels.
      EXPECT_GE(test::CountInk(shot, test::BoxCaptionArea(box), text, face), 12)
          << name << "'s caption is not in the text colour " << std::hex << text << " (its font's colour is "
          << Get<TControl>(name)->Font().Color() << ")";
    }
  }
}

TEST_F(GallerySkinsTest, TheTwoSkinsDifferWhereTheWindowIsFramed) {
  // The engine takes every size from the skin: the second skin's frame is another size.
  const FrameSkin a = FrameSkinOf(FModels[0]), b = FrameSkinOf(FModels[1]);
  ASSERT_TRUE(a.Top && b.Top && a.Left && b.Left);
  TWinSkinForm* skin = SkinOf(Gallery->Handle());
  ASSERT_NE(skin, nullptr);
  const Margins first = skin->Borders();
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  skin = SkinOf(Gallery->Handle());
  ASSERT_NE(skin, nullptr);
  const Margins second = skin->Borders();
  EXPECT_TRUE(first.Top != second.Top || first.Left != second.Left)
      << "both skins frame the window alike: " << first.Top << "/" << first.Left;
}

// After a switch the tab set and the tab controls show the new skin's strips, exactly as
// when that skin is put on from no skin.
TEST_F(GallerySkinsTest, TabsShowTheNewSkinsStripsAfterASwitch) {
  Gallery->Pages()->SetActivePageIndex(4);  // Tabs
  Windows = {Gallery->Handle()};
  const char* names[] = {"TabSet1", "TabsTop", "TabsBottom", "TabsLeft", "TabsRight"};
  const auto capture = [&] {
    std::vector<TPixelBitmap> shots;
    for (const char* name : names) shots.push_back(test::CaptureWindow(Wnd(name)));
    return shots;
  };
  Switch([this] { Gallery->UseEmbeddedSkin(0); });
  const std::vector<TPixelBitmap> koravent = capture();
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  const std::vector<TPixelBitmap> switched = capture();
  Switch([this] { Gallery->UseNoSkin(); });
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  const std::vector<TPixelBitmap> fresh = capture();
  for (std::size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_FALSE(std::ranges::equal(koravent[i].Pixels(), fresh[i].Pixels())) << "the two skins' tabs look alike";
    EXPECT_TRUE(test::PixelsMatch(fresh[i], switched[i], std::string("tabs_") + names[i]));
  }
}

// A switch touches a window's region only where the shape changes, and a new text colour
// is no new font: every window open, one maximised MDI child among hidden siblings.
TEST_F(GallerySkinsTest, ASwitchSetsOnlyTheRegionsAndFontsThatChange) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  const auto described = [](const std::map<HWND, int>& calls) {
    std::string text;
    for (const auto& [wnd, n] : calls) {
      const std::wstring name = test::ClassNameOf(wnd);
      text += " " + std::to_string(n) + "x " + std::string(name.begin(), name.end());
    }
    return text;
  };
  // The regions cut at attaching knew no caption yet: the first refresh may cut them anew.
  Switch([this] { Gallery->UseEmbeddedSkin(0); });
  {
    SCOPED_TRACE("the same skin again");
    const testing::TCallCount count;
    Switch([this] { Gallery->UseEmbeddedSkin(0); });
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(count.RegionCalls(), 0) << "regions set:" << described(count.Regions);
  }
  {
    SCOPED_TRACE("the other skin");
    const testing::TCallCount count;
    Switch([this] { Gallery->UseEmbeddedSkin(1); });
    ASSERT_FALSE(HasFatalFailure());
    for (const auto& [wnd, calls] : count.Regions) EXPECT_LE(calls, 1) << "regions set:" << described(count.Regions);
    EXPECT_GE(count.Regions.size(), Windows.size()) << "the new shape reached every window";
    // Midnight's faces are another colour; its fonts are the program's.
    EXPECT_EQ(count.MessageCount(WM_SETFONT), 0) << "fonts set:" << described(count.FontsSet);
  }
  ExpectLook(1);
}

TEST_F(GallerySkinsTest, FortyRoundTripsGiveBackEveryHandle) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  // Caches that fill once (fonts, the scratch bitmaps) fill on the first round.
  const auto roundTrip = [this] {
    for (const auto& change : std::initializer_list<std::function<void()>>{[this] { Gallery->UseEmbeddedSkin(1); },
                                                                           [this] { Gallery->UseNoSkin(); },
                                                                           [this] { Gallery->UseEmbeddedSkin(0); }}) {
      change();
      // What the action timer's tick does, without waiting for it.
      TSkinManage::Instance()->RunPendingAction();
      for (HWND wnd : Windows) RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      test::Pump();
    }
  };
  // A handle lost per round shows after 40 as after 100, at less than half the time.
  EXPECT_TRUE(test::NoLeakOver(40, roundTrip));
  ExpectLook(0);
}

// High contrast switched on and off, as the system announces it to every top-level window
// (the system's answer stood in for: Wine does not switch high contrast): every window
// steps aside as with no skin, keeps the skin chosen, comes back with it, and twenty
// switches give back every handle.
TEST_F(GallerySkinsTest, HighContrastStepsAsideLikeNoSkinAndBringsTheSkinBack) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  bool contrast = false;
  TSystemWatch::SetHighContrastReader([&contrast] { return contrast; });
  struct TReaderBack {
    ~TReaderBack() { TSystemWatch::SetHighContrastReader({}); }
  } readerBack;
  const auto announce = [&](bool on) {
    contrast = on;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM) -> BOOL {
          SendMessageW(wnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
          return TRUE;
        },
        0);
    for (HWND wnd : Windows) RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::Pump();
  };
  const TColor face = FModels[0].Colours.ButtonFaceColour;
  const struct {
    const char* Name;
    bool On;
  } steps[] = {{"on", true}, {"off", false}, {"on again", true}, {"off again", false}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    announce(step.On);
    ExpectLook(step.On ? kNoSkin : 0);
    EXPECT_EQ(Gallery->Color() == face, !step.On) << "the form's colour";
    EXPECT_EQ(Gallery->ToolBar()->Color() == face, !step.On) << "the tool bar's colour";
    EXPECT_EQ(Gallery->SkinChoice(), 0) << "high contrast is no choice of skin";
    EXPECT_TRUE(Gallery->SkinData()->Active());
  }
  EXPECT_TRUE(test::NoLeakOver(20, [&] {
    announce(true);
    announce(false);
  }));
  ExpectLook(0);
}

// A window closed while a skin change waits for the action timer: its purge rides along,
// the change still reaches every other window.
TEST_F(GallerySkinsTest, AWindowClosedBeforeTheTickLeavesTheChangeToTheOthers) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  Switch([this] {
    Gallery->UseEmbeddedSkin(1);
    Gallery->ModelessDialog().Close();
  });
  ASSERT_FALSE(HasFatalFailure());
  Windows.pop_back();  // the dialog
  ExpectLook(1);
  for (HWND wnd : Windows) {
    TWinSkinForm* skin = SkinOf(wnd);
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->Buttons().empty()) << "caption buttons rebuilt";
  }
  // The dialog's own skin went too.
  EXPECT_TRUE(PumpUntil(
      [] {
        const auto skins = TSkinManage::Instance()->FormSkins();
        return std::none_of(skins.begin(), skins.end(), [](TWinSkinForm* s) { return s->SkinState() == fsClosed; });
      },
      5000));
}

TEST_F(GallerySkinsTest, TheOpenDialogIsSkinnedAndOpensASkinFile) {
  testing::TTempDir dir;
  dir.Write("midnight.skn", EmbeddedSkin(1));
  const std::wstring path = (dir.Path() / "midnight.skn").wstring();
  bool dialogSkinned = false;
  int looks = 0;
  // The platform's open dialog runs its own loop: a timer finds it, waits for its skin
  // (a few ticks at most), and answers with the file.
  TTimer finder;
  finder.SetInterval(150);
  finder.OnTimer = [&](TComponent*) {
    for (HWND dialog : test::TopWindows(L"#32770", L"Open skin file")) {
      dialogSkinned = SkinOf(dialog) != nullptr;
      if (!dialogSkinned && ++looks < 20) return;
      SetDlgItemTextW(dialog, 0x47C /* cmb13, the file name */, path.c_str());
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
  };
  finder.SetEnabled(true);
  Switch([this] { Gallery->ChooseSkinFile(); });
  finder.SetEnabled(false);
  EXPECT_TRUE(dialogSkinned) << "the open dialog kept the platform's frame";
  EXPECT_EQ(Gallery->SkinChoice(), kSkinFromFile);
  EXPECT_EQ(Gallery->SkinData()->SkinFile(), path);
  EXPECT_TRUE(ShowsFrameOf(Gallery->Handle(), FModels[1], "after_open"));
}

// Files that hold no usable skin: the look shown stays, only an older container says so
// (once), and nothing breaks.
TEST_F(GallerySkinsTest, DamagedSkinFilesKeepTheLookShown) {
  testing::TTempDir dir;
  testing::TRecordingMessenger messenger;
  Gallery->SkinData()->SetMessenger(&messenger);
  const std::string good = EmbeddedSkin(1);
  std::string badStream = good;
  for (std::size_t i = 24; i < badStream.size(); i += 7) badStream[i] = char(badStream[i] ^ 0x5A);
  std::string older = BuildSkinImage({{"skin.ini", "[Colours]\r\n"}});
  older[0] = char(0x1F);  // version 19999 ...
  older[1] = char(0x4E);
  const struct {
    const char* Name;
    std::string Bytes;
    int Messages;
  } damaged[] = {
      {"truncated.skn", good.substr(0, good.size() / 2), 0},
      {"bad-stream.skn", badStream, 0},
      {"older.skn", PackSkinImage(older), 1},
      {"empty.skn", std::string(), 0},
  };
  for (const auto& file : damaged) {
    SCOPED_TRACE(file.Name);
    dir.Write(file.Name, file.Bytes);
    const std::size_t before = messenger.FMessages.size();
    EXPECT_FALSE(Gallery->UseSkinFile((dir.Path() / file.Name).wstring()));
    EXPECT_EQ(messenger.FMessages.size() - before, std::size_t(file.Messages));
    EXPECT_EQ(Gallery->SkinChoice(), 0);
    EXPECT_FALSE(Gallery->SkinData()->NoSkin());
    RedrawWindow(Gallery->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpUntil([] { return false; }, 300);  // an action the timer might run
    EXPECT_TRUE(ShowsFrameOf(Gallery->Handle(), FModels[0], "kept"));
  }
  EXPECT_FALSE(Gallery->UseSkinFile((dir.Path() / "missing.skn").wstring()));
  EXPECT_TRUE(ShowsFrameOf(Gallery->Handle(), FModels[0], "kept_missing"));
  Gallery->SkinData()->SetMessenger(nullptr);
}

// Definitions and pictures a skin author could get wrong: the skin loads or is refused,
// and the windows paint either way.
TEST_F(GallerySkinsTest, NonsenseDefinitionsAndExtremePicturesNeverBreakTheWindows) {
  OpenEveryWindow();
  ASSERT_FALSE(HasFatalFailure());
  testing::TTempDir dir;
  testing::TRecordingMessenger messenger;
  Gallery->SkinData()->SetMessenger(&messenger);
  // 8-bit pictures, so that 5000 x 5000 stays within the container's size limit.
  auto paletted = [](int width, int height) {
    const std::uint32_t stride = (std::uint32_t(width) + 3) & ~3u, pixels = stride * std::uint32_t(height);
    std::string bmp(54 + 1024, '\0');
    auto put32 = [&bmp](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) bmp[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + 1024 + pixels);
    put32(10, 54 + 1024);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    bmp[26] = 1;
    bmp[28] = 8;
    for (int i = 0; i < 256; ++i) put32(54 + std::size_t(i) * 4, std::uint32_t(i * 0x010101));
    bmp.append(pixels, char(0x40));
    return bmp;
  };
  // Nonsense in every kind of value; the one 5000 x 5000 picture is the caption's.
  const std::string nonsense =
      "[TitlebarSkin]\r\nSkinName=nonsense\r\n"
      "[Personality]\r\nLeft=zero.bmp\r\nLeftFrame=-3\r\nLeftTopHeight=-1\r\nLeftTrans=7\r\n"
      "Top=big.bmp\r\nTopFrame=0\r\nTopTopHeight=2147483647\r\nRight=zero.bmp\r\nRightFrame=100000\r\n"
      "Bottom=nowhere.bmp\r\nTextBack=zero.bmp\r\nTextShift=-99999\r\nTileLeftMenu=-7\r\n"
      "[Button0]\r\nButtonImage=zero.bmp\r\nframe=-2147483648\r\nAlign=77\r\nAction=-5\r\nVisibility=999\r\n"
      "Xcoord=-100000\r\n"
      "[Button1]\r\nButtonImage=zero.bmp\r\nAlign=100\r\nAction=0\r\n"
      "[Buttons]\r\nBitmap=zero.bmp\r\nLeftWidth=4000\r\nRightWidth=4000\r\nCheckButtonFrame=-1\r\n"
      "[Progress]\r\nBitmap=zero.bmp\r\nStyle=9\r\nChunk=zero.bmp\r\n"
      "[Colours]\r\nButtonFace=not a colour\r\nMenubar=1 2\r\n";
  // Three of them are more pixels than a skin may hold.
  const std::string greedy =
      "[Personality]\r\nLeft=big.bmp\r\nTop=big.bmp\r\nRight=big.bmp\r\n[Progress]\r\nBitmap=big.bmp\r\n";
  const std::string big = paletted(5000, 5000), zero = paletted(0, 0);
  const struct {
    const char* Name;
    std::vector<TSkinFile> Files;
    bool Loads;
  } skins[] = {
      {"nonsense.skn", {{"skin.ini", nonsense}, {"big.bmp", big}, {"zero.bmp", zero}}, true},
      {"greedy.skn", {{"skin.ini", greedy}, {"big.bmp", big}}, false},
      {"zero.skn", {{"skin.ini", "[Personality]\r\nTop=zero.bmp\r\nLeft=zero.bmp\r\n"}, {"zero.bmp", zero}}, true},
  };
  for (const auto& skin : skins) {
    SCOPED_TRACE(skin.Name);
    dir.Write(skin.Name, BuildSkinContainer(skin.Files));
    const int before = FChanges;
    const int choice = Gallery->SkinChoice();
    const bool loaded = Gallery->UseSkinFile((dir.Path() / skin.Name).wstring());
    EXPECT_EQ(loaded, skin.Loads);
    if (loaded) {
      ASSERT_TRUE(PumpUntil([&] { return FChanges > before; }, 5000));
    } else {
      EXPECT_EQ(Gallery->SkinChoice(), choice);
    }
    for (HWND wnd : Windows)
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpUntil([] { return false; }, 300);
    for (HWND wnd : Windows) EXPECT_TRUE(IsWindow(wnd) && IsWindowVisible(wnd));
    EXPECT_TRUE(messenger.FMessages.empty());
  }
  // And back to a real skin, which still shows whole.
  Switch([this] { Gallery->UseEmbeddedSkin(1); });
  ExpectLook(1);
  Gallery->SkinData()->SetMessenger(nullptr);
}

}  // namespace
}  // namespace kv
