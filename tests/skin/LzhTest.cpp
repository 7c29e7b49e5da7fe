// The LZH decoder against our encoder, hand-built streams and hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "LzhStreamBuilder.h"
#include "TestData.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/LzhTree.h"

namespace kv {
namespace {

using test::TLzhStreamBuilder;

// The meaning of a match, byte by byte, so that a match may overlap its own output.
void AppendMatch(std::string& text, int length, int distance) {
  for (int k = 0; k < length; ++k) text.push_back(text[text.size() - std::size_t(distance)]);
}

void ExpectRoundTrip(const std::string& data) {
  const std::string stream = LzhEncode(data);
  const std::string back = LzhDecode(stream, std::uint32_t(data.size()));
  ASSERT_EQ(back.size(), data.size());
  EXPECT_TRUE(back == data) << "first difference at "
                            << (std::mismatch(back.begin(), back.end(), data.begin()).first - back.begin());
}

TEST(LzhRoundTrip, SmallInputs) {
  ExpectRoundTrip("");
  ExpectRoundTrip("x");
  ExpectRoundTrip(std::string(1, '\0'));
  ExpectRoundTrip("abc");
  ExpectRoundTrip(std::string(61, ' '));  // matches the spaces the window starts with
}

TEST(LzhRoundTrip, TextBmpAndRandomData) {
  ExpectRoundTrip(test::SampleText(50000));
  ExpectRoundTrip(test::BmpLikeBytes(97, 61, 3));
  ExpectRoundTrip(test::RandomBytes(20000, 7));
}

TEST(LzhRoundTrip, RunsAndWindowWrap) {
  ExpectRoundTrip(std::string(100000, 'a'));  // every match 60 long
  std::string mixed;
  for (int i = 0; i < 3000; ++i) mixed += test::RandomBytes(7, i % 40) + "pattern";
  ExpectRoundTrip(mixed);  // repeats far back, near the 4096-byte reach
}

TEST(LzhRoundTrip, LongEnoughForSeveralTreeRebuilds) {
  // 300 000 literals carry the root past 0x8000 about a dozen times.
  std::string data = test::RandomBytes(300000, 11);
  data += test::BmpLikeBytes(300, 200, 5);
  ExpectRoundTrip(data);
}

TEST(LzhRoundTrip, EncoderCompressesRepetitiveData) {
  const std::string data = test::BmpLikeBytes(200, 100, 1);
  EXPECT_LT(LzhEncode(data).size(), data.size() / 3);
}

TEST(LzhTree, KeepsSiblingOrderThroughRebuilds) {
  TLzhTree tree;
  tree.Start();
  std::mt19937 rng(5);
  int rebuilds = 0;
  for (int n = 0; n < 200000; ++n) {
    const int before = tree.FFreq[kLzhRoot];
    // Skewed: a few symbols very often, so the tree changes shape a lot.
    const int symbol = (rng() % 4 != 0) ? int(rng() % 8) : int(rng() % kLzhSymbols);
    tree.Update(symbol);
    if (tree.FFreq[kLzhRoot] < before) ++rebuilds;
  }
  EXPECT_GE(rebuilds, 5);
  for (int i = 0; i + 1 < kLzhNodes; ++i) ASSERT_LE(tree.FFreq[i], tree.FFreq[i + 1]) << i;
  std::vector<int> leafOf(kLzhSymbols, -1);
  for (int i = 0; i < kLzhNodes; ++i) {
    const int son = tree.FSon[i];
    if (son >= kLzhNodes) {
      leafOf[son - kLzhNodes] = i;
      ASSERT_EQ(tree.FPrnt[son], i);
    } else {
      ASSERT_EQ(son % 2, 0);
      ASSERT_EQ(tree.FFreq[i], tree.FFreq[son] + tree.FFreq[son + 1]) << i;
      ASSERT_EQ(tree.FPrnt[son], i);
      ASSERT_EQ(tree.FPrnt[son + 1], i);
    }
  }
  EXPECT_EQ(std::count(leafOf.begin(), leafOf.end(), -1), 0);
  EXPECT_EQ(tree.FFreq[kLzhNodes], 0xFFFF);
}

TEST(LzhTree, PositionTablesFollowTheGroups) {
  EXPECT_EQ(LzhUpperCode(0), 0);
  EXPECT_EQ(LzhUpperCode(31), 0);
  EXPECT_EQ(LzhUpperCode(32), 1);
  EXPECT_EQ(LzhUpperCode(79), 3);
  EXPECT_EQ(LzhUpperCode(80), 4);
  EXPECT_EQ(LzhUpperCode(143), 11);
  EXPECT_EQ(LzhUpperCode(144), 12);
  EXPECT_EQ(LzhUpperCode(191), 23);
  EXPECT_EQ(LzhUpperCode(192), 24);
  EXPECT_EQ(LzhUpperCode(239), 47);
  EXPECT_EQ(LzhUpperCode(240), 48);
  EXPECT_EQ(LzhUpperCode(255), 63);
  EXPECT_EQ(LzhCodeLength(31), 3);
  EXPECT_EQ(LzhCodeLength(32), 4);
  EXPECT_EQ(LzhCodeLength(80), 5);
  EXPECT_EQ(LzhCodeLength(144), 6);
  EXPECT_EQ(LzhCodeLength(192), 7);
  EXPECT_EQ(LzhCodeLength(240), 8);
}

TEST(LzhDecoder, TextSizeZeroReadsAndWritesNothing) {
  int reads = 0;
  int writes = 0;
  TLZH lzh;
  lzh.Unpack(
      0, [&](std::uint8_t*, std::uint16_t, std::uint16_t& done) { ++reads, done = 0; },
      [&](const std::uint8_t*, std::uint16_t count, std::uint16_t& done) { ++writes, done = count; });
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(writes, 0);
}

TEST(LzhDecoder, FirstMatchIntoTheStartWindowGivesSpaces) {
  TLzhStreamBuilder b;
  b.Literal('A');
  b.Match(10, 100);  // reaches back into the spaces before the first byte
  b.Literal('B');
  EXPECT_EQ(LzhDecode(b.Finish(), 12), "A" + std::string(10, ' ') + "B");
}

TEST(LzhDecoder, OverlappingMatchRepeatsThePattern) {
  TLzhStreamBuilder b;
  b.Literal('x');
  b.Literal('y');
  b.Literal('z');
  b.Match(20, 3);
  b.Match(5, 1);
  std::string expected = "xyz";
  AppendMatch(expected, 20, 3);
  AppendMatch(expected, 5, 1);
  EXPECT_EQ(expected.substr(18), "xyzxyyyyyy");
  EXPECT_EQ(LzhDecode(b.Finish(), 28), expected);
}

TEST(LzhDecoder, FarMatchesUseEveryPositionCodeLength) {
  TLzhStreamBuilder b;
  std::string expected;
  const std::string text = test::RandomBytes(4096, 9);
  for (char c : text) b.Literal(std::uint8_t(c));
  expected = text;
  for (int distance : {1, 64, 65, 500, 1025, 2047, 3000, 4000, 4096}) {
    b.Match(3, distance);
    AppendMatch(expected, 3, distance);
  }
  EXPECT_TRUE(LzhDecode(b.Finish(), std::uint32_t(expected.size())) == expected);
}

TEST(LzhDecoder, LastMatchIsWrittenWhole) {
  TLzhStreamBuilder b;
  b.Literal('q');
  b.Match(40, 1);
  const std::string out = LzhDecode(b.Finish(), 5);
  EXPECT_EQ(out, std::string(41, 'q'));
}

TEST(LzhDecoder, TruncatedInputReadsAsZeroBits) {
  const std::string data = test::SampleText(30000);
  const std::string stream = LzhEncode(data);
  const std::string cut = stream.substr(0, stream.size() / 2);
  std::string out;
  ASSERT_NO_THROW(out = LzhDecode(cut, std::uint32_t(data.size())));
  EXPECT_GE(out.size(), data.size());
  EXPECT_EQ(out, LzhDecode(cut + std::string(stream.size(), '\0'), std::uint32_t(data.size())));
  // What the surviving half encodes comes out right.
  const std::size_t good = data.size() / 4;
  EXPECT_EQ(out.substr(0, good), data.substr(0, good));
  // ... and the decoder knows the rest was made up.
  TLzhDecoder decoder(cut);
  decoder.DecodeTo(data.size());
  EXPECT_TRUE(decoder.RanPastInput());
}

// A whole stream never reads past its end, whatever its length and last symbol.
TEST(LzhDecoder, WholeStreamsEndWithinTheirInput) {
  for (std::size_t size : {1u, 2u, 7u, 60u, 61u, 999u, 4097u, 30011u}) {
    for (const std::string& data : {test::SampleText(size), test::BmpLikeBytes(int(size % 97) + 1, 3, 1)}) {
      SCOPED_TRACE(data.size());
      const std::string stream = LzhEncode(data);
      TLzhDecoder decoder(stream);
      decoder.DecodeTo(data.size());
      EXPECT_EQ(decoder.Output().substr(0, data.size()), data);
      EXPECT_FALSE(decoder.RanPastInput());
      if (stream.size() > 3) {
        TLzhDecoder cut(std::string_view(stream).substr(0, stream.size() - 3));
        cut.DecodeTo(data.size());
        EXPECT_TRUE(cut.RanPastInput());
      }
    }
  }
}

TEST(LzhDecoder, ShortReadsAndShortWritesGiveTheSameBytes) {
  const std::string data = test::BmpLikeBytes(120, 40, 2);
  const std::string stream = LzhEncode(data);
  std::size_t pos = 0;
  std::string out;
  TLZH lzh;
  lzh.Unpack(
      std::uint32_t(data.size()),
      [&](std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        done = std::uint16_t(std::min<std::size_t>({count, 3, stream.size() - pos}));
        std::copy_n(stream.data() + pos, done, buffer);
        pos += done;
      },
      [&](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
        done = std::min<std::uint16_t>(count, 7);
        out.append(reinterpret_cast<const char*>(buffer), done);
      });
  EXPECT_TRUE(out == data);
}

TEST(LzhDecoder, DecodingInStepsGoesOnWhereTheLastStepStopped) {
  const std::string data = test::SampleText(5000) + test::BmpLikeBytes(60, 40, 4);
  const std::string stream = LzhEncode(data);
  TLzhDecoder decoder(stream);
  std::size_t furthest = 0;
  for (std::size_t step : {0, 4, 16, 16, 17, 300, 299, 4096, 9000}) {
    decoder.DecodeTo(step);
    furthest = std::max(furthest, step);
    const std::string& out = decoder.Output();
    ASSERT_GE(out.size(), furthest);
    EXPECT_LT(out.size(), furthest + kLzhMaxMatch) << "no more than the match in progress";
    EXPECT_EQ(out, data.substr(0, out.size())) << step;
  }
  decoder.DecodeTo(data.size());
  EXPECT_TRUE(decoder.Output() == data);
  EXPECT_EQ(LzhDecode(stream, std::uint32_t(data.size())), decoder.Output());
}

TEST(LzhDecoder, SourceAndSinkFailuresEndTheRun) {
  const std::string stream = LzhEncode("hello");
  std::size_t pos = 0;
  const TLzhReadProc read = [&](std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
    done = std::uint16_t(std::min<std::size_t>(count, stream.size() - pos));
    std::copy_n(stream.data() + pos, done, buffer);
    pos += done;
  };
  std::string out;
  const TLzhWriteProc write = [&](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
    out.append(reinterpret_cast<const char*>(buffer), count);
    done = count;
  };
  TLZH lzh;
  EXPECT_THROW(lzh.Unpack(
                   10, [](std::uint8_t*, std::uint16_t, std::uint16_t&) { throw std::runtime_error("disk"); }, write),
               std::runtime_error);
  // A sink that takes nothing is a failure, not a silent loss of output.
  EXPECT_THROW(lzh.Unpack(5, read, [](const std::uint8_t*, std::uint16_t, std::uint16_t& done) { done = 0; }),
               ElzhException);
  // The same object decodes normally afterwards: nothing of the failed runs is left.
  pos = 0;
  out.clear();
  lzh.Unpack(5, read, write);
  EXPECT_EQ(out, "hello");
}

}  // namespace
}  // namespace kv
