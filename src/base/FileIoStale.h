#pragma once
// Shared by the two platform halves of the file replacement: finding the temporary files
// a save that was killed before its rename left beside the target.
#include <chrono>
#include <filesystem>

namespace kv {

// A save takes well under a second; a temporary this old belongs to a save that died.
inline constexpr std::chrono::minutes kStaleTemporaryAge{5};

// True when `name` is exactly what our writer names a temporary for a target called
// `targetName` (defined by each platform half).
bool IsOurTemporaryName(const std::filesystem::path& name, const std::filesystem::path& targetName);

// Removes the plain files beside `target` that IsOurTemporaryName() claims and that were
// last written more than kStaleTemporaryAge ago. Best effort: failures are ignored.
void RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace kv
