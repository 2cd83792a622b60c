#!/usr/bin/env python3
"""Runs the benchmarks of a built tree and prints one table of figures, each beside its target.

    run.py BUILD                   timed figures: press round trip against a plain blocking socket
                                   client taken in turn with it, start-up and peak memory against a
                                   minimal Qt Quick window at three window sizes, resident memory
                                   after 1,000 and 10,000 presses
    run.py BUILD --instructions    the same, and instructions per press under callgrind against a
                                   one-item Qt Quick window doing the same exchange (slow)

Everything stays on loopback and every program stops by itself. The machine may be busy with
other work: each figure is taken in turn with its floor, and only the ratios mean much."""
import argparse
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

WINDOW_SIZES = [(769, 816), (1920, 1200), (2560, 1600)]
STARTUP_ROUNDS = 20
# Under callgrind a press costs about as much as a thousand natively; these are enough for a
# steady figure.
COUNTED_PRESSES = 200
# The line the one-item window sends: a sign's command word, as the client sends.
ONE_ITEM_LINE = "k1"


def free_port(kind):
    with socket.socket(socket.AF_INET, kind) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run_startup(argv, env, size):
    """Starts a program that prints, at its first full frame, its start-up as the system counts it,
    its window's size and the time on the boot-time clock; returns the milliseconds from just
    before the start to that frame (the system's own start time is only kept to a clock tick) and
    the process's peak resident memory in KiB."""
    started = time.clock_gettime(time.CLOCK_BOOTTIME) * 1000
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    # A program that never shows its frame is ended, which fails the run below.
    watchdog = threading.Timer(120, proc.kill)
    watchdog.start()
    try:
        out = proc.stdout.read().decode().split()
        _, status, usage = os.wait4(proc.pid, 0)
    finally:
        watchdog.cancel()
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0 or len(out) != 3:
        sys.exit(f"{argv[0]} failed with {proc.returncode}")
    if out[1] != f"{size[0]}x{size[1]}":
        sys.exit(f"{argv[0]}: the window was {out[1]}, not {size[0]}x{size[1]}")
    return float(out[2]) - started, usage.ru_maxrss


def screen_of_size(env, scratch, size):
    """The environment for a program on an offscreen screen of the given size: the client's window
    opens maximized and so takes the screen's size."""
    config = os.path.join(scratch, f"screen-{size[0]}x{size[1]}.json")
    with open(config, "w") as f:
        json.dump({"windowFrameMargins": False,
                   "screens": [{"name": "bench", "x": 0, "y": 0, "width": size[0],
                                "height": size[1], "logicalDpi": 96, "dpr": 1.0}]}, f)
    return dict(env, QT_QPA_PLATFORM="offscreen:configfile=" + config)


def startup_figures(bench, env):
    """Per window size: the client's and the minimal window's start-up (ms) and peak memory (KiB),
    run in turn, which of the two goes first changing from round to round."""
    figures = {size: {"client_ms": [], "minimal_ms": [], "client_kib": [], "minimal_kib": []}
               for size in WINDOW_SIZES}
    with tempfile.TemporaryDirectory() as scratch:
        envs = {size: screen_of_size(env, scratch, size) for size in WINDOW_SIZES}
        for round_ in range(STARTUP_ROUNDS):
            for size in WINDOW_SIZES:
                client = [os.path.join(bench, "bench-client-startup"),
                          str(free_port(socket.SOCK_DGRAM)), str(free_port(socket.SOCK_DGRAM))]
                minimal = [os.path.join(bench, "bench-minimal-window"), str(size[0]), str(size[1])]
                order = [("client", client), ("minimal", minimal)]
                if round_ % 2:
                    order.reverse()
                for name, argv in order:
                    ms, kib = run_startup(argv, envs[size], size)
                    figures[size][name + "_ms"].append(ms)
                    figures[size][name + "_kib"].append(kib)
    return figures


