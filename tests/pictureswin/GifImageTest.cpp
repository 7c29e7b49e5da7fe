// GIF pictures in a picture control under Wine: the first paint shows frame 1 and the
// painter thread brings the later ones; still pictures are drawn without a thread; the
// painter ends with its run, with its picture and with the form; damaged pictures show
// nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "TestUtil.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "pictures/GifWriter.h"
#include "pictures/win/GifImage.h"
#include "pictures/win/GifPainter.h"

namespace kv {
namespace {

using test::PumpUntil;

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}
constexpr std::uint32_t FormRgb = Rgb(40, 80, 120);
constexpr TColor FormColor = 0x785028;  // the same colour as 0x00BBGGRR

const GifPalette Colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
std::uint32_t RgbOf(const GifRgb& c) { return Rgb(c.R, c.G, c.B); }

// `frames` frames of the whole screen, frame i in Colors[i].
std::vector<std::uint8_t> SolidFrames(int frames, std::uint16_t delay, std::optional<std::uint16_t> loop) {
  TGifWriter writer(30, 20, Colors);
  if (loop) writer.AddLoop(*loop);
  for (int i = 0; i < frames; ++i) {
    GifWriterFrame f;
    f.Width = 30;
    f.Height = 20;
    f.Pixels.assign(30 * 20, std::uint8_t(i));
    f.WriteControl = true;
    f.Disposal = gdDoNotDispose;
    f.Delay = delay;
    writer.AddFrame(f);
  }
  return writer.Finish();
}

class GifImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"GIF picture test");
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsDialog);
    Form->SetPosition(poDesktopCenter);
    Form->SetClientSize(200, 120);
    Form->SetColor(FormColor);
    Image = Form->Make<TImage>();
    Image->SetParent(Form);
    Image->SetBounds(10, 10, 60, 40);
    Repaint = Image->Picture().OnChange;
  }
  void TearDown() override {
    App.reset();
    EXPECT_EQ(TGIFPainter::RunningThreads(), 0);
  }

  // Puts the picture into the image, records the centre of the internal bitmap (and who
  // is running) at every change notification, and shows the form: the first paint
  // happens here.
  TGIFImage* Show(const std::vector<std::uint8_t>& bytes, std::optional<std::uint16_t> options = std::nullopt) {
    auto owned = TGIFImage::FromBytes(bytes);
    TGIFImage* gif = owned.get();
    if (options) gif->SetDrawOptions(*options);
    Image->Picture().OnChange = Repaint;
    SetGifPicture(Image->Picture(), std::move(owned));
    Image->Picture().OnChange = [this] {
      auto* shown = dynamic_cast<TGIFImage*>(Image->Picture().Graphic());
      if (shown && shown->InternalBitmap()) {
        Changes.push_back(shown->InternalBitmap()->ScanLine(10)[15] & 0xFFFFFF);
        ChangeThreads.push_back(GetCurrentThreadId());
        RunningAtChange.push_back(TGIFPainter::RunningThreads());
      }
      Repaint();
    };
    Form->Show();
    Form->Update();
    return gif;
  }
  // A pixel of the image as it is on the screen (image coordinates).
  std::uint32_t Pixel(int x, int y) { return test::ScreenPixel(Form->Handle(), Image->Left() + x, Image->Top() + y); }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TImage* Image = nullptr;
  std::vector<std::uint32_t> Changes;
  std::vector<DWORD> ChangeThreads;
  std::vector<int> RunningAtChange;
  std::function<void()> Repaint;  // what the image does on a change of its picture
};

