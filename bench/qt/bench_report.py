#!/usr/bin/python3
"""Runs Pigmo's benchmarks and prints every figure as a ratio of two things
measured side by side in this run, with its goal. Called by scripts/bench
after the Release build; see docs/benchmarks.md. Standard library only."""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import tempfile
import time

FIGURES, MISSED = [], []
OFFSCREEN = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def seconds(s):
    unit, factor = next((u, f) for u, f in (("s", 1), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)) if s >= f or f < 1e-6)
    return f"{s / factor:.3g} {unit}"


def figure(name, a, b, goal=None, show=seconds, note=""):
    """Prints a / b with its goal ("<= 1.5", ">= 50") and whether it is met."""
    ratio, verdict = a / b, "(no goal)"
    if goal:
        op, limit = goal.split()
        met = ratio <= float(limit) if op == "<=" else ratio >= float(limit)
        verdict = f"(goal {op} {limit}x) " + ("met" if met else "MISSED")
        MISSED.extend([] if met else [name])
    FIGURES.append(name)
    print(f"{name}: {ratio:.2f}x {verdict}  [{show(a)} vs {show(b)}{note}]", flush=True)


def bench(binary, regex, reps):
    """Median per benchmark over randomly interleaved repetitions: CPU time,
    or the manual time (thread CPU time too) where one is set. Names drop
    suffixes such as /manual_time or /iterations:5."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.json")
        subprocess.run([binary, f"--benchmark_filter={regex}", f"--benchmark_repetitions={reps}",
                        "--benchmark_enable_random_interleaving=true", f"--benchmark_out={out}"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=OFFSCREEN)
        with open(out, encoding="utf-8") as f:
            runs = [b for b in json.load(f)["benchmarks"] if b.get("run_type") == "iteration"]
    samples = {}
    for b in runs:
        value = b["real_time"] if "manual_time" in b["run_name"] else b["cpu_time"]
        name = re.sub(r"/(manual_time|iterations:\d+)", "", b["run_name"])
        samples.setdefault(name, []).append(value * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1}[b["time_unit"]])
    return {name: statistics.median(v) for name, v in samples.items()}


def keystroke(build, reps):
    print("== keystroke (Qt backend, offscreen) ==", flush=True)
    qt_bench = os.path.join(build, "bench/qt/pigmo_qt_bench")
    census = subprocess.run([qt_bench, "--census"], capture_output=True, text=True, env=OFFSCREEN)
    print(census.stdout.strip() or "census: failed", flush=True)
    if census.returncode != 0:
        print("keystroke: the floor does not replay the flow's writes; no figure")
        return MISSED.append("keystroke")
    r = bench(qt_bench, "Keystroke", reps)
    figure("keystroke", r["BM_Keystroke/0"], r["BM_KeystrokeFloor/0"], "<= 1.5", note=" CPU per edit")
    figure("keystroke incl. repaint", r["BM_Keystroke/1"], r["BM_KeystrokeFloor/1"],
           note=" CPU per edit, window shown")
    # The same rigs counted in instructions, which the machine's load cannot
    # disturb: each makes the census cycle, its warm-up and `edits` more.
    if not shutil.which("valgrind"):
        return print("keystroke instructions: valgrind is not installed; no figure")
    edits = 300
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", qt_bench, "--census",
                        str(edits)], check=True, capture_output=True, env=OFFSCREEN)
        text = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                              check=True, capture_output=True, text=True).stdout
    cost = {m[2]: int(m[1].replace(",", "")) for m in re.finditer(r"^\s*([\d,]+) .*?(Flow|Floor)Rig::Edit\(\)", text, re.M)}
    figure("keystroke instructions", cost["Flow"], cost["Floor"], show=lambda n: f"{n // (edits + 18)}",
           note=" per edit, callgrind")


def clean_text(build, reps):
    print("== CleanText and FractionText (core) ==", flush=True)
    r = bench(os.path.join(build, "bench/pigmo_bench"), "Clean|Fraction", reps)
    big = r["BM_CleanText/32766"]
    figure("CleanText scaling 32766 vs 1024 chars", big, r["BM_CleanText/1024"], "<= 40")
    figure("CleanText oracle/production at 32766", r["BM_CleanTextOracle/32766"], big, ">= 50")
    for v in (0, 1, 128, 255):
        figure(f"FractionText({v}) vs bare to_chars", r[f"BM_FractionText/{v}"], r[f"BM_FractionToChars/{v}"])
    print("== whole-box clean at binding, 32766 chars ==", flush=True)
    q = bench(os.path.join(build, "bench/qt/pigmo_qt_bench"), "Init|Once", reps)
    for box in ("Memory", "Qt"):
        figure(f"Init clean on {box}TextBox vs one CleanText", q[f"BM_InitClean{box}/32766"],
               q["BM_CleanTextOnce/32766"])


def startup(build, runs, extra):
    print(f"== start-up on Xvfb, {runs} alternating runs each ==", flush=True)
    programs = dict(pigmo=f"{build}/src/pigmo", bare=f"{build}/bench/qt/pigmo_bare_window")
    programs.update(entry.split("=", 1) for entry in extra)  # candidate builds, in the same rotation
    samples = {name: [] for name in programs}
    read_fd, write_fd = os.pipe()  # Xvfb writes its display number here
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        env = dict(os.environ, DISPLAY=":" + f.readline().strip(), QT_QPA_PLATFORM="xcb", WAYLAND_DISPLAY="")
    try:
        for run in range(runs + 1):  # the first start of each only fills the page cache
            for name, path in programs.items():
                out = subprocess.run([f"{build}/bench/qt/pigmo_mapwait", os.path.abspath(path)],
                                     capture_output=True, text=True, env=env)
                if run and out.returncode == 0:
                    samples[name].append([int(v) for v in re.findall(r"=(\d+)", out.stdout)])
    finally:
        xvfb.terminate()
        xvfb.wait()
    if min(len(samples["pigmo"]), len(samples["bare"])) < max(3, runs // 2):
        print("start-up: too few runs mapped their window; no figures")
        return MISSED.append("start-up")
    # Per program: the medians of startup_us, rss_kb, hwm_kb, cpu_us.
    med = {name: [statistics.median(s[i] for s in v) for i in range(4)] for name, v in samples.items() if v}
    p, b = med["pigmo"], med["bare"]
    us = lambda v: seconds(v * 1e-6)
    kb = lambda v: f"{v:.0f} kB"
    figure("start-up time", p[0], b[0], "<= 1.10", us, f", {len(samples['pigmo'])}/{len(samples['bare'])} runs")
    figure("start-up CPU (all threads, incl. first paint)", p[3], b[3], show=us)
    figure("start-up memory VmRSS", p[1], b[1], "<= 1.05", kb)
    figure("start-up memory VmHWM", p[2], b[2], "<= 1.05", kb)
    for name, e in med.items():
        if name not in ("pigmo", "bare"):
            print(f"candidate {name}: time {e[0] / b[0]:.2f}x, CPU {e[3] / b[3]:.2f}x, "
                  f"VmRSS {e[1] / b[1]:.2f}x, VmHWM {e[2] / b[2]:.2f}x the bare window")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    parser.add_argument("--repetitions", type=int, default=7)
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--extra", action="append", default=[], metavar="NAME=PATH",
                        help="another build of pigmo to start in the same rotation")
    parser.add_argument("--only", choices=["keystroke", "clean", "startup"], action="append")
    args = parser.parse_args()
    started, parts = time.monotonic(), args.only or ["keystroke", "clean", "startup"]
    if "keystroke" in parts:
        keystroke(args.build, args.repetitions)
    if "clean" in parts:
        clean_text(args.build, args.repetitions)
    if "startup" in parts:
        startup(args.build, args.runs, args.extra)
    print(f"== {len(FIGURES)} figures, {len(MISSED)} goals missed" + ": " * bool(MISSED) + ", ".join(MISSED)
          + f"; {time.monotonic() - started:.0f} s ==")


if __name__ == "__main__":
    main()
