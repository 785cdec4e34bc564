// Measures the builder's packing of a product-sized package: a single zlib
// stream at level 9 (installer::PackBlock) against the parallel compressor
// (mksetup::PackBlockParallel) on 1 and 2 jobs, in one run on the same
// bytes, so the ratios hold on any machine with two cores:
//   - time: 2 jobs at most 0.55 x the single stream's;
//   - size: at most 1.005 x the single stream's;
//   - peak memory while packing: at most the packed size + 16 MB above what
//     the process held before (the input is held throughout, as here).
// Times are wall time (what the parallel side is there to cut); the
// process's CPU time is printed beside them. The best of the runs counts.
// Usage: pack_bench [megabytes [runs]]   (default 60 MB, 2 runs)
#include <time.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "bench/process_memory.h"
#include "bench/product_like_data.h"
#include "installer/packed_block.h"
#include "tools/mksetup/parallel_zlib.h"

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}


[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "pack_bench: %s\n", what);
  std::exit(1);
}

struct Side {
  const char* name;
  std::function<base::Bytes()> pack;
  double wall = 1e30;
  double cpu = 1e30;
  double peak_mb = 0;  // above the resident size before the first run
  bool peak_reset = false;
  base::Bytes block;  // from the last run
};

void Run(Side& side, bool first) {
  side.block = {};
  const long before_kb = bench::ProcStatusKb("VmRSS:");
  if (first) side.peak_reset = bench::ResetPeak();
  const double c0 = ProcessCpuSeconds();
  const auto t0 = Clock::now();
  side.block = side.pack();
  side.wall = std::min(side.wall, std::chrono::duration<double>(Clock::now() - t0).count());
  side.cpu = std::min(side.cpu, ProcessCpuSeconds() - c0);
  if (first) side.peak_mb = (bench::ProcStatusKb("VmHWM:") - before_kb) / 1024.0;
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 60;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
  const std::size_t size = mb << 20;
  std::printf("preparing %zu MB of product-like data (%u cores seen)...\n", mb,
              std::thread::hardware_concurrency());
  const base::Bytes data = bench::ProductLikeData(size);

  Side sides[] = {
      {"single stream (PackBlock, level 9)", [&] { return installer::PackBlock(data, 9); }},
      {"parallel, 1 job", [&] { return mksetup::PackBlockParallel(data, 1); }},
      {"parallel, 2 jobs", [&] { return mksetup::PackBlockParallel(data, 2); }},
  };
  // Alternating, so that a busy spell of the machine falls on every side.
  for (int r = 0; r < runs; ++r)
    for (Side& side : sides) Run(side, r == 0);

  Side& single = sides[0];
  Side& one = sides[1];
  Side& two = sides[2];
  if (one.block != two.block) Fail("1 and 2 jobs gave different bytes");
  {
    base::Bytes back(size);
    uLongf n = static_cast<uLongf>(size);
    if (uncompress(back.data(), &n, two.block.data() + 4, static_cast<uLong>(two.block.size() - 4)) !=
            Z_OK ||
        n != size || back != data)
      Fail("the parallel stream does not inflate to the input");
  }

  std::printf("\n%-36s %9s %9s %10s %12s\n", "", "wall s", "cpu s", "packed MB", "peak +MB");
  for (const Side& side : sides)
    std::printf("%-36s %9.3f %9.3f %10.2f %12.1f%s\n", side.name, side.wall, side.cpu,
                side.block.size() / 1048576.0, side.peak_mb,
                side.peak_reset ? "" : " (peak not reset: an upper bound)");

  const double time_ratio = two.wall / single.wall;
  std::printf("\ntime, 2 jobs / single stream: %.3f (goal <= 0.55 on 2 cores): %s\n", time_ratio,
              Verdict(time_ratio <= 0.55));
  std::printf("time, 1 job / single stream: %.3f (no goal: the cost of the cuts and the copy)\n",
              one.wall / single.wall);
  const double size_ratio =
      static_cast<double>(two.block.size()) / static_cast<double>(single.block.size());
  std::printf("size / single stream: %.5f (goal <= 1.005): %s\n", size_ratio,
              Verdict(size_ratio <= 1.005));
  const double packed_mb = two.block.size() / 1048576.0;
  std::printf("peak memory of 2 jobs: %.1f MB above the input (goal: packed + 16 MB = %.1f MB): %s\n",
              two.peak_mb, packed_mb + 16, Verdict(two.peak_mb <= packed_mb + 16));
  return 0;
}
