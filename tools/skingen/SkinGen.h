#pragma once
// The skin generator: the definition text and every picture of the program's own skin
// (koravent) and of a dark second skin (midnight), the contact sheet and the mock-ups a
// person judges them by.
//
//   skingen [--skin NAME] OUTDIR            writes NAME.ini and the BMPs (pack with skintool)
//   skingen [--skin NAME] --sheet OUT.bmp   every picture at 3x on one sheet, frames marked
//   skingen [--skin NAME] --mockup OUT.bmp  the pieces put together: a window, buttons, tabs, ...
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SkinPictures.h"
#include "skin/data/PixelBitmap.h"
#include "skin/data/SkinPacker.h"

namespace kv::skingen {

// "koravent" or "midnight"; nothing for any other text.
std::optional<TSkinName> SkinNamed(std::string_view name);
// The definition's entry name: "koravent.ini", "midnight.ini".
std::string DefinitionName(TSkinName skin);

std::string MakeSkinDefinition(TSkinName skin = TSkinName::snKoravent);

// The skin's files in the order `skintool pack` stores a folder: the definition, then
// the pictures (24-bit BMPs) by name.
std::vector<TSkinFile> MakeSkinFiles(TSkinName skin = TSkinName::snKoravent);

// Writes MakeSkinFiles into `dir` (created when missing). False with `error` set on failure.
bool WriteSkinFolder(const std::filesystem::path& dir, std::string& error, TSkinName skin = TSkinName::snKoravent);

// Every picture at `zoom` on a neutral sheet, each frame outlined by a light grid.
TPixelBitmap RenderContactSheet(const std::vector<TSkinPicture>& pictures, int zoom);

// Mock-ups drawn from the pictures with the skin drawing routines.
TPixelBitmap RenderMockups(const std::vector<TSkinPicture>& pictures, TSkinName skin = TSkinName::snKoravent);

std::string MakeKoraventDefinition();
std::string MakeMidnightDefinition();

}  // namespace kv::skingen
