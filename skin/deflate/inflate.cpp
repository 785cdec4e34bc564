#include "skin/deflate/inflate.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "skin/deflate/bit_reader.h"
#include "skin/deflate/deflate_constants.h"
#include "skin/deflate/huffman_tree.h"

namespace skin::deflate {
namespace {

// Enough output capacity to start with that small members never
// reallocate, without letting a forged size claim memory up front.
constexpr std::size_t kInitialReserve = std::size_t{1} << 20;

// Matches are copied this many bytes at a time when they do not overlap
// within a chunk.
constexpr std::size_t kCopyChunk = 8;

struct FixedTrees {
  THuffmanTree literal_length{kMaxCodeLength};
  THuffmanTree distance{kMaxCodeLength};
};

// The fixed codes are the same for every block, so they are built once and
// only read afterwards.
const FixedTrees& Fixed() {
  static const FixedTrees trees = [] {
    FixedTrees t;
    std::array<std::uint8_t, kNumFixedLitLenSymbols> lit{};
    std::fill(lit.begin(), lit.begin() + 144, 8);
    std::fill(lit.begin() + 144, lit.begin() + 256, 9);
    std::fill(lit.begin() + 256, lit.begin() + 280, 7);
    std::fill(lit.begin() + 280, lit.end(), 8);
    std::array<std::uint8_t, kNumFixedDistanceSymbols> dist{};
    dist.fill(5);
    t.literal_length.Build(lit, kFirstLengthSymbol, kLengthExtraBits);
    t.distance.Build(dist, 0, kDistanceExtraBits);
    return t;
  }();
  return trees;
}

class Inflater {
public:
  Inflater(base::ByteView input, std::size_t expected_size, base::Bytes& output)
      : in_(input), expected_(expected_size), out_(output) {}

  TInflateFailure Run() {
    out_.clear();
    out_.reserve(std::min(expected_, kInitialReserve));
    const TInflateFailure why = Blocks();
    out_.resize(pos_);
    return why;
  }

private:
  TInflateFailure Blocks() {
    unsigned empty_in_a_row = 0;
    for (;;) {
      const std::size_t before = pos_;
      const bool final = in_.Read(1) != 0;  // BFINAL
      const unsigned type = in_.Read(kBlockTypeBits);  // BTYPE
      if (in_.Overran()) return TInflateFailure::InputEnded;
      TInflateFailure result = TInflateFailure::None;
      switch (type) {
        case kBlockStored: result = StoredBlock(); break;
        case kBlockFixed: result = InflateCodes(Fixed().literal_length, Fixed().distance); break;
        case kBlockDynamic: result = DynamicBlock(); break;
        default: break;  // reserved: a block without data, as if empty
      }
      if (result != TInflateFailure::None) return result;
      if (final) return TInflateFailure::None;
      empty_in_a_row = pos_ == before ? empty_in_a_row + 1 : 0;
      if (empty_in_a_row > kMaxEmptyBlocksInARow) return TInflateFailure::EmptyBlocks;
    }
  }

  // Output is written by position into a vector that grows by doubling
  // (never past the expected size) and is cut to pos_ at the end: no
  // per-byte size bookkeeping, and room for a match's last chunk.
  void Room(std::size_t need) {
    if (out_.size() - pos_ >= need) return;
    const std::size_t grown =
        std::max(pos_ + need, std::max<std::size_t>(out_.size() * 2, std::size_t{1} << 16));
    out_.resize(std::min(expected_, grown));
  }

  TInflateFailure StoredBlock() {
    if (!in_.AlignToInput() || in_.BytesLeft() < kStoredHeaderBytes) {
      return TInflateFailure::InputEnded;
    }
    const std::uint8_t* header = in_.TakeBytes(kStoredHeaderBytes);
    // LEN; its one's complement NLEN is not checked: LEN alone says how
    // many bytes follow, and those are checked against the input.
    const std::uint16_t len = base::GetU16(header);
    if (len > in_.BytesLeft()) return TInflateFailure::InputEnded;
    if (len > expected_ - pos_) return TInflateFailure::OutputTooLong;
    const std::uint8_t* data = in_.TakeBytes(len);
    Room(len);
    std::copy_n(data, len, out_.data() + pos_);
    pos_ += len;
    return TInflateFailure::None;
  }

