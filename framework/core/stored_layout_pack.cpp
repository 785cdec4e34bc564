#include <zlib.h>

#include "base/error.h"
#include "framework/core/stored_layout.h"

namespace framework {

base::Bytes PackStoredLayout(base::ByteView bytes) {
  if (bytes.size() >= (1u << 24)) throw base::Error("a stored layout is under 16 MB");
  base::Bytes out(4 + compressBound(static_cast<uLong>(bytes.size())));
  base::PutU32(out.data(), static_cast<std::uint32_t>(bytes.size()));
  uLongf size = static_cast<uLongf>(out.size() - 4);
  if (compress2(out.data() + 4, &size, bytes.data(), static_cast<uLong>(bytes.size()), 9) != Z_OK)
    throw base::Error("Out of memory");
  out.resize(4 + size);
  return out;
}

}  // namespace framework
