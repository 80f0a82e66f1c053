#!/usr/bin/env python3
"""Runs the benchmarks of bench/run.sh and prints one table.

Every figure is measured in this run, the program beside its floor (the
least a Qt Quick window in a QQuickWidget costs, built by the same CMake):
timed figures are medians of several runs, taken in alternation, because the
machines are shared and noisy. The program and the floor print marks on
standard output (STRYDE_BENCH_MARKS, STRYDE_BENCH_SCRIPT; see
bench/bench_probe.h); this script reads them and /proc/<pid>.

    python3 bench/run.py BUILD_DIR [--runs N]
"""

import argparse
import datetime
import os
import queue
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

MARK = re.compile(r"^stryde-bench (\S+) t=([-\d.]+) rss=(-?\d+)\s*(.*)$")
HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = os.path.join(HERE, "scripts")
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
# The pauses a 560 mouse demanded for a Save of every page and for a profile
# switch while every page's send wrote its profile blocks itself (main at
# 288166f): each block that two pages change went to the mouse twice.
WAIT_BEFORE_ONE_WRITE_PER_BLOCK_MS = {"save": 10432, "switch": 10432}


def now_ms():
    # The same monotonic clock as the probe's marks.
    return time.monotonic() * 1000.0


class Mark:
    def __init__(self, match):
        self.name = match.group(1)
        self.t = float(match.group(2))
        self.rss_kb = int(match.group(3))
        self.fields = dict(kv.split("=", 1) for kv in match.group(4).split() if "=" in kv)
        self.detail = match.group(4)

    def num(self, key):
        return float(self.fields[key])


