// The start-up switches: pages by number or name, the flags, the quit timer, and the
// mistakes that must stop the program before it starts.
#include <gtest/gtest.h>

#include "gallery/Gallery.h"

namespace kv {
namespace {

TEST(GalleryOptions, NothingGivenStartsOnTheFirstPageAndStays) {
  const TParsedOptions parsed = ParseGalleryArgs({});
  EXPECT_TRUE(parsed.Error.empty());
  EXPECT_EQ(parsed.Options.Page, 0);
  EXPECT_FALSE(parsed.Options.Mdi || parsed.Options.Dialog || parsed.Options.Shot);
  EXPECT_EQ(parsed.Options.QuitAfter, 0u);
}

TEST(GalleryOptions, PagesByNumberFromOneOrByNameInAnyCase) {
  EXPECT_EQ(ParseGalleryArgs({L"--page", L"1"}).Options.Page, 0);
  EXPECT_EQ(ParseGalleryArgs({L"--page", L"5"}).Options.Page, 4);
  EXPECT_EQ(ParseGalleryArgs({L"--page", L"lists"}).Options.Page, 2);
  EXPECT_EQ(ParseGalleryArgs({L"--page", L"RANGES"}).Options.Page, 3);
  for (const wchar_t* wrong : {L"0", L"6", L"-1", L"", L"List", L"99999999999999999999"}) {
    const TParsedOptions parsed = ParseGalleryArgs({L"--page", wrong});
    EXPECT_FALSE(parsed.Error.empty()) << "page \"" << std::wstring(wrong).size() << "\"";
    EXPECT_EQ(parsed.Options.Page, 0);
  }
  EXPECT_FALSE(ParseGalleryArgs({L"--page"}).Error.empty()) << "the value is missing";
}

TEST(GalleryOptions, FlagsAndTheQuitTimerTogetherInAnyOrder) {
  const TParsedOptions parsed =
      ParseGalleryArgs({L"--quit-after", L"2500", L"--shot", L"--dialog", L"--page", L"Tabs", L"--mdi"});
  EXPECT_TRUE(parsed.Error.empty());
  EXPECT_TRUE(parsed.Options.Mdi);
  EXPECT_TRUE(parsed.Options.Dialog);
  EXPECT_TRUE(parsed.Options.Shot);
  EXPECT_EQ(parsed.Options.QuitAfter, 2500u);
  EXPECT_EQ(parsed.Options.Page, 4);
}

TEST(GalleryOptions, MistakesAreNamedAndTheFirstOneWins) {
  for (std::vector<std::wstring> args : std::vector<std::vector<std::wstring>>{{L"--quit-after"},
                                                                               {L"--quit-after", L"soon"},
                                                                               {L"--quit-after", L"-5"},
                                                                               {L"--quit-after", L"1e3"},
                                                                               {L"--quit-after", L"86400001"},
                                                                               {L"--bogus"},
                                                                               {L"-page", L"2"},
                                                                               {L"--MDI"}}) {
    EXPECT_FALSE(ParseGalleryArgs(args).Error.empty()) << args.size() << " arguments";
  }
  EXPECT_EQ(ParseGalleryArgs({L"--quit-after", L"86400000"}).Options.QuitAfter, 86400000u) << "a day is allowed";
  const TParsedOptions two = ParseGalleryArgs({L"--what", L"--page", L"nine"});
  EXPECT_NE(two.Error.find(L"--what"), std::wstring::npos);
  // A value that is wrong is not read again as a switch.
  const TParsedOptions swallowed = ParseGalleryArgs({L"--quit-after", L"--mdi"});
  EXPECT_FALSE(swallowed.Error.empty());
  EXPECT_FALSE(swallowed.Options.Mdi);
}

}  // namespace
}  // namespace kv
