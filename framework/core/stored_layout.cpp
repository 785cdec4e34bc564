#include "framework/core/stored_layout.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

#include "base/error.h"

namespace framework {
namespace {

constexpr std::size_t kLengthBytes = 4;

bool IsPacked(base::ByteView stored) { return stored.size() > kLengthBytes && stored[3] == 0; }

}  // namespace

std::string UnpackStoredLayout(base::ByteView stored, const std::string& name) {
  if (!IsPacked(stored)) return std::string(stored.begin(), stored.end());
  const std::uint32_t length = base::GetU32(stored.data());
  const base::ByteView stream = stored.subspan(kLengthBytes);
  if (length > stream.size() * base::kMaxDeflateRatio ||
      stream.size() > std::numeric_limits<uLong>::max())
    throw base::Error("Stored layout " + name + " is damaged");
  std::string text(length, '\0');
  uLongf out = length;
  const int rc = uncompress(reinterpret_cast<Bytef*>(text.data()), &out, stream.data(),
                            static_cast<uLong>(stream.size()));
  // uncompress() checks the Adler-32 and that the stream ended; Z_BUF_ERROR
  // is a stream longer than the length said (or one cut short).
  if (rc != Z_OK || out != length) throw base::Error("Stored layout " + name + " is damaged");
  return text;
}

}  // namespace framework
