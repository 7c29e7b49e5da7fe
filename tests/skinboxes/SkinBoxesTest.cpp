// Column headers, panels and bare dialog scroll bars skinned on real windows under Wine:
// header items and the strip right of them read back and compared with the frame they
// should show, texts and images placed by the item's format, panels recoloured while
// skinned and given their colour back, a dialog's scroll bar outlined and nothing else.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "SkinTestFixture.h"
#include "framework/ImgList.h"
#include "framework/ListCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/windows/ControlSkins.h"
#include "support/HandleCount.h"
#include "support/PlatformImageList.h"

namespace kv {
namespace {

using test::CaptureClient;
using test::PixelsMatch;

// Header frames: frame 1 is what every item shows; the others must never appear.
const std::vector<std::uint32_t> kHeaderFrames{0x30A0D0, 0xD03030, 0x30D030, 0x3030D0, 0xD0D030};
constexpr std::uint32_t kImagePixel = 0xE01010, kShadow = 0x506070;

class SkinBoxesTest : public test::TSkinnedFormTest {
 protected:
  // Cells of 12 x 20 with a magenta square, margins 3 left and right, `trans` as the skin says.
  void UseHeaderbar(int trans) {
    auto bar = std::make_unique<TDataSkinObject>();
    bar->Image = test::CellStrip(5, 12, 20, kHeaderFrames);
    bar->LeftWidth = bar->RightWidth = 3;
    bar->Trans = trans;
    bar->FrameCount = 5;
    Model().Headerbar = std::move(bar);
  }
  // The same cells without the magenta, so anything else in an item is text or image.
  void UsePlainHeaderbar() {
    auto bar = std::make_unique<TDataSkinObject>();
    bar->Image = TPixelBitmap(60, 20, 0);
    for (int k = 0; k < 5; ++k) bar->Image.FillRect({k * 12, 0, (k + 1) * 12, 20}, kHeaderFrames[std::size_t(k)]);
    bar->FrameCount = 5;
    Model().Headerbar = std::move(bar);
  }
  HWND MakeHeader(int x, int y, int w, int h) {
    FHeader = Child(WC_HEADERW, L"", HDS_HORZ, x, y, w, h);
    SendMessageW(FHeader.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(Form->Font().Handle()), FALSE);
    return FHeader.Get();
  }
  static void AddItem(HWND header, const std::wstring& text, int width, int fmt = HDF_LEFT, int image = -1) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
    item.cxy = width;
    item.fmt = fmt | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    const int count = int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    SendMessageW(header, HDM_INSERTITEMW, WPARAM(count), reinterpret_cast<LPARAM>(&item));
  }
  static RECT ItemRect(HWND header, int index) {
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static void Repaint(HWND wnd) { RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
  TSkinHeader* SkinHeader(HWND header) {
    auto* skin = Host->Make<TSkinHeader>();
    skin->AttachWindow(header, Data, &Canvas);
    return skin;
  }
  // An image list of one solid 16 x 16 image, set on the header.
  TImageList* UseImages(HWND header) {
    auto* images = Form->Make<TImageList>(16, 16);
    TBitmap picture(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) picture.ScanLine(y)[x] = kImagePixel;
    images->Add(picture, clNone);
    SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
    return images;
  }
  // Frame 1 of the header picture over `r` of `into`: opaque for items, the skin's Trans
  // for the strip after them.
  void DrawHeaderFrame(TPixelBitmap& into, const RECT& r, bool opaque) {
    TElementImage image = ElementImage(*Model().Headerbar);
    image.FFrameCount = 5;
    if (opaque) image.FTransparent = false;
    DrawElement(into, {r.left, r.top, r.right, r.bottom}, image, 1);
  }
  // The bounding box of the pixels of `r` that are not `background`; empty when none.
  static Rect Marks(const TPixelBitmap& shown, const RECT& r, std::uint32_t background) {
    Rect box{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (shown.Pixel(x, y) != background) {
          box.Left = std::min<int>(box.Left, x);
          box.Top = std::min<int>(box.Top, y);
          box.Right = std::max<int>(box.Right, x + 1);
          box.Bottom = std::max<int>(box.Bottom, y + 1);
        }
    return box;
  }
  static int Count(const TPixelBitmap& shown, const RECT& r, std::uint32_t pixel) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shown.Pixel(x, y) == pixel;
    return n;
  }

  TWindowHandle FHeader;
};

// ---- headers

TEST_F(SkinBoxesTest, HeaderItemsAndTheStripAfterThemShowFrameOne) {
  for (const int trans : {0, 1}) {
    SCOPED_TRACE(trans ? "transparent strip" : "opaque strip");
    UseHeaderbar(trans);
    ShowForm();
    HWND header = MakeHeader(10, 10, 300, 24);
    UseImages(header);
    // Empty captions: only the background, even with an image to show.
    AddItem(header, L"", 70);
    AddItem(header, L"", 90, HDF_LEFT | HDF_IMAGE, 0);
    SkinHeader(header);
    Repaint(header);
    const TPixelBitmap shown = CaptureClient(header);
    TPixelBitmap expected(300, 24, Face());
    for (int i = 0; i < 2; ++i) DrawHeaderFrame(expected, ItemRect(header, i), true);
    DrawHeaderFrame(expected, {160, 0, 300, 24}, false);
    EXPECT_TRUE(PixelsMatch(expected, shown, trans ? "header-keyed" : "header-opaque"));
    // The items copy their magenta; a transparent strip shows the face through it.
    EXPECT_EQ(shown.Pixel(35, 11), test::kMagentaPixel);
    EXPECT_EQ(shown.Pixel(230, 11), trans ? Face() : test::kMagentaPixel);
    EXPECT_EQ(Count(shown, {0, 0, 300, 24}, kImagePixel), 0) << "no image without a caption";
    Host->Skins.back()->Detach();
    FHeader = {};
  }
}

TEST_F(SkinBoxesTest, HeaderImagesOnlyWithTheImageFormat) {
  UsePlainHeaderbar();
  ShowForm();
  HWND header = MakeHeader(10, 10, 300, 24);
  UseImages(header);
  AddItem(header, L"Image", 100, HDF_LEFT | HDF_IMAGE, 0);
  AddItem(header, L"No flag", 100, HDF_LEFT, 0);
  AddItem(header, L"Owner", 100, HDF_LEFT | HDF_OWNERDRAW, 0);
  // The header itself adds HDF_IMAGE when an image comes with the item: take it off.
  HDITEMW format{};
  format.mask = HDI_FORMAT;
  format.fmt = HDF_LEFT | HDF_STRING;
  SendMessageW(header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&format));
  SkinHeader(header);
  Repaint(header);
  const TPixelBitmap shown = CaptureClient(header);
  // Left alignment puts the image two pixels in, centred vertically.
  const Rect image = Marks(shown, {0, 0, 100, 24}, kHeaderFrames[0]);
  EXPECT_EQ(Count(shown, {2, 4, 18, 20}, kImagePixel), 256);
  EXPECT_EQ(image.Left, 2);
  EXPECT_EQ(Count(shown, ItemRect(header, 1), kImagePixel), 0) << "no HDF_IMAGE: no image";
  EXPECT_EQ(Count(shown, {202, 4, 218, 20}, kImagePixel), 256) << "owner-drawn items show theirs";
}

TEST_F(SkinBoxesTest, HeaderImagesFromAListThePlatformMade) {
  UsePlainHeaderbar();
  ShowForm();
  HWND header = MakeHeader(10, 10, 300, 24);
  const TImageListHandle images = test::PlatformImageList(16, kImagePixel);
  SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
  AddItem(header, L"Image", 100, HDF_LEFT | HDF_IMAGE, 0);
  SkinHeader(header);
  Repaint(header);
  EXPECT_EQ(Count(CaptureClient(header), {2, 4, 18, 20}, kImagePixel), 256);
  Host->Skins.back()->Detach();
  FHeader = {};
}

TEST_F(SkinBoxesTest, HeaderTextsFollowTheItemAlignment) {
  UsePlainHeaderbar();
  ShowForm();
  HWND header = MakeHeader(10, 10, 330, 24);
  AddItem(header, L"Left", 110, HDF_LEFT);
  AddItem(header, L"Mid", 110, HDF_CENTER);
  AddItem(header, L"Right", 110, HDF_RIGHT);
  SkinHeader(header);
  Repaint(header);
  const TPixelBitmap shown = CaptureClient(header);
  const std::uint32_t bg = kHeaderFrames[0];
  const Rect left = Marks(shown, ItemRect(header, 0), bg);
  const Rect mid = Marks(shown, ItemRect(header, 1), bg);
  const Rect right = Marks(shown, ItemRect(header, 2), bg);
  ASSERT_GT(left.Width(), 0) << "no text drawn";
  ASSERT_GT(mid.Width(), 0);
  ASSERT_GT(right.Width(), 0);
  EXPECT_LE(left.Left, 6) << "left text starts at the item's left";
  EXPECT_GE(right.Right, 330 - 6) << "right text ends at the item's right";
  EXPECT_NEAR((mid.Left + mid.Right) / 2, 165, 3) << "centred text";
  // Whole lines of text, not stray pixels.
  for (const Rect& r : {left, mid, right}) EXPECT_GT(r.Height(), 5);
}

TEST_F(SkinBoxesTest, HeaderTextsAreReadAsUnicodeAndNeverHalfACharacter) {
  UsePlainHeaderbar();
  ShowForm();
  HWND header = MakeHeader(10, 10, 300, 24);
  AddItem(header, L"中文", 100, HDF_CENTER);
  AddItem(header, L"??", 100, HDF_CENTER);
  // U+20000 straddles the last unit the skin reads, or fits just before it.
  const std::wstring pair = L"\xD840\xDC00";
  AddItem(header, std::wstring(kHeaderTextLength - 1, L'a') + pair + L"b", 50);
  AddItem(header, std::wstring(kHeaderTextLength - 2, L'a') + pair, 50);
  EXPECT_EQ(ReadHeaderItem(header, 0).Text, L"中文");
  EXPECT_EQ(ReadHeaderItem(header, 2).Text, std::wstring(kHeaderTextLength - 1, L'a'));
  EXPECT_EQ(ReadHeaderItem(header, 3).Text, std::wstring(kHeaderTextLength - 2, L'a') + pair);
  EXPECT_EQ(ReadHeaderItem(header, 1).Alignment, UINT(DT_CENTER));

  SkinHeader(header);
  Repaint(header);
  const TPixelBitmap shown = CaptureClient(header);
  // The Chinese text is drawn, and not as the question marks an ANSI read would give.
  const RECT cjk = ItemRect(header, 0), marks = ItemRect(header, 1);
  ASSERT_GT(Marks(shown, cjk, kHeaderFrames[0]).Width(), 0);
  bool differ = false;
  for (int y = 0; y < 24 && !differ; ++y)
    for (int x = 0; x < 100 && !differ; ++x) differ = shown.Pixel(cjk.left + x, y) != shown.Pixel(marks.left + x, y);
  EXPECT_TRUE(differ) << "the Chinese caption looks like \"??\"";
}

TEST_F(SkinBoxesTest, HeaderWithoutPictureIsLeftToThePlatform) {
  ShowForm();
  HWND header = MakeHeader(10, 10, 200, 24);
  AddItem(header, L"Plain", 100);
  Repaint(header);
  const TPixelBitmap before = CaptureClient(header);
  SkinHeader(header);
  Repaint(header);
  EXPECT_TRUE(PixelsMatch(before, CaptureClient(header), "header-platform"));
}

TEST_F(SkinBoxesTest, ListViewHeaderShowsTheProgramSkin) {
  Data->ReadSkinResource(L"KORAVENTSKIN");
  ASSERT_FALSE(Data->NoSkin());
  ASSERT_TRUE(Model().Headerbar);
  TListView* view = Add<TListView>(10, 10, 280, 200);
  view->SetViewStyle(vsReport);
  view->AddColumn(L"", 100);
  view->AddColumn(L"", 80);
  for (int i = 0; i < 20; ++i) view->AddItem(L"Row " + std::to_wstring(i));
  ShowForm();
  // As the list view skin does: the list view double-buffered, its header by handle.
  Host->Make<TSkinControl>(TControlSkinKind::skListView)->AttachControl(view, Data, false, &Canvas);
  HWND header = view->HeaderHandle();
  ASSERT_NE(header, nullptr);
  TSkinHeader* skin = SkinHeader(header);
  skin->AttachWindow(header, Data, &Canvas);  // a second attach changes nothing
  EXPECT_EQ(std::count(Host->Skins.begin(), Host->Skins.end(), skin), 1) << "registered with the host once";
  view->Invalidate();
  view->Update();
  test::Pump();
  const TPixelBitmap shown = CaptureClient(header);
  RECT client;
  GetClientRect(header, &client);
  TPixelBitmap expected(client.right, client.bottom, Face());
  DrawHeaderFrame(expected, ItemRect(header, 0), true);
  DrawHeaderFrame(expected, ItemRect(header, 1), true);
  DrawHeaderFrame(expected, {180, 0, client.right, client.bottom}, false);
  EXPECT_TRUE(PixelsMatch(expected, shown, "listview-header"));
}

// ---- boxes

TEST_F(SkinBoxesTest, PanelShowsTheFaceWhileSkinnedAndItsOwnColourAfter) {
  constexpr TColor kOwn = 0x40C0F0;  // a yellow of its own
  TPanel* panel = Add<TPanel>(10, 10, 120, 80);
  panel->SetColor(kOwn);
  TPanel* inherits = Add<TPanel>(140, 10, 120, 80);  // takes the form's blue
  ShowForm();
  const int hooks = panel->HookCount();
  auto* skin = Host->Make<TSkinBox>();
  skin->AttachControl(panel, Data, true, &Canvas);
  auto* second = Host->Make<TSkinBox>();
  second->AttachControl(inherits, Data, true, &Canvas);
  EXPECT_EQ(panel->HookCount(), hooks) << "a box never hooks its control";
  EXPECT_EQ(Host->Skins, (std::vector<TSkinControl*>{skin, second}));
  test::Pump();
  EXPECT_EQ(panel->Color(), Model().Colours.ButtonFaceColour);
  EXPECT_EQ(CaptureClient(panel->Handle()).Pixel(60, 40), Face());
  EXPECT_EQ(CaptureClient(inherits->Handle()).Pixel(60, 40), Face());

  skin->Detach();
  second->Detach();
  skin->Detach();  // a second time finds nothing to give back
  test::Pump();
  EXPECT_EQ(panel->Color(), kOwn);
  EXPECT_EQ(CaptureClient(panel->Handle()).Pixel(60, 40), 0xF0C040u);
  EXPECT_TRUE(inherits->ParentColor()) << "follows the form again";
  EXPECT_EQ(CaptureClient(inherits->Handle()).Pixel(60, 40), 0x0000FFu);
}

TEST_F(SkinBoxesTest, BoxWithoutRecolourAndWhileTheFormSkinCloses) {
  constexpr TColor kOwn = 0x40C0F0;
  TPanel* plain = Add<TPanel>(10, 10, 80, 60);
  plain->SetColor(kOwn);
  TGroupBox* group = Add<TGroupBox>(100, 10, 120, 80);
  group->SetColor(kOwn);
  ShowForm();
  Host->Make<TSkinBox>()->AttachControl(plain, Data, false, &Canvas);
  EXPECT_EQ(plain->Color(), kOwn);

  auto* closing = Form->Make<test::TFakeHost>();
  auto* skin = closing->Make<TSkinBox>();
  skin->AttachControl(group, Data, true, &Canvas);
  EXPECT_EQ(closing->Skins.size(), 1u);
  EXPECT_EQ(group->Color(), Model().Colours.ButtonFaceColour);
  closing->Closing = true;
  skin->Detach();
  EXPECT_EQ(group->Color(), Model().Colours.ButtonFaceColour) << "left as it is while the form goes";
}

TEST_F(SkinBoxesTest, SkinChangeRecoloursTheBox) {
  TPanel* panel = Add<TPanel>(10, 10, 120, 80);
  panel->SetColor(0x40C0F0);
  ShowForm();
  auto* skin = Host->Make<TSkinBox>();
  skin->AttachControl(panel, Data, true, &Canvas);
  Model().Colours.ButtonFaceColour = 0x3080A0;
  skin->SkinChanged();
  test::Pump();
  EXPECT_EQ(panel->Color(), TColor(0x3080A0));
  EXPECT_EQ(CaptureClient(panel->Handle()).Pixel(60, 40), 0xA08030u);
  skin->Detach();
  EXPECT_EQ(panel->Color(), TColor(0x40C0F0)) << "the colour saved at attach, not the first face";
}

// ---- dialog scroll bars

// An in-memory dialog with one scroll bar and one edit.
std::vector<BYTE> DialogWithScrollBar(DWORD barStyle) {
  std::vector<BYTE> bytes;
  const auto append = [&bytes](const void* data, std::size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    bytes.insert(bytes.end(), p, p + size);
  };
  const auto word = [&](WORD w) { append(&w, sizeof w); };
  const auto text = [&](const wchar_t* t) { append(t, (wcslen(t) + 1) * sizeof(wchar_t)); };
  DLGTEMPLATE header{};
  header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  header.cdit = 1;
  header.cx = 200;
  header.cy = 120;
  append(&header, sizeof header);
  word(0);
  word(0);
  text(L"Sizer");
  while (bytes.size() % 4) bytes.push_back(0);
  DLGITEMTEMPLATE item{};
  item.style = barStyle | WS_CHILD | WS_VISIBLE;
  item.x = 20;
  item.y = 20;
  item.cx = 20;
  item.cy = 60;
  item.id = 100;
  append(&item, sizeof item);
  text(L"ScrollBar");
  text(L"");
  word(0);
  return bytes;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(SkinBoxesTest, DialogScrollBarIsOutlinedAndNothingElse) {
  Model().Colours.ButtonShadowColour = ColorOf(kShadow);
  const std::vector<BYTE> bytes = DialogWithScrollBar(SBS_VERT);
  TWindowHandle dialog(CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr, PlainDialogProc, 0));
  ASSERT_TRUE(dialog);
  HWND bar = GetDlgItem(dialog.Get(), 100);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 100, 10, 40, 0};
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  TComponent formSkin;
  TControlSkins skins(&formSkin, [] { return false; });
  skins.Bind(Data, &Canvas);
  skins.SkinChildWindows(dialog.Get());
  TSkinControl* skin = skins.FindControlSkin(bar);
  ASSERT_NE(skin, nullptr);
  ASSERT_EQ(skin->Kind(), TControlSkinKind::skSizer);

