#!/usr/bin/python3
"""Runs Pigmo's benchmarks and prints every figure as a ratio of two things
measured side by side in this run, with its goal.

Called by scripts/bench after the Release build; see docs/benchmarks.md.
Only the standard library of Debian's python3 is used.
"""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RESULTS = []  # (name, ratio text, goal text, verdict)


def figure(name, ratio, goal=None, detail="", unit="x"):
    """Prints one line: name, ratio, goal and whether it is met."""
    text = f"{name}: {ratio:.2f}{unit}"
    verdict = ""
    if goal is not None:
        op, limit = goal
        met = ratio <= limit if op == "<=" else ratio >= limit
        verdict = "met" if met else "MISSED"
        text += f" (goal {op} {limit:g}{unit}) {verdict}"
    else:
        text += " (no goal)"
    if detail:
        text += f"  [{detail}]"
    print(text, flush=True)
    RESULTS.append((name, verdict))


def run_benchmark(binary, filter_regex, repetitions, extra=()):
    """Runs a Google Benchmark binary; returns {run_name: median seconds}.

    The figure per benchmark is the median over the repetitions of the CPU
    time (or the manual time where a benchmark sets it, which in this
    project also counts CPU time of the measuring thread). Repetitions are
    randomly interleaved so that a slow spell of the machine hits every
    benchmark alike."""
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    cmd = [binary, f"--benchmark_filter={filter_regex}",
           f"--benchmark_repetitions={repetitions}",
           "--benchmark_enable_random_interleaving=true",
           f"--benchmark_out={path}", "--benchmark_out_format=json",
           *extra]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    os.unlink(path)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    samples = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"]
        manual = "manual_time" in name
        value = b["real_time"] if manual else b["cpu_time"]
        samples.setdefault(name, []).append(value * scale[b["time_unit"]])
    return {name: statistics.median(v) for name, v in samples.items()}


def fmt_time(seconds):
    for unit, factor in (("s", 1), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= factor:
            return f"{seconds / factor:.3g} {unit}"
    return f"{seconds / 1e-9:.3g} ns"


def pick(results, name):
    """The median of a benchmark by its name, ignoring suffixes such as
    /manual_time or /iterations:5."""
    if name in results:
        return results[name]
    for run_name, value in results.items():
        if run_name.startswith(name + "/"):
            return value
    raise KeyError(name)


def keystroke(build, reps):
    print("== keystroke (Qt backend, offscreen) ==", flush=True)
    census = subprocess.run([os.path.join(build, "bench/qt/pigmo_keystroke_census")],
                            capture_output=True, text=True,
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    line = next((l for l in census.stdout.splitlines() if "match=" in l), "census: failed")
    print(line, flush=True)
    if census.returncode != 0:
        print(census.stdout)
        print("keystroke: the floor does not replay the flow's writes; no figure")
        RESULTS.append(("keystroke", "MISSED"))
        return
    r = run_benchmark(os.path.join(build, "bench/qt/pigmo_qt_bench"), "Keystroke", reps)
    flow, floor = pick(r, "BM_Keystroke/0"), pick(r, "BM_KeystrokeFloor/0")
    figure("keystroke", flow / floor, ("<=", 1.5),
           f"{fmt_time(flow)} vs floor {fmt_time(floor)} CPU per edit")
    flow, floor = pick(r, "BM_Keystroke/1"), pick(r, "BM_KeystrokeFloor/1")
    figure("keystroke incl. repaint", flow / floor, None,
           f"{fmt_time(flow)} vs floor {fmt_time(floor)} CPU per edit, window shown")
    keystroke_instructions(build)


def keystroke_instructions(build, edits=300):
    """The same comparison counted in instructions under callgrind, which
    the machine's load cannot disturb. Both rigs make the same number of
    edits, so the ratio of the inclusive costs of their Edit() is the ratio
    per edit."""
    if not (shutil.which("valgrind") and shutil.which("callgrind_annotate")):
        print("keystroke instructions: valgrind is not installed; no figure")
        return
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}",
                        os.path.join(build, "bench/qt/pigmo_keystroke_census"),
                        "--edits", str(edits)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        text = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                              check=True, capture_output=True, text=True).stdout
    cost = {}
    for line in text.splitlines():
        for rig in ("FlowRig", "FloorRig"):
            if f"pigmo::bench::{rig}::Edit()" in line:
                cost[rig] = int(line.split()[0].replace(",", ""))
    if len(cost) != 2:
        print("keystroke instructions: no costs found in the callgrind profile")
        return
    calls = edits + 2 * 9  # the warm-up cycle and the census cycle
    figure("keystroke instructions", cost["FlowRig"] / cost["FloorRig"], None,
           f"{cost['FlowRig'] // calls} vs floor {cost['FloorRig'] // calls} per edit, callgrind")


def clean_text(build, reps):
    print("== CleanText and FractionText (core) ==", flush=True)
    r = run_benchmark(os.path.join(build, "bench/pigmo_bench"), "Clean|Fraction", reps)
    big, small = pick(r, "BM_CleanText/32766"), pick(r, "BM_CleanText/1024")
    figure("CleanText scaling 32766 vs 1024 chars", big / small, ("<=", 40),
           f"{fmt_time(big)} vs {fmt_time(small)}")
    oracle = pick(r, "BM_CleanTextOracle/32766")
    figure("CleanText oracle/production at 32766", oracle / big, (">=", 50),
           f"{fmt_time(oracle)} vs {fmt_time(big)}")
    for arg in (0, 1, 128, 255):
        ft, tc = pick(r, f"BM_FractionText/{arg}"), pick(r, f"BM_FractionToCharsShortest/{arg}")
        figure(f"FractionText({arg}) vs bare to_chars", ft / tc, None,
               f"{fmt_time(ft)} vs {fmt_time(tc)}")

    print("== whole-box clean at binding, 32766 chars ==", flush=True)
    q = run_benchmark(os.path.join(build, "bench/qt/pigmo_qt_bench"), "Init|Once", reps)
    floor = pick(q, "BM_CleanTextOnce/32766")
    for name, bench in (("MemoryTextBox", "BM_InitCleanMemory/32766"),
                        ("QtTextBox", "BM_InitCleanQt/32766")):
        t = pick(q, bench)
        figure(f"Init clean on {name} vs one CleanText", t / floor, None,
               f"{fmt_time(t)} vs {fmt_time(floor)}")


