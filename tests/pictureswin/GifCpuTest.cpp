// The program's own two pictures, loaded from resources as the main window loads them:
// their frames, their place in the boxes of the page, and what animating both costs the
// process over ten seconds (a benchmark-style figure, printed; the bound is loose).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "TestUtil.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "pictures/win/GifImage.h"
#include "pictures/win/GifPainter.h"

namespace kv {
namespace {

constexpr TColor OtherColor = 0x303030;

std::uint64_t ProcessCpu100ns() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) { return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return value(kernel) + value(user);
}

TEST(ProgramPictures, ResourcesHoldTheTwoAnimations) {
  auto image2 = TGIFImage::FromResource(L"IMAGE2");
  ASSERT_EQ(image2->FrameCount(), 18);
  EXPECT_EQ(image2->Width(), 100);
  EXPECT_EQ(image2->Height(), 100);
  for (const GifFrame& f : image2->Gif().Frames) EXPECT_EQ(f.Delay, 21);
  EXPECT_EQ(image2->Gif().Frames[0].LoopCount, std::optional<std::uint16_t>(0));

  auto image3 = TGIFImage::FromResource(L"IMAGE3");
  ASSERT_EQ(image3->FrameCount(), 8);
  EXPECT_EQ(image3->Width(), 80);
  EXPECT_EQ(image3->Height(), 89);
  for (const GifFrame& f : image3->Gif().Frames) EXPECT_EQ(f.Delay, 12);

  EXPECT_EQ(TGIFImage::FromResource(L"NO_SUCH_PICTURE")->FrameCount(), 0);
}

// Both pictures on a page as the main window has them, animating for ten seconds while
// the thread does nothing but run its message loop.
TEST(ProgramPictures, BothAnimatingCostLittleProcessorTime) {
  auto app = std::make_unique<TApplication>();
  app->Initialize();
  app->SetTitle(L"GIF processor time");
  TForm* form = app->CreateForm<TForm>();
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poDesktopCenter);
  form->SetClientSize(240, 250);
  form->SetColor(OtherColor);
  TImage* image2 = form->Make<TImage>();
  image2->SetParent(form);
  image2->SetBounds(8, 8, 100, 100);
  TImage* image3 = form->Make<TImage>();
  image3->SetParent(form);
  image3->SetBounds(8, 128, 105, 105);
  SetGifPicture(image2->Picture(), TGIFImage::FromResource(L"IMAGE2"));
  SetGifPicture(image3->Picture(), TGIFImage::FromResource(L"IMAGE3"));
  int frames2 = 0, frames3 = 0;
  for (auto [image, count] : {std::pair{image2, &frames2}, std::pair{image3, &frames3}}) {
    std::function<void()> repaint = image->Picture().OnChange;
    image->Picture().OnChange = [repaint, count] {
      ++*count;
      repaint();
    };
  }
  form->Show();
  form->Update();
  ASSERT_EQ(TGIFPainter::RunningThreads(), 2);
  // Image3 fills the top-left 80 x 89 of its box; the rest is the page.
  const COLORREF outside = ColorToRgb(OtherColor);
  const std::uint32_t outsideRgb = (GetRValue(outside) << 16) | (GetGValue(outside) << 8) | GetBValue(outside);
  EXPECT_EQ(test::ScreenPixel(form->Handle(), 8 + 95, 128 + 50), outsideRgb);
  EXPECT_EQ(test::ScreenPixel(form->Handle(), 8 + 40, 128 + 100), outsideRgb);
  EXPECT_NE(test::ScreenPixel(form->Handle(), 8 + 40, 128 + 45), outsideRgb);

  frames2 = frames3 = 0;
  const std::uint64_t cpuBefore = ProcessCpu100ns();
  const auto begin = std::chrono::steady_clock::now();
  const auto end = begin + std::chrono::seconds(10);
  for (auto now = begin; now < end; now = std::chrono::steady_clock::now()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left) + 1, QS_ALLINPUT);
    app->ProcessMessages();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const double cpuSeconds = double(ProcessCpu100ns() - cpuBefore) / 1e7;
  const double percent = 100.0 * cpuSeconds / seconds;
  std::printf(
      "[ pictures ] %.2f s: process CPU %.3f s = %.2f %% of one core; "
      "Image2 %d frames (%.0f ms each), Image3 %d frames (%.0f ms each)\n",
      seconds, cpuSeconds, percent, frames2, 1000.0 * seconds / std::max(frames2, 1), frames3,
      1000.0 * seconds / std::max(frames3, 1));
  std::fflush(stdout);
  ::testing::Test::RecordProperty("cpu_percent", std::to_string(percent));
  EXPECT_LT(percent, 10.0);
  // Loose: both animate (about 40 and 70 frames are due in ten seconds).
  EXPECT_GT(frames2, 20);
  EXPECT_GT(frames3, 35);

  const auto quit = std::chrono::steady_clock::now();
  app.reset();
  EXPECT_EQ(TGIFPainter::RunningThreads(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - quit, std::chrono::seconds(2));
}

}  // namespace
}  // namespace kv
