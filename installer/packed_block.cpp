#include "installer/packed_block.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

#include "base/error.h"

namespace installer {
namespace {

constexpr std::size_t kLengthFieldSize = 4;

// A length field beyond Deflate's best ratio is damage: refusing it early
// saves allocating a buffer the stream could never fill.
using base::kMaxDeflateRatio;

// Owns an inflater for the duration of one unpacking.
class Inflater {
public:
  Inflater() {
    if (inflateInit(&z_) != Z_OK) throw base::Error("Error");
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() { inflateEnd(&z_); }
  z_stream* operator->() { return &z_; }
  z_stream* get() { return &z_; }

private:
  z_stream z_{};
};

}  // namespace

std::uint32_t PackedBlockLength(base::ByteView packed) {
  if (packed.size() < kLengthFieldSize) throw base::Error("Stream read error");
  return base::GetU32(packed.data());
}

base::Buffer UnpackToBuffer(base::ByteView packed) {
  const std::uint32_t n = PackedBlockLength(packed);
  base::ByteView zdata = packed.subspan(kLengthFieldSize);
  if (n == 0) return {};
  if (n > zdata.size() * kMaxDeflateRatio + 64) throw base::Error("Stream read error");

  base::Buffer out;
  try {
    out = base::Buffer(n);
  } catch (const std::bad_alloc&) {
    throw base::Error("Out of memory");
  }

  Inflater z;
  // avail_in is 32 bits wide; feed the input in slices so that any size is fine.
  const std::uint8_t* in = zdata.data();
  std::size_t in_left = zdata.size();
  z->next_out = out.data();
  z->avail_out = n;
  while (z->avail_out > 0) {
    if (z->avail_in == 0) {
      if (in_left == 0) throw base::Error("Stream read error");
      uInt slice = static_cast<uInt>(std::min<std::size_t>(in_left, 1u << 30));
      z->next_in = const_cast<Bytef*>(in);
      z->avail_in = slice;
      in += slice;
      in_left -= slice;
    }
    int rc = inflate(z.get(), Z_NO_FLUSH);
    // N bytes are out: done, even if zlib went on to find the Adler-32 value
    // wrong, since nothing after the N bytes is examined.
    if (z->avail_out == 0) break;
    if (rc == Z_STREAM_END) {
      throw base::Error("Stream read error");  // the stream ended before N bytes
    }
    if (rc == Z_BUF_ERROR) continue;  // needs more input: the loop feeds it or fails
    if (rc != Z_OK) throw base::Error("Error");  // Z_DATA_ERROR, Z_NEED_DICT, Z_MEM_ERROR
  }
  return out;
}

base::Bytes UnpackBlock(base::ByteView packed) { return UnpackToBuffer(packed).ToBytes(); }

void UnpackStream(base::MemoryStream& stream) { stream.Replace(UnpackToBuffer(stream.View())); }

}  // namespace installer