class Xvfb:
    """A private X server for the start-up runs; ended by its own pid."""

    def __init__(self):
        self.proc = None
        self.display = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def map_once(build, display, caption, argv):
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    cmd = [os.path.join(build, "bench/qt/pigmo_mapwait")]
    if caption:
        cmd += ["--caption", caption]
    out = subprocess.run(cmd + ["--"] + argv, capture_output=True, text=True, env=env)
    if out.returncode != 0:
        return None
    fields = dict(kv.split("=") for kv in out.stdout.split())
    return (int(fields["startup_us"]) * 1e-6, int(fields["rss_kb"]), int(fields["hwm_kb"]),
            int(fields["cpu_us"]) * 1e-6)


def startup(build, runs, extra):
    print(f"== start-up on Xvfb, {runs} alternating runs each ==", flush=True)
    if not os.path.exists(os.path.join(build, "bench/qt/pigmo_mapwait")):
        print("start-up: pigmo_mapwait was not built (no libX11); no figures")
        RESULTS.append(("start-up", "MISSED"))
        return
    programs = [("pigmo", "Pigmo", [os.path.join(build, "src/pigmo")]),
                ("bare", "Pigmo", [os.path.join(build, "bench/qt/pigmo_bare_window")])]
    # Candidate builds of the program, measured in the same rotation.
    for entry in extra:
        name, path = entry.split("=", 1)
        programs.append((name, "Pigmo", [os.path.abspath(path)]))
    zenity = shutil.which("zenity")
    if zenity:
        programs.append(("zenity", None, [zenity, "--color-selection"]))
    samples = {name: [] for name, _, _ in programs}
    with Xvfb() as x:
        # One unmeasured start each, so every measured start finds the
        # libraries and fonts in the page cache.
        for name, caption, argv in programs:
            map_once(build, x.display, caption, argv)
        for _ in range(runs):
            for name, caption, argv in programs:
                s = map_once(build, x.display, caption, argv)
                if s:
                    samples[name].append(s)
    for name in ("pigmo", "bare"):
        if len(samples[name]) < max(3, runs // 2):
            print(f"start-up: too few runs of {name} mapped its window; no figure")
            RESULTS.append(("start-up", "MISSED"))
            return
    med = {name: [type(v[0][i])(statistics.median(s[i] for s in v)) for i in range(4)] if v else None
           for name, v in samples.items()}
    p, b = med["pigmo"], med["bare"]
    figure("start-up time", p[0] / b[0], ("<=", 1.10),
           f"median {fmt_time(p[0])} vs bare {fmt_time(b[0])}, "
           f"{len(samples['pigmo'])}/{len(samples['bare'])} runs")
    figure("start-up CPU (all threads, incl. first paint)", p[3] / b[3], None,
           f"median {fmt_time(p[3])} vs bare {fmt_time(b[3])}")
    figure("start-up memory VmRSS", p[1] / b[1], ("<=", 1.05), f"median {p[1]} kB vs bare {b[1]} kB")
    figure("start-up memory VmHWM", p[2] / b[2], ("<=", 1.05), f"median {p[2]} kB vs bare {b[2]} kB")
    for entry in extra:
        name = entry.split("=", 1)[0]
        e = med.get(name)
        if e:
            print(f"candidate {name}: time {e[0] / b[0]:.2f}x, CPU {e[3] / b[3]:.2f}x, "
                  f"VmRSS {e[1] / b[1]:.2f}x, VmHWM {e[2] / b[2]:.2f}x the bare window "
                  f"[median {fmt_time(e[0])}, CPU {fmt_time(e[3])}, {e[1]} kB, {e[2]} kB]")
    if zenity and med.get("zenity"):
        z = med["zenity"]
        print(f"reference zenity --color-selection: {fmt_time(z[0])}, VmRSS {z[1]} kB, "
              f"VmHWM {z[2]} kB ({z[0] / b[0]:.2f}x the time, {z[1] / b[1]:.2f}x the VmRSS "
              f"of the bare window)")
    elif not zenity:
        print("reference zenity --color-selection: zenity is not installed")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    parser.add_argument("--repetitions", type=int, default=7)
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--extra", action="append", default=[], metavar="NAME=PATH",
                        help="another build of pigmo to start in the same rotation")
    parser.add_argument("--only", choices=["keystroke", "clean", "startup"], action="append")
    args = parser.parse_args()
    parts = args.only or ["keystroke", "clean", "startup"]
    started = time.monotonic()
    if "keystroke" in parts:
        keystroke(args.build, args.repetitions)
    if "clean" in parts:
        clean_text(args.build, args.repetitions)
    if "startup" in parts:
        startup(args.build, args.runs, args.extra)
    missed = [name for name, verdict in RESULTS if verdict == "MISSED"]
    print(f"== {len(RESULTS)} figures, {len(missed)} goals missed"
          + (f": {', '.join(missed)}" if missed else "")
          + f"; {time.monotonic() - started:.0f} s ==")


if __name__ == "__main__":
    main()