class Editor:
    """The stand-in editor on a free loopback port, answering "ok" to every line."""

    def __init__(self, build, preexec_fn=None):
        self.port = free_port(socket.SOCK_STREAM)
        self.proc = subprocess.Popen(
            [os.path.join(build, "tools", "qs-editor", "qs-editor"), "--bind", "127.0.0.1",
             "--tcp-port", str(self.port), "--udp-port", str(free_port(socket.SOCK_DGRAM)),
             "--no-discovery"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=preexec_fn)
        deadline = time.monotonic() + 10
        while True:
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                break
            except OSError:
                if time.monotonic() > deadline or self.proc.poll() is not None:
                    self.close()
                    sys.exit("the stand-in editor did not start")
                time.sleep(0.1)

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()


def parse_figures(text):
    """Lines of "name value" or "name key value key value ..." into a dictionary."""
    figures = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) > 2:
            figures[parts[0]] = dict(zip(parts[1::2], map(float, parts[2::2])))
        elif len(parts) == 2:
            figures[parts[0]] = float(parts[1])
    return figures


def press_figures(build, bench, env):
    # The bench and the editor share one core. Left to the scheduler, the editor is woken on the
    # other core or on the same one depending on what else the machine runs, which alone moves
    # the floor between about 40 and 140 µs from one run to the next.
    cpu = max(os.sched_getaffinity(0))

    def on_one_core():
        os.sched_setaffinity(0, {cpu})

    with Editor(build, on_one_core) as editor:
        press = subprocess.run([os.path.join(bench, "bench-press"), str(editor.port),
                                str(free_port(socket.SOCK_DGRAM)),
                                str(free_port(socket.SOCK_DGRAM))],
                               env=env, capture_output=True, text=True, timeout=900,
                               preexec_fn=on_one_core)
    if press.returncode != 0:
        sys.exit("bench-press failed: " + press.stderr)
    return parse_figures(press.stdout)


def callgrind_instructions(argv, env, scratch, name):
    """Runs a program under callgrind, counting only what it marks; returns the instructions
    counted and the program's own figures."""
    out_file = os.path.join(scratch, name + ".callgrind")
    run = subprocess.run(["valgrind", "--tool=callgrind", "--instr-atstart=no",
                          "--collect-atstart=no", "--callgrind-out-file=" + out_file] + argv,
                         env=env, capture_output=True, text=True, timeout=1800)
    if run.returncode != 0:
        sys.exit(f"{name} under callgrind failed: " + run.stderr[-2000:])
    with open(out_file) as f:
        totals = [line for line in f if line.startswith(("totals:", "summary:"))]
    if not totals:
        sys.exit(f"{name}: callgrind wrote no totals")
    return int(totals[-1].split()[1]), parse_figures(run.stdout)


def instruction_figures(build, bench, env):
    if not shutil.which("valgrind"):
        sys.exit("valgrind is needed for --instructions (tools/install-deps installs it)")
    with tempfile.TemporaryDirectory() as scratch, Editor(build) as editor:
        client_ir, client = callgrind_instructions(
            [os.path.join(bench, "bench-press"), str(editor.port),
             str(free_port(socket.SOCK_DGRAM)), str(free_port(socket.SOCK_DGRAM)),
             "--instructions", "--presses", str(COUNTED_PRESSES)], env, scratch, "bench-press")
        one_ir, one = callgrind_instructions(
            [os.path.join(bench, "bench-one-item-press"), str(editor.port), ONE_ITEM_LINE,
             str(COUNTED_PRESSES)], env, scratch, "bench-one-item-press")
    return (client_ir / client["counted_presses"], one_ir / one["counted_presses"],
            int(client["counted_presses"]))


