#include "settings/ProcessMatch.h"

#include "base/ByteText.h"

namespace kv {

std::string_view FileNamePart(std::string_view exeName) {
  const std::size_t cut = exeName.find_last_of("\\:");
  return cut == std::string_view::npos ? exeName : exeName.substr(cut + 1);
}

bool ProcessNameMatches(std::string_view exeName, std::string_view wanted) {
  return SameTextAscii(FileNamePart(exeName), wanted) || SameTextAscii(exeName, wanted);
}

}  // namespace kv
