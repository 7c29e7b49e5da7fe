#pragma once
// The skin's colours, in one place so the pieces stay consistent. The face is the
// colour set's ButtonFace; the accent family runs from the colour set's Hilight
// (133, 174, 194) down to its Scrollbar colour (0, 74, 128).
#include "SkinPaint.h"
#include "SkinPictures.h"

namespace kv::skingen {

inline constexpr TRgb kFaceLight{246, 243, 232};
inline constexpr TRgb kFaceShade{226, 221, 202};
inline constexpr TRgb kWell{252, 252, 250};  // what edits and lists are filled with

inline constexpr TRgb kEdge{122, 138, 150};      // outlines of controls
inline constexpr TRgb kEdgeSoft{196, 192, 176};  // dividers, group frames
inline constexpr TRgb kEdgeDisabled{190, 186, 172};
inline constexpr TRgb kGlyph{52, 60, 68};  // arrows and marks
inline constexpr TRgb kGlyphDisabled{168, 164, 150};

inline constexpr TRgb kHilight{133, 174, 194};
inline constexpr TRgb kAccent{66, 126, 166};    // hot outlines
inline constexpr TRgb kAccentDeep{0, 74, 128};  // pressed outlines, check marks
inline constexpr TRgb kAccentPale{222, 236, 244};

inline constexpr TRgb kTrack{236, 232, 218};  // scroll-bar track

// The caption strip (30 rows), active or not; row 0 is the outline, 29 the bottom line.
TRgb CaptionRow(int y, bool active);
// The side and bottom border rings from the outside in: outline, light, mid, inner line.
TRgb BorderRing(int ring, bool active);

// Pictures by group (each adds to `out`).
void AddFramePictures(std::vector<TSkinPicture>& out);
void AddMenuPictures(std::vector<TSkinPicture>& out);
void AddButtonPictures(std::vector<TSkinPicture>& out);
void AddControlPictures(std::vector<TSkinPicture>& out);

}  // namespace kv::skingen
