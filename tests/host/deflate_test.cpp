// The skin reader's Deflate decoder against zlib on what zlib writes, and on
// damaged streams written bit by bit, one field at a time.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/bytes.h"
#include "skin/deflate/inflate.h"

namespace {

using base::Bytes;
using skin::deflate::InflateRaw;
using skin::deflate::TInflateFailure;
using skin::deflate::TInflateResult;

// ---- zlib as the reference -------------------------------------------------

Bytes ZlibDeflateRaw(const Bytes& data, int level, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

Bytes ZlibInflateRaw(const Bytes& packed, std::size_t size) {
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
  Bytes out(size + 1);
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

// ---- corpus ----------------------------------------------------------------

Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

Bytes Text() {
  static const char* const kWords[] = {"skin ", "button ", "title bar ", "menu\r\n", "colour ",
                                       "frame ", "the ", "of ", "picture ", "=", "0x00FF00FF\r\n"};
  std::mt19937 rng(7);
  std::string s;
  while (s.size() < 150000) s += kWords[rng() % std::size(kWords)];
  return Bytes(s.begin(), s.end());
}

Bytes LongRuns() {
  std::mt19937 rng(11);
  Bytes out;
  while (out.size() < 120000) {
    out.insert(out.end(), 1 + rng() % 2000, static_cast<std::uint8_t>(rng()));
  }
  return out;
}

// Far matches: the same random chunk again just inside the 32 KB window.
Bytes WindowEdges() {
  const Bytes chunk = RandomBytes(32000, 3);
  Bytes out;
  for (int i = 0; i < 3; ++i) out.insert(out.end(), chunk.begin(), chunk.end());
  const Bytes tail = RandomBytes(33000, 4);  // just beyond the window: a literal stretch
  out.insert(out.end(), tail.begin(), tail.end());
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

// A real binary: the start of this test program itself (ELF natively, PE
// under Wine), machine code, tables and strings.
Bytes OwnExecutable() {
  std::ifstream in(testing::internal::GetArgvs().at(0), std::ios::binary);
  Bytes out(256 * 1024);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  out.resize(static_cast<std::size_t>(in.gcount()));
  EXPECT_GT(out.size(), 100000u) << "cannot read the test program";
  return out;
}

struct CorpusItem {
  const char* name;
  Bytes data;
};

const std::vector<CorpusItem>& Corpus() {
  static const std::vector<CorpusItem> corpus = {
      {"random", RandomBytes(100000, 1)},
      {"text", Text()},
      {"runs", LongRuns()},
      {"one_byte_258_matches", Bytes(20000, 'a')},
      {"window_edges", WindowEdges()},
      {"own_executable", OwnExecutable()},
      {"empty", {}},
      {"one_byte", {'x'}},
  };
  return corpus;
}

class ZlibCorpus : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ZlibCorpus, DecodesWhatZlibDecodesAndRefusesOneByteTooMany) {
  const auto [level, strategy] = GetParam();
  for (const CorpusItem& item : Corpus()) {
    SCOPED_TRACE(item.name);
    const Bytes packed = ZlibDeflateRaw(item.data, level, strategy);
    ASSERT_EQ(ZlibInflateRaw(packed, item.data.size()), item.data);

    Bytes out{1, 2, 3};  // replaced, not appended to
    TInflateFailure why{};
    EXPECT_EQ(InflateRaw(packed, item.data.size(), out, &why), TInflateResult::Done);
    EXPECT_EQ(why, TInflateFailure::None);
    EXPECT_EQ(out, item.data);

    // Whatever follows the final block is none of the decoder's business.
    Bytes trailing = packed;
    trailing.insert(trailing.end(), {0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(InflateRaw(trailing, item.data.size(), out), TInflateResult::Done);
    EXPECT_EQ(out, item.data);

    if (!item.data.empty()) {
      EXPECT_EQ(InflateRaw(packed, item.data.size() - 1, out, &why), TInflateResult::Failed);
      EXPECT_EQ(why, TInflateFailure::OutputTooLong);
      EXPECT_LE(out.size(), item.data.size() - 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    LevelsAndStrategies, ZlibCorpus,
    testing::Values(std::tuple{0, Z_DEFAULT_STRATEGY}, std::tuple{1, Z_DEFAULT_STRATEGY},
                    std::tuple{6, Z_DEFAULT_STRATEGY}, std::tuple{9, Z_DEFAULT_STRATEGY},
                    std::tuple{6, Z_FIXED}, std::tuple{9, Z_FIXED}, std::tuple{6, Z_HUFFMAN_ONLY},
                    std::tuple{6, Z_RLE}, std::tuple{9, Z_RLE}));

TEST(InflateTruncation, EveryProperPrefixOfAStreamFails) {
  const Bytes text = Text();
  const Bytes data(text.begin(), text.begin() + 3000);
  for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
    const Bytes packed = ZlibDeflateRaw(data, 9, strategy);
    for (std::size_t n = 0; n < packed.size(); ++n) {
      Bytes out;
      TInflateFailure why{};
      ASSERT_EQ(InflateRaw(base::ByteView(packed).first(n), data.size(), out, &why),
                TInflateResult::Failed)
          << "prefix " << n << " of " << packed.size();
      EXPECT_EQ(why, TInflateFailure::InputEnded) << "prefix " << n;
    }
  }
}

// ---- streams written by hand -----------------------------------------------

// Bits go out least significant first; Huffman codes go out from their most
// significant bit, as the format sends them.
class BitWriter {
public:
  BitWriter& Bits(std::uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) PutBit((value >> i) & 1);
    return *this;
  }
  BitWriter& Code(std::uint32_t code, unsigned length) {
    for (unsigned i = length; i-- > 0;) PutBit((code >> i) & 1);
    return *this;
  }
  BitWriter& AlignToByte() {
    while (used_ % 8) PutBit(0);
    return *this;
  }
  BitWriter& Byte(std::uint8_t b) { return Bits(b, 8); }
  // A fixed-code literal/length symbol (0..287).
  BitWriter& Fixed(unsigned symbol) {
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + symbol - 144, 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + symbol - 280, 8);
  }
  BitWriter& FixedDistance(unsigned symbol) { return Code(symbol, 5); }
  // BFINAL then BTYPE.
  BitWriter& Header(bool final, unsigned type) { return Bits(final ? 1 : 0, 1).Bits(type, 2); }
  BitWriter& Stored(bool final, const Bytes& data) {
    Header(final, 0).AlignToByte();
    const auto len = static_cast<std::uint16_t>(data.size());
    Bits(len, 16).Bits(static_cast<std::uint16_t>(~len), 16);  // LEN, NLEN
    for (const std::uint8_t b : data) Byte(b);
    return *this;
  }
  Bytes Finish() const { return bytes_; }

private:
  void PutBit(unsigned bit) {
    if (used_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<std::uint8_t>(bit << (used_ % 8));
    ++used_;
  }
  Bytes bytes_;
  std::size_t used_ = 0;
};

// The code-length code used by the hand-written dynamic blocks: symbols
// 0..12 get 4 bits, 13..18 get 5 (13/16 + 6/32 = 1, a complete code). The
// canonical codes follow: 0..12 are 0000..1100, 13..18 are 11010..11111.
constexpr unsigned CodeLengthCodeLength(unsigned symbol) { return symbol < 13 ? 4 : 5; }
BitWriter& CodeLength(BitWriter& w, unsigned symbol) {
  return symbol < 13 ? w.Code(symbol, 4) : w.Code(0x1A + symbol - 13, 5);
}

constexpr unsigned kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// A dynamic block header up to the code lengths themselves.
BitWriter& DynamicHeader(BitWriter& w, bool final, unsigned hlit, unsigned hdist) {
  w.Header(final, 2);
  w.Bits(hlit - 257, 5);   // HLIT
  w.Bits(hdist - 1, 5);    // HDIST
  w.Bits(19 - 4, 4);       // HCLEN: all 19
  for (const unsigned s : kOrder) w.Bits(CodeLengthCodeLength(s), 3);
  return w;
}

// Literal/length lengths used below: 'a' (97), 'b' (98), 256, 257 get two
// bits each; canonical codes 00, 01, 10, 11 in symbol order.
BitWriter& AbLiteralLengths(BitWriter& w) {
  CodeLength(w, 18).Bits(97 - 11, 7);   // 0..96 unused
  CodeLength(w, 2);                     // 'a'
  CodeLength(w, 2);                     // 'b'
  CodeLength(w, 18).Bits(138 - 11, 7);  // 99..236 unused
  CodeLength(w, 18).Bits(19 - 11, 7);   // 237..255 unused
  CodeLength(w, 2);                     // end of block
  return CodeLength(w, 2);              // length 3
}

Bytes Decode(const Bytes& stream, std::size_t expected, TInflateResult want,
             TInflateFailure want_why) {
  Bytes out;
  TInflateFailure why{};
  EXPECT_EQ(InflateRaw(stream, expected, out, &why), want);
  EXPECT_EQ(why, want_why);
  return out;
}

TEST(InflateDynamic, SingleCodeDistanceTreeAndARunAcrossTheTwoAlphabets) {
  BitWriter w;
  DynamicHeader(w, true, 260, 2);
  AbLiteralLengths(w);
  CodeLength(w, 17).Bits(0, 3);  // 258, 259 and distance 0 unused: the run crosses over
  CodeLength(w, 1);              // distance symbol 1 (distance 2), the only one
  w.Code(0, 2).Code(1, 2);       // 'a' 'b'
  w.Code(3, 2).Code(0, 1);       // length 3, distance 2
  w.Code(2, 2);                  // end of block
  EXPECT_EQ(Decode(w.Finish(), 100, TInflateResult::Done, TInflateFailure::None),
            (Bytes{'a', 'b', 'a', 'b', 'a'}));
}

TEST(InflateDynamic, LiteralsOnlyBlockNeedsNoDistanceCode) {
  BitWriter w;
  DynamicHeader(w, true, 257, 1);
  CodeLength(w, 18).Bits(97 - 11, 7);
  CodeLength(w, 1);                     // 'a': code 0
  CodeLength(w, 18).Bits(138 - 11, 7);  // 98..235 unused
  CodeLength(w, 18).Bits(20 - 11, 7);   // 236..255 unused
  CodeLength(w, 1);                     // end of block: code 1
  CodeLength(w, 0);                     // no distance code at all
  w.Code(0, 1).Code(0, 1).Code(0, 1).Code(1, 1);
  EXPECT_EQ(Decode(w.Finish(), 3, TInflateResult::Done, TInflateFailure::None),
            (Bytes{'a', 'a', 'a'}));
}

TEST(InflateDynamic, RefusesBrokenHeaders) {
  {
    SCOPED_TRACE("HLIT 287");
    BitWriter w;
    w.Header(true, 2).Bits(30, 5).Bits(0, 5).Bits(15, 4);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::Hlit);
  }
  {
    SCOPED_TRACE("HDIST 31");
    BitWriter w;
    w.Header(true, 2).Bits(0, 5).Bits(30, 5).Bits(15, 4);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::Hdist);
  }
}

// Code lengths that do not form a proper prefix code are built as they
// come (the later of two codes sharing a slot wins); decoding then ends
// where the damage shows, never outside the tables.
TEST(InflateDynamic, CodeLengthCodesThatAreNotPrefixCodesEndCleanly) {
  {
    // Codes 0, 1, 2, 3 for 0, 16, 17, 18 cut to one bit: 17 and 18, the
    // later ones, keep the two slots.
    SCOPED_TRACE("over-subscribed: four codes of one bit");
    BitWriter w;
    w.Header(true, 2).Bits(0, 5).Bits(0, 5).Bits(0, 4);  // HCLEN 4: 16, 17, 18, 0
    for (int i = 0; i < 4; ++i) w.Bits(1, 3);
    w.Bits(1, 1).Bits(127, 7);  // 18: 138 zeros
    w.Bits(1, 1).Bits(127, 7);  // 276 zeros, past 258 + 1
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
  }
  {
    SCOPED_TRACE("incomplete: a single code, then every length zero");
    BitWriter w;
    w.Header(true, 2).Bits(0, 5).Bits(0, 5).Bits(0, 4);
    w.Bits(0, 3).Bits(0, 3).Bits(0, 3).Bits(1, 3);  // only symbol 0, one bit
    for (int i = 0; i < 259; ++i) w.Bits(0, 1);
    // No literal/length code at all: the first look-up finds nothing.
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
  {
    SCOPED_TRACE("incomplete: the bit string the single code leaves empty");
    BitWriter w;
    w.Header(true, 2).Bits(0, 5).Bits(0, 5).Bits(0, 4);
    w.Bits(0, 3).Bits(0, 3).Bits(0, 3).Bits(1, 3);
    w.Bits(1, 1);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
  {
    SCOPED_TRACE("HCLEN lengths all zero");
    BitWriter w;
    w.Header(true, 2).Bits(0, 5).Bits(0, 5).Bits(0, 4).Bits(0, 12);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
}

TEST(InflateDynamic, RefusesBadCodeLengthSequences) {
  {
    SCOPED_TRACE("repeat of the previous length at the first position");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    CodeLength(w, 16).Bits(0, 2);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
  }
  {
    SCOPED_TRACE("zero run past HLIT + HDIST");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    AbLiteralLengths(w);
    CodeLength(w, 17).Bits(0, 3);  // 3 zeros where 1 length is left
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
  }
  {
    SCOPED_TRACE("long zero run past HLIT + HDIST");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    CodeLength(w, 18).Bits(127, 7);  // 138
    CodeLength(w, 18).Bits(127, 7);  // 276 > 259
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
  }
  for (const unsigned hdist : {3u, 4u}) {
    SCOPED_TRACE("a run of four zeros where HDIST leaves " + std::to_string(hdist));
    BitWriter w;
    DynamicHeader(w, true, 258, hdist);
    AbLiteralLengths(w);
    CodeLength(w, 17).Bits(4 - 3, 3);
    w.Code(0, 2).Code(2, 2);  // 'a', end of block
    if (hdist == 4) {
      EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None), Bytes{'a'});
    } else {
      Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
    }
  }
  {
    SCOPED_TRACE("repeat of the previous length past HLIT + HDIST");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    AbLiteralLengths(w);
    CodeLength(w, 16).Bits(0, 2);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::CodeLengths);
  }
}

// A dynamic block header whose literal/length code has 'a' (0) and 'b' (1)
// of one bit each and no end-of-block code; one distance code.
BitWriter& AbWithoutEndOfBlock(BitWriter& w) {
    DynamicHeader(w, true, 258, 1);
    CodeLength(w, 18).Bits(97 - 11, 7);
    CodeLength(w, 1);
    CodeLength(w, 1);
    CodeLength(w, 18).Bits(138 - 11, 7);
    CodeLength(w, 18).Bits(19 - 11, 7);
    CodeLength(w, 0);
    CodeLength(w, 0);
    CodeLength(w, 1);
  return w;
}

TEST(InflateDynamic, CodesThatAreNotPrefixCodesDecodeWhatTheyReach) {
  // A block of literals never asks its distance code, whatever it is.
  for (const auto& d : {std::vector<unsigned>{1}, {1, 1}, {1, 1, 1}, {2, 2}, {2}}) {
    BitWriter w;
    DynamicHeader(w, true, 258, static_cast<unsigned>(d.size()));
    AbLiteralLengths(w);
    for (const unsigned length : d) CodeLength(w, length);
    w.Code(0, 2).Code(2, 2);  // 'a', end of block
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None), Bytes{'a'});
  }

  {
    SCOPED_TRACE("literal/length code over-subscribed: 257 takes the slot of 'a'");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    CodeLength(w, 18).Bits(97 - 11, 7);
    CodeLength(w, 2);                     // 'a' 00
    CodeLength(w, 2);                     // 'b' 01
    CodeLength(w, 2);                     // 'c' 10
    CodeLength(w, 18).Bits(138 - 11, 7);  // 100..237
    CodeLength(w, 18).Bits(18 - 11, 7);   // 238..255
    CodeLength(w, 2);                     // end of block 11
    CodeLength(w, 2);                     // 257: 100, cut to 00
    CodeLength(w, 1);                     // distance
    w.Code(1, 2).Code(2, 2).Code(3, 2);   // 'b' 'c' end
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None),
              (Bytes{'b', 'c'}));
  }
  {
    SCOPED_TRACE("literal/length code incomplete: the empty slot fails");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    CodeLength(w, 18).Bits(97 - 11, 7);
    CodeLength(w, 2);                     // 'a' 00
    CodeLength(w, 0);                     // 'b' missing
    CodeLength(w, 18).Bits(138 - 11, 7);
    CodeLength(w, 18).Bits(19 - 11, 7);
    CodeLength(w, 2);                     // end of block 01
    CodeLength(w, 2);                     // 257: 10
    CodeLength(w, 1);
    w.Code(0, 2).Code(3, 2);              // 'a', then 11, which no code has
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol),
              Bytes{'a'});
  }
  {
    SCOPED_TRACE("no end-of-block code: the block runs until the input ends");
    BitWriter w;
    AbWithoutEndOfBlock(w);
    Decode(w.Finish(), 1000, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
  {
    SCOPED_TRACE("no end-of-block code: or until the output is full");
    BitWriter w;
    AbWithoutEndOfBlock(w);
    for (int i = 0; i < 16; ++i) w.Code(1, 1);
    EXPECT_EQ(Decode(w.Finish(), 5, TInflateResult::Failed, TInflateFailure::OutputTooLong),
              Bytes(5, 'b'));
  }
}

TEST(InflateSymbols, RefusesEmptyTableEntriesAndUnusedSymbols) {
  {
    SCOPED_TRACE("the bit string that a single distance code leaves empty");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    AbLiteralLengths(w);
    CodeLength(w, 1);
    w.Code(0, 2).Code(3, 2).Code(1, 1);  // 'a', length 3, distance bit 1: no code
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
  {
    SCOPED_TRACE("a match in a block without distance codes");
    BitWriter w;
    DynamicHeader(w, true, 258, 1);
    AbLiteralLengths(w);
    CodeLength(w, 0);
    w.Code(0, 2).Code(3, 2).Code(0, 1);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
  for (const unsigned symbol : {286u, 287u}) {
    SCOPED_TRACE(symbol);
    BitWriter w;
    w.Header(true, 1).Fixed('a').Fixed(symbol).FixedDistance(0).Fixed(256);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
  for (const unsigned symbol : {30u, 31u}) {
    SCOPED_TRACE(symbol);
    BitWriter w;
    w.Header(true, 1).Fixed('a').Fixed(257).FixedDistance(symbol).Fixed(256);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::BadSymbol);
  }
}

TEST(InflateMatches, DistanceMayReachTheFirstByteButNoFurther) {
  {
    BitWriter w;
    w.Header(true, 1).Fixed('x').Fixed(257).FixedDistance(0).Fixed(256);  // 3 from 1 back
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None),
              Bytes(4, 'x'));
  }
  {
    BitWriter w;
    w.Header(true, 1).Fixed('x').Fixed(257).FixedDistance(1).Fixed(256);  // 2 back
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::DistanceTooFar);
  }
  {
    BitWriter w;
    w.Header(true, 1).Fixed(257).FixedDistance(0).Fixed(256);  // nothing written yet
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::DistanceTooFar);
  }
}

