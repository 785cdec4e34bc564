#!/usr/bin/env python3
"""The silent-install benchmark: our installer against NSIS under wine64.

Both installers carry the same generated product tree (about 200 files, 48 MB: text, code-like
binaries, incompressible data), write the same registry values and make the same shortcuts
(product.toml, silent_install.nsi). Each is run as a deployment tool runs it,

    ours-setup.exe /S /D=C:\\bench\\ours      nsis-setup.exe /S /D=C:\\bench\\nsis

and timed from the start of the process to its exit, in rounds. In every round each side gets
a fresh Wine prefix from the project's rig (scripts/wine-rig.sh: the template copied, the
wineserver started, the prefix booted; none of that is timed): its first install there is the
cold figure; then the folder is removed and it installs again in the same prefix, the warm
figure. The sides alternate which goes first. Every run must exit 0 and leave every file with
its size (the first run of each side is compared byte for byte). Medians count; the goal is
ours at most 1.0 times NSIS's time. See docs/benchmarks.md.

  bench/silent_install/run.py [--rounds 9] [--megabytes 48] [--work DIR] [--sides ours,nsis]

Needs the win64 stub (build/win64/installer/stub/setup.exe), mksetup from the host tree, wine64
and makensis (Debian package nsis; installed here when missing and running as root).
"""
import argparse
import filecmp
import os
import random
import shutil
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
RIG_SCRIPT = ROOT / "scripts" / "wine-rig.sh"
EXEC_SCRIPT = ROOT / "scripts" / "wine-exec.sh"

# --- The product ---------------------------------------------------------------------------

WORDS = [b"install ", b"VANTO-X ", b"program ", b"\r\n", b"file ", b"registry ", b"shortcut ",
         b"0x00401000 ", b"mov eax, ", b"call "]
PROSE = [b"the ", b"setup ", b"writes ", b"every ", b"file ", b"of ", b"product ", b"into ",
         b"folder ", b"and ", b"registry ", b"a ", b"shortcut ", b"is ", b"made ", b".\r\n",
         b"Windows ", b"user ", b"version ", b"licence "]


def text_bytes(rng, size, vocabulary):
    out = bytearray()
    while len(out) < size:
        out += b"".join(rng.choices(vocabulary, k=2048))
    return bytes(out[:size])


def code_like_bytes(rng, size):
    """What bench/product_like_data.h makes: text-like runs, repeats of earlier runs, noise."""
    out = bytearray()
    while len(out) < size:
        run = min(size - len(out), 4096 + rng.randrange(65536))
        kind = rng.randrange(3)
        if kind == 1 and len(out) > run:
            start = rng.randrange(len(out) - run)
            out += out[start:start + run]
        elif kind == 0:
            out += text_bytes(rng, run, WORDS)
        else:
            out += rng.randbytes(run)
    return bytes(out)


# (folder, name pattern, count, share of the total, kind, relative size range)
LAYOUT = [
    ("", "BenchProduct.exe", 1, 0.06, "code", (1, 1)),
    ("bin", "module%02d.dll", 24, 0.36, "code", (1, 8)),
    ("data", "table%02d.dat", 20, 0.13, "code", (1, 6)),
    ("data", "assets%02d.pak", 20, 0.15, "noise", (1, 6)),
    ("docs", "chapter%02d.txt", 70, 0.19, "prose", (1, 12)),
    ("res", "picture%02d.png", 64, 0.11, "noise", (1, 20)),
]
LAYOUT_REVISION = 1


def generate_product(folder, megabytes):
    """The same megabytes always give the same bytes; an existing complete tree is kept."""
    stamp = folder / ".complete"
    wanted = "layout %d, %d MB\n" % (LAYOUT_REVISION, megabytes)
    if stamp.exists() and stamp.read_text() == wanted:
        return
    shutil.rmtree(folder, ignore_errors=True)
    rng = random.Random(2024)
    total = megabytes * 1000 * 1000
    for sub, pattern, count, share, kind, (low, high) in LAYOUT:
        weights = [rng.uniform(low, high) for _ in range(count)]
        for i, weight in enumerate(weights):
            size = int(total * share * weight / sum(weights))
            if kind == "code":
                data = code_like_bytes(rng, size)
            elif kind == "prose":
                data = text_bytes(rng, size, PROSE)
            else:
                data = rng.randbytes(size)
            path = folder / sub / (pattern % i if "%" in pattern else pattern)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    stamp.write_text(wanted)


def product_files(folder):
    return {p.relative_to(folder): p.stat().st_size
            for p in folder.rglob("*") if p.is_file() and p.name != ".complete"}


# --- Building both installers --------------------------------------------------------------

