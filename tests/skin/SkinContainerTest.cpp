// The skin container: directory rules, entry lookup and hostile containers.
#include <gtest/gtest.h>

#include <cstring>

#include "TestData.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinPacker.h"
#include "support/RecordingMessenger.h"

namespace kv {
namespace {

using testing::TRecordingMessenger;

void PutU32(std::string& image, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) image[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

std::string ContainerOf(const std::string& image) { return PackSkinImage(image); }

// A container whose size word claims `declared` bytes although its stream encodes only
// `image`: zero bytes, which decode to junk, make the stream long enough for the claim.
std::string Claiming(const std::string& image, std::uint64_t declared) {
  std::string stream = LzhEncode(image);
  const std::size_t needed = std::size_t(declared / kLzhMaxExpansion);
  if (stream.size() < needed) stream.append(needed - stream.size(), '\0');
  std::string container(4, '\0');
  PutU32(container, 0, std::uint32_t(declared));
  return container + stream;
}

std::vector<TSkinFile> SampleFiles() {
  return {{"Skin.INI", test::SampleText(700)},
          {"bg-Tabs.bmp", test::BmpLikeBytes(30, 10, 1)},
          {"empty.bmp", ""},
          {"combo.bmp", test::BmpLikeBytes(17, 5, 2)},
          {"COMBO.BMP", "second"}};
}

TEST(SkinReader, ReadsEntriesByLowerCasedName) {
  const auto files = SampleFiles();
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(BuildSkinContainer(files)));
  EXPECT_EQ(reader.EntryCount(), 5);
  EXPECT_EQ(reader.Names(),
            (std::vector<std::string>{"skin.ini", "bg-tabs.bmp", "empty.bmp", "combo.bmp", "combo.bmp"}));
  std::string out = "junk";
  reader.ReadEntry("bg-Tabs.bmp", out);
  EXPECT_EQ(out, files[1].FData);
  reader.ReadEntry("BG-TABS.BMP", out);
  EXPECT_EQ(out, files[1].FData);
  reader.ReadEntry("combo.bmp", out);  // the first of two equal names wins
  EXPECT_EQ(out, files[3].FData);
  reader.ReadEntry("empty.bmp", out);
  EXPECT_TRUE(out.empty());
  out = "junk";
  reader.ReadEntry("missing.bmp", out);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(reader.Data().size(), files[0].FData.size() + files[1].FData.size() + files[3].FData.size() + 6);
}

TEST(SkinReader, FindEntryMatchesAFragmentOfTheLowerCasedName) {
  const auto files = SampleFiles();
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(BuildSkinContainer(files)));
  std::string out;
  std::string name = "before";
  EXPECT_TRUE(reader.FindEntry(".ini", out, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(out, files[0].FData);
  name = "before";
  EXPECT_FALSE(reader.FindEntry(".INI", out, name));  // the fragment is not lower-cased
  EXPECT_EQ(name, "before");
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(reader.FindEntry("mbo", out, name));
  EXPECT_EQ(out, files[3].FData);
  EXPECT_FALSE(reader.FindEntry("", out, name));
}

TEST(SkinReader, NameListLineEnds) {
  EXPECT_EQ(SplitNameList("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitNameList("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitNameList("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitNameList("\n\r"), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitNameList("").empty());
}

TEST(SkinReader, NameListWithoutFinalLineBreak) {
  std::string image = BuildSkinImage({{"a.ini", "AAAA"}, {"b.bmp", "BB"}});
  // Drop the final CR LF of the list: the list shrinks by two bytes.
  const std::size_t listEnd = 16 + std::strlen("a.ini\r\nb.bmp\r\n");
  image.erase(listEnd - 2, 2);
  PutU32(image, 4, std::uint32_t(listEnd - 2 - 16));
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(ContainerOf(image)));
  std::string out;
  reader.ReadEntry("b.bmp", out);
  EXPECT_EQ(out, "BB");
}

TEST(SkinReader, OlderVersionShowsTheMessageAndKeepsNoSkin) {
  TRecordingMessenger messenger;
  TSkinReader reader(&messenger);
  ASSERT_TRUE(reader.Open(BuildSkinContainer(SampleFiles())));
  std::string image = BuildSkinImage(SampleFiles());
  PutU32(image, 0, 19999);
  EXPECT_FALSE(reader.Open(ContainerOf(image)));
  ASSERT_EQ(messenger.FMessages.size(), 1u);
  EXPECT_EQ(messenger.FMessages[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.EntryCount(), 0);
  EXPECT_TRUE(reader.Data().empty());
}

TEST(SkinReader, HeaderIsKeptAndDecompressGivesExactlyTheImage) {
  const auto files = SampleFiles();
  const std::string image = BuildSkinImage(files);
  std::string target;
  ASSERT_TRUE(TSkinReader::Decompress(ContainerOf(image), target));
  EXPECT_TRUE(target == image);
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(ContainerOf(image)));
  EXPECT_EQ(std::memcmp(reader.Header().data(), image.data(), 16), 0);
}

TEST(SkinReader, ThousandAndOneEntriesAreTheLimit) {
  std::vector<TSkinFile> files;
  for (int i = 0; i < kSkinMaxEntries; ++i) files.push_back({"f" + std::to_string(i) + ".bmp", std::to_string(i)});
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(BuildSkinContainer(files)));
  std::string out;
  reader.ReadEntry("f1000.bmp", out);
  EXPECT_EQ(out, "1000");

  // One more name in the list (with its size) is refused as a whole.
  std::string image = BuildSkinImage(files);
  const std::size_t listLength = std::uint8_t(image[4]) | std::uint8_t(image[5]) << 8 | std::uint8_t(image[6]) << 16;
  image.insert(16 + listLength + 4 * files.size(), std::string(4, '\0'));
  image.insert(16 + listLength, "extra.bmp\r\n");
  PutU32(image, 4, std::uint32_t(listLength + 11));
  EXPECT_FALSE(reader.Open(ContainerOf(image)));
  EXPECT_EQ(reader.EntryCount(), 0);
}

TEST(SkinReader, HostileDirectoriesAreRefusedWhole) {
  const std::string good = BuildSkinImage({{"a.ini", "AAAA"}, {"b.bmp", "BB"}});
  const std::size_t sizesAt = 16 + std::strlen("a.ini\r\nb.bmp\r\n");
  TRecordingMessenger messenger;
  TSkinReader reader(&messenger);
  auto refused = [&](std::string image) { return !reader.Open(ContainerOf(image)) && reader.EntryCount() == 0; };

  std::string overrun = good;
  PutU32(overrun, sizesAt + 4, 3);  // 4 + 3 bytes asked, 6 present
  EXPECT_TRUE(refused(overrun));
  std::string negative = good;
  PutU32(negative, sizesAt, 0xFFFFFFFF);
  EXPECT_TRUE(refused(negative));
  std::string wrapping = good;  // two sizes whose 32-bit sum would wrap to a small value
  PutU32(wrapping, sizesAt, 0x7FFFFFFF);
  PutU32(wrapping, sizesAt + 4, 0x7FFFFFFF);
  EXPECT_TRUE(refused(wrapping));
  std::string longList = good;
  PutU32(longList, 4, 1000);
  EXPECT_TRUE(refused(longList));
  std::string negativeList = good;
  PutU32(negativeList, 4, 0x80000000);
  EXPECT_TRUE(refused(negativeList));
  EXPECT_TRUE(refused(good.substr(0, 12)));           // header cut short
  EXPECT_TRUE(refused(good.substr(0, sizesAt + 2)));  // sizes cut short
  EXPECT_TRUE(refused(""));
  EXPECT_TRUE(messenger.FMessages.empty());     // only an older version speaks
  EXPECT_TRUE(reader.Open(ContainerOf(good)));  // sizes may use the whole data area
}

TEST(SkinReader, HostileSizeWordsAreRefusedBeforeDecoding) {
  TSkinReader reader;
  std::string target = "x";
  EXPECT_FALSE(TSkinReader::Decompress("", target));
  EXPECT_TRUE(target.empty());
  EXPECT_FALSE(TSkinReader::Decompress(std::string("\x10\x00\x00", 3), target));
  EXPECT_FALSE(TSkinReader::Decompress(std::string("\xFF\xFF\xFF\xFF", 4) + "abc", target));
  // 1 GB claimed for a 10-byte stream.
  EXPECT_FALSE(TSkinReader::Decompress(std::string("\x00\x00\x00\x40", 4) + std::string(10, 'z'), target));
  EXPECT_FALSE(reader.Open(std::string("\x00\x00\x00\x40", 4) + std::string(10, 'z')));
}

TEST(SkinReader, DecodingEndsWithTheLastEntryAndOversizedImagesAreRefused) {
  const auto files = SampleFiles();
  const std::string image = BuildSkinImage(files);
  std::size_t dataSize = 0;
  for (const TSkinFile& f : files) dataSize += f.FData.size();
  TRecordingMessenger messenger;
  TSkinReader reader(&messenger);

  // 32 MB claimed beyond the entries: what lies past the last entry is never decoded.
  ASSERT_TRUE(reader.Open(Claiming(image, image.size() + (32u << 20))));
  EXPECT_EQ(reader.Data().size(), dataSize);
  std::string out;
  reader.ReadEntry("bg-tabs.bmp", out);
  EXPECT_EQ(out, files[1].FData);
  std::string unpacked;
  TSkinDirectory directory;
  ASSERT_EQ(UnpackSkinImage(Claiming(image, kSkinMaxImageSize), unpacked, directory), TSkinImageStatus::isValid);
  EXPECT_TRUE(unpacked == image);
  EXPECT_EQ(directory.FNames.size(), files.size());

  // One byte more than any skin may unpack to: refused once the header is read, silently.
  const std::string oversized = Claiming(image, kSkinMaxImageSize + 1);
  EXPECT_EQ(UnpackSkinImage(oversized, unpacked, directory), TSkinImageStatus::isOversized);
  EXPECT_TRUE(unpacked.empty());
  EXPECT_TRUE(directory.FNames.empty());
  EXPECT_FALSE(reader.Open(oversized));
  EXPECT_EQ(reader.EntryCount(), 0);
  EXPECT_FALSE(TSkinReader::Decompress(oversized, unpacked));
  EXPECT_TRUE(messenger.FMessages.empty());

  // An older skin is still told as one, however large it claims to be.
  std::string older = image;
  PutU32(older, 0, 19999);
  EXPECT_EQ(UnpackSkinImage(Claiming(older, kSkinMaxImageSize + 1), unpacked, directory),
            TSkinImageStatus::isOlderVersion);
  EXPECT_FALSE(reader.Open(Claiming(older, kSkinMaxImageSize + 1)));
  EXPECT_EQ(messenger.FMessages, std::vector<std::string>{kOlderSkinMessage});
}

// Unpacking step by step applies exactly the rules of reading a whole image.
TEST(SkinReader, UnpackingChecksAsParsingDoes) {
  const std::string good = BuildSkinImage({{"a.ini", "AAAA"}, {"b.bmp", "BB"}});
  const std::size_t sizesAt = 16 + std::strlen("a.ini\r\nb.bmp\r\n");
  std::vector<std::string> images = {good, good.substr(0, 3), good.substr(0, 12), good.substr(0, sizesAt + 2)};
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint32_t>>{
           {0, 19999}, {4, 1000}, {4, 0x80000000}, {4, 0}, {sizesAt, 0xFFFFFFFF}, {sizesAt + 4, 3}, {sizesAt + 4, 1}}) {
    std::string image = good;
    PutU32(image, at, value);
    images.push_back(image);
  }
  for (const std::string& image : images) {
    SCOPED_TRACE(::testing::PrintToString(image));
    TSkinDirectory parsed, unpackedDirectory;
    std::string unpacked;
    const TSkinImageStatus status = ParseSkinImage(image, parsed);
    ASSERT_EQ(UnpackSkinImage(ContainerOf(image), unpacked, unpackedDirectory), status);
    EXPECT_EQ(unpackedDirectory.FNames, parsed.FNames);
    EXPECT_EQ(unpackedDirectory.FSizes, parsed.FSizes);
    EXPECT_EQ(unpackedDirectory.FDataOffset, parsed.FDataOffset);
    if (status != TSkinImageStatus::isValid) continue;
    std::size_t end = parsed.FDataOffset;
    for (std::int32_t size : parsed.FSizes) end += std::size_t(size);
    EXPECT_EQ(unpacked, image.substr(0, end));
  }
  std::string unpacked;
  TSkinDirectory directory;
  EXPECT_EQ(UnpackSkinImage("abc", unpacked, directory), TSkinImageStatus::isNotContainer);
  EXPECT_EQ(UnpackSkinImage(std::string("\x00\x00\x00\x40", 4) + "zz", unpacked, directory),
            TSkinImageStatus::isNotContainer);
}

// A file cut short would decode to made-up bytes past its end: no skin rather than half.
TEST(SkinReader, TruncatedContainerIsRefused) {
  const std::string container = BuildSkinContainer(SampleFiles());
  std::string target;
  ASSERT_TRUE(TSkinReader::Decompress(container, target));
  EXPECT_EQ(target, BuildSkinImage(SampleFiles()));
  for (std::size_t cut : {std::size_t(2), std::size_t(20), container.size() / 2}) {
    SCOPED_TRACE(cut);
    const std::string shorter = container.substr(0, container.size() - cut);
    EXPECT_FALSE(TSkinReader::Decompress(shorter, target));
    std::string image;
    TSkinDirectory directory;
    EXPECT_EQ(UnpackSkinImage(shorter, image, directory), TSkinImageStatus::isMalformed);
    TRecordingMessenger messenger;
    TSkinReader reader(&messenger);
    EXPECT_FALSE(reader.Open(shorter));
    EXPECT_TRUE(messenger.FMessages.empty());
  }
}

TEST(SkinPacker, RefusesNamesThatCannotBeListed) {
  EXPECT_THROW(BuildSkinImage({{"a\r\nb", "x"}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinImage({{"", "x"}}), std::invalid_argument);
  std::vector<TSkinFile> many(kSkinMaxEntries + 1, TSkinFile{"a", ""});
  EXPECT_THROW(BuildSkinImage(many), std::invalid_argument);
}

}  // namespace
}  // namespace kv
