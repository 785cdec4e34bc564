#pragma once
// The numbers of raw Deflate (RFC 1951) that the decoder's checks and tables
// stand on, each with where it comes from, so a limit is never a bare literal.
#include <array>
#include <cstddef>
#include <cstdint>

namespace skin::deflate {

// Block header: BFINAL (1 bit) then BTYPE (2 bits).
inline constexpr unsigned kBlockTypeBits = 2;
inline constexpr unsigned kBlockStored = 0;
inline constexpr unsigned kBlockFixed = 1;
inline constexpr unsigned kBlockDynamic = 2;  // 3 is reserved: read as a block without data

// Longest code of any Huffman code in the format (code lengths are 0..15).
inline constexpr unsigned kMaxCodeLength = 15;
// The code-length code writes its lengths in 3 bits, so its codes reach 7.
inline constexpr unsigned kMaxCodeLengthCodeLength = 7;

// Literal/length alphabet: 256 literals, end of block, 29 length codes.
inline constexpr unsigned kEndOfBlock = 256;
inline constexpr unsigned kFirstLengthSymbol = 257;
inline constexpr unsigned kNumLengthSymbols = 29;
inline constexpr unsigned kNumLitLenSymbols = kFirstLengthSymbol + kNumLengthSymbols;  // 286
// The fixed code also gives lengths to 286 and 287; they never occur in
// valid data, so the fixed table holds 288 entries and decoding refuses them.
inline constexpr unsigned kNumFixedLitLenSymbols = 288;

// Distance alphabet: 30 codes; the fixed code gives 30 and 31 a length too.
inline constexpr unsigned kNumDistanceSymbols = 30;
inline constexpr unsigned kNumFixedDistanceSymbols = 32;

// Dynamic block header: HLIT = 5 bits + 257, HDIST = 5 bits + 1,
// HCLEN = 4 bits + 4. The 5-bit fields can name 288 and 32 symbols, more
// than the alphabets have; such headers are damage.
inline constexpr unsigned kHlitBits = 5;
inline constexpr unsigned kHlitBase = 257;
inline constexpr unsigned kHdistBits = 5;
inline constexpr unsigned kHdistBase = 1;
inline constexpr unsigned kHclenBits = 4;
inline constexpr unsigned kHclenBase = 4;
inline constexpr unsigned kCodeLengthCodeBits = 3;
inline constexpr unsigned kNumCodeLengthSymbols = 19;

// The order in which HCLEN lengths are sent: the likeliest first, so that
// a short HCLEN can leave the unlikely ones out.
inline constexpr std::array<std::uint8_t, kNumCodeLengthSymbols> kCodeLengthOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Code-length alphabet: 0..15 are lengths; 16 repeats the previous length
// 3..6 times (2 extra bits); 17 gives 3..10 zeros (3 bits); 18 gives
// 11..138 zeros (7 bits).
inline constexpr unsigned kRepeatPrevious = 16;
inline constexpr unsigned kRepeatZeroShort = 17;
inline constexpr unsigned kRepeatZeroLong = 18;

// Lengths 3..258: symbol 257 + i has base kLengthBase[i] and
// kLengthExtraBits[i] extra bits. 285 is 258 exactly, with no extra bits,
// although 284's range would reach it too.
inline constexpr std::array<std::uint16_t, kNumLengthSymbols> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr std::array<std::uint8_t, kNumLengthSymbols> kLengthExtraBits = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr unsigned kMaxMatchLength = 258;

// Distances 1..32768: symbol i has base kDistanceBase[i] and
// kDistanceExtraBits[i] extra bits.
inline constexpr std::array<std::uint16_t, kNumDistanceSymbols> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr std::array<std::uint8_t, kNumDistanceSymbols> kDistanceExtraBits = {
    0, 0, 0, 0, 1, 1, 2, 2, 3,  3,  4,  4,  5,  5,  6,
    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

static_assert(kLengthBase[27] + (1u << kLengthExtraBits[27]) - 1 == kMaxMatchLength,
              "284 with all extra bits set also means 258: taken as written, never refused");
static_assert(kDistanceBase[29] + (1u << kDistanceExtraBits[29]) - 1 == 32768,
              "the window is 32 KB");

// Stored block: after the byte boundary, LEN and NLEN (its one's complement),
// 16 bits each.
inline constexpr unsigned kStoredHeaderBytes = 4;

// A block that adds no output still costs at least 3 header bits, so finite
// input ends any run of them; the cap stops a hostile stream from making the
// decoder walk millions of them before it notices. Real encoders emit at
// most a few in a row (a sync flush), never this many.
inline constexpr unsigned kMaxEmptyBlocksInARow = 1024;

}  // namespace skin::deflate