def ensure_makensis():
    if shutil.which("makensis"):
        return
    if os.geteuid() != 0:
        sys.exit("run.py: makensis is missing: apt-get install nsis")
    print("installing nsis (apt-get install nsis)")
    subprocess.run(["apt-get", "install", "-y", "-qq", "--no-install-recommends", "nsis"],
                   check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def build_installers(args, work, sides):
    installers = {}
    if "ours" in sides:
        shutil.copy(HERE / "product.toml", work / "product.toml")
        out = work / "ours-setup.exe"
        subprocess.run([args.mksetup, "build", work / "product.toml", "-o", out,
                        "--stub", args.stub], check=True, stdout=subprocess.DEVNULL)
        installers["ours"] = out
    if "nsis" in sides:
        ensure_makensis()
        out = work / "nsis-setup.exe"
        subprocess.run(["makensis", "-V1", "-DPRODUCT=%s" % (work / "product"),
                        "-DOUTFILE=%s" % out, HERE / "silent_install.nsi"], check=True)
        installers["nsis"] = out
    return installers


# --- Running them --------------------------------------------------------------------------

class Rig:
    """A fresh prefix per start; only the rig's own wineserver and Xvfb are ever stopped."""

    def __init__(self, folder):
        self.folder = folder

    def start(self):
        subprocess.run([RIG_SCRIPT, "start", self.folder, "--arch", "win64"], check=True,
                       stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)

    def stop(self):
        subprocess.run([RIG_SCRIPT, "stop", self.folder], stdout=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL)

    def drive_c(self):
        return self.folder / "pfx" / "drive_c"

    def install(self, installer, target, log):
        """(wall seconds from the process's start to its exit, its CPU seconds, exit code).

        wine-exec.sh execs the loader, which becomes the Windows process: its own exit is the
        installer's, and its CPU time (user + system) is the installer's, not the wineserver's.
        """
        command = [EXEC_SCRIPT, self.folder, installer, "/S", "/D=" + target]
        with open(log, "ab") as output:
            started = time.perf_counter()
            process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=output,
                                       stderr=output)
            watchdog = threading.Timer(600, process.kill)
            watchdog.start()
            _, status, usage = os.wait4(process.pid, 0)
            seconds = time.perf_counter() - started
            watchdog.cancel()
            process.returncode = os.waitstatus_to_exitcode(status)
            return seconds, usage.ru_utime + usage.ru_stime, process.returncode


def installed_problems(installed, product, expected, compare):
    problems = []
    for relative, size in expected.items():
        path = installed / relative
        if not path.is_file():
            problems.append("missing " + str(relative))
        elif path.stat().st_size != size:
            problems.append("%s has %d bytes, not %d" % (relative, path.stat().st_size, size))
        elif compare and not filecmp.cmp(path, product / relative, shallow=False):
            problems.append("%s differs" % relative)
        if len(problems) > 5:
            break
    return problems


def run_rounds(args, work, installers, expected):
    rig = Rig(Path(args.rig))
    times = {(side, phase): [] for side in installers for phase in ("cold", "warm")}
    cpu = {key: [] for key in times}
    failures = []
    checked = set()
    log = work / "install.log"
    log.write_bytes(b"")
    for round_number in range(args.rounds):
        order = list(installers) if round_number % 2 == 0 else list(reversed(installers))
        for side in order:
            rig.start()
            try:
                folder = rig.drive_c() / "bench" / side
                for phase in ("cold", "warm"):
                    if phase == "warm":
                        shutil.rmtree(folder, ignore_errors=True)
                    seconds, cpu_seconds, code = rig.install(installers[side],
                                                             "C:\\bench\\" + side, log)
                    problems = [] if code == 0 else ["exit code %s" % code]
                    problems += installed_problems(folder, work / "product", expected,
                                                   compare=side not in checked)
                    checked.add(side)
                    status = "ok" if not problems else "FAILED: " + "; ".join(problems)
                    print("round %d  %-4s %s  %6.2f s (CPU %5.2f s)  %s"
                          % (round_number + 1, side, phase, seconds, cpu_seconds, status),
                          flush=True)
                    if problems:
                        failures.append((side, phase))
                    else:
                        times[(side, phase)].append(seconds)
                        cpu[(side, phase)].append(cpu_seconds)
            finally:
                rig.stop()
    return times, cpu, failures


def table(title, figures, goal):
    print("%-11s %-30s %-30s %s" % (title, "ours: median (min-max)", "NSIS: median (min-max)",
                                    "ours/NSIS"))
    for phase in ("cold", "warm"):
        cells, medians = [], {}
        for side in ("ours", "nsis"):
            runs = figures.get((side, phase), [])
            if runs:
                medians[side] = statistics.median(runs)
                cells.append("%.2f s (%.2f-%.2f, %d runs)" % (medians[side], min(runs),
                                                            max(runs), len(runs)))
            else:
                cells.append("-")
        ratio = ""
        if len(medians) == 2:
            r = medians["ours"] / medians["nsis"]
            ratio = "%.2f" % r
            if goal:
                ratio += "  goal met" if r <= 1.0 else "  goal (at most 1.0) NOT met"
        print("  %-9s %-30s %-30s %s" % (phase, cells[0], cells[1], ratio))


def report(times, cpu, installers, sizes):
    print()
    for side, path in installers.items():
        print("%-4s installer: %.1f MB" % (side, path.stat().st_size / 1e6))
    print("product: %d files, %.1f MB" % (len(sizes), sum(sizes.values()) / 1e6))
    print()
    table("wall time", times, goal=True)
    table("CPU time", cpu, goal=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--megabytes", type=int, default=48)
    parser.add_argument("--work", type=Path, default=Path("/tmp/vanto-silent-bench"))
    parser.add_argument("--rig", default="/tmp/rig-silent-bench")
    parser.add_argument("--sides", default="ours,nsis")
    parser.add_argument("--mksetup", type=Path, default=ROOT / "build/host/tools/mksetup/mksetup")
    parser.add_argument("--stub", type=Path,
                        default=ROOT / "build/win64/installer/stub/setup.exe")
    args = parser.parse_args()
    sides = [s for s in args.sides.split(",") if s]
    if not sides or any(s not in ("ours", "nsis") for s in sides):
        parser.error("--sides takes ours, nsis or both")

    args.work.mkdir(parents=True, exist_ok=True)
    generate_product(args.work / "product", args.megabytes)
    expected = product_files(args.work / "product")
    installers = build_installers(args, args.work, sides)
    times, cpu, failures = run_rounds(args, args.work, installers, expected)
    report(times, cpu, installers, expected)
    if failures:
        print("\n%d run(s) failed; see %s" % (len(failures), args.work / "install.log"))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