TEST_F(GifImageTest, FirstPaintShowsFrameOneAndThePainterBringsTheNextOnes) {
  TGIFImage* gif = Show(SolidFrames(4, 5, 0));
  ASSERT_GE(Changes.size(), 1u);
  // Nothing was pumped since the first paint: what it drew is frame 1.
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[0]));
  EXPECT_EQ(Pixel(40, 30), FormRgb) << "outside the 30 x 20 picture the form shows";
  EXPECT_EQ(gif->PainterCount(), 1);
  EXPECT_TRUE(gif->HasDrawPainter());
  EXPECT_EQ(TGIFPainter::RunningThreads(), 1);

  // Every frame reaches the bitmap in order, for ever (count 0), through the GUI thread.
  ASSERT_TRUE(PumpUntil([&] { return Changes.size() >= 7; }));
  for (std::size_t i = 0; i < Changes.size(); ++i) EXPECT_EQ(Changes[i], RgbOf(Colors[i % 4])) << "change " << i;
  for (DWORD id : ChangeThreads) EXPECT_EQ(id, GetCurrentThreadId());
  // And the screen follows: each colour of the sequence shows up there.
  for (const GifRgb& c : Colors) EXPECT_TRUE(PumpUntil([&] { return Pixel(15, 10) == RgbOf(c); })) << RgbOf(c);
  EXPECT_EQ(gif->PainterCount(), 1) << "one painter, however often the image repaints";
}

TEST_F(GifImageTest, LoopCountEndsThePainterOnTheLastFrame) {
  TGIFImage* gif = Show(SolidFrames(3, 3, 2));  // twice
  ASSERT_TRUE(PumpUntil([&] { return TGIFPainter::RunningThreads() == 0; }));
  EXPECT_EQ(gif->PainterCount(), 0);
  EXPECT_FALSE(gif->HasDrawPainter());
  const std::vector<std::uint32_t> twice = {RgbOf(Colors[0]), RgbOf(Colors[1]), RgbOf(Colors[2]),
                                            RgbOf(Colors[0]), RgbOf(Colors[1]), RgbOf(Colors[2])};
  EXPECT_EQ(Changes, twice);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(15, 10) == RgbOf(Colors[2]); }));
  // Later paints show the last frame and start nothing.
  Image->Invalidate();
  Form->Update();
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[2]));
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);

  // Without a looping extension the sequence plays once.
  Changes.clear();
  gif = Show(SolidFrames(3, 3, std::nullopt));
  ASSERT_TRUE(PumpUntil([&] { return TGIFPainter::RunningThreads() == 0 && Changes.size() >= 3; }));
  EXPECT_EQ(Changes.size(), 3u);
}

TEST_F(GifImageTest, TransparentPixelsShowTheControlAndRestoreBackgroundBringsItBack) {
  TGifWriter writer(30, 20, Colors);
  writer.AddLoop(0);
  GifWriterFrame first;  // left half red, right half transparent; cleared afterwards
  first.Width = 30;
  first.Height = 20;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) first.Pixels.push_back(x < 15 ? 0 : 3);
  first.WriteControl = true;
  first.TransparentIndex = 3;
  first.Disposal = gdRestoreBackground;
  first.Delay = 5;
  writer.AddFrame(first);
  GifWriterFrame second;  // a blue square on the right
  second.Left = 20;
  second.Top = 5;
  second.Width = 8;
  second.Height = 8;
  second.Pixels.assign(64, 2);
  second.WriteControl = true;
  second.Disposal = gdDoNotDispose;
  second.Delay = 5;
  writer.AddFrame(second);

  Show(writer.Finish());
  EXPECT_EQ(Pixel(5, 10), RgbOf(Colors[0]));
  EXPECT_EQ(Pixel(24, 9), FormRgb) << "transparent pixels show what the control showed";
  ASSERT_TRUE(PumpUntil([&] { return Pixel(24, 9) == RgbOf(Colors[2]); }));
  EXPECT_EQ(Pixel(5, 10), FormRgb) << "the first frame's area went back to the background";
}

TEST_F(GifImageTest, StillPicturesAreDrawnWithoutAThread) {
  // One frame, even with a delay and a looping extension: drawn at once, no painter.
  TGIFImage* gif = Show(SolidFrames(1, 5, 0));
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[0]));
  EXPECT_EQ(gif->PainterCount(), 0);
  EXPECT_EQ(gif->InternalBitmap(), nullptr);
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);

  // Animation off: the selected frame, or the first when the selection is out of range.
  gif = Show(SolidFrames(4, 5, 0), std::uint16_t(GifDefaultOptions & ~goAnimate));
  gif->SetSelectedFrame(2);
  Form->Update();
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[2]));
  gif->SetSelectedFrame(9);
  Form->Update();
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[0]));
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);
  EXPECT_EQ(gif->PainterCount(), 0);
}