  TInflateFailure DynamicBlock() {
    const unsigned hlit = in_.Read(kHlitBits) + kHlitBase;     // HLIT
    const unsigned hdist = in_.Read(kHdistBits) + kHdistBase;  // HDIST
    const unsigned hclen = in_.Read(kHclenBits) + kHclenBase;  // HCLEN
    if (hlit > kNumLitLenSymbols) return TInflateFailure::Hlit;
    if (hdist > kNumDistanceSymbols) return TInflateFailure::Hdist;

    std::array<std::uint8_t, kNumCodeLengthSymbols> code_length_lengths{};
    for (unsigned i = 0; i < hclen; ++i) {
      code_length_lengths[kCodeLengthOrder[i]] =
          static_cast<std::uint8_t>(in_.Read(kCodeLengthCodeBits));
    }
    if (in_.Overran()) return TInflateFailure::InputEnded;
    THuffmanTree code_length_code(kMaxCodeLengthCodeLength);
    code_length_code.Build(code_length_lengths);  // 3-bit lengths never pass 7

    // Literal/length and distance lengths form one sequence: a run may
    // cross from the one into the other, but not past the end.
    std::array<std::uint8_t, kNumLitLenSymbols + kNumDistanceSymbols> lengths{};
    const unsigned total = hlit + hdist;
    unsigned n = 0;
    while (n < total) {
      std::uint32_t entry = 0;
      if (!Decode(code_length_code, entry)) return TInflateFailure::BadSymbol;
      const unsigned symbol = EntrySymbol(entry);
      if (symbol < kRepeatPrevious) {
        lengths[n++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t value = 0;
      unsigned run = 0;
      if (symbol == kRepeatPrevious) {
        if (n == 0) return TInflateFailure::CodeLengths;
        value = lengths[n - 1];
        run = 3 + in_.Read(2);
      } else if (symbol == kRepeatZeroShort) {
        run = 3 + in_.Read(3);
      } else {
        run = 11 + in_.Read(7);
      }
      if (in_.Overran()) return TInflateFailure::InputEnded;
      if (run > total - n) return TInflateFailure::CodeLengths;
      std::fill_n(lengths.begin() + n, run, value);
      n += run;
    }
    if (in_.Overran()) return TInflateFailure::InputEnded;

    // Code lengths are symbols 0..15, within the limit. A code without an
    // end-of-block symbol cannot end its block: decoding then runs into an
    // empty entry, the input's end or the output's size, and stops there.
    THuffmanTree literal_length(kMaxCodeLength);
    THuffmanTree distance(kMaxCodeLength);
    const std::span<const std::uint8_t> all(lengths.data(), total);
    literal_length.Build(all.first(hlit), kFirstLengthSymbol, kLengthExtraBits);
    distance.Build(all.subspan(hlit), 0, kDistanceExtraBits);
    return InflateCodes(literal_length, distance);
  }

  // One look-up; false for a bit string that no code has. The code's extra
  // bits are left for the caller.
  bool Decode(const THuffmanTree& tree, std::uint32_t& entry_out) {
    in_.Ensure(kMaxCodeLength);
    const std::uint32_t entry = tree.Lookup(in_.Peek(tree.MaxBits()));
    if (entry == kEmptyEntry) return false;
    in_.Consume(EntryCodeLength(entry));
    entry_out = entry;
    return true;
  }

  // Literal/length and distance codes until the end-of-block symbol.
  TInflateFailure InflateCodes(const THuffmanTree& literal_length, const THuffmanTree& distance) {
    for (;;) {
      std::uint32_t entry = 0;
      if (!Decode(literal_length, entry)) return TInflateFailure::BadSymbol;
      // Every code is at least one bit, so zero padding ends this loop.
      if (in_.Overran()) return TInflateFailure::InputEnded;
      const unsigned symbol = EntrySymbol(entry);
      if (symbol < kEndOfBlock) {
        if (pos_ == expected_) return TInflateFailure::OutputTooLong;
        Room(1);
        out_[pos_++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      if (symbol == kEndOfBlock) return TInflateFailure::None;
      if (symbol >= kNumLitLenSymbols) return TInflateFailure::BadSymbol;  // 286, 287
      const std::size_t length =
          kLengthBase[symbol - kFirstLengthSymbol] + in_.Read(EntryExtraBits(entry));

      if (!Decode(distance, entry)) return TInflateFailure::BadSymbol;
      const unsigned dsym = EntrySymbol(entry);
      if (dsym >= kNumDistanceSymbols) return TInflateFailure::BadSymbol;  // 30, 31
      const std::size_t dist = kDistanceBase[dsym] + in_.Read(EntryExtraBits(entry));
      if (in_.Overran()) return TInflateFailure::InputEnded;
      if (dist > pos_) return TInflateFailure::DistanceTooFar;
      if (length > expected_ - pos_) return TInflateFailure::OutputTooLong;

      // Room first: the vector must not move while the match is copied.
      Room(length + kCopyChunk);
      std::uint8_t* dst = out_.data() + pos_;
      const std::uint8_t* src = dst - dist;
      if (dist >= kCopyChunk && out_.size() - pos_ >= length + kCopyChunk) {
        // A chunk at a time, up to 7 bytes past the match (written over
        // later, or cut at the end): with dist >= 8 every chunk's source
        // is already written.
        for (std::size_t i = 0; i < length; i += kCopyChunk) {
          std::memcpy(dst + i, src + i, kCopyChunk);
        }
      } else if (dist == 1) {
        std::memset(dst, src[0], length);
      } else {
        // Short distances overlap the bytes being produced: byte by byte.
        for (std::size_t i = 0; i < length; ++i) dst[i] = src[i];
      }
      pos_ += length;
    }
  }

  BitReader in_;
  std::size_t pos_ = 0;  // bytes of output written
  std::size_t expected_;
  base::Bytes& out_;
};

}  // namespace

TInflateResult InflateRaw(base::ByteView input, std::size_t expected_size, base::Bytes& output,
                          TInflateFailure* failure) {
  const TInflateFailure why = Inflater(input, expected_size, output).Run();
  if (failure) *failure = why;
  return why == TInflateFailure::None ? TInflateResult::Done : TInflateResult::Failed;
}

}  // namespace skin::deflate