TEST(InflateMatches, FullWindowDistanceAndLongestOverlappingMatch) {
  const Bytes history = RandomBytes(32768, 9);
  BitWriter w;
  w.Stored(false, history);
  w.Header(true, 1);
  w.Fixed(285).FixedDistance(29).Bits(32768 - 24577, 13);  // 258 from 32768 back
  w.Fixed(285).FixedDistance(0);                           // 258 copies of the last byte
  w.Fixed(256);
  Bytes want = history;
  want.insert(want.end(), history.begin(), history.begin() + 258);
  want.insert(want.end(), 258, history[257]);
  const Bytes stream = w.Finish();
  EXPECT_EQ(Decode(stream, want.size(), TInflateResult::Done, TInflateFailure::None), want);
  EXPECT_EQ(ZlibInflateRaw(stream, want.size()), want);

  BitWriter too_far;
  too_far.Stored(false, Bytes(history.begin(), history.end() - 1));
  too_far.Header(true, 1).Fixed(285).FixedDistance(29).Bits(32768 - 24577, 13).Fixed(256);
  Decode(too_far.Finish(), 100000, TInflateResult::Failed, TInflateFailure::DistanceTooFar);
}

TEST(InflateStored, BlocksOfAnyLengthIncludingZero) {
  BitWriter w;
  w.Stored(false, {}).Stored(false, {'a', 'b'}).Stored(false, {});
  w.Header(false, 1).Fixed('c').Fixed(256);  // ends mid-byte: the next stored block realigns
  w.Stored(true, {'d'});
  EXPECT_EQ(Decode(w.Finish(), 4, TInflateResult::Done, TInflateFailure::None),
            (Bytes{'a', 'b', 'c', 'd'}));
}