class Process:
    """One run of the program or the floor, with its marks read as they come."""

    def __init__(self, argv, env=None, data_from=None, family=553):
        self.data = tempfile.mkdtemp(prefix="stryde-bench-")
        if data_from:
            # A fresh copy of the installed data for every run.
            shutil.copytree(os.path.join(data_from, "modules"), os.path.join(self.data, "modules"),
                            ignore=shutil.ignore_patterns("virtualMouse*.json", "backup"))
            catalogue = os.path.join(self.data, "modules", "setting", "apConfig.bin")
            with open(catalogue, encoding="utf-8") as f:
                text = f.read()
            with open(catalogue, "w", encoding="utf-8") as f:
                f.write(re.sub(r"(?m)^icType=\d+", "icType=%d" % family, text))
            argv = argv + ["--data-dir", self.data]
        full_env = dict(os.environ)
        full_env.update(env or {})
        self.log = open(os.path.join(self.data, "stderr.txt"), "w")
        self.marks = queue.Queue()
        self.start_ms = now_ms()
        self.proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=self.log, env=full_env, text=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            m = MARK.match(line.strip())
            if m:
                self.marks.put(Mark(m))
        self.marks.put(None)

    def wait_mark(self, name, timeout=60):
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                self.fail("no '%s' mark within %d s" % (name, timeout))
            try:
                mark = self.marks.get(timeout=left)
            except queue.Empty:
                continue
            if mark is None:
                self.fail("ended (exit %s) before its '%s' mark" % (self.proc.wait(), name))
            if mark.name == "error":
                self.fail(mark.detail)
            if mark.name == name:
                return mark

    def rss_kb(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return -1

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        # utime and stime, fields 14 and 15 of the line (11 and 12 after the name).
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS

    def cpu_seconds_exact(self):
        # Nanoseconds on a processor of every thread (the first field of
        # schedstat), where /proc/<pid>/stat counts in clock ticks.
        total = 0
        task_dir = "/proc/%d/task" % self.proc.pid
        for task in os.listdir(task_dir):
            try:
                with open(os.path.join(task_dir, task, "schedstat")) as f:
                    total += int(f.read().split()[0])
            except OSError:
                pass    # a thread that ended meanwhile
        return total / 1e9

    def finish(self, timeout=30):
        try:
            rc = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail("did not end within %d s" % timeout)
        if rc != 0:
            self.fail("exit code %d" % rc)
        self.cleanup()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.cleanup()

    def cleanup(self):
        self.log.close()
        shutil.rmtree(self.data, ignore_errors=True)

    def fail(self, why):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.log.close()
        with open(self.log.name, errors="replace") as f:
            tail = f.read()[-3000:]
        sys.exit("bench: %s: %s\n--- its standard error (end) ---\n%s" % (" ".join(self.proc.args), why, tail))


class Bench:
    def __init__(self, build, runs):
        # The QML engine keeps its compiled pages in the user's cache folder,
        # which every build of the program on this machine shares and
        # overwrites: the runs get a folder of their own, warmed up once.
        self.cache = tempfile.mkdtemp(prefix="stryde-bench-cache-")
        os.environ["XDG_CACHE_HOME"] = self.cache
        self.build = os.path.abspath(build)
        self.bin = os.path.join(self.build, "bin")
        self.stryde = [os.path.join(self.bin, "stryde"), "--virtual-mouse"]
        self.floor = [os.path.join(self.build, "bench", "stryde_floor")]
        self.store = [os.path.join(self.build, "bench", "bench_store_startup")]
        self.runs = runs
        self.rows = []

    def progress(self, text):
        print("  " + text, file=sys.stderr, flush=True)

    def app(self, family=553, env=None):
        return Process(self.stryde, env=env, data_from=self.bin, family=family)

    # Start-up to the first frame, and the resident memory 2 s later.
    def startup(self):
        results = {"floor": ([], []), "stryde": ([], [])}
        for i in range(self.runs):
            for name in ("floor", "stryde"):
                env = {"STRYDE_BENCH_MARKS": "1"}
                p = Process(self.floor, env=env) if name == "floor" else self.app(env=env)
                first = p.wait_mark("first-frame")
                time.sleep(2.0)
                results[name][0].append(first.t - p.start_ms)
                results[name][1].append(p.rss_kb() / 1024.0)
                p.stop()
            self.progress("start-up %d/%d" % (i + 1, self.runs))
        return {k: (statistics.median(v[0]), statistics.median(v[1])) for k, v in results.items()}

    # 1,000 page operations on the virtual clock (the mouse's pauses pass at
    # once, so that a run takes half a minute): the resident memory after
    # start-up, and every 100 operations.
    def page_ops(self, runs=3):
        readings = []
        for i in range(runs):
            p = self.app(env={"STRYDE_BENCH_SCRIPT": os.path.join(SCRIPTS, "page_ops.qml"),
                              "STRYDE_BENCH_CLOCK": "virtual"})
            start = p.wait_mark("start").rss_kb
            ops = [p.wait_mark("ops", timeout=240).rss_kb for _ in range(10)]
            p.finish()
            readings.append([start] + ops)
            self.progress("page operations %d/%d" % (i + 1, runs))
        return readings

    # Save of every page and a profile switch: on the real clock for the
    # elapsed time and the frames, on the virtual clock for the sum of the
    # pauses the protocol demands (the virtual clock advances by exactly the
    # pauses the device link asks for, and by nothing else).
    def save_switch(self):
        script = {"STRYDE_BENCH_SCRIPT": os.path.join(SCRIPTS, "save_switch.qml")}
        out = {}
        for family in (553, 560):
            p = self.app(family, env=dict(script, STRYDE_BENCH_CLOCK="virtual"))
            demanded = {"save": p.wait_mark("save").num("device"), "switch": p.wait_mark("switch").num("device")}
            p.finish()
            out[family] = {"demanded": demanded, "save": [], "switch": [], "gap": []}
        for i in range(self.runs):
            for family in (553, 560):
                p = self.app(family, env=script)
                save = p.wait_mark("save")
                switch = p.wait_mark("switch")
                p.finish()
                out[family]["save"].append(save.num("real"))
                out[family]["gap"].append(save.num("maxGap"))
                out[family]["switch"].append(switch.num("real"))
            self.progress("save and switch %d/%d" % (i + 1, self.runs))
        return out

    # Processor time over 60 s while connected and idle.
    def idle(self, seconds=60):
        p = self.app(env={"STRYDE_BENCH_SCRIPT": os.path.join(SCRIPTS, "idle.qml")})
        p.wait_mark("ready")
        time.sleep(2.0)
        cpu0, exact0, t0 = p.cpu_seconds(), p.cpu_seconds_exact(), time.monotonic()
        time.sleep(seconds)
        cpu1, exact1, t1 = p.cpu_seconds(), p.cpu_seconds_exact(), time.monotonic()
        p.stop()
        return 100.0 * (cpu1 - cpu0) / (t1 - t0), 100.0 * (exact1 - exact0) / (t1 - t0), round((cpu1 - cpu0) * CLOCK_TICKS)

    def store_reads(self):
        opened, passes, getdata = [], [], []
        for _ in range(self.runs):
            text = subprocess.run(self.store, capture_output=True, text=True, check=True).stdout
            m = re.search(r"bench-store open_us=([\d.]+) pass_us=([\d.]+) getdata_us=([\d.]+)", text)
            if not m:
                sys.exit("bench: bench_store_startup printed no figures:\n" + text)
            opened.append(float(m.group(1)) / 1000)
            passes.append(float(m.group(2)) / 1000)
            getdata.append(float(m.group(3)) / 1000)
        return statistics.median(opened), statistics.median(passes), statistics.median(getdata)

    def row(self, what, value, goal, ok):
        self.rows.append((what, value, goal, "PASS" if ok else "FAIL"))

    def warm_up(self):
        for p in (Process(self.floor, env={"STRYDE_BENCH_MARKS": "1"}), self.app(env={"STRYDE_BENCH_MARKS": "1"})):
            p.wait_mark("first-frame")
            time.sleep(1.0)
            p.stop()

    def run(self):
        started = time.monotonic()
        self.progress("warm-up: one start of each, to fill the QML cache")
        self.warm_up()
        self.progress("start-up (%d runs of the program and of the floor)" % self.runs)
        start = self.startup()
        self.progress("page operations")
        ops = self.page_ops()
        self.progress("save and profile switch, both families")
        protocol = self.save_switch()
        self.progress("idle minute")
        idle = self.idle()
        store = self.store_reads()

        floor_ms, floor_mb = start["floor"]
        app_ms, app_mb = start["stryde"]
        self.row("Start-up to first frame", "%.0f ms (floor %.0f ms): %.2fx" % (app_ms, floor_ms, app_ms / floor_ms),
                 "<= 1.5x floor", app_ms <= 1.5 * floor_ms)
        self.row("RSS after start-up", "%.1f MB (floor %.1f MB): %.2fx" % (app_mb, floor_mb, app_mb / floor_mb),
                 "<= 1.4x floor", app_mb <= 1.4 * floor_mb)

        # Noise: what the resident memory moves by between readings with no
        # work that keeps memory (malloc's arenas and the software renderer's
        # buffers come and go). The margin is 2 % of the reading after
        # start-up; a leak of 1.5 kB per operation would exceed it.
        start_kb = statistics.median(r[0] for r in ops)
        margin_kb = 0.02 * start_kb
        growth = statistics.median(r[10] - r[0] for r in ops)
        steady = statistics.median(r[10] - r[1] for r in ops)
        spread = statistics.median(max(r[1:]) - min(r[1:]) for r in ops)
        self.row("RSS growth: start-up -> 1,000 page ops",
                 "%+.1f MB (%.1f -> %.1f MB)" % (growth / 1024, start_kb / 1024, start_kb / 1024 + growth / 1024),
                 "<= %.1f MB noise" % (margin_kb / 1024), growth <= margin_kb)
        self.row("RSS growth: op 100 -> op 1,000",
                 "%+.1f MB (readings spread %.1f MB)" % (steady / 1024, spread / 1024),
                 "<= %.1f MB noise" % (margin_kb / 1024), steady <= margin_kb)

        for family in (553, 560):
            gap = statistics.median(protocol[family]["gap"])
            self.row("Longest frame gap during Save (%d)" % family, "%.0f ms" % gap, "<= 100 ms", gap <= 100)
        stat, exact, ticks = idle
        self.row("CPU idle and connected, 60 s", "%.3f %% of a core (%d ticks; schedstat %.3f %%)" % (stat, ticks, exact),
                 "< 0.1 %", stat < 0.1)
        for family in (553, 560):
            for what in ("save", "switch"):
                real = statistics.median(protocol[family][what])
                demanded = protocol[family]["demanded"][what]
                ratio = real / demanded if demanded > 0 else float("inf")
                self.row("Protocol overhead: %s (%d)" % ("Save of every page" if what == "save" else "profile switch",
                                                         family),
                         "%.0f ms / %.0f ms pauses: %.3f" % (real, demanded, ratio), "<= 1.05", ratio <= 1.05)

        # What the user waits for on a 560 mouse: the pauses the protocol
        # demands (virtual clock), against the figure before each profile
        # block was written once.
        for what in ("save", "switch"):
            demanded = protocol[560]["demanded"][what]
            before = WAIT_BEFORE_ONE_WRITE_PER_BLOCK_MS[what]
            self.row("Wait for %s (560)" % ("Save of every page" if what == "save" else "profile switch"),
                     "%.0f ms pauses (was %.0f ms): %.2fx" % (demanded, before, demanded / before),
                     "<= 0.6x (%.0f ms)" % (0.6 * before), demanded <= 0.6 * before)

        opened, one_pass, getdata = store
        reads = opened + one_pass
        self.row("Store: start-up reads (open + one pass)", "%.2f ms" % reads,
                 "<= 5%% of floor start-up (%.0f ms)" % (0.05 * floor_ms), reads <= 0.05 * floor_ms)
        self.row("Store: 100,000 getData calls", "%.1f ms" % getdata, "<= 100 ms", getdata <= 100)

        self.print_table(time.monotonic() - started)
        return all(r[3] == "PASS" for r in self.rows)

    def print_table(self, seconds):
        load = os.getloadavg()[0]
        print("KORVEX STRYDE benchmarks, %s, %d cores, load %.1f; offscreen, software renderer; "
              "medians of %d runs (page ops: 3); %.0f s"
              % (datetime.date.today().isoformat(), os.cpu_count(), load, self.runs, seconds))
        header = ("Figure", "Measured", "Goal", "")
        widths = [max(len(str(r[i])) for r in self.rows + [header]) for i in range(4)]
        line = "| " + " | ".join("%-*s" % (widths[i], header[i]) for i in range(4)) + " |"
        print(line)
        print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
        for r in self.rows:
            print("| " + " | ".join("%-*s" % (widths[i], r[i]) for i in range(4)) + " |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    bench = Bench(args.build, max(1, args.runs))
    try:
        ok = bench.run()
    finally:
        shutil.rmtree(bench.cache, ignore_errors=True)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
