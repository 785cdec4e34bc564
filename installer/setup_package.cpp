#include "installer/setup_package.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/error.h"
#include "installer/packed_block.h"

namespace installer {

std::uint32_t PackageChecksum(base::ByteView bytes) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
#if defined(__SSE2__)
  // psadbw adds 8 bytes into a 16-bit lane at a time; lanes are folded into
  // 64-bit totals that cannot overflow for any buffer this process can hold.
  __m128i total = _mm_setzero_si128();
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= bytes.size(); i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    total = _mm_add_epi64(total, _mm_sad_epu8(v, zero));
  }
  alignas(16) std::uint64_t lanes[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), total);
  sum = static_cast<std::uint32_t>(lanes[0] + lanes[1]);
#endif
  for (; i < bytes.size(); ++i) sum += bytes[i];
  return sum;
}

void LoadPackage(const ResourceSource& resources, std::unique_ptr<base::MemoryStream>& package) {
  base::ByteView packed = OpenResource(resources, kSetupPackName);
  package = std::make_unique<base::MemoryStream>();
  // Unpacking straight from the resource (mapped with the image) instead of
  // from a copy of it keeps the peak at packed + unpacked bytes.
  package->Replace(UnpackToBuffer(packed));
}

bool VerifyPackage(base::MemoryStream& package, std::uint32_t expected) {
  std::uint32_t sum = PackageChecksum(package.View());
  package.Seek(package.Size());
  return sum == expected;
}

base::ByteView PackageFileBytes(const base::MemoryStream& package, const TSetupFileEntry& entry) {
  std::uint64_t end = std::uint64_t{entry.Offset} + entry.Size;
  if (end > package.Size()) throw base::Error("Stream read error");
  return package.View().subspan(entry.Offset, entry.Size);
}

base::Bytes ReadPackageFile(base::MemoryStream& package, const TSetupFileEntry& entry) {
  std::uint64_t end = std::uint64_t{entry.Offset} + entry.Size;
  if (end > package.Size()) throw base::Error("Stream read error");
  base::Bytes bytes(entry.Size);
  package.Seek(entry.Offset);
  package.ReadExact(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace installer
