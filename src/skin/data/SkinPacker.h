#pragma once
// Building skin containers, for the tools only (the program never writes one).
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct TSkinFile {
  std::string FName;  // a plain file name: no line breaks, no path
  std::string FData;
};

// The unpacked image: header (version 20000, name-list length, entry count, data
// length), names as CR LF lines, int32 sizes, data. Throws std::invalid_argument for a
// name holding CR or LF, an empty name, more than 1001 files or more than 2 GB in all.
std::string BuildSkinImage(const std::vector<TSkinFile>& files);

// The stored container: the image's size as int32, then the image LZH-encoded.
std::string BuildSkinContainer(const std::vector<TSkinFile>& files);

// Same, from an image already built.
std::string PackSkinImage(std::string_view image);

}  // namespace kv
