// Measures the skin reader's own raw Deflate decoder against zlib's raw
// inflate, in one run on the same streams, so the ratio holds on any
// machine. The data is product-like (bench/product_like_data.h), deflated
// once by zlib at level 9 (as the skin writer stores members) and at level
// 6 (zlib's default, as other tools write); each decoder writes into an
// output buffer that is already allocated, and the best of several runs
// counts. Both outputs are compared with the input.
//
// Times are the thread's CPU time: the development machine is shared, and a
// decoder that was descheduled for part of a run would otherwise be charged
// for it (on a busy 2-core machine wall time came out twice the CPU time,
// differently for each side). The best wall time is printed beside it.
// Usage: skin_inflate_bench [megabytes [runs]]   (default 50 MB, 5 runs)
#include <time.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/bytes.h"
#include "bench/product_like_data.h"
#include "skin/deflate/inflate.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kGoal = 0.8;

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The best times seen so far of one side.
struct Best {
  double cpu = 1e30;
  double wall = 1e30;

  template <typename F>
  void Run(F f) {
    const double c0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    f();
    wall = std::min(wall, std::chrono::duration<double>(Clock::now() - t0).count());
    cpu = std::min(cpu, ThreadCpuSeconds() - c0);
  }
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "skin_inflate_bench: %s\n", what);
  std::exit(1);
}

// memLevel 9 at level 9 is what the skin writer uses; 8 is zlib's default.
base::Bytes DeflateRaw(base::ByteView data, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, level == 9 ? 9 : 8, Z_DEFAULT_STRATEGY) != Z_OK)
    Fail("deflateInit2 failed");
  base::Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) Fail("deflate failed");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// zlib's raw inflate into out, which holds exactly the expected size.
void ZlibInflateRaw(base::ByteView stream, base::Bytes& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) Fail("inflateInit2 failed");
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (status != Z_STREAM_END || z.total_out != out.size()) Fail("zlib could not inflate");
}

void Compare(const base::Bytes& data, int level, int runs) {
  const base::Bytes stream = DeflateRaw(data, level);
  const double mb = data.size() / 1048576.0;
  std::printf("\nlevel %d: %.1f MB deflated to %.1f MB\n", level, mb, stream.size() / 1048576.0);

  // Each side's output buffer is allocated once, before the timed runs
  // (InflateRaw keeps the capacity of the vector it is given): the first
  // run of a side pays for touching the pages, the best one does not, so
  // the decoders are compared, not the allocator.
  base::Bytes ours;
  ours.reserve(data.size());
  base::Bytes theirs(data.size());
  // Alternating, so that a busy spell of the machine hits both sides.
  Best t_ours;
  Best t_zlib;
  for (int r = 0; r < runs; ++r) {
    t_ours.Run([&] {
      if (skin::deflate::InflateRaw(stream, data.size(), ours) !=
          skin::deflate::TInflateResult::Done)
        Fail("InflateRaw failed");
    });
    t_zlib.Run([&] { ZlibInflateRaw(stream, theirs); });
  }
  if (ours != data) Fail("InflateRaw's output differs from the input");
  if (theirs != data) Fail("zlib's output differs from the input");

  const double ratio = t_zlib.cpu / t_ours.cpu;
  std::printf("  InflateRaw:   %.4f s CPU (%4.0f MB/s), best wall %.4f s\n", t_ours.cpu,
              mb / t_ours.cpu, t_ours.wall);
  std::printf("  zlib inflate: %.4f s CPU (%4.0f MB/s), best wall %.4f s\n", t_zlib.cpu,
              mb / t_zlib.cpu, t_zlib.wall);
  std::printf("  throughput ratio ours/zlib %.3f (goal >= %.1f): %s (by wall time %.3f)\n", ratio,
              kGoal, ratio >= kGoal ? "met" : "NOT met", t_zlib.wall / t_ours.wall);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (mb == 0 || mb > 1024 || runs < 1) Fail("usage: skin_inflate_bench [megabytes [runs]]");
  std::printf("preparing %zu MB of product-like data, best of %d runs...\n", mb, runs);
  const base::Bytes data = bench::ProductLikeData(mb << 20);
  Compare(data, 9, runs);
  Compare(data, 6, runs);
  return 0;
}