  // Into a DC handed over: the outline, and the inside exactly as it was.
  RECT r;
  GetClientRect(bar, &r);
  TBitmap into(r.right, r.bottom);
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) into.ScanLine(y)[x] = 0x123456;
  EXPECT_EQ(SendMessageW(bar, WM_ERASEBKGND, WPARAM(into.Canvas().Handle()), 0), 1);
  SendMessageW(bar, WM_PAINT, WPARAM(into.Canvas().Handle()), 0);
  GdiFlush();
  int outline = 0, inside = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      const bool edge = x == 0 || y == 0 || x == r.right - 1 || y == r.bottom - 1;
      const std::uint32_t p = into.ScanLine(y)[x] & 0xFFFFFF;
      (edge ? outline : inside) += p == (edge ? kShadow : 0x123456u);
    }
  EXPECT_EQ(outline, 2 * (r.right + r.bottom) - 4);
  EXPECT_EQ(inside, (r.right - 2) * (r.bottom - 2)) << "no arrows, no thumb";

  // On the screen: painted once, and then nothing is left to paint.
  Repaint(bar);
  const TPixelBitmap shown = CaptureClient(bar);
  EXPECT_EQ(shown.Pixel(0, 0), kShadow);
  EXPECT_EQ(shown.Pixel(r.right - 1, r.bottom / 2), kShadow);
  EXPECT_EQ(shown.Pixel(r.right / 2, r.bottom - 1), kShadow);
  EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE)) << "the paint must validate the window";
  skins.FreeControlSkins();
}