TEST(InflateStored, LenAloneCountsAndMustStayInTheInput) {
  {
    SCOPED_TRACE("NLEN not the complement of LEN is not looked at");
    BitWriter w;
    w.Header(true, 0).AlignToByte().Bits(2, 16).Bits(0xFFFF, 16).Byte('a').Byte('b');
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None),
              (Bytes{'a', 'b'}));
  }
  {
    SCOPED_TRACE("LEN past the input");
    BitWriter w;
    w.Header(true, 0).AlignToByte().Bits(3, 16).Bits(0xFFFC, 16).Byte('a').Byte('b');
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
  {
    SCOPED_TRACE("LEN and NLEN cut short");
    BitWriter w;
    w.Header(true, 0).AlignToByte().Bits(3, 16);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
  {
    SCOPED_TRACE("LEN beyond the expected size");
    BitWriter w;
    w.Stored(true, {'a', 'b', 'c'});
    Decode(w.Finish(), 2, TInflateResult::Failed, TInflateFailure::OutputTooLong);
  }
}

TEST(InflateBlocks, ReservedBtypeIsAnEmptyBlockAndEmptyBlocksCannotGoOnForever) {
  {
    SCOPED_TRACE("BTYPE 3 reads nothing: the next block follows at once");
    BitWriter w;
    w.Header(false, 3).Header(false, 3).Header(true, 1).Fixed('z').Fixed(256);
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None), Bytes{'z'});
  }
  // 1024 empty blocks in a row are tolerated, the 1025th is not; output in
  // between starts the count again.
  auto empties = [](BitWriter& w, int n) {
    for (int i = 0; i < n; ++i) {
      if (i % 2) {
        w.Header(false, 1).Fixed(256);
      } else {
        w.Header(false, 3);
      }
    }
  };
  {
    BitWriter w;
    empties(w, 1024);
    w.Header(false, 1).Fixed('a').Fixed(256);
    empties(w, 1024);
    w.Header(true, 1).Fixed(256);
    EXPECT_EQ(Decode(w.Finish(), 10, TInflateResult::Done, TInflateFailure::None), Bytes{'a'});
  }
  {
    BitWriter w;
    empties(w, 1025);
    w.Header(true, 1).Fixed(256);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::EmptyBlocks);
  }
}

