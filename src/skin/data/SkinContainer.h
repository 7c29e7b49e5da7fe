#pragma once
// The skin container: a 4-byte unpacked size U, then an LZH stream of U bytes holding a
// 16-byte header (version 20000, name-list length L, entry count, data length), the
// names as CR LF lines, one int32 size per name, and the entries' bytes back to back.
// docs/skin-container.md describes the layout in full.
//
//   ParseSkinImage  checks and reads the directory of an unpacked image
//   UnpackSkinImage unpacks a container as far as its directory reaches, checking as it goes
//   TSkinMessenger  how the reader shows its one message (a message box on Windows)
//   TSkinReader     unpacks a container and hands out entries by name
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::uint32_t kSkinVersion = 20000;
inline constexpr int kSkinMaxEntries = 1001;
inline constexpr std::size_t kSkinHeaderSize = 16;
inline constexpr const char* kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

// No complete stream expands more than 48-fold (a match of at most 60 bytes costs at
// least 10 bits), so a declared size beyond this many bytes per stream byte can only be
// hostile: such a container is refused before anything is allocated for it.
inline constexpr std::uint64_t kLzhMaxExpansion = 64;

// The largest unpacked image a reader takes. The program's own skin unpacks to 216 KB;
// 64 MB is far more than the pictures of any window skin, and a hostile container
// cannot make the reader decode or hold more than this.
inline constexpr std::uint64_t kSkinMaxImageSize = std::uint64_t(64) << 20;

enum class TSkinImageStatus {
  isValid,
  isOlderVersion,
  isMalformed,
  isNotContainer,  // no size word, or one no stream of that length can fill
  isOversized,     // unpacks to more than kSkinMaxImageSize
};

struct TSkinDirectory {
  std::array<std::uint8_t, kSkinHeaderSize> FHeader{};
  std::vector<std::string> FNames;   // as stored (not yet lower-cased)
  std::vector<std::int32_t> FSizes;  // one per name, none negative
  std::size_t FDataOffset = 0;       // 16 + L + 4n
};

// Reads the directory of an unpacked image. Anything that does not fit the image (a
// negative length or size, more than 1001 entries, sizes that run past the data area)
// makes the whole image malformed; nothing is read outside `image`. The version is
// checked before the size limit, so an older skin is told apart even when oversized.
TSkinImageStatus ParseSkinImage(std::string_view image, TSkinDirectory& directory);

// Unpacks `container` with the checks of ParseSkinImage applied as soon as each part is
// decoded: the header first, then the name list, then the sizes. A refused container
// costs no more than decoding that much, and decoding ends with the last entry, so
// `image` holds the image up to there (bytes the declared size has beyond that are never
// read by anyone). On any status but isValid, `image` and `directory` are empty.
// ElzhException and std::bad_alloc propagate.
TSkinImageStatus UnpackSkinImage(std::string_view container, std::string& image, TSkinDirectory& directory);

// Splits a name list into lines: CR, LF or CR LF end a line and a last line without an
// end still counts, so "a\r\nb\r\n" holds two names.
std::vector<std::string> SplitNameList(std::string_view text);

class TSkinMessenger {
 public:
  virtual ~TSkinMessenger() = default;
  virtual void ShowSkinMessage(std::string_view text) = 0;
};

class TSkinReader {
 public:
  explicit TSkinReader(TSkinMessenger* messenger = nullptr) : FMessenger(messenger) {}

  // Unpacks `container` (UnpackSkinImage) and reads its directory. False (and no skin)
  // for a version other than 20000, after the "older skin" message, and silently for
  // any other refusal. ElzhException and std::bad_alloc propagate.
  bool Open(std::string_view container);
  // What Open does with an image UnpackSkinImage has accepted: keeps its entries.
  void Assign(std::string image, const TSkinDirectory& directory);

  // Reads U from the first four bytes of `source` and decodes the rest into `target`
  // (exactly U bytes). False, with `target` empty, when U is missing, negative, larger
  // than the stream could ever hold or larger than kSkinMaxImageSize.
  static bool Decompress(std::string_view source, std::string& target);

  // Copies the first entry named `name` (compared lower-cased) into `out`; an unknown
  // name or an entry of size 0 leaves `out` empty.
  void ReadEntry(std::string_view name, std::string& out) const;

  // Copies the first entry whose lower-cased name contains `fragment` (as given, case
  // and all) into `out` and sets `name` to that entry's name; without a match `out` is
  // empty, `name` keeps its value and the result is false.
  bool FindEntry(std::string_view fragment, std::string& out, std::string& name) const;

  const std::vector<std::string>& Names() const { return FNames; }
  int EntryCount() const { return int(FNames.size()); }
  std::span<const std::int32_t> EntrySizes() const { return {FEntrySizes.data(), FNames.size()}; }
  const std::string& Data() const { return FData; }
  const std::array<std::uint8_t, kSkinHeaderSize>& Header() const { return FHeader; }

 private:
  void Clear();
  void CopyEntry(std::size_t index, std::string& out) const;

  TSkinMessenger* FMessenger;
  std::vector<std::string> FNames;
  std::array<std::int32_t, kSkinMaxEntries> FEntrySizes{};
  std::string FData;
  std::array<std::uint8_t, kSkinHeaderSize> FHeader{};
};

}  // namespace kv