// ---- resources

TEST_F(SkinBoxesTest, RepaintingHoldsNoHandles) {
  UseHeaderbar(1);
  ShowForm();
  HWND header = MakeHeader(10, 10, 300, 24);
  UseImages(header);
  AddItem(header, L"中文 with image", 150, HDF_CENTER | HDF_IMAGE, 0);
  AddItem(header, L"Size", 80, HDF_RIGHT);
  TSkinHeader* skin = SkinHeader(header);
  TPanel* panel = Add<TPanel>(10, 60, 100, 60);
  auto* box = Host->Make<TSkinBox>();
  box->AttachControl(panel, Data, true, &Canvas);
  TWindowHandle bar = Child(L"ScrollBar", L"", SBS_HORZ, 10, 140, 200, 18);
  Host->Make<TSkinSizer>()->AttachWindow(bar.Get(), Data, &Canvas);
  const auto round = [&] {
    Repaint(header);
    Repaint(bar.Get());
    box->SkinChanged();
    test::Pump();
  };
  EXPECT_TRUE(test::NoLeakOver(40, round));

  // What one header repaint costs here, beside the same header unskinned (figures to
  // read, not limits).
  TWindowHandle plain = Child(WC_HEADERW, L"", HDS_HORZ, 10, 170, 300, 24);
  AddItem(plain.Get(), L"中文 with image", 150, HDF_CENTER);
  AddItem(plain.Get(), L"Size", 80, HDF_RIGHT);
  for (const HWND wnd : {plain.Get(), header}) {
    constexpr int kRounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto spent = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start);
    std::printf("[ measure  ] one %s header repaint (2 items, 300 x 24): %.0f us\n",
                wnd == header ? "skinned" : "plain", spent.count() / kRounds);
  }
  // The skin's own drawing, into memory: what the window system adds is left out.
  TBitmap target(300, 24);
  constexpr int kDraws = 500;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kDraws; ++i) skin->DrawSkin(target.Canvas().Handle(), {0, 0, 300, 24});
  const auto spent = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start);
  std::printf("[ measure  ] the header skin's drawing into memory: %.0f us\n", spent.count() / kDraws);
}

}  // namespace
}  // namespace kv