TEST(InflateBlocks, InputEndingBeforeTheFinalBlockFails) {
  {
    SCOPED_TRACE("no input");
    Decode({}, 10, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
  {
    SCOPED_TRACE("a complete block that is not final");
    BitWriter w;
    w.Header(false, 1).Fixed('a').Fixed(256);
    Decode(w.Finish(), 10, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
  {
    SCOPED_TRACE("a fixed block without end: zero padding would decode as literals");
    BitWriter w;
    w.Header(true, 1).Fixed('a');
    Decode(w.Finish(), 1000, TInflateResult::Failed, TInflateFailure::InputEnded);
  }
}

TEST(InflateOutput, NeverGrowsPastTheExpectedSize) {
  {
    BitWriter w;
    w.Header(true, 1).Fixed('a').Fixed('b').Fixed(256);
    Bytes out;
    EXPECT_EQ(InflateRaw(w.Finish(), 1, out), TInflateResult::Failed);
    EXPECT_EQ(out, Bytes{'a'});
  }
  {
    BitWriter w;
    w.Header(true, 1).Fixed('a').Fixed(285).FixedDistance(0).Fixed(256);  // 1 + 258
    Decode(w.Finish(), 258, TInflateResult::Failed, TInflateFailure::OutputTooLong);
    EXPECT_EQ(Decode(w.Finish(), 259, TInflateResult::Done, TInflateFailure::None),
              Bytes(259, 'a'));
  }
  {
    SCOPED_TRACE("a shorter stream than expected is whole; the caller compares sizes");
    BitWriter w;
    w.Header(true, 1).Fixed('a').Fixed(256);
    EXPECT_EQ(Decode(w.Finish(), 1000, TInflateResult::Done, TInflateFailure::None), Bytes{'a'});
  }
}

}  // namespace
