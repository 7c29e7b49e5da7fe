#pragma once
// `skintool check`: the model a skin container gives, in words, and what is wrong with it.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "SkinOpened.h"

namespace kv {

enum class TProblemKind {
  pkNoDefinition,       // no entry name contains ".ini"
  pkNotBmpReference,    // the reference cannot give a picture (extension not exactly ".bmp")
  pkMissingPicture,     // no such entry, or an empty one
  pkUnreadablePicture,  // the entry is not a BMP the reader takes
  pkFrameCount,         // fewer than one frame
  pkFrameWidth,         // the strip does not divide into its frames
  pkNegativeMargin,
  pkMarginsTooLarge,    // the fixed parts do not fit into one frame
  pkUnreferencedEntry,  // nothing in the definition names the entry
  pkShadowedEntry,      // an earlier entry has the same name, so this one is never read
  pkHiResSize,          // a `name@2x.bmp` that is not exactly twice the size of `name.bmp`
};

struct TSkinProblem {
  TProblemKind FKind;
  std::string FSubject;  // the entry name or the reference concerned
  std::string FText;     // one line for the reader
};

// Entries nothing reads count as problems unless a comment line of the definition names
// them (a picture kept for a switched-off option): those are only listed as spare.
std::vector<TSkinProblem> FindSkinProblems(const TOpenedSkin& skin);
std::vector<std::string> SpareEntries(const TOpenedSkin& skin);

// Name, records, caption buttons, title, colours, then the problems.
void WriteSkinReport(const TOpenedSkin& skin, const std::vector<TSkinProblem>& problems, std::ostream& out);

// "R,G,B", "system colour N", or "not given" for the title's unset colours.
std::string ColourText(TSkinColour colour);

// The whole command: 0 without problems, 1 with problems, 2 when the container cannot be
// read or the program would keep no skin from it (the reason goes to `err`).
int CheckSkin(std::string_view container, std::ostream& out, std::ostream& err,
              std::int64_t pixelBudget = kSkinMaxTotalPixels);

}  // namespace kv
