#pragma once
// The Koravent skin generator: the definition text and every picture of the program's
// own skin, the contact sheet and the mock-ups a person judges it by.
//
//   skingen OUTDIR            writes koravent.ini and the BMPs (pack with skintool)
//   skingen --sheet OUT.bmp   every picture at 3x on one sheet, frames marked
//   skingen --mockup OUT.bmp  the pieces put together: a window, buttons, tabs, ...
#include <filesystem>
#include <string>
#include <vector>

#include "SkinPictures.h"
#include "skin/data/PixelBitmap.h"
#include "skin/data/SkinPacker.h"

namespace kv::skingen {

inline constexpr const char* kDefinitionName = "koravent.ini";

std::string MakeSkinDefinition();

// The skin's files in the order `skintool pack` stores a folder: the definition, then
// the pictures (24-bit BMPs) by name.
std::vector<TSkinFile> MakeSkinFiles();

// Writes MakeSkinFiles into `dir` (created when missing). False with `error` set on failure.
bool WriteSkinFolder(const std::filesystem::path& dir, std::string& error);

// Every picture at `zoom` on a neutral sheet, each frame outlined by a light grid.
TPixelBitmap RenderContactSheet(const std::vector<TSkinPicture>& pictures, int zoom);

// Mock-ups drawn from the pictures with the skin drawing routines.
TPixelBitmap RenderMockups(const std::vector<TSkinPicture>& pictures);

}  // namespace kv::skingen
