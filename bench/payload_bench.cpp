// Measures the installer's payload loading against the libraries it stands
// on, in one run on the same bytes, so the ratios hold on any machine:
//   - unpacking a 100 MB package against a bare zlib inflate of it;
//   - the checksum pass against a memcpy of the same bytes;
//   - the peak memory of loading the package, against packed + unpacked.
// Usage: payload_bench [megabytes]   (default 100)
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/process_memory.h"
#include "bench/product_like_data.h"
#include "installer/packed_block.h"
#include "installer/resource_source.h"
#include "installer/setup_package.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double BestSeconds(int runs, F f) {
  double best = 1e30;
  for (int r = 0; r < runs; ++r) {
    auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}


}  // namespace

int main(int argc, char** argv) {
  std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::size_t size = mb << 20;
  std::printf("preparing %zu MB of product-like data...\n", mb);
  base::Bytes packed;
  {
    base::Bytes data = bench::ProductLikeData(size);
    packed = installer::PackBlock(data, 9);
  }
  std::printf("packed to %.1f MB\n", packed.size() / 1048576.0);

  // Peak memory first, while the process holds nothing but the packed bytes
  // (as the running installer holds its mapped resource).
  installer::MemoryResourceSource resources;
  resources.Set(installer::kSetupPackName, packed);
  packed = {};
  long before_kb = bench::ProcStatusKb("VmRSS:");
  bool peak_reset = bench::ResetPeak();
  std::unique_ptr<base::MemoryStream> package;
  installer::LoadPackage(resources, package);
  long peak_kb = bench::ProcStatusKb("VmHWM:");
  const double packed_mb = resources.FindRcData(installer::kSetupPackName)->size() / 1048576.0;
  const double unpacked_mb = size / 1048576.0;
  double added_mb = (peak_kb - before_kb) / 1024.0;
  std::printf("\npeak memory of loading: %.1f MB above the %.1f MB packed resource%s\n", added_mb,
              packed_mb, peak_reset ? "" : " (peak could not be reset: figure is an upper bound)");
  std::printf("  goal: packed + unpacked + 16 MB = %.1f MB in all; measured %.1f MB in all: %s\n",
              packed_mb + unpacked_mb + 16, packed_mb + added_mb,
              added_mb <= unpacked_mb + 16 ? "met" : "NOT met");

  // Both sides get a fresh output buffer each run, as a program that
  // inflates once would: malloc for bare zlib, the installer's own for it.
  base::ByteView block = *resources.FindRcData(installer::kSetupPackName);
  double t_zlib = BestSeconds(3, [&] {
    auto* fresh = static_cast<Bytef*>(std::malloc(size));
    uLongf n = static_cast<uLongf>(size);
    if (uncompress(fresh, &n, block.data() + 4, static_cast<uLong>(block.size() - 4)) != Z_OK)
      std::abort();
    std::free(fresh);
  });
  double t_unpack = BestSeconds(3, [&] { base::Buffer b = installer::UnpackToBuffer(block); });
  base::Bytes out(size);
  std::printf("\nunpack: %.3f s (%.0f MB/s); bare zlib inflate: %.3f s (%.0f MB/s)\n", t_unpack,
              unpacked_mb / t_unpack, t_zlib, unpacked_mb / t_zlib);
  std::printf("  throughput ratio %.3f (goal >= 0.95): %s\n", t_zlib / t_unpack,
              t_zlib / t_unpack >= 0.95 ? "met" : "NOT met");

  std::uint32_t sink = 0;
  double t_sum = BestSeconds(5, [&] { sink += installer::PackageChecksum(package->View()); });
  double t_copy = BestSeconds(5, [&] {
    std::memcpy(out.data(), package->View().data(), size);
    sink += out[size / 2];
  });
  std::printf("\nchecksum: %.4f s (%.0f MB/s); memcpy: %.4f s (%.0f MB/s)\n", t_sum,
              unpacked_mb / t_sum, t_copy, unpacked_mb / t_copy);
  std::printf("  throughput ratio %.2f (goal >= 0.8): %s\n", t_copy / t_sum,
              t_copy / t_sum >= 0.8 ? "met" : "NOT met");
  return sink == 0xFFFFFFFF ? 1 : 0;  // keeps the sums from being optimised away
}