def verdict(ratio, limit):
    return "met" if ratio <= limit else "not met"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build-bench")
    parser.add_argument("--instructions", action="store_true",
                        help="also count instructions per press under callgrind (slow)")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    bench = os.path.join(build, "bench")

    startup = startup_figures(bench, env)
    press = press_figures(build, bench, env)
    instructions = instruction_figures(build, bench, env) if args.instructions else None

    # measure, client, floor, ratio, client - floor, target, verdict
    rows = []

    def compared(measure, client, floor, ratio, difference, limit):
        target = f"≤ {limit:g}" if limit is not None else ""
        rows.append((measure, client, floor, f"{ratio:.2f}", difference, target,
                     verdict(ratio, limit) if limit is not None else ""))

    c, f = press["client"], press["floor"]
    compared("press, median (µs)", f"{c['median_us']:.0f}", f"{f['median_us']:.0f}",
             c["median_us"] / f["median_us"], f"+{c['median_us'] - f['median_us']:.0f} µs", 2)
    nf = press["client_frameless"]
    compared(f"press that drew no frame ({nf['count']:.0f} of {c['count']:.0f}), "
             "99th percentile (µs)", f"{nf['p99_us']:.0f}", f"{f['p99_us']:.0f}",
             nf["p99_us"] / f["p99_us"], f"+{nf['p99_us'] - f['p99_us']:.0f} µs", 3)
    compared("press, any, 99th percentile (µs)", f"{c['p99_us']:.0f}", f"{f['p99_us']:.0f}",
             c["p99_us"] / f["p99_us"], f"+{c['p99_us'] - f['p99_us']:.0f} µs", None)
    wf, fr = press["client_frame"], press["frame_render"]
    if wf["count"]:
        rows.append((f"press that drew a frame ({wf['count']:.0f} of {c['count']:.0f}), "
                     "median / 99th percentile (µs)",
                     f"{wf['median_us']:.0f} / {wf['p99_us']:.0f}", "", "", "", "", ""))
        rows.append(("the frame itself, median / 99th percentile (µs)",
                     f"{fr['median_us']:.0f} / {fr['p99_us']:.0f}", "", "", "", "", ""))
    if instructions:
        client_ipp, one_ipp, counted = instructions
        compared(f"instructions per press (callgrind, {counted} presses; floor: one-item window)",
                 f"{client_ipp:,.0f}", f"{one_ipp:,.0f}", client_ipp / one_ipp,
                 f"+{client_ipp - one_ipp:,.0f}", 3)

    startup_limits = {(769, 816): 1.5, (2560, 1600): 2}
    memory_limits = {(769, 816): 1.3}
    for size in WINDOW_SIZES:
        s = startup[size]
        ratio = statistics.median(a / b for a, b in zip(s["client_ms"], s["minimal_ms"]))
        cm, mm = statistics.median(s["client_ms"]), statistics.median(s["minimal_ms"])
        compared(f"start-up to first full frame at {size[0]}×{size[1]} (ms)", f"{cm:.0f}",
                 f"{mm:.0f}", ratio, f"+{cm - mm:.0f} ms", startup_limits.get(size))
    for size in WINDOW_SIZES:
        s = startup[size]
        ck, mk = max(s["client_kib"]), max(s["minimal_kib"])
        compared(f"peak resident memory at start-up at {size[0]}×{size[1]} (MiB)",
                 f"{ck / 1024:.1f}", f"{mk / 1024:.1f}", ck / mk, f"+{(ck - mk) / 1024:.1f} MiB",
                 memory_limits.get(size))

    rss1, rss10 = press["rss_after_1000_kib"], press["rss_after_all_kib"]
    growth = (rss10 - rss1) / 1024
    rows.append((f"resident memory after 1,000 / {press['presses']:,.0f} presses (MiB)",
                 f"{rss1 / 1024:.1f} / {rss10 / 1024:.1f}", "", "", f"{growth:+.2f} MiB",
                 "≤ +1 MiB", verdict(growth, 1)))

    presses = int(press["presses"])
    print(f"{int(press['signs'])} sign buttons pressed in turn, {presses:,} presses; presses "
          f"{presses // 10 + 1:,} to {presses // 10 + presses // 2:,} timed, each followed by a "
          "floor exchange on its own connection to the same editor, the bench and the editor on "
          "one core. Start-up: "
          f"{STARTUP_ROUNDS} rounds, client and minimal window in turn; its ratio is the median "
          "of the rounds' ratios, peak memory the highest of the rounds.\n")
    print("| measure | client | floor | ratio | client − floor | target | |")
    print("|---|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
