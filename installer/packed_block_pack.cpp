#include "installer/packed_block.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "base/error.h"

// The packer lives apart from the reader: the installer only unpacks, and
// an object of its own keeps zlib's compressor out of every program that
// never packs (the linker keeps an object's functions together).
namespace installer {
namespace {

constexpr std::size_t kPackedLengthSize = 4;  // the block's length field

}  // namespace

base::Bytes PackBlock(base::ByteView data, int level, PackProgress progress, void* context) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max())
    throw base::Error("Data too large for a packed block");
  z_stream z{};
  if (deflateInit(&z, level) != Z_OK) throw base::Error("Error");
  base::Bytes out(kPackedLengthSize + deflateBound(&z, static_cast<uLong>(data.size())));
  base::PutU32(out.data(), static_cast<std::uint32_t>(data.size()));

  constexpr std::size_t kSlice = 1 << 20;  // progress granularity
  z.next_out = out.data() + kPackedLengthSize;
  z.avail_out = static_cast<uInt>(out.size() - kPackedLengthSize);
  std::size_t done = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    std::size_t slice = std::min(kSlice, data.size() - done);
    z.next_in = const_cast<Bytef*>(data.data() + done);
    z.avail_in = static_cast<uInt>(slice);
    done += slice;
    rc = deflate(&z, done == data.size() ? Z_FINISH : Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      deflateEnd(&z);
      throw base::Error("Error");
    }
    if (progress) progress(done - z.avail_in, data.size(), context);
  }
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

}  // namespace installer
