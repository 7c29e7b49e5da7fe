#pragma once
// The midnight skin's colours and frame geometry, shared by its pictures, its definition
// text and the mock-ups. The face is the colour set's ButtonFace; text is light.
#include "SkinPaint.h"

namespace kv::skingen {

inline constexpr TRgb kNightFace{38, 42, 54};
inline constexpr TRgb kNightFaceDeep{28, 31, 41};  // shades under raised lines
inline constexpr TRgb kNightWell{26, 29, 38};      // inside edits and grooves
inline constexpr TRgb kNightEdge{86, 96, 118};     // outlines of controls
inline constexpr TRgb kNightEdgeDisabled{58, 63, 76};
inline constexpr TRgb kNightGlyph{214, 222, 236};  // arrows and marks
inline constexpr TRgb kNightGlyphDisabled{96, 102, 118};
inline constexpr TRgb kNightAccent{88, 160, 232};  // hot outlines
inline constexpr TRgb kNightAccentDeep{46, 112, 196};
inline constexpr TRgb kNightAccentGlow{150, 204, 255};  // marks that are on
inline constexpr TRgb kNightTrack{30, 33, 43};          // scroll-bar track
inline constexpr TRgb kNightPage{74, 82, 102};          // the tab page's outline
inline constexpr TRgb kNightMenuBar{30, 33, 43};
inline constexpr TRgb kNightPopup{32, 36, 46};

inline constexpr int kNightCaption = 26;     // caption rows
inline constexpr int kNightSide = 5;         // side border width
inline constexpr int kNightBottom = 5;       // bottom border rows
inline constexpr double kNightRadius = 10;   // every window corner; wider than the borders
inline constexpr int kNightButtonSize = 16;  // round caption buttons
inline constexpr int kNightButtonTop = 5;    // their caption row

}  // namespace kv::skingen