TEST_F(GifImageTest, WithoutTheThreadBitTheRunPlaysInsideThePaint) {
  // Count 0 plays once without a thread; the whole pass is over when the paint returns.
  TGIFImage* gif = Show(SolidFrames(3, 3, 0), std::uint16_t(GifDefaultOptions & ~goAsync));
  const std::vector<std::uint32_t> once = {RgbOf(Colors[0]), RgbOf(Colors[1]), RgbOf(Colors[2])};
  EXPECT_EQ(Changes, once);
  for (int running : RunningAtChange) EXPECT_EQ(running, 0);
  EXPECT_FALSE(gif->HasDrawPainter());
  EXPECT_EQ(gif->PainterCount(), 0);
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[2]));
}

TEST_F(GifImageTest, PainterEndsWithItsPictureAndWithTheForm) {
  // Replacing the picture ends its painter.
  Show(SolidFrames(4, 3, 0));
  ASSERT_EQ(TGIFPainter::RunningThreads(), 1);
  Image->Picture().SetGraphic(nullptr);
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);
  Form->Update();
  EXPECT_EQ(Pixel(15, 10), FormRgb);

  // A painter deep in a 12-second wait (1000 units) is woken when the form goes.
  Show(SolidFrames(2, 1000, 0));
  ASSERT_EQ(TGIFPainter::RunningThreads(), 1);
  PumpUntil([] { return false; }, 100);
  const auto begin = std::chrono::steady_clock::now();
  App.reset();
  const auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);
  EXPECT_LT(took, std::chrono::seconds(2)) << "freeing the form waits for no frame delay";
}

TEST_F(GifImageTest, DamagedPicturesShowNothingAndStartNothing) {
  const std::vector<std::uint8_t> good = SolidFrames(2, 5, 0);
  std::vector<std::vector<std::uint8_t>> damaged;
  damaged.push_back({'G', 'I', 'F', '8', '9', 'a'});  // no screen descriptor
  damaged.push_back({'P', 'N', 'G', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0});
  damaged.emplace_back(good.begin(), good.begin() + 58);  // cut inside the first image
  std::vector<std::uint8_t> zero = good;                  // a 0 x 20 screen
  zero[6] = zero[7] = 0;
  damaged.push_back(zero);
  damaged.push_back({});
  for (const auto& bytes : damaged) {
    TGIFImage* gif = Show(bytes);
    EXPECT_EQ(gif->FrameCount(), 0);
    EXPECT_NE(gif->LoadError(), geNone);
    EXPECT_EQ(gif->Width(), 0);
    Image->Invalidate();
    Form->Update();
    EXPECT_EQ(Pixel(15, 10), FormRgb);
    EXPECT_EQ(gif->PainterCount(), 0);
  }
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);

  // A stray block ends loading with the frames read so far: still a picture.
  std::vector<std::uint8_t> stray(good.begin(), good.end() - 1);
  stray.push_back('X');
  TGIFImage* gif = Show(stray);
  EXPECT_EQ(gif->FrameCount(), 2);
  EXPECT_EQ(gif->LoadWarning(), "Unknown GIF block type");
  EXPECT_EQ(Pixel(15, 10), RgbOf(Colors[0]));
}

TEST_F(GifImageTest, TheStoredFormLoadsLikeTheGifItHolds) {
  const std::vector<std::uint8_t> gif = SolidFrames(3, 5, 0);
  std::vector<std::uint8_t> stored = {9, 'T', 'G', 'I', 'F', 'I', 'm', 'a', 'g', 'e'};
  stored.insert(stored.end(), gif.begin(), gif.end());
  auto image = TGIFImage::FromBytes(stored);
  EXPECT_EQ(image->FrameCount(), 3);
  EXPECT_EQ(image->Width(), 30);
  EXPECT_EQ(image->Height(), 20);
  std::vector<std::uint8_t> other = {9, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g'};
  other.insert(other.end(), gif.begin(), gif.end());
  EXPECT_EQ(TGIFImage::FromBytes(other)->FrameCount(), 0) << "another class's stored picture";
}

}  // namespace
}  // namespace kv
