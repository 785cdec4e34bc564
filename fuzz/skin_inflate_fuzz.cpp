// The skin reader's raw Deflate decoder on arbitrary streams, with zlib as
// the reference. Input: 2 bytes of expected size (little-endian), then the
// stream. The invariants:
//   - output never grows past the expected size, and a failure names its
//     reason (Done comes with None, Failed never with it);
//   - a stream that zlib decodes whole to at most the expected size decodes
//     here to the same bytes (ours is the more permissive decoder: an
//     unchecked NLEN, an incomplete or over-subscribed code and the reserved
//     block type pass here and fail in zlib, so only this direction holds);
//     the one refusal of our own is a run of more empty blocks than real
//     encoders write;
//   - a stream that zlib decodes to more than the expected size fails here
//     for its length, or for its input's end (zlib copies what there is of
//     a stored block that runs past the input, this decoder checks the
//     block's length against the input first).
#include <zlib.h>

#include <cstddef>
#include <cstdint>

#include "base/bytes.h"
#include "skin/deflate/inflate.h"

namespace {

using skin::deflate::TInflateFailure;
using skin::deflate::TInflateResult;

enum class ZlibVerdict { Whole, TooLong, Failed };

// zlib's raw inflate into expected + 1 bytes: one byte more than allowed is
// enough to tell an overlong stream.
ZlibVerdict ZlibInflate(base::ByteView stream, std::size_t expected, base::Bytes& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) __builtin_trap();
  out.resize(expected + 1);
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  inflateEnd(&z);
  if (out.size() > expected) return ZlibVerdict::TooLong;
  return status == Z_STREAM_END ? ZlibVerdict::Whole : ZlibVerdict::Failed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t expected = base::GetU16(data);
  const base::ByteView stream(data + 2, size - 2);

  base::Bytes ours;
  TInflateFailure why = TInflateFailure::None;
  const TInflateResult result = skin::deflate::InflateRaw(stream, expected, ours, &why);
  if (ours.size() > expected) __builtin_trap();
  if ((result == TInflateResult::Done) != (why == TInflateFailure::None)) __builtin_trap();

  base::Bytes reference;
  switch (ZlibInflate(stream, expected, reference)) {
    case ZlibVerdict::Whole:
      if (why == TInflateFailure::EmptyBlocks) break;
      if (result != TInflateResult::Done || ours != reference) __builtin_trap();
      break;
    case ZlibVerdict::TooLong:
      if (why != TInflateFailure::OutputTooLong && why != TInflateFailure::InputEnded &&
          why != TInflateFailure::EmptyBlocks)
        __builtin_trap();
      break;
    case ZlibVerdict::Failed:
      break;
  }
  return 0;
}
